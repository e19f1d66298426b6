// The status figures: rating strength, boards played by the first and the last
// pair, and the matchpoint top.
#include "core/status.h"
#include "core/tournament.h"
#include "support/testsupport.h"

#include <utility>
#include <vector>

namespace {

class StatusTest : public OrlaTest {};

using Entry = std::pair<int, int>; // NS, EW
using Sets = std::vector<std::vector<Entry>>;

// Allocates Movement and SetEntries for `sets` and `rounds` and lists the
// given entries; the rest of the header as for a matchpoint tournament.
void listMovement(int pairs, int rounds, int perRound, const Sets& sets) {
    NumPairs = pairs;
    NumRounds = rounds;
    BoardsPerRound = perRound;
    NumBoardSets = static_cast<int>(sets.size());
    ASSERT_TRUE(Movement.allocate(NumBoardSets, NumRounds, 2));
    ASSERT_TRUE(SetEntries.allocate(NumBoardSets));
    for (int s = 1; s <= NumBoardSets; ++s) {
        const auto& list = sets[static_cast<std::size_t>(s - 1)];
        SetEntries(s) = static_cast<int>(list.size());
        for (int i = 1; i <= SetEntries(s); ++i) {
            Movement(s, i, 1) = list[static_cast<std::size_t>(i - 1)].first;
            Movement(s, i, 2) = list[static_cast<std::size_t>(i - 1)].second;
        }
    }
}

// A 10-pair Mitchell of five board sets, and a 9-pair movement in which pair 9
// sits out once.
const Sets Mitchell10 = {
    {{1, 6}, {5, 9}, {4, 7}, {3, 10}, {2, 8}}, {{2, 7}, {1, 10}, {5, 8}, {4, 6}, {3, 9}},
    {{3, 8}, {2, 6}, {1, 9}, {5, 7}, {4, 10}}, {{4, 9}, {3, 7}, {2, 10}, {1, 8}, {5, 6}},
    {{5, 10}, {4, 8}, {3, 6}, {2, 9}, {1, 7}},
};
const Sets Mitchell9 = {
    {{1, 5}, {4, 6}, {3, 9}, {2, 7}}, {{2, 6}, {1, 7}, {4, 9}, {3, 5}},
    {{3, 7}, {2, 8}, {1, 9}, {4, 6}}, {{4, 8}, {3, 9}, {2, 5}, {1, 7}},
    {{4, 7}, {3, 5}, {2, 8}, {1, 6}},
};

TEST_F(StatusTest, BoardsAndTopOfTheFirstAndTheLastPair) {
    struct Row {
        const char* what;
        int pairs;
        const Sets* sets;
        int calc;
        const char* boards;
        const char* top;
    };
    const Row rows[] = {
        {"10 pairs", 10, &Mitchell10, CALC_MATCHPOINTS, "Boards:  15/ 15", "Top:  120/ 120"},
        {"9 pairs, EW pair 9 sits out", 9, &Mitchell9, CALC_MATCHPOINTS, "Boards:  15/ 12",
         "Top:   90/  72"},
        {"IMPs", 10, &Mitchell10, CALC_IMPS, "Boards:  15/ 15", ""},
        {"Calcutta", 10, &Mitchell10, CALC_CALCUTTA, "Boards:  15/ 15", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        RESETTOURNAMENTSTATE();
        INSTALLTESTHOOKS();
        CapturedStatus = {"before", "before", "before"};
        listMovement(r.pairs, 5, 3, *r.sets);
        CalcType = r.calc;
        STATUSPARAMETERS();
        EXPECT_EQ(CapturedStatus[0], "before"); // rating off: part 0 keeps its text
        EXPECT_EQ(CapturedStatus[1], r.boards);
        EXPECT_EQ(CapturedStatus[2], r.top);
    }
}

TEST_F(StatusTest, RatingStrengthOnlyWithRatingOrMasters) {
    listMovement(10, 5, 3, Mitchell10);
    TournamentStrength = 87;
    for (int mode : {-1, 1}) {
        CapturedStatus[0] = "";
        RatingMode = mode;
        STATUSPARAMETERS();
        EXPECT_EQ(CapturedStatus[0], "Rating:  87");
    }
    TournamentStrength = 1234; // wider than its three characters: shown whole
    STATUSPARAMETERS();
    EXPECT_EQ(CapturedStatus[0], "Rating: 1234");
}

TEST_F(StatusTest, EachSetCountsOnlyItsListedEntries) {
    // Set 2 lists more entries than set 1, and set 3 has a leftover entry past its
    // count: pair 1 plays three times, pair 6 once.
    listMovement(6, 4, 2, {{{1, 4}}, {{2, 5}, {3, 4}, {1, 6}}, {{1, 5}}});
    Movement(3, 2, 1) = 1;
    Movement(3, 2, 2) = 6;
    STATUSPARAMETERS();
    EXPECT_EQ(CapturedStatus[1], "Boards:   6/  2");
    EXPECT_EQ(CapturedStatus[2], "Top:    0/   0"); // one entry in set 1: top 0
}

TEST_F(StatusTest, DamagedOrMissingArraysAreNeverReadOutside) {
    // No arrays at all.
    NumBoardSets = 5;
    STATUSPARAMETERS();
    EXPECT_EQ(CapturedStatus[1], "Boards:   0/  0");
    EXPECT_EQ(CapturedStatus[2], "Top:    0/   0");

    // Counts and header larger than the arrays, and a nonsense pair count.
    listMovement(10, 5, 3, Mitchell10);
    SetEntries(2) = 99;
    SetEntries(3) = -4;
    NumBoardSets = 40;
    STATUSPARAMETERS();
    EXPECT_EQ(CapturedStatus[1], "Boards:  12/ 12");
    NumPairs = 0;
    STATUSPARAMETERS();
    EXPECT_EQ(CapturedStatus[1], "Boards:  12/  0");

    // Figures beyond any int still give defined texts.
    listMovement(10, 5, 2000000000, Mitchell10);
    SetEntries(1) = 2000000000;
    STATUSPARAMETERS();
    EXPECT_EQ(CapturedStatus[1], "Boards: 2147483647/2147483647");
    EXPECT_EQ(CapturedStatus[2], "Top: 2147483647/2147483647");
}

TEST_F(StatusTest, FiguresWiderThanTheirFieldAreShownWholeAndAnEmptySetHasNoTop) {
    // A 100-pair Mitchell: 50 rounds of 3 boards, 50 pairs on each set, top 98.
    Sets sets(50);
    for (int s = 0; s < 50; ++s)
        for (int t = 0; t < 50; ++t)
            sets[static_cast<std::size_t>(s)].push_back({t + 1, 51 + (t + s) % 50});
    listMovement(100, 50, 3, sets);
    STATUSPARAMETERS();
    EXPECT_EQ(CapturedStatus[1], "Boards: 150/150");
    EXPECT_EQ(CapturedStatus[2], "Top: 14700/14700");

    // A custom movement whose first board set nobody plays: no comparisons, top 0.
    listMovement(6, 4, 2, {{}, {{1, 4}, {2, 5}, {3, 6}}, {{1, 5}, {6, 2}}});
    STATUSPARAMETERS();
    EXPECT_EQ(CapturedStatus[1], "Boards:   4/  4");
    EXPECT_EQ(CapturedStatus[2], "Top:    0/   0");
}

} // namespace
