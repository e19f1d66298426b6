// Double-dummy analysis of a whole evening's set: 36 boards dealt at random, each
// solved for every declarer and strain, with its par. The cache is emptied before
// every run, so each run solves all 36 deals. The time is the wall clock's; the CPU
// column adds up every thread of the process, so CPU / Time shows how busy the
// cores were (close to 2 on two idle cores).
#include "core/tournament.h"
#include "hands/analysis.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

void openSet(int boards) {
    RESETTOURNAMENTSTATE();
    DEFAULTHEADER();
    NumPairs = 12;
    NumBoards = boards;
    BoardsPerRound = 3;
    NumRounds = boards / 3;
    NumBoardSets = boards / 3;
    HasHands = LTRUE;
    INITTOURNAMENT();
    std::mt19937 rng(2024);
    std::vector<int> cards(52);
    for (int b = 1; b <= boards; ++b) {
        for (int k = 0; k < 52; ++k) cards[k] = k + 1;
        std::shuffle(cards.begin(), cards.end(), rng);
        for (int i = 0; i < 52; ++i) HandCards(cards[i], b) = static_cast<std::int8_t>(i / 13 + 1);
    }
}

void BM_AnalyseSet36(benchmark::State& state) {
    openSet(36);
    std::set<Deal> distinct;
    for (int b = 1; b <= 36; ++b) distinct.insert(BOARDDEAL(b));
    if (distinct.size() != 36) state.SkipWithError("two boards have the same deal");
    for (auto _ : state) {
        DDCLEARCACHE();
        std::vector<DdJob> jobs;
        for (int b = 1; b <= 36; ++b) jobs.push_back(DDJOBOFBOARD(b));
        std::string error;
        if (!ANALYSEDEALS(jobs, nullptr, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(jobs.data());
    }
}
BENCHMARK(BM_AnalyseSet36)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime()->MeasureProcessCPUTime();

} // namespace
