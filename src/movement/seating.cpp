// The seating plan of a movement: tables and rounds for every entry of the lists.
#include "movement/seating.h"

#include "core/tournament.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace {

// True when no table holds two couples in one round and no pair plays at two
// tables of one round.
bool playable(const std::vector<Seat>& seats) {
    std::set<std::pair<int, int>> tables, pairs;
    for (const Seat& seat : seats)
        if (!tables.insert({seat.round, seat.table}).second ||
            !pairs.insert({seat.round, seat.ns}).second ||
            !pairs.insert({seat.round, seat.ew}).second)
            return false;
    return true;
}

// Gives the couples of a Mitchell whose lists are not in round order (the lines
// of an even number of places without a skip, or an odd number of pairs without
// one) rounds in which every table and every pair plays once: the couples are the
// edges between the tables and the EW pairs, coloured with as many rounds as a
// table or a pair has couples (a bipartite graph always allows that). Each couple
// keeps the round the lists give it when that is still free at both ends; a set
// may then be at two tables of a round, which share its boards.
void seatRoundByRound(std::vector<Seat>& seats) {
    int rounds = 0, highest = 0;
    std::map<int, int> degree;
    for (const Seat& seat : seats) {
        rounds = std::max({rounds, ++degree[seat.table], ++degree[-seat.ew]});
        highest = std::max({highest, seat.table, seat.ew});
    }
    // at[node][round]: the couple of that node in that round, -1 none. Tables are
    // nodes 1..highest, EW pairs highest + 1 ...
    const int nodes = 2 * highest + 2;
    std::vector<std::vector<int>> at(static_cast<std::size_t>(nodes),
                                     std::vector<int>(static_cast<std::size_t>(rounds + 1), -1));
    auto slot = [&](int node, int round) -> int& {
        return at[static_cast<std::size_t>(node)][static_cast<std::size_t>(round)];
    };
    auto left = [](const Seat& seat) { return seat.table; };
    auto right = [highest](const Seat& seat) { return highest + seat.ew; };
    auto freeRound = [&](int node) {
        for (int r = 1; r <= rounds; ++r)
            if (slot(node, r) < 0) return r;
        return 0;
    };
    for (std::size_t e = 0; e < seats.size(); ++e) {
        Seat& seat = seats[e];
        const int u = left(seat), v = right(seat);
        int a = seat.round;
        if (a < 1 || a > rounds || slot(u, a) >= 0 || slot(v, a) >= 0) {
            a = freeRound(u);
            const int b = freeRound(v);
            if (slot(v, a) >= 0) {
                // Swap rounds a and b along the path that starts at v with round a.
                std::vector<int> path;
                int node = v, colour = a;
                while (slot(node, colour) >= 0) {
                    const int f = slot(node, colour);
                    path.push_back(f);
                    const Seat& s = seats[static_cast<std::size_t>(f)];
                    node = left(s) == node ? right(s) : left(s);
                    colour = colour == a ? b : a;
                }
                for (int f : path) {
                    Seat& s = seats[static_cast<std::size_t>(f)];
                    slot(left(s), s.round) = -1;
                    slot(right(s), s.round) = -1;
                }
                for (int f : path) {
                    Seat& s = seats[static_cast<std::size_t>(f)];
                    s.round = s.round == a ? b : a;
                    slot(left(s), s.round) = f;
                    slot(right(s), s.round) = f;
                }
            }
        }
        seat.round = a;
        slot(u, a) = static_cast<int>(e);
        slot(v, a) = static_cast<int>(e);
    }
}

} // namespace

SeatingPlan MAKESEATINGPLAN() {
    SeatingPlan plan;
    if (!Movement.allocated() || !SetEntries.allocated()) return plan;
    plan.seats = RECORDMOVEMENTSEATS();
    if (MovementType == MOVE_MITCHELL && !playable(plan.seats)) seatRoundByRound(plan.seats);
    std::sort(plan.seats.begin(), plan.seats.end(), [](const Seat& a, const Seat& b) {
        return std::tie(a.round, a.table) < std::tie(b.round, b.table);
    });
    for (const Seat& seat : plan.seats) {
        plan.tables = std::max(plan.tables, seat.table);
        plan.rounds = std::max(plan.rounds, seat.round);
    }
    return plan;
}

bool CUSTOMTABLESEATS(int table, int nsPair, std::vector<Seat>& seats, std::string& reason) {
    seats.clear();
    if (!Movement.allocated() || !SetEntries.allocated()) {
        reason = "No tournament is open.";
        return false;
    }
    if (nsPair < 1 || nsPair > NumPairs) {
        reason = "There is no pair " + std::to_string(nsPair) + ".";
        return false;
    }
    const int sets = std::min(NumBoardSets, SetEntries.extent(1));
    const int rounds = std::min(NumRounds, Movement.extent(2));
    for (int r = 1; r <= rounds; ++r) {
        int found = 0;
        for (int s = 1; s <= std::min(sets, Movement.extent(1)); ++s) {
            if (SetEntries(s) < r) continue;
            if (Movement(s, r, 2) == nsPair) {
                reason = "Pair " + std::to_string(nsPair) + " sits EW on board set " +
                         std::to_string(s) + " in round " + std::to_string(r) +
                         ": a table's NS pair must stay NS all evening.";
                seats.clear();
                return false;
            }
            if (Movement(s, r, 1) != nsPair) continue;
            if (found != 0) {
                reason = "Pair " + std::to_string(nsPair) + " sits NS on board sets " +
                         std::to_string(found) + " and " + std::to_string(s) + " in round " +
                         std::to_string(r) + ": the movement does not say which one this table "
                                             "plays.";
                seats.clear();
                return false;
            }
            found = s;
            seats.push_back(Seat{r, table, s, r, nsPair, Movement(s, r, 2)});
        }
    }
    if (seats.empty()) {
        reason = "Pair " + std::to_string(nsPair) + " sits NS in no round of the movement.";
        return false;
    }
    return true;
}

const Seat* FINDSEAT(const std::vector<Seat>& seats, int table, int round) {
    for (const Seat& seat : seats)
        if (seat.table == table && seat.round == round) return &seat;
    return nullptr;
}
