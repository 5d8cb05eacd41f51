// Benchmarks on the Qt backend, each beside its floor in the same binary so
// that scripts/bench can report ratios measured side by side:
//   - BM_Keystroke / BM_KeystrokeFloor: one user edit of Text1 through all
//     nested handlers, against the bare widget writes it implies plus the
//     same key event. Argument 0: window hidden, nothing painted;
//     argument 1: window shown and every edit painted (processEvents).
//   - BM_InitClean<Memory|Qt> / BM_CleanTextOnce: clsTBRestrNumbers::Init
//     on a box holding a 32,766-character text, against one CleanText call
//     on that text with the caret at its end.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <ctime>
#include <cstdint>
#include <memory>
#include <string>

#include "keystroke_rig.h"
#include "restriction/clean_text.h"
#include "restriction/cls_tb_restr_numbers.h"
#include "runtime/locale.h"
#include "runtime/memory/memory_form.h"
#include "runtime/qt/line_edit.h"
#include "runtime/qt/qt_controls.h"

#include "core/bench_texts.h"

namespace {

// The machines are shared and loaded: the manual timings below count the
// CPU time of this thread, as the automatic ones are read from cpu_time.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Rig>
void RunKeystroke(benchmark::State& state) {
  Rig rig;
  const bool painted = state.range(0) != 0;
  if (painted) {
    rig.Window()->show();
    QCoreApplication::processEvents();
  }
  for (auto _ : state) {
    rig.Edit();
    if (painted) QCoreApplication::processEvents();
  }
}

void BM_Keystroke(benchmark::State& state) { RunKeystroke<pigmo::bench::FlowRig>(state); }
void BM_KeystrokeFloor(benchmark::State& state) { RunKeystroke<pigmo::bench::FloorRig>(state); }
BENCHMARK(BM_Keystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeFloor)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

using pigmo::bench::BenchLocale;
using pigmo::bench::MixedText;

// Each iteration binds a fresh restriction object to a box that holds the
// dirty text again; only Init is timed.
void RunInitClean(benchmark::State& state, const std::shared_ptr<pigmo::runtime::TextBox>& box) {
  const std::u16string text = MixedText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    box->SetText(text);
    auto restrict = std::make_unique<pigmo::restriction::clsTBRestrNumbers>(BenchLocale());
    const double start = ThreadSeconds();
    restrict->Init(box, u"0123456789", u".");
    const double stop = ThreadSeconds();
    state.SetIterationTime(stop - start);
  }
}

void BM_InitCleanMemory(benchmark::State& state) {
  RunInitClean(state, std::make_shared<pigmo::runtime::memory::MemoryTextBox>(u"", true, 0));
}

void BM_InitCleanQt(benchmark::State& state) {
  QWidget window;
  auto* edit = new pigmo::runtime::qt::LineEdit(&window);
  edit->setReadOnly(true);
  RunInitClean(state, std::make_shared<pigmo::runtime::qt::QtTextBox>(edit));
}

// The floor: the one CleanText call that Init makes, timed the same way.
void BM_CleanTextOnce(benchmark::State& state) {
  const std::u16string text = MixedText(static_cast<std::size_t>(state.range(0)));
  const auto caret = static_cast<std::int32_t>(text.size());
  for (auto _ : state) {
    const double start = ThreadSeconds();
    pigmo::restriction::Cleaned cleaned =
        pigmo::restriction::CleanText(text, caret, u"0123456789.", u".", BenchLocale());
    benchmark::DoNotOptimize(cleaned);
    const double stop = ThreadSeconds();
    state.SetIterationTime(stop - start);
  }
}

BENCHMARK(BM_InitCleanMemory)->Arg(32766)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InitCleanQt)->Arg(32766)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CleanTextOnce)->Arg(32766)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
