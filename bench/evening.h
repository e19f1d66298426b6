#pragma once
// A large evening for the benchmarks: 100 pairs in two sections of a 25-table
// Mitchell, 25 rounds of 3 boards, so each of the 75 boards is played 50 times,
// with every result entered.
#include "core/results.h"
#include "core/tournament.h"

#include <random>

inline constexpr int Tables = 25; // per section

inline void setUpEvening(int calc) {
    RESETTOURNAMENTSTATE();
    CalcType = calc;
    MovementType = MOVE_CUSTOM;
    NumPairs = 4 * Tables;
    BoardsPerRound = 3;
    NumBoards = Tables * BoardsPerRound;
    NumRounds = 2 * Tables; // entries per board set
    NumBoardSets = Tables;
    if (!INITTOURNAMENT()) return;
    // In round r table t of each section plays set (t + r - 2) mod 25 + 1 with
    // EW pair (t - r) mod 25 + 1; the boards move down, the EW pairs up.
    auto wrap = [](int v) { return (v % Tables + Tables) % Tables + 1; };
    for (int r = 1; r <= Tables; ++r)
        for (int section = 0; section < 2; ++section)
            for (int t = 1; t <= Tables; ++t) {
                const int set = wrap(t + r - 2), entry = 2 * (r - 1) + section + 1;
                Movement(set, entry, 1) = section * 2 * Tables + t;
                Movement(set, entry, 2) = section * 2 * Tables + Tables + wrap(t - r);
            }
    for (int s = 1; s <= NumBoardSets; ++s)
        SetEntries(s) = NumRounds;

    // Scores a traveller might show, a few with the pairs the wrong way round.
    const int scores[] = {42, 45, 17, -5, -10, 62, 65, -62, -42, 14, 11, -11, 30, -20, 143, -80};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(scores)) - 1);
    for (int b = 1; b <= NumBoards; ++b)
        for (int i = 1; i <= NumRounds; ++i) {
            const int score = scores[pick(random)];
            Results(b, i) = random() % 40 == 0 ? ENCODEINVERTED(score) : ENCODEORDINARY(score);
        }
}
