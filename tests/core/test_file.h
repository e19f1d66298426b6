#pragma once
// Helpers of the tournament-file tests: a tournament filled with varied data, a
// snapshot of everything the file keeps, and a little-endian byte builder for
// hand-made files.

#include "core/tournament.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace filetest {

// Bytes of a file under construction, little-endian.
struct Bytes {
    std::string b;
    Bytes& i32(std::int32_t v) {
        for (int k = 0; k < 4; ++k)
            b += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * k)) & 0xFF);
        return *this;
    }
    Bytes& f32(float v) {
        std::uint32_t u;
        std::memcpy(&u, &v, 4);
        return i32(static_cast<std::int32_t>(u));
    }
    Bytes& text(const std::string& s, std::size_t n) {
        std::string t = s;
        t.resize(n, ' ');
        b += t;
        return *this;
    }
};

inline void writeBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Shape {
    int movement, calc, pairs, boards, rounds, perRound;
    bool hands;
};

// Opens a tournament of this shape through INITTOURNAMENT and fills everything the
// file keeps with values that differ from the initial ones.
inline void makeTournament(const Shape& s, unsigned seed) {
    std::mt19937 rng(seed);
    const auto pick = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    SETFIELD(Header.TournamentName, TournamentNameLength,
             "Kup \xD0or\xF0"
             "evi\xE6"
             "a " +
                 std::to_string(seed));
    CalcType = s.calc;
    MovementType = s.movement;
    NumPairs = s.pairs;
    NumBoards = s.boards;
    NumRounds = s.rounds;
    BoardsPerRound = s.perRound;
    SkipOn = TOLOGICAL(pick(0, 1));
    SkipBoards = pick(0, 1) ? LTRUE : 1; // any odd value is true and must survive as written
    RatingMode = pick(-1, 1);
    HighRated = TOLOGICAL(pick(0, 1));
    OrderAsPlayed = TOLOGICAL(pick(0, 1));
    UseNeuberg = TOLOGICAL(pick(0, 1));
    HasHands = TOLOGICAL(s.hands);
    SkipAfterRound = static_cast<std::int16_t>(pick(1, 9));
    for (char& c : Header.Reserved)
        c = static_cast<char>(pick(0, 255));
    NumBoardSets = NumBoards / BoardsPerRound;
    if (!INITTOURNAMENT()) return;
    for (int j = 1; j <= 2; ++j)
        for (int p = 1; p <= NumPairs; ++p) {
            SETFIELD(PlayerNames(p, j).c, NameLength,
                     "\x8A"
                     "e\x9A"
                     "elj " +
                         std::to_string(p * 10 + j));
            PlayerRating(p, j) = pick(-1, 2500);
            RatingChange(p, j) = static_cast<float>(pick(-400, 400)) / 7.0f;
        }
    for (int i = 1; i <= NumRounds; ++i)
        for (int b = 1; b <= NumBoards; ++b) {
            switch (pick(0, 3)) {
            case 0:
                Results(b, i) = 0.0f;
                break;
            case 1:
                Results(b, i) = static_cast<float>(pick(-500, 999));
                break;
            case 2:
                Results(b, i) = static_cast<float>(pick(-760, 760) - 1000);
                break;
            default:
                Results(b, i) = static_cast<float>(10000 + 100 * pick(0, 99) + pick(0, 99));
            }
        }
    for (int p = 1; p <= NumPairs; ++p)
        PairPenalty(p) = pick(0, 3) == 0 ? 0.1f * static_cast<float>(pick(1, 30)) : 0.0f;
    for (int b = 1; b <= NumBoards; ++b)
        BoardValid(b) = pick(0, 4) == 0 ? LFALSE : LTRUE;
    if (s.movement == MOVE_CUSTOM) {
        for (int k = 1; k <= NumBoardSets; ++k)
            SetEntries(k) = pick(0, NumRounds);
        for (int side = 1; side <= 2; ++side)
            for (int i = 1; i <= NumRounds; ++i)
                for (int k = 1; k <= NumBoardSets; ++k)
                    Movement(k, i, side) = pick(0, NumPairs);
    }
    for (int b = 1; b <= NumBoards; ++b)
        for (int card = 1; card <= 52; ++card)
            HandCards(card, b) = s.hands ? static_cast<std::int8_t>(pick(0, 4)) : 0;
}

template <class T, int R> std::string bytesOf(const Array<T, R>& a) {
    return std::string(reinterpret_cast<const char*>(a.data()), a.bytes());
}

// Everything the file keeps, as bytes (the movement only when it is custom).
struct Snapshot {
    std::string header, names, results, change, penalty, valid, rating, sets, movement, hands;
    bool operator==(const Snapshot&) const = default;
};

inline Snapshot snapshot() {
    Snapshot s;
    s.header.assign(reinterpret_cast<const char*>(&Header), sizeof Header);
    s.names = bytesOf(PlayerNames);
    s.results = bytesOf(Results);
    s.change = bytesOf(RatingChange);
    s.penalty = bytesOf(PairPenalty);
    s.valid = bytesOf(BoardValid);
    s.rating = bytesOf(PlayerRating);
    if (MovementType == MOVE_CUSTOM) {
        s.sets = bytesOf(SetEntries);
        s.movement = bytesOf(Movement);
    }
    if (ISTRUE(HasHands)) s.hands = bytesOf(HandCards);
    return s;
}

} // namespace filetest
