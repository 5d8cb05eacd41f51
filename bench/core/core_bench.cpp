// The numeric filter and FractionText, each beside what its figure divides
// it by: the filter at two lengths and the step-by-step oracle the tests
// check it against; FractionText and the bare std::to_chars of its quotient.
#include <benchmark/benchmark.h>

#include <charconv>
#include <string>

#include "bench_texts.h"
#include "colour/colour_rules.h"
#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"

namespace {

using pigmo::bench::BenchLocale;

// The caret at the end, so the whole text is scanned, as when the
// restriction object binds to a box.
template <auto Filter>
void Clean(benchmark::State& state) {
  const std::u16string text = pigmo::bench::MixedText(static_cast<std::size_t>(state.range(0)));
  const auto caret = static_cast<std::int32_t>(text.size());
  for (auto _ : state) benchmark::DoNotOptimize(Filter(text, caret, u"0123456789.", u".", BenchLocale()));
}
void BM_CleanText(benchmark::State& state) { Clean<&pigmo::restriction::CleanText>(state); }
void BM_CleanTextOracle(benchmark::State& state) { Clean<&pigmo::restriction::oracle::CleanText>(state); }
BENCHMARK(BM_CleanText)->Arg(1024)->Arg(32766)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CleanTextOracle)->Arg(32766)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_FractionText(benchmark::State& state) {
  const std::string ascii = std::to_string(state.range(0));
  const std::u16string channel(ascii.begin(), ascii.end());
  for (auto _ : state) {
    benchmark::DoNotOptimize(pigmo::colour::FractionText(channel, 255, u"0.0000", BenchLocale()));
  }
}
void BM_FractionToChars(benchmark::State& state) {
  double quotient = static_cast<double>(state.range(0)) / 255.0;
  char buffer[40];
  for (auto _ : state) {
    benchmark::DoNotOptimize(quotient);
    benchmark::DoNotOptimize(std::to_chars(buffer, buffer + sizeof buffer, quotient).ptr);
  }
}
BENCHMARK(BM_FractionText)->Arg(0)->Arg(1)->Arg(128)->Arg(255);
BENCHMARK(BM_FractionToChars)->Arg(0)->Arg(1)->Arg(128)->Arg(255);

}  // namespace
