// The end of a period over a folder of tournament files that the program
// itself wrote: the rating update with its sums, messages and save, and the
// season's statistics.
#include "playerstest.h"

#include "core/results.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "players/rating.h"
#include "players/update.h"
#include "scoring/compute.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace {

struct Player {
    std::string name; // the bytes of the field (a NUL may end it), blank padded
    float change;
};

class UpdateTest : public PlayersTest {
  protected:
    void SetUp() override {
        PlayersTest::SetUp();
        INSTALLCOMPUTE();
        INSTALLRATING();
        RESETRATINGUPDATE();
        folder = (tempDir() / "season").string();
        fs::create_directories(folder);
    }
    void TearDown() override {
        RESETRATINGUPDATE();
        if (TournamentOpen) CLOSETOURNAMENT();
        PlayersTest::TearDown();
    }

    static void setName(int p, int j, const std::string& bytes) {
        std::memset(PlayerNames(p, j).c, ' ', NameLength);
        std::memcpy(PlayerNames(p, j).c, bytes.data(), std::min<std::size_t>(bytes.size(), NameLength));
    }

    // A Mitchell of the default shape, scored with rating (mode -1) or not,
    // its players and their stored changes in pair order (1/1, 1/2, 2/1, ...),
    // written by the program as `file`.
    void ratedFile(const std::string& file, const std::string& title,
                   std::initializer_list<Player> players, int mode = -1) {
        if (TournamentOpen) CLOSETOURNAMENT();
        DEFAULTHEADER();
        SETFIELD(Header.TournamentName, TournamentNameLength, title);
        ASSERT_TRUE(CREATETOURNAMENT());
        RatingMode = mode;
        int n = 0;
        for (const Player& pl : players) {
            const int p = n / 2 + 1, j = n % 2 + 1;
            setName(p, j, pl.name);
            RatingChange(p, j) = pl.change;
            ++n;
        }
        TournamentFile = FOLDERFILE(folder, file);
        ASSERT_TRUE(WRITENTRFILE());
        CLOSETOURNAMENT();
    }

    std::string itemOf(const std::vector<std::string>& items, const std::string& file) {
        for (const std::string& item : items)
            if (ITEMFILENAME(item, TOURNAMENTFILES(folder)) == file) return item;
        ADD_FAILURE() << "no item for " << file;
        return {};
    }

    std::vector<std::string> suspiciousMessages() {
        std::vector<std::string> out;
        for (const CapturedMessage& m : CapturedMessages)
            if (m.text.rfind("Suspicious file:", 0) == 0) out.push_back(m.text);
        return out;
    }

    std::string folder;
};

TEST_F(UpdateTest, FileListShowsDateNameAndFileOfEveryTournament) {
    ratedFile("mon.otr", "Ponedeljak", {{"Ana", 1.0f}});
    ratedFile("THU.OTR", "  Cetvrtak  ", {{"Ana", 1.0f}});
    writeFile(FOLDERFILE(folder, "notes.otr"), "not a tournament");
    writeFile(FOLDERFILE(folder, "other.txt"), "");
    const std::vector<std::string> items = FINDFILESINDIR(folder);
    ASSERT_EQ(items.size(), 3u);
    const std::regex item(R"(\d{4}\.\d{2}\.\d{2}\. (.*) \[(.*)\])");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(items[0], m, item)) << items[0];
    EXPECT_EQ(m[1], "  Cetvrtak");
    EXPECT_EQ(m[2], "THU.OTR");
    ASSERT_TRUE(std::regex_match(items[1], m, item)) << items[1];
    EXPECT_EQ(m[1], "Ponedeljak");
    // notes.otr cannot be read: no name, but the file, so that choosing it is heard of.
    ASSERT_TRUE(std::regex_match(items[2], m, item)) << items[2];
    EXPECT_EQ(m[1], "");
    EXPECT_EQ(m[2], "notes.otr");
    EXPECT_TRUE(FINDFILESINDIR((tempDir() / "nowhere").string()).empty());

    // The file name is taken from the end, whatever brackets the tournament's name holds.
    struct Row {
        const char* item;
        std::vector<std::string> files;
        const char* file;
    };
    const Row rows[] = {
        {"2006.03.15. Kup [a] [b.otr]", {"b.otr"}, "b.otr"},
        {"2006.03.15. Kup [a] [b.otr]", {"a] [b.otr", "b.otr"}, "a] [b.otr"},
        {"2006.03.15. [Finale [mon.otr]", {"mon.otr"}, "mon.otr"},
        {"2006.03.15. Kup [x [2].otr]", {"x [2].otr"}, "x [2].otr"},
        {"2006.03.15. Kup [b.otr]", {"a.otr"}, ""},
        {"", {"a.otr"}, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ITEMFILENAME(row.item, row.files), row.file) << row.item;
}

// The whole command over one period: two files of one evening, a file scored
// without rating, a damaged file; cancel; save; a second save the same day.
TEST_F(UpdateTest, SumsThePeriodAndSavesWithADatedCopy) {
    writeFile(PlayersFile, rec("Ana", 1000, 11) + rec("Mira", 2, 4) + rec("Zoran", 500, 7) +
                               rec("Petar", 300, 0) + rec("Jovan", 600, 0));
    ASSERT_EQ(LOADPLAYERS(), 5);
    const std::string registerBefore = readFile(PlayersFile);

    ratedFile("evening1.otr", "Utorak 1", {{"ana", 1.4f}, {"MIRA", -2.5f},
                                           // the blank before the NUL is part of the name
                                           {std::string("Jovan \0", 7), 9.0f},
                                           {"Nepoznat", 5.0f}});
    ratedFile("evening2.otr", "Utorak 2", {{"Ana", 1.4f}, {"Petar", 0.4f}, {"mira", -3.0f}});
    ratedFile("unrated.otr", "Bez rejtinga", {{"Ana", 40.0f}}, 0);
    ratedFile("damaged.otr", "Ostecen", {{"Ana", 40.0f}});
    {
        const std::string bytes = readFile(FOLDERFILE(folder, "damaged.otr"));
        writeFile(FOLDERFILE(folder, "damaged.otr"), bytes.substr(0, bytes.size() - 10));
    }
    const std::vector<std::string> items = FINDFILESINDIR(folder);
    const std::vector<std::string> chosen = {itemOf(items, "evening1.otr"), itemOf(items, "evening2.otr"),
                                             itemOf(items, "unrated.otr"), itemOf(items, "damaged.otr")};
    EXPECT_NE(chosen[3], ""); // its name is readable, its body is not

    // Cancel after the first file: nothing kept, nothing written.
    CapturedMessages.clear();
    EXPECT_FALSE(SUMRATINGCHANGES(folder, chosen, [](int done, int) { return done < 1; }));
    EXPECT_FALSE(RatingSum.allocated());
    EXPECT_EQ(readFile(PlayersFile), registerBefore);
    EXPECT_EQ(RegRating(1), 1000);

    CapturedMessages.clear();
    int calls = 0;
    ASSERT_TRUE(SUMRATINGCHANGES(folder, chosen, [&](int done, int total) {
        EXPECT_EQ(total, 4);
        EXPECT_EQ(done, ++calls);
        return true;
    }));
    EXPECT_EQ(suspiciousMessages(), std::vector<std::string>{"Suspicious file:" + chosen[3]});
    EXPECT_EQ(RatingSum(1), 28);  // Ana, both files, any letter case
    EXPECT_EQ(RatingSum(2), -55); // Mira
    EXPECT_EQ(RatingSum(3), 0);   // Zoran played in none
    EXPECT_EQ(RatingSum(4), 4);   // Petar
    EXPECT_EQ(RatingSum(5), 90);  // "Jovan " got Jovan's rating, so he is counted as Jovan
    EXPECT_EQ(UPDATERESULTROW(1), std::string("Ana") + std::string(29, ' ') + "\t1000\t  2.80\t1003");
    EXPECT_EQ(UPDATERESULTROW(2), std::string("Mira") + std::string(28, ' ') + "\t   2\t -5.50\t   0");
    EXPECT_EQ(UPDATERESULTROW(1).size(), 49u);
    // Nothing changes before the save.
    EXPECT_EQ(readFile(PlayersFile), registerBefore);

    ASSERT_TRUE(SAVERATINGUPDATE());
    const std::string afterFirst = rec("Ana", 1003, 3) + rec("Mira", 0, -6) + rec("Zoran", 500, 0) +
                                   rec("Petar", 300, 0) + rec("Jovan", 609, 9);
    EXPECT_EQ(readFile(PlayersFile), afterFirst);
    EXPECT_EQ(readFile(RATINGBACKUPNAME()), registerBefore);
    EXPECT_EQ(RegRating(1), 1003);
    EXPECT_EQ(RegDelta(2), -6);

    // The same day again, over the second evening only: one copy, holding the
    // register as it was before this save.
    ASSERT_TRUE(SUMRATINGCHANGES(folder, {chosen[1]}));
    ASSERT_TRUE(SAVERATINGUPDATE());
    EXPECT_EQ(readFile(RATINGBACKUPNAME()), afterFirst);
    EXPECT_EQ(readFile(PlayersFile), rec("Ana", 1004, 1) + rec("Mira", 0, -3) + rec("Zoran", 500, 0) +
                                         rec("Petar", 300, 0) + rec("Jovan", 609, 0));
    int copies = 0;
    for (const auto& e : fs::directory_iterator(ProgramFolder))
        if (e.path().filename().string().rfind("Players2", 0) == 0) ++copies;
    EXPECT_EQ(copies, 1);
}

// A save that cannot be written leaves the register in memory as it was.
TEST_F(UpdateTest, FailedSaveKeepsTheRegister) {
    writeFile(PlayersFile, rec("Ana", 1000, 11));
    ASSERT_EQ(LOADPLAYERS(), 1);
    ratedFile("a.otr", "A", {{"Ana", 4.0f}});
    ASSERT_TRUE(SUMRATINGCHANGES(folder, FINDFILESINDIR(folder)));
    SafeWriteTest.failAfterBytes = 3;
    EXPECT_FALSE(SAVERATINGUPDATE());
    EXPECT_EQ(RegRating(1), 1000);
    EXPECT_EQ(RegDelta(1), 11);
    EXPECT_EQ(readFile(PlayersFile), rec("Ana", 1000, 11));
}

// Another program changed the register between the sum and the save: the save
// is made on the register as it is then. Each sum goes to its own player, a
// player added meanwhile keeps his rating and delta, a removed one stays away,
// and the dated copy holds the register the save replaced.
TEST_F(UpdateTest, SaveKeepsWhatAnotherProgramChanged) {
    writeFile(PlayersFile, rec("Ana", 1000, 11) + rec("Mira", 500, 4) + rec("Zoran", 300, 7));
    ASSERT_EQ(LOADPLAYERS(), 3);
    ratedFile("a.otr", "A", {{"Ana", 4.0f}, {"Zoran", -2.0f}, {"Mira", 1.0f}});
    ASSERT_TRUE(SUMRATINGCHANGES(folder, FINDFILESINDIR(folder)));
    const std::string meanwhile = rec("Bora", 700, 700) + rec("Zoran", 300, 7) + rec("Ana", 1000, 11);
    writeFile(PlayersFile, meanwhile);
    ASSERT_TRUE(SAVERATINGUPDATE());
    EXPECT_EQ(readFile(PlayersFile),
              rec("Bora", 700, 700) + rec("Zoran", 298, -2) + rec("Ana", 1004, 4));
    EXPECT_EQ(readFile(RATINGBACKUPNAME()), meanwhile);
    EXPECT_EQ(RegisteredCount, 3);

    // While another program holds the register's lock, the save waits, then says
    // so and changes nothing.
    FileLock other;
    std::string reason;
    ASSERT_TRUE(LOCKFILE(PlayersFile, other, reason)) << reason;
    FileLockWaitMs = 50;
    const std::string before = readFile(PlayersFile);
    ASSERT_TRUE(SUMRATINGCHANGES(folder, FINDFILESINDIR(folder)));
    EXPECT_FALSE(SAVERATINGUPDATE());
    EXPECT_EQ(readFile(PlayersFile), before);
    EXPECT_EQ(RegRating(3), 1004);
}

// Files of the older format, made byte by byte: one change per pair, given to
// both players; a file whose changes are all 0 is suspicious but still read.
TEST_F(UpdateTest, OlderFormatCountsThePairChangeForBoth) {
    writeFile(PlayersFile, rec("Ana", 100, 0) + rec("Mira", 100, 0));
    LOADPLAYERS();
    const auto i32 = [](std::int32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    const auto f32 = [](float v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    const auto name = [](const std::string& s) { return s + std::string(32 - s.size(), ' '); };
    const auto oldFile = [&](const std::string& title, float change1, float change2) {
        std::string b = i32(2) + i32(1) + i32(1) + i32(1) + i32(1) + i32(2) + i32(0);
        b += title + std::string(64 - title.size(), ' ');
        b += name("Ana") + name("Pera") + name("Mira") + name("Laza"); // first players, then second
        b += f32(0.0f);                                                  // one result
        b += i32(-1) + f32(change1) + f32(change2);                      // rated, one change a pair
        return b;
    };
    writeFile(FOLDERFILE(folder, "old1.otr"), oldFile("Stari", 2.0f, 0.0f));
    writeFile(FOLDERFILE(folder, "old2.otr"), oldFile("Nule", 0.0f, 0.0f));
    const std::vector<std::string> items = FINDFILESINDIR(folder);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_NE(items[0].find(" Stari [old1.otr]"), std::string::npos) << items[0];
    CapturedMessages.clear();
    ASSERT_TRUE(SUMRATINGCHANGES(folder, items));
    EXPECT_EQ(suspiciousMessages(), std::vector<std::string>{"Suspicious file:" + items[1]});
    EXPECT_EQ(CapturedMessages.back().caption, "Error");
    EXPECT_EQ(RatingSum(1), 20); // Ana, first player of pair 1
    EXPECT_EQ(RatingSum(2), 20); // Mira, her partner
}

// A change as the rating step stores it: one decimal, moved 0.00001 from zero.
float stored(float v) {
    return v >= 0.0f ? v + 0.00001f : v - 0.00001f;
}

// Sums that are exactly halves are rounded once, away from zero, in whatever
// order the files come: the stored changes' small shifts from zero must not
// decide a rating point. The rows, the save and the register agree.
TEST_F(UpdateTest, HalvesAreRoundedOnceInEveryFileOrder) {
    writeFile(PlayersFile, rec("Ana", 386, 0) + rec("Bora", 610, 0) + rec("Ceca", 100, 0) +
                               rec("Dule", 2, 0));
    ASSERT_EQ(LOADPLAYERS(), 4);
    const std::string before = readFile(PlayersFile);
    // Per player: 0.5, -0.5, 2.5 and -5.5 over the three evenings.
    ratedFile("e1.otr", "1", {{"Ana", stored(-3.4f)}, {"Bora", stored(-4.0f)},
                              {"Ceca", stored(-1.4f)}, {"Dule", stored(-6.0f)}});
    ratedFile("e2.otr", "2", {{"Ana", stored(-0.1f)}, {"Bora", stored(0.1f)},
                              {"Ceca", stored(-0.1f)}, {"Dule", stored(0.2f)}});
    ratedFile("e3.otr", "3", {{"Ana", stored(4.0f)}, {"Bora", stored(3.4f)},
                              {"Ceca", stored(4.0f)}, {"Dule", stored(0.3f)}});
    std::vector<std::string> items = FINDFILESINDIR(folder);
    ASSERT_EQ(items.size(), 3u);
    std::sort(items.begin(), items.end());
    const auto row = [](const char* name, const char* rest) {
        return std::string(name) + std::string(32 - std::strlen(name), ' ') + rest;
    };
    do {
        ASSERT_TRUE(SUMRATINGCHANGES(folder, items));
        EXPECT_EQ(UPDATERESULTROW(1), row("Ana", "\t 386\t  0.50\t 387"));
        EXPECT_EQ(UPDATERESULTROW(2), row("Bora", "\t 610\t -0.50\t 610")); // 609.5
        EXPECT_EQ(UPDATERESULTROW(3), row("Ceca", "\t 100\t  2.50\t 103"));
        EXPECT_EQ(UPDATERESULTROW(4), row("Dule", "\t   2\t -5.50\t   0"));
        EXPECT_EQ(NEWDELTA(1), 1);
        EXPECT_EQ(NEWDELTA(2), -1);
        EXPECT_EQ(NEWDELTA(3), 3);
        EXPECT_EQ(NEWDELTA(4), -6);
    } while (std::next_permutation(items.begin(), items.end()));

    ASSERT_TRUE(SAVERATINGUPDATE());
    EXPECT_EQ(readFile(PlayersFile),
              rec("Ana", 387, 1) + rec("Bora", 610, -1) + rec("Ceca", 103, 3) + rec("Dule", 0, -6));
    EXPECT_EQ(readFile(RATINGBACKUPNAME()), before);
}

// Every chosen file counts or is named: a name of 31 or 32 characters is counted
// for the registered player whose rating it got, a tournament name holding "["
// does not hide its file, and a file that cannot be read is said and left out.
TEST_F(UpdateTest, EveryChosenFileCountsOrIsNamed) {
    const std::string thirty = "Aleksandar Petrovic-Njegosevic"; // 30 characters
    ASSERT_EQ(thirty.size(), 30u);
    writeFile(PlayersFile, rec(thirty, 500, 0) + rec("Ana", 700, 0));
    ASSERT_EQ(LOADPLAYERS(), 2);
    ratedFile("long.otr", "Kup", {{thirty + "ic", 1.0f}, {"Ana", 0.5f}});
    ratedFile("bracket.otr", "Kup [finale]", {{thirty + "X", 2.0f}, {"ana", 1.0f}});
    writeFile(FOLDERFILE(folder, "empty.otr"), "");
    writeFile(FOLDERFILE(folder, "text.otr"), "not a tournament at all, but long enough to be read");
    {
        const std::string bytes = readFile(FOLDERFILE(folder, "long.otr"));
        writeFile(FOLDERFILE(folder, "cut.otr"), bytes.substr(0, 6));
    }
    std::vector<std::string> items = FINDFILESINDIR(folder);
    ASSERT_EQ(items.size(), 5u);
    // The rating look-up and the sum agree on the long name.
    ASSERT_TRUE(OPENNTRFILE(FOLDERFILE(folder, "long.otr")));
    ASSERT_TRUE(RatingMode != 0);
    ASSIGNPAIRRATING();
    EXPECT_EQ(PlayerRating(1, 1), 500);
    CLOSETOURNAMENT();

    CapturedMessages.clear();
    ASSERT_TRUE(SUMRATINGCHANGES(folder, items));
    EXPECT_EQ(RatingSum(1), 30);
    EXPECT_EQ(RatingSum(2), 15);
    std::vector<std::string> named = suspiciousMessages();
    std::sort(named.begin(), named.end());
    ASSERT_EQ(named.size(), 3u);
    for (const char* file : {"cut.otr", "empty.otr", "text.otr"}) {
        const std::string tail = std::string(" [") + file + "]";
        EXPECT_EQ(std::count_if(named.begin(), named.end(),
                                [&](const std::string& m) {
                                    return m.size() > tail.size() &&
                                           m.compare(m.size() - tail.size(), tail.size(), tail) == 0;
                                }),
                  1)
            << file;
    }
    EXPECT_EQ(RatingFilesLeftOut.size(), 3u);
}

// Statistics ---------------------------------------------------------------

class StatisticsTest : public UpdateTest {
  protected:
    // Four pairs in a custom movement, every board played by 1 against 2 and 3
    // against 4; pair 1's board results adjusted as given (6 = 60 %).
    void seasonFile(const std::string& file, int calc, const std::vector<int>& pair1,
                    const char* first = "Ana") {
        if (TournamentOpen) CLOSETOURNAMENT();
        DEFAULTHEADER();
        CalcType = calc;
        MovementType = MOVE_CUSTOM;
        NumPairs = 4;
        NumRounds = 2;
        BoardsPerRound = 1;
        NumBoards = static_cast<int>(pair1.size());
        NumBoardSets = NumBoards;
        ASSERT_TRUE(INITTOURNAMENT());
        for (int b = 1; b <= NumBoards; ++b) {
            Movement(b, 1, 1) = 1, Movement(b, 1, 2) = 2;
            Movement(b, 2, 1) = 3, Movement(b, 2, 2) = 4;
            SetEntries(b) = 2;
            Results(b, 1) = ENCODEADJUSTED(pair1[static_cast<std::size_t>(b - 1)],
                                           10 - pair1[static_cast<std::size_t>(b - 1)]);
            Results(b, 2) = ENCODEADJUSTED(5, 5);
        }
        setName(1, 1, first);
        setName(1, 2, "Mira");
        setName(2, 1, "Petar");
        setName(2, 2, "Laza");
        TournamentFile = FOLDERFILE(folder, file);
        ASSERT_TRUE(WRITENTRFILE());
        CLOSETOURNAMENT();
    }
};

TEST_F(StatisticsTest, AveragesCountsAndSnapshot) {
    writeFile(PlayersFile, rec("Ana", 1200, 0) + rec("Mira", 700, 0) + rec("Zoran", 450, 0) +
                               rec("Petar", 1000000 - 1, 0));
    ASSERT_EQ(LOADPLAYERS(), 4);
    seasonFile("t1.otr", CALC_MATCHPOINTS, {6, 5});
    seasonFile("t2.otr", CALC_MATCHPOINTS, {6});
    seasonFile("t3.otr", CALC_MATCHPOINTS, {5}, "ANA");
    seasonFile("t4.otr", CALC_IMPS, {7});
    // What the reader makes of the files, so that the figures below are the program's own.
    ASSERT_TRUE(OPENNTRFILE(FOLDERFILE(folder, "t1.otr")));
    ASSERT_FLOAT_EQ(PairPercent(1), 55.0f);
    CLOSETOURNAMENT();
    ASSERT_TRUE(OPENNTRFILE(FOLDERFILE(folder, "t4.otr")));
    const float imp = PairPercent(1);
    CLOSETOURNAMENT();

    const std::string snapshot = (tempDir() / "Players20020102.opd").string();
    writeFile(snapshot, rec("ana", 1150, 0) + rec("Petar", -99999, 0) + std::string(30, 'x') + "  12x4\r\n" +
                            rec("Mira", 1, 0));
    const std::string stat = (tempDir() / "Stat.txt").string();
    CapturedMessages.clear();
    int read = 0;
    ASSERT_TRUE(STATISTICS(folder, snapshot, stat, &read));
    EXPECT_EQ(read, 4);
    EXPECT_TRUE(CapturedMessages.empty());
    EXPECT_FALSE(TournamentOpen);

    const auto pad = [](const std::string& s) { return s + std::string(28 - s.size(), ' '); };
    const std::string lines = readFile(stat);
    const std::string expected =
        pad("Ana") + "   3 55.00   1" + FWRITE(imp, 6, 2, true) + "  1200  1150    50\r\n" +
        // Mira: her snapshot record comes after an unreadable line, so it is not read.
        pad("Mira") + "   3 55.00   1" + FWRITE(imp, 6, 2, true) + "   700     0   700\r\n" +
        pad("Zoran") + "   0  0.00   0  0.00   450     0   450\r\n" +
        pad("Petar") + "   3" + FWRITE(SeasonStatistics[3].mpAverage, 6, 2, true) + "   1" +
        FWRITE(SeasonStatistics[3].impAverage, 6, 2, true) + "999999-99999******\r\n";
    EXPECT_EQ(lines, expected);
    EXPECT_FLOAT_EQ(SeasonStatistics[3].mpAverage, (45.0f + 40.0f + 50.0f) / 3.0f);

    // No folder and no snapshot: zero counts, snapshot 0, and a file all the same.
    ASSERT_TRUE(STATISTICS((tempDir() / "none").string(), (tempDir() / "none.opd").string(), stat));
    EXPECT_EQ(readFile(stat).substr(0, 66), pad("Ana") + "   0  0.00   0  0.00  1200     0  1200");
}

// A name of 32 characters counts for the registered player whose rating it
// gets; a snapshot that is a folder is said, and nothing is read or written.
TEST_F(StatisticsTest, LongNamesCountAndAFolderSnapshotIsRefused) {
    const std::string thirty = "Aleksandar Petrovic-Njegosevic";
    writeFile(PlayersFile, rec(thirty, 1200, 0));
    ASSERT_EQ(LOADPLAYERS(), 1);
    seasonFile("t1.otr", CALC_MATCHPOINTS, {6}, (thirty + "ic").c_str());
    const std::string stat = (tempDir() / "Stat.txt").string();
    ASSERT_TRUE(STATISTICS(folder, (tempDir() / "none.opd").string(), stat));
    EXPECT_EQ(SeasonStatistics[0].mpCount, 1);
    EXPECT_FLOAT_EQ(SeasonStatistics[0].mpAverage, 60.0f);

    fs::remove(stat);
    const std::string snapshotFolder = (tempDir() / "Players20020102.opd").string();
    fs::create_directories(snapshotFolder);
    CapturedMessages.clear();
    int read = -1;
    EXPECT_FALSE(STATISTICS(folder, snapshotFolder, stat, &read));
    ASSERT_EQ(CapturedMessages.size(), 1u);
    EXPECT_NE(CapturedMessages[0].text.find(snapshotFolder + " cannot be read"), std::string::npos)
        << CapturedMessages[0].text;
    EXPECT_FALSE(fs::exists(stat));
    EXPECT_EQ(read, -1);
}

} // namespace
