// The tournament's key figures in the status bar.
#include "core/status.h"

#include "core/hooks.h"
#include "core/strings.h"
#include "core/tournament.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

namespace {

// Board sets and entries that may be read: those the header names, within the
// extents Movement and SetEntries really have.
int readableSets() {
    if (!Movement.allocated() || !SetEntries.allocated()) return 0;
    return std::max(0, std::min({NumBoardSets, Movement.extent(1), SetEntries.extent(1)}));
}

int readableEntries(int set) {
    return std::max(0, std::min(SetEntries(set), Movement.extent(2)));
}

// Number of entries, over the listed entries of every board set, in which pair q
// plays on either side.
std::int64_t entriesOfPair(int q) {
    if (q < 1) return 0;
    std::int64_t count = 0;
    const int sets = readableSets();
    for (int s = 1; s <= sets; ++s) {
        const int entries = readableEntries(s);
        for (int i = 1; i <= entries; ++i)
            if (Movement(s, i, 1) == q || Movement(s, i, 2) == q) ++count;
    }
    return count;
}

// Figures too large for the status bar still give a defined text.
int clampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// A figure right-justified in n characters, or whole when it is longer: the
// status bar has the room, and its texts are only read by people.
std::string figure(int v, int n) {
    const std::string digits = std::to_string(v);
    return digits.size() >= static_cast<std::size_t>(n) ? digits : IWRITE(v, n, true);
}

} // namespace

// Writes the rating strength (part 0, only with rating or masters on), the
// boards played by the first and the last pair (part 1) and, for matchpoints,
// their top (part 2; blank for IMPs and Calcutta) through SETSTATUS. Reads the
// header, Movement and SetEntries; counts only the listed entries of each set.
void STATUSPARAMETERS() {
    if (RatingMode != 0) SETSTATUS(0, "Rating: " + figure(TournamentStrength, 3));

    const int b1 = clampToInt(entriesOfPair(1) * BoardsPerRound);
    const int bN = clampToInt(entriesOfPair(NumPairs) * BoardsPerRound);
    SETSTATUS(1, "Boards: " + figure(b1, 3) + "/" + figure(bN, 3));

    if (CalcType == CALC_MATCHPOINTS) {
        const std::int64_t firstEntries =
            SetEntries.allocated() ? std::int64_t{SetEntries(1)} : std::int64_t{0};
        // A set played by one pair or none has no comparisons: its top is 0.
        const std::int64_t top = clampToInt(std::max<std::int64_t>(0, 2 * firstEntries - 2));
        SETSTATUS(2, "Top: " + figure(clampToInt(b1 * top), 4) + "/" +
                         figure(clampToInt(bN * top), 4));
    } else {
        SETSTATUS(2, "");
    }
}
