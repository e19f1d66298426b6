// The whole tournament: every board, the pairs' totals and final figures, and
// the ranking.
#include "core/hooks.h"
#include "core/tournament.h"
#include "scoring/extents.h"
#include "scoring/scoring.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// The matchpoints a pair could have won and the valid boards it played.
struct PairWork {
    std::vector<int> topSum;
    std::vector<int> boardsPlayed;
};

// Adds every entry's match totals and its top to its two pairs; an entry
// without two real pairs is left out.
void addMatches(const ScoringExtents& x, PairWork& work) {
    for (int s = 1; s <= x.sets; ++s) {
        const int n = SETENTRYCOUNT(x, s);
        const int top = (2 * n - 2) * x.perRound;
        for (int i = 1; i <= n; ++i) {
            const int ns = ENTRYPAIR(x, s, i, 1), ew = ENTRYPAIR(x, s, i, 2);
            if (ns == 0 || ew == 0) continue;
            PairTotal(ns) += MatchPoints(s, i, 1);
            PairTotal(ew) += MatchPoints(s, i, 2);
            PairPercent(ns) += MatchVP(s, i, 1);
            PairPercent(ew) += MatchVP(s, i, 2);
            work.topSum[static_cast<std::size_t>(ns)] += top;
            work.topSum[static_cast<std::size_t>(ew)] += top;
        }
    }
}

// Counts, for every pair, the valid boards of the sets in which it is listed.
void countBoardsPlayed(const ScoringExtents& x, PairWork& work) {
    std::vector<int> seenInSet(static_cast<std::size_t>(x.pairs) + 1, 0);
    for (int s = 1; s <= x.sets; ++s) {
        int validBoards = 0;
        for (int b = (s - 1) * x.perRound + 1; b <= s * x.perRound; ++b)
            if (ISTRUE(BoardValid(b))) ++validBoards;
        const int n = SETENTRYCOUNT(x, s);
        for (int i = 1; i <= n; ++i) {
            for (int side = 1; side <= 2; ++side) {
                const int p = ENTRYPAIR(x, s, i, side);
                if (p == 0 || seenInSet[static_cast<std::size_t>(p)] == s) continue;
                seenInSet[static_cast<std::size_t>(p)] = s;
                work.boardsPlayed[static_cast<std::size_t>(p)] += validBoards;
            }
        }
    }
}

// Takes the penalty off the pair's total, then moves the total 0.00001 away from zero.
void applyPenalty(int p) {
    const float penalty = std::isfinite(PairPenalty(p)) ? PairPenalty(p) : 0.0f;
    float total = PairTotal(p) - penalty;
    total += total >= 0.0f ? 0.00001f : -0.00001f;
    PairTotal(p) = total;
}

// Percentage (matchpoints) or victory points and IMPs per board (IMPs and
// Calcutta). A pair without a valid board gets 0 and is not converted.
void finishPair(int p, const PairWork& work) {
    const int played = work.boardsPlayed[static_cast<std::size_t>(p)];
    const int topSum = work.topSum[static_cast<std::size_t>(p)];
    if (CalcType == CALC_MATCHPOINTS) {
        const float penalty = std::isfinite(PairPenalty(p)) ? PairPenalty(p) : 0.0f;
        if (played == 0) {
            PairPercent(p) = 0.0f;
            return;
        }
        const float penaltyPercent =
            topSum > 0 ? penalty / static_cast<float>(topSum) * 100.0f : 0.0f;
        PairPercent(p) = PairPercent(p) / static_cast<float>(played) * 100.0f - penaltyPercent;
    } else if (CalcType == CALC_IMPS || CalcType == CALC_CALCUTTA) {
        // In a Berger the pair keeps the victory points of its rounds.
        if (MovementType != MOVE_BERGER)
            PairPercent(p) =
                played > 0 ? static_cast<float>(IVPRESULT(PairTotal(p), played)) : 0.0f;
        PairImpPerBoard(p) = played > 0 ? PairTotal(p) / static_cast<float>(played) : 0.0f;
    }
}

// True when pair p ranks above pair q.
bool ranksAbove(int p, int q) {
    if (CalcType == CALC_IMPS && MovementType != MOVE_BERGER)
        return PairImpPerBoard(p) > PairImpPerBoard(q);
    if (PairPercent(p) != PairPercent(q)) return PairPercent(p) > PairPercent(q);
    return PairTotal(p) > PairTotal(q);
}

} // namespace

// PlacementOrder from the pairs' figures. Every later pair that ranks strictly
// above the pair at position i is swapped into it at once, so pairs that tie
// keep the order these swaps leave them in.
static void rank(int pairs) {
    for (int i = 1; i <= pairs; ++i)
        PlacementOrder(i) = i;
    for (int i = 1; i < pairs; ++i)
        for (int j = i + 1; j <= pairs; ++j)
            if (ranksAbove(PlacementOrder(j), PlacementOrder(i)))
                std::swap(PlacementOrder(i), PlacementOrder(j));
}

void RANKPAIRS() {
    const ScoringExtents x = SCORINGEXTENTS();
    if (x.usable) rank(x.pairs);
}

std::vector<int> PAIRPLACES() {
    const int pairs = std::max(0, std::min({NumPairs, PairTotal.extent(1), PairPercent.extent(1)}));
    std::vector<int> place(static_cast<std::size_t>(pairs) + 1, 0);
    const auto near = [](float a, float b) {
        return std::fabs(static_cast<double>(a) - static_cast<double>(b)) <= PlaceTieTolerance;
    };
    int previous = 0;
    for (int i = 1; i <= pairs; ++i) {
        const int p = PlacementOrder.contains(i) ? PlacementOrder(i) : i;
        if (p < 1 || p > pairs || place[static_cast<std::size_t>(p)] != 0) continue;
        const bool tied = previous > 0 && near(PairTotal(p), PairTotal(previous)) &&
                          near(PairPercent(p), PairPercent(previous));
        place[static_cast<std::size_t>(p)] = tied ? place[static_cast<std::size_t>(previous)] : i;
        previous = p;
    }
    return place;
}

void CALCALL() {
    const ScoringExtents x = SCORINGEXTENTS();
    if (!x.usable) return;
    const std::size_t slots = static_cast<std::size_t>(x.pairs) + 1;
    PairWork work{std::vector<int>(slots, 0), std::vector<int>(slots, 0)};
    for (int p = 1; p <= x.pairs; ++p) {
        PairTotal(p) = 0.0f;
        PairPercent(p) = 0.0f;
    }
    for (int b = 1; b <= x.boards; ++b)
        CALCULATEBOARD(b);
    addMatches(x, work);
    for (int p = 1; p <= x.pairs; ++p)
        applyPenalty(p);
    countBoardsPlayed(x, work);
    for (int p = 1; p <= x.pairs; ++p)
        finishPair(p, work);
    // The rating step, when the tournament asks for it and its stored changes
    // are not to be kept as read.
    if (RatingMode != 0 && !NeedsRecalc && Compute.assignPairRating) {
        Compute.assignPairRating();
        if (Compute.calcRating) Compute.calcRating(RatingMode);
    }
    rank(x.pairs);
}
