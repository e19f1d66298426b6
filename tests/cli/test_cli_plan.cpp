// orla-cli movement --plan: the seating plan of a standard movement and of a
// movement file, as JSON.
#include "cli/clitest.h"

#include <nlohmann/json.hpp>

#include <string>

namespace {

using CliPlanTest = CliTest;

TEST_F(CliPlanTest, PrintsTheSeatingPlan) {
    // 10 pairs Mitchell, 2 boards a round: set 1 is 1-6 5-9 4-7 3-10 2-8 as played.
    const Run r = run("movement --type mitchell --pairs 10 --boards-per-round 2 --plan");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["tables"], 5);
    EXPECT_EQ(j["rounds"], 5);
    ASSERT_EQ(j["plan"].size(), 25u);
    EXPECT_EQ(j["plan"][0], nlohmann::json::parse(
                                R"({"round":1,"table":1,"set":1,"entry":1,"boards":[1,2],"ns":1,"ew":6})"));
    // Round 2, table 5: set 1 (boards 1-2) with pair 9.
    EXPECT_EQ(j["plan"][9], nlohmann::json::parse(
                                R"({"round":2,"table":5,"set":1,"entry":2,"boards":[1,2],"ns":5,"ew":9})"));

    // A movement file: its tables are the NS pairs of the first round.
    ASSERT_EQ(run("movement --type mitchell --pairs 10 --boards-per-round 2 --export-ocm " +
                  path("m10.ocm")).code,
              0);
    const Run c = run("movement --import-ocm " + path("m10.ocm") + " --plan");
    ASSERT_EQ(c.code, 0) << c.err;
    const auto k = nlohmann::json::parse(c.out);
    EXPECT_EQ(k["tables"], 5);
    EXPECT_EQ(k["plan"][9]["ns"], 5);
    EXPECT_EQ(k["plan"][9]["ew"], 9);
    EXPECT_EQ(k["plan"][9]["table"], 5);
}

TEST_F(CliPlanTest, AMovementFileWithoutTablesIsRefused) {
    // A Howell lists a pair NS on two sets of one entry: no fixed tables.
    ASSERT_EQ(run("movement --type howell --pairs 8 --boards-per-round 2 --export-ocm " +
                  path("h8.ocm")).code,
              0);
    const Run c = run("movement --import-ocm " + path("h8.ocm") + " --plan");
    EXPECT_EQ(c.code, 1);
    EXPECT_NE(c.err.find("table 1: Pair 8 sits NS on board sets 1 and 2 in round 1"), std::string::npos) << c.err;
}

} // namespace
