// The scores the laws allow: contracts worked out by hand, every legal score
// enumerated independently, and scores no deal can produce.
#include "scoring/scoring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

bool listed(std::span<const int> table, int points) {
    return std::find(table.begin(), table.end(), points / 10) != table.end();
}

TEST(ScoreTables, HandScoredContractsAreListed) {
    const struct {
        const char* contract;
        bool vulnerable, made;
        int points;
    } rows[] = {
        {"4S=", false, true, 420},    {"3NT+1", true, true, 630},    {"1Cx=", false, true, 140},
        {"7NTxx=", true, true, 2980}, {"1NTxx=", false, true, 560},  {"2Cx+1", true, true, 380},
        {"6D=", false, true, 920},    {"7C+0", false, true, 1440},   {"1NT=", false, true, 90},
        {"6Dx-1", false, false, 100}, {"6Dx-1", true, false, 200},   {"4x-4", false, false, 800},
        {"4x-4", true, false, 1100},  {"7xx-13", true, false, 7600}, {"7-13", false, false, 650},
    };
    for (const auto& r : rows) {
        const auto table = r.made ? MADESCORES(r.vulnerable) : UNDERTRICKSCORES(r.vulnerable);
        EXPECT_TRUE(listed(table, r.points)) << r.contract << (r.vulnerable ? " V " : " NV ");
    }
}

// The laws' scoring table once more, row by row: trick values of the first and
// later tricks, bonuses by vulnerability, doubling as a shift.
int lawMade(int level, int strain, int doubled, int over, bool vul) {
    static const int first[5] = {20, 20, 30, 30, 40}, later[5] = {20, 20, 30, 30, 30};
    const int tricks = (first[strain] + (level - 1) * later[strain]) << doubled;
    static const int game[2] = {300, 500}, small[2] = {500, 750}, grand[2] = {1000, 1500};
    int score = tricks + (tricks >= 100 ? game[vul] : 50) + 50 * doubled;
    score += level == 6 ? small[vul] : level == 7 ? grand[vul] : 0;
    return score + over * (doubled == 0 ? later[strain] : (vul ? 200 : 100) << (doubled - 1));
}

int lawDown(int down, int doubled, bool vul) {
    if (doubled == 0) return down * (vul ? 100 : 50);
    const int once = vul ? 300 * down - 100 : (down <= 3 ? 200 * down - 100 : 300 * down - 400);
    return once << (doubled - 1);
}

TEST(ScoreTables, EveryScoreTheLawsAllowIsPossibleAndNothingElseIsListed) {
    for (bool vul : {false, true}) {
        std::set<int> made, down;
        for (int level = 1; level <= 7; ++level)
            for (int strain = 0; strain < 5; ++strain)
                for (int dbl = 0; dbl <= 2; ++dbl)
                    for (int over = 0; level + over <= 7; ++over)
                        made.insert(lawMade(level, strain, dbl, over, vul) / 10);
        for (int n = 1; n <= 13; ++n)
            for (int dbl = 0; dbl <= 2; ++dbl)
                down.insert(lawDown(n, dbl, vul) / 10);

        EXPECT_EQ(std::set<int>(MADESCORES(vul).begin(), MADESCORES(vul).end()), made);
        EXPECT_EQ(std::set<int>(UNDERTRICKSCORES(vul).begin(), UNDERTRICKSCORES(vul).end()), down);
        EXPECT_TRUE(std::is_sorted(MADESCORES(vul).begin(), MADESCORES(vul).end()));
        EXPECT_TRUE(std::is_sorted(UNDERTRICKSCORES(vul).begin(), UNDERTRICKSCORES(vul).end()));
        EXPECT_EQ(UNDERTRICKSCORES(vul).size(), vul ? 33u : 34u);
        EXPECT_EQ(MADESCORES(vul).size(), vul ? 147u : 117u);

        // zone 0 none, 1 NS, 2 EW, 3 both vulnerable.
        for (int zone = 0; zone <= 3; ++zone) {
            const bool nsVul = zone == 1 || zone == 3, ewVul = zone >= 2;
            for (int s : made) {
                EXPECT_TRUE(nsVul != vul || ISRESULTPOSSIBLE(s, zone)) << "NS made " << s;
                EXPECT_TRUE(ewVul != vul || ISRESULTPOSSIBLE(-s, zone)) << "EW made " << s;
            }
            for (int s : down) {
                EXPECT_TRUE(ewVul != vul || ISRESULTPOSSIBLE(s, zone)) << "EW down " << s;
                EXPECT_TRUE(nsVul != vul || ISRESULTPOSSIBLE(-s, zone)) << "NS down " << s;
            }
        }
    }
}

TEST(ScoreTables, ImpossibleScoresAreRefused) {
    for (int zone = 0; zone <= 3; ++zone) {
        const bool nsVul = zone == 1 || zone == 3, ewVul = zone >= 2;
        EXPECT_TRUE(ISRESULTPOSSIBLE(0, zone));
        for (int s : {6, -6, 1, -1, 3, 7000000, -2147483647})
            EXPECT_FALSE(ISRESULTPOSSIBLE(s, zone)) << s << " zone " << zone;
        // +440 is 1C or 1D doubled with three overtricks, not vulnerable only.
        EXPECT_EQ(ISRESULTPOSSIBLE(44, zone), !nsVul) << zone;
        EXPECT_EQ(ISRESULTPOSSIBLE(-44, zone), !ewVul) << zone;
        // +620 is a vulnerable game.
        EXPECT_EQ(ISRESULTPOSSIBLE(62, zone), nsVul) << zone;
    }
}

TEST(ScoreTables, FindItemFindsEveryEntryAndNothingBetween) {
    int table[9];
    for (int count = 0; count <= 9; ++count) {
        for (int k = 0; k < count; ++k)
            table[k] = 2 * k + (k >= 4 ? 0 : 2); // 2 4 6 8 8 10 ...
        for (int k = 0; k < count; ++k)
            EXPECT_TRUE(FINDITEM(table[k], table, count));
        for (int v = -1; v <= 20; v += 2)
            EXPECT_FALSE(FINDITEM(v, table, count)) << v;
        EXPECT_FALSE(count > 0 && FINDITEM(table[count - 1] + 2, table, count));
    }
    EXPECT_FALSE(FINDITEM(1, nullptr, 3));
}

} // namespace
