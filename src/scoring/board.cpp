// Scoring one board, whatever the method: the board's points, then the set
// totals of every entry of its set and, for IMPs and Calcutta in a Berger, the
// victory points of each match.
#include "core/tournament.h"
#include "scoring/extents.h"
#include "scoring/scoring.h"

namespace {

// MatchPoints (and, for matchpoints, MatchVP) of every entry: the sums over the
// boards of the set.
void sumSet(const ScoringExtents& x, int set, int n) {
    const int first = (set - 1) * x.perRound + 1;
    const int last = set * x.perRound;
    for (int i = 1; i <= n; ++i) {
        for (int k = 1; k <= 2; ++k) {
            float points = 0.0f, percent = 0.0f;
            for (int b = first; b <= last; ++b) {
                points += BoardPoints(b, i, k);
                percent += BoardPercent(b, i, k);
            }
            MatchPoints(set, i, k) = points;
            if (CalcType == CALC_MATCHPOINTS) MatchVP(set, i, k) = percent;
        }
    }
}

// Victory points of every match of a Berger round, from the complete match
// totals of all its entries; a round in which no entry has a total yet gives
// nobody victory points.
void bergerVictoryPoints(const ScoringExtents& x, int set, int n) {
    bool anyTotal = false;
    for (int i = 1; i <= n && !anyTotal; ++i)
        anyTotal = MatchPoints(set, i, 1) != 0.0f || MatchPoints(set, i, 2) != 0.0f;
    for (int i = 1; i <= n; ++i)
        for (int k = 1; k <= 2; ++k)
            MatchVP(set, i, k) =
                anyTotal ? static_cast<float>(IVPRESULT(MatchPoints(set, i, k), x.perRound)) : 0.0f;
}

} // namespace

void CALCULATEBOARD(int board) {
    const ScoringExtents x = SCORINGEXTENTS();
    if (!x.usable || board < 1 || board > x.boards) return;
    const int set = (board - 1) / x.perRound + 1;
    // Boards after the last whole set belong to no set and have no entries.
    if (set > x.sets) return;
    const int n = SETENTRYCOUNT(x, set);
    switch (CalcType) {
    case CALC_MATCHPOINTS:
        SCOREMATCHPOINTS(board, n);
        break;
    case CALC_IMPS:
        SCOREIMPS(board, n);
        break;
    case CALC_CALCUTTA:
        SCORECALCUTTA(board, n);
        break;
    default:
        return;
    }
    sumSet(x, set, n);
    if (CalcType != CALC_MATCHPOINTS && MovementType == MOVE_BERGER) bergerVictoryPoints(x, set, n);
}
