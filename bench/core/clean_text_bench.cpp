// The numeric text filter with the caret at the end (the whole text is
// scanned, as when the restriction binds to a box), beside the step-by-step
// oracle it is tested against.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"
#include "runtime/locale.h"

namespace {

using pigmo::restriction::Cleaned;

// Digits with a comma, a dot and a letter now and then, as a pasted or
// mistyped number might look.
std::u16string MixedText(std::size_t length) {
  std::u16string s(length, u'0');
  for (std::size_t k = 0; k < length; ++k) {
    if (k % 97 == 41) {
      s[k] = u',';
    } else if (k % 211 == 17) {
      s[k] = u'.';
    } else if (k % 331 == 100) {
      s[k] = u'a';
    } else {
      s[k] = static_cast<char16_t>(u'0' + (k * 7 + k / 10) % 10);
    }
  }
  return s;
}

const pigmo::runtime::Locale& BenchLocale() {
  static const pigmo::runtime::Locale locale = pigmo::runtime::Locale::Named("en_US");
  return locale;
}

template <Cleaned (*Clean)(std::u16string_view, std::int32_t, std::u16string_view, std::u16string_view,
                           const pigmo::runtime::Locale&)>
void BM_Clean(benchmark::State& state) {
  const std::u16string text = MixedText(static_cast<std::size_t>(state.range(0)));
  const auto caret = static_cast<std::int32_t>(text.size());
  const auto& locale = BenchLocale();
  for (auto _ : state) {
    Cleaned result = Clean(text, caret, u"0123456789.", u".", locale);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_CleanText(benchmark::State& state) { BM_Clean<&pigmo::restriction::CleanText>(state); }
void BM_CleanTextOracle(benchmark::State& state) { BM_Clean<&pigmo::restriction::oracle::CleanText>(state); }

BENCHMARK(BM_CleanText)->Arg(1024)->Arg(2048)->Arg(4096)->Arg(8192)->Arg(16384)->Arg(32766)
    ->Unit(benchmark::kMicrosecond);
// The oracle is slow: a few sizes and a bounded number of runs.
BENCHMARK(BM_CleanTextOracle)->Arg(1024)->Arg(8192)->Arg(32766)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
