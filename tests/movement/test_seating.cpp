// The seating plan: every entry of every standard movement is played at exactly
// one table in exactly one round, and a custom movement's table is found from its
// NS pair or refused with a reason.
#include "core/tournament.h"
#include "movement/movement.h"
#include "movement/movementsize.h"
#include "movement/seating.h"
#include "support/testsupport.h"

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

class SeatingTest : public OrlaTest {};

void open(int type, int pairs, int rounds, int sets, bool asPlayed, int skipAfter,
          bool skipBoards) {
    RESETTOURNAMENTSTATE();
    MovementType = type;
    NumPairs = pairs;
    NumRounds = rounds;
    BoardsPerRound = 2;
    NumBoards = 2 * sets;
    NumBoardSets = sets;
    OrderAsPlayed = TOLOGICAL(asPlayed);
    SkipOn = TOLOGICAL(skipAfter >= 0);
    SkipAfterRound = static_cast<std::int16_t>(skipAfter);
    SkipBoards = TOLOGICAL(skipBoards);
    ASSERT_TRUE(INITTOURNAMENT());
    CALCULATEMOVEMENT();
}

std::vector<int> movementImage() {
    std::vector<int> image;
    for (int s = 1; s <= NumBoardSets; ++s) {
        image.push_back(SetEntries(s));
        for (int i = 1; i <= NumRounds; ++i)
            image.insert(image.end(), {Movement(s, i, 1), Movement(s, i, 2)});
    }
    return image;
}

// Every entry of the lists at exactly one (round, table), the seat's pairs those
// of its entry, one couple a table a round, no pair at two tables of a round.
// Returns the first fault found, or "".
std::string planFault(int type) {
    const std::vector<int> before = movementImage();
    const SeatingPlan plan = MAKESEATINGPLAN();
    if (movementImage() != before) return "the plan changed the lists";
    std::map<std::pair<int, int>, int> played; // (set, entry) -> times
    std::set<std::pair<int, int>> roundTable;
    std::set<std::pair<int, int>> roundPair;
    for (const Seat& seat : plan.seats) {
        const std::string at =
            "round " + std::to_string(seat.round) + " table " + std::to_string(seat.table) + ": ";
        if (seat.entry < 1 || seat.entry > SetEntries(seat.set)) return at + "no entry";
        if (seat.ns != Movement(seat.set, seat.entry, 1) ||
            seat.ew != Movement(seat.set, seat.entry, 2))
            return at + "other pairs than its entry";
        if (seat.round < 1 || seat.table < 1 || seat.table > (NumPairs + 1) / 2)
            return at + "outside the evening";
        if (type == MOVE_MITCHELL && seat.table != seat.ns) return at + "NS pair moved";
        if (type == MOVE_BERGER && seat.round != seat.set) return at + "not its round's set";
        ++played[{seat.set, seat.entry}];
        if (!roundTable.insert({seat.round, seat.table}).second) return at + "table used twice";
        if (!roundPair.insert({seat.round, seat.ns}).second ||
            !roundPair.insert({seat.round, seat.ew}).second)
            return at + "a pair at two tables";
    }
    int entries = 0;
    for (int s = 1; s <= NumBoardSets; ++s)
        for (int i = 1; i <= SetEntries(s); ++i) {
            ++entries;
            if (played[{s, i}] != 1)
                return "set " + std::to_string(s) + " entry " + std::to_string(i) + " played " +
                       std::to_string(played[{s, i}]) + " times";
        }
    if (entries == 0) return "no entries";
    return "";
}

TEST_F(SeatingTest, EveryEntryOfEveryStandardMovementIsPlayedOnce) {
    struct Kind {
        int type, minPairs, maxPairs;
    };
    const Kind kinds[] = {{MOVE_MITCHELL, 2, 61}, {MOVE_BERGER, 2, 61}, {MOVE_HOWELL, 5, 14}};
    std::vector<std::string> faults;
    for (const Kind& k : kinds)
        for (int pairs = k.minPairs; pairs <= k.maxPairs; ++pairs)
            for (int variant = 0; variant < (k.type == MOVE_MITCHELL ? 3 : 1); ++variant)
                for (bool asPlayed : {true, false}) {
                    const bool skip = variant > 0;
                    if (skip && ((pairs + 1) / 2) % 2 != 0) continue;
                    const MovementSize size = DEFAULTMOVEMENTSIZE(k.type, pairs, 1, skip);
                    open(k.type, pairs, size.rounds, size.boards, asPlayed,
                         skip ? size.skipAfterRound : -1, variant == 1);
                    const std::string fault = planFault(k.type);
                    if (!fault.empty())
                        faults.push_back(std::string(MovementNames[k.type]) + " " +
                                         std::to_string(pairs) + " pairs, variant " +
                                         std::to_string(variant) +
                                         (asPlayed ? "" : ", by table") + ": " + fault);
                }
    std::string all;
    for (const std::string& f : faults) all += f + "\n";
    EXPECT_TRUE(faults.empty()) << all;
}

// A few seats of the published lists.
TEST_F(SeatingTest, PublishedSeats) {
    struct Row {
        const char* what;
        int type, pairs, rounds, sets;
        bool asPlayed;
        int round, table;
        Seat expected; // round and table are not compared again
    };
    const Row rows[] = {
        // 10 pairs Mitchell: set 1 is 1-6 5-9 4-7 ... as played; 5-9 is round 2, table 5.
        {"Mitchell 10", MOVE_MITCHELL, 10, 5, 5, true, 2, 5, {0, 0, 1, 2, 5, 9}},
        {"Mitchell 10 by table", MOVE_MITCHELL, 10, 5, 5, false, 2, 5, {0, 0, 1, 5, 5, 9}},
        // 6 pairs Berger, set 2: 1-2 5-3 6-4, all in round 2.
        {"Berger 6", MOVE_BERGER, 6, 5, 5, true, 2, 3, {0, 0, 2, 3, 6, 4}},
        // 8 pairs Howell, set 4: 3-6 8-4 2-1 7-5; 8-4 is round 4 at station 1.
        {"Howell 8", MOVE_HOWELL, 8, 7, 7, true, 4, 1, {0, 0, 4, 2, 8, 4}},
        // 6 pairs Howell: the fixed last round, set 5 at all three tables.
        {"Howell 6", MOVE_HOWELL, 6, 5, 5, true, 5, 2, {0, 0, 5, 2, 2, 4}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        open(r.type, r.pairs, r.rounds, r.sets, r.asPlayed, -1, true);
        const SeatingPlan plan = MAKESEATINGPLAN();
        const Seat* seat = FINDSEAT(plan.seats, r.table, r.round);
        ASSERT_NE(seat, nullptr);
        EXPECT_EQ(std::tie(seat->set, seat->entry, seat->ns, seat->ew),
                  std::tie(r.expected.set, r.expected.entry, r.expected.ns, r.expected.ew));
    }
}

// A custom movement made from a Mitchell finds each table's rounds from its NS
// pair exactly as the Mitchell's plan has them; the three refusals say why.
TEST_F(SeatingTest, CustomTablesFromTheirNsPair) {
    open(MOVE_MITCHELL, 14, 7, 7, true, -1, true);
    const SeatingPlan mitchell = MAKESEATINGPLAN();
    MovementType = MOVE_CUSTOM;
    for (int table = 1; table <= 7; ++table) {
        std::vector<Seat> seats;
        std::string reason;
        ASSERT_TRUE(CUSTOMTABLESEATS(table, table, seats, reason)) << reason;
        ASSERT_EQ(seats.size(), 7u);
        for (const Seat& seat : seats) {
            const Seat* expected = FINDSEAT(mitchell.seats, table, seat.round);
            ASSERT_NE(expected, nullptr);
            EXPECT_EQ(std::tie(seat.set, seat.entry, seat.ns, seat.ew),
                      std::tie(expected->set, expected->entry, expected->ns, expected->ew));
        }
    }
    struct Refusal {
        const char* what;
        int set, entry, side, pair, nsPair;
        const char* reason;
    };
    const Refusal refusals[] = {
        {"two sets", 2, 1, 1, 1, 1,
         "Pair 1 sits NS on board sets 1 and 2 in round 1: the movement does not say which "
         "one this table plays."},
        {"moves", 3, 2, 2, 2, 2,
         "Pair 2 sits EW on board set 3 in round 2: a table's NS pair must stay NS all "
         "evening."},
        {"EW pair", 1, 1, 1, 1, 8, "Pair 8 sits EW on board set 1 in round 1: a table's NS "
                                   "pair must stay NS all evening."},
        {"no pair", 1, 1, 1, 1, 15, "There is no pair 15."},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.what);
        const int old = Movement(r.set, r.entry, r.side);
        Movement(r.set, r.entry, r.side) = r.pair;
        std::vector<Seat> seats;
        std::string reason;
        EXPECT_FALSE(CUSTOMTABLESEATS(1, r.nsPair, seats, reason));
        EXPECT_EQ(reason, r.reason);
        EXPECT_TRUE(seats.empty());
        Movement(r.set, r.entry, r.side) = old;
    }
    // A pair listed nowhere as NS.
    for (int s = 1; s <= NumBoardSets; ++s)
        for (int i = 1; i <= SetEntries(s); ++i)
            if (Movement(s, i, 1) == 6) Movement(s, i, 1) = 0;
    std::vector<Seat> seats;
    std::string reason;
    EXPECT_FALSE(CUSTOMTABLESEATS(6, 6, seats, reason));
    EXPECT_EQ(reason, "Pair 6 sits NS in no round of the movement.");
}

} // namespace
