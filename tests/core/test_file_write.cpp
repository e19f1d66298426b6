// Saving never destroys the previous file: a write that fails part-way, or a
// program that dies before the new file takes the old one's place, leaves the old
// file as it was, and the user is told.
#include "test_file.h"

#include "core/safefile.h"
#include "core/tournamentfile.h"
#include "support/testsupport.h"

#include <set>

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
    EXPECT_EQ(temp.rfind("club.otr.tmp-", 0), 0u);
    EXPECT_EQ(readBytes(tempDir() / temp).size(), old.size());
    EXPECT_NE(readBytes(tempDir() / temp), old);
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

} // namespace
