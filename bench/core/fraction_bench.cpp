// FractionText beside the bare double-to-text conversion it builds on, for
// a few channel values: how much the grammar, the decimal rounding and the
// pattern cost on top of std::to_chars.
#include <benchmark/benchmark.h>

#include <charconv>
#include <string>

#include "colour/colour_rules.h"

namespace {

using pigmo::runtime::Locale;

std::u16string ChannelText(std::int64_t value) {
  const std::string ascii = std::to_string(value);
  return std::u16string(ascii.begin(), ascii.end());
}

void BM_FractionText(benchmark::State& state) {
  const Locale locale = Locale::Named("en_US");
  const std::u16string text = ChannelText(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(pigmo::colour::FractionText(text, 255, u"0.0000", locale));
  }
}
BENCHMARK(BM_FractionText)->Arg(0)->Arg(1)->Arg(128)->Arg(255);

void BM_FractionTextOpacity(benchmark::State& state) {
  const Locale locale = Locale::Named("de_DE");
  const std::u16string text = ChannelText(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(pigmo::colour::FractionText(text, 100, u"0.00", locale));
  }
}
BENCHMARK(BM_FractionTextOpacity)->Arg(7)->Arg(50);

// The same quotient written by std::to_chars alone: shortest form, and the
// fifteen significant digits FractionText asks for.
void BM_FractionToCharsShortest(benchmark::State& state) {
  double q = static_cast<double>(state.range(0)) / 255.0;
  char buffer[40];
  for (auto _ : state) {
    benchmark::DoNotOptimize(q);
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, q);
    benchmark::DoNotOptimize(result.ptr);
  }
}
BENCHMARK(BM_FractionToCharsShortest)->Arg(0)->Arg(1)->Arg(128)->Arg(255);

void BM_FractionToChars15(benchmark::State& state) {
  double q = static_cast<double>(state.range(0)) / 255.0;
  char buffer[40];
  for (auto _ : state) {
    benchmark::DoNotOptimize(q);
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, q, std::chars_format::scientific, 14);
    benchmark::DoNotOptimize(result.ptr);
  }
}
BENCHMARK(BM_FractionToChars15)->Arg(0)->Arg(1)->Arg(128)->Arg(255);

void BM_FractionParseNumber(benchmark::State& state) {
  const Locale locale = Locale::Named("en_US");
  const std::u16string text = ChannelText(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(pigmo::colour::ParseNumber(text, locale));
  }
}
BENCHMARK(BM_FractionParseNumber)->Arg(1)->Arg(128);

}  // namespace
