// The whole calculation of a large evening (evening.h) with the players' rating
// on, beside the same without it: 100 pairs whose 200 players are all in a
// register of 300, so every look-up searches the register.
#include "evening.h"
#include "players/players.h"
#include "players/rating.h"
#include "scoring/compute.h"
#include "scoring/scoring.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

// The register as memory holds it; nothing is read from or written to a file.
void fillRegister() {
    RESETPLAYERS();
    for (int i = 1; i <= 300; ++i) {
        if (i > RegCapacity) REGPLAYERREALLOC(i);
        RegisteredCount = i;
        SETFIELD(RegName(i).c, NameLength, "Player number " + std::to_string(i));
        RegRating(i) = 300 + (i * 37) % 900;
        RegDelta(i) = 0;
    }
}

void BM_CalcAllRating(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    setUpEvening(CALC_MATCHPOINTS);
    INSTALLRATING();
    fillRegister();
    RatingMode = mode;
    NeedsRecalc = false;
    // The last players of the register, so that each look-up passes most of it.
    for (int p = 1; p <= NumPairs; ++p)
        for (int j = 1; j <= 2; ++j)
            SETFIELD(PlayerNames(p, j).c, NameLength,
                     "PLAYER NUMBER " + std::to_string(100 + 2 * p + j - 2));
    for (auto _ : state) {
        CALCALL();
        benchmark::DoNotOptimize(RatingChange.data());
    }
    state.SetLabel(mode == 0 ? "no rating" : mode == -1 ? "rating" : "masters");
}

BENCHMARK(BM_CalcAllRating)->Arg(0)->Arg(-1)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
