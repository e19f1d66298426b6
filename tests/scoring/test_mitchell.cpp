// A whole evening: 10 pairs, a 5-table Mitchell of 5 rounds of 3 boards, every
// result as the travellers came in, scored by matchpoints and by IMPs. The
// expected figures were worked out by hand from the travellers.
#include "movement/movement.h"
#include "scoringtest.h"

namespace {

class MitchellEvening : public OrlaTest {
  protected:
    void SetUp() override {
        OrlaTest::SetUp();
        openTournament(CALC_MATCHPOINTS, MOVE_MITCHELL, 10, 5, 5, 3);
        CALCULATEMOVEMENT();
        ASSERT_EQ(Movement(1, 2, 1), 5); // set 1 is 1-6 5-9 4-7 3-10 2-8
        // NS score of each entry in traveller order.
        const int scores[15][5] = {
            {420, 450, 420, 170, -50},     {600, 630, -100, 600, 170},
            {-110, -140, -110, 100, -620}, {620, 650, 620, -200, 620},
            {-420, -450, 100, -420, -170}, {110, 140, -100, 110, 90},
            {1430, 680, 1430, 1460, 650},  {-400, -430, -400, 50, -460},
            {200, -620, -620, 100, -650},  {-110, -140, 110, -110, -100},
            {50, -110, -140, 50, 100},     {1440, 690, 660, 1440, -100},
            {-800, -620, -620, -650, 200}, {90, 120, 90, -50, 110},
            {140, 110, 140, 170, -100},
        };
        for (int b = 1; b <= 15; ++b)
            for (int i = 1; i <= 5; ++i) {
                const int score = scores[b - 1][i - 1];
                EXPECT_TRUE(ISRESULTPOSSIBLE(score / 10, GETBOARDZONE(b))) << b << "/" << i;
                Results(b, i) = ENCODEORDINARY(score / 10);
            }
        // On board 6 pairs 1 and 10 sat the wrong way round; pair 10 scored +140.
        Results(6, 2) = ENCODEINVERTED(14);
    }
};

TEST_F(MitchellEvening, MatchpointsRankAndPercentages) {
    CALCALL();
    // Matchpoints out of a top of 8 per board, 15 boards each.
    const struct {
        int pair;
        float matchpoints, percent;
    } rows[] = {{10, 79, 65.8333f}, {5, 74, 61.6667f}, {1, 65, 54.1667f}, {3, 64, 53.3333f},
                {6, 63, 52.5f},     {8, 58, 48.3333f}, {7, 56, 46.6667f}, {9, 52, 43.3333f},
                {4, 48, 40.0f},     {2, 41, 34.1667f}};
    std::vector<int> order;
    for (const auto& r : rows) {
        order.push_back(r.pair);
        EXPECT_NEAR(PairTotal(r.pair), r.matchpoints, 1e-3) << r.pair;
        EXPECT_NEAR(PairPercent(r.pair), r.percent, 1e-3) << r.pair;
    }
    EXPECT_EQ(placement(), order);
}

TEST_F(MitchellEvening, ImpsRankByImpsPerBoard) {
    CalcType = CALC_IMPS;
    ViewMode = 2;
    CALCALL();
    // Datums are whole tens, the mean of the middle three of five: board 1 +340,
    // ... board 15 +130, the last one shown.
    EXPECT_EQ(CapturedStatus[2], "Avg:    13");
    // IMPs over 15 boards and victory points between the 14- and 16-board rows;
    // pairs 1 and 5 are level and stay in the order the ranking leaves them.
    const struct {
        int pair;
        float imps;
        int vp;
    } rows[] = {{6, 38, 24}, {10, 28, 22}, {1, 23, 21},  {5, 23, 21}, {3, 17, 19},
                {8, -8, 13}, {7, -13, 12}, {9, -21, 10}, {4, -31, 7}, {2, -56, 3}};
    std::vector<int> order;
    for (const auto& r : rows) {
        order.push_back(r.pair);
        EXPECT_NEAR(PairTotal(r.pair), r.imps, 1e-3) << r.pair;
        EXPECT_NEAR(PairImpPerBoard(r.pair), r.imps / 15, 1e-4) << r.pair;
        EXPECT_FLOAT_EQ(PairPercent(r.pair), static_cast<float>(r.vp)) << r.pair;
    }
    EXPECT_EQ(placement(), order);
}

} // namespace
