#pragma once
// Small tournaments for the scoring tests: the size, the movement entered by
// hand, the results as a traveller lists them, and what to compare.

#include "core/results.h"
#include "core/tournament.h"
#include "scoring/scoring.h"
#include "support/testsupport.h"

#include <initializer_list>
#include <utility>
#include <vector>

// A tournament of `sets` board sets of `perRound` boards, room for `rounds`
// entries per set, every array allocated and zeroed.
inline void openTournament(int calc, int movement, int pairs, int sets, int rounds, int perRound) {
    CalcType = calc;
    MovementType = movement;
    NumPairs = pairs;
    NumRounds = rounds;
    BoardsPerRound = perRound;
    NumBoards = sets * perRound;
    NumBoardSets = sets;
    ASSERT_TRUE(INITTOURNAMENT());
}

// The entries (NS, EW) of one board set, in traveller order.
inline void setEntries(int set, std::initializer_list<std::pair<int, int>> entries) {
    int i = 0;
    for (const auto& [ns, ew] : entries) {
        Movement(set, ++i, 1) = ns;
        Movement(set, i, 2) = ew;
    }
    SetEntries(set) = i;
}

// The stored results of one board, entry by entry (units of 10 points).
inline void enterResults(int board, std::initializer_list<float> values) {
    int i = 0;
    for (float v : values)
        Results(board, ++i) = v;
}

// BoardPoints of side 1 and side 2 of every entry of a board.
inline void expectPoints(int board, std::initializer_list<std::pair<float, float>> expected) {
    int i = 0;
    for (const auto& [ns, ew] : expected) {
        EXPECT_FLOAT_EQ(BoardPoints(board, ++i, 1), ns) << "board " << board << " entry " << i;
        EXPECT_FLOAT_EQ(BoardPoints(board, i, 2), ew) << "board " << board << " entry " << i;
    }
}

inline std::vector<int> placement() {
    return std::vector<int>(PlacementOrder.data(), PlacementOrder.data() + NumPairs);
}

// A Mitchell of an odd number T of tables: in round i set s is played by NS pair
// (s - i) mod T + 1 against EW pair (s + 1 - 2i) mod T + T + 1.
inline void fillMitchell(int tables) {
    auto mod = [tables](int v) { return ((v % tables) + tables) % tables; };
    for (int s = 1; s <= NumBoardSets; ++s) {
        for (int i = 1; i <= NumRounds; ++i) {
            Movement(s, i, 1) = mod(s - i) + 1;
            Movement(s, i, 2) = mod(s + 1 - 2 * i) + tables + 1;
        }
        SetEntries(s) = NumRounds;
    }
}
