// Benchmarks on the Qt backend, each beside its floor in the same binary
// (see docs/benchmarks.md): one keystroke through the real flow and its
// floor, window hidden (0) or painted (1); Init's whole-box clean against
// the one CleanText call it makes. With --census [N] it instead checks that
// the floor makes exactly the flow's writes, then makes N more edits each
// way (for callgrind).
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "bare_form.h"
#include "colour/colour_rules.h"
#include "core/bench_texts.h"
#include "restriction/clean_text.h"
#include "restriction/cls_tb_restr_numbers.h"
#include "runtime/memory/memory_form.h"
#include "runtime/qt/qt_convert.h"
#include "runtime/qt/qt_form.h"
#include "window/form1.h"

namespace pigmo::bench {
namespace {

// An edit selects all of Text1 and types the next digit of 1..9, so that
// every edit changes the text and takes the fraction path (no edge value).
// Both rigs run one cycle when built, so the restriction object exists and
// is bound to Text4 before anything is measured.
constexpr int kCycle = 9;
char Digit(int k) { return static_cast<char>('1' + k % kCycle); }

void TypeOverAll(QLineEdit* edit, char digit) {
  edit->selectAll();
  const auto key = static_cast<Qt::Key>(Qt::Key_0 + (digit - '0'));
  for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(QLatin1Char(digit)));
    QApplication::sendEvent(edit, &event);
  }
}

// The real window: the Qt backend and Form1's handlers.
struct FlowRig {
  std::unique_ptr<runtime::qt::QtForm> form = runtime::qt::BuildQtForm(window::Form1Description());
  window::Form1 handlers{*form, BenchLocale()};  // goes before the window it listens to
  QLineEdit* text1 = form->Box("Text1").Widget();
  int k = 0;
  FlowRig() {
    for (int i = 0; i < kCycle; ++i) Edit();
  }
  [[gnu::noinline]] void Edit() { TypeOverAll(text1, Digit(k++)); }
  QWidget* Window() const { return form->Window(); }
};

// The floor: the bare window, the same key event, then exactly the writes
// the flow makes, with texts and colours worked out beforehand.
struct FloorRig {
  std::unique_ptr<QWidget> window = BuildBareWindow();
  QLineEdit* text1 = window->findChild<QLineEdit*>("Text1");
  QLineEdit* text4 = window->findChild<QLineEdit*>("Text4");
  QLineEdit* text7 = window->findChild<QLineEdit*>("Text7");
  QLabel* label4 = window->findChild<QLabel*>("Label4");
  struct Writes {
    QString fraction, array;
    QColor swatch;
  } writes[kCycle];
  int k = 0;

  FloorRig() {
    for (int i = 0; i < kCycle; ++i) {
      const std::u16string channel(1, static_cast<char16_t>(Digit(i)));
      const std::u16string fraction = colour::FractionText(channel, 255, u"0.0000", BenchLocale());
      writes[i] = {runtime::qt::ToQString(fraction),
                   runtime::qt::ToQString(colour::ArrayText(fraction, u"1", u"1", u"1")),
                   runtime::qt::ToQColor(colour::SwatchColour(channel, u"255", u"255", BenchLocale()))};
    }
    for (int i = 0; i < kCycle; ++i) Edit();
  }
  [[gnu::noinline]] void Edit() {
    const Writes& before = writes[(k + kCycle - 1) % kCycle];
    const Writes& now = writes[k % kCycle];
    TypeOverAll(text1, Digit(k++));
    text4->setText(before.fraction);       // binding the restriction writes Text4 back unchanged
    text4->setText(now.fraction);          // the handler's fraction
    text4->setText(now.fraction);          // the restriction's clean after that change
    QPalette palette = label4->palette();  // the swatch, as the backend paints it
    palette.setColor(QPalette::Window, now.swatch);
    label4->setPalette(palette);
    label4->setAutoFillBackground(true);
    text7->setText(now.array);  // the colour array text
  }
  QWidget* Window() const { return window.get(); }
};

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
void BM_Keystroke(benchmark::State& state) { RunKeystroke<FlowRig>(state); }
void BM_KeystrokeFloor(benchmark::State& state) { RunKeystroke<FloorRig>(state); }
BENCHMARK(BM_Keystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeFloor)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The machines are shared and loaded: manual timings count this thread's
// CPU time, as the automatic ones are read from cpu_time.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A fresh restriction object each time binds to a box holding the dirty
// text again; only Init is timed.
void RunInitClean(benchmark::State& state, const std::shared_ptr<runtime::TextBox>& box) {
  const std::u16string text = MixedText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    box->SetText(text);
    restriction::clsTBRestrNumbers restrict(BenchLocale());
    const double start = ThreadSeconds();
    restrict.Init(box, u"0123456789", u".");
    state.SetIterationTime(ThreadSeconds() - start);
  }
}
void BM_InitCleanMemory(benchmark::State& state) {
  RunInitClean(state, std::make_shared<runtime::memory::MemoryTextBox>(u"", true, 0));
}
void BM_InitCleanQt(benchmark::State& state) {
  QWidget window;
  auto* edit = new runtime::qt::LineEdit(&window);
  edit->setReadOnly(true);
  RunInitClean(state, std::make_shared<runtime::qt::QtTextBox>(edit));
}
void BM_CleanTextOnce(benchmark::State& state) {
  const std::u16string text = MixedText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    const double start = ThreadSeconds();
    benchmark::DoNotOptimize(
        restriction::CleanText(text, static_cast<std::int32_t>(text.size()), u"0123456789.", u".", BenchLocale()));
    state.SetIterationTime(ThreadSeconds() - start);
  }
}
BENCHMARK(BM_InitCleanMemory)->Arg(32766)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InitCleanQt)->Arg(32766)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CleanTextOnce)->Arg(32766)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The census log: setText calls and label colours in order, while recording.
std::vector<std::string>* g_log = nullptr;
int g_carets = 0;

template <typename Fn>
Fn Real(const char* symbol) {
  void* fn = dlsym(RTLD_NEXT, symbol);
  if (!fn) std::abort();
  return reinterpret_cast<Fn>(fn);
}

// One cycle of edits: the writes, and the texts after each edit.
template <typename Rig>
std::vector<std::string> Record(Rig& rig) {
  std::vector<std::string> log;
  g_log = &log;
  for (int i = 0; i < kCycle; ++i) {
    rig.Edit();
    log.push_back("--");
    for (const char* name : {"Text1", "Text4", "Text7"}) {
      log.back() += " " + rig.Window()->template findChild<QLineEdit*>(name)->text().toStdString();
    }
  }
  g_log = nullptr;
  return log;
}

int Census(int edits) {
  FlowRig flow;
  FloorRig floor;
  const std::vector<std::string> flow_log = Record(flow);
  const int carets = std::exchange(g_carets, 0);
  const std::vector<std::string> floor_log = Record(floor);
  const bool match = flow_log == floor_log;
  for (std::size_t i = 0; !match && i < std::max(flow_log.size(), floor_log.size()); ++i) {
    std::printf("census:   %-50s | %s\n", i < flow_log.size() ? flow_log[i].c_str() : "",
                i < floor_log.size() ? floor_log[i].c_str() : "");
  }
  const auto per_edit = [&](const char* what) {
    return std::count_if(flow_log.begin(), flow_log.end(),
                         [&](const std::string& line) { return line.find(what) != std::string::npos; }) /
           double{kCycle};
  };
  std::printf("census: setText=%g colour=%g caret=%g match=%s\n", per_edit(".setText("), per_edit(".colour("),
              carets / double{kCycle}, match ? "yes" : "no");
  for (int i = 0; i < edits; ++i) flow.Edit();
  for (int i = 0; i < edits; ++i) floor.Edit();
  return match ? 0 : 1;
}

}  // namespace
}  // namespace pigmo::bench

// For the census, these Qt members are wrapped for calls from this
// executable (the Qt backend is linked in statically) and passed on to Qt's
// own. Outside the census they cost both rigs the same indirect call.
void QLineEdit::setText(const QString& text) {
  static const auto real = pigmo::bench::Real<void (*)(QLineEdit*, const QString&)>("_ZN9QLineEdit7setTextERK7QString");
  using pigmo::bench::g_log;
  if (g_log) g_log->push_back(objectName().toStdString() + ".setText(\"" + text.toStdString() + "\")");
  real(this, text);
}

void QLineEdit::setCursorPosition(int position) {
  static const auto real = pigmo::bench::Real<void (*)(QLineEdit*, int)>("_ZN9QLineEdit17setCursorPositionEi");
  if (pigmo::bench::g_log) ++pigmo::bench::g_carets;
  real(this, position);
}

void QWidget::setPalette(const QPalette& palette) {
  static const auto real =
      pigmo::bench::Real<void (*)(QWidget*, const QPalette&)>("_ZN7QWidget10setPaletteERK8QPalette");
  using pigmo::bench::g_log;
  if (g_log && qobject_cast<QLabel*>(this)) {
    g_log->push_back(objectName().toStdString() + ".colour(" + palette.color(QPalette::Window).name().toStdString() +
                     ")");
  }
  real(this, palette);
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc > 1 && std::string(argv[1]) == "--census") {
    QApplication app(argc, argv);
    return pigmo::bench::Census(argc > 2 ? std::atoi(argv[2]) : 0);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  QApplication app(argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
