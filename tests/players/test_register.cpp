// The players register: its file read and written, name matching, the list
// orders and the changes of Edit Player List and Check Names.
#include "playerstest.h"

#include "core/filelock.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

std::vector<std::string> backups() {
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(ProgramFolder)) {
        const std::string n = e.path().filename().string();
        if (n != "Players.opd" && n.rfind("Players", 0) == 0) found.push_back(e.path().string());
    }
    return found;
}

TEST_F(PlayersTest, LoadsWhatTheFileHolds) {
    // No file: an empty register, nothing said.
    EXPECT_EQ(LOADPLAYERS(), 0);
    EXPECT_TRUE(CapturedMessages.empty());
    EXPECT_EQ(PlayersFile, (tempDir() / "Players.opd").string());

    writeFile(PlayersFile, "");
    EXPECT_EQ(LOADPLAYERS(), 0);

    // Full records, a short one (no numbers), a blank number field, LF alone and a
    // last line without its line end; a name in Windows-1250.
    writeFile(PlayersFile, rec(cp("Đorđe Šćekić"), 1234, -56) + "Name\r\n" +
                               rec("Blank delta", 700, 0).substr(0, 36) + "\n" +
                               rec("Negative", -99999, 999999).substr(0, 42));
    ASSERT_EQ(LOADPLAYERS(), 4);
    EXPECT_EQ(CP1250TOUTF8(name(1)), "Đorđe Šćekić");
    EXPECT_EQ(RegRating(1), 1234);
    EXPECT_EQ(RegDelta(1), -56);
    EXPECT_EQ(name(2), "Name");
    EXPECT_EQ(RegRating(2), 0);
    EXPECT_EQ(RegDelta(2), 0);
    EXPECT_EQ(RegRating(3), 700);
    EXPECT_EQ(RegDelta(3), 0);
    EXPECT_EQ(RegRating(4), -99999);
    EXPECT_EQ(RegDelta(4), 999999);
    EXPECT_EQ(RegCapacity, 100);
    EXPECT_TRUE(CapturedMessages.empty());

    // Rewritten, the file holds exactly the register, in 42 columns and CR LF.
    ASSERT_TRUE(WRITEPLAYERSFILE());
    EXPECT_EQ(readFile(PlayersFile), rec(cp("Đorđe Šćekić"), 1234, -56) + rec("Name", 0, 0) +
                                         rec("Blank delta", 700, 0) +
                                         rec("Negative", -99999, 999999));
}

TEST_F(PlayersTest, GrowsBeyondAHundredKeepingEveryone) {
    std::string file;
    for (int i = 1; i <= 101; ++i)
        file += rec("Player " + std::to_string(i), i * 10, -i);
    writeFile(PlayersFile, file);
    ASSERT_EQ(LOADPLAYERS(), 101);
    EXPECT_EQ(RegCapacity, 151);
    for (int i = 1; i <= 101; ++i) {
        EXPECT_EQ(name(i), "Player " + std::to_string(i));
        EXPECT_EQ(RegRating(i), i * 10);
        EXPECT_EQ(RegDelta(i), -i);
    }
    // And once more through the changes: the 152nd player grows them again.
    for (int i = 102; i <= 152; ++i)
        ASSERT_TRUE(APPENDREGPLAYER("Player " + std::to_string(i), i));
    EXPECT_EQ(RegisteredCount, 152);
    EXPECT_EQ(RegCapacity, 202);
    EXPECT_EQ(name(1), "Player 1");
    EXPECT_EQ(LOADPLAYERS(), 152);
}

// A record that cannot be read ends the load, but nobody after it is ever lost:
// the user is told, the original is kept as a dated copy, and the next save
// (an append included) rewrites a file that can be read whole.
TEST_F(PlayersTest, ABadLineKeepsTheWholeFileAside) {
    const std::string original =
        rec("Ana", 500, 1) + rec("Bad", 0, 0).replace(33, 1, "x") + rec("Cecilija", 700, 3);
    writeFile(PlayersFile, original);
    ASSERT_EQ(LOADPLAYERS(), 1);
    ASSERT_EQ(CapturedMessages.size(), 1u);
    EXPECT_NE(CapturedMessages[0].text.find("Line 2 of the players register"), std::string::npos);
    EXPECT_NE(CapturedMessages[0].text.find("loaded up to it (1 player)"), std::string::npos);
    ASSERT_EQ(backups().size(), 1u);
    EXPECT_EQ(backups()[0], PlayersBackupFile);
    EXPECT_NE(CapturedMessages[0].text.find(PlayersBackupFile), std::string::npos);
    EXPECT_EQ(readFile(PlayersBackupFile), original);

    ASSERT_TRUE(APPENDREGPLAYER("Dragan", 300));
    EXPECT_EQ(readFile(PlayersFile), rec("Ana", 500, 1) + rec("Dragan", 300, 300));
    EXPECT_EQ(readFile(PlayersBackupFile), original);
    // Later saves append and rewrite as usual; the copy stays as it was.
    ASSERT_TRUE(APPENDREGPLAYER("Eva", 100));
    ASSERT_TRUE(REMOVEREGPLAYER("Ana"));
    EXPECT_EQ(readFile(PlayersFile), rec("Dragan", 300, 300) + rec("Eva", 100, 100));
    EXPECT_EQ(backups().size(), 1u);

    // The same damaged file read again is not copied again (it was at every start
    // and every command); another damaged content gets a copy of its own, and a
    // refusal over it writes nothing at all.
    writeFile(PlayersFile, original);
    for (int n = 0; n < 3; ++n)
        LOADPLAYERS();
    EXPECT_EQ(backups().size(), 1u);
    EXPECT_EQ(PlayersBackupFile, backups()[0]);
    const std::string other = original + rec("Dragan", 1, 1);
    writeFile(PlayersFile, other);
    LOADPLAYERS();
    EXPECT_EQ(backups().size(), 2u);
    EXPECT_EQ(readFile(PlayersBackupFile), other);
    EXPECT_FALSE(REMOVEREGPLAYER("Nobody"));
    EXPECT_FALSE(CHANGEREGRATING("Nobody", 5));
    EXPECT_FALSE(REGISTERNEWPLAYER("Ana"));
    EXPECT_EQ(readFile(PlayersFile), other);
    EXPECT_EQ(backups().size(), 2u);
}

// Blank lines (a file ended twice, an editor's last line) hold no player and do
// not stop the load; the file keeps them until it is rewritten.
TEST_F(PlayersTest, BlankLinesHoldNoPlayer) {
    const std::string bytes = rec("Ana", 500, 1) + "\r\n" + "   \n" + rec("Bora", 600, 2) + "\r\n";
    writeFile(PlayersFile, bytes);
    ASSERT_EQ(LOADPLAYERS(), 2);
    EXPECT_EQ(name(2), "Bora");
    EXPECT_TRUE(CapturedMessages.empty());
    EXPECT_TRUE(backups().empty());
    ASSERT_TRUE(APPENDREGPLAYER("Cica", 7));
    EXPECT_EQ(readFile(PlayersFile), bytes + rec("Cica", 7, 7));
    ASSERT_TRUE(CHANGEREGRATING("Ana", 501));
    EXPECT_EQ(readFile(PlayersFile), rec("Ana", 501, 1) + rec("Bora", 600, 2) + rec("Cica", 7, 7));
}

// Another program (a second window, orla-cli) changed the file since it was read:
// every change is made on the file as it is then, so nobody's change is lost.
TEST_F(PlayersTest, AnotherProgramsChangesAreKept) {
    writeFile(PlayersFile, rec("Ana", 500, 1));
    LOADPLAYERS();
    writeFile(PlayersFile, rec("Ana", 500, 1) + rec("Bora", 600, 2));
    ASSERT_TRUE(APPENDREGPLAYER("Cica", 7));
    EXPECT_EQ(readFile(PlayersFile), rec("Ana", 500, 1) + rec("Bora", 600, 2) + rec("Cica", 7, 7));
    EXPECT_EQ(RegisteredCount, 3);

    writeFile(PlayersFile, rec("Ana", 500, 1) + rec("Cica", 7, 7) + rec("Dragan", 1, 1));
    EXPECT_FALSE(APPENDREGPLAYER("dragan", 3)); // registered meanwhile
    ASSERT_TRUE(REGISTERNEWPLAYER("Eva"));
    EXPECT_EQ(readFile(PlayersFile),
              rec("Ana", 500, 1) + rec("Cica", 7, 7) + rec("Dragan", 1, 1) + rec("Eva", 0, 0));

    writeFile(PlayersFile, rec("Ana", 500, 1) + rec("Eva", 0, 0) + rec("Fred", 9, 9));
    ASSERT_TRUE(CHANGEREGRATING("Eva", 100));
    EXPECT_EQ(readFile(PlayersFile), rec("Ana", 500, 1) + rec("Eva", 100, 0) + rec("Fred", 9, 9));
    writeFile(PlayersFile, rec("Eva", 100, 0) + rec("Fred", 9, 9) + rec("Ana", 500, 1));
    ASSERT_TRUE(REMOVEREGPLAYER("Fred"));
    EXPECT_EQ(readFile(PlayersFile), rec("Eva", 100, 0) + rec("Ana", 500, 1));
    EXPECT_EQ(name(2), "Ana");

    // While another program holds the lock, a change waits, then says so and
    // writes nothing.
    const std::string before = readFile(PlayersFile);
    FileLock other;
    std::string reason;
    ASSERT_TRUE(LOCKFILE(PlayersFile, other, reason)) << reason;
    FileLockWaitMs = 100;
    CapturedMessages.clear();
    EXPECT_FALSE(APPENDREGPLAYER("Goran", 5));
    EXPECT_FALSE(REMOVEREGPLAYER("Ana"));
    ASSERT_EQ(CapturedMessages.size(), 2u);
    EXPECT_NE(CapturedMessages[0].text.find("is not changed: another program is changing it"),
              std::string::npos)
        << CapturedMessages[0].text;
    EXPECT_EQ(readFile(PlayersFile), before);
    EXPECT_EQ(RegisteredCount, 2);
    UNLOCKFILE(other);
    EXPECT_TRUE(APPENDREGPLAYER("Goran", 5));
    // The lock file goes with the lock.
    EXPECT_FALSE(fs::exists(PlayersFile + ".lock"));
}

#ifndef _WIN32
// A register that is a pipe (or any file that is not a regular one) would hang
// every command: it is not read, the user is told, and it is never replaced.
TEST_F(PlayersTest, OnlyARegularFileIsRead) {
    ASSERT_EQ(::mkfifo(PlayersFile.c_str(), 0600), 0);
    EXPECT_EQ(LOADPLAYERS(), 0);
    ASSERT_EQ(CapturedMessages.size(), 1u);
    EXPECT_NE(CapturedMessages[0].text.find("(it is not a regular file)"), std::string::npos)
        << CapturedMessages[0].text;
    EXPECT_FALSE(APPENDREGPLAYER("Ana", 5));
    EXPECT_TRUE(fs::is_fifo(PlayersFile));
}
#endif

TEST_F(PlayersTest, NamesMatchByTheirFirstThirtyCharactersWithoutCase) {
    struct Row {
        std::string tournament, registered;
        bool match;
    };
    const std::string thirty = "Aleksandar Konstantinovic-Popo"; // 30 characters
    const Row rows[] = {
        {"Ana Jovic", "ana jovic", true},
        {"ANA JOVIC", "Ana Jovic", true},
        {"Ana Jovic ", "Ana Jovic", true},
        {"Ana Jovi", "Ana Jovic", false},
        {"Ana Jovic", "Ana Jovi", false},
        {thirty + "v", thirty, true},  // 31 characters: the last does not count
        {thirty, thirty + "v", false}, // the registered name counts whole
        {cp("Šime Čakić"), cp("šime čakić"), false}, // only A-Z change case
        {std::string("Ana\0xyz", 7), "Ana", true},   // a NUL ends a name
        {"", "", true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(NameMatches(r.tournament, r.registered), r.match)
            << r.tournament << " / " << r.registered;

    writeFile(PlayersFile, rec("Marko Markovic", 10, 0) + rec("marko markovic", 20, 0));
    LOADPLAYERS();
    EXPECT_EQ(FINDREGPLAYER("MARKO MARKOVIC"), 1);
    EXPECT_EQ(FINDREGPLAYER("Nobody"), 0);
    // Add refuses another spelling of a registered name, and says so.
    EXPECT_FALSE(APPENDREGPLAYER("Marko MARKOVIC", 5));
    EXPECT_FALSE(REGISTERNEWPLAYER("marko Markovic"));
    EXPECT_EQ(RegisteredCount, 2);
    EXPECT_EQ(CapturedMessages.back().text, "Name: \"marko Markovic\" is already registered.");
}

TEST_F(PlayersTest, SortsByNameRatingAndDelta) {
    writeFile(PlayersFile, rec("ana", 5, 3) + rec("Zoran", 9, -1) + rec("Bora", 9, 7) +
                               rec("Ana", 1, 7) + rec("ana", 2, 0));
    LOADPLAYERS();
    auto order = [] {
        std::vector<int> o;
        for (int k = 1; k <= RegisteredCount; ++k)
            o.push_back(RegOrder(k));
        return o;
    };
    // Capital letters before small ones; equal names in register order.
    SORTPLAYERS(SORT_NAME);
    EXPECT_EQ(order(), (std::vector<int>{4, 3, 2, 1, 5}));
    // Highest first; the earlier of equal ratings first.
    SORTPLAYERS(SORT_RATING);
    EXPECT_EQ(order(), (std::vector<int>{2, 3, 1, 5, 4}));
    SORTPLAYERS(SORT_DELTA);
    EXPECT_EQ(order()[0], 3);
    EXPECT_EQ(order()[1], 4);
    EXPECT_EQ(order()[4], 2);
    SORTPLAYERS(0);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3, 4, 5}));

    // Rows: name, tab, rating and delta in 4 characters (wider numbers whole), 50 in all.
    SORTPLAYERS(SORT_RATING);
    EXPECT_EQ(PLAYERLISTROW(1), std::string("Zoran\t   9\t  -1").append(35, ' '));
    RegRating(2) = 123456;
    EXPECT_EQ(PLAYERLISTROW(1).substr(0, 20), "Zoran\t123456\t  -1   ");
    EXPECT_EQ(PLAYERLISTROW(1).size(), 50u);
}

TEST_F(PlayersTest, ChangesAreSavedAtOnce) {
    // Check Names' Add creates the file with rating 0.
    ASSERT_TRUE(REGISTERNEWPLAYER(cp("Žika Žikić")));
    EXPECT_EQ(readFile(PlayersFile), rec(cp("Žika Žikić"), 0, 0));
    // Edit Player List's Add appends, the rating as rating and delta.
    ASSERT_TRUE(APPENDREGPLAYER("Mira", 850));
    ASSERT_TRUE(APPENDREGPLAYER("Pera", -20));
    EXPECT_EQ(readFile(PlayersFile),
              rec(cp("Žika Žikić"), 0, 0) + rec("Mira", 850, 850) + rec("Pera", -20, -20));
    // An append keeps what the file holds, and starts on a line of its own.
    writeFile(PlayersFile, readFile(PlayersFile) + "Typed by hand     12");
    ASSERT_TRUE(APPENDREGPLAYER("Laza", 1));
    EXPECT_NE(readFile(PlayersFile).find("Typed by hand     12\r\n" + rec("Laza", 1, 1)),
              std::string::npos);
    // Change Rating keeps the delta; Remove closes the gap. The line typed by hand
    // is a player of its own (rating 0), kept by every later save.
    ASSERT_TRUE(CHANGEREGRATING("MIRA", 900));
    EXPECT_EQ(RegRating(2), 900);
    EXPECT_EQ(RegDelta(2), 850);
    ASSERT_TRUE(REMOVEREGPLAYER("mira"));
    EXPECT_EQ(RegisteredCount, 4);
    EXPECT_EQ(name(2), "Pera");
    const std::string kept = rec(cp("Žika Žikić"), 0, 0) + rec("Pera", -20, -20) +
                             rec("Typed by hand     12", 0, 0) + rec("Laza", 1, 1);
    EXPECT_EQ(readFile(PlayersFile), kept);

    // Refusals say why and write nothing, not even for an unknown name.
    CapturedMessages.clear();
    EXPECT_FALSE(APPENDREGPLAYER("X ", 5));
    EXPECT_FALSE(REGISTERNEWPLAYER(""));
    EXPECT_EQ(CapturedMessages.back().text, "Name: type a name of at least 2 characters.");
    // A line break in a tournament's name would split the register's line in two.
    EXPECT_FALSE(REGISTERNEWPLAYER("Mirko\nMirkovic"));
    EXPECT_EQ(CapturedMessages.back().text,
              "Name: the control character \u240A (U+000A) cannot be kept in a name.");
    EXPECT_FALSE(APPENDREGPLAYER("Mirko\x1b[2J", 5));
    EXPECT_EQ(RegisteredCount, 4);
    const auto written = fs::last_write_time(PlayersFile);
    fs::last_write_time(PlayersFile, written - std::chrono::hours(1));
    EXPECT_FALSE(REMOVEREGPLAYER("Nobody"));
    EXPECT_EQ(CapturedMessages.back().text, "Name: \"Nobody\" is not registered; nobody was removed.");
    EXPECT_FALSE(CHANGEREGRATING("Nobody", 5));
    EXPECT_FALSE(APPENDREGPLAYER("Big", 1000000));
    EXPECT_FALSE(CHANGEREGRATING("Pera", -100000));
    EXPECT_EQ(CapturedMessages.back().text,
              "Rating: -100000 is not a rating the register can hold (-99999 to 999999).");
    EXPECT_EQ(fs::last_write_time(PlayersFile), written - std::chrono::hours(1));
    EXPECT_EQ(readFile(PlayersFile), kept);
    EXPECT_EQ(RegisteredCount, 4);
    EXPECT_EQ(RegRating(2), -20);

    // The rating field: its first 6 characters, blanks ignored, other text 0.
    EXPECT_EQ(REGRATINGFROMTEXT(" 1 250 "), 1250);
    EXPECT_EQ(REGRATINGFROMTEXT("-45"), -45);
    EXPECT_EQ(REGRATINGFROMTEXT("12a"), 0);
    EXPECT_EQ(REGRATINGFROMTEXT("1234567"), 123456);
    EXPECT_EQ(REGRATINGFROMTEXT(""), 0);
    // A number field of any length: what no 32-bit value holds is refused, not
    // wrapped (20 digits overflowed the reader's arithmetic).
    struct Field {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    for (const Field& f : {Field{"11111111111111111111", false, 0}, Field{"-99999999999999999999", false, 0},
                           Field{"2147483647", true, 2147483647}, Field{"2147483648", false, 0},
                           Field{" -2147483648", true, INT32_MIN}, Field{"-2147483649", false, 0},
                           Field{" + 12", true, 12}}) {
        std::int32_t v = 7;
        EXPECT_EQ(REGFIELDVALUE(f.text, v), f.ok) << f.text;
        if (f.ok) {
            EXPECT_EQ(v, f.value) << f.text;
        }
    }
    std::string n;
    EXPECT_TRUE(REGNAMEFROMUTF8("Ćuk Đurić and a name longer than thirty", "Name", n));
    EXPECT_EQ(n.size(), 30u);
    EXPECT_FALSE(REGNAMEFROMUTF8("Ana 😀", "Name", n));
    EXPECT_NE(CapturedMessages.back().text.find("U+1F600"), std::string::npos);
}

// A write that fails is reported and undone: the register and the file stay as
// they were, and a number the file cannot hold is never written.
TEST_F(PlayersTest, AFailedSaveChangesNothing) {
    writeFile(PlayersFile, rec("Ana", 500, 0) + rec("Bora", 600, 0));
    LOADPLAYERS();
    const std::string before = readFile(PlayersFile);
    SafeWriteTest.failAfterBytes = 10;
    EXPECT_FALSE(REGISTERNEWPLAYER("Cica"));
    EXPECT_NE(CapturedMessages.back().text.find("could not be saved"), std::string::npos);
    EXPECT_FALSE(APPENDREGPLAYER("Cica", 5));
    EXPECT_FALSE(REMOVEREGPLAYER("Ana"));
    EXPECT_FALSE(CHANGEREGRATING("Bora", 5));
    EXPECT_EQ(CapturedMessages.size(), 4u);
    EXPECT_EQ(RegisteredCount, 2);
    EXPECT_EQ(name(1), "Ana");
    EXPECT_EQ(RegRating(2), 600);
    EXPECT_EQ(readFile(PlayersFile), before);

    SafeWriteTest = SafeWriteFaults{};
    RegDelta(2) = 1000000; // as a sum of many changes could make it
    EXPECT_FALSE(WRITEPLAYERSFILE());
    EXPECT_EQ(CapturedMessages.back().text,
              "The players register is not saved: the rating change of \"Bora\" is 1000000, "
              "which its 6-character field cannot hold (-99999 to 999999).");
    EXPECT_EQ(readFile(PlayersFile), before);

    // A folder where the register should be cannot be read: an empty register,
    // said so, and nothing replaces it.
    fs::remove(PlayersFile);
    fs::create_directory(PlayersFile);
    CapturedMessages.clear();
    EXPECT_EQ(LOADPLAYERS(), 0);
    ASSERT_EQ(CapturedMessages.size(), 1u);
    EXPECT_NE(CapturedMessages[0].text.find("could not be read"), std::string::npos);
    EXPECT_FALSE(APPENDREGPLAYER("Cica", 5));
    EXPECT_TRUE(fs::is_directory(PlayersFile));

    // Without a known folder nothing is read or written anywhere.
    ProgramFolder.clear();
    RESETPLAYERS();
    EXPECT_EQ(LOADPLAYERS(), 0);
    EXPECT_FALSE(REGISTERNEWPLAYER("Ana"));
    EXPECT_EQ(RegisteredCount, 0);
}

// An installed program's folder is the system's: the register then lives in the
// user's data folder, made when missing, and is saved there.
TEST_F(PlayersTest, TheRegisterLivesWhereItCanBeWritten) {
    const std::string user = UTF8OF(tempDir() / "home" / "data" / "ORLA");
    EnvVar portable("ORLA_PROGRAM_FOLDER", std::nullopt);
#ifdef _WIN32
    EnvVar dataHome("APPDATA", UTF8OF(tempDir() / "home" / "data"));
#else
    EnvVar dataHome("XDG_DATA_HOME", UTF8OF(tempDir() / "home" / "data"));
#endif

    SETPROGRAMFOLDER(UTF8OF(tempDir() / "usr" / "bin"));
    EXPECT_EQ(ProgramFolder, user);
    ASSERT_TRUE(fs::is_directory(user));
    RESETPLAYERS();
    LOADPLAYERS();
    EXPECT_TRUE(APPENDREGPLAYER("Ana", 500));
    EXPECT_EQ(readFile(PROGRAMFILE("Players.opd")), rec("Ana", 500, 500));
}

} // namespace
