#pragma once
// What the scoring routines may touch: the header's counts cut down to what the
// arrays really hold, so that a custom movement, a damaged file or a header
// changed without reallocation never leads outside an array.

#include "core/tournament.h"

#include <cmath>
#include <vector>

struct ScoringExtents {
    bool usable;  // every array the scoring needs is allocated and the counts are positive
    int boards;   // boards 1..boards
    int perRound; // boards per set
    int sets;     // whole sets 1..sets; their boards all lie within 1..boards
    int entries;  // room for entries 1..entries of every set
    int pairs;    // pairs 1..pairs
};

// The usable extents of the current tournament.
ScoringExtents SCORINGEXTENTS();

// Entries of set `set` (SetEntries cut to 0..x.entries); 0 for a set outside 1..x.sets.
int SETENTRYCOUNT(const ScoringExtents& x, int set);

// The pair of entry `entry` of set `set` on `side`, or 0 when it is not a pair
// number 1..x.pairs.
inline int ENTRYPAIR(const ScoringExtents& x, int set, int entry, int side) {
    const int p = Movement(set, entry, side);
    return p >= 1 && p <= x.pairs ? p : 0;
}

// Board scoring by method, for a board of set `set` with `n` entries.
void SCOREMATCHPOINTS(int board, int n);
void SCOREIMPS(int board, int n);
void SCORECALCUTTA(int board, int n);

// Results(board, entry), with a value that is not a finite number read as no result.
inline float RESULTVALUE(int board, int entry) {
    const float v = Results(board, entry);
    return std::isfinite(v) ? v : 0.0f;
}

// The score of the pair that sat NS at each entry 1..n of `board` in seat[0..n-1]
// (1000 and more: an adjusted score), and the ordinary ones among them ascending.
void SEATEDSCORES(int board, int n, std::vector<float>& seat, std::vector<float>& ordinary);
