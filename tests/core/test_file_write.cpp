// Saving never destroys the previous file: a write that fails part-way, or a
// program that dies before the new file takes the old one's place, leaves the old
// file as it was, and the user is told.
#include "test_file.h"

#include "core/safefile.h"
#include "core/tournamentfile.h"
#include "support/testsupport.h"

#include <chrono>
#include <fstream>
#include <set>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace filetest;

namespace {

class WriteTest : public OrlaTest {
  protected:
    void TearDown() override {
        SafeWriteTest = {};
        OrlaTest::TearDown();
    }

    std::set<std::string> folder() {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(tempDir()))
            names.insert(e.path().filename().string());
        return names;
    }

    // Saves a first version to club.otr and changes a result, unsaved.
    std::string saveFirstVersion() {
        makeTournament({MOVE_MITCHELL, CALC_MATCHPOINTS, 8, 12, 4, 3, true}, 21);
        TournamentFile = (tempDir() / "club.otr").string();
        EXPECT_TRUE(WRITENTRFILE());
        Results(1, 1) = 123.0f;
        SETSAVE(true);
        return readBytes(TournamentFile);
    }
};

TEST_F(WriteTest, ADiskThatFillsUpPartWayLeavesTheOldFile) {
    const std::string old = saveFirstVersion();
    for (long long n : {0LL, 1LL, 128LL, static_cast<long long>(old.size()) - 1}) {
        SCOPED_TRACE("fails after " + std::to_string(n) + " bytes");
        CapturedMessages.clear();
        SafeWriteTest.failAfterBytes = n;
        EXPECT_FALSE(WRITENTRFILE());
        EXPECT_TRUE(Modified);
        EXPECT_EQ(readBytes(TournamentFile), old);
        EXPECT_EQ(folder(), std::set<std::string>{"club.otr"}); // no temporary file left
        ASSERT_EQ(CapturedMessages.size(), 1u);
        EXPECT_EQ(CapturedMessages[0].caption, "Error");
        EXPECT_EQ(CapturedMessages[0].text, "The file " + TournamentFile +
                                                " could not be saved: No space left on device. "
                                                "The previous version is unchanged.");
    }
    SafeWriteTest = {};
    ASSERT_TRUE(WRITENTRFILE());
    EXPECT_FALSE(Modified);
    EXPECT_NE(readBytes(TournamentFile), old);
}

TEST_F(WriteTest, AProgramKilledBeforeTheRenameLeavesTheOldFile) {
    const std::string old = saveFirstVersion();
    SafeWriteTest.stopBeforeRename = true;
    EXPECT_FALSE(WRITENTRFILE());
    EXPECT_TRUE(Modified);
    EXPECT_EQ(readBytes(TournamentFile), old);
    // The complete new version waits beside it, as after a real kill.
    const std::set<std::string> names = folder();
    ASSERT_EQ(names.size(), 2u);
    const std::string temp = *names.rbegin();
    EXPECT_NE(temp, "club.otr");
    EXPECT_EQ(readBytes(tempDir() / temp).size(), old.size());
    EXPECT_NE(readBytes(tempDir() / temp), old);

    // The next save of the same file clears it away; another file's is left alone.
    std::filesystem::copy_file(tempDir() / temp, tempDir() / "other.tmp");
    SafeWriteTest = {};
    const std::string club = TournamentFile;
    TournamentFile = (tempDir() / "other.otr").string();
    ASSERT_TRUE(WRITENTRFILE());
    EXPECT_EQ(folder().count(temp), 1u);
    TournamentFile = club;
    ASSERT_TRUE(WRITENTRFILE());
    EXPECT_EQ(folder(), (std::set<std::string>{"club.otr", "other.otr", "other.tmp"}));
}

TEST_F(WriteTest, SavingFollowsAChainOfLinksToTheRealFile) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows";
#endif
    namespace fs = std::filesystem;
    fs::create_directory(tempDir() / "real");
    makeTournament({MOVE_MITCHELL, CALC_MATCHPOINTS, 8, 12, 4, 3, false}, 5);
    TournamentFile = (tempDir() / "real" / "real.otr").string();
    ASSERT_TRUE(WRITENTRFILE());
    // a.otr -> b.otr -> real/real.otr, the last link relative to its own folder.
    fs::create_symlink("real/real.otr", tempDir() / "b.otr");
    fs::create_symlink(tempDir() / "b.otr", tempDir() / "a.otr");
    Results(2, 1) = 77.0f;
    TournamentFile = (tempDir() / "a.otr").string();
    ASSERT_TRUE(WRITENTRFILE());
    EXPECT_TRUE(fs::is_symlink(tempDir() / "a.otr"));
    EXPECT_TRUE(fs::is_symlink(tempDir() / "b.otr"));
    const std::string saved = readBytes(tempDir() / "real" / "real.otr");
    EXPECT_EQ(readBytes(tempDir() / "a.otr"), saved);
    // The change reached the real file.
    ASSERT_TRUE(OPENNTRFILE((tempDir() / "real" / "real.otr").string()));
    EXPECT_EQ(Results(2, 1), 77.0f);

    // A loop of links is refused, and nothing is written; there was no file.
    fs::create_symlink(tempDir() / "loop2.otr", tempDir() / "loop1.otr");
    fs::create_symlink(tempDir() / "loop1.otr", tempDir() / "loop2.otr");
    TournamentFile = (tempDir() / "loop1.otr").string();
    CapturedMessages.clear();
    EXPECT_FALSE(WRITENTRFILE());
    ASSERT_EQ(CapturedMessages.size(), 1u);
    EXPECT_EQ(CapturedMessages[0].text, "The file " + TournamentFile +
                                            " could not be saved: Too many levels of symbolic "
                                            "links.");
    EXPECT_EQ(folder(),
              (std::set<std::string>{"a.otr", "b.otr", "loop1.otr", "loop2.otr", "real"}));
}

TEST_F(WriteTest, AReadOnlyFileIsRefusedAndAReplacedFileKeepsItsMode) {
    namespace fs = std::filesystem;
    const std::string old = saveFirstVersion();
    fs::permissions(TournamentFile, fs::perms::owner_read | fs::perms::group_read);
    CapturedMessages.clear();
    EXPECT_FALSE(WRITENTRFILE());
    EXPECT_TRUE(Modified);
    EXPECT_EQ(readBytes(TournamentFile), old);
#ifndef _WIN32 // Windows knows only a read-only mark
    EXPECT_EQ(fs::status(TournamentFile).permissions(),
              fs::perms::owner_read | fs::perms::group_read);
#endif
    ASSERT_EQ(CapturedMessages.size(), 1u);
    EXPECT_EQ(CapturedMessages[0].text, "The file " + TournamentFile +
                                            " could not be saved: the file is read-only. "
                                            "The previous version is unchanged.");
    EXPECT_EQ(folder(), std::set<std::string>{"club.otr"});
#ifdef _WIN32
    // Without the mark the file is saved, and stays writable.
    fs::permissions(TournamentFile, fs::perms::owner_write, fs::perm_options::add);
    ASSERT_TRUE(WRITENTRFILE());
    EXPECT_NE(readBytes(TournamentFile), old);
    EXPECT_NE(fs::status(TournamentFile).permissions() & fs::perms::owner_write, fs::perms::none);
#else
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                           fs::perms::others_read;
    fs::permissions(TournamentFile, mode);
    // Another user's file keeps its owner where the system lets the owner be given.
    const bool mayGiveOwner = ::geteuid() == 0;
    if (mayGiveOwner) {
        ASSERT_EQ(::chown(TournamentFile.c_str(), 4321, 4321), 0);
    }
    ASSERT_TRUE(WRITENTRFILE());
    EXPECT_NE(readBytes(TournamentFile), old);
    EXPECT_EQ(fs::status(TournamentFile).permissions(), mode);
    struct stat st {};
    ASSERT_EQ(::stat(TournamentFile.c_str(), &st), 0);
    if (mayGiveOwner) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4321u);
    }
#endif
}

TEST_F(WriteTest, ANameNearTheSystemsLimitCanBeSaved) {
    // 255 bytes, the longest name most file systems take.
    const std::string name = std::string(251, 'k') + ".otr";
    makeTournament({MOVE_BERGER, CALC_IMPS, 6, 10, 5, 2, false}, 9);
    TournamentFile = (tempDir() / name).string();
    ASSERT_TRUE(WRITENTRFILE()) << (CapturedMessages.empty() ? "" : CapturedMessages[0].text);
    EXPECT_EQ(folder(), std::set<std::string>{name});
    ASSERT_TRUE(WRITENTRFILE());
    EXPECT_EQ(folder(), std::set<std::string>{name});
}

// Another program (a second window, orla-cli) saved over the file since it was
// opened here: the save asks before it replaces that, and No (orla-cli's answer)
// leaves the other program's file. The program's own saves and an untouched
// file ask nothing.
TEST_F(WriteTest, ASaveOverAnotherProgramsChangeAsksFirst) {
    namespace fs = std::filesystem;
    saveFirstVersion();
    CLOSETOURNAMENT();
    ASSERT_TRUE(OPENNTRFILE(TournamentFile));
    Results(1, 1) = 7.0f;
    ASSERT_TRUE(WRITENTRFILE());
    ASSERT_TRUE(WRITENTRFILE());
    EXPECT_TRUE(CapturedMessages.empty());

    struct Row {
        const char* change; // what the other program did
        MessageAnswer answer;
        bool saved;
    };
    for (const Row row : {Row{"rewrote", ANSWER_NO, false}, Row{"touched", ANSWER_NO, false},
                          Row{"rewrote", ANSWER_YES, true}, Row{"removed", ANSWER_NO, false}}) {
        SCOPED_TRACE(std::string(row.change) + (row.saved ? ", Yes" : ", No"));
        const std::string other = "another program's tournament";
        const std::string change = row.change;
        if (change == "rewrote") {
            std::string reason;
            ASSERT_TRUE(SAFEWRITEFILE(TournamentFile, other.data(), other.size(), reason));
        } else if (change == "touched") {
            std::ofstream(TournamentFile, std::ios::binary) << other;
            fs::last_write_time(TournamentFile, fs::last_write_time(TournamentFile) + std::chrono::seconds(5));
        } else {
            fs::remove(TournamentFile);
        }
        const bool existed = fs::exists(TournamentFile);
        CapturedMessages.clear();
        NextAnswer = row.answer;
        SETSAVE(true);
        EXPECT_EQ(WRITENTRFILE(), row.saved);
        ASSERT_EQ(CapturedMessages.size(), 1u);
        EXPECT_EQ(CapturedMessages[0].caption, "Question");
        EXPECT_EQ(CapturedMessages[0].kind, MSG_YESNO_QUESTION);
        EXPECT_EQ(CapturedMessages[0].text,
                  "The file " + TournamentFile +
                      " was changed by another program since it was opened here. Do you want to "
                      "replace it with this tournament? No leaves the file as the other program "
                      "saved it.");
        EXPECT_EQ(Modified, !row.saved);
        if (row.saved) {
            EXPECT_NE(readBytes(TournamentFile), other);
            // Saved here: the next save asks nothing.
            CapturedMessages.clear();
            EXPECT_TRUE(WRITENTRFILE());
            EXPECT_TRUE(CapturedMessages.empty());
        } else if (existed) {
            EXPECT_EQ(readBytes(TournamentFile), other);
        } else {
            EXPECT_FALSE(fs::exists(TournamentFile));
        }
    }
    // Another tournament saved under the name asks nothing: the director chose it.
    CLOSETOURNAMENT();
    makeTournament({MOVE_BERGER, CALC_IMPS, 6, 10, 5, 2, false}, 4);
    CapturedMessages.clear();
    EXPECT_TRUE(WRITENTRFILE());
    EXPECT_TRUE(CapturedMessages.empty());
    EXPECT_EQ(folder(), std::set<std::string>{"club.otr"}); // the lock file is gone
}

TEST_F(WriteTest, AFileThatCannotBeCreatedIsReported) {
    makeTournament({MOVE_BERGER, CALC_IMPS, 6, 10, 5, 2, false}, 4);
    SETSAVE(true);
    TournamentFile = (tempDir() / "no such folder" / "x.otr").string();
    EXPECT_FALSE(WRITENTRFILE());
    EXPECT_TRUE(Modified);
    EXPECT_FALSE(HasFileName);
    ASSERT_EQ(CapturedMessages.size(), 1u);
    EXPECT_EQ(CapturedMessages[0].text,
              "The file " + TournamentFile + " could not be saved: No such file or directory.");
}

#ifndef _WIN32
// A pipe, a device or an open descriptor is written into where it is, never
// replaced by a regular file of its name; a folder is no output.
TEST_F(WriteTest, SpecialFilesAreWrittenIntoAndAFolderIsRefused) {
    namespace fs = std::filesystem;
    const std::string bytes = "Board 1\nBoard 2\n";
    std::string reason;

    // A named pipe: what a reader at its other end receives is the output.
    const fs::path fifo = tempDir() / "pipe.pbn";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] {
        std::ifstream in(fifo, std::ios::binary);
        received.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    });
    const bool toFifo = SAFEWRITEFILE(fifo.string(), bytes.data(), bytes.size(), reason);
    reader.join();
    EXPECT_TRUE(toFifo) << reason;
    EXPECT_EQ(received, bytes);
    EXPECT_TRUE(fs::is_fifo(fifo));

    // An open descriptor of the process, as /dev/stdout is: written at its place.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    for (const std::string name : {"/dev/fd/", "/proc/self/fd/"}) {
        SCOPED_TRACE(name);
        if (!fs::exists(name)) continue;
        EXPECT_TRUE(SAFEWRITEFILE(name + std::to_string(ends[1]), bytes.data(), bytes.size(), reason))
            << reason;
        std::string got(bytes.size(), '\0');
        EXPECT_EQ(::read(ends[0], got.data(), got.size()), static_cast<ssize_t>(bytes.size()));
        EXPECT_EQ(got, bytes);
    }
    ::close(ends[0]);
    ::close(ends[1]);

    // A character device stays the device.
    EXPECT_TRUE(SAFEWRITEFILE("/dev/null", bytes.data(), bytes.size(), reason)) << reason;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    // A folder is refused and left as it was; no temporary file is made.
    fs::create_directory(tempDir() / "out.txt");
    EXPECT_FALSE(SAFEWRITEFILE((tempDir() / "out.txt").string(), bytes.data(), bytes.size(), reason));
    EXPECT_EQ(reason, FolderReason);
    EXPECT_TRUE(fs::is_directory(tempDir() / "out.txt"));
    EXPECT_EQ(folder(), (std::set<std::string>{"out.txt", "pipe.pbn"}));
}
#endif

// The same file reached by its name, a hard link or a symbolic link is the same
// output; a copy, a missing file or another name is not.
TEST_F(WriteTest, TheSameFileIsKnownThroughItsLinks) {
    namespace fs = std::filesystem;
    const fs::path t = tempDir() / "t.otr";
    std::ofstream(t) << "tournament";
    std::ofstream(tempDir() / "copy.otr") << "tournament";
    std::error_code ec;
    fs::create_hard_link(t, tempDir() / "hard.otr", ec);
    const bool hard = !ec;
    fs::create_symlink(t, tempDir() / "soft.otr", ec);
    const bool soft = !ec;
    struct Row {
        std::string other;
        bool same, possible;
    };
    const Row rows[] = {
        {t.string(), true, true},
        {(tempDir() / "." / "t.otr").string(), true, true},
        {(tempDir() / "hard.otr").string(), true, hard},
        {(tempDir() / "soft.otr").string(), true, soft},
        {(tempDir() / "copy.otr").string(), false, true},
        {(tempDir() / "missing.otr").string(), false, true},
    };
    for (const Row& r : rows) {
        if (!r.possible) continue;
        SCOPED_TRACE(r.other);
        EXPECT_EQ(SAMEFILE(r.other, t.string()), r.same);
        EXPECT_EQ(SAMEFILE(t.string(), r.other), r.same);
    }
}

} // namespace
