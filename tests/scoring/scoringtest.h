#pragma once
// Setting up small tournaments for the scoring tests: the size, the movement
// entered by hand, and the results as a traveller lists them.

#include "core/results.h"
#include "core/tournament.h"
#include "scoring/scoring.h"
#include "support/testsupport.h"

#include <initializer_list>
#include <utility>

// Opens a tournament of `sets` board sets of `perRound` boards with room for
// `rounds` entries per set; every array is allocated and zeroed.
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
        ++i;
        Movement(set, i, 1) = ns;
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

// A Mitchell of an odd number of tables, one board set per table: entry i of set
// s is played in round i by NS pair (s - i) mod T + 1 and EW pair
// (s + 1 - 2i) mod T + T + 1.
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
