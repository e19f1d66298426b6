// The whole calculation of a large evening (evening.h), once per scoring method.
#include "evening.h"
#include "scoring/scoring.h"

#include <benchmark/benchmark.h>

namespace {

void BM_CalcAll(benchmark::State& state) {
    setUpEvening(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CALCALL();
        benchmark::DoNotOptimize(PlacementOrder.data());
    }
    state.SetLabel(CalcNames[state.range(0)]);
}

BENCHMARK(BM_CalcAll)
    ->Arg(CALC_MATCHPOINTS)
    ->Arg(CALC_IMPS)
    ->Arg(CALC_CALCUTTA)
    ->Unit(benchmark::kMicrosecond);

} // namespace
