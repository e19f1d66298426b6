// The tournament state: the header's file layout, the arrays' shape and order,
// what opening and closing a tournament leaves behind, and the result encoding.
#include "core/results.h"
#include "core/tournament.h"
#include "support/testsupport.h"

#include <cstddef>
#include <cstring>

namespace {

class StateTest : public OrlaTest {};

bool menusOpen = false;
bool menusHands = true;

void setSize(int pairs, int boards, int rounds, int perRound) {
    NumPairs = pairs;
    NumBoards = boards;
    NumRounds = rounds;
    BoardsPerRound = perRound;
    NumBoardSets = NumBoards / BoardsPerRound;
}

TEST_F(StateTest, HeaderFieldsSitWhereTheFileExpectsThem) {
    struct Row {
        std::size_t offset, expected;
    };
    const Row rows[] = {
        {offsetof(TournamentHeader, TournamentName), 0},
        {offsetof(TournamentHeader, CalcType), 64},
        {offsetof(TournamentHeader, MovementType), 68},
        {offsetof(TournamentHeader, NumPairs), 72},
        {offsetof(TournamentHeader, NumBoards), 76},
        {offsetof(TournamentHeader, NumRounds), 80},
        {offsetof(TournamentHeader, BoardsPerRound), 84},
        {offsetof(TournamentHeader, SkipOn), 88},
        {offsetof(TournamentHeader, SkipBoards), 92},
        {offsetof(TournamentHeader, RatingMode), 96},
        {offsetof(TournamentHeader, HighRated), 100},
        {offsetof(TournamentHeader, OrderAsPlayed), 104},
        {offsetof(TournamentHeader, UseNeuberg), 108},
        {offsetof(TournamentHeader, HasHands), 112},
        {offsetof(TournamentHeader, SkipAfterRound), 116},
        {offsetof(TournamentHeader, Reserved), 118},
    };
    for (const Row& r : rows) EXPECT_EQ(r.offset, r.expected);
    // The named fields are the header's own storage.
    NumPairs = 14;
    EXPECT_EQ(Header.NumPairs, 14);
}

TEST_F(StateTest, LogicalsAreTestedByTheLowestBitOnly) {
    EXPECT_TRUE(ISTRUE(-1));
    EXPECT_TRUE(ISTRUE(1));
    EXPECT_TRUE(ISTRUE(3));
    EXPECT_FALSE(ISTRUE(0));
    EXPECT_FALSE(ISTRUE(2));
    EXPECT_FALSE(ISTRUE(-2));
    EXPECT_EQ(TOLOGICAL(true), -1);
    EXPECT_EQ(TOLOGICAL(false), 0);
}

TEST_F(StateTest, ArraysAreOneBasedAndColumnMajor) {
    Array<int, 3> a;
    ASSERT_TRUE(a.allocate(4, 3, 2));
    int n = 0;
    for (int k = 1; k <= 2; ++k)
        for (int j = 1; j <= 3; ++j)
            for (int i = 1; i <= 4; ++i) a(i, j, k) = n++;
    for (int x = 0; x < 24; ++x) EXPECT_EQ(a.data()[x], x);
    EXPECT_FALSE(a.contains(0, 1, 1));
    EXPECT_FALSE(a.contains(5, 1, 1));
    EXPECT_TRUE(a.contains(4, 3, 2));

    Array<float, 1> bad;
    EXPECT_FALSE(bad.allocate(0));
    EXPECT_FALSE(bad.allocate(-3));
    EXPECT_FALSE(bad.allocated());
}

TEST_F(StateTest, BoardSetsCountWholeSetsOnly) {
    setSize(10, 26, 5, 3);
    EXPECT_EQ(NumBoardSets, 8);
}

TEST_F(StateTest, OpeningFillsEveryArrayWithItsStartValue) {
    setSize(10, 15, 5, 3);
    Ui.tournamentMenus = [](bool open, bool h) {
        menusOpen = open;
        menusHands = h;
    };
    ASSERT_TRUE(INITTOURNAMENT());
    EXPECT_TRUE(TournamentOpen);
    EXPECT_TRUE(menusOpen);
    EXPECT_FALSE(menusHands);
    EXPECT_EQ(Results.extent(1), 15);
    EXPECT_EQ(Results.extent(2), 5);
    EXPECT_EQ(MatchPoints.extent(1), 5);
    EXPECT_EQ(HandCards.extent(1), 52);
    EXPECT_EQ(HandCards.extent(2), 15);
    EXPECT_EQ(PlayerRating(10, 2), -1);
    EXPECT_EQ(std::string(PlayerNames(3, 1).c, NameLength), std::string(NameLength, ' '));
    EXPECT_EQ(BoardValid(15), LTRUE);
    EXPECT_EQ(Results(15, 5), 0.0f);
    EXPECT_EQ(Movement(5, 5, 2), 0);
    EXPECT_EQ(PlacementOrder.size(), 10u);
    EXPECT_EQ(PlacementOrder(10), 10);

    CLOSETOURNAMENT();
    EXPECT_FALSE(TournamentOpen);
    EXPECT_FALSE(menusOpen);
    EXPECT_FALSE(Results.allocated());
    EXPECT_FALSE(Movement.allocated());
    EXPECT_FALSE(SetEntries.allocated());
    EXPECT_EQ(CapturedRedraws, 1);
}

TEST_F(StateTest, PlacementOrderGrowsWithThePairs) {
    setSize(150, 75, 25, 3);
    ASSERT_TRUE(INITTOURNAMENT());
    EXPECT_EQ(PlacementOrder(150), 150);
}

TEST_F(StateTest, CustomMovementSurvivesOpeningAStandardOneDoesNot) {
    setSize(6, 10, 5, 2);
    MovementType = MOVE_CUSTOM;
    ASSERT_TRUE(Movement.allocate(NumBoardSets, NumRounds, 2));
    ASSERT_TRUE(SetEntries.allocate(NumBoardSets));
    Movement(2, 3, 1) = 4;
    SetEntries(2) = 3;
    ASSERT_TRUE(INITTOURNAMENT());
    EXPECT_EQ(Movement(2, 3, 1), 4);
    EXPECT_EQ(SetEntries(2), 3);
    CLOSETOURNAMENT();

    MovementType = MOVE_MITCHELL;
    ASSERT_TRUE(Movement.allocate(NumBoardSets, NumRounds, 2));
    ASSERT_TRUE(SetEntries.allocate(NumBoardSets));
    Movement(2, 3, 1) = 4;
    ASSERT_TRUE(INITTOURNAMENT());
    EXPECT_EQ(Movement(2, 3, 1), 0);
}

TEST_F(StateTest, ATournamentThatCannotBeHeldIsRefusedWithAMessage) {
    const std::string noMemory = "There is not enough memory";
    const std::string empty = "A tournament needs at least one pair";
    const struct {
        int pairs, boards, rounds, perRound;
        const std::string& says;
    } rows[] = {
        {2000000000, 2000000000, 2000000000, 1, noMemory},
        {0, 15, 5, 3, empty},
        {10, 15, 0, 3, empty},
        {10, 2, 5, 3, empty}, // fewer boards than one round plays: no board set
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.pairs) + " pairs, " + std::to_string(r.boards) + " boards, " +
                     std::to_string(r.rounds) + " rounds");
        CapturedMessages.clear();
        setSize(r.pairs, r.boards, r.rounds, r.perRound);
        EXPECT_FALSE(INITTOURNAMENT());
        EXPECT_FALSE(TournamentOpen);
        EXPECT_FALSE(Results.allocated() || PairTotal.allocated() || Movement.allocated());
        ASSERT_EQ(CapturedMessages.size(), 1u);
        EXPECT_EQ(CapturedMessages[0].caption, "Error");
        EXPECT_EQ(CapturedMessages[0].text.rfind(r.says, 0), 0u) << CapturedMessages[0].text;
    }
}

TEST_F(StateTest, StrengthIsTheRoundedMeanOfAllPlayers) {
    setSize(2, 2, 1, 1);
    ASSERT_TRUE(INITTOURNAMENT());
    PlayerRating(1, 1) = 100;
    PlayerRating(2, 1) = 101;
    PlayerRating(1, 2) = 100;
    PlayerRating(2, 2) = 101; // 402 / 4 = 100.5 rounds up
    SETTOURNAMENTSTRENGTH();
    EXPECT_EQ(TournamentStrength, 101);
    PlayerRating(2, 2) = -1; // a player not found still counts: 300 / 4
    SETTOURNAMENTSTRENGTH();
    EXPECT_EQ(TournamentStrength, 75);
}

TEST_F(StateTest, ResultsEncodeAndDecodeInAllFourForms) {
    EXPECT_EQ(ENCODEORDINARY(42), 42.0f);
    EXPECT_EQ(ENCODEINVERTED(42), -958.0f);
    EXPECT_EQ(ENCODEADJUSTED(60, 40), 16040.0f);

    struct Row {
        float stored;
        ResultForm form;
        int score, a, b;
    };
    const Row rows[] = {
        {0.0f, RESULT_NONE, 0, 0, 0},
        {42.0f, RESULT_ORDINARY, 42, 0, 0},
        {-143.0f, RESULT_ORDINARY, -143, 0, 0},
        {-500.0f, RESULT_ORDINARY, -500, 0, 0},
        {-958.0f, RESULT_INVERTED, 42, 0, 0},
        {-1005.0f, RESULT_INVERTED, -5, 0, 0},
        {10604.0f, RESULT_ADJUSTED, 0, 6, 4},
        {16040.0f, RESULT_ADJUSTED, 0, 60, 40},
        {10297.0f, RESULT_ADJUSTED, 0, 3, -3},  // 3 IMPs to NS, -3 to EW
        {9697.0f, RESULT_ADJUSTED, 0, -3, -3},
        {10000.0f, RESULT_ADJUSTED, 0, 0, 0},
    };
    for (const Row& r : rows) {
        DecodedResult d = DECODERESULT(r.stored);
        EXPECT_EQ(d.form, r.form) << r.stored;
        EXPECT_EQ(d.score, r.score) << r.stored;
        EXPECT_EQ(d.adjustedNS, r.a) << r.stored;
        EXPECT_EQ(d.adjustedEW, r.b) << r.stored;
    }
}

TEST_F(StateTest, TypedResultFieldsAreReadWithinTheirLimits) {
    struct Row {
        std::string f1, f2;
        bool adjusted, mp, inverted;
        int refused;
        float stored;
    };
    const Row rows[] = {
        {" 42 ", "", false, false, false, 0, 42.0f},
        {"", "", false, true, false, 0, 0.0f},          // blank: no result
        {"-500", "", false, false, false, 0, -500.0f},
        {"999", "x", false, false, false, 0, 999.0f},   // the second field does not count
        {"1000", "", false, false, false, 1, 0},
        {"-501", "", false, false, false, 1, 0},
        {"4 2", "", false, false, false, 1, 0},
        {"-143", "", false, false, true, 0, -1143.0f},
        {"500", "", false, false, true, 1, 0},           // inverted only below 500
        {"6", "4", true, true, false, 0, 10604.0f},
        {"11", "4", true, true, false, 1, 0},
        {"6", "-1", true, true, false, 2, 0},
        {"-89", "-49", true, false, false, 0, 1051.0f},
        {"99", "50", true, false, false, 2, 0},
        {"-90", "0", true, false, false, 1, 0},
    };
    for (const Row& r : rows) {
        float v = 7.0f;
        EXPECT_EQ(READRESULTFIELDS(r.f1, r.f2, r.adjusted, r.mp, r.inverted, v), r.refused)
            << '"' << r.f1 << "\" \"" << r.f2 << '"';
        EXPECT_EQ(v, r.refused ? 7.0f : r.stored) << '"' << r.f1 << "\" \"" << r.f2 << '"';
    }
}

TEST_F(StateTest, FixedFieldsArePaddedAndTrimmed) {
    char f[8];
    SETFIELD(f, 8, "abc");
    EXPECT_EQ(std::string(f, 8), "abc     ");
    SETFIELD(f, 8, "abcdefghij");
    EXPECT_EQ(std::string(f, 8), "abcdefgh");
    EXPECT_EQ(FIELDTEXT("ab  cd  ", 8), "ab  cd");
    const char z[8] = {'x', 'y', '\0', 'q', ' ', ' ', ' ', ' '};
    EXPECT_EQ(FIELDTEXT(z, 8), "xy");
}

} // namespace
