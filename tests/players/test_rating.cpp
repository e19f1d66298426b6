// The players' ratings in a tournament: the look-up, the rating changes and the
// masters points, each checked against figures worked out by hand.
#include "playerstest.h"

#include "core/tournamentfile.h"
#include "players/rating.h"
#include "scoring/compute.h"
#include "scoring/scoringtest.h"

#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

class RatingTest : public PlayersTest {
  protected:
    // `pairs` pairs, each playing every one of `sets` board sets of 3 boards
    // against its neighbour (1-2, 3-4, ...), every player rated `rating`.
    void field(int calc, int pairs, int rating, int sets = 1, int movement = MOVE_MITCHELL) {
        openTournament(calc, movement, pairs, sets, (pairs + 1) / 2, 3);
        for (int s = 1; s <= sets; ++s) {
            for (int i = 1; i <= (pairs + 1) / 2; ++i) {
                Movement(s, i, 1) = 2 * i - 1;
                Movement(s, i, 2) = 2 * i <= pairs ? 2 * i : 0;
            }
            SetEntries(s) = (pairs + 1) / 2;
        }
        PlayerRating.fill(rating);
        PairPercent.fill(50.0f);
    }
    static void expectChanges(int pair, float first, float second) {
        EXPECT_FLOAT_EQ(RatingChange(pair, 1), first) << "pair " << pair;
        EXPECT_FLOAT_EQ(RatingChange(pair, 2), second) << "pair " << pair;
    }
};

TEST_F(RatingTest, ExpectedStepsFollowTheTable) {
    const std::pair<int, int> rows[] = {{0, 0},   {3, 0},   {4, 1},   {10, 1},  {11, 2},
                                        {18, 2},  {385, 37}, {669, 48}, {670, 49}, {699, 49},
                                        {700, 50}, {5000, 50}};
    for (const auto& [d, m] : rows)
        EXPECT_EQ(EXPECTEDSTEPS(d), m) << d;
}

// Matchpoints, 12 pairs: K = 0.375.
TEST_F(RatingTest, MatchpointChangesAgainstTheExpectation) {
    // A field all rated 500: 60 % gains (60 - 50) x 0.375 = 3.75 for the pair,
    // rounded to 3.8 for each player; 50 % gains nothing.
    field(CALC_MATCHPOINTS, 12, 500);
    PairPercent(1) = 60.0f;
    CALCRATING(-1);
    EXPECT_EQ(TournamentStrength, 500);
    expectChanges(1, 3.80001f, 3.80001f);
    expectChanges(2, 0.00001f, 0.00001f);

    // A pair 770 above the field (840 each, all others 0: S = 70) expects 70 %.
    PlayerRating.fill(0);
    PlayerRating(1, 1) = PlayerRating(1, 2) = 840;
    PairPercent(1) = 70.0f;
    CALCRATING(-1);
    EXPECT_EQ(TournamentStrength, 70);
    expectChanges(1, 0.00001f, 0.00001f);
    PairPercent(1) = 71.0f; // 1 x 0.375 = 0.375: 0.4 each
    CALCRATING(-1);
    expectChanges(1, 0.40001f, 0.40001f);

    // A pair rated 0 among pairs of 1000 (S = 917) expects 30 %: 40 % gains 3.75.
    PlayerRating.fill(1000);
    PlayerRating(1, 1) = PlayerRating(1, 2) = 0;
    PairPercent(1) = 40.0f;
    CALCRATING(-1);
    EXPECT_EQ(TournamentStrength, 917);
    expectChanges(1, 3.80001f, 3.80001f);

    // 385 above the field (420 each, S = 35): 37 steps, 64.8 % expected. 58 %
    // is protected; 57 % loses 7.8 x 0.375 = 2.925, -2.9 each.
    PlayerRating.fill(0);
    PlayerRating(1, 1) = PlayerRating(1, 2) = 420;
    PairPercent(1) = 58.0f;
    CALCRATING(-1);
    expectChanges(1, 0.00001f, 0.00001f);
    PairPercent(1) = 57.0f;
    CALCRATING(-1);
    expectChanges(1, -2.90001f, -2.90001f);

    // Partners 0 and 1000 in a field of 500: shares 0.75 -> 2/3 and 0.25 -> 1/3 of
    // twice 3.75.
    PlayerRating.fill(500);
    PlayerRating(1, 1) = 0;
    PlayerRating(1, 2) = 1000;
    PairPercent(1) = 60.0f;
    CALCRATING(-1);
    EXPECT_EQ(TournamentStrength, 500);
    expectChanges(1, 5.00001f, 2.50001f);

    // A field nobody has a rating in yet: each partner takes half.
    PlayerRating.fill(0);
    CALCRATING(-1);
    expectChanges(1, 3.80001f, 3.80001f);

    // High rated: K = 0.5. A pair that played no valid board is not rated.
    HighRated = LTRUE;
    CALCRATING(-1);
    expectChanges(1, 5.00001f, 5.00001f);
    BoardValid.fill(LFALSE);
    CALCRATING(-1);
    expectChanges(1, 0.0f, 0.0f);
}

TEST_F(RatingTest, FieldSizeChoosesTheFactorAndRoundingIsSymmetric) {
    // 45 % at an expectation of 50: v = -5. 9 pairs: K = 0.25, -1.25 rounds to -1.3.
    field(CALC_MATCHPOINTS, 9, 300);
    PairPercent(1) = 45.0f;
    CALCRATING(-1);
    expectChanges(1, -1.30001f, -1.30001f);
    // 10 pairs: K = 0.375, -1.875 rounds to -1.9.
    field(CALC_MATCHPOINTS, 10, 300);
    PairPercent(1) = 45.0f;
    CALCRATING(-1);
    expectChanges(1, -1.90001f, -1.90001f);
}

TEST_F(RatingTest, ImpChangesUseVictoryPoints) {
    // 12 pairs, K = 15. Below 25 VP: v = P / 30 - 0.5.
    field(CALC_IMPS, 12, 500, 4);
    PairPercent(1) = 18.0f; // 0.1 x 15 = 1.5
    PairPercent(2) = 12.0f; // -1.5, not protected below 22
    // 25 VP: the opponents' VP of the pair's 70 IMPs over its 12 boards is 0, so
    // v = 25 / 25 - 0.5 and the change 7.5.
    PairPercent(4) = 25.0f;
    PairTotal(4) = 70.0f;
    CALCRATING(-1);
    expectChanges(1, 1.50001f, 1.50001f);
    expectChanges(2, -1.50001f, -1.50001f);
    expectChanges(4, 7.50001f, 7.50001f);

    // A pair of 1500 in a field of 0 (S = 125) expects e = 1.0: 22 VP is
    // protected, 21 VP loses (0.7 - 1) x 15 = 4.5.
    PlayerRating.fill(0);
    PlayerRating(3, 1) = PlayerRating(3, 2) = 1500;
    PairPercent(3) = 22.0f;
    CALCRATING(-1);
    expectChanges(3, 0.00001f, 0.00001f);
    PairPercent(3) = 21.0f;
    CALCRATING(-1);
    expectChanges(3, -4.50001f, -4.50001f);

    // A Berger sums the round VP in PairPercent; the rating takes the VP of the
    // pair's whole IMP total instead: 0 IMPs is 15 VP, an even result.
    field(CALC_IMPS, 12, 500, 4, MOVE_BERGER);
    PairPercent(1) = 80.0f;
    PairTotal(1) = 0.00001f;
    CALCRATING(-1);
    expectChanges(1, 0.00001f, 0.00001f);
}

TEST_F(RatingTest, LookUpInTheRegister) {
    writeFile(PlayersFile, rec("Ana Jovic", 1200, 0) + rec(cp("Đuro Šarić"), 801, 0) +
                               rec("ana jovic", 5, 0));
    LOADPLAYERS();
    field(CALC_MATCHPOINTS, 2, -1);
    RatingMode = -1;
    SETFIELD(PlayerNames(1, 1).c, NameLength, "ANA JOVIC");
    SETFIELD(PlayerNames(1, 2).c, NameLength, cp("Đuro Šarić"));
    SETFIELD(PlayerNames(2, 1).c, NameLength, cp("đuro šarić")); // not the same letters
    ASSIGNPAIRRATING();
    EXPECT_EQ(PlayerRating(1, 1), 1200);
    EXPECT_EQ(PlayerRating(1, 2), 801);
    EXPECT_EQ(PlayerRating(2, 1), 0);
    EXPECT_EQ(PlayerRating(2, 2), 0);
    // 2001 / 4 = 500.25; the unregistered count as 0.
    EXPECT_EQ(TournamentStrength, 500);
    EXPECT_EQ(CapturedStatus[0], "Rating: 500");
    PlayerRating(2, 1) = 1;
    CALCRATING(0); // 500.5 rounds up; no change is computed
    EXPECT_EQ(TournamentStrength, 501);
}

TEST_F(RatingTest, MatchpointMastersGoToTheTopQuarter) {
    // 8 pairs rated 500: limit 2, A = 11, B = 0.78. Pair 3 wins with 62.5 %,
    // pair 5 second with 58 %: M = 20 x 11 x 0.78 x (P^2 / 10000 + 0.4) x 1.9.
    field(CALC_MATCHPOINTS, 8, 500);
    PairPercent(3) = 62.5f;
    PairPercent(5) = 58.0f;
    PairPercent(6) = 40.0f;
    for (int pass = 1; pass <= 3; ++pass) { // the same every time
        CALCRATING(1);
        EXPECT_NEAR(RatingChange(3, 1), 257.775375, 1e-3);
        EXPECT_NEAR(RatingChange(3, 2), 257.775375, 1e-3);
        EXPECT_NEAR(RatingChange(5, 1), 240.095856, 1e-3);
        for (int p : {1, 2, 4, 6, 7, 8})
            expectChanges(p, 0.0f, 0.0f);
    }
    EXPECT_EQ(PlacementOrder(1), 3);
    EXPECT_EQ(PlacementOrder(2), 5);
}

TEST_F(RatingTest, ImpMastersGoToTheTopQuarter) {
    // 8 pairs rated 0, 4 sets of 3 boards: each pair 12 boards, limit 2. With
    // diff 0, H = (P - 15) / 10, F = 0.75 log10(6) 12^0.8 + 1.15 = 5.410595 and
    // L = log10(12) / log10(20) = 0.829482.
    field(CALC_IMPS, 8, 0, 4);
    PairImpPerBoard(2) = 2.0f;
    PairPercent(2) = 20.0f; // 5.410595 x 0.5^L = 3.044711
    PairImpPerBoard(6) = 1.0f;
    PairPercent(6) = 17.0f; // 5.410595 x 0.2^L = 1.423842
    PairPercent(7) = 24.0f; // third: no award
    CALCRATING(1);
    EXPECT_NEAR(RatingChange(2, 1), 3.044711, 1e-4);
    EXPECT_NEAR(RatingChange(6, 2), 1.423842, 1e-4);
    expectChanges(7, 0.0f, 0.0f);

    // A winner far below the field counts as 5 below: G = 15 - 60/65, F = 1.15,
    // H = (G - 20) / (5 - G) = 0.652542, M = 1.15 x H^L = 0.807085.
    PlayerRating.fill(1000);
    PlayerRating(2, 1) = PlayerRating(2, 2) = 0;
    CALCRATING(1);
    EXPECT_NEAR(RatingChange(2, 1), 0.807085, 1e-4);
}

TEST_F(RatingTest, BergerMastersScoreEachMatchAndLeaveATrace) {
    field(CALC_IMPS, 4, 0, 2, MOVE_BERGER);
    MatchVP(1, 1, 1) = 20.0f; // pair 1: 3 boards, diff 0, H = 0.5
    MatchVP(1, 1, 2) = 10.0f;
    MatchVP(2, 1, 1) = 20.0f;
    CALCRATING(1);
    const double L = std::log10(3.0) / 1.30103;
    const double F = 0.75 * std::log10(6.0) * std::pow(3.0, 0.8) + 1.15;
    EXPECT_NEAR(RatingChange(1, 1), 2 * F * std::pow(0.5, L), 1e-4);
    expectChanges(2, 0.0f, 0.0f);
    const std::string trace = readFile(PROGRAMFILE("Masters.txt"));
    EXPECT_EQ(trace.rfind(" 1. Kolo ==============\r\n", 0), 0u);
    EXPECT_NE(trace.find(" 2. Kolo ==============\r\n"), std::string::npos);
    EXPECT_NE(trace.find("  1  20.0"), std::string::npos);
}

// The totals run the rating step when the tournament asks for it, and a file
// keeps its stored changes until something is recalculated.
TEST_F(RatingTest, TotalsRunTheRatingStep) {
    INSTALLCOMPUTE();
    INSTALLRATING();
    writeFile(PlayersFile, rec("Ana", 800, 0));
    LOADPLAYERS();
    DEFAULTHEADER();
    RatingMode = -1;
    ASSERT_TRUE(CREATETOURNAMENT());
    SETFIELD(PlayerNames(1, 1).c, NameLength, "ana");
    CALCALL();
    EXPECT_EQ(PlayerRating(1, 1), 800);
    EXPECT_EQ(TournamentStrength, 40);
    RatingChange(1, 1) = 42.0f;
    NeedsRecalc = true;
    CALCALL();
    EXPECT_EQ(RatingChange(1, 1), 42.0f);

    // A rating mode no version wrote is read as none.
    TournamentFile = (tempDir() / "t.otr").string();
    ASSERT_TRUE(WRITENTRFILE());
    std::string bytes = readFile(TournamentFile);
    const std::int32_t seven = 7;
    std::memcpy(&bytes[100], &seven, 4);
    writeFile(TournamentFile, bytes);
    ASSERT_TRUE(OPENNTRFILE(TournamentFile));
    EXPECT_EQ(RatingMode, 0);
}

} // namespace
