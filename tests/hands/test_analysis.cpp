// Double-dummy tables and par: deals published with the solver, whose tables and
// par were worked out by its authors, and deals whose every figure follows by hand.
// A wrong seat or suit in the mapping to the solver shows at once.
#include "hands/analysis.h"
#include "hands/handstest.h"

#include <algorithm>
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

// Published deals: the double-dummy solver's own examples and test hands, as they
// come in Debian's source package dds 2.9.0-9 (dds_2.9.0.orig.tar.gz):
//   examples/hands.cpp, arrays PBN, dealer, vul, DDtable, dealerScore and
//   dealerContract (its three example deals, the first three below);
//   hands/list10.txt, the PBN, TABLE and PAR2 lines of its 4th, 6th and 8th deal.
// Their tables list spades, hearts, diamonds, clubs, no trump, each for North,
// East, South, West; the rows below are the same figures turned into this
// program's order (the published TABLE line stands above each). The solver's
// vulnerability codes none 0, both 1, NS 2, EW 3 are zones 0, 3, 1, 2 here.
// The last two deals differ between East and West, so a seat swapped within a side
// shows too; the 4th has two par contracts.
TEST_F(HandsTest, TablesAndParOfPublishedDealsMatchExactly) {
#ifndef ORLA_WITH_DDS
    GTEST_SKIP() << "this build has no double-dummy solver";
#endif
    DDCLEARCACHE();
    struct Published {
        const char* name;
        const char* deal;
        int zone, dealer;
        int tricks[5][6];
        int par;
        const char* contracts;
        const char* text;
    };
    const Published cases[] = {
        // 5 8 5 8  6 6 6 6  5 7 5 7  7 5 7 5  6 6 6 6; North deals, none vulnerable.
        {"example 1", "N:QJ6.K652.J85.T98 873.J97.AT764.Q4 K5.T83.KQ9.A7652 AT942.AQ4.32.KJ3", 0, 0,
         {{}, {0, 7, 5, 6, 5, 6}, {0, 5, 7, 6, 8, 6}, {0, 5, 7, 6, 8, 6}, {0, 7, 5, 6, 5, 6}},
         -110, "2S-EW", "Par +110 EW: 2S-EW"},
        // 4 9 4 9  10 2 10 2  8 3 8 3  6 7 6 7  9 3 9 3; East deals, NS vulnerable.
        {"example 2", "E:QJT5432.T.6.QJ82 .J97543.K7532.94 87.A62.QJT4.AT75 AK96.KQ8.A98.K63", 1, 1,
         {{}, {0, 6, 8, 10, 4, 9}, {0, 7, 3, 2, 9, 3}, {0, 7, 3, 2, 9, 3}, {0, 6, 8, 10, 4, 9}},
         100, "4S*-EW-1", "Par +100 NS: 4S*-EW-1"},
        // 3 10 3 10  9 4 9 4  8 4 8 4  3 9 3 9  4 8 4 8; North deals, none vulnerable.
        {"example 3", "N:73.QJT.AQ54.T752 QT6.876.KJ9.AQ84 5.A95432.7632.K6 AKJ9842.K.T8.J93", 0, 0,
         {{}, {0, 3, 8, 9, 3, 4}, {0, 9, 4, 4, 10, 8}, {0, 9, 4, 4, 10, 8}, {0, 3, 8, 9, 3, 4}},
         -300, "5H*-NS-2", "Par +300 EW: 5H*-NS-2"},
        // 8 5 8 5  7 6 7 6  7 5 7 5  5 8 5 8  6 7 6 7; East deals, NS vulnerable.
        {"list10 deal 4", "E:K75.T654.J43.J43 AT3.KQ92.Q982.Q2 Q9.AJ3.T65.AK975 J8642.87.AK7.T86", 1, 1,
         {{}, {0, 5, 7, 7, 8, 6}, {0, 8, 5, 6, 5, 7}, {0, 8, 5, 6, 5, 7}, {0, 5, 7, 7, 8, 6}},
         100, "3C*-EW-1, 2N*-EW-1", "Par +100 NS: 3C*-EW-1, 2N*-EW-1"},
        // 8 4 8 5  2 10 2 11  7 6 7 6  2 10 2 11  2 10 2 11; West deals, both vulnerable.
        {"list10 deal 6", "W:AK8.A83.KT.KQJ98 QJT96543.4.AJ.A5 .KQJ976.742.7642 72.T52.Q98653.T3", 3, 3,
         {{}, {0, 2, 7, 2, 8, 2}, {0, 11, 6, 11, 5, 11}, {0, 10, 6, 10, 4, 10}, {0, 2, 7, 2, 8, 2}},
         -660, "4N-W+1", "Par +660 EW: 4N-W+1"},
        // 6 7 6 6  8 5 8 5  8 4 8 4  10 3 10 3  7 4 7 4; East deals, EW vulnerable.
        {"list10 deal 8", "E:A87.9752.AQ63.87 KJ4.T8.KJT54.KQ2 QT532.AQ4.87.JT9 96.KJ63.92.A6543", 2, 1,
         {{}, {0, 10, 8, 8, 6, 7}, {0, 3, 4, 5, 6, 4}, {0, 3, 4, 5, 7, 4}, {0, 10, 8, 8, 6, 7}},
         130, "2C-NS+2", "Par +130 NS: 2C-NS+2"},
    };
    std::vector<DdJob> jobs;
    for (const Published& c : cases) {
        DdJob job;
        job.cards = dealOf(c.deal);
        job.zone = c.zone;
        job.dealer = c.dealer;
        jobs.push_back(job);
    }
    std::string error;
    ASSERT_TRUE(ANALYSEDEALS(jobs, nullptr, error)) << error;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Published& c = cases[i];
        const DoubleDummy& dd = jobs[i].result;
        ASSERT_TRUE(dd.valid) << c.name;
        for (int h = 1; h <= 4; ++h)
            for (int s = 1; s <= 5; ++s)
                EXPECT_EQ(dd.tricks[h][s], c.tricks[h][s])
                    << c.name << ": hand " << h << " strain " << StrainLetters[s];
        EXPECT_EQ(dd.parScore, c.par) << c.name;
        EXPECT_EQ(dd.parContracts, c.contracts) << c.name;
        EXPECT_EQ(PARTEXT(dd), c.text) << c.name;
    }
}

// Each player holds one whole suit. The hand holding trumps (or its partner, by
// ruffing the opening lead) wins all 13 tricks; in no trump the opening leader runs
// his suit and declarer takes none. Par is the grand slam in the highest suit a side
// holds: the other side can outbid it only in 7NT doubled, 13 down, which costs more.
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

// Deal i of a family that solves at once, more deals than one call of the solver
// takes: each hand holds a whole suit, the suits given to the hands in one of their
// 24 orders, but for the club and the diamond of rank i / 24 + 1, which change hands.
Deal nearlyWholeSuits(int i) {
    int order[4] = {1, 2, 3, 4};
    for (int k = 0; k < i % 24; ++k) std::next_permutation(order, order + 4);
    Deal d{};
    for (int k = 1; k <= 52; ++k) d[k - 1] = static_cast<std::int8_t>(order[SUITOFCARD(k) - 1]);
    const int r = i / 24 + 1;
    std::swap(d[CARDNUMBER(1, r) - 1], d[CARDNUMBER(2, r) - 1]);
    return d;
}

TEST_F(HandsTest, AnalysisStopsWhenAskedAndKeepsWhatIsDone) {
#ifndef ORLA_WITH_DDS
    GTEST_SKIP() << "this build has no double-dummy solver";
#endif
    DDCLEARCACHE();
    open(12);
    const DdJob board6 = DDJOBOFBOARD(6);
    EXPECT_EQ(board6.dealer, 1);
    EXPECT_EQ(board6.zone, 2); // board 6: EW vulnerable
    std::vector<DdJob> jobs;
    for (int i = 0; i < 48; ++i) {
        DdJob job;
        job.cards = nearlyWholeSuits(i);
        job.zone = i % 4;
        job.dealer = i % 4;
        jobs.push_back(job);
    }
    std::string error;
    int calls = 0;
    ASSERT_TRUE(ANALYSEDEALS(jobs, [&](int done, int) { return ++calls < 2 && done >= 0; }, error));
    int solved = 0;
    for (const DdJob& j : jobs) solved += j.result.valid;
    EXPECT_GT(solved, 0);
    EXPECT_LT(solved, 48);
    // A second run solves only the rest, and the cached ones come back the same.
    std::vector<DoubleDummy> first;
    for (const DdJob& j : jobs) first.push_back(j.result);
    std::vector<std::pair<int, int>> steps;
    ASSERT_TRUE(ANALYSEDEALS(jobs, [&](int done, int total) {
        steps.emplace_back(done, total);
        return true;
    }, error)) << error;
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), std::make_pair(0, 48 - solved));
    EXPECT_EQ(steps.back(), std::make_pair(48 - solved, 48 - solved));
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        ASSERT_TRUE(jobs[i].result.valid) << i;
        if (!first[i].valid) continue;
        EXPECT_EQ(jobs[i].result.parContracts, first[i].parContracts) << i;
        EXPECT_EQ(std::memcmp(jobs[i].result.tricks, first[i].tricks, sizeof first[i].tricks), 0) << i;
    }
}

// The solver's library is loaded when the first deal is analysed. One that cannot
// be loaded, or that lacks a routine, is said by name and leaves every result
// invalid; once the right one is named, the same jobs are analysed.
TEST_F(HandsTest, ASolverLibraryThatCannotBeLoadedIsSaidAndTheRightOneLoadsLater) {
#ifndef ORLA_WITH_DDS
    GTEST_SKIP() << "this build has no double-dummy solver";
#endif
    DDCLEARCACHE();
    std::vector<DdJob> jobs(2);
    jobs[0].cards = nearlyWholeSuits(0);
    jobs[1].cards = nearlyWholeSuits(30);
    struct Row {
        const char* library;
        const char* said;
    };
    const Row rows[] = {
        {"libdds-not-there.so.0",
         "Double-dummy analysis is not available: the solver library libdds-not-there.so.0 "
         "could not be loaded (libdds-not-there.so.0: cannot open shared object file"},
        {"libm.so.6", "Double-dummy analysis is not available: the solver library libm.so.6 "
                      "has no routine SetMaxThreads."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.library);
        DDSOLVERLIBRARY(r.library);
        std::string error;
        int calls = 0;
        EXPECT_FALSE(ANALYSEDEALS(jobs, [&](int, int) { return ++calls > 0; }, error));
        EXPECT_EQ(error.rfind(r.said, 0), 0u) << error;
        EXPECT_EQ(calls, 0);
        for (const DdJob& j : jobs) EXPECT_FALSE(j.result.valid);
    }
    DDSOLVERLIBRARY("");
    std::string error;
    ASSERT_TRUE(ANALYSEDEALS(jobs, nullptr, error)) << error;
    for (const DdJob& j : jobs) EXPECT_TRUE(j.result.valid);
    EXPECT_EQ(jobs[0].result.tricks[4][4], 13); // South holds every spade
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
