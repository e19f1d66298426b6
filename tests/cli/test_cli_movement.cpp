// orla-cli movement, run as the user runs it: its JSON and its exit codes.
#include "cli/clitest.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>

namespace {

using CliMovementTest = CliTest;

TEST_F(CliMovementTest, PrintsTheMovementAsJson) {
    const Run r = run("movement --type mitchell --pairs 9 --boards-per-round 3");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["NumTables"], 4);
    EXPECT_EQ(j["NumBoardSets"], 5); // 5 rounds of 3 boards by default
    EXPECT_EQ(j["SetEntries"], nlohmann::json({4, 4, 4, 4, 4}));
    EXPECT_EQ(j["Movement"][0], nlohmann::json::parse("[[1,5],[4,6],[3,9],[2,7]]"));
    EXPECT_EQ(j["Movement"][4], nlohmann::json::parse("[[4,7],[3,5],[2,8],[1,6]]"));
    EXPECT_EQ(j["status"], nlohmann::json({"", "Boards:  15/ 12", "Top:   90/  72"}));

    // A Berger's rounds set its boards; only the listed entries are printed.
    const Run b = run("movement --type berger --pairs 6 --boards-per-round 2 --rounds 2");
    ASSERT_EQ(b.code, 0) << b.err;
    const auto k = nlohmann::json::parse(b.out);
    EXPECT_EQ(k["NumBoardSets"], 2);
    EXPECT_EQ(k["Movement"], nlohmann::json::parse("[[[1,6],[2,5]],[[1,2],[5,3]]]"));
}

TEST_F(CliMovementTest, BadOptionsAndImpossibleSizesExitWithTwo) {
    const char* const bad[] = {
        "movement --type mitchell --pairs 1 --boards-per-round 3",
        "movement --type mitchell --pairs 10 --boards-per-round 0",
        "movement --type howell --pairs 4 --boards-per-round 2",
        "movement --type howell --pairs 15 --boards-per-round 2",
        "movement --type berger --pairs 8 --boards-per-round 2 --rounds 0",
        "movement --type mitchell --pairs 10 --boards-per-round 3 --boards 2",
        "movement --type swiss --pairs 10 --boards-per-round 3",
        "movement --type mitchell --pairs ten --boards-per-round 3",
        "movement --type mitchell --boards-per-round 3",
        "movement --type mitchell --pairs 10 --boards-per-round 3 --skip diagonal --skip-after 2",
        "movement --type mitchell --pairs 10 --boards-per-round 3 --frobnicate",
    };
    for (const char* args : bad) {
        const Run r = run(args);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    }
}

TEST_F(CliMovementTest, CountsAreDecimalAndTheBoardsAreTheMovements) {
    struct Row {
        std::string args;
        int code;
        int tables, sets; // when accepted
        std::string err;  // when refused: the whole message
    };
    const std::string m = "movement --type ";
    const Row rows[] = {
        // Leading zeros are no octal, and 0x is no hexadecimal.
        {m + "mitchell --pairs 010 --boards-per-round 3", 0, 5, 5, ""},
        {m + "mitchell --pairs 08 --boards-per-round 03", 0, 4, 4, ""},
        {m + "berger --pairs +6 --boards-per-round 2 --rounds 002", 0, 3, 2, ""},
        {m + "mitchell --pairs 0x0A --boards-per-round 3", 2, 0, 0, ""},
        {m + "mitchell --pairs 10 --boards-per-round 3e0", 2, 0, 0, ""},
        {m + "mitchell --pairs " + QUOTED(" 10") + " --boards-per-round 3", 2, 0, 0, ""},
        // --boards may only repeat the count the movement plays.
        {m + "mitchell --pairs 10 --boards-per-round 3 --boards 15", 0, 5, 5, ""},
        {m + "mitchell --pairs 10 --boards-per-round 3 --rounds 3 --boards 15", 0, 5, 5, ""},
        {m + "berger --pairs 6 --boards-per-round 2 --rounds 2 --boards 4", 0, 3, 2, ""},
        {m + "howell --pairs 8 --boards-per-round 2 --rounds 3 --boards 014", 0, 4, 7, ""},
        {m + "mitchell --pairs 10 --boards-per-round 3 --boards 30", 2, 0, 0,
         "orla-cli: --boards: a Mitchell of 10 pairs with 3 boards a round plays 15 boards; "
         "leave --boards out or give 15\n"},
        {m + "mitchell --pairs 10 --boards-per-round 3 --rounds 3 --boards 9", 2, 0, 0, ""},
        {m + "berger --pairs 6 --boards-per-round 2 --rounds 2 --boards 10", 2, 0, 0,
         "orla-cli: --boards: a Berger of 6 pairs with 2 boards a round plays 4 boards; "
         "leave --boards out or give 4\n"},
        {m + "howell --pairs 8 --boards-per-round 1 --rounds 3 --boards 3", 2, 0, 0,
         "orla-cli: --boards: a Howell of 8 pairs with 1 board a round plays 7 boards; "
         "leave --boards out or give 7\n"},
        // The dialog's limits: no rounds beyond the movement's, no skip with an odd
        // number of tables, no skip after the last round.
        {m + "mitchell --pairs 10 --boards-per-round 3 --rounds 50", 2, 0, 0,
         "orla-cli: --rounds: a Mitchell of 10 pairs has at most 5 rounds\n"},
        {m + "berger --pairs 6 --boards-per-round 2 --rounds 40", 2, 0, 0,
         "orla-cli: --rounds: a Berger of 6 pairs has at most 5 rounds\n"},
        {m + "mitchell --pairs 10 --boards-per-round 3 --skip-after 2", 2, 0, 0,
         "orla-cli: --skip-after: 10 pairs sit at 5 tables; a Mitchell with an odd number of "
         "tables needs no skip: with one, pairs would meet a board set twice\n"},
        {m + "mitchell --pairs 12 --boards-per-round 3 --skip-after 50", 2, 0, 0,
         "orla-cli: --skip-after must be from 1 to 5\n"},
        {m + "mitchell --pairs 12 --boards-per-round 3 --skip-after 3", 0, 6, 6, ""},
    };
    for (const Row& row : rows) {
        const Run r = run(row.args);
        EXPECT_EQ(r.code, row.code) << row.args << "\n" << r.err;
        if (r.code != 0 || row.code != 0) {
            if (!row.err.empty()) {
                EXPECT_EQ(r.err, row.err) << row.args;
            }
            continue;
        }
        const auto j = nlohmann::json::parse(r.out);
        EXPECT_EQ(j["NumTables"], row.tables) << row.args;
        EXPECT_EQ(j["NumBoardSets"], row.sets) << row.args;
    }
}

TEST_F(CliMovementTest, OutputThatCannotBeWrittenIsAnError) {
    if (!std::ifstream("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const Run r = run("movement --type mitchell --pairs 10 --boards-per-round 3 >/dev/full");
    EXPECT_EQ(r.code, 1);
#ifdef _WIN32 // the C library of Windows names the fault in its own words
    EXPECT_EQ(r.err.rfind("orla-cli: the output could not be written: ", 0), 0u) << r.err;
#else
    EXPECT_EQ(r.err, "orla-cli: the output could not be written: No space left on device\n");
#endif
}

TEST_F(CliMovementTest, VersionIsTheBuildsOwn) {
    const Run r = run("--version");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "orla-cli " ORLA_VERSION "\n");
}

} // namespace
