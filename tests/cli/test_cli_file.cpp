// orla-cli new and dump, run as the user runs them: the file they make, the JSON
// they print and their exit codes.
#include "cli/clitest.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"

#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

using CliFileTest = CliTest;

TEST_F(CliFileTest, NewMakesTheTournamentThatDumpShows) {
    // A file named in letters outside the system's code page, as typed.
    const Run made = run("new " + path("Kup Čačak.otr") +
                         " --movement mitchell --pairs 12 --boards-per-round 3 --skip-after 2"
                         " --skip players --calc imp --rating --high-rated --hands --by-table"
                         " --name " + QUOTED("Kup Đorđević, Čačak"));
    ASSERT_EQ(made.code, 0) << made.err;
    EXPECT_TRUE(std::filesystem::exists(tempDir() / UTF8PATH("Kup Čačak.otr")));
    const Run r = run("dump " + path("Kup Čačak.otr"));
    ASSERT_EQ(r.code, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["header"], json::parse(R"({"TournamentName": "Kup Đorđević, Čačak",
        "CalcType": 2, "MovementType": 1, "NumPairs": 12, "NumBoards": 18, "NumRounds": 5,
        "BoardsPerRound": 3, "SkipOn": true, "SkipBoards": false, "RatingMode": -1,
        "HighRated": true, "OrderAsPlayed": false, "UseNeuberg": false, "HasHands": true,
        "SkipAfterRound": 2})"));
    EXPECT_EQ(j["HandCards"].size(), 18u);
    EXPECT_EQ(j["PlayerNames"][11], json({"", ""}));
    // Every set lists as many pairs, results and points as it has entries.
    for (int k = 0; k < 6; ++k) {
        const auto entries = j["SetEntries"][k].get<std::size_t>();
        EXPECT_EQ(j["Movement"][k].size(), entries);
        EXPECT_EQ(j["MatchVP"][k].size(), entries);
        EXPECT_EQ(j["Results"][3 * k + 2].size(), entries);
    }
}

TEST_F(CliFileTest, DumpShowsNamesInUtf8AndFloatsThatReadBack) {
    NumBoardSets = NumBoards / BoardsPerRound;
    ASSERT_TRUE(INITTOURNAMENT());
    SETFIELD(PlayerNames(1, 1).c, NameLength,
             "\xD0or\xF0"
             "evi\xE6"); // Windows-1250
    SETFIELD(PlayerNames(1, 2).c, NameLength,
             "\x8E"
             "u\x9E"
             "i\xE6  ");
    RatingChange(2, 1) = 0.1f;
    RatingChange(2, 2) = 1.0f / 3.0f;
    TournamentFile = (tempDir() / "names.otr").string();
    ASSERT_TRUE(WRITENTRFILE());
    const Run r = run("dump " + path("names.otr"));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("[0.1,0.33333334]"), std::string::npos);
    EXPECT_EQ(json::parse(r.out)["PlayerNames"][0], json({"Đorđević", "Žužić"}));
}

TEST_F(CliFileTest, ExitCodes) {
    std::ofstream(tempDir() / "bad.otr") << "not a tournament";
    const std::string dir = (tempDir() / "").string(), x = "new " + path("x.otr") + " ";
    const struct {
        std::string args;
        int code;
        std::string err;
    } rows[] = {
        {"dump " + path("missing.otr"), 1, "File " + dir + "missing.otr is deleted or moved.\n"},
        {"dump " + path("bad.otr"), 1, "File " + dir + "bad.otr is damaged.\n"},
        {"new " + path("no/folder.otr") + " --movement berger --pairs 6 --boards-per-round 2", 1,
         ""},
        {"dump", 2, ""},
        {x + "--movement custom --pairs 10 --boards-per-round 2", 2, ""},
        {x + "--movement howell --pairs 16 --boards-per-round 2", 2, ""},
        {x + "--movement mitchell --pairs ten --boards-per-round 2", 2, ""},
        {x + "--movement berger --pairs 10 --boards-per-round 2 --skip-after 2", 2, ""},
        {x + "--movement mitchell --pairs 10 --boards-per-round 2 --rating --masters", 2, ""},
        {x + "--movement mitchell --pairs 10 --boards-per-round 3 --boards 2", 2, ""},
        {x + "--movement mitchell --pairs 10 --boards-per-round 2 --name " + QUOTED("Дмитрий"), 2, ""},
    };
    for (const auto& row : rows) {
        const Run r = run(row.args);
        EXPECT_EQ(r.code, row.code) << row.args << "\n" << r.err;
        if (!row.err.empty()) {
            EXPECT_EQ(r.err, row.err);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(tempDir() / "x.otr"));
}

TEST_F(CliFileTest, DumpToAFullDiskAndANameThatIsNotUtf8AreErrors) {
    const std::string x =
        "new " + path("x.otr") + " --movement mitchell --pairs 6 --boards-per-round 2";
    ASSERT_EQ(run(x).code, 0);
#ifndef _WIN32 // Windows has no /dev/full, and its command lines are always text
    const Run full = run("dump " + path("x.otr") + " >/dev/full");
    EXPECT_EQ(full.code, 1);
    EXPECT_EQ(full.err, "orla-cli: the output could not be written: No space left on device\n");

    // "été" in Latin-1, as a terminal in that encoding would pass it.
    const Run latin = run(x + " --name \"$(printf '\\351t\\351')\"");
    EXPECT_EQ(latin.code, 2);
    EXPECT_EQ(latin.err, "orla-cli: --name: the argument is not valid UTF-8 text\n");
#endif
    // A replacement character typed as such is text, only not one a file can keep.
    const Run replacement = run(x + " --name " + QUOTED("a\xEF\xBF\xBD"));
    EXPECT_EQ(replacement.code, 2);
    EXPECT_EQ(replacement.err,
              "orla-cli: --name: the character U+FFFD cannot be kept in a tournament file\n");
}

// What is not a regular file is not a tournament file (not one deleted or
// moved); a control character in a file name never reaches the terminal raw.
TEST_F(CliFileTest, DumpOfSomethingThatIsNoFileAndNamesWithControlCharacters) {
    const std::string dir = (tempDir() / "").string();
    std::filesystem::create_directory(tempDir() / "folder.otr");
    const struct {
        std::string args;
        std::string err;
    } rows[] = {
        {"dump " + path("folder.otr"), "File " + dir + "folder.otr is not a tournament file.\n"},
#ifndef _WIN32
        {"dump /dev/null", "File /dev/null is not a tournament file.\n"},
        {"dump " + path("a\x1b[2Jb\n.otr"), "File " + dir + "a\u241B[2Jb\u240A.otr is deleted or moved.\n"},
#endif
    };
    for (const auto& row : rows) {
        const Run r = run(row.args);
        EXPECT_EQ(r.code, 1) << row.args;
        EXPECT_EQ(r.err, row.err);
    }
#ifndef _WIN32
    // The name of a file that cannot be written, and a name given as a tournament's.
    ASSERT_EQ(run("new " + path("x.otr") + " --movement mitchell --pairs 6 --boards-per-round 2").code, 0);
    const Run out = run("export " + path("x.otr") + " --format text -o " + path("no\x1b[31m/x.txt"));
    EXPECT_EQ(out.code, 1);
    EXPECT_EQ(out.err.find('\x1b'), std::string::npos) << out.err;
    EXPECT_NE(out.err.find("no\u241B[31m/x.txt could not be written"), std::string::npos) << out.err;
    const Run name = run("new " + path("y.otr") + " --movement mitchell --pairs 6 --boards-per-round 2 --name " +
                         QUOTED("Club\nNight"));
    EXPECT_EQ(name.code, 2);
    EXPECT_EQ(name.err, "orla-cli: --name: the control character \u240A (U+000A) cannot be kept in a name.\n");
    EXPECT_FALSE(std::filesystem::exists(tempDir() / "y.otr"));
#endif
}

#ifndef _WIN32
// orla-cli site names the files it could not use and the folders it could not
// read or make with their control characters as pictures, and a line break in a
// file's name does not break a progress line the window reads.
TEST_F(CliFileTest, SiteShowsControlCharactersOfFileNamesAsPictures) {
    namespace fs = std::filesystem;
    fs::create_directory(tempDir() / "season");
    fs::copy_file(TESTDATA("mitchell_mp/input.otr"), tempDir() / "season" / "good\x1b[1m\nnight.otr");
    std::ofstream(tempDir() / "season" / "bad\x1b[31m.otr", std::ios::binary) << "junk";
    const struct {
        std::string args, picture;
    } rows[] = {
        {"site " + path("season") + " -o " + path("out") + " --progress", "bad\u241B[31m.otr"},
        {"site " + path("no\x1b[31m") + " -o " + path("out"), "no\u241B[31m could not be read"},
        {"site " + path("season") + " -o /proc/x\x1b[31m", "/proc/x\u241B[31m could not be made"},
    };
    for (const auto& row : rows) {
        const Run r = run(row.args);
        EXPECT_EQ(r.code, 1) << row.args;
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(row.picture), std::string::npos) << r.err;
    }
    // Every line of the progress is whole: "progress DONE TOTAL TEXT" or the summary.
    const Run r = run(rows[0].args);
    std::istringstream lines(r.out);
    int progressLines = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("progress ", 0) == 0) {
            ++progressLines;
            EXPECT_NE(line.find("good\u241B[1m\u240Anight.otr"), std::string::npos) << line;
        } else {
            EXPECT_NE(line.find(" evenings ("), std::string::npos) << line;
        }
    }
    EXPECT_EQ(progressLines, 1) << r.out;
}
#endif

// The players register is never replaced by a tournament nor by a movement file,
// named as it is or through a hard link: the command says so and exits 1.
TEST_F(CliFileTest, NothingIsWrittenOverThePlayersRegister) {
    namespace fs = std::filesystem;
    const std::string reg = "Ana                              800     0\r\n";
    std::ofstream(tempDir() / "Players.opd", std::ios::binary) << reg;
#ifndef _WIN32
    fs::create_hard_link(tempDir() / "Players.opd", tempDir() / "link.otr");
#endif
    const std::string movement = " --movement howell --pairs 6 --boards-per-round 2";
    const struct {
        std::string args, message;
    } rows[] = {
        {"new " + path("Players.opd") + movement, "is the players register: it is left as it was"},
#ifndef _WIN32
        {"new " + path("link.otr") + movement, "is the players register: it is left as it was"},
#endif
        {"movement --type" + movement.substr(std::string(" --movement").size()) + " --export-ocm " +
             path("Players.opd"),
         "it is the players register, which is left as it was"},
    };
    for (const auto& row : rows) {
        const Run r = run(row.args);
        EXPECT_EQ(r.code, 1) << row.args;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << row.args << ": " << r.err;
        std::ostringstream now;
        now << std::ifstream(tempDir() / "Players.opd", std::ios::binary).rdbuf();
        EXPECT_EQ(now.str(), reg) << row.args;
    }
}

} // namespace
