#pragma once
// What the kill test and its saver agree on: the three files that are saved over
// and over, and the contents of each generation of them, so that whatever is on
// the disk after a kill can be told to be one generation or another, or neither.
//
// The saver (killsaver.cpp) reports on its standard output, one line each:
//   "R 0"        it has loaded the register and starts saving;
//   "B <f> <g>"  it begins the save of generation g of file f;
//   "D <f> <g>"  that save returned success;
//   "F <f> <g>"  that save failed (the saver then stops).
// f is 'T' (the tournament), 'P' (the players register) or 'M' (the movement file).

#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "core/test_file.h"
#include "movement/custom.h"
#include "players/players.h"

#include <cstring>
#include <cstdint>
#include <string>
#include <vector>

namespace killsave {

inline const char* const TournamentFileName = "Kill test.otr";
inline const char* const MovementFileName = "kill.ocm";
constexpr char Files[3] = {'T', 'P', 'M'};

// A few numbers for each generation, drawn cheaply enough that the checks stay
// quick under the sanitizers.
struct Draw {
    std::uint32_t x;
    explicit Draw(std::uint32_t seed) : x(seed * 2654435761u + 12345u) {}
    int operator()(int lo, int hi) {
        x = x * 1664525u + 1013904223u;
        return lo + static_cast<int>((x >> 8) % static_cast<std::uint32_t>(hi - lo + 1));
    }
};

// A custom movement of 200 pairs, 400 boards in 100 rounds, with hand
// diagrams: some 280 KB, so that a kill often finds the save in the middle.
constexpr int Pairs = 200, Boards = 400, Rounds = 100, PerRound = 4;

// Opens generation `gen` of the tournament; its name says which one it is.
inline void MAKETOURNAMENT(long gen) {
    RESETTOURNAMENTSTATE();
    SETFIELD(Header.TournamentName, TournamentNameLength, "Generation " + std::to_string(gen));
    CalcType = CALC_IMPS;
    MovementType = MOVE_CUSTOM;
    NumPairs = Pairs;
    NumBoards = Boards;
    NumRounds = Rounds;
    BoardsPerRound = PerRound;
    HasHands = LTRUE;
    SkipAfterRound = 3;
    NumBoardSets = NumBoards / BoardsPerRound;
    if (!INITTOURNAMENT()) return;
    Draw pick(static_cast<std::uint32_t>(gen));
    for (std::size_t n = 0; n < PlayerNames.size(); ++n)
        SETFIELD(PlayerNames.data()[n].c, NameLength,
                 "Player " + std::to_string(n) + " of " + std::to_string(gen));
    for (std::size_t n = 0; n < Results.size(); ++n)
        Results.data()[n] = static_cast<float>(pick(0, 2) ? pick(-1760, 999) : 10000 + pick(0, 9999));
    for (std::size_t n = 0; n < RatingChange.size(); ++n)
        RatingChange.data()[n] = static_cast<float>(pick(-400, 400)) / 7.0f;
    for (std::size_t n = 0; n < PairPenalty.size(); ++n)
        PairPenalty.data()[n] = 0.1f * static_cast<float>(pick(0, 3));
    for (std::size_t n = 0; n < BoardValid.size(); ++n) BoardValid.data()[n] = TOLOGICAL(pick(0, 4));
    for (std::size_t n = 0; n < PlayerRating.size(); ++n) PlayerRating.data()[n] = pick(0, 2500);
    for (std::size_t n = 0; n < SetEntries.size(); ++n) SetEntries.data()[n] = pick(1, NumRounds);
    for (std::size_t n = 0; n < Movement.size(); ++n) Movement.data()[n] = pick(0, NumPairs);
    for (std::size_t n = 0; n < HandCards.size(); ++n)
        HandCards.data()[n] = static_cast<std::int8_t>(pick(0, 4));
}

// Fills the custom movement of the open tournament with generation `gen` of the
// movement file.
inline void FILLMOVEMENT(long gen) {
    Draw pick(static_cast<std::uint32_t>(gen) + 7919u);
    for (std::size_t n = 0; n < SetEntries.size(); ++n) SetEntries.data()[n] = pick(1, NumRounds);
    for (std::size_t n = 0; n < Movement.size(); ++n) Movement.data()[n] = pick(0, NumPairs);
}

inline std::string MOVEMENTSNAPSHOT() {
    return filetest::bytesOf(SetEntries) + filetest::bytesOf(Movement);
}

// The register: 300 players that never change, then "Counter", whose rating the
// rewrite changes, and in every third generation "Extra", appended to the file
// and removed again by the rewrite after the next:
//   generation g = 1 mod 3: Extra appended with rating and delta g;
//   generation g = 2 mod 3: Counter's rating set to g (the file rewritten);
//   generation g = 0 mod 3: Extra removed (the file rewritten).
constexpr int BasePlayers = 300;

struct RegRecord {
    std::string name; // 30 characters, blank padded
    std::int32_t rating, delta;
    bool operator==(const RegRecord&) const = default;
};

inline std::string padded(const std::string& name) {
    std::string s = name;
    s.resize(RegNameLength, ' ');
    return s;
}

// The latest generation up to `gen` that is `rest` mod 3, or 0.
inline long latest(long gen, int rest) {
    for (long m = gen; m >= 1; --m)
        if (m % 3 == rest) return m;
    return 0;
}

inline std::vector<RegRecord> EXPECTEDREGISTER(long gen) {
    std::vector<RegRecord> r;
    for (int i = 1; i <= BasePlayers; ++i)
        r.push_back({padded("Player " + std::to_string(i)), 1000 + i, i % 7 - 3});
    r.push_back({padded("Counter"), static_cast<std::int32_t>(latest(gen, 2)), 0});
    if (gen % 3 != 0) {
        const auto added = static_cast<std::int32_t>(latest(gen, 1));
        r.push_back({padded("Extra"), added, added});
    }
    return r;
}

// The register in memory, as records.
inline std::vector<RegRecord> LOADEDREGISTER() {
    std::vector<RegRecord> r;
    for (int i = 1; i <= RegisteredCount; ++i)
        r.push_back({std::string(RegName(i).c, RegNameLength), RegRating(i), RegDelta(i)});
    return r;
}

// Puts generation 0 in memory and writes it whole.
inline bool WRITEREGISTERZERO() {
    RESETPLAYERS();
    const std::vector<RegRecord> zero = EXPECTEDREGISTER(0);
    if (!REGPLAYERREALLOC(static_cast<int>(zero.size()))) return false;
    for (const RegRecord& rec : zero) {
        ++RegisteredCount;
        std::memcpy(RegName(RegisteredCount).c, rec.name.data(), RegNameLength);
        RegRating(RegisteredCount) = rec.rating;
        RegDelta(RegisteredCount) = rec.delta;
    }
    return WRITEPLAYERSFILE();
}

// Turns the register of generation gen - 1 (in memory, as loaded) into
// generation gen through the register's own routines.
inline bool REGISTERSTEP(long gen) {
    switch (gen % 3) {
    case 1: return APPENDREGPLAYER("Extra", static_cast<int>(gen));
    case 2: return CHANGEREGRATING("Counter", static_cast<int>(gen));
    default: return REMOVEREGPLAYER("Extra");
    }
}

} // namespace killsave
