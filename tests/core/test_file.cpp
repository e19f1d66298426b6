// Reading and writing the tournament file: both formats, the block layout, and
// what a successful or failed open leaves behind.
#include "test_file.h"

#include "core/hooks.h"
#include "core/safefile.h"
#include "core/tournamentfile.h"
#include "support/testsupport.h"

#include <cmath>
#include <vector>

using namespace filetest;

namespace {

class FileTest : public OrlaTest {};

std::vector<std::string> calls;

TEST_F(FileTest, EveryKindOfTournamentSurvivesWriteAndRead) {
    const auto file = tempDir() / "t.otr";
    unsigned seed = 1;
    for (int movement = MOVE_MITCHELL; movement <= MOVE_CUSTOM; ++movement)
        for (int calc = CALC_MATCHPOINTS; calc <= CALC_CALCUTTA; ++calc)
            for (bool hands : {false, true}) {
                SCOPED_TRACE(std::to_string(movement) + "/" + std::to_string(calc) + "/" +
                             std::to_string(hands));
                RESETTOURNAMENTSTATE();
                // 9 pairs, 26 boards of 3 (8 sets: two boards in no set), 7 rounds.
                makeTournament({movement, calc, 9, 26, 7, 3, hands}, seed++);
                const std::string before = snapshot();
                TournamentFile = file.string();
                ASSERT_TRUE(WRITENTRFILE());
                const bool custom = movement == MOVE_CUSTOM;
                EXPECT_EQ(std::filesystem::file_size(file),
                          4 + 124 + 64 * 9 + 4 * 26 * 7 + 8 * 9 + 4 * 9 + 4 * 26 + 8 * 9 +
                              (custom ? 4 * 8 + 8 * 8 * 7 : 0) + (hands ? 52 * 26 : 0));
                RESETTOURNAMENTSTATE();
                ASSERT_TRUE(OPENNTRFILE(file.string()));
                EXPECT_EQ(snapshot(), before);
            }
    EXPECT_TRUE(CapturedMessages.empty());
}

TEST_F(FileTest, BlocksAreColumnMajorAndLittleEndian) {
    makeTournament({MOVE_CUSTOM, CALC_IMPS, 2, 2, 2, 1, true}, 7);
    SETFIELD(PlayerNames(2, 1).c, NameLength, "B");
    SETFIELD(PlayerNames(1, 2).c, NameLength, "C");
    Results(2, 1) = 42.0f;
    Results(1, 2) = -958.0f;
    PlayerRating(1, 2) = 0x01020304;
    Movement(2, 1, 1) = 2;
    Movement(1, 2, 2) = 1;
    HandCards(52, 1) = 4;
    TournamentFile = (tempDir() / "o.otr").string();
    ASSERT_TRUE(WRITENTRFILE());
    const std::string f = readBytes(TournamentFile);
    const auto at = [&](std::size_t n, std::size_t len) { return f.substr(n, len); };
    const auto f32 = [&](std::size_t n) {
        float v;
        std::memcpy(&v, &f[n], 4);
        return v;
    };
    EXPECT_EQ(at(0, 4), "\x9C\xFF\xFF\xFF");                // -100
    EXPECT_EQ(at(4 + 72, 4), std::string("\x02\0\0\0", 4)); // NumPairs
    const std::size_t names = 128, results = names + 128, rating = results + 16 + 16 + 8 + 8;
    EXPECT_EQ(at(names + 32, 2), "B ");               // (2, 1)
    EXPECT_EQ(at(names + 64, 2), "C ");               // (1, 2)
    EXPECT_EQ(f32(results + 4), 42.0f);               // (2, 1)
    EXPECT_EQ(f32(results + 8), -958.0f);             // (1, 2)
    EXPECT_EQ(at(rating + 8, 4), "\x04\x03\x02\x01"); // (1, 2)
    const std::size_t movement = rating + 16 + 8;
    EXPECT_EQ(f[movement + 4 * 1], 2);                   // (2, 1, NS)
    EXPECT_EQ(f[movement + 4 * (0 + 2 * 1 + 4 * 1)], 1); // (1, 2, EW)
    EXPECT_EQ(f[movement + 32 + 51], 4);                 // card 52 of board 1
}

TEST_F(FileTest, OpeningComputesAndRecordsTheFile) {
    makeTournament({MOVE_MITCHELL, CALC_MATCHPOINTS, 14, 21, 7, 3, false}, 3);
    RatingMode = 1;
    SkipAfterRound = 0; // older versions left it at 0
    const auto file = tempDir() / UTF8PATH("Klub \xC4\x8C"
                                           "a\xC4\x8D"
                                           "ak.otr");
    TournamentFile = file.string();
    ASSERT_TRUE(WRITENTRFILE());
    RESETTOURNAMENTSTATE();

    calls.clear();
    Compute.calculateMovement = [] { calls.push_back("movement"); };
    Compute.calcAll = [] { calls.push_back("calcall " + std::to_string(TournamentOpen)); };
    Compute.assignPairRating = [] { calls.push_back("rating"); }; // not for current files
    Ui.title = [](const std::string& text) { calls.push_back(text); };
    Ui.fileOpened = [](const std::string& name) { calls.push_back("opened " + name); };
    ASSERT_TRUE(OPENNTRFILE(file.string()));
    EXPECT_EQ(calls, (std::vector<std::string>{"movement", "calcall 1",
                                               "ORLA - Klub \xC4\x8C"
                                               "a\xC4\x8D"
                                               "ak.otr",
                                               "opened " + file.string()}));
    EXPECT_EQ(SkipAfterRound, 3); // (14 + 1) / 4
    EXPECT_TRUE(NeedsRecalc);
    EXPECT_TRUE(HasFileName);
    EXPECT_FALSE(Modified);
    EXPECT_EQ(TournamentFileTitle, "Klub \xC4\x8C"
                                   "a\xC4\x8D"
                                   "ak.otr");
    double sum = 0;
    for (std::size_t n = 0; n < PlayerRating.size(); ++n)
        sum += PlayerRating.data()[n];
    EXPECT_EQ(TournamentStrength, std::lround(sum / 28.0));
}

TEST_F(FileTest, ALeftOverCustomMovementDoesNotSurviveOpening) {
    makeTournament({MOVE_HOWELL, CALC_IMPS, 8, 14, 7, 2, false}, 5);
    const std::string file = (tempDir() / "h.otr").string();
    TournamentFile = file;
    ASSERT_TRUE(WRITENTRFILE());
    RESETTOURNAMENTSTATE();
    // The movement editor of a cancelled New left a movement of another shape.
    ASSERT_TRUE(Movement.allocate(3, 3, 2) && SetEntries.allocate(3));
    Movement.fill(99);
    ASSERT_TRUE(OPENNTRFILE(file));
    EXPECT_EQ(Movement.size(), 7u * 7u * 2u);
    EXPECT_EQ(bytesOf(Movement), std::string(Movement.bytes(), '\0'));
}

TEST_F(FileTest, AMissingFileIsReportedAndNothingOpens) {
    const TournamentHeader before = Header;
    const std::string missing = (tempDir() / "nowhere.otr").string();
    const struct {
        std::string name, shown, said;
    } rows[] = {
        {missing, missing, " is deleted or moved."},
        {missing + std::string(1, '\0') + "junk", missing, " is deleted or moved."}, // up to its first NUL
        {tempDir().string(), tempDir().string(), " is not a tournament file."},       // a folder
#ifndef _WIN32
        {"/dev/null", "/dev/null", " is not a tournament file."}, // a device
#endif
    };
    for (const auto& row : rows) {
        CapturedMessages.clear();
        EXPECT_FALSE(OPENNTRFILE(row.name));
        ASSERT_EQ(CapturedMessages.size(), 1u);
        EXPECT_EQ(CapturedMessages[0].text, "File " + row.shown + row.said);
        EXPECT_EQ(CapturedMessages[0].caption, "Error opening file");
        EXPECT_FALSE(TournamentOpen || HasFileName);
        EXPECT_EQ(std::memcmp(&Header, &before, sizeof Header), 0);
    }
}

} // namespace
