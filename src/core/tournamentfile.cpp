#include "core/tournamentfile.h"

#include "core/hooks.h"
#include "core/programfolder.h"
#include "core/safefile.h"
#include "core/strings.h"
#include "core/tournament.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

using u64 = std::uint64_t;
using Bytes = std::vector<unsigned char>;

constexpr u64 MarkerBytes = 4;
constexpr u64 HeaderBytes = sizeof(TournamentHeader);
constexpr u64 OldSettingsBytes = 7 * 4 + TournamentNameLength;
constexpr u64 CardsPerBoard = 52;

// Stored floats beyond this size (or not numbers at all) are not something any
// version wrote, and the scoring could not turn them into integers.
constexpr float MaxFileFloat = 1.0e9f;

std::uint32_t getU32(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
std::int32_t getI32(const unsigned char* p) {
    return static_cast<std::int32_t>(getU32(p));
}
float getF32(const unsigned char* p) {
    return std::bit_cast<float>(getU32(p));
}
std::int16_t getI16(const unsigned char* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
}

// The little-endian image of the file, built in memory before it is written.
class Image {
  public:
    void i32(std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        char b[4] = {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
                     static_cast<char>(u >> 24)};
        bytes_.append(b, 4);
    }
    void i16(std::int16_t v) {
        const auto u = static_cast<std::uint16_t>(v);
        char b[2] = {static_cast<char>(u), static_cast<char>(u >> 8)};
        bytes_.append(b, 2);
    }
    void f32(float v) { i32(static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(v))); }
    void raw(const char* p, std::size_t n) { bytes_.append(p, n); }
    void byte(std::int8_t v) { bytes_ += static_cast<char>(v); }
    void reserve(std::size_t n) { bytes_.reserve(n); }
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

// Everything the reader learnt from the file before it touches the tournament:
// the header, and where each block starts (0 when the block is not there).
struct Layout {
    TournamentHeader h;
    bool current;
    u64 names, results;
    u64 ratingChange, penalty, valid, rating; // current format
    u64 setEntries, movement, hands;          // current format, optional
    u64 handBoards;                           // boards whose deal the hand block holds whole
    u64 oldRating, oldPenalty, oldOptions;    // old format, optional
};

struct Counts {
    u64 P, B, R, S;
};

Counts countsOf(const TournamentHeader& h) {
    const auto P = static_cast<u64>(h.NumPairs), B = static_cast<u64>(h.NumBoards),
               R = static_cast<u64>(h.NumRounds);
    return {P, B, R, B / static_cast<u64>(h.BoardsPerRound)};
}

// The bytes INITTOURNAMENT and a custom movement would take for this header.
u64 memoryFor(const Counts& c) {
    const u64 perBoardEntry = 4 + 8 + 8;        // Results, BoardPoints, BoardPercent
    const u64 perSetEntry = 8 + 8 + 8;          // MatchPoints, MatchVP, Movement
    const u64 perBoard = 4 + CardsPerBoard;     // BoardValid, HandCards
    const u64 perPair = 4 * 4 + 64 + 8 + 8 + 4; // totals, names, ratings, placement
    return perBoardEntry * c.B * c.R + perSetEntry * c.S * c.R + 4 * c.S + perBoard * c.B +
           perPair * c.P;
}

// True for a header some version of the program could have written: counts
// positive and not beyond the limits, at least one board set, both types in their
// lists.
bool plausible(const TournamentHeader& h) {
    const auto inRange = [](std::int32_t v) { return v >= 1 && v <= MaxFileCount; };
    if (!inRange(h.NumPairs) || !inRange(h.NumBoards) || !inRange(h.NumRounds) ||
        !inRange(h.BoardsPerRound))
        return false;
    if (h.BoardsPerRound > h.NumBoards) return false;
    if (h.CalcType < CALC_MATCHPOINTS || h.CalcType > CALC_CALCUTTA) return false;
    if (h.MovementType < MOVE_MITCHELL || h.MovementType > MOVE_CUSTOM) return false;
    return memoryFor(countsOf(h)) <= MaxFileMemory;
}

// A rating mode no version wrote is read as no rating, so that nothing acts on it.
std::int32_t knownRatingMode(std::int32_t mode) {
    return mode == -1 || mode == 1 ? mode : 0;
}

// The round after which a Mitchell skips when the file does not say: (pairs + 1)
// / 4, worked out wide so that no count of a damaged header can overflow it.
std::int16_t defaultSkipRound(std::int32_t pairs) {
    const std::int64_t round = (std::int64_t{pairs} + 1) / 4;
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(round, INT16_MIN, INT16_MAX));
}

TournamentHeader currentHeader(const unsigned char* p) {
    TournamentHeader h;
    std::memcpy(h.TournamentName, p, TournamentNameLength);
    std::int32_t* fields[] = {&h.CalcType,   &h.MovementType,   &h.NumPairs,      &h.NumBoards,
                              &h.NumRounds,  &h.BoardsPerRound, &h.SkipOn,        &h.SkipBoards,
                              &h.RatingMode, &h.HighRated,      &h.OrderAsPlayed, &h.UseNeuberg,
                              &h.HasHands};
    const unsigned char* q = p + TournamentNameLength;
    for (std::int32_t* f : fields) {
        *f = getI32(q);
        q += 4;
    }
    h.SkipAfterRound = getI16(q);
    std::memcpy(h.Reserved, q + 2, sizeof h.Reserved);
    return h;
}

// The old format's first block, with the settings it does not carry at their
// fixed values (the optional tails may change some of them later).
TournamentHeader oldHeader(const unsigned char* p) {
    TournamentHeader h;
    std::memset(&h, 0, sizeof h);
    h.NumPairs = getI32(p);
    h.NumBoards = getI32(p + 4);
    h.NumRounds = getI32(p + 8);
    h.BoardsPerRound = getI32(p + 12);
    h.CalcType = getI32(p + 16);
    h.MovementType = getI32(p + 20);
    h.SkipOn = getI32(p + 24);
    std::memcpy(h.TournamentName, p + 28, TournamentNameLength);
    h.RatingMode = 0;
    h.HighRated = LFALSE;
    h.OrderAsPlayed = LTRUE;
    h.SkipBoards = LTRUE;
    h.UseNeuberg = LFALSE;
    h.HasHands = LFALSE;
    h.SkipAfterRound = 0; // set once the counts are known to be sane
    return h;
}

bool floatsSane(const Bytes& d, u64 at, u64 count) {
    for (u64 n = 0; n < count; ++n) {
        const float v = getF32(&d[at + 4 * n]);
        if (!std::isfinite(v) || std::fabs(v) >= MaxFileFloat) return false;
    }
    return true;
}

bool intsWithin(const Bytes& d, u64 at, u64 count, std::int32_t lo, std::int32_t hi) {
    for (u64 n = 0; n < count; ++n) {
        const std::int32_t v = getI32(&d[at + 4 * n]);
        if (v < lo || v > hi) return false;
    }
    return true;
}

bool cardsWithin(const Bytes& d, u64 at, u64 count) {
    for (u64 n = 0; n < count; ++n) {
        const auto v = static_cast<std::int8_t>(d[at + n]);
        if (v < 0 || v > 4) return false;
    }
    return true;
}

template <class T> void decodeI32(T* dst, const Bytes& d, u64 at, u64 count) {
    for (u64 n = 0; n < count; ++n)
        dst[n] = getI32(&d[at + 4 * n]);
}
void decodeF32(float* dst, const Bytes& d, u64 at, u64 count) {
    for (u64 n = 0; n < count; ++n)
        dst[n] = getF32(&d[at + 4 * n]);
}

// Reads the header at the start of `d` into L (format, header with the fixed values
// of what the file does not carry). False when it is cut short or absurd.
bool readHeader(const Bytes& d, Layout& L) {
    const u64 size = d.size();
    L = Layout{};
    L.current = size >= MarkerBytes && getI32(d.data()) == FileVersionMark;
    if (L.current) {
        if (size < MarkerBytes + HeaderBytes) return false;
        L.h = currentHeader(d.data() + MarkerBytes);
        L.h.RatingMode = knownRatingMode(L.h.RatingMode);
    } else {
        if (size < OldSettingsBytes) return false;
        L.h = oldHeader(d.data());
    }
    // Nothing is computed from the counts before they are known to be sane.
    if (!plausible(L.h)) return false;
    if (L.h.SkipAfterRound == 0) L.h.SkipAfterRound = defaultSkipRound(L.h.NumPairs);
    return true;
}

// Works out the blocks of the file whose first bytes are in `d` (all of the file
// that can matter). Returns false when the file cannot hold a tournament: a short
// or absurd header, a mandatory block cut short, or values no version wrote.
bool layOut(const Bytes& d, Layout& L) {
    if (!readHeader(d, L)) return false;
    const u64 size = d.size();
    u64 pos = L.current ? MarkerBytes + HeaderBytes : OldSettingsBytes;
    const Counts c = countsOf(L.h);

    L.names = pos;
    L.results = L.names + 64 * c.P;
    pos = L.results + 4 * c.B * c.R;
    if (L.current) {
        L.ratingChange = pos;
        L.penalty = L.ratingChange + 8 * c.P;
        L.valid = L.penalty + 4 * c.P;
        L.rating = L.valid + 4 * c.B;
        pos = L.rating + 8 * c.P;
    }
    // A file that ends before here was cut short.
    if (size < pos) return false;
    if (!floatsSane(d, L.results, c.B * c.R)) return false;

    if (L.current) {
        if (!floatsSane(d, L.ratingChange, 2 * c.P) || !floatsSane(d, L.penalty, c.P)) return false;
        // A custom movement block that is not there at all leaves the movement
        // as freshly made; one cut short is damage. A hand block cut short keeps
        // the deals of the boards it holds whole, and the others are left undealt.
        if (L.h.MovementType == MOVE_CUSTOM) {
            const u64 block = 4 * c.S + 8 * c.S * c.R;
            if (size - pos >= block) {
                L.setEntries = pos;
                L.movement = pos + 4 * c.S;
                if (!intsWithin(d, L.setEntries, c.S, 0, L.h.NumRounds) ||
                    !intsWithin(d, L.movement, 2 * c.S * c.R, 0, L.h.NumPairs))
                    return false;
            } else if (size > pos) {
                // Cut inside the movement: what is there cannot be told from damage.
                return false;
            }
            pos += block;
        }
        if (ISTRUE(L.h.HasHands) && size > pos) {
            L.hands = pos;
            L.handBoards = std::min(c.B, (size - pos) / CardsPerBoard);
            if (!cardsWithin(d, L.hands, CardsPerBoard * L.handBoards)) return false;
        }
    } else {
        // Each optional tail is read whole or not at all; a missing one keeps its
        // defaults, and so do all that would follow it.
        if (size - pos >= 4 + 4 * c.P) {
            if (!floatsSane(d, pos + 4, c.P)) return false;
            L.oldRating = pos;
            L.h.RatingMode = knownRatingMode(getI32(&d[pos]));
            pos += 4 + 4 * c.P;
            if (size - pos >= 4 * c.P + 4 * c.B) {
                if (!floatsSane(d, pos, c.P)) return false;
                L.oldPenalty = pos;
                pos += 4 * c.P + 4 * c.B;
                if (size - pos >= 12) {
                    L.oldOptions = pos;
                    L.h.HighRated = getI32(&d[pos]);
                    L.h.OrderAsPlayed = getI32(&d[pos + 4]);
                    L.h.SkipBoards = getI32(&d[pos + 8]);
                }
            }
        }
    }
    return true;
}

// The most bytes a file with this header can usefully hold.
u64 fullLength(const Layout& L) {
    const Counts c = countsOf(L.h);
    if (L.current)
        return MarkerBytes + HeaderBytes + 84 * c.P + 4 * c.B * c.R + 4 * c.B + 4 * c.S +
               8 * c.S * c.R + CardsPerBoard * c.B;
    return OldSettingsBytes + 64 * c.P + 4 * c.B * c.R + (4 + 4 * c.P) + (4 * c.P + 4 * c.B) + 12;
}

// Fills the arrays, freshly made by INITTOURNAMENT, from the file's blocks.
void fillArrays(const Bytes& d, const Layout& L) {
    const Counts c = countsOf(L.h);
    for (u64 n = 0; n < 2 * c.P; ++n)
        std::memcpy(PlayerNames.data()[n].c, &d[L.names + NameLength * n], NameLength);
    decodeF32(Results.data(), d, L.results, c.B * c.R);
    if (L.current) {
        decodeF32(RatingChange.data(), d, L.ratingChange, 2 * c.P);
        decodeF32(PairPenalty.data(), d, L.penalty, c.P);
        decodeI32(BoardValid.data(), d, L.valid, c.B);
        decodeI32(PlayerRating.data(), d, L.rating, 2 * c.P);
        if (L.setEntries) {
            decodeI32(SetEntries.data(), d, L.setEntries, c.S);
            decodeI32(Movement.data(), d, L.movement, 2 * c.S * c.R);
        }
        if (L.hands) {
            std::int8_t* cards = HandCards.data();
            for (u64 n = 0; n < CardsPerBoard * L.handBoards; ++n)
                cards[n] = static_cast<std::int8_t>(d[L.hands + n]);
        }
        return;
    }
    if (L.oldRating) {
        // One increment per pair, carried by both of its players.
        for (int p = 1; p <= NumPairs; ++p) {
            const float inc = getF32(&d[L.oldRating + 4 + 4 * static_cast<u64>(p - 1)]);
            RatingChange(p, 1) = inc;
            RatingChange(p, 2) = inc;
        }
    }
    if (L.oldPenalty) {
        decodeF32(PairPenalty.data(), d, L.oldPenalty, c.P);
        decodeI32(BoardValid.data(), d, L.oldPenalty + 4 * c.P, c.B);
    }
}

std::string fileNamePart(const std::string& name) {
    const std::u8string s = UTF8PATH(name).filename().u8string();
    return std::string(s.begin(), s.end());
}

// "board 3", "boards 3 and 7", "boards 3, 7 and 9": at most 20 named, then how
// many more.
std::string boardList(const std::vector<int>& boards) {
    constexpr std::size_t Named = 20;
    std::string out = boards.size() == 1 ? "board " : "boards ";
    const std::size_t shown = std::min(boards.size(), Named);
    for (std::size_t n = 0; n < shown; ++n) {
        if (n > 0) out += n + 1 == boards.size() ? " and " : ", ";
        out += std::to_string(boards[n]);
    }
    if (boards.size() > shown) out += " and " + std::to_string(boards.size() - shown) + " more";
    return out;
}

// The boards among the first `count` whose deal gives a hand more than 13 cards.
std::vector<int> impossibleDeals(u64 count) {
    std::vector<int> out;
    for (int b = 1; static_cast<u64>(b) <= count && HandCards.contains(52, b); ++b) {
        int held[5] = {0, 0, 0, 0, 0};
        for (int k = 1; k <= 52; ++k) {
            const int hand = HandCards(k, b);
            if (hand >= 1 && hand <= 4) ++held[hand];
        }
        if (held[1] > 13 || held[2] > 13 || held[3] > 13 || held[4] > 13) out.push_back(b);
    }
    return out;
}

bool cannotOpen(const std::string& name) {
    SHOWMESSAGE("File " + CONTROLPICTURES(name) + " is deleted or moved.", "Error opening file");
    return false;
}

bool damaged(const std::string& name) {
    SHOWMESSAGE("File " + CONTROLPICTURES(name) + " is damaged.", "Error opening file");
    return false;
}

// Something that exists but is no file (a folder, a device, a pipe).
bool notTournamentFile(const std::string& name) {
    SHOWMESSAGE("File " + CONTROLPICTURES(name) + " is not a tournament file.", "Error opening file");
    return false;
}

// Reads up to `limit` bytes of the file from its start; false when the file
// cannot be opened at all.
bool readStart(const fs::path& path, u64 limit, Bytes& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.resize(static_cast<std::size_t>(limit));
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(limit));
    out.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

} // namespace

FileStamp TournamentStamp;
std::string TournamentStampFile;

bool READNTRFILE(const std::string& given, NtrFileImage& image) {
    const std::string name = given.substr(0, given.find('\0'));
    image = NtrFileImage{};
    const fs::path path = UTF8PATH(name);
    // Taken before the reading, so that a change made meanwhile is noticed.
    image.stamp = FILESTAMP(name);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!name.empty() && fs::exists(status) && !fs::is_regular_file(status))
        return notTournamentFile(name);
    if (name.empty() || !fs::is_regular_file(status)) return cannotOpen(name);
    const u64 size = fs::file_size(path, ec);
    if (ec) return cannotOpen(name);

    // The header first, then as much of the file as that header can describe: no
    // more memory than the file size and the header's sane counts allow.
    Bytes data;
    if (!readStart(path, std::min<u64>(size, MarkerBytes + HeaderBytes), data))
        return cannotOpen(name);
    Layout L;
    if (!readHeader(data, L)) return damaged(name);
    if (!readStart(path, std::min(size, fullLength(L)), data)) return cannotOpen(name);
    if (!layOut(data, L)) return damaged(name);
    image.name = name;
    image.bytes = std::move(data);
    return true;
}

bool OPENNTRFILE(const std::string& given) {
    NtrFileImage image;
    return READNTRFILE(given, image) && LOADNTRFILE(image);
}

bool LOADNTRFILE(NtrFileImage& image) {
    const std::string name = image.name;
    const FileStamp stamp = image.stamp;
    Bytes data = std::move(image.bytes);
    image = NtrFileImage{};
    Layout L;
    if (!layOut(data, L)) return damaged(name);

    // From here on the file is known to be whole; nothing can fail but memory.
    if (TournamentOpen) CLOSETOURNAMENT();
    const TournamentHeader previous = Header;
    const std::int32_t previousSets = NumBoardSets;
    Movement.release(); // a custom movement left over from an editor must not survive
    SetEntries.release();
    Header = L.h;
    NumBoardSets = NumBoards / BoardsPerRound;
    if (!INITTOURNAMENT()) {
        Header = previous;
        NumBoardSets = previousSets;
        return false;
    }
    fillArrays(data, L);
    data = Bytes();

    NeedsRecalc = RatingMode != 0;
    // A rated tournament whose players' ratings were never looked up (the old
    // format has none, a file saved without a register holds -1) gets them from
    // the register; otherwise it keeps the ratings it was scored with.
    bool lookedUp = L.current;
    for (int n = 0; lookedUp && n < 2 * NumPairs; ++n)
        lookedUp = PlayerRating.data()[n] != -1;
    if (RatingMode != 0 && !lookedUp && Compute.assignPairRating)
        Compute.assignPairRating();
    else
        SETTOURNAMENTSTRENGTH();
    if (Compute.calculateMovement) Compute.calculateMovement();
    if (Compute.calcAll) Compute.calcAll();

    HasFileName = true;
    TournamentFile = name;
    TournamentStamp = stamp;
    TournamentStampFile = name;
    TournamentFileTitle = fileNamePart(name);
    SETSAVE(false);
    if (Ui.fileOpened) Ui.fileOpened(name);
    // A hand block cut short was read as far as it goes: say which deals it lacks.
    if (L.hands && L.handBoards < static_cast<u64>(NumBoards)) {
        const std::string from = std::to_string(L.handBoards + 1), to = std::to_string(NumBoards);
        SHOWMESSAGE("File " + CONTROLPICTURES(name) + " is cut short in its hand diagrams: the deal" +
                        (from == to ? " of board " + to + " is" : "s of boards " + from + " to " + to + " are") +
                        " missing.",
                    "Error opening file");
    }
    // A deal no table can hold is kept as read, and said, since it can be neither
    // analysed nor exported until it is mended.
    const std::vector<int> impossible = impossibleDeals(L.handBoards);
    if (!impossible.empty())
        SHOWMESSAGE("File " + name + (impossible.size() == 1 ? " holds an impossible deal on "
                                                               : " holds impossible deals on ") +
                        boardList(impossible) +
                        ": a hand has more than 13 cards. The cards are kept as read; mend them in "
                        "the hand diagrams.",
                    "Error opening file");
    return true;
}

namespace {

// The current format of the open tournament. Elements outside an array's extents
// (a custom movement made for other counts) are written as 0.
std::string tournamentImage() {
    const int P = NumPairs, B = NumBoards, R = NumRounds;
    const int S = BoardsPerRound > 0 ? NumBoards / BoardsPerRound : 0;
    PlayerName blank;
    std::memset(blank.c, ' ', sizeof blank.c);

    Image out;
    if (P > 0 && B > 0 && R > 0)
        out.reserve(static_cast<std::size_t>(128 + 84 * u64(P) + 4 * u64(B) * u64(R) + 56 * u64(B) +
                                             12 * u64(S) * u64(R)));
    out.i32(FileVersionMark);
    out.raw(Header.TournamentName, TournamentNameLength);
    for (std::int32_t v :
         {CalcType, MovementType, NumPairs, NumBoards, NumRounds, BoardsPerRound, SkipOn,
          SkipBoards, RatingMode, HighRated, OrderAsPlayed, UseNeuberg, HasHands})
        out.i32(v);
    out.i16(SkipAfterRound);
    out.raw(Header.Reserved, sizeof Header.Reserved);

    for (int j = 1; j <= 2; ++j)
        for (int p = 1; p <= P; ++p)
            out.raw(PlayerNames.contains(p, j) ? PlayerNames(p, j).c : blank.c, NameLength);
    for (int i = 1; i <= R; ++i)
        for (int b = 1; b <= B; ++b)
            out.f32(Results.contains(b, i) ? Results(b, i) : 0.0f);
    for (int j = 1; j <= 2; ++j)
        for (int p = 1; p <= P; ++p)
            out.f32(RatingChange.contains(p, j) ? RatingChange(p, j) : 0.0f);
    for (int p = 1; p <= P; ++p)
        out.f32(PairPenalty.contains(p) ? PairPenalty(p) : 0.0f);
    for (int b = 1; b <= B; ++b)
        out.i32(BoardValid.contains(b) ? BoardValid(b) : LTRUE);
    for (int j = 1; j <= 2; ++j)
        for (int p = 1; p <= P; ++p)
            out.i32(PlayerRating.contains(p, j) ? PlayerRating(p, j) : -1);
    if (MovementType == MOVE_CUSTOM) {
        for (int k = 1; k <= S; ++k)
            out.i32(SetEntries.contains(k) ? SetEntries(k) : 0);
        for (int s = 1; s <= 2; ++s)
            for (int i = 1; i <= R; ++i)
                for (int k = 1; k <= S; ++k)
                    out.i32(Movement.contains(k, i, s) ? Movement(k, i, s) : 0);
    }
    if (ISTRUE(HasHands)) {
        for (int b = 1; b <= B; ++b)
            for (int card = 1; card <= 52; ++card)
                out.byte(HandCards.contains(card, b) ? HandCards(card, b) : 0);
    }
    return out.bytes();
}

} // namespace

bool SETJOURNALASIDE(const std::string& file, std::string& reason, std::string* aside) {
    const fs::path journal = UTF8PATH(file + ".tables");
    std::error_code ec;
    if (!fs::exists(journal, ec)) return true;
    for (int n = 1; n < 10000; ++n) {
        const std::string name = file + ".tables." + std::to_string(n);
        const fs::path free = UTF8PATH(name);
        if (fs::exists(free, ec)) continue;
        fs::rename(journal, free, ec);
        if (ec) {
            reason = ec.message();
            return false;
        }
        if (aside != nullptr) *aside = name;
        return true;
    }
    reason = "no free name to keep it under";
    return false;
}

bool WRITENTRFILE() {
    if (!TournamentOpen) {
        SHOWMESSAGE("There is no tournament to save.", "Error");
        return false;
    }
    // The players register is the program's own file: a tournament never replaces it.
    if (const std::string reg = PROGRAMFILE("Players.opd"); !reg.empty() && SAMEFILE(TournamentFile, reg)) {
        SHOWMESSAGE("The file " + TournamentFile +
                        " is the players register: it is left as it was. Choose another name for the "
                        "tournament.",
                    "Error");
        return false;
    }
    const std::string image = tournamentImage();
    std::error_code ec;
    const bool existed = fs::exists(UTF8PATH(TournamentFile), ec);
    std::string reason;
    // Where no lock file can be made (a folder that may not be written) the
    // save goes on, and says why it fails if it does.
    FileLock lock;
    bool busy = false;
    if (!LOCKFILE(TournamentFile, lock, reason, &busy) && busy) {
        SHOWMESSAGE("The file " + TournamentFile + " could not be saved: " + reason + "." +
                        (existed ? " The previous version is unchanged." : ""),
                    "Error");
        return false;
    }
    // Another program (a second window, orla-cli) saved over it since it was read.
    if (TournamentStampFile == TournamentFile && FILESTAMP(TournamentFile) != TournamentStamp &&
        SHOWMESSAGE("The file " + TournamentFile +
                        " was changed by another program since it was opened here. Do you want "
                        "to replace it with this tournament? No leaves the file as the other "
                        "program saved it.",
                    "Question", MSG_YESNO_QUESTION) != ANSWER_YES)
        return false;
    // Another tournament than the one read from (or last saved to) this file.
    if (TournamentStampFile != TournamentFile && !SETJOURNALASIDE(TournamentFile, reason)) {
        SHOWMESSAGE("The file " + CONTROLPICTURES(TournamentFile) +
                        " could not be saved: the table scoring journal beside it (" +
                        CONTROLPICTURES(TournamentFile) +
                        ".tables) belongs to the tournament saved there before and could not "
                        "be kept aside: " + reason + "." +
                        (existed ? " The previous version is unchanged." : ""),
                    "Error");
        return false;
    }
    if (!SAFEWRITEFILE(TournamentFile, image.data(), image.size(), reason)) {
        SHOWMESSAGE("The file " + CONTROLPICTURES(TournamentFile) + " could not be saved: " + reason + "." +
                        (existed ? " The previous version is unchanged." : ""),
                    "Error");
        return false;
    }
    TournamentStamp = FILESTAMP(TournamentFile);
    TournamentStampFile = TournamentFile;
    SETSAVE(false);
    HasFileName = true;
    return true;
}

bool READTOURNAMENTNAME(const std::string& given, std::string& tournamentName) {
    const std::string name = given.substr(0, given.find('\0'));
    const fs::path path = UTF8PATH(name);
    Bytes data;
    if (name.empty() || !readStart(path, MarkerBytes + HeaderBytes, data)) return false;
    Layout L;
    if (!readHeader(data, L)) return false;
    tournamentName.assign(L.h.TournamentName, TournamentNameLength);
    return true;
}

bool READRATINGCHANGES(const std::string& given, FileRatingChanges& out) {
    out = FileRatingChanges{};
    const std::string name = given.substr(0, given.find('\0'));
    const fs::path path = UTF8PATH(name);
    std::error_code ec;
    if (name.empty() || !fs::is_regular_file(path, ec)) return false;
    const u64 size = fs::file_size(path, ec);
    if (ec) return false;
    // A file of a club's size is read in one go; a larger one header first, so
    // that no more is read than its header can describe.
    constexpr u64 OneGo = u64{1} << 20;
    Bytes data;
    if (!readStart(path, std::min<u64>(size, size <= OneGo ? size : MarkerBytes + HeaderBytes), data))
        return false;
    Layout L;
    if (!readHeader(data, L)) return false;
    // Everything the checks of the whole reader look at, so that a file it
    // calls damaged is not counted here.
    if (data.size() < std::min(size, fullLength(L)) &&
        !readStart(path, std::min(size, fullLength(L)), data))
        return false;
    if (!layOut(data, L)) return false;

    const Counts c = countsOf(L.h);
    out.current = L.current;
    out.numPairs = L.h.NumPairs;
    out.ratingMode = L.h.RatingMode;
    out.ratingStored = L.current || L.oldRating != 0;
    out.names.resize(static_cast<std::size_t>(2 * c.P));
    out.changes.assign(static_cast<std::size_t>(2 * c.P), 0.0f);
    for (u64 n = 0; n < 2 * c.P; ++n)
        std::memcpy(out.names[n].c, &data[L.names + NameLength * n], NameLength);
    if (L.current) {
        decodeF32(out.changes.data(), data, L.ratingChange, 2 * c.P);
    } else if (L.oldRating) {
        for (u64 p = 0; p < c.P; ++p)
            out.changes[p] = out.changes[p + c.P] = getF32(&data[L.oldRating + 4 + 4 * p]);
    }
    return true;
}
