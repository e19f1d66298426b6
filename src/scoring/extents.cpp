#include "scoring/extents.h"

#include "core/tournament.h"

#include <algorithm>
#include <cmath>

ScoringExtents SCORINGEXTENTS() {
    ScoringExtents x{false, 0, 0, 0, 0, 0};
    if (!Results.allocated() || !BoardPoints.allocated() || !BoardPercent.allocated() ||
        !MatchPoints.allocated() || !MatchVP.allocated() || !Movement.allocated() ||
        !SetEntries.allocated() || !BoardValid.allocated() || !PairTotal.allocated() ||
        !PairPercent.allocated() || !PairImpPerBoard.allocated() || !PairPenalty.allocated() ||
        !PlacementOrder.allocated())
        return x;
    x.boards = std::min({NumBoards, Results.extent(1), BoardPoints.extent(1),
                         BoardPercent.extent(1), BoardValid.extent(1)});
    x.perRound = BoardsPerRound;
    if (x.boards <= 0 || x.perRound <= 0) return x;
    x.sets = std::min({NumBoardSets, x.boards / x.perRound, MatchPoints.extent(1),
                       MatchVP.extent(1), Movement.extent(1), SetEntries.extent(1)});
    x.entries =
        std::min({NumRounds, Results.extent(2), BoardPoints.extent(2), BoardPercent.extent(2),
                  MatchPoints.extent(2), MatchVP.extent(2), Movement.extent(2)});
    x.pairs =
        std::min({NumPairs, PairTotal.extent(1), PairPercent.extent(1), PairImpPerBoard.extent(1),
                  PairPenalty.extent(1), PlacementOrder.extent(1)});
    x.sets = std::max(x.sets, 0);
    x.entries = std::max(x.entries, 0);
    x.pairs = std::max(x.pairs, 0);
    // The side index of the per-side arrays must hold NS and EW.
    x.usable = BoardPoints.extent(3) >= 2 && BoardPercent.extent(3) >= 2 &&
               MatchPoints.extent(3) >= 2 && MatchVP.extent(3) >= 2 && Movement.extent(3) >= 2;
    return x;
}

int SETENTRYCOUNT(const ScoringExtents& x, int set) {
    if (set < 1 || set > x.sets) return 0;
    return std::clamp(SetEntries(set), 0, x.entries);
}

void SEATEDSCORES(int board, int n, std::vector<float>& seat, std::vector<float>& ordinary) {
    seat.assign(static_cast<std::size_t>(std::max(n, 0)), 0.0f);
    ordinary.clear();
    for (int j = 1; j <= n; ++j) {
        const float v = RESULTVALUE(board, j);
        const float w = v < -500.0f ? v + 1000.0f : v;
        seat[static_cast<std::size_t>(j - 1)] = w;
        if (w < 1000.0f) ordinary.push_back(w);
    }
    std::sort(ordinary.begin(), ordinary.end());
}
