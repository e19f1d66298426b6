// Double-dummy tables and par of deals whose every figure follows by hand.
//
// The solver package of the system ships no example deals with their tables, so
// the deals here are ones whose double-dummy result is plain to any player and
// stands in the bridge literature as the textbook case: each player holds one
// whole suit. The hand holding trumps (or its partner, by ruffing the opening
// lead) wins all 13 tricks; in no trump the opening leader runs his suit and
// declarer takes none. Par is the grand slam in the highest suit a side holds:
// the other side can outbid it only in 7NT doubled, 13 down, which costs more.
// A wrong seat or suit in the mapping to the solver shows at once.
#include "hands/analysis.h"
#include "hands/handstest.h"

#include <cstring>

namespace {

// A deal from the PBN text of its hands.
Deal dealOf(const std::string& pbn) {
    std::vector<PbnDeal> deals;
    std::string error;
    EXPECT_TRUE(READPBNDEALS("[Board \"1\"]\n[Deal \"" + pbn + "\"]\n", deals, error)) << error;
    return deals.empty() ? Deal{} : deals[0].cards;
}

const std::string AllSuits[4] = {"AKQJT98765432...", ".AKQJT98765432..", "..AKQJT98765432.",
                                 "...AKQJT98765432"};

// Hands 1..4 are North, West, East, South; columns clubs, diamonds, hearts, spades, NT.
struct Case {
    const char* name;
    std::string deal;
    int zone, dealer;
    int tricks[5][6];
    int par;
    const char* contracts;
};

TEST_F(HandsTest, TricksAndParOfWholeSuitDealsMatchTheHandWorkedFigures) {
#ifndef ORLA_WITH_DDS
    GTEST_SKIP() << "this build has no double-dummy solver";
#endif
    DDCLEARCACHE();
    const Case cases[] = {
        // N spades, E hearts, S diamonds, W clubs; board 1: none vulnerable, North deals.
        {"NESW spades hearts diamonds clubs, none",
         "N:" + AllSuits[0] + " " + AllSuits[1] + " " + AllSuits[2] + " " + AllSuits[3], 0, 0,
         {{}, {0, 0, 13, 0, 13, 0}, {0, 13, 0, 13, 0, 0}, {0, 13, 0, 13, 0, 0}, {0, 0, 13, 0, 13, 0}},
         1510, "7S-NS"},
        // The same deal, both vulnerable, West deals (board 4).
        {"the same, both vulnerable",
         "N:" + AllSuits[0] + " " + AllSuits[1] + " " + AllSuits[2] + " " + AllSuits[3], 3, 3,
         {{}, {0, 0, 13, 0, 13, 0}, {0, 13, 0, 13, 0, 0}, {0, 13, 0, 13, 0, 0}, {0, 0, 13, 0, 13, 0}},
         2210, "7S-NS"},
        // N clubs, E spades, S hearts, W diamonds; board 2: NS vulnerable, East deals.
        {"NESW clubs spades hearts diamonds, NS vulnerable",
         "N:" + AllSuits[3] + " " + AllSuits[0] + " " + AllSuits[1] + " " + AllSuits[2], 1, 1,
         {{}, {0, 13, 0, 13, 0, 0}, {0, 0, 13, 0, 13, 0}, {0, 0, 13, 0, 13, 0}, {0, 13, 0, 13, 0, 0}},
         -1510, "7S-EW"},
    };
    std::vector<DdJob> jobs;
    for (const Case& c : cases) {
        DdJob job;
        job.cards = dealOf(c.deal);
        job.zone = c.zone;
        job.dealer = c.dealer;
        jobs.push_back(job);
    }
    jobs.push_back(DdJob{}); // an empty deal is not analysed
    std::vector<std::pair<int, int>> steps;
    std::string error;
    ASSERT_TRUE(ANALYSEDEALS(jobs, [&](int done, int total) {
        steps.emplace_back(done, total);
        return true;
    }, error)) << error;
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), std::make_pair(3, 3));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const DoubleDummy& dd = jobs[i].result;
        ASSERT_TRUE(dd.valid) << c.name;
        for (int h = 1; h <= 4; ++h)
            for (int s = 1; s <= 5; ++s)
                EXPECT_EQ(dd.tricks[h][s], c.tricks[h][s]) << c.name << ": hand " << h << " strain " << s;
        EXPECT_EQ(dd.parScore, c.par) << c.name;
        EXPECT_EQ(dd.parContracts, c.contracts) << c.name;
    }
    EXPECT_FALSE(jobs[3].result.valid);
    EXPECT_EQ(PARTEXT(jobs[0].result), "Par +1510 NS: 7S-NS");
    EXPECT_EQ(PARTEXT(jobs[2].result), "Par +1510 EW: 7S-EW");

    // Once solved, a deal comes from the cache: nothing left to do.
    steps.clear();
    ASSERT_TRUE(ANALYSEDEALS(jobs, [&](int done, int total) {
        steps.emplace_back(done, total);
        return true;
    }, error));
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{0, 0}}));
    EXPECT_EQ(jobs[2].result.parScore, -1510);
}

TEST_F(HandsTest, AnalysisStopsWhenAskedAndKeepsWhatIsDone) {
#ifndef ORLA_WITH_DDS
    GTEST_SKIP() << "this build has no double-dummy solver";
#endif
    DDCLEARCACHE();
    open(12);
    std::vector<DdJob> jobs;
    for (int b = 1; b <= 12; ++b) {
        deal(b, 77u + static_cast<unsigned>(b));
        jobs.push_back(DDJOBOFBOARD(b));
    }
    EXPECT_EQ(jobs[5].dealer, 1);
    EXPECT_EQ(jobs[5].zone, 2); // board 6: EW vulnerable
    std::string error;
    int calls = 0;
    ASSERT_TRUE(ANALYSEDEALS(jobs, [&](int done, int) { return ++calls < 2 && done >= 0; }, error));
    int solved = 0;
    for (const DdJob& j : jobs) solved += j.result.valid;
    EXPECT_GT(solved, 0);
    EXPECT_LT(solved, 12);
    // A second run solves only the rest, and the cached ones come back the same.
    const DoubleDummy first = jobs[0].result;
    int total = -1;
    ASSERT_TRUE(ANALYSEDEALS(jobs, [&](int, int t) { return (total = t) >= 0; }, error));
    EXPECT_EQ(total, 12 - solved);
    for (const DdJob& j : jobs) EXPECT_TRUE(j.result.valid);
    EXPECT_EQ(jobs[0].result.parContracts, first.parContracts);
    EXPECT_EQ(std::memcmp(jobs[0].result.tricks, first.tricks, sizeof first.tricks), 0);
}

#ifndef ORLA_WITH_DDS
TEST_F(HandsTest, WithoutTheSolverAnalysisFailsAndSaysSo) {
    open(4);
    std::vector<DdJob> jobs;
    for (int b = 1; b <= 4; ++b) {
        deal(b, 5u + static_cast<unsigned>(b));
        jobs.push_back(DDJOBOFBOARD(b));
    }
    std::string error;
    EXPECT_FALSE(ANALYSEDEALS(jobs, nullptr, error));
    EXPECT_EQ(error, "Double-dummy analysis is not available in this build.");
    for (const DdJob& j : jobs) EXPECT_FALSE(j.result.valid);
}
#endif

} // namespace
