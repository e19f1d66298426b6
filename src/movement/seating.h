#pragma once
// The seating plan: for every round of the evening, which table plays which board
// set with which NS and EW pair. It is what table scoring needs and what the
// tournament itself never stores (Movement only keeps the travellers).

#include <string>
#include <vector>

// One couple at one table in one round: it plays board set `set`, which is entry
// `entry` of that set's list in Movement.
struct Seat {
    int round = 0, table = 0, set = 0, entry = 0, ns = 0, ew = 0;
};

struct SeatingPlan {
    int tables = 0, rounds = 0;
    std::vector<Seat> seats; // by round, then by table
};

// The seats of the standard movement of the open tournament, from the same
// routines that build Movement (which it generates again, unchanged): Mitchell
// NS pair k at table k and entry i in round i; Berger set s in round s at tables
// 1, 2, ... in list order; Howell station k as table k. Empty for Custom.
// Touches Movement and SetEntries (rewritten as CALCULATEMOVEMENT writes them).
std::vector<Seat> RECORDMOVEMENTSEATS();

// The seating plan of the open tournament's standard movement; empty for Custom
// (whose tables are found one by one, CUSTOMTABLESEATS).
SeatingPlan MAKESEATINGPLAN();

// The seats of table `table` of a custom movement whose NS pair is `nsPair`: in
// round r it plays the entry r of the one board set where `nsPair` sits NS in
// entry r (rounds with no such entry it sits out). False, with a reason for the
// director, when the pair sits NS in two sets of one round, sits EW in a round
// (a NS pair that moves cannot keep one table) or plays in no round at all.
bool CUSTOMTABLESEATS(int table, int nsPair, std::vector<Seat>& seats, std::string& reason);

// The seat of `table` in `round`, or null when it has none.
const Seat* FINDSEAT(const std::vector<Seat>& seats, int table, int round);
