// The standard movements: Mitchell, Berger and Howell. For every board set they
// list the NS/EW couples that play it, in the order its traveller shows them.
#include "movement/movement.h"

#include "core/status.h"
#include "core/tournament.h"
#include "movement/seating.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// ---- Stored Howell data, for 3 to 7 tables --------------------------------

// Round-1 seating: HowellSeating[T][station][side] (station 1..T, side 1 NS, 2 EW).
constexpr int HowellSeating[8][8][3] = {
    {},
    {},
    {},
    {{}, {0, 1, 2}, {0, 3, 4}, {0, 5, 6}},
    {{}, {0, 8, 1}, {0, 3, 6}, {0, 2, 7}, {0, 5, 4}},
    {{}, {0, 7, 3}, {0, 5, 2}, {0, 10, 1}, {0, 9, 8}, {0, 4, 6}},
    {{}, {0, 12, 1}, {0, 11, 4}, {0, 10, 8}, {0, 2, 7}, {0, 9, 6}, {0, 5, 3}},
    {{}, {0, 5, 12}, {0, 2, 4}, {0, 9, 10}, {0, 14, 1}, {0, 8, 13}, {0, 7, 11}, {0, 6, 3}},
};

// Station cycle: its length, and the station standing at each position 1..L
// (0 = no table; the boards wait there).
constexpr int HowellCycleLength[8] = {0, 0, 0, 4, 7, 9, 9, 13};
constexpr int HowellCycle[8][14] = {
    {},
    {},
    {},
    {0, 1, 2, 3, 0},
    {0, 1, 0, 0, 2, 0, 3, 4},
    {0, 1, 2, 3, 4, 5, 0, 0, 0, 0},
    {0, 1, 2, 3, 4, 5, 6, 0, 0, 0},
    {0, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0, 0, 0},
};

// Remainder of a divided by m in 0..m-1, also for negative a.
int floorMod(int a, int m) {
    const int r = a % m;
    return r < 0 ? r + m : r;
}

// ---- Writing the lists ----------------------------------------------------

// The board sets and entries that may be written: those the header names, within
// the extents the arrays really have.
int writableSets() {
    if (!Movement.allocated() || !SetEntries.allocated() || Movement.extent(3) < 2) return 0;
    return std::max(0, std::min({NumBoardSets, Movement.extent(1), SetEntries.extent(1)}));
}

int entryCapacity() {
    if (!Movement.allocated()) return 0;
    return std::max(0, std::min(NumRounds, Movement.extent(2)));
}

// Where the seats of the lists are written down while a seating plan is made
// (null otherwise).
std::vector<Seat>* SeatRecorder = nullptr;

// Appends (ns, ew) as the next entry of board set s unless the set already holds
// `capacity` entries; while a seating plan is made, also notes that the couple
// plays it at `table` in `round`.
void appendEntry(int s, int ns, int ew, int capacity, int round, int table) {
    const int i = SetEntries(s) + 1;
    if (i > capacity) return;
    Movement(s, i, 1) = ns;
    Movement(s, i, 2) = ew;
    SetEntries(s) = i;
    if (SeatRecorder != nullptr) SeatRecorder->push_back(Seat{round, table, s, i, ns, ew});
}

// ---- Mitchell -------------------------------------------------------------

// Lists a Mitchell: NS pairs 1..H stay at their tables, EW pairs H+1.. move.
// Entry i of set s is the couple that plays it in its i-th round of play. A
// couple outside the lines (the phantom NS line of an odd Mitchell with a skip,
// or what a header with more board sets than tables would give) is not listed,
// and the next entry still follows from it.
void mitchell(int sets, int capacity) {
    const int H = NumPairs / 2;
    const bool pairsOdd = NumPairs % 2 != 0;
    const int N = pairsOdd ? H + 1 : H; // positions per line
    const int E = std::min(capacity, H);
    const int R = NumBoardSets;
    const bool skip = ISTRUE(SkipOn);
    const bool skipBoards = ISTRUE(SkipBoards);
    const int skipRound = SkipAfterRound + 1;
    if (H < 1) return;

    auto wrap = [N](int v) { return v <= 0 ? floorMod(v - 1, N) + 1 : v; };

    // More board sets than positions on a line: the extra sets are never played.
    for (int s = 1; s <= std::min(sets, N); ++s) {
        int ns = 0, ew = 0;
        for (int i = 1; i <= E; ++i) {
            if (skip || (N % 2 != 0 && !pairsOdd)) {
                // Each round the set meets the NS pair one place lower and the EW
                // pair two places lower; after the skip round the EW pair (and,
                // when the skip moves boards, the NS pair) one place lower still.
                if (i == 1) {
                    ns = s;
                    ew = s;
                } else {
                    ns = ns - 1;
                    if (ns == 0) ns = N;
                    ew = wrap(ew - 2);
                    if (skip && i == skipRound) {
                        if (skipBoards) ns = ns - 1;
                        if (ns == 0) ns = N;
                        ew = wrap(ew - 1);
                    }
                }
            } else if (N % 2 != 0) {
                if (i == 1) {
                    ns = s == R ? s - 1 : s;
                    ew = s == R ? s - 2 : s;
                } else {
                    ns = ns - 1;
                    if (ns == 0) ns = H;
                    ew = wrap(ew - 2);
                    if (ew + s == N || ew + s - N == N) ew = wrap(ew - 2);
                }
            } else {
                // N even: the automatic half-way shift takes the place of a skip.
                if (i == 1) {
                    ns = s <= R / 2 ? s : s - 1;
                    ew = s < R / 2 + 1 ? s : (s == R / 2 + 1 ? s - 2 : s - 1);
                    // With two board sets the shifted start wraps round the line.
                    ew = wrap(ew);
                } else if (!pairsOdd) {
                    ns = ns - 1;
                    if (ns == 0) ns = H;
                    ew = wrap(ew - 2);
                    if (ns == N) ew = ew + 1;
                    if (ns == N / 2) ew = ew - 1;
                    ew = wrap(ew);
                    if (ew > N) ew = 1;
                } else {
                    ns = ns - 1;
                    if (ns == 0) {
                        ns = H;
                        ew = ew - 1;
                    }
                    ew = wrap(ew - 2);
                    if (ns == N / 2) ew = wrap(ew - 1);
                    if (ew > N) ew = 1;
                }
            }
            // NS pair k stays at table k.
            if (ns >= 1 && ns <= H && ew >= 1 && ew <= N) appendEntry(s, ns, ew, capacity, i, ns);
        }
    }

    // EW pairs are numbered after the NS pairs.
    for (int s = 1; s <= sets; ++s)
        for (int i = 1; i <= SetEntries(s); ++i)
            Movement(s, i, 2) += H;

    // By table number: NS pair k sits at table k, so list each set by NS pair.
    if (!ISTRUE(OrderAsPlayed)) {
        for (int s = 1; s <= sets; ++s) {
            const int n = SetEntries(s);
            for (int i = 1; i <= n; ++i) {
                int best = 0;
                for (int m = i; m <= n; ++m)
                    if (Movement(s, m, 1) != 0 &&
                        (best == 0 || Movement(s, m, 1) < Movement(s, best, 1)))
                        best = m;
                if (best == 0) break;
                std::swap(Movement(s, i, 1), Movement(s, best, 1));
                std::swap(Movement(s, i, 2), Movement(s, best, 2));
            }
        }
    }
}

// ---- Berger ---------------------------------------------------------------

// Lists a Berger (round robin; all tables of a round play the same board set).
// In a round robin of n pairs (n even; with an odd number of pairs pair n is a
// phantom) pairs i and k < n meet in round ((i + k - 2) mod (n - 1)) + 1, and
// pair n meets pair i in round ((2i - 2) mod (n - 1)) + 1. Set s holds the
// meetings of round s ordered by the lower pair number, which sits NS when the
// two numbers add up to an odd number. The pair that meets the phantom sits out;
// sets after round n - 1 are never played.
void berger(int sets, int capacity) {
    const std::int64_t P = NumPairs;
    if (P < 2) return;
    const std::int64_t n = P % 2 == 0 ? P : P + 1;
    for (int s = 1; s <= std::min<std::int64_t>(sets, n - 1); ++s)
        for (std::int64_t i = 1; i < n && SetEntries(s) < capacity; ++i) {
            // The partner of pair i in round s; pair n when i would meet itself.
            std::int64_t k = (s - i) % (n - 1);
            k = (k < 0 ? k + n - 1 : k) + 1;
            if (k == i) k = n;
            if (k <= i || k > P) continue;
            const int lower = static_cast<int>(i), upper = static_cast<int>(k);
            // All tables play set s in round s, one couple a table.
            const int table = SetEntries(s) + 1;
            if ((i + k) % 2 != 0)
                appendEntry(s, lower, upper, capacity, s, table);
            else
                appendEntry(s, upper, lower, capacity, s, table);
        }
}

// ---- Howell ---------------------------------------------------------------

// Lists a Howell of T = (pairs + 1) / 2 tables: board set s stands at cycle
// position ((s - j) mod L) + 1 in round j and is played when a station stands
// there. Only the rounds and board sets of one pass round the cycle are listed
// (with 3 tables, a fifth set is played in a fixed last round).
void howell(int sets, int capacity) {
    const int P = NumPairs;
    if (P < 5 || P > 14) return;
    const int T = (P + 1) / 2;
    const int L = HowellCycleLength[T];
    const int phantom = P % 2 != 0 ? 2 * T : 0;
    const int rounds = std::min(capacity, L);
    for (int s = 1; s <= std::min(sets, T == 3 ? 5 : L); ++s) {
        if (T == 3 && s == 5) {
            // The fixed last round, at tables 1 to 3 (table 1 is empty when
            // pair 1 meets the phantom).
            if (!phantom) appendEntry(s, 1, 6, capacity, 5, 1);
            appendEntry(s, 2, 4, capacity, 5, 2);
            appendEntry(s, 3, 5, capacity, 5, 3);
            break;
        }
        for (int j = 1; j <= rounds; ++j) {
            const int k = HowellCycle[T][floorMod(s - j, L) + 1];
            if (k == 0) continue;
            const int ns = GETHOWELLPAIR(T, j, k, 1);
            const int ew = GETHOWELLPAIR(T, j, k, 2);
            if (phantom && (ns == phantom || ew == phantom)) continue;
            appendEntry(s, ns, ew, capacity, j, k);
            if (T == 3 && SetEntries(s) == (phantom ? 2 : 3)) break;
        }
    }
}

} // namespace

// Pair on `side` of Howell station `station` in round `round`: the round-1
// seating moved on round - 1 steps. Pairs that stay put keep their seat; the
// others move round a cycle (down a cycle of 2..5 for 3 tables). With 6 tables
// the two pairs of station 2 (rounds 4, 5, 8, 9) and station 3 (rounds 3, 4, 7,
// 8, 9) change directions. Returns 0 outside the stored tables.
int GETHOWELLPAIR(int tables, int round, int station, int side) {
    if (tables < 3 || tables > 7 || round < 1 || station < 1 || station > tables || side < 1 ||
        side > 2)
        return 0;
    const int T = tables;
    int seat = side;
    if (T == 6) {
        const int r = round;
        const bool swapped = (station == 2 && (r == 4 || r == 5 || r == 8 || r == 9)) ||
                             (station == 3 && (r == 3 || r == 4 || r == 7 || r == 8 || r == 9));
        if (swapped) seat = 3 - side;
    }
    const int q = HowellSeating[T][station][seat];
    // The moving pairs come back to their seats after a whole cycle, so only the
    // round's place in the cycle counts.
    switch (T) {
    case 3: {
        if (q == 1 || q == 6) return q;
        const int steps = (round - 1) % 4;
        return floorMod(q - steps - 2, 4) + 2;
    }
    case 6: {
        if (q >= 10) return q;
        const int steps = (round - 1) % 9;
        return floorMod(q + steps - 1, 9) + 1;
    }
    default: {
        if (q == 2 * T) return q;
        const int steps = (round - 1) % (2 * T - 1);
        return floorMod(q + steps - 1, 2 * T - 1) + 1;
    }
    }
}

// Rebuilds Movement, SetEntries and NumTables from the header for Mitchell,
// Berger and Howell; a Custom movement is left as it is. Standard lists start
// from cleared arrays, so entries past SetEntries(s) hold 0. Nothing is written
// past entry NumRounds of a set or outside the arrays. Ends by refreshing the
// status figures.
namespace {

void generateMovement() {
    NumTables = NumPairs > 0 ? NumPairs / 2 : 0;
    if (MovementType != MOVE_CUSTOM) {
        if (Movement.allocated()) Movement.fill(0);
        if (SetEntries.allocated()) SetEntries.fill(0);
        const int sets = writableSets();
        const int capacity = entryCapacity();
        switch (MovementType) {
        case MOVE_MITCHELL:
            mitchell(sets, capacity);
            break;
        case MOVE_BERGER:
            berger(sets, capacity);
            break;
        case MOVE_HOWELL:
            howell(sets, capacity);
            break;
        default:
            break;
        }
    }
}

} // namespace

void CALCULATEMOVEMENT() {
    generateMovement();
    STATUSPARAMETERS();
}

// Generates the standard movement again with the seat of every entry written
// down; the entries are then found in the lists as they stand (a Mitchell by
// table number sorts them, and renumbers the EW pairs after them).
std::vector<Seat> RECORDMOVEMENTSEATS() {
    std::vector<Seat> seats;
    if (MovementType == MOVE_CUSTOM) return seats;
    SeatRecorder = &seats;
    generateMovement();
    SeatRecorder = nullptr;
    const int offset = MovementType == MOVE_MITCHELL ? NumPairs / 2 : 0;
    for (Seat& seat : seats) {
        seat.ew += offset;
        seat.entry = 0;
        for (int i = 1; i <= SetEntries(seat.set); ++i)
            if (Movement(seat.set, i, 1) == seat.ns && Movement(seat.set, i, 2) == seat.ew)
                seat.entry = i;
    }
    return seats;
}
