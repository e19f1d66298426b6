#pragma once
// Helpers of the tournament-file tests: a tournament filled with varied data, a
// snapshot of everything the file keeps, and a little-endian byte builder.

#include "core/tournament.h"

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace filetest {

// Hand-made files are built from the host's bytes.
static_assert(std::endian::native == std::endian::little);

struct Bytes {
    std::string b;
    Bytes& i32(std::int32_t v) {
        b.append(reinterpret_cast<const char*>(&v), 4);
        return *this;
    }
    Bytes& f32(float v) {
        b.append(reinterpret_cast<const char*>(&v), 4);
        return *this;
    }
    Bytes& text(std::string s, std::size_t n) {
        s.resize(n, ' ');
        b += s;
        return *this;
    }
};

inline void writeBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Shape {
    int movement, calc, pairs, boards, rounds, perRound;
    bool hands;
};

template <class T, int R, class F> void fillWith(Array<T, R>& a, F value) {
    for (std::size_t n = 0; n < a.size(); ++n)
        a.data()[n] = static_cast<T>(value(n));
}

// Opens a tournament of this shape and fills everything the file keeps with
// values unlike the initial ones.
inline void makeTournament(const Shape& s, unsigned seed) {
    std::mt19937 rng(seed);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); };
    SETFIELD(Header.TournamentName, TournamentNameLength,
             "Kup \xC8"
             "a\xE8"
             "ak");
    Header.CalcType = s.calc;
    Header.MovementType = s.movement;
    Header.NumPairs = s.pairs;
    Header.NumBoards = s.boards;
    Header.NumRounds = s.rounds;
    Header.BoardsPerRound = s.perRound;
    for (Logical* l : {&SkipOn, &HighRated, &OrderAsPlayed, &UseNeuberg})
        *l = TOLOGICAL(pick(0, 1));
    SkipBoards = 1; // any odd value is true and must come back as written
    RatingMode = pick(-1, 1);
    HasHands = TOLOGICAL(s.hands);
    SkipAfterRound = static_cast<std::int16_t>(pick(1, 9));
    std::memcpy(Header.Reserved, "\x01\xFE\x00\x7F\x80\x20", 6);
    NumBoardSets = NumBoards / BoardsPerRound;
    if (!INITTOURNAMENT()) return;
    for (std::size_t n = 0; n < PlayerNames.size(); ++n)
        SETFIELD(PlayerNames.data()[n].c, NameLength,
                 "\x8A"
                 "e\x9A"
                 "elj " +
                     std::to_string(n));
    fillWith(PlayerRating, [&](auto) { return pick(-1, 2500); });
    fillWith(RatingChange, [&](auto) { return pick(-400, 400) / 7.0f; });
    fillWith(Results, [&](auto) { return pick(0, 2) ? pick(-1760, 999) : 10000 + pick(0, 9999); });
    fillWith(PairPenalty, [&](auto) { return 0.1f * pick(0, 3); });
    fillWith(BoardValid, [&](auto) { return TOLOGICAL(pick(0, 4)); });
    if (s.movement == MOVE_CUSTOM) {
        fillWith(SetEntries, [&](auto) { return pick(1, NumRounds); });
        fillWith(Movement, [&](auto) { return pick(0, NumPairs); });
    }
    // Cards dealt at random, some left undealt, but no hand beyond 13 cards: a
    // deal no table could hold is reported when the file is opened.
    if (s.hands) {
        for (int b = 1; b <= NumBoards; ++b) {
            int held[5] = {0, 0, 0, 0, 0};
            for (int k = 1; k <= 52; ++k) {
                int hand = pick(0, 4);
                if (held[hand] == 13) hand = 0;
                ++held[hand];
                HandCards(k, b) = static_cast<std::int8_t>(hand);
            }
        }
    }
}

template <class T, int R> std::string bytesOf(const Array<T, R>& a) {
    return std::string(reinterpret_cast<const char*>(a.data()), a.bytes());
}

// Everything the file keeps (the movement only when it is custom).
inline std::string snapshot() {
    std::string s(reinterpret_cast<const char*>(&Header), sizeof Header);
    s += bytesOf(PlayerNames) + bytesOf(Results) + bytesOf(RatingChange) + bytesOf(PairPenalty) +
         bytesOf(BoardValid) + bytesOf(PlayerRating) + bytesOf(HandCards);
    if (MovementType == MOVE_CUSTOM) s += bytesOf(SetEntries) + bytesOf(Movement);
    return s;
}

} // namespace filetest
