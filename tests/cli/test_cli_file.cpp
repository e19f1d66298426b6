// orla-cli new and dump, run as the user runs them: the file they make, the JSON
// they print and their exit codes.
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "support/testsupport.h"

#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

using nlohmann::json;

namespace {

class CliFileTest : public OrlaTest {
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

    std::string path(const std::string& name) { return (tempDir() / name).string(); }
};

TEST_F(CliFileTest, NewMakesTheTournamentThatDumpShows) {
    const std::string file = path("kup.otr");
    const Run made = run("new '" + file +
                         "' --movement mitchell --pairs 13 --boards-per-round 3 --skip-after 2"
                         " --skip players --calc imp --rating --high-rated --hands --by-table"
                         " --name 'Kup Đorđević, Čačak'");
    ASSERT_EQ(made.code, 0) << made.err;
    const Run r = run("dump '" + file + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    const json j = json::parse(r.out);
    const json& h = j["header"];
    EXPECT_EQ(h["TournamentName"], "Kup Đorđević, Čačak");
    EXPECT_EQ(h["CalcType"], 2);
    EXPECT_EQ(h["MovementType"], 1);
    EXPECT_EQ(h["NumPairs"], 13);
    EXPECT_EQ(h["NumRounds"], 6); // the skip takes one round off 7 tables
    EXPECT_EQ(h["NumBoards"], 21);
    EXPECT_EQ(h["SkipOn"], true);
    EXPECT_EQ(h["SkipBoards"], false);
    EXPECT_EQ(h["SkipAfterRound"], 2);
    EXPECT_EQ(h["RatingMode"], -1);
    EXPECT_EQ(h["HighRated"], true);
    EXPECT_EQ(h["OrderAsPlayed"], false);
    EXPECT_EQ(h["HasHands"], true);
    EXPECT_EQ(j["NumBoardSets"], 7);
    EXPECT_EQ(j["HandCards"].size(), 21u);
    EXPECT_EQ(j["HandCards"][20].size(), 52u);
    EXPECT_EQ(j["PlayerNames"][12], json({"", ""}));
    EXPECT_EQ(j["PlacementOrder"].size(), 13u);
    EXPECT_EQ(j["status"].size(), 3u);
    // Every entry of a set has its result, points and pair numbers.
    for (int k = 0; k < 7; ++k) {
        const auto entries = j["SetEntries"][k].get<std::size_t>();
        EXPECT_EQ(j["Movement"][k].size(), entries);
        EXPECT_EQ(j["MatchVP"][k].size(), entries);
        EXPECT_EQ(j["Results"][3 * k].size(), entries);
        EXPECT_EQ(j["BoardPoints"][3 * k + 2].size(), entries);
    }
}

TEST_F(CliFileTest, DumpShowsNamesInUtf8AndFloatsThatReadBack) {
    SETFIELD(Header.TournamentName, TournamentNameLength, "Turnir");
    NumPairs = 4;
    NumBoards = 6;
    NumRounds = 3;
    BoardsPerRound = 2;
    NumBoardSets = 3;
    MovementType = MOVE_BERGER;
    ASSERT_TRUE(INITTOURNAMENT());
    SETFIELD(PlayerNames(1, 1).c, NameLength,
             "\xD0or\xF0"
             "evi\xE6"); // Windows-1250
    SETFIELD(PlayerNames(1, 2).c, NameLength, "\xC6iri\xE6");
    SETFIELD(PlayerNames(3, 2).c, NameLength,
             "\x8E"
             "u\x9E"
             "i\xE6  ");
    RatingChange(2, 1) = 0.1f;
    RatingChange(2, 2) = 1.0f / 3.0f;
    PairPenalty(4) = -2.7f;
    TournamentFile = path("names.otr");
    ASSERT_TRUE(WRITENTRFILE());

    const Run r = run("dump '" + TournamentFile + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("[0.1,0.33333334]"), std::string::npos) << r.out;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["PlayerNames"][0], json({"Đorđević", "Ćirić"}));
    EXPECT_EQ(j["PlayerNames"][2], json({"", "Žužić"}));
    const auto asFloat = [](const json& v) {
        const std::string text = v.dump();
        float f = 0;
        std::from_chars(text.data(), text.data() + text.size(), f);
        return f;
    };
    EXPECT_EQ(asFloat(j["RatingChange"][1][1]), 1.0f / 3.0f);
    EXPECT_EQ(asFloat(j["PairPenalty"][3]), -2.7f);
}

TEST_F(CliFileTest, FilesThatCannotBeOpenedOrWrittenEndWithOne) {
    const std::string missing = path("missing.otr");
    const Run r = run("dump '" + missing + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "File " + missing + " is deleted or moved.\n");

    const std::string bad = path("bad.otr");
    std::ofstream(bad, std::ios::binary) << "not a tournament";
    const Run d = run("dump '" + bad + "'");
    EXPECT_EQ(d.code, 1);
    EXPECT_EQ(d.err, "File " + bad + " is damaged.\n");

    const Run w = run("new '" + path("no/such/folder.otr") +
                      "' --movement berger --pairs 6 --boards-per-round 2");
    EXPECT_EQ(w.code, 1);
    EXPECT_NE(w.err.find("could not be saved"), std::string::npos) << w.err;
}

TEST_F(CliFileTest, BadUsageEndsWithTwo) {
    const std::string out = "'" + path("u.otr") + "' ";
    const char* rows[] = {
        "dump",
        "new",
        "--movement mitchell --pairs 10", // no boards per round
        "--movement custom --pairs 10 --boards-per-round 2",
        "--movement howell --pairs 16 --boards-per-round 2", // 5..14 pairs
        "--movement mitchell --pairs ten --boards-per-round 2",
        "--movement mitchell --pairs 10 --boards-per-round 0",
        "--movement berger --pairs 10 --boards-per-round 2 --skip-after 2", // Mitchell only
        "--movement mitchell --pairs 10 --boards-per-round 2 --rating --masters",
        "--movement mitchell --pairs 10 --boards-per-round 2 --calc imp --neuberg",
        "--movement mitchell --pairs 10 --boards-per-round 3 --boards 2",
        "--movement mitchell --pairs 10 --boards-per-round 2 --name 'Дмитрий'",
        "--movement mitchell --pairs 10 --boards-per-round 2 --calc bridge",
    };
    for (const char* row : rows) {
        const std::string args = std::string(row).rfind("--", 0) == 0 ? "new " + out + row : row;
        const Run r = run(args);
        EXPECT_EQ(r.code, 2) << args << "\n" << r.err;
        EXPECT_FALSE(std::filesystem::exists(path("u.otr"))) << args;
    }
}

} // namespace
