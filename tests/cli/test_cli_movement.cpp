// orla-cli movement, run as the user runs it: its JSON and its exit codes.
#include "support/testsupport.h"

#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class CliMovementTest : public OrlaTest {
  protected:
    struct Run {
        int code;
        std::string out, err;
    };

    // Runs orla-cli with `args`, collecting stdout, stderr and the exit code.
    Run run(const std::string& args) {
        const std::string errFile = (tempDir() / "stderr.txt").string();
        const std::string command = "'" ORLA_CLI "' " + args + " 2>'" + errFile + "'";
        Run r{-1, {}, {}};
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return r;
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
            r.out.append(buf, n);
        const int status = pclose(pipe);
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(errFile);
        std::ostringstream err;
        err << in.rdbuf();
        r.err = err.str();
        return r;
    }
};

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

} // namespace
