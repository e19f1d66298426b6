// Vulnerability by board number and the plausibility test of an entered score.
#include "scoring/scoring.h"

namespace {

// Vulnerability of boards 1..16; the pattern repeats every 16 boards.
constexpr int ZoneOfBoard[16] = {0, 1, 2, 3, 1, 2, 3, 0, 2, 3, 0, 1, 3, 0, 1, 2};

bool inTable(int value, std::span<const int> table) {
    return FINDITEM(value, table.data(), static_cast<int>(table.size()));
}

} // namespace

int GETBOARDZONE(int board) {
    return ZoneOfBoard[((board - 1) % 16 + 16) % 16];
}

// The side that won the score either made its contract (a made-contract score
// at its own vulnerability) or the other side went down (a penalty at the other
// side's vulnerability).
bool ISRESULTPOSSIBLE(int score, int zone) {
    if (score == 0) return true;
    if (score < -1000000 || score > 1000000) return false;
    const bool nsVulnerable = zone == 1 || zone == 3;
    const bool ewVulnerable = zone == 2 || zone == 3;
    const int size = score < 0 ? -score : score;
    const bool winnerVulnerable = score > 0 ? nsVulnerable : ewVulnerable;
    const bool loserVulnerable = score > 0 ? ewVulnerable : nsVulnerable;
    return inTable(size, UNDERTRICKSCORES(loserVulnerable)) ||
           inTable(size, MADESCORES(winnerVulnerable));
}

// Halving search over the 1-based table; the probe moves to the upper half
// (keeping itself) or to the lower half until one entry is left.
bool FINDITEM(int value, const int* table, int count) {
    if (table == nullptr || count <= 0) return false;
    auto at = [table](int k) { return table[k - 1]; };
    int mid = (count + 1) / 2;
    if (at(mid) == value) return true;
    int lo = 1, hi = count;
    while (lo < hi) {
        if (value > at(mid))
            lo = lo == mid ? mid + 1 : mid;
        else
            hi = mid;
        mid = (lo + hi) / 2;
        if (at(mid) == value) return true;
    }
    return false;
}
