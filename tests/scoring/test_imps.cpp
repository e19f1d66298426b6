// IMPs against the datum, cross-IMPs (Calcutta), and the victory points of a
// Berger round.
#include "scoringtest.h"

#include <cmath>
#include <vector>

namespace {

class Imps : public OrlaTest {};
class Calcutta : public OrlaTest {};

TEST(ImpScale, DifferencesInTensGiveTheStandardImps) {
    const struct {
        float diff;
        int imps;
    } rows[] = {{-23, -6}, {1.9f, 0}, {-0.5f, 0}, {-1.9f, 0}, {2, 1},    {-2, -1},    {4.9f, 1},
                {5, 2},    {42, 9},   {43, 10},   {399, 23},  {400, 24}, {-400, -24}, {2500, 24}};
    for (const auto& r : rows)
        EXPECT_EQ(IMPRESULT(r.diff), r.imps) << r.diff;
}

TEST_F(Imps, TheDatumDropsTheHighestAndLowestQuarterOfTheOrdinaryScores) {
    const struct {
        std::vector<float> results;
        float datum;
    } rows[] = {
        // 8 scores: the two highest and two lowest go, the middle four average 45.
        {{80, 10, 50, 30, 70, 20, 60, 40}, 45},
        // Means round half away from zero.
        {{12, 13}, 13},
        {{-12, -13}, -13},
        // An inverted +420 counts as +420, adjusted scores not at all.
        {{ENCODEINVERTED(42), 17, ENCODEADJUSTED(3, -2)}, 30},
        {{ENCODEADJUSTED(5, 5), ENCODEADJUSTED(4, 6)}, 0},
        {{}, 0},
    };
    openTournament(CALC_IMPS, MOVE_CUSTOM, 16, 1, 8, 1);
    for (const auto& r : rows) {
        Results.fill(0);
        SetEntries(1) = static_cast<int>(r.results.size());
        for (std::size_t i = 0; i < r.results.size(); ++i)
            Results(1, static_cast<int>(i) + 1) = r.results[i];
        EXPECT_FLOAT_EQ(CALCIMPAVERAGE(1), r.datum) << r.results.size() << " results";
    }
}

TEST_F(Imps, EachEntryScoresItsImpsAgainstTheDatum) {
    openTournament(CALC_IMPS, MOVE_CUSTOM, 10, 1, 5, 1);
    setEntries(1, {{1, 6}, {2, 7}, {3, 8}, {4, 9}, {5, 10}});
    // Datum of +420 +420 +170 -50 is +300 (the adjusted entry does not count).
    enterResults(1, {42, ENCODEINVERTED(42), 17, -5, ENCODEADJUSTED(3, -2)});
    ViewMode = 2;
    CALCULATEBOARD(1);
    expectPoints(1, {{3, -3}, {-3, 3}, {-4, 4}, {-8, 8}, {3, -2}});
    EXPECT_EQ(CapturedStatus[2], "Avg:    30");

    // A result equal to the datum gives both sides 0, not -0 (which a dump would show).
    enterResults(1, {30, 30, 30, 30, 30});
    CALCULATEBOARD(1);
    for (int i = 1; i <= 5; ++i)
        EXPECT_FALSE(std::signbit(BoardPoints(1, i, 1)) || std::signbit(BoardPoints(1, i, 2))) << i;

    // Outside the board lists the status bar is left alone.
    CapturedStatus[2].clear();
    ViewMode = 1;
    CALCULATEBOARD(1);
    EXPECT_EQ(CapturedStatus[2], "");
}

TEST_F(Imps, BergerVictoryPointsDependOnlyOnTheResults) {
    // One round of 8 boards; only the first board has been played so far.
    openTournament(CALC_IMPS, MOVE_BERGER, 6, 1, 3, 8);
    setEntries(1, {{1, 6}, {2, 5}, {3, 4}});
    enterResults(1, {42, 50, 34}); // datum 420: 0, +2 and -2 IMPs
    auto victoryPoints = [] {
        return std::vector<float>{MatchVP(1, 1, 1), MatchVP(1, 1, 2), MatchVP(1, 2, 1),
                                  MatchVP(1, 2, 2), MatchVP(1, 3, 1), MatchVP(1, 3, 2)};
    };
    const std::vector<float> expected{15, 15, 16, 14, 14, 16};
    // Scoring the board once, with the later matches' totals not yet known...
    CALCULATEBOARD(1);
    EXPECT_EQ(victoryPoints(), expected);
    // ...or with totals left from an earlier calculation gives the same.
    MatchPoints.fill(0);
    MatchPoints(1, 3, 1) = 9;
    CALCULATEBOARD(8);
    EXPECT_EQ(victoryPoints(), expected);
    CALCALL();
    EXPECT_EQ(victoryPoints(), expected);
    EXPECT_FLOAT_EQ(PairPercent(2), 16);

    // Until somebody has a total, nobody has victory points.
    Results.fill(0);
    CALCALL();
    EXPECT_FLOAT_EQ(MatchVP(1, 1, 1), 0);
    EXPECT_FLOAT_EQ(PairPercent(1), 0);
}

TEST_F(Calcutta, EveryOtherEntryCountsAnEqualShare) {
    openTournament(CALC_CALCUTTA, MOVE_CUSTOM, 8, 3, 4, 1);
    // Two entries: the single comparison counts fully.
    setEntries(1, {{1, 5}, {2, 6}});
    enterResults(1, {42, 17});
    // Three: an adjusted entry is replaced by the mean of the others (+300).
    setEntries(2, {{1, 5}, {2, 6}, {3, 7}});
    enterResults(2, {42, 17, ENCODEADJUSTED(3, -2)});
    // Four, two of them +420 (one scored by pair 6 sitting NS); the mean is +340.
    setEntries(3, {{1, 5}, {2, 6}, {3, 7}, {4, 8}});
    enterResults(3, {42, ENCODEINVERTED(42), 17, ENCODEADJUSTED(3, -2)});
    for (int b = 1; b <= 3; ++b)
        CALCULATEBOARD(b);
    expectPoints(1, {{6, -6}, {-6, 6}});
    expectPoints(2, {{4.5f, -4.5f}, {-5, 5}, {3, -2}});
    expectPoints(3,
                 {{8.0f / 3, -8.0f / 3}, {-8.0f / 3, 8.0f / 3}, {-17.0f / 3, 17.0f / 3}, {3, -2}});
}

} // namespace
