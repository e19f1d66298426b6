// Matchpoints of one board: wins and ties, adjusted scores with and without
// Neuberg, entries played the wrong way round, boards nobody can be compared on.
#include "scoringtest.h"

namespace {

class Matchpoints : public OrlaTest {};

TEST_F(Matchpoints, WinsCountTwoAndTiesOneForTheSideThatSatThere) {
    openTournament(CALC_MATCHPOINTS, MOVE_CUSTOM, 8, 1, 4, 1);
    setEntries(1, {{1, 5}, {2, 6}, {3, 7}, {4, 8}});
    enterResults(1, {42, 42, 17, -5}); // +420 +420 +170 -50
    CALCULATEBOARD(1);
    expectPoints(1, {{5, 1}, {5, 1}, {2, 4}, {0, 6}});
    EXPECT_NEAR(BoardPercent(1, 1, 1), 0.833, 0.001);
    EXPECT_NEAR(BoardPercent(1, 1, 2), 0.167, 0.001);
    EXPECT_FLOAT_EQ(MatchPoints(1, 3, 2), 4);
    EXPECT_FLOAT_EQ(MatchVP(1, 3, 2), 4.0f / 6);

    // The second +420 was scored by pair 6 sitting NS.
    enterResults(1, {42, ENCODEINVERTED(42), 17, -5});
    CALCULATEBOARD(1);
    expectPoints(1, {{5, 1}, {1, 5}, {2, 4}, {0, 6}});
}

TEST_F(Matchpoints, AnAdjustedEntryKeepsItsShareOfTheTopWithAndWithoutNeuberg) {
    openTournament(CALC_MATCHPOINTS, MOVE_CUSTOM, 10, 1, 5, 1);
    setEntries(1, {{1, 6}, {2, 7}, {3, 8}, {4, 9}, {5, 10}});
    enterResults(1, {42, 42, 17, -5, ENCODEADJUSTED(6, 4)});
    // Without Neuberg the adjusted entry is a tie for everybody else.
    CALCULATEBOARD(1);
    expectPoints(1, {{6, 2}, {6, 2}, {3, 5}, {1, 7}, {4.8f, 3.2f}});
    // With it the others are compared among themselves and scaled from 4 to 5
    // entries: (p + 1) * 5 / 4 - 1.
    UseNeuberg = LTRUE;
    CALCULATEBOARD(1);
    expectPoints(1, {{6.5f, 1.5f}, {6.5f, 1.5f}, {2.75f, 5.25f}, {0.25f, 7.75f}, {4.8f, 3.2f}});
    EXPECT_FLOAT_EQ(BoardPercent(1, 5, 1), 0.6f);
}

TEST_F(Matchpoints, FaultyAndSingleEntryBoardsGiveNoPointsAndNoNan) {
    openTournament(CALC_MATCHPOINTS, MOVE_CUSTOM, 10, 2, 4, 1);
    setEntries(1, {{1, 6}, {2, 7}, {3, 8}});
    setEntries(2, {{4, 9}});
    enterResults(1, {42, 17, ENCODEADJUSTED(7, 3)});
    enterResults(2, {ENCODEADJUSTED(7, 3)});
    BoardValid(1) = LFALSE;
    CALCULATEBOARD(1);
    CALCULATEBOARD(2);
    expectPoints(1, {{0, 0}, {0, 0}, {0, 0}});
    EXPECT_FLOAT_EQ(BoardPercent(1, 1, 1), 0);
    EXPECT_FLOAT_EQ(Results(1, 1), 42); // the results stay
    // Played once, the board is an average for both sides.
    expectPoints(2, {{0, 0}});
    EXPECT_FLOAT_EQ(BoardPercent(2, 1, 1), 0.5f);
    EXPECT_FLOAT_EQ(BoardPercent(2, 1, 2), 0.5f);
}

} // namespace
