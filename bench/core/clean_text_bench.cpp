// The numeric text filter with the caret at the end (the whole text is
// scanned, as when the restriction binds to a box), beside the step-by-step
// oracle it is tested against.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"
#include "runtime/locale.h"

#include "bench_texts.h"

namespace {

using pigmo::restriction::Cleaned;

using pigmo::bench::BenchLocale;
using pigmo::bench::MixedText;

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
