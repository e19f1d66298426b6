// Saving never destroys the previous file: a write that fails part-way, or a
// program that dies before the new file takes the old one's place, leaves the old
// file as it was, and the user is told.
#include "test_file.h"

#include "core/safefile.h"
#include "core/tournamentfile.h"
#include "support/testsupport.h"

#include <filesystem>
#include <set>

using namespace filetest;
namespace fs = std::filesystem;

namespace {

class WriteTest : public OrlaTest {
  protected:
    void SetUp() override {
        OrlaTest::SetUp();
        SafeWriteTest = {};
    }
    void TearDown() override {
        SafeWriteTest = {};
        OrlaTest::TearDown();
    }

    std::set<std::string> folder() {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(tempDir()))
            names.insert(e.path().filename().string());
        return names;
    }

    // Saves a first version of the tournament to `file` and changes a result, so
    // that the next save would write something else.
    std::string saveFirstVersion(const fs::path& file) {
        makeTournament({MOVE_MITCHELL, CALC_MATCHPOINTS, 8, 12, 4, 3, true}, 21);
        TournamentFile = file.string();
        EXPECT_TRUE(WRITENTRFILE());
        Results(1, 1) = 123.0f;
        SETSAVE(true);
        CapturedMessages.clear();
        return readBytes(file);
    }
};

TEST_F(WriteTest, ADiskThatFillsUpPartWayLeavesTheOldFile) {
    const auto file = tempDir() / "club.otr";
    const std::string old = saveFirstVersion(file);
    for (long long n : {0LL, 1LL, 4LL, 128LL, 1000LL, static_cast<long long>(old.size()) - 1}) {
        SCOPED_TRACE("fails after " + std::to_string(n) + " bytes");
        CapturedMessages.clear();
        SafeWriteTest.failAfterBytes = n;
        EXPECT_FALSE(WRITENTRFILE());
        EXPECT_EQ(readBytes(file), old);
        EXPECT_EQ(folder(), std::set<std::string>{"club.otr"}); // no temporary file left
        EXPECT_TRUE(Modified);
        ASSERT_EQ(CapturedMessages.size(), 1u);
        EXPECT_EQ(CapturedMessages[0].caption, "Error");
        EXPECT_EQ(CapturedMessages[0].text, "The file " + file.string() +
                                                " could not be saved: No space left on device. "
                                                "The previous version is unchanged.");
    }
    // With room again, the save goes through.
    SafeWriteTest = {};
    ASSERT_TRUE(WRITENTRFILE());
    EXPECT_FALSE(Modified);
    RESETTOURNAMENTSTATE();
    ASSERT_TRUE(OPENNTRFILE(file.string()));
    EXPECT_EQ(Results(1, 1), 123.0f);
}

TEST_F(WriteTest, AProgramKilledBeforeTheRenameLeavesTheOldFile) {
    const auto file = tempDir() / "club.otr";
    const std::string old = saveFirstVersion(file);
    SafeWriteTest.stopBeforeRename = true;
    EXPECT_FALSE(WRITENTRFILE());
    EXPECT_TRUE(Modified);
    EXPECT_EQ(readBytes(file), old);
    // The complete new version waits beside it, as after a real kill.
    const std::set<std::string> names = folder();
    ASSERT_EQ(names.size(), 2u);
    const std::string temp = *std::next(names.begin());
    EXPECT_EQ(temp.rfind("club.otr.tmp-", 0), 0u);
    EXPECT_EQ(readBytes(tempDir() / temp).size(), old.size());
    EXPECT_NE(readBytes(tempDir() / temp), old);

    SafeWriteTest = {};
    RESETTOURNAMENTSTATE();
    ASSERT_TRUE(OPENNTRFILE(file.string()));
    EXPECT_NE(Results(1, 1), 123.0f);
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

    RESETTOURNAMENTSTATE();
    CapturedMessages.clear();
    TournamentFile = (tempDir() / "y.otr").string();
    EXPECT_FALSE(WRITENTRFILE()); // nothing open
    EXPECT_EQ(CapturedMessages.size(), 1u);
    EXPECT_FALSE(fs::exists(TournamentFile));
}

TEST_F(WriteTest, SavingThroughALinkReplacesTheFileItPointsTo) {
    const auto real = tempDir() / "real.otr";
    const auto link = tempDir() / "link.otr";
    saveFirstVersion(real);
    fs::create_symlink("real.otr", link);
    TournamentFile = link.string();
    ASSERT_TRUE(WRITENTRFILE());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(folder(), (std::set<std::string>{"link.otr", "real.otr"}));
    RESETTOURNAMENTSTATE();
    ASSERT_TRUE(OPENNTRFILE(real.string()));
    EXPECT_EQ(Results(1, 1), 123.0f);
}

} // namespace
