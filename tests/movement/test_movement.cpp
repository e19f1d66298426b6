// The standard movements: the published lists, the properties every legal size
// must have, and headers that do not fit a movement.
#include "core/tournament.h"
#include "movement/movement.h"
#include "movement/movementsize.h"
#include "support/testsupport.h"

#include <algorithm>
#include <climits>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

class MovementTest : public OrlaTest {};

// Opens a tournament of `sets` board sets of one board and generates it.
void generate(int type, int pairs, int rounds, int sets, bool asPlayed = true, int skipAfter = -1,
              bool skipBoards = true) {
    MovementType = type;
    NumPairs = pairs;
    NumRounds = rounds;
    BoardsPerRound = 1;
    NumBoards = sets;
    NumBoardSets = sets;
    OrderAsPlayed = TOLOGICAL(asPlayed);
    SkipOn = TOLOGICAL(skipAfter >= 0);
    SkipAfterRound = static_cast<std::int16_t>(skipAfter);
    SkipBoards = TOLOGICAL(skipBoards);
    ASSERT_TRUE(INITTOURNAMENT());
    CALCULATEMOVEMENT();
}

// The listed entries of board set s as "ns-ew ns-ew ...".
std::string listOf(int s) {
    std::ostringstream out;
    for (int i = 1; i <= SetEntries(s); ++i)
        out << (i > 1 ? " " : "") << Movement(s, i, 1) << "-" << Movement(s, i, 2);
    return out.str();
}

struct Listed {
    const char* what;
    int pairs, rounds, sets;
    bool asPlayed;
    int skipAfter; // -1: no skip
    bool skipBoards;
    int set;
    const char* list;
};

void checkLists(int type, std::initializer_list<Listed> rows) {
    for (const Listed& r : rows) {
        SCOPED_TRACE(std::string(r.what) + ", set " + std::to_string(r.set));
        RESETTOURNAMENTSTATE();
        generate(type, r.pairs, r.rounds, r.sets, r.asPlayed, r.skipAfter, r.skipBoards);
        EXPECT_EQ(listOf(r.set), r.list);
    }
}

TEST_F(MovementTest, MitchellLists) {
    checkLists(MOVE_MITCHELL,
               {
                   {"10 pairs", 10, 5, 5, true, -1, true, 1, "1-6 5-9 4-7 3-10 2-8"},
                   {"10 pairs", 10, 5, 5, true, -1, true, 2, "2-7 1-10 5-8 4-6 3-9"},
                   {"10 pairs", 10, 5, 5, true, -1, true, 5, "5-10 4-8 3-6 2-9 1-7"},
                   {"10 pairs by table", 10, 5, 5, false, -1, true, 1, "1-6 2-8 3-10 4-7 5-9"},
                   {"12 pairs", 12, 6, 6, true, -1, true, 1, "1-7 6-12 5-10 4-8 3-11 2-9"},
                   {"12 pairs", 12, 6, 6, true, -1, true, 3, "3-9 2-7 1-11 6-10 5-8 4-12"},
                   {"12 pairs", 12, 6, 6, true, -1, true, 4, "3-8 2-12 1-10 6-9 5-7 4-11"},
                   {"12 pairs", 12, 6, 6, true, -1, true, 6, "5-11 4-9 3-12 2-10 1-8 6-7"},
                   {"11 pairs", 11, 6, 6, true, -1, true, 1, "1-6 5-9 4-7 3-10 2-8"},
                   {"11 pairs", 11, 6, 6, true, -1, true, 4, "3-7 2-11 1-9 5-6 4-10"},
                   {"9 pairs", 9, 5, 5, true, -1, true, 1, "1-5 4-6 3-9 2-7"},
                   {"9 pairs", 9, 5, 5, true, -1, true, 5, "4-7 3-5 2-8 1-6"},
                   {"12 pairs, skip of players after round 3", 12, 6, 6, true, 3, false, 1,
                    "1-7 6-11 5-9 4-12 3-10 2-8"},
                   {"12 pairs, 5 rounds", 12, 5, 6, true, -1, true, 1, "1-7 6-12 5-10 4-8 3-11"},
                   // Two board sets: the second starts shifted round the EW line.
                   {"4 pairs", 4, 2, 2, true, -1, true, 2, "1-4 2-3"},
                   {"3 pairs", 3, 2, 2, true, -1, true, 2, "1-3"},
                   // More board sets than tables: the extra sets are never played.
                   {"10 pairs, 7 sets", 10, 5, 7, true, -1, true, 6, ""},
               });
}

TEST_F(MovementTest, BergerLists) {
    checkLists(MOVE_BERGER, {
                                {"6 pairs", 6, 5, 5, true, -1, true, 1, "1-6 2-5 3-4"},
                                {"6 pairs", 6, 5, 5, true, -1, true, 2, "1-2 5-3 6-4"},
                                {"6 pairs", 6, 5, 5, true, -1, true, 3, "3-1 6-2 4-5"},
                                {"6 pairs", 6, 5, 5, true, -1, true, 4, "1-4 2-3 5-6"},
                                {"6 pairs", 6, 5, 5, true, -1, true, 5, "5-1 4-2 3-6"},
                                {"5 pairs, pair 1 sits out", 5, 5, 5, true, -1, true, 1, "2-5 3-4"},
                                // Fewer rounds than tables: each list stops at NumRounds.
                                {"6 pairs, 2 rounds", 6, 2, 5, true, -1, true, 1, "1-6 2-5"},
                                // Sets past the last round of the round robin are never played.
                                {"6 pairs, 7 sets", 6, 7, 7, true, -1, true, 6, ""},
                            });
}

TEST_F(MovementTest, HowellLists) {
    checkLists(MOVE_HOWELL, {
                                {"8 pairs", 8, 7, 7, true, -1, true, 1, "8-1 6-5 4-2 7-3"},
                                {"8 pairs", 8, 7, 7, true, -1, true, 2, "8-2 7-6 5-3 1-4"},
                                {"8 pairs", 8, 7, 7, true, -1, true, 4, "3-6 8-4 2-1 7-5"},
                                {"8 pairs", 8, 7, 7, true, -1, true, 7, "5-4 3-1 6-2 8-7"},
                                {"6 pairs", 6, 5, 5, true, -1, true, 1, "1-2 3-6 4-5"},
                                {"6 pairs", 6, 5, 5, true, -1, true, 2, "3-4 1-5 2-6"},
                                {"6 pairs", 6, 5, 5, true, -1, true, 3, "5-6 2-3 1-4"},
                                {"6 pairs", 6, 5, 5, true, -1, true, 4, "4-6 5-2 1-3"},
                                {"6 pairs", 6, 5, 5, true, -1, true, 5, "1-6 2-4 3-5"},
                                {"5 pairs", 5, 5, 5, true, -1, true, 5, "2-4 3-5"},
                                // Too few rounds: a set lists only the rounds reached.
                                {"8 pairs, 4 rounds", 8, 4, 7, true, -1, true, 3, "8-3 1-7"},
                                {"8 pairs, 4 rounds", 8, 4, 7, true, -1, true, 5, "4-7"},
                                {"6 pairs, 2 rounds", 6, 2, 5, true, -1, true, 5, "1-6 2-4"},
                                // Sets beyond the cycle, and sizes with no stored tables.
                                {"8 pairs, 9 sets", 8, 7, 9, true, -1, true, 8, ""},
                                {"6 pairs, 6 sets", 6, 5, 6, true, -1, true, 6, ""},
                                {"4 pairs", 4, 3, 3, true, -1, true, 1, ""},
                                {"16 pairs", 16, 15, 15, true, -1, true, 1, ""},
                            });
}

// The listed entries of every board set, each set's entries in list order.
using Lists = std::vector<std::vector<std::pair<int, int>>>;
Lists allLists() {
    Lists lists(static_cast<std::size_t>(NumBoardSets));
    for (int s = 1; s <= NumBoardSets; ++s)
        for (int i = 1; i <= SetEntries(s); ++i)
            lists[static_cast<std::size_t>(s - 1)].push_back(
                {Movement(s, i, 1), Movement(s, i, 2)});
    return lists;
}

// What every movement promises: real pairs only (never the phantom), never a pair
// against itself, no pair twice in one set's list, no two pairs meeting twice,
// at most NumRounds entries a set; a Mitchell lists NS pairs 1..H against EW
// pairs H+1.. .
void checkProperties(int type, int pairs) {
    const int H = pairs / 2;
    std::set<std::pair<int, int>> met;
    int listed = 0;
    for (int s = 1; s <= NumBoardSets; ++s) {
        std::set<int> inSet;
        ASSERT_LE(SetEntries(s), NumRounds);
        for (int i = 1; i <= SetEntries(s); ++i) {
            const int ns = Movement(s, i, 1), ew = Movement(s, i, 2);
            SCOPED_TRACE("set " + std::to_string(s) + " entry " + std::to_string(i) + ": " +
                         std::to_string(ns) + "-" + std::to_string(ew));
            ++listed;
            ASSERT_TRUE(ns >= 1 && ns <= pairs && ew >= 1 && ew <= pairs);
            ASSERT_NE(ns, ew);
            if (type == MOVE_MITCHELL) {
                ASSERT_TRUE(ns <= H && ew > H);
            }
            ASSERT_TRUE(inSet.insert(ns).second);
            ASSERT_TRUE(inSet.insert(ew).second);
            ASSERT_TRUE(met.insert({std::min(ns, ew), std::max(ns, ew)}).second);
        }
    }
    EXPECT_GT(listed, 0);
}

TEST_F(MovementTest, EveryLegalSizeKeepsThePromises) {
    struct Kind {
        int type, minPairs, maxPairs;
    };
    const Kind kinds[] = {{MOVE_MITCHELL, 2, 61}, {MOVE_BERGER, 2, 61}, {MOVE_HOWELL, 5, 14}};
    for (const Kind& k : kinds)
        for (int pairs = k.minPairs; pairs <= k.maxPairs; ++pairs)
            for (int variant = 0; variant < (k.type == MOVE_MITCHELL ? 3 : 1); ++variant) {
                // A skip serves lines with an even number of places; with an odd
                // number the EW pairs meet all boards without one.
                const bool skip = variant > 0;
                const int places = (pairs + 1) / 2;
                if (skip && places % 2 != 0) continue;
                const MovementSize size = DEFAULTMOVEMENTSIZE(k.type, pairs, 1, skip);
                const int skipAfter = skip ? size.skipAfterRound : -1;
                SCOPED_TRACE(std::string(MovementNames[k.type]) + " " + std::to_string(pairs) +
                             " pairs, variant " + std::to_string(variant));

                RESETTOURNAMENTSTATE();
                generate(k.type, pairs, size.rounds, size.boards, true, skipAfter, variant == 1);
                checkProperties(k.type, pairs);
                const Lists asPlayed = allLists();

                // By table number the same entries appear, ordered by NS pair.
                RESETTOURNAMENTSTATE();
                generate(k.type, pairs, size.rounds, size.boards, false, skipAfter, variant == 1);
                Lists byTable = allLists();
                for (std::size_t s = 0; s < byTable.size(); ++s) {
                    auto played = asPlayed[s];
                    if (k.type == MOVE_MITCHELL) {
                        ASSERT_TRUE(std::is_sorted(byTable[s].begin(), byTable[s].end()));
                        std::sort(played.begin(), played.end());
                    }
                    ASSERT_EQ(byTable[s], played) << "set " << s + 1;
                }
            }
}

TEST_F(MovementTest, HowellSeatingIsAPermutationInEveryRound) {
    for (int T = 3; T <= 7; ++T)
        for (int round = 1; round <= 30; ++round) {
            std::set<int> seated;
            for (int station = 1; station <= T; ++station)
                for (int side = 1; side <= 2; ++side) {
                    const int p = GETHOWELLPAIR(T, round, station, side);
                    EXPECT_TRUE(p >= 1 && p <= 2 * T && seated.insert(p).second)
                        << T << " tables, round " << round << ": pair " << p;
                }
        }
    // Outside the stored tables there is nobody.
    const int outside[][4] = {{2, 1, 1, 1}, {8, 1, 1, 1}, {4, 0, 1, 1}, {4, 1, 0, 1},
                              {4, 1, 5, 1}, {4, 1, 1, 0}, {4, 1, 1, 3}};
    for (const auto& a : outside)
        EXPECT_EQ(GETHOWELLPAIR(a[0], a[1], a[2], a[3]), 0);
}

TEST_F(MovementTest, OddMitchellWithSkipDropsThePhantomLineAndMovesOn) {
    // 11 pairs: the entry of NS place 6 is not listed, and the next one still
    // follows from it.
    checkLists(MOVE_MITCHELL, {
                                  {"boards", 11, 5, 6, true, 3, true, 1, "1-6 5-8 3-11 2-9"},
                                  {"players", 11, 5, 6, true, 3, false, 1, "1-6 5-8 4-11 3-9"},
                              });
}

TEST_F(MovementTest, CustomMovementIsLeftAsItIs) {
    NumPairs = 7;
    NumRounds = 3;
    NumBoards = 4;
    NumBoardSets = 2;
    MovementType = MOVE_CUSTOM;
    ASSERT_TRUE(Movement.allocate(NumBoardSets, NumRounds, 2));
    ASSERT_TRUE(SetEntries.allocate(NumBoardSets));
    Movement(1, 1, 1) = 7;
    Movement(1, 1, 2) = 2;
    Movement(2, 3, 2) = 9; // a leftover past the count
    SetEntries(1) = 1;
    ASSERT_TRUE(INITTOURNAMENT());
    CALCULATEMOVEMENT();
    EXPECT_EQ(listOf(1), "7-2");
    EXPECT_EQ(SetEntries(2), 0);
    EXPECT_EQ(Movement(2, 3, 2), 9);
    EXPECT_EQ(NumTables, 3);
}

TEST_F(MovementTest, EndsWithTheStatusFigures) {
    MovementType = MOVE_MITCHELL;
    NumPairs = 9;
    NumRounds = 5;
    BoardsPerRound = 3;
    NumBoards = 15;
    NumBoardSets = 5;
    ASSERT_TRUE(INITTOURNAMENT());
    CALCULATEMOVEMENT();
    EXPECT_EQ(NumTables, 4);
    EXPECT_EQ(CapturedStatus[1], "Boards:  15/ 12"); // EW pair 9 sits out once
    EXPECT_EQ(CapturedStatus[2], "Top:   90/  72");
}

TEST_F(MovementTest, AnyHeaderListsExistingPairsInsideTheArrays) {
    // Every type, size and skip a damaged file could bring, with arrays sized by
    // the header or smaller than it says: listed pairs exist, lists stay inside
    // the arrays (the sanitizer build checks every index). Huge pair counts must
    // not make the work grow beyond the arrays.
    std::vector<int> pairCounts = {10'000'000, INT_MAX};
    for (int pairs = -1; pairs <= 17; ++pairs)
        pairCounts.push_back(pairs);
    for (int type = 0; type <= 5; ++type)
        for (int pairs : pairCounts)
            for (int rounds = -1; rounds <= 12; ++rounds)
                for (int sets = -1; sets <= 12; ++sets)
                    for (int skipAfter : {-1, 0, 2}) {
                        RESETTOURNAMENTSTATE();
                        MovementType = type;
                        NumPairs = pairs;
                        NumRounds = rounds;
                        NumBoardSets = sets;
                        SkipOn = TOLOGICAL(skipAfter >= 0);
                        SkipAfterRound = static_cast<std::int16_t>(skipAfter);
                        OrderAsPlayed = TOLOGICAL(sets % 2 == 0);
                        // Arrays as the header says, smaller, or none at all.
                        const int allocSets = skipAfter == 0 ? 3 : sets;
                        const int allocRounds = skipAfter == 0 ? 2 : rounds;
                        if (allocSets > 0 && allocRounds > 0) {
                            ASSERT_TRUE(Movement.allocate(allocSets, allocRounds, 2));
                            ASSERT_TRUE(SetEntries.allocate(allocSets));
                        }
                        CALCULATEMOVEMENT();
                        if (!SetEntries.allocated()) continue;
                        for (int s = 1; s <= allocSets; ++s) {
                            ASSERT_TRUE(SetEntries(s) >= 0 &&
                                        SetEntries(s) <=
                                            std::max(0, std::min(rounds, allocRounds)));
                            for (int i = 1; i <= SetEntries(s); ++i)
                                ASSERT_TRUE(Movement(s, i, 1) >= 1 && Movement(s, i, 1) <= pairs &&
                                            Movement(s, i, 2) >= 1 && Movement(s, i, 2) <= pairs &&
                                            Movement(s, i, 1) != Movement(s, i, 2))
                                    << "type " << type << ", " << pairs << " pairs, " << rounds
                                    << " rounds, " << sets << " sets, set " << s << " entry " << i;
                        }
                    }
}

} // namespace
