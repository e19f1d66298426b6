// Generating the movement of a large Mitchell (100 pairs, 50 rounds of 2 boards)
// and of the largest Howell (14 pairs, 13 rounds of 2 boards), status figures
// included.
#include "core/hooks.h"
#include "core/tournament.h"
#include "movement/movement.h"
#include "movement/movementsize.h"

#include <benchmark/benchmark.h>

namespace {

void openTournament(int type, int pairs) {
    RESETTOURNAMENTSTATE();
    RESETHOOKS();
    const MovementSize size = DEFAULTMOVEMENTSIZE(type, pairs, 2, false);
    MovementType = type;
    NumPairs = pairs;
    BoardsPerRound = 2;
    NumRounds = size.rounds;
    NumBoards = size.boards;
    NumBoardSets = NumBoards / BoardsPerRound;
    INITTOURNAMENT();
}

void BM_Mitchell100Pairs(benchmark::State& state) {
    openTournament(MOVE_MITCHELL, 100);
    for (auto _ : state) {
        CALCULATEMOVEMENT();
        benchmark::DoNotOptimize(Movement.data());
    }
    CLOSETOURNAMENT();
}
BENCHMARK(BM_Mitchell100Pairs);

void BM_Howell14Pairs(benchmark::State& state) {
    openTournament(MOVE_HOWELL, 14);
    for (auto _ : state) {
        CALCULATEMOVEMENT();
        benchmark::DoNotOptimize(Movement.data());
    }
    CLOSETOURNAMENT();
}
BENCHMARK(BM_Howell14Pairs);

} // namespace
