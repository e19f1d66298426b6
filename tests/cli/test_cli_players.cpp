// orla-cli players and the register seen by dump, run as the user runs them,
// on a register in the test's own folder.
#include "cli/clitest.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "scoring/compute.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using nlohmann::json;

namespace {

class CliPlayersTest : public CliTest {
  protected:
    std::string registerFile() { return (tempDir() / "Players.opd").string(); }
    std::string readRegister() {
        std::ifstream in(registerFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::string rec(const std::string& name, int rating, int delta) {
        std::string r = name;
        r.resize(30, ' ');
        char numbers[16];
        std::snprintf(numbers, sizeof numbers, "%6d%6d", rating, delta);
        return r + numbers + "\r\n";
    }
};

TEST_F(CliPlayersTest, ListsAndChangesTheRegister) {
    std::ofstream(registerFile(), std::ios::binary)
        << rec("Mira", 800, 20) + rec("\xC8" "eda", 650, -5) + rec("Ana", 900, 3);
    Run r = run("players");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Ana\t 900\t   3\nMira\t 800\t  20\nČeda\t 650\t  -5\n");
    EXPECT_EQ(run("players --sort rating").out, "Ana\t 900\t   3\nMira\t 800\t  20\nČeda\t 650\t  -5\n");
    EXPECT_EQ(run("players --sort delta").out, "Mira\t 800\t  20\nAna\t 900\t   3\nČeda\t 650\t  -5\n");

    r = run("players add " + QUOTED("Đuro Đurić") + " 1250");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readRegister().substr(3 * 44), rec("\xD0uro \xD0uri\xE6", 1250, 1250));
    ASSERT_EQ(run("players set-rating MIRA 999999").code, 0);
    ASSERT_EQ(run("players remove ana").code, 0);
    EXPECT_EQ(readRegister(), rec("Mira", 999999, 20) + rec("\xC8" "eda", 650, -5) +
                                  rec("\xD0uro \xD0uri\xE6", 1250, 1250));

    // The refusals of the dialog, with their messages and exit status 1.
    const std::string before = readRegister();
    struct Row {
        std::string args;
        int code;
        const char* message;
    };
    const Row rows[] = {
        {"players add " + QUOTED("mira") + " 5", 1, "Name: \"mira\" is already registered."},
        {"players add X 5", 1, "Name: type a name of at least 2 characters."},
        {"players add Big 1000000", 1, "Rating: 1000000 is not a rating"},
        {"players set-rating Nobody 5", 1, "Name: \"Nobody\" is not registered"},
        {"players remove Nobody", 1, "Name: \"Nobody\" is not registered"},
        {"players add " + QUOTED("Ana 😀") + " 5", 1, "NAME: the character"},
        {"players add Ana 12x", 2, "RATING must be a whole number"},
#ifndef _WIN32 // a Windows command line is always text
        // A name in Latin-1 is no text at all, not a letter the register lacks.
        {"players add \"$(printf 'Ren\\351')\" 5", 2, "NAME: the argument is not valid UTF-8 text"},
        {"players remove \"$(printf 'Ren\\351')\"", 2, "NAME: the argument is not valid UTF-8"},
#endif
    };
    for (const Row& row : rows) {
        r = run(row.args);
        EXPECT_EQ(r.code, row.code) << row.args;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << row.args << ": " << r.err;
    }
    EXPECT_EQ(readRegister(), before);
}

// A rated tournament saved before any register existed shows its players'
// ratings from the register once opened.
TEST_F(CliPlayersTest, DumpLooksTheRatingsUp) {
    INSTALLCOMPUTE();
    DEFAULTHEADER();
    RatingMode = -1;
    ASSERT_TRUE(CREATETOURNAMENT());
    SETFIELD(PlayerNames(1, 1).c, NameLength, "ana");
    SETFIELD(PlayerNames(2, 2).c, NameLength, "Mira");
    TournamentFile = (tempDir() / "rated.otr").string();
    ASSERT_TRUE(WRITENTRFILE());
    std::ofstream(registerFile(), std::ios::binary) << rec("Ana", 900, 0) + rec("Mira", 800, 0);

    const Run r = run("dump " + path("rated.otr"));
    ASSERT_EQ(r.code, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["PlayerRating"][0], json({900, 0}));
    EXPECT_EQ(j["PlayerRating"][1], json({0, 800}));
    EXPECT_EQ(j["TournamentStrength"], 85);
    EXPECT_EQ(j["status"][0], "Rating:  85");
}

} // namespace

namespace {

// orla-cli update-rating and statistics over a folder of files the program wrote.
TEST_F(CliPlayersTest, UpdateRatingAndStatistics) {
    INSTALLCOMPUTE();
    const std::string season = (tempDir() / "season").string();
    std::filesystem::create_directories(season);
    const auto rated = [&](const std::string& file, const char* name, float change) {
        DEFAULTHEADER();
        RatingMode = -1;
        ASSERT_TRUE(CREATETOURNAMENT());
        SETFIELD(PlayerNames(1, 1).c, NameLength, name);
        RatingChange(1, 1) = change;
        TournamentFile = season + "/" + file;
        ASSERT_TRUE(WRITENTRFILE());
        CLOSETOURNAMENT();
    };
    rated("a.otr", "ana", 1.4f);
    rated("b.otr", "Ana", 1.4f);
    rated("c.otr", "mira", -5.5f);
    std::ofstream(registerFile(), std::ios::binary) << rec("Ana", 900, 0) + rec("Mira", 2, 0);
    const std::string before = readRegister();
    const std::string pad(29, ' ');

    Run r = run("update-rating --folder " + path("season"));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Ana" + pad + "\t 900\t  2.80\t 903\nMira" + pad.substr(1) + "\t   2\t -5.50\t   0\n");
    EXPECT_EQ(readRegister(), before);
    r = run("update-rating --folder " + path("season") + " a.otr nothere.otr --save");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("File nothere.otr is not a tournament file of"), std::string::npos) << r.err;
    EXPECT_EQ(readRegister(), before);
    r = run("update-rating --folder " + path("season") + " a.otr c.otr --save");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readRegister(), rec("Ana", 901, 1) + rec("Mira", 0, -6));
    EXPECT_EQ(run("update-rating --folder " + path("nowhere")).code, 2);

    r = run("statistics --folder " + path("season") + " --snapshot " + path("none.opd") + " -o " +
            path("Stat.txt"));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "3 tournaments read.\n");
    std::ifstream in(tempDir() / "Stat.txt", std::ios::binary);
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(stat.substr(0, 48), std::string("Ana") + std::string(25, ' ') + "   2 50.00   0  0.00");
}

} // namespace

namespace {

int datedCopies(const std::filesystem::path& folder) {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string f = e.path().filename().string();
        if (f != "Players.opd" && f.rfind("Players", 0) == 0) ++n;
    }
    return n;
}

// A refusal writes nothing, also over a register that could not be read to its
// end (it was rewritten with only the players before the bad line); such a
// register is kept as a dated copy once, not at every command.
TEST_F(CliPlayersTest, ARefusalWritesNothing) {
    std::string bad = rec("Bad", 0, 0);
    bad.replace(33, 1, "x");
    const std::string original = rec("Ana", 500, 1) + bad + rec("Cica", 700, 3);
    std::ofstream(registerFile(), std::ios::binary) << original;
    struct Row {
        const char* args;
        int code;
    };
    for (const Row row : {Row{"players remove Nobody", 1}, Row{"players set-rating Nobody 5", 1},
                          Row{"players add Ana 5", 1}, Row{"players", 0}, Row{"players", 0}}) {
        const Run r = run(row.args);
        EXPECT_EQ(r.code, row.code) << row.args << ": " << r.err;
        EXPECT_EQ(readRegister(), original) << row.args;
    }
    EXPECT_EQ(datedCopies(tempDir()), 1);
}

#ifndef _WIN32
// A register that is a pipe is not read (every command hung on it), and said so.
TEST_F(CliPlayersTest, ARegisterThatIsAPipeIsNotRead) {
    ASSERT_EQ(::mkfifo(registerFile().c_str(), 0600), 0);
    std::string out;
    const int code = RUNCOMMAND("timeout 20 " + cli() + " players add Ana 5 2>&1", out);
    EXPECT_EQ(code, 1) << out;
    EXPECT_NE(out.find("is not a regular file"), std::string::npos) << out;
    EXPECT_TRUE(std::filesystem::is_fifo(registerFile()));
}

// Two programs adding players at the same moment, 200 each, and a rating update
// saved again and again meanwhile: every player is there at the end, and every
// command that said it succeeded did.
TEST_F(CliPlayersTest, TwoWritersLoseNobody) {
    std::filesystem::create_directories(tempDir() / "season");
    std::ofstream(registerFile(), std::ios::binary) << rec("Ana", 500, 1);
    const std::string adds = "for i in $(seq 1 200); do " + cli() +
                             " players add $W$i 100 >/dev/null 2>>" + path("errors.txt") +
                             " || echo fail >>" + path("failed.txt") + "; done";
    const std::string updates = "for i in $(seq 1 25); do " + cli() + " update-rating --folder " +
                                path("season") + " --save >/dev/null 2>>" + path("errors.txt") +
                                " || echo fail >>" + path("failed.txt") + "; done";
    std::string out;
    const int code = RUNCOMMAND("(W=A; " + adds + ") & (W=B; " + adds + ") & (" + updates +
                                    ") & wait",
                                out);
    ASSERT_EQ(code, 0) << out;
    std::ifstream errors(tempDir() / "errors.txt");
    const std::string err((std::istreambuf_iterator<char>(errors)), std::istreambuf_iterator<char>());
    EXPECT_EQ(err, "");
    EXPECT_FALSE(std::filesystem::exists(tempDir() / "failed.txt"));
    const std::string reg = readRegister();
    EXPECT_EQ(reg.size(), 401u * 44);
    for (int i = 1; i <= 200; ++i)
        for (const char* w : {"A", "B"})
            EXPECT_NE(reg.find(rec(w + std::to_string(i), 100, 0).substr(0, 36)), std::string::npos)
                << w << i;
    EXPECT_EQ(reg.substr(0, 44), rec("Ana", 500, 0));
    EXPECT_FALSE(std::filesystem::exists(registerFile() + ".lock"));
}
#endif

} // namespace
