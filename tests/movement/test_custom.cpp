// Custom movements: pair identifiers both ways and the movement file, sound and
// damaged.
#include "core/safefile.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "movement/custom.h"
#include "movement/movement.h"
#include "support/testsupport.h"

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

class CustomMovementTest : public OrlaTest {
  protected:
    void SetUp() override {
        OrlaTest::SetUp();
        RESETCUSTOMMOVEMENT();
    }
    void TearDown() override {
        RESETCUSTOMMOVEMENT();
        SafeWriteTest = {};
        OrlaTest::TearDown();
    }

    // A custom movement of `pairs` pairs and `rounds` rounds (one board set a
    // round), starting as the Mitchell of that size, as the editor starts it.
    static void shape(int pairs, int rounds) {
        MovementType = MOVE_MITCHELL;
        NumPairs = pairs;
        NumRounds = rounds;
        BoardsPerRound = 2;
        NumBoards = 2 * rounds;
        NumBoardSets = rounds;
        ASSERT_TRUE(Movement.allocate(rounds, rounds, 2));
        ASSERT_TRUE(SetEntries.allocate(rounds));
        CALCULATEMOVEMENT();
        MovementType = MOVE_CUSTOM;
    }

    std::string file(const std::string& name) { return (tempDir() / name).string(); }

    static void writeBytes(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string readBytes(const std::string& name) {
        std::ostringstream s;
        s << std::ifstream(name, std::ios::binary).rdbuf();
        return s.str();
    }
    static void putI32(std::string& bytes, std::size_t at, std::int32_t v) {
        for (int b = 0; b < 4; ++b)
            bytes[at + static_cast<std::size_t>(b)] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * b)) & 0xFF);
    }
};

TEST_F(CustomMovementTest, PairIdentifiersInEveryForm) {
    struct Row {
        int pairs;
        bool nsew, two;
        int sectionOne;
        int pair;
        const char* id;
    };
    const Row rows[] = {
        {14, false, false, 0, 9, "   9"},
        {14, false, true, 8, 12, "  12"}, // two sections count only with the NS/EW format
        {14, true, false, 0, 3, "N 3 "},
        {14, true, false, 0, 7, "N 7 "},
        {14, true, false, 0, 8, "E 1 "},
        {14, true, false, 0, 9, "E 2 "},
        {13, true, false, 0, 13, "E 7 "},
        {40, true, false, 0, 40, "E20 "},
        {14, true, true, 8, 1, "1N 1"},
        {14, true, true, 8, 5, "1E 1"},
        {14, true, true, 8, 8, "1E 4"},
        {14, true, true, 8, 9, "2N 1"},
        {14, true, true, 8, 13, "2E 2"},
        {14, true, true, 0, 13, "1E 6"}, // section not set: one section of all the pairs
        // A line of 100 or more pairs numbers them in three digits, the other line
        // keeps two.
        {300, true, false, 0, 7, "N  7"},
        {300, true, false, 0, 110, "N110"},
        {300, true, false, 0, 160, "E 10"},
        {199, true, false, 0, 99, "N99 "},
        {199, true, false, 0, 109, "E 10"},
        {201, true, false, 0, 201, "E101"},
        {420, true, true, 400, 310, "1E110"},
        {420, true, true, 400, 401, "2N 1"},
    };
    for (const Row& r : rows) {
        NumPairs = r.pairs;
        NsEwFormat = TOLOGICAL(r.nsew);
        TwoSections = TOLOGICAL(r.two);
        SectionOnePairs = r.sectionOne;
        EXPECT_EQ(GETPAIRID(r.pair), r.id) << r.pairs << " pairs, pair " << r.pair;
        // What is shown reads back as the same pair, in either case.
        EXPECT_EQ(READPAIRID(r.id), r.pair) << r.id;
        EXPECT_EQ(READPAIRID(TOLOWER(r.id)), r.pair) << r.id;
    }
    // Every pair of every form survives the round trip.
    // Every pair of every form survives the round trip, and no two share a name.
    for (int pairs : {2, 5, 13, 14, 27, 199, 200, 300, 450}) {
        NumPairs = pairs;
        for (int form = 0; form < 3; ++form) {
            NsEwFormat = TOLOGICAL(form > 0);
            TwoSections = TOLOGICAL(form == 2);
            SectionOnePairs = pairs / 2 + 1;
            std::set<std::string> names;
            for (int p = 1; p <= pairs; ++p) {
                EXPECT_EQ(READPAIRID(GETPAIRID(p)), p) << pairs << " pairs, form " << form << ", pair " << p;
                EXPECT_TRUE(names.insert(GETPAIRID(p)).second) << pairs << " pairs, form " << form << ", pair " << p;
            }
        }
    }
}

TEST_F(CustomMovementTest, TypedPairsAreReadOrRefused) {
    struct Row {
        bool nsew, two;
        const char* text;
        int pair; // -1: not an identifier
    };
    const Row rows[] = {
        {false, false, "9", 9},       {false, false, " 12 ", 12},  {false, false, "N1", -1},
        {false, false, "", -1},       {false, false, "1 2", -1},   {false, false, "-3", -1},
        {false, false, "1234", -1},   {true, false, "e2", 9},      {true, false, "E 2", 9},
        {true, false, " n7", 7},      {true, false, "N8", 8},      {true, false, "E", -1},
        {true, false, "E0", -1},      {true, false, "S1", -1},     {true, false, "9", -1},
        {true, false, "Ex", -1},      {true, false, "N+1", -1},    {true, true, "2n1", 9},
        {true, true, "2E2", 13},      {true, true, "1e 4", 8},     {true, true, "3N1", -1},
        {true, true, "N1", -1},       {true, true, "2", -1},       {true, true, "2X1", -1},
    };
    NumPairs = 14;
    SectionOnePairs = 8;
    for (const Row& r : rows) {
        NsEwFormat = TOLOGICAL(r.nsew);
        TwoSections = TOLOGICAL(r.two);
        EXPECT_EQ(READPAIRID(r.text), r.pair) << '"' << r.text << '"';
    }
}

TEST_F(CustomMovementTest, FileIsTheCountsThenTheListsSetFastest) {
    shape(4, 2); // Mitchell of 2 tables: set 1 (1-3, 2-4), set 2 (2-3, 1-4)
    Movement(2, 2, 2) = 0;
    SetEntries(2) = 1;
    const std::vector<std::int32_t> words = {2, 2, 2, 1, Movement(1, 1, 1), Movement(2, 1, 1),
                                             Movement(1, 2, 1), Movement(2, 2, 1),
                                             Movement(1, 1, 2), Movement(2, 1, 2),
                                             Movement(1, 2, 2), 0};
    std::string expected;
    for (std::int32_t w : words) {
        std::string four(4, '\0');
        putI32(four, 0, w);
        expected += four;
    }
    EXPECT_EQ(ENCODEMOVEMENTFILE(), expected);
    std::string reason;
    ASSERT_TRUE(SAVEMOVEMENTFILE(file("two.ocm"), reason)) << reason;
    EXPECT_EQ(readBytes(file("two.ocm")), expected);
}

TEST_F(CustomMovementTest, SevenRoundFileLoadsIntoSevenRoundsAndIsRefusedBySix) {
    shape(14, 7);
    Movement(3, 2, 1) = 11; // a schedule of the club's own
    Movement(3, 2, 2) = 4;
    SetEntries(7) = 5;
    std::string reason;
    ASSERT_TRUE(SAVEMOVEMENTFILE(file("club.ocm"), reason)) << reason;
    const Array<std::int32_t, 3> saved = Movement;
    const Array<std::int32_t, 1> savedEntries = SetEntries;

    // Another tournament of 7 rounds and 7 sets takes it whole.
    RESETTOURNAMENTSTATE();
    shape(14, 7);
    EXPECT_EQ(LOADMOVEMENTFILE(file("club.ocm")), MOVEMENT_LOADED);
    for (int k = 1; k <= 7; ++k) {
        EXPECT_EQ(SetEntries(k), savedEntries(k));
        for (int i = 1; i <= 7; ++i)
            for (int s = 1; s <= 2; ++s) EXPECT_EQ(Movement(k, i, s), saved(k, i, s));
    }

    // One of 6 rounds refuses it and keeps its own.
    RESETTOURNAMENTSTATE();
    shape(12, 6);
    const Array<std::int32_t, 3> own = Movement;
    EXPECT_EQ(LOADMOVEMENTFILE(file("club.ocm")), MOVEMENT_MISMATCH);
    EXPECT_TRUE(std::equal(own.data(), own.data() + 6 * 6 * 2, Movement.data()));
}

TEST_F(CustomMovementTest, DamagedFilesChangeNothing) {
    shape(14, 7);
    std::string reason;
    ASSERT_TRUE(SAVEMOVEMENTFILE(file("good.ocm"), reason)) << reason;
    const std::string good = readBytes(file("good.ocm"));
    ASSERT_EQ(good.size(), 8u + 4 * 7 + 8 * 7 * 7);

    // The tournament the files are offered to: 12 pairs, so pair 13 is out of range.
    Movement.fill(0);
    SetEntries.fill(0);
    Movement(1, 1, 1) = 5;
    NumPairs = 12;

    std::vector<std::pair<std::string, std::string>> damaged;
    for (std::size_t n : {0u, 3u, 7u, 8u, 20u, 36u, 400u, 427u})
        damaged.emplace_back("truncated to " + std::to_string(n), good.substr(0, n));
    damaged.emplace_back("one byte too many", good + '\0');
    std::string b = good;
    putI32(b, 0, 0x7FFFFFFF);
    putI32(b, 4, 0x7FFFFFFF);
    damaged.emplace_back("absurd counts", b);
    b = good;
    putI32(b, 0, -7);
    damaged.emplace_back("negative rounds", b);
    b = good;
    putI32(b, 8 + 4 * 2, 8);
    damaged.emplace_back("more entries than rounds", b);
    b = good;
    putI32(b, 8 + 4 * 5, -1);
    damaged.emplace_back("negative entries", b);
    b = good;
    putI32(b, 8 + 4 * 7 + 4 * 10, 13);
    damaged.emplace_back("pair above the tournament's", b);
    b = good;
    putI32(b, good.size() - 4, -2);
    damaged.emplace_back("negative pair", b);

    for (const auto& [what, bytes] : damaged) {
        writeBytes(file("bad.ocm"), bytes);
        EXPECT_EQ(LOADMOVEMENTFILE(file("bad.ocm")), MOVEMENT_UNREADABLE) << what;
        EXPECT_EQ(Movement(1, 1, 1), 5) << what;
        for (int k = 1; k <= 7; ++k) EXPECT_EQ(SetEntries(k), 0) << what;
    }
    EXPECT_EQ(LOADMOVEMENTFILE(file("missing.ocm")), MOVEMENT_UNREADABLE);
    EXPECT_EQ(LOADMOVEMENTFILE(tempDir().string()), MOVEMENT_UNREADABLE); // a folder
}

TEST_F(CustomMovementTest, FailedSaveKeepsThePreviousFile) {
    shape(14, 7);
    std::string reason;
    ASSERT_TRUE(SAVEMOVEMENTFILE(file("club.ocm"), reason)) << reason;
    const std::string before = readBytes(file("club.ocm"));
    Movement(1, 1, 1) = 2;
    SafeWriteTest.failAfterBytes = 100;
    EXPECT_FALSE(SAVEMOVEMENTFILE(file("club.ocm"), reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(readBytes(file("club.ocm")), before);
}

} // namespace
