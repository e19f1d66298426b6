// Files that no version of the program wrote: cut short anywhere, or with headers
// and values that would make the program index out of bounds or allocate without
// limit. Each must be refused with "is damaged." and leave nothing open; the
// sanitizer build runs these too.
#include "test_file.h"

#include "core/tournamentfile.h"
#include "support/testsupport.h"

#include <cmath>
#include <functional>
#include <limits>
#include <random>

using namespace filetest;

namespace {

class DamagedFileTest : public OrlaTest {
  protected:
    // Opens `bytes` as a file; true when it loaded. A refusal must be the one
    // "damaged" message, with the state as it was before.
    bool openBytes(const std::string& bytes) {
        // A new name each time: rewriting one file makes the file system flush it.
        const auto file = tempDir() / ("d" + std::to_string(++files_) + ".otr");
        writeBytes(file, bytes);
        struct Remove {
            std::filesystem::path p;
            ~Remove() { std::filesystem::remove(p); }
        } remove{file};
        RESETTOURNAMENTSTATE();
        SkipAfterRound = 77;
        const TournamentHeader before = Header;
        CapturedMessages.clear();
        if (OPENNTRFILE(file.string())) {
            EXPECT_TRUE(CapturedMessages.empty());
            EXPECT_TRUE(TournamentOpen);
            return true;
        }
        EXPECT_EQ(CapturedMessages.size(), 1u);
        if (!CapturedMessages.empty()) {
            EXPECT_EQ(CapturedMessages[0].text, "File " + file.string() + " is damaged.");
            EXPECT_EQ(CapturedMessages[0].caption, "Error opening file");
        }
        EXPECT_FALSE(TournamentOpen);
        EXPECT_FALSE(HasFileName);
        EXPECT_FALSE(Results.allocated());
        EXPECT_FALSE(Movement.allocated());
        EXPECT_EQ(std::memcmp(&Header, &before, sizeof Header), 0);
        return false;
    }

    // A valid current-format file of this shape.
    std::string validFile(const Shape& s) {
        RESETTOURNAMENTSTATE();
        makeTournament(s, 11);
        TournamentFile = (tempDir() / "valid.otr").string();
        EXPECT_TRUE(WRITENTRFILE());
        const std::string bytes = readBytes(TournamentFile);
        RESETTOURNAMENTSTATE();
        return bytes;
    }

  private:
    int files_ = 0;
};

bool allZero(const Array<std::int32_t, 1>& a) {
    for (std::size_t n = 0; n < a.size(); ++n)
        if (a.data()[n] != 0) return false;
    return true;
}

TEST_F(DamagedFileTest, ACurrentFileCutShortAnywhereIsRefusedOrLoadsWhole) {
    // 3 pairs, 4 boards of 2, 3 rounds; custom movement and hands.
    const Shape shape{MOVE_CUSTOM, CALC_MATCHPOINTS, 3, 4, 3, 2, true};
    const std::string full = validFile(shape);
    const std::size_t mandatory = 4 + 124 + 84 * 3 + 4 * 4 * 3 + 4 * 4;
    const std::size_t custom = 4 * 2 + 8 * 2 * 3;
    ASSERT_EQ(full.size(), mandatory + custom + 52 * 4);
    ASSERT_TRUE(openBytes(full));
    const std::string sets = bytesOf(SetEntries);
    for (std::size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE("cut at " + std::to_string(n));
        const bool loaded = openBytes(full.substr(0, n));
        // Up to the end of the valid boards nothing may load; after it the custom
        // movement and the hands count only when complete.
        ASSERT_EQ(loaded, n >= mandatory);
        if (!loaded) continue;
        if (n < mandatory + custom) {
            EXPECT_TRUE(allZero(SetEntries));
            for (std::size_t k = 0; k < Movement.size(); ++k)
                ASSERT_EQ(Movement.data()[k], 0);
        } else {
            EXPECT_EQ(bytesOf(SetEntries), sets);
        }
        for (std::size_t k = 0; k < HandCards.size(); ++k)
            ASSERT_EQ(HandCards.data()[k], 0);
    }
}

TEST_F(DamagedFileTest, AnOldFileCutShortInsideItsNamesOrResultsIsRefused) {
    Bytes f;
    const int P = 3, B = 4, R = 2;
    f.i32(P).i32(B).i32(R).i32(2).i32(CALC_MATCHPOINTS).i32(MOVE_MITCHELL).i32(LFALSE);
    f.text("old", 64);
    for (int n = 0; n < 2 * P; ++n)
        f.text("name", 32);
    for (int n = 0; n < B * R; ++n)
        f.f32(12.0f);
    const std::size_t mandatory = f.b.size();
    f.i32(-1);
    for (int p = 0; p < P; ++p)
        f.f32(2.5f);
    const std::size_t rating = f.b.size();
    for (int p = 0; p < P; ++p)
        f.f32(1.0f);
    for (int b = 0; b < B; ++b)
        f.i32(LFALSE);
    const std::size_t penalties = f.b.size();
    f.i32(LTRUE).i32(LFALSE).i32(LFALSE);
    for (std::size_t n = 0; n <= f.b.size(); ++n) {
        SCOPED_TRACE("cut at " + std::to_string(n));
        const bool loaded = openBytes(f.b.substr(0, n));
        ASSERT_EQ(loaded, n >= mandatory);
        if (!loaded) continue;
        // A tail counts only when complete; the ones after it keep their defaults.
        EXPECT_EQ(RatingMode, n >= rating ? -1 : 0);
        EXPECT_EQ(RatingChange(3, 2), n >= rating ? 2.5f : 0.0f);
        EXPECT_EQ(PairPenalty(1), n >= penalties ? 1.0f : 0.0f);
        EXPECT_EQ(ISTRUE(BoardValid(4)), n < penalties);
        EXPECT_EQ(ISTRUE(HighRated), n == f.b.size());
        EXPECT_EQ(ISTRUE(OrderAsPlayed), n < f.b.size());
    }
}

// Offsets of the header fields in a current-format file.
enum : std::size_t {
    AtCalc = 4 + 64,
    AtMovement = AtCalc + 4,
    AtPairs = AtCalc + 8,
    AtBoards = AtCalc + 12,
    AtRounds = AtCalc + 16,
    AtPerRound = AtCalc + 20
};

void put32(std::string& f, std::size_t at, std::int32_t v) {
    std::memcpy(&f[at], &v, 4);
}
void putF(std::string& f, std::size_t at, float v) {
    std::memcpy(&f[at], &v, 4);
}

TEST_F(DamagedFileTest, HeadersAndValuesNoVersionWroteAreRefused) {
    // 4 pairs, 6 boards of 2 (3 sets), 3 rounds; custom movement and hands.
    const std::string good = validFile({MOVE_CUSTOM, CALC_IMPS, 4, 6, 3, 2, true});
    const std::size_t results = 128 + 64 * 4;
    const std::size_t change = results + 4 * 6 * 3;
    const std::size_t penalty = change + 8 * 4;
    const std::size_t sets = penalty + 4 * 4 + 4 * 6 + 8 * 4;
    const std::size_t movement = sets + 4 * 3;
    const std::size_t hands = movement + 8 * 3 * 3;
    ASSERT_EQ(hands + 52 * 6, good.size());
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();

    const struct {
        const char* what;
        std::function<void(std::string&)> spoil;
    } rows[] = {
        {"negative pairs", [](std::string& f) { put32(f, AtPairs, -4); }},
        {"no pairs", [](std::string& f) { put32(f, AtPairs, 0); }},
        {"2^30 pairs", [](std::string& f) { put32(f, AtPairs, 1 << 30); }},
        {"2^20 pairs, more than the file holds",
         [](std::string& f) { put32(f, AtPairs, 1 << 20); }},
        {"no boards", [](std::string& f) { put32(f, AtBoards, 0); }},
        {"negative rounds", [](std::string& f) { put32(f, AtRounds, -3); }},
        {"huge boards and rounds",
         [](std::string& f) {
             put32(f, AtBoards, 1 << 20);
             put32(f, AtRounds, 1 << 20);
         }},
        {"most negative rounds",
         [](std::string& f) { put32(f, AtRounds, std::numeric_limits<std::int32_t>::min()); }},
        {"zero boards per round", [](std::string& f) { put32(f, AtPerRound, 0); }},
        {"negative boards per round", [](std::string& f) { put32(f, AtPerRound, -2); }},
        {"more boards per round than boards", [](std::string& f) { put32(f, AtPerRound, 7); }},
        {"calculation 0", [](std::string& f) { put32(f, AtCalc, 0); }},
        {"calculation 4", [](std::string& f) { put32(f, AtCalc, 4); }},
        {"movement 0", [](std::string& f) { put32(f, AtMovement, 0); }},
        {"movement 5", [](std::string& f) { put32(f, AtMovement, 5); }},
        {"more entries than rounds", [=](std::string& f) { put32(f, sets + 4, 4); }},
        {"negative entries", [=](std::string& f) { put32(f, sets, -1); }},
        {"pair above the pairs", [=](std::string& f) { put32(f, movement + 4 * 5, 5); }},
        {"negative pair", [=](std::string& f) { put32(f, movement + 4 * 17, -1); }},
        {"hand 7", [=](std::string& f) { f[hands + 60] = 7; }},
        {"hand -1", [=](std::string& f) { f[hands + 311] = static_cast<char>(-1); }},
        {"result not a number", [=](std::string& f) { putF(f, results + 8, nan); }},
        {"infinite result", [=](std::string& f) { putF(f, results, -inf); }},
        {"result beyond any integer", [=](std::string& f) { putF(f, results + 4, 1e30f); }},
        {"rating change not a number", [=](std::string& f) { putF(f, change + 28, nan); }},
        {"infinite penalty", [=](std::string& f) { putF(f, penalty + 12, inf); }},
    };
    ASSERT_TRUE(openBytes(good));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::string f = good;
        row.spoil(f);
        EXPECT_FALSE(openBytes(f));
    }
}

TEST_F(DamagedFileTest, RandomlySpoiledFilesLoadOnlyWhatTheArraysCanHold) {
    const std::string good = validFile({MOVE_CUSTOM, CALC_MATCHPOINTS, 5, 6, 3, 2, true});
    std::mt19937 rng(2024);
    int loaded = 0;
    for (int round = 0; round < 1500; ++round) {
        std::string f = good;
        for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k) {
            // The header's fields most of the time, anywhere otherwise.
            const std::size_t at = rng() % 2 ? 68 + rng() % 52 : rng() % (f.size() - 3);
            const std::int32_t small = static_cast<std::int32_t>(rng() % 12) - 3;
            if (rng() % 2)
                put32(f, at, small);
            else
                f[at] = static_cast<char>(rng());
        }
        SCOPED_TRACE("round " + std::to_string(round));
        if (!openBytes(f)) continue;
        ++loaded;
        ASSERT_EQ(Results.extent(1), NumBoards);
        ASSERT_EQ(Results.extent(2), NumRounds);
        ASSERT_EQ(NumBoardSets, NumBoards / BoardsPerRound);
        ASSERT_EQ(SetEntries.extent(1), NumBoardSets);
        for (std::size_t n = 0; n < SetEntries.size(); ++n)
            ASSERT_TRUE(SetEntries.data()[n] >= 0 && SetEntries.data()[n] <= NumRounds);
        for (std::size_t n = 0; n < Movement.size(); ++n)
            ASSERT_TRUE(Movement.data()[n] >= 0 && Movement.data()[n] <= NumPairs);
        for (std::size_t n = 0; n < HandCards.size(); ++n)
            ASSERT_TRUE(HandCards.data()[n] >= 0 && HandCards.data()[n] <= 4);
    }
    EXPECT_GT(loaded, 100); // the spoiling leaves many files readable
}

TEST_F(DamagedFileTest, OldHeadersNoVersionWroteAreRefused) {
    const auto old = [](std::int32_t P, std::int32_t B, std::int32_t R, std::int32_t perRound,
                        std::int32_t calc, std::int32_t movement) {
        Bytes f;
        f.i32(P).i32(B).i32(R).i32(perRound).i32(calc).i32(movement).i32(LFALSE).text("", 64);
        // Enough bytes behind for a small tournament.
        f.b.resize(f.b.size() + 4096, '\0');
        return f.b;
    };
    EXPECT_TRUE(openBytes(old(4, 6, 3, 2, 1, 1)));
    const struct {
        const char* what;
        std::string bytes;
    } rows[] = {
        {"no pairs", old(0, 6, 3, 2, 1, 1)},
        {"negative boards", old(4, -6, 3, 2, 1, 1)},
        {"no rounds", old(4, 6, 0, 2, 1, 1)},
        {"zero boards per round", old(4, 6, 3, 0, 1, 1)},
        {"calculation 9", old(4, 6, 3, 2, 9, 1)},
        {"movement -1", old(4, 6, 3, 2, 1, -1)},
        {"2^30 pairs", old(1 << 30, 6, 3, 2, 1, 1)},
        {"results larger than the file", old(4, 1000, 1000, 2, 1, 1)},
        {"empty file", ""},
        {"three bytes", "\x9c\xff\xff"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_FALSE(openBytes(row.bytes));
    }
}

} // namespace
