// The rounds and total boards the Tournament Properties dialog proposes.
#include "core/tournament.h"
#include "movement/movementsize.h"

#include <gtest/gtest.h>

namespace {

TEST(MovementSize, DialogDefaults) {
    struct Row {
        int type, pairs, perRound;
        bool skip;
        int rounds, boards, skipAfter;
    };
    const Row rows[] = {
        {MOVE_HOWELL, 12, 2, false, 9, 18, 3},
        {MOVE_HOWELL, 11, 2, false, 9, 18, 3},
        {MOVE_HOWELL, 8, 3, false, 7, 21, 2},
        {MOVE_HOWELL, 5, 4, false, 5, 20, 1},
        {MOVE_MITCHELL, 13, 3, false, 7, 21, 3},
        {MOVE_MITCHELL, 13, 3, true, 6, 21, 3}, // the skip costs a round, not boards
        {MOVE_MITCHELL, 10, 3, false, 5, 15, 2},
        {MOVE_CUSTOM, 10, 3, true, 4, 15, 2},
        {MOVE_BERGER, 10, 4, false, 9, 36, 2},
        {MOVE_BERGER, 5, 2, false, 5, 10, 1},
        {MOVE_BERGER, 10, 4, true, 9, 36, 2}, // the skip is a Mitchell matter
    };
    for (const Row& r : rows) {
        const MovementSize size = DEFAULTMOVEMENTSIZE(r.type, r.pairs, r.perRound, r.skip);
        SCOPED_TRACE(std::string(MovementNames[r.type]) + " " + std::to_string(r.pairs));
        EXPECT_EQ(size.rounds, r.rounds);
        EXPECT_EQ(size.boards, r.boards);
        EXPECT_EQ(size.skipAfterRound, r.skipAfter);
    }
}

} // namespace
