// Reading and writing the tournament file: both formats, their defaults, and what
// a successful open leaves behind.
#include "test_file.h"

#include "core/hooks.h"
#include "core/tournamentfile.h"
#include "support/testsupport.h"

#include <string>
#include <vector>

using namespace filetest;

namespace {

class FileTest : public OrlaTest {};

std::vector<std::string> calls;

std::int64_t expectedSize(int P, int B, int R, int S, bool custom, bool hands) {
    std::int64_t n = 4 + 124 + 64LL * P + 4LL * B * R + 8LL * P + 4LL * P + 4LL * B + 8LL * P;
    if (custom) n += 4LL * S + 8LL * S * R;
    if (hands) n += 52LL * B;
    return n;
}

TEST_F(FileTest, EveryKindOfTournamentSurvivesWriteAndRead) {
    const auto file = tempDir() / "t.otr";
    unsigned seed = 1;
    for (int movement = MOVE_MITCHELL; movement <= MOVE_CUSTOM; ++movement)
        for (int calc = CALC_MATCHPOINTS; calc <= CALC_CALCUTTA; ++calc)
            for (bool hands : {false, true}) {
                SCOPED_TRACE("movement " + std::to_string(movement) + " calc " +
                             std::to_string(calc) + " hands " + std::to_string(hands));
                RESETTOURNAMENTSTATE();
                // 26 boards of 3: the last two boards belong to no board set.
                const Shape shape{movement, calc, 9, 26, 7, 3, hands};
                makeTournament(shape, seed++);
                ASSERT_TRUE(TournamentOpen);
                const Snapshot before = snapshot();
                TournamentFile = file.string();
                SETSAVE(true);
                ASSERT_TRUE(WRITENTRFILE());
                EXPECT_FALSE(Modified);
                EXPECT_TRUE(HasFileName);
                EXPECT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(file)),
                          expectedSize(9, 26, 7, 8, movement == MOVE_CUSTOM, hands));

                RESETTOURNAMENTSTATE();
                ASSERT_TRUE(OPENNTRFILE(file.string()));
                EXPECT_EQ(snapshot(), before);
                EXPECT_EQ(NumBoardSets, 8);
                // Written again, the file is the same to the byte.
                const std::string first = readBytes(file);
                ASSERT_TRUE(WRITENTRFILE());
                EXPECT_EQ(readBytes(file), first);
            }
    EXPECT_TRUE(CapturedMessages.empty());
}

TEST_F(FileTest, FileHoldsTheBlocksInColumnMajorOrder) {
    makeTournament({MOVE_CUSTOM, CALC_IMPS, 2, 2, 2, 1, true}, 7);
    SETFIELD(PlayerNames(1, 1).c, NameLength, "A");
    SETFIELD(PlayerNames(2, 1).c, NameLength, "B");
    SETFIELD(PlayerNames(1, 2).c, NameLength, "C");
    Results(2, 1) = 42.0f;
    Results(1, 2) = -958.0f;
    RatingChange(2, 1) = 1.5f;
    PlayerRating(1, 2) = 1234;
    SetEntries(2) = 1;
    Movement(2, 1, 1) = 2; // set 2, entry 1, NS
    Movement(1, 2, 2) = 1; // set 1, entry 2, EW
    HandCards(52, 1) = 4;
    HandCards(1, 2) = 3;
    TournamentFile = (tempDir() / "o.otr").string();
    ASSERT_TRUE(WRITENTRFILE());
    const std::string f = readBytes(TournamentFile);
    ASSERT_EQ(f.size(), static_cast<std::size_t>(expectedSize(2, 2, 2, 2, true, true)));

    const auto i32 = [&](std::size_t at) {
        std::int32_t v;
        std::memcpy(&v, f.data() + at, 4);
        return v;
    };
    const auto f32 = [&](std::size_t at) {
        float v;
        std::memcpy(&v, f.data() + at, 4);
        return v;
    };
    EXPECT_EQ(i32(0), -100);
    EXPECT_EQ(i32(4 + 64), CALC_IMPS);
    EXPECT_EQ(i32(4 + 72), 2); // NumPairs
    std::size_t at = 128;      // names: first players, then second players
    EXPECT_EQ(f.substr(at, 2), "A ");
    EXPECT_EQ(f.substr(at + 32, 2), "B ");
    EXPECT_EQ(f.substr(at + 64, 2), "C ");
    at += 64 * 2; // results: boards of entry 1, then entry 2
    EXPECT_EQ(f32(at + 4), 42.0f);
    EXPECT_EQ(f32(at + 8), -958.0f);
    at += 4 * 2 * 2;
    EXPECT_EQ(f32(at + 4), 1.5f); // rating change of pair 2, player 1
    at += 8 * 2 + 4 * 2 + 4 * 2;
    EXPECT_EQ(i32(at + 8), 1234); // rating of pair 1, player 2
    at += 8 * 2;
    EXPECT_EQ(i32(at + 4), 1);     // SetEntries(2)
    at += 4 * 2;                   // movement: sets fastest, then entries, then side
    EXPECT_EQ(i32(at + 4 * 1), 2); // (2, 1, 1)
    EXPECT_EQ(i32(at + 4 * (0 + 2 * 1 + 4 * 1)), 1); // (1, 2, 2)
    at += 8 * 2 * 2;
    EXPECT_EQ(f[at + 51], 4); // card 52 of board 1
    EXPECT_EQ(f[at + 52], 3); // card 1 of board 2
}

TEST_F(FileTest, OpeningComputesAndRecordsTheFile) {
    makeTournament({MOVE_MITCHELL, CALC_MATCHPOINTS, 14, 21, 7, 3, false}, 3);
    RatingMode = 1;
    Header.SkipAfterRound = 0; // older files left it at 0
    const auto file = tempDir() / "Klub \xC4\x8C"
                                  "a\xC4\x8D"
                                  "ak.otr";
    TournamentFile = file.string();
    ASSERT_TRUE(WRITENTRFILE());
    RESETTOURNAMENTSTATE();

    calls.clear();
    Compute.calculateMovement = [] { calls.push_back("movement"); };
    Compute.calcAll = [] { calls.push_back("calcall " + std::to_string(TournamentOpen)); };
    Compute.assignPairRating = [] { calls.push_back("rating"); };
    Ui.fileOpened = [](const std::string& name) { calls.push_back("opened " + name); };
    Ui.title = [](const std::string& text) { calls.push_back("title " + text); };
    ASSERT_TRUE(OPENNTRFILE(file.string()));
    EXPECT_EQ(SkipAfterRound, 3); // (14 + 1) / 4
    EXPECT_TRUE(NeedsRecalc);
    EXPECT_TRUE(HasFileName);
    EXPECT_FALSE(Modified);
    EXPECT_EQ(TournamentFile, file.string());
    EXPECT_EQ(TournamentFileTitle, "Klub \xC4\x8C"
                                   "a\xC4\x8D"
                                   "ak.otr");
    // A current file keeps its ratings; the register is not asked.
    const std::vector<std::string> expected = {"movement", "calcall 1",
                                               "title ORLA - Klub \xC4\x8C"
                                               "a\xC4\x8D"
                                               "ak.otr",
                                               "opened " + file.string()};
    EXPECT_EQ(calls, expected);
    double sum = 0;
    for (int j = 1; j <= 2; ++j)
        for (int p = 1; p <= 14; ++p)
            sum += PlayerRating(p, j);
    EXPECT_EQ(TournamentStrength, static_cast<int>(std::lround(sum / 28.0)));
}

TEST_F(FileTest, ALeftOverCustomMovementDoesNotSurviveOpening) {
    makeTournament({MOVE_HOWELL, CALC_IMPS, 8, 14, 7, 2, false}, 5);
    const std::string file = (tempDir() / "h.otr").string();
    TournamentFile = file;
    ASSERT_TRUE(WRITENTRFILE());
    RESETTOURNAMENTSTATE();
    // The movement editor of a cancelled New left a movement of another shape.
    ASSERT_TRUE(Movement.allocate(3, 3, 2));
    ASSERT_TRUE(SetEntries.allocate(3));
    Movement.fill(99);
    ASSERT_TRUE(OPENNTRFILE(file));
    EXPECT_EQ(Movement.extent(1), 7);
    EXPECT_EQ(Movement.extent(2), 7);
    EXPECT_EQ(SetEntries.extent(1), 7);
    for (std::size_t n = 0; n < Movement.size(); ++n)
        ASSERT_EQ(Movement.data()[n], 0);
}

// An old-format file: counts and settings, names, results, then `tails` of the
// three optional blocks.
std::string oldFile(int tails, int P, int B, int R, int perRound) {
    Bytes f;
    f.i32(P).i32(B).i32(R).i32(perRound).i32(CALC_IMPS).i32(MOVE_BERGER).i32(LTRUE);
    f.text("Stari turnir", 64);
    for (int j = 1; j <= 2; ++j)
        for (int p = 1; p <= P; ++p)
            f.text("Igra\xE8 " + std::to_string(p) + "/" + std::to_string(j), 32);
    for (int i = 1; i <= R; ++i)
        for (int b = 1; b <= B; ++b)
            f.f32(static_cast<float>(b * 10 + i));
    if (tails >= 1) {
        f.i32(-1);
        for (int p = 1; p <= P; ++p)
            f.f32(0.5f * static_cast<float>(p));
    }
    if (tails >= 2) {
        for (int p = 1; p <= P; ++p)
            f.f32(p == 2 ? 3.0f : 0.0f);
        for (int b = 1; b <= B; ++b)
            f.i32(b == 1 ? LFALSE : LTRUE);
    }
    if (tails >= 3) f.i32(LTRUE).i32(LFALSE).i32(LFALSE);
    return f.b;
}

TEST_F(FileTest, OldFilesLoadWithTheDefaultsOfTheirMissingTails) {
    struct Row {
        int tails;
        int ratingMode;
        bool withIncrement, withPenalty, highRated, asPlayed, skipBoards;
    };
    const Row rows[] = {
        {0, 0, false, false, false, true, true},
        {1, -1, true, false, false, true, true},
        {2, -1, true, true, false, true, true},
        {3, -1, true, true, true, false, false},
    };
    const int P = 6, B = 10, R = 5;
    for (const Row& row : rows) {
        SCOPED_TRACE("tails " + std::to_string(row.tails));
        RESETTOURNAMENTSTATE();
        INSTALLTESTHOOKS();
        // Whatever the header held before must not leak into the old file.
        UseNeuberg = LTRUE;
        SkipAfterRound = 9;
        HasHands = LTRUE;
        int assigned = 0;
        static int* counter;
        counter = &assigned;
        Compute.assignPairRating = [] { ++*counter; };
        const auto file = tempDir() / ("old" + std::to_string(row.tails) + ".otr");
        writeBytes(file, oldFile(row.tails, P, B, R, 2));
        ASSERT_TRUE(OPENNTRFILE(file.string()));
        EXPECT_TRUE(CapturedMessages.empty());

        EXPECT_EQ(FIELDTEXT(Header.TournamentName, 64), "Stari turnir");
        EXPECT_EQ(NumPairs, P);
        EXPECT_EQ(NumBoards, B);
        EXPECT_EQ(NumRounds, R);
        EXPECT_EQ(BoardsPerRound, 2);
        EXPECT_EQ(NumBoardSets, 5);
        EXPECT_EQ(CalcType, CALC_IMPS);
        EXPECT_EQ(MovementType, MOVE_BERGER);
        EXPECT_TRUE(ISTRUE(SkipOn));
        EXPECT_FALSE(ISTRUE(UseNeuberg));
        EXPECT_EQ(SkipAfterRound, (P + 1) / 4);
        EXPECT_FALSE(ISTRUE(HasHands));
        EXPECT_EQ(RatingMode, row.ratingMode);
        EXPECT_EQ(NeedsRecalc, row.ratingMode != 0);
        EXPECT_EQ(assigned, row.ratingMode != 0 ? 1 : 0);
        EXPECT_EQ(ISTRUE(HighRated), row.highRated);
        EXPECT_EQ(ISTRUE(OrderAsPlayed), row.asPlayed);
        EXPECT_EQ(ISTRUE(SkipBoards), row.skipBoards);
        EXPECT_EQ(FIELDTEXT(PlayerNames(4, 2).c, NameLength), "Igra\xE8 4/2");
        EXPECT_EQ(Results(3, 5), 35.0f);
        for (int p = 1; p <= P; ++p) {
            const float inc = row.withIncrement ? 0.5f * static_cast<float>(p) : 0.0f;
            EXPECT_EQ(RatingChange(p, 1), inc);
            EXPECT_EQ(RatingChange(p, 2), inc);
            EXPECT_EQ(PlayerRating(p, 1), -1);
            EXPECT_EQ(PairPenalty(p), row.withPenalty && p == 2 ? 3.0f : 0.0f);
        }
        for (int b = 1; b <= B; ++b)
            EXPECT_EQ(ISTRUE(BoardValid(b)), !(row.withPenalty && b == 1));
        if (row.ratingMode == 0) {
            EXPECT_EQ(TournamentStrength, -1);
        }
    }
}

TEST_F(FileTest, AMissingOrMisplacedFileIsReportedAndNothingOpens) {
    const TournamentHeader before = Header;
    const std::string missing = (tempDir() / "nowhere.otr").string();
    const struct {
        std::string name, shown;
    } rows[] = {
        {missing, missing},
        {missing + std::string(1, '\0') + "junk", missing}, // used up to its first NUL
        {tempDir().string(), tempDir().string()},           // a folder, not a file
        {"", ""},
    };
    for (const auto& row : rows) {
        CapturedMessages.clear();
        EXPECT_FALSE(OPENNTRFILE(row.name));
        ASSERT_EQ(CapturedMessages.size(), 1u);
        EXPECT_EQ(CapturedMessages[0].text, "File " + row.shown + " is deleted or moved.");
        EXPECT_EQ(CapturedMessages[0].caption, "Error opening file");
        EXPECT_EQ(CapturedMessages[0].kind, MSG_OK_ERROR);
        EXPECT_FALSE(TournamentOpen);
        EXPECT_FALSE(HasFileName);
        EXPECT_EQ(std::memcmp(&Header, &before, sizeof Header), 0);
    }
}

} // namespace
