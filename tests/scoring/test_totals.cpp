// The whole calculation: victory points, boards played, penalties, the ranking,
// and tournaments whose movement or arrays do not fit together.
#include "scoring/compute.h"
#include "scoringtest.h"

#include <cmath>
#include <limits>

namespace {

class Totals : public OrlaTest {};

// 10 boards lie halfway between the rows of 8 and 12; from 32 boards on the last
// row counts; with no boards the loser does not go below 0.
TEST(VictoryPoints, MarginsReachTheScaleOfTheirBoardCount) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float imps;
        int boards, vp;
    } rows[] = {{29, 8, 24},      {29.5f, 8, 25}, {-29.5f, 8, 5}, {-51, 8, 0},    {1.4f, 8, 15},
                {-1.5f, 8, 14},   {0, 8, 15},     {-0.9f, 8, 15}, {-50.4f, 8, 1}, {1.5f, 10, 16},
                {1.4f, 10, 15},   {6, 10, 17},    {5.9f, 10, 16}, {3.5f, 32, 16}, {100.5f, 40, 25},
                {-100.5f, 40, 0}, {-100, 40, 1},  {-3, 0, 0},     {nan, 8, 15}};
    for (const auto& r : rows)
        EXPECT_EQ(IVPRESULT(r.imps, r.boards), r.vp) << r.imps << "/" << r.boards;
}

// A Berger round of 1 or 2 boards: a margin that truncates to 0 is a 15-15 draw
// as it is at 8 boards, and the two sides never share more than 30 points.
TEST(VictoryPoints, ADrawIsFifteenAllAtEveryBoardCount) {
    for (int boards : {1, 2, 8}) {
        for (float imps : {0.0f, 0.4f, 0.9f, -0.9f})
            EXPECT_EQ(IVPRESULT(imps, boards), 15) << imps << "/" << boards;
        for (int margin = 1; margin <= 60; ++margin) {
            const int won = IVPRESULT(static_cast<float>(margin), boards);
            const int lost = IVPRESULT(static_cast<float>(-margin), boards);
            EXPECT_GE(won, lost) << margin << "/" << boards;
            EXPECT_LE(won + lost, 30) << margin << "/" << boards;
        }
    }
    EXPECT_EQ(IVPRESULT(1, 1), 19); // one board: thresholds of a fifth of those of 8 boards
}

TEST_F(Totals, SitOutsAndFaultyBoardsCountOnlyTheBoardsAPairPlayed) {
    openTournament(CALC_MATCHPOINTS, MOVE_CUSTOM, 5, 2, 2, 2);
    setEntries(1, {{1, 2}, {3, 4}}); // pair 5 sits out
    setEntries(2, {{1, 3}, {5, 2}}); // pair 4 sits out
    enterResults(1, {42, 17});
    enterResults(2, {42, 17});
    enterResults(3, {17, 42});
    enterResults(4, {17, 42});
    CALCALL();
    const float percent[] = {50, 0, 50, 100, 100};
    for (int p = 1; p <= 5; ++p)
        EXPECT_FLOAT_EQ(PairPercent(p), percent[p - 1]) << p;

    // Board 4 no longer counts, but pair 5's top stays 2 boards of 2: a
    // penalty of 1 matchpoint is 25 %.
    BoardValid(4) = LFALSE;
    PairPenalty(5) = 1;
    CALCALL();
    EXPECT_FLOAT_EQ(PairPercent(5), 75);
    EXPECT_NEAR(PairPercent(1), 200.0f / 3, 1e-4);
    EXPECT_NEAR(PairTotal(5), 1.00001f, 1e-6);
    EXPECT_EQ(placement(), (std::vector<int>{4, 5, 1, 3, 2}));

    // With every board faulty nobody has a figure, whatever the penalty.
    BoardValid.fill(LFALSE);
    for (int calc : {CALC_MATCHPOINTS, CALC_IMPS, CALC_CALCUTTA}) {
        CalcType = calc;
        CALCALL();
        EXPECT_FLOAT_EQ(PairPercent(5), 0) << calc;
        EXPECT_FLOAT_EQ(PairImpPerBoard(5), 0) << calc;
    }
}

TEST_F(Totals, APenaltyOfThreeOnATopOfThreeHundredCostsOnePercent) {
    // 14 pairs, 7 tables, 6 rounds of 5 boards: each board is played 6 times, so
    // every pair's top is 6 rounds x 5 boards x 10.
    openTournament(CALC_MATCHPOINTS, MOVE_MITCHELL, 14, 7, 6, 5);
    fillMitchell(7);
    for (int b = 1; b <= NumBoards; ++b)
        for (int i = 1; i <= 6; ++i)
            Results(b, i) = static_cast<float>((b * 7 + i * 13) % 17 - 8);
    CALCALL();
    const float before = PairPercent(1), total = PairTotal(1);
    PairPenalty(1) = 3;
    CALCALL();
    EXPECT_NEAR(PairPercent(1), before - 1, 1e-4);
    EXPECT_NEAR(PairTotal(1), total - 3, 1e-4);
}

TEST_F(Totals, TiesKeepTheOrderTheRankingSwapsLeave) {
    // Matchpoints: equal percentages, then the larger total. Pairs 1 and 2 play a
    // board nobody else plays (an average but no matchpoints).
    openTournament(CALC_MATCHPOINTS, MOVE_CUSTOM, 6, 2, 2, 1);
    setEntries(1, {{1, 2}});
    setEntries(2, {{3, 4}, {5, 6}});
    enterResults(2, {42, 42});
    CALCALL();
    EXPECT_EQ(placement(), (std::vector<int>{3, 4, 5, 6, 1, 2}));

    // IMPs: 1 -3, 2 and 3 level, 4 +3 (their opponents the reverse). Every better
    // pair found is swapped in at once, which leaves pair 2 before pair 3.
    RESETTOURNAMENTSTATE();
    openTournament(CALC_IMPS, MOVE_CUSTOM, 8, 1, 4, 1);
    setEntries(1, {{1, 5}, {2, 6}, {3, 7}, {4, 8}});
    enterResults(1, {10, 20, 20, 30});
    CALCALL();
    EXPECT_EQ(placement(), (std::vector<int>{4, 5, 2, 3, 6, 7, 1, 8}));
}

// Calcutta totals are sums of thirds of an IMP: pairs 1 and 2 score the same on
// boards 2 and 3 in the other order, and their totals differ by rounding alone
// (so do those of their opponents, 5 and 6). Such pairs share a place; the
// ranking keeps its order.
TEST_F(Totals, RoundingNoiseSharesAPlace) {
    openTournament(CALC_CALCUTTA, MOVE_CUSTOM, 8, 4, 4, 1);
    const float scores[4][4] = {{-10, -10, -20, -50}, {42, 40, 17, 14}, {40, 42, 17, 14}, {11, 11, 11, 11}};
    for (int s = 1; s <= 4; ++s) {
        setEntries(s, {{1, 5}, {2, 6}, {3, 7}, {4, 8}});
        for (int i = 1; i <= 4; ++i)
            Results(s, i) = scores[s - 1][i - 1];
    }
    CALCALL();
    for (int p : {1, 5}) {
        ASSERT_NE(PairTotal(p), PairTotal(p + 1)) << "the evening no longer ends in a rounding tie";
        ASSERT_NEAR(PairTotal(p), PairTotal(p + 1), 1e-5);
        ASSERT_EQ(PairPercent(p), PairPercent(p + 1));
    }
    const std::vector<int> order = placement();
    const std::vector<int> place = PAIRPLACES();
    ASSERT_EQ(place.size(), 9u);
    for (std::size_t i = 1; i <= order.size(); ++i) {
        const int p = order[i - 1];
        const bool second = i > 1 && (p == 1 || p == 2 || p == 5 || p == 6) &&
                            (order[i - 2] == (p % 2 ? p + 1 : p - 1));
        EXPECT_EQ(place[static_cast<std::size_t>(p)], second ? static_cast<int>(i - 1) : static_cast<int>(i))
            << "pair " << p;
    }
    RANKPAIRS();
    EXPECT_EQ(placement(), order);

    // Figures within 1e-3 of the pair above share its place, whichever figure
    // differs beyond that does not.
    struct Row {
        float total, percent;
        int place;
    };
    const Row rows[] = {{12.3333f, 61.0f, 1}, {12.3338f, 61.0f, 1},  {12.3338f, 61.0005f, 1},
                        {12.3338f, 61.002f, 4}, {12.336f, 61.002f, 5}, {-3.0f, 40.0f, 6}};
    RESETTOURNAMENTSTATE();
    openTournament(CALC_MATCHPOINTS, MOVE_CUSTOM, 6, 1, 3, 1);
    for (int i = 1; i <= 6; ++i) {
        PlacementOrder(i) = 7 - i;
        PairTotal(7 - i) = rows[i - 1].total;
        PairPercent(7 - i) = rows[i - 1].percent;
    }
    const std::vector<int> shared = PAIRPLACES();
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(shared[static_cast<std::size_t>(7 - i)], rows[i - 1].place) << "position " << i;
}

TEST_F(Totals, MovementsAndArraysThatDoNotFitAreScoredWithinBounds) {
    // Nothing is open: nothing happens.
    CALCALL();
    CALCULATEBOARD(1);

    openTournament(CALC_MATCHPOINTS, MOVE_CUSTOM, 6, 3, 3, 2);
    NumBoards = 7; // board 7 belongs to no set
    setEntries(1, {{1, 4}, {0, 5}, {99, 6}});
    setEntries(2, {{-3, 2}, {2, 3}, {3, 1}});
    SetEntries(2) = 40; // more entries than rounds
    SetEntries(3) = -2;
    Results(1, 1) = std::numeric_limits<float>::quiet_NaN();
    Results(1, 2) = 1e30f;
    Results(3, 3) = 1e30f;
    Results(4, 1) = -1e30f;
    NumBoardSets = 50; // the header no longer matches the arrays
    NumPairs = 7;
    for (int calc : {1, 2, 3, 0}) {
        CalcType = calc;
        for (int move : {MOVE_MITCHELL, MOVE_BERGER}) {
            MovementType = move;
            CALCALL();
            for (int b : {-1, 0, 7, 8})
                CALCULATEBOARD(b);
            for (int p = 1; p <= 6; ++p)
                EXPECT_TRUE(std::isfinite(PairPercent(p) + PairTotal(p) + PairImpPerBoard(p)))
                    << calc << "/" << move << " pair " << p;
        }
    }
}

TEST_F(Totals, ANewTournamentWithoutBoardsPerRoundIsRefused) {
    BoardsPerRound = 0;
    EXPECT_FALSE(CREATETOURNAMENT());
    EXPECT_FALSE(TournamentOpen);
    EXPECT_EQ(CapturedMessages.size(), 1u);
}

} // namespace
