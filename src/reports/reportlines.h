#pragma once
// Small helpers the report builders share: composing fixed-column lines and
// reading the tournament arrays only where they really hold values.

#include "core/tournament.h"

#include <algorithm>
#include <string>

// Writes `text` into `line` from 1-based column `col` on, cut at the line's end.
inline void PUTCOLUMN(std::string& line, int col, const std::string& text) {
    if (col < 1) return;
    const std::size_t at = static_cast<std::size_t>(col - 1);
    if (at >= line.size()) return;
    line.replace(at, std::min(text.size(), line.size() - at), text.substr(0, line.size() - at));
}

// The line without its trailing blanks.
inline std::string TRIMMED(const std::string& line) {
    const auto end = line.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : line.substr(0, end + 1);
}

// Player j of pair p without trailing blanks (NULs as blanks), cut to `width`;
// empty for a pair the array does not hold.
inline std::string PLAYERNAME(int p, int j, int width) {
    if (!PlayerNames.contains(p, j)) return {};
    std::string name(PlayerNames(p, j).c, NameLength);
    std::replace(name.begin(), name.end(), '\0', ' ');
    return TRIMMED(name).substr(0, static_cast<std::size_t>(std::max(width, 0)));
}

// The tournament's name without trailing blanks (NULs as blanks).
inline std::string TOURNAMENTNAMETEXT() {
    std::string name(Header.TournamentName, TournamentNameLength);
    std::replace(name.begin(), name.end(), '\0', ' ');
    return TRIMMED(name);
}

// A float element, or 0 outside the array.
template <class A, class... I> float VALUEAT(const A& a, I... i) {
    return a.contains(i...) ? static_cast<float>(a(i...)) : 0.0f;
}

// The pairs the arrays hold: 1..REPORTPAIRS().
inline int REPORTPAIRS() {
    return std::max(0, std::min({NumPairs, PlayerNames.extent(1), PairTotal.extent(1),
                                 PairPercent.extent(1), PairPenalty.extent(1)}));
}

// The board sets whose entries may be read, and the entries of set k that the
// movement lists (within the array).
inline int REPORTSETS() {
    if (!Movement.allocated() || !SetEntries.allocated()) return 0;
    return std::max(0, std::min({NumBoardSets, Movement.extent(1), SetEntries.extent(1)}));
}
inline int REPORTENTRIES(int k) {
    if (k < 1 || k > REPORTSETS()) return 0;
    return std::max(0, std::min({SetEntries(k), Movement.extent(2), Results.extent(2)}));
}

// The board set of board b (boards after the last whole set have none: 0).
inline int SETOFBOARD(int b) {
    if (BoardsPerRound < 1 || b < 1) return 0;
    const int k = (b - 1) / BoardsPerRound + 1;
    return k <= REPORTSETS() ? k : 0;
}

// The boards whose results may be read.
inline int REPORTBOARDS() {
    return std::max(0, std::min(NumBoards, Results.extent(1)));
}

// `text` right-justified in `width` (cut on the left when longer), and
// left-justified (cut on the right).
inline std::string RJUST(const std::string& text, int width) {
    const std::size_t w = static_cast<std::size_t>(std::max(width, 0));
    return text.size() >= w ? text.substr(text.size() - w) : std::string(w - text.size(), ' ') + text;
}
inline std::string LJUST(const std::string& text, int width) {
    const std::size_t w = static_cast<std::size_t>(std::max(width, 0));
    return text.size() >= w ? text.substr(0, w) : text + std::string(w - text.size(), ' ');
}

// Results(b, i), a value that is not a number read as no result.
inline float RESULTAT(int b, int i) {
    if (!Results.contains(b, i)) return 0.0f;
    const float v = Results(b, i);
    return v == v && v - v == 0.0f ? v : 0.0f;
}
