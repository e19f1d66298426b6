// The score of a contract, against a reference worked out here from the scoring
// table's own wording, for every level, strain, doubling, vulnerability and count
// of tricks; and the agreement with the plausibility test of entered scores.
#include "scoring/contract.h"
#include "scoring/scoring.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// The scoring table as a player reads it off the card.
int reference(int level, int strain, int doubling, int tricks, bool vul) {
    const int need = level + 6;
    if (tricks < need) {
        const int down = need - tricks;
        int penalty;
        if (doubling == 0)
            penalty = down * (vul ? 100 : 50);
        else if (vul)
            penalty = 200 + 300 * (down - 1);
        else
            penalty = down == 1 ? 100 : down == 2 ? 300 : down == 3 ? 500 : 500 + 300 * (down - 3);
        if (doubling == 2) penalty *= 2;
        return -penalty;
    }
    const int first[5] = {20, 20, 30, 30, 40};
    const int later[5] = {20, 20, 30, 30, 30};
    const int multiplier[3] = {1, 2, 4};
    const int below = (first[strain] + (level - 1) * later[strain]) * multiplier[doubling];
    int score = below;
    if (below >= 100)
        score += vul ? 500 : 300;
    else
        score += 50;
    if (level == 6) score += vul ? 750 : 500;
    if (level == 7) score += vul ? 1500 : 1000;
    const int insult[3] = {0, 50, 100};
    score += insult[doubling];
    const int over = tricks - need;
    if (doubling == 0)
        score += over * later[strain];
    else
        score += over * (vul ? 200 : 100) * (doubling == 2 ? 2 : 1);
    return score;
}

TEST(ContractScoreTest, TheWholeTable) {
    // The reference itself on scores every player knows.
    EXPECT_EQ(reference(4, 3, 0, 10, false), 420);
    EXPECT_EQ(reference(3, 4, 0, 9, true), 600);
    EXPECT_EQ(reference(1, 4, 1, 8, false), 280);
    EXPECT_EQ(reference(7, 4, 2, 13, true), 2980);
    EXPECT_EQ(reference(3, 0, 1, 5, false), -800);
    EXPECT_EQ(reference(2, 2, 0, 8, false), 110);

    int cases = 0;
    std::set<int> made[2], down[2];
    for (int level = 1; level <= 7; ++level)
        for (int strain = 0; strain <= 4; ++strain)
            for (int doubling = 0; doubling <= 2; ++doubling)
                for (bool vul : {false, true})
                    for (int tricks = 0; tricks <= 13; ++tricks) {
                        const Contract c{level, strain, doubling};
                        const int points = CONTRACTPOINTS(c, tricks, vul);
                        ASSERT_EQ(points, reference(level, strain, doubling, tricks, vul))
                            << CONTRACTTEXT(c) << " " << tricks << " tricks"
                            << (vul ? " vulnerable" : "");
                        ASSERT_EQ(points % 10, 0);
                        (points > 0 ? made : down)[vul].insert(points > 0 ? points / 10
                                                                          : -points / 10);
                        ++cases;
                    }
    EXPECT_EQ(cases, 7 * 5 * 3 * 2 * 14);

    // Every score the contracts give is in the tables of possible scores, and
    // every score of those tables is given by some contract.
    for (bool vul : {false, true}) {
        const auto m = MADESCORES(vul);
        const auto u = UNDERTRICKSCORES(vul);
        EXPECT_EQ(made[vul], std::set<int>(m.begin(), m.end())) << vul;
        EXPECT_EQ(down[vul], std::set<int>(u.begin(), u.end())) << vul;
    }
}

// The NS score in tens on each board, from either side, is one ISRESULTPOSSIBLE
// accepts at the board's vulnerability; EW's scores are NS's negated.
TEST(ContractScoreTest, NsScoreByBoardAndDeclarer) {
    struct Row {
        const char* contract;
        char declarer;
        int tricks, board, nsScore;
    };
    const Row rows[] = {
        {"4S", 'N', 10, 1, 42},    // nobody vulnerable
        {"4S", 'E', 10, 1, -42},   {"4S", 'S', 10, 2, 62},  // NS vulnerable
        {"4S", 'W', 10, 2, -42},   {"3NX", 'E', 7, 3, 50},  // EW vulnerable, 2 down doubled
        {"3NX", 'N', 7, 3, -30},   {"6HXX", 'S', 13, 4, 247}, // both: 720+500+750+100+400
        {"PASS", 'N', 0, 5, 0},    {"7CXX", 'W', 0, 17, 700}, // board 17 is board 1 again
        {"1D", 'W', 13, 16, -19},
    };
    for (const Row& r : rows) {
        Contract c;
        ASSERT_TRUE(PARSECONTRACT(r.contract, c)) << r.contract;
        EXPECT_EQ(TABLESCORE(c, r.declarer, r.tricks, r.board), r.nsScore)
            << r.contract << " by " << r.declarer << " on board " << r.board;
    }
    for (int board = 1; board <= 16; ++board)
        for (char declarer : {'N', 'E', 'S', 'W'})
            for (int level = 1; level <= 7; ++level)
                for (int strain = 0; strain <= 4; ++strain)
                    for (int doubling = 0; doubling <= 2; ++doubling)
                        for (int tricks = 0; tricks <= 13; ++tricks) {
                            const Contract c{level, strain, doubling};
                            const int score = TABLESCORE(c, declarer, tricks, board);
                            ASSERT_TRUE(ISRESULTPOSSIBLE(score, GETBOARDZONE(board)))
                                << CONTRACTTEXT(c) << " by " << declarer << ", " << tricks
                                << " tricks, board " << board << ": " << score;
                        }
}

TEST(ContractScoreTest, ContractTexts) {
    struct Row {
        const char* text;
        bool good;
        int level = 0, strain = 0, doubling = 0;
        const char* back = "";
    };
    const Row rows[] = {
        {"PASS", true, 0, 0, 0, "PASS"}, {"1C", true, 1, 0, 0, "1C"},
        {"4SX", true, 4, 3, 1, "4SX"},   {"3N", true, 3, 4, 0, "3N"},
        {"7NTXX", true, 7, 4, 2, "7NXX"}, {"2DXX", true, 2, 1, 2, "2DXX"},
        {"", false},    {"0S", false},   {"8S", false},   {"4", false},   {"4SXXX", false},
        {"4s", false},  {"4 S", false},  {"4ST", false},  {"pass", false}, {"4NTT", false},
        {"4SY", false}, {"44S", false},
    };
    for (const Row& r : rows) {
        Contract c{9, 9, 9};
        EXPECT_EQ(PARSECONTRACT(r.text, c), r.good) << '"' << r.text << '"';
        if (!r.good) {
            EXPECT_EQ(c.level, 9) << "a refused text leaves the contract as it was";
            continue;
        }
        EXPECT_EQ(c.level, r.level) << r.text;
        EXPECT_EQ(c.strain, r.strain) << r.text;
        EXPECT_EQ(c.doubling, r.doubling) << r.text;
        EXPECT_EQ(CONTRACTTEXT(c), r.back);
    }
}

} // namespace
