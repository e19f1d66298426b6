// orla-cli players and the register seen by dump, run as the user runs them,
// on a register in the test's own folder.
#include "cli/clitest.h"
#include "core/cp1250.h"
#include "core/programfolder.h"
#include "core/results.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "players/players.h"
#include "players/rating.h"
#include "players/update.h"
#include "scoring/compute.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
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

    std::ofstream(tempDir() / "empty.opd", std::ios::binary) << "";
    r = run("statistics --folder " + path("season") + " --snapshot " + path("empty.opd") + " -o " +
            path("Stat.txt"));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "3 tournaments read.\n");
    std::ifstream in(tempDir() / "Stat.txt", std::ios::binary);
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(stat.substr(0, 48), std::string("Ana") + std::string(25, ' ') + "   2 50.00   0  0.00");
}

// A rated evening made with orla-cli new, its names and results typed, then
// recalculated from the command line: dump --recalculate shows, and score saves,
// what "Recalculate now" in the window makes of it, and update-rating over the
// scored file gives the window's sums.
TEST_F(CliPlayersTest, ScoreRecalculatesAsTheWindowDoes) {
    const std::string names[] = {"Ana", "Mira", "Zoran", "Petar", "Laza", "Jovan", "Ceca", "Bora"};
    std::string reg;
    for (int n = 0; n < 8; ++n)
        reg += rec(names[n], 400 + 75 * n, 0);
    std::ofstream(registerFile(), std::ios::binary) << reg;
    const std::string evening = (tempDir() / "season" / "ev.otr").string();
    std::filesystem::create_directories(tempDir() / "season");
    std::filesystem::create_directories(tempDir() / "window");
    Run r = run("new " + path("season/ev.otr") +
                " --movement mitchell --pairs 10 --boards-per-round 3 --rating --name Utorak");
    ASSERT_EQ(r.code, 0) << r.err;

    // The evening as typed: four registered pairs, every board played.
    INSTALLCOMPUTE();
    ASSERT_TRUE(OPENNTRFILE(evening));
    for (int n = 0; n < 8; ++n)
        SETFIELD(PlayerNames(n / 2 + 1, n % 2 + 1).c, NameLength, names[n]);
    for (int b = 1; b <= NumBoards; ++b) {
        const int set = (b - 1) / BoardsPerRound + 1;
        for (int i = 1; i <= SetEntries(set); ++i) {
            const int ns = 1 + (b * 3 + i * 5 + Movement(set, i, 1)) % 9;
            Results(b, i) = ENCODEADJUSTED(ns, 10 - ns);
        }
    }
    ASSERT_TRUE(WRITENTRFILE());
    CLOSETOURNAMENT();

    // The window: Recalculate now under the tournament's own boxes, then saved.
    ProgramFolder = UTF8OF(tempDir());
    LOADPLAYERS();
    INSTALLRATING();
    ASSERT_TRUE(OPENNTRFILE(evening));
    RECALCULATENOW(RatingMode, ISTRUE(HighRated));
    std::vector<float> expected;
    for (int p = 1; p <= NumPairs; ++p)
        for (int j = 1; j <= 2; ++j)
            expected.push_back(RatingChange(p, j));
    const int strength = TournamentStrength;
    ASSERT_GT(std::count_if(expected.begin(), expected.end(), [](float c) { return std::fabs(c) >= 0.1f; }), 4);
    TournamentFile = (tempDir() / "window" / "ev.otr").string();
    ASSERT_TRUE(WRITENTRFILE());
    CLOSETOURNAMENT();
    ASSERT_TRUE(SUMRATINGCHANGES((tempDir() / "window").string(), FINDFILESINDIR((tempDir() / "window").string())));
    std::string windowRows;
    for (int k = 1; k <= RegisteredCount; ++k)
        windowRows += CP1250TOUTF8(UPDATERESULTROW(k)) + "\n";
    RESETRATINGUPDATE();
    RESETPLAYERS();
    ProgramFolder.clear();

    const auto changes = [](const json& j) {
        std::vector<float> out;
        for (const json& pair : j["RatingChange"])
            for (const json& c : pair)
                out.push_back(c.get<float>());
        return out;
    };
    // dump keeps what the file stores; --recalculate shows the window's figures.
    r = run("dump " + path("season/ev.otr"));
    ASSERT_EQ(r.code, 0) << r.err;
    for (const float c : changes(json::parse(r.out)))
        EXPECT_LT(std::fabs(c), 0.001f); // as stored when the evening had no results
    r = run("dump --recalculate " + path("season/ev.otr"));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(changes(json::parse(r.out)), expected);
    EXPECT_EQ(json::parse(r.out)["TournamentStrength"], strength);

    r = run("score " + path("season/ev.otr"));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, evening + ": 10 pairs, strength " + std::to_string(strength) +
                         "; rating changes calculated; saved.\n");
    r = run("dump " + path("season/ev.otr"));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(changes(json::parse(r.out)), expected);

    r = run("update-rating --folder " + path("season"));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, windowRows);

    EXPECT_EQ(run("score " + path("nothere.otr")).code, 1);
}

#ifndef _WIN32
// update-rating --save prints its listing first: a listing that cannot be
// written saves nothing, so that running it again counts no file twice.
TEST_F(CliPlayersTest, UpdateRatingSavesOnlyAfterTheListing) {
    INSTALLCOMPUTE();
    std::filesystem::create_directories(tempDir() / "season");
    DEFAULTHEADER();
    RatingMode = -1;
    ASSERT_TRUE(CREATETOURNAMENT());
    SETFIELD(PlayerNames(1, 1).c, NameLength, "Ana");
    RatingChange(1, 1) = 2.0f;
    TournamentFile = (tempDir() / "season" / "a.otr").string();
    ASSERT_TRUE(WRITENTRFILE());
    CLOSETOURNAMENT();
    std::ofstream(registerFile(), std::ios::binary) << rec("Ana", 900, 0);
    const std::string before = readRegister();

    Run r = run("update-rating --folder " + path("season") + " --save >/dev/full");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("the listing could not be written"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("The register was not saved."), std::string::npos) << r.err;
    EXPECT_EQ(readRegister(), before);
    for (const auto& e : std::filesystem::directory_iterator(tempDir()))
        EXPECT_NE(e.path().filename().string().rfind("Players2", 0), 0u) << e.path();

    r = run("update-rating --folder " + path("season") + " --save");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("The new ratings of 1 player are saved in"), std::string::npos) << r.err;
    EXPECT_EQ(readRegister(), rec("Ana", 902, 2));
}
#endif

// Every file of the folder counts or is named: a tournament name holding "["
// can be named on the command line, and a file that cannot be read is said,
// exits 1 and saves nothing.
TEST_F(CliPlayersTest, UpdateRatingNamesWhatItCannotRead) {
    INSTALLCOMPUTE();
    const std::string season = (tempDir() / "season").string();
    std::filesystem::create_directories(season);
    DEFAULTHEADER();
    SETFIELD(Header.TournamentName, TournamentNameLength, "Kup [finale]");
    RatingMode = -1;
    ASSERT_TRUE(CREATETOURNAMENT());
    SETFIELD(PlayerNames(1, 1).c, NameLength, "Ana");
    RatingChange(1, 1) = 2.0f;
    TournamentFile = season + "/kup.otr";
    ASSERT_TRUE(WRITENTRFILE());
    CLOSETOURNAMENT();
    std::ofstream(season + "/empty.otr", std::ios::binary) << "";
    std::ofstream(registerFile(), std::ios::binary) << rec("Ana", 900, 0);
    const std::string before = readRegister();
    const std::string row = "Ana" + std::string(29, ' ') + "\t 900\t  2.00\t 902\n";

    Run r = run("update-rating --folder " + path("season") + " kup.otr");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, row);
    for (const std::string& args : {std::string(" empty.otr kup.otr --save"), std::string(" --save")}) {
        r = run("update-rating --folder " + path("season") + args);
        EXPECT_EQ(r.code, 1) << args;
        EXPECT_NE(r.err.find("Suspicious file:"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(" [empty.otr]"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("The register was not saved."), std::string::npos) << r.err;
        EXPECT_EQ(r.out, row);
        EXPECT_EQ(readRegister(), before);
    }
}

// statistics refuses a folder or snapshot that is not there, and says that a
// snapshot or register that is a folder cannot be read, writing nothing.
TEST_F(CliPlayersTest, StatisticsRefusesWhatItCannotUse) {
    std::filesystem::create_directories(tempDir() / "season");
    std::filesystem::create_directories(tempDir() / "snap.opd");
    std::ofstream(tempDir() / "Players2002.opd", std::ios::binary) << rec("Ana", 800, 0);
    std::ofstream(registerFile(), std::ios::binary) << rec("Ana", 900, 0);
    const std::string out = " -o " + path("Stat.txt");
    struct Row {
        std::string args;
        int code;
        const char* message;
    };
    const Row rows[] = {
        {"statistics --folder " + path("nowhere") + " --snapshot " + path("Players2002.opd") + out, 2,
         "is not a folder"},
        {"statistics --folder " + path("season") + " --snapshot " + path("none.opd") + out, 2,
         "does not exist"},
        {"statistics --folder " + path("season") + " --snapshot " + path("snap.opd") + out, 1,
         "cannot be read"},
    };
    for (const Row& row : rows) {
        const Run r = run(row.args);
        EXPECT_EQ(r.code, row.code) << row.args;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << row.args << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(tempDir() / "Stat.txt")) << row.args;
    }
    std::filesystem::remove(registerFile());
    std::filesystem::create_directories(registerFile());
    for (const std::string& args :
         {"statistics --folder " + path("season") + " --snapshot " + path("Players2002.opd") + out,
          "update-rating --folder " + path("season") + " --save"}) {
        const Run r = run(args);
        EXPECT_EQ(r.code, 1) << args;
        EXPECT_NE(r.err.find("cannot be read"), std::string::npos) << args << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(tempDir() / "Stat.txt"));
        EXPECT_TRUE(std::filesystem::is_directory(registerFile()));
    }
}

// The statistics file is never one the statistics are made from: the snapshot,
// the register or a tournament of the season (also as a hard link) is left as
// it was, and nothing is written.
TEST_F(CliPlayersTest, StatisticsNeverWriteOverTheirOwnInput) {
    namespace fs = std::filesystem;
    fs::create_directories(tempDir() / "season");
    fs::copy_file(TESTDATA("mitchell_mp/input.otr"), tempDir() / "season" / "ev.otr");
    std::ofstream(tempDir() / "snap.opd", std::ios::binary) << rec("Ana", 800, 0);
    std::ofstream(registerFile(), std::ios::binary) << rec("Ana", 900, 0);
#ifndef _WIN32
    fs::create_hard_link(tempDir() / "season" / "ev.otr", tempDir() / "link.txt");
#endif
    const auto bytes = [](const fs::path& f) {
        std::ostringstream s;
        s << std::ifstream(f, std::ios::binary).rdbuf();
        return s.str();
    };
    const std::string evening = bytes(tempDir() / "season" / "ev.otr");
    const std::string head = "statistics --folder " + path("season") + " --snapshot " + path("snap.opd") + " -o ";
    const struct {
        std::string out, message;
    } rows[] = {
        {path("snap.opd"), "is the register snapshot"},
        {path("Players.opd"), "is the players register"},
        {path("season/ev.otr"), "is the tournament file ev.otr of the season"},
#ifndef _WIN32
        {path("link.txt"), "is the tournament file ev.otr of the season"},
#endif
    };
    for (const auto& row : rows) {
        const Run r = run(head + row.out);
        EXPECT_EQ(r.code, 1) << row.out;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << row.out << ": " << r.err;
        EXPECT_EQ(bytes(tempDir() / "snap.opd"), rec("Ana", 800, 0));
        EXPECT_EQ(bytes(registerFile()), rec("Ana", 900, 0));
        EXPECT_EQ(bytes(tempDir() / "season" / "ev.otr"), evening);
    }
    EXPECT_EQ(run(head + path("Stat.txt")).code, 0);
}

// A name is one line of text: a control character in it is refused, naming the
// field, and the register keeps its lines.
TEST_F(CliPlayersTest, ANameWithAControlCharacterIsRefused) {
    std::ofstream(registerFile(), std::ios::binary) << rec("Ana Anic", 1200, 0);
    const std::string before = readRegister();
    const struct {
        std::string args;
        std::string err;
    } rows[] = {
        {"players add " + QUOTED("Mirko\nMirkovic") + " 1234",
         "NAME: the control character \u240A (U+000A) cannot be kept in a name.\n"},
        {"players add " + QUOTED("Mirko\rMirkovic") + " 1234",
         "NAME: the control character \u240D (U+000D) cannot be kept in a name.\n"},
        {"players add " + QUOTED("Mirko\x1b[2J") + " 1234",
         "NAME: the control character \u241B (U+001B) cannot be kept in a name.\n"},
        {"players set-rating " + QUOTED("Ana\tAnic") + " 1300",
         "NAME: the control character \u2409 (U+0009) cannot be kept in a name.\n"},
        {"players remove " + QUOTED("Ana Anic\x7f"),
         "NAME: the control character \u2421 (U+007F) cannot be kept in a name.\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args);
        const Run r = run(row.args);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, row.err);
        EXPECT_EQ(readRegister(), before);
    }
    EXPECT_EQ(run("players").out, "Ana Anic\t1200\t   0\n");
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
    // Nothing but the updates' own reports of what they saved.
    std::string err, line;
    while (std::getline(errors, line))
        if (line.rfind("The new ratings of ", 0) != 0) err += line + "\n";
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
