// Old-format files with their optional tails, and files that no version wrote:
// cut short anywhere, or with headers and values that would make the program index
// out of bounds or allocate without limit. The sanitizer build runs these too.
#include "test_file.h"

#include "core/tournamentfile.h"
#include "support/testsupport.h"

#include <functional>
#include <limits>

using namespace filetest;

namespace {

class DamagedFileTest : public OrlaTest {
  protected:
    // Opens `bytes` as a file; true when it loaded. A refusal must be the one
    // "damaged" message, with nothing open and the header as it was.
    bool openBytes(const std::string& bytes) {
        // A new name each time: rewriting one file makes the file system flush it.
        const auto file = tempDir() / ("d" + std::to_string(++files_) + ".otr");
        writeBytes(file, bytes);
        RESETTOURNAMENTSTATE();
        SkipAfterRound = 77;
        UseNeuberg = LTRUE;
        const TournamentHeader before = Header;
        CapturedMessages.clear();
        const bool loaded = OPENNTRFILE(file.string());
        std::filesystem::remove(file);
        if (loaded) return true;
        EXPECT_EQ(CapturedMessages.size(), 1u);
        if (!CapturedMessages.empty()) {
            EXPECT_EQ(CapturedMessages[0].text, "File " + file.string() + " is damaged.");
        }
        EXPECT_FALSE(TournamentOpen || Results.allocated() || Movement.allocated());
        EXPECT_EQ(std::memcmp(&Header, &before, sizeof Header), 0);
        return false;
    }

    std::string validFile(const Shape& s) {
        makeTournament(s, 11);
        TournamentFile = (tempDir() / "valid.otr").string();
        EXPECT_TRUE(WRITENTRFILE());
        return readBytes(TournamentFile);
    }

  private:
    int files_ = 0;
};

TEST_F(DamagedFileTest, ACurrentFileCutShortLoadsOnlyWithAllItsBoards) {
    // 3 pairs, 4 boards of 2, 3 rounds; custom movement and hands.
    const std::string full = validFile({MOVE_CUSTOM, CALC_MATCHPOINTS, 3, 4, 3, 2, true});
    const std::size_t boards = 4 + 124 + 84 * 3 + 4 * 4 * 3 + 4 * 4, custom = 4 * 2 + 8 * 2 * 3;
    ASSERT_EQ(full.size(), boards + custom + 52 * 4);
    ASSERT_TRUE(openBytes(full));
    const std::string sets = bytesOf(SetEntries), hands = bytesOf(HandCards);
    for (std::size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE("cut at " + std::to_string(n));
        // A file cut inside its custom movement is damaged; one without the
        // block at all opens with the movement freshly made.
        const bool insideMovement = n > boards && n < boards + custom;
        ASSERT_EQ(openBytes(full.substr(0, n)), n >= boards && !insideMovement);
        if (n < boards || insideMovement) continue;
        EXPECT_EQ(bytesOf(SetEntries), n >= boards + custom ? sets : std::string(8, '\0'));
        // The hands keep the deals the file holds whole, and say which are lost.
        const std::size_t whole = n > boards + custom ? (n - boards - custom) / 52 : 0;
        EXPECT_EQ(bytesOf(HandCards), hands.substr(0, 52 * whole) + std::string(52 * (4 - whole), '\0'));
        if (n <= boards + custom) {
            EXPECT_TRUE(CapturedMessages.empty());
        } else {
            ASSERT_EQ(CapturedMessages.size(), 1u);
            EXPECT_NE(CapturedMessages[0].text.find(
                          whole == 3 ? " is cut short in its hand diagrams: the deal of board 4 is missing."
                                     : " is cut short in its hand diagrams: the deals of boards " +
                                           std::to_string(whole + 1) + " to 4 are missing."),
                      std::string::npos)
                << CapturedMessages[0].text;
        }
    }
}

// A flipped byte in the hand block that gives a hand a 14th card: the file
// opens with the cards as read, and says which boards hold an impossible deal.
TEST_F(DamagedFileTest, ImpossibleDealsAreSaidAndKeptAsRead) {
    const std::string good = validFile({MOVE_MITCHELL, CALC_MATCHPOINTS, 6, 6, 3, 2, true});
    const std::size_t hands = good.size() - 52 * 6;
    // Board b's cards start at hands + 52 (b - 1): the hand gets other cards until
    // it holds 14.
    const auto give = [&](std::string& f, int board, int hand) {
        const std::size_t at = hands + 52 * static_cast<std::size_t>(board - 1);
        int held = 0;
        for (std::size_t k = 0; k < 52; ++k) held += f[at + k] == hand;
        for (std::size_t k = 0; held < 14 && k < 52; ++k)
            if (f[at + k] != hand) f[at + k] = static_cast<char>(hand), ++held;
    };
    struct Row {
        std::vector<std::pair<int, int>> flips; // board, hand
        const char* said;                        // "" nothing
    };
    const Row rows[] = {
        {{}, ""},
        {{{3, 1}}, " holds an impossible deal on board 3: a hand has more than 13 cards."},
        {{{1, 4}, {6, 2}}, " holds impossible deals on boards 1 and 6: a hand"},
        {{{2, 3}, {4, 3}, {5, 1}}, " holds impossible deals on boards 2, 4 and 5: a hand"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.said);
        std::string f = good;
        for (const auto& [board, hand] : r.flips) give(f, board, hand);
        ASSERT_TRUE(openBytes(f));
        // The cards stay as the file holds them.
        EXPECT_EQ(bytesOf(HandCards), f.substr(hands));
        if (std::string(r.said).empty()) {
            EXPECT_TRUE(CapturedMessages.empty());
            continue;
        }
        ASSERT_EQ(CapturedMessages.size(), 1u);
        EXPECT_EQ(CapturedMessages[0].caption, "Error opening file");
        EXPECT_EQ(CapturedMessages[0].text.rfind("File ", 0), 0u) << CapturedMessages[0].text;
        EXPECT_NE(CapturedMessages[0].text.find(".otr" + std::string(r.said)), std::string::npos)
            << CapturedMessages[0].text;
    }
}

TEST_F(DamagedFileTest, AnOldFileLoadsWithTheDefaultsOfTheTailsItLacks) {
    const int P = 6, B = 4, R = 2;
    Bytes f;
    f.i32(P).i32(B).i32(R).i32(2).i32(CALC_IMPS).i32(MOVE_BERGER).i32(LTRUE).text("Stari", 64);
    for (int n = 0; n < 2 * P; ++n)
        f.text("Igra\xE8 " + std::to_string(n), 32);
    for (int n = 0; n < B * R; ++n)
        f.f32(12.0f + n);
    const std::size_t boards = f.b.size();
    f.i32(-1);
    for (int p = 1; p <= P; ++p)
        f.f32(0.5f * p); // one increment per pair
    const std::size_t rating = f.b.size();
    for (int p = 1; p <= P; ++p)
        f.f32(p == 2 ? 3.0f : 0.0f);
    for (int b = 1; b <= B; ++b)
        f.i32(TOLOGICAL(b != 1));
    const std::size_t penalties = f.b.size();
    f.i32(LTRUE).i32(LFALSE).i32(LFALSE);
    for (std::size_t n = 0; n <= f.b.size(); ++n) {
        SCOPED_TRACE("cut at " + std::to_string(n));
        ASSERT_EQ(openBytes(f.b.substr(0, n)), n >= boards);
        if (n < boards) continue;
        EXPECT_EQ(FIELDTEXT(PlayerNames(5, 2).c, NameLength), "Igra\xE8 10");
        EXPECT_EQ(Results(2, 2), 17.0f);
        EXPECT_EQ(MovementType, MOVE_BERGER);
        EXPECT_TRUE(ISTRUE(SkipOn));
        EXPECT_FALSE(ISTRUE(UseNeuberg) || ISTRUE(HasHands));
        EXPECT_EQ(SkipAfterRound, (P + 1) / 4);
        // Each tail counts only when complete; the ones after it keep their defaults.
        EXPECT_EQ(RatingMode, n >= rating ? -1 : 0);
        EXPECT_EQ(NeedsRecalc, n >= rating);
        for (int p = 1; p <= P; ++p) {
            EXPECT_EQ(RatingChange(p, 1), n >= rating ? 0.5f * p : 0.0f);
            EXPECT_EQ(RatingChange(p, 2), RatingChange(p, 1));
        }
        EXPECT_EQ(PairPenalty(2), n >= penalties ? 3.0f : 0.0f);
        EXPECT_EQ(ISTRUE(BoardValid(1)), n < penalties);
        EXPECT_EQ(ISTRUE(HighRated), n == f.b.size());
        EXPECT_EQ(ISTRUE(OrderAsPlayed) && ISTRUE(SkipBoards), n < f.b.size());
        EXPECT_EQ(TournamentStrength, -1);
    }
}

void put32(std::string& f, std::size_t at, std::int32_t v) {
    std::memcpy(&f[at], &v, 4);
}
void putF(std::string& f, std::size_t at, float v) {
    std::memcpy(&f[at], &v, 4);
}

TEST_F(DamagedFileTest, HeadersAndValuesNoVersionWroteAreRefused) {
    // 4 pairs, 6 boards of 2 (3 sets), 3 rounds; custom movement and hands.
    const std::string good = validFile({MOVE_CUSTOM, CALC_IMPS, 4, 6, 3, 2, true});
    const std::size_t calc = 68, move = 72, pairs = 76, boards = 80, rounds = 84, per = 88;
    const std::size_t results = 128 + 64 * 4, change = results + 4 * 6 * 3,
                      penalty = change + 8 * 4, sets = penalty + 4 * 4 + 4 * 6 + 8 * 4,
                      movement = sets + 4 * 3, hands = movement + 8 * 3 * 3;
    ASSERT_EQ(hands + 52 * 6, good.size());
    const float inf = std::numeric_limits<float>::infinity();
    const std::int32_t big = 1 << 30, lowest = std::numeric_limits<std::int32_t>::min(),
                       highest = std::numeric_limits<std::int32_t>::max();
    const std::size_t skip = 120; // SkipAfterRound, 0: worked out from the pairs
    const auto old = [](std::int32_t P, std::int32_t B, std::int32_t R, std::int32_t K,
                        std::int32_t C, std::int32_t M) {
        Bytes f;
        f.i32(P).i32(B).i32(R).i32(K).i32(C).i32(M).i32(LFALSE).text("", 64);
        f.b.resize(f.b.size() + 4096, '\0'); // room for a small tournament
        return f.b;
    };
    ASSERT_TRUE(openBytes(good));
    ASSERT_TRUE(openBytes(old(4, 6, 3, 2, 1, 1)));

    const std::function<void(std::string&)> rows[] = {
        [&](std::string& f) { put32(f, pairs, -4); },
        [&](std::string& f) { put32(f, pairs, 0); },
        [&](std::string& f) { put32(f, pairs, big); },
        [&](std::string& f) { put32(f, pairs, 1 << 20); }, // more than the file holds
        [&](std::string& f) { put32(f, pairs, highest), f[skip] = f[skip + 1] = 0; },
        [&](std::string& f) { put32(f, pairs, lowest), f[skip] = f[skip + 1] = 0; },
        [&](std::string& f) { put32(f, boards, highest); },
        [&](std::string& f) { put32(f, per, lowest); },
        [&](std::string& f) { put32(f, boards, 0); },
        [&](std::string& f) { put32(f, boards, big), put32(f, rounds, big); },
        [&](std::string& f) { put32(f, rounds, lowest); },
        [&](std::string& f) { put32(f, per, 0); },
        [&](std::string& f) { put32(f, per, -2); },
        [&](std::string& f) { put32(f, per, 7); }, // more than the boards
        [&](std::string& f) { put32(f, calc, 0); },
        [&](std::string& f) { put32(f, calc, 4); },
        [&](std::string& f) { put32(f, move, 0); },
        [&](std::string& f) { put32(f, move, 5); },
        [&](std::string& f) { put32(f, sets + 4, 4); }, // more entries than rounds
        [&](std::string& f) { put32(f, sets, -1); },
        [&](std::string& f) { put32(f, movement + 20, 5); }, // pair 5 of 4
        [&](std::string& f) { put32(f, movement + 68, -1); },
        [&](std::string& f) { f[hands + 60] = 7; },
        [&](std::string& f) { f[hands + 311] = -1; },
        [&](std::string& f) { putF(f, results + 8, std::nanf("")); },
        [&](std::string& f) { putF(f, results, -inf); },
        [&](std::string& f) { putF(f, results + 4, 1e30f); }, // beyond any integer
        [&](std::string& f) { putF(f, change + 28, std::nanf("")); },
        [&](std::string& f) { putF(f, penalty + 12, inf); },
        [&](std::string& f) { f = old(0, 6, 3, 2, 1, 1); },
        [&](std::string& f) { f = old(4, -6, 3, 2, 1, 1); },
        [&](std::string& f) { f = old(4, 6, 3, 0, 1, 1); },
        [&](std::string& f) { f = old(4, 6, 3, 2, 9, 1); },
        [&](std::string& f) { f = old(4, 6, 3, 2, 1, -1); },
        [&](std::string& f) { f = old(big, 6, 3, 2, 1, 1); },
        [&](std::string& f) { f = old(highest, 6, 3, 2, 1, 1); },
        [&](std::string& f) { f = old(lowest, 6, 3, 2, 1, 1); },
        [&](std::string& f) { f = old(4, highest, highest, highest, 1, 1); },
        [&](std::string& f) { f = old(4, 6, lowest, 2, highest, lowest); },
        [&](std::string& f) { f = old(4, 1000, 1000, 2, 1, 1); }, // results beyond the file
        [&](std::string& f) { f = ""; },
        [&](std::string& f) { f = "\x9c\xff\xff"; },
    };
    for (std::size_t n = 0; n < std::size(rows); ++n) {
        SCOPED_TRACE("row " + std::to_string(n));
        std::string f = good;
        rows[n](f);
        EXPECT_FALSE(openBytes(f));
    }
}

} // namespace
