// The size the Tournament Properties dialog proposes for a new tournament.
#include "movement/movementsize.h"

#include "core/tournament.h"

// Rounds, total boards and skip round the dialog writes when the number of pairs
// or the boards per round change. With T = (pairs + 1) / 2 tables: a Mitchell
// (or Custom) plays T rounds, one fewer with the skip, on T board sets; a Berger
// 2T - 1 rounds; a Howell 9 rounds for 11 or 12 pairs and 2T - 1 otherwise. The
// skip comes after round (pairs + 1) / 4.
MovementSize DEFAULTMOVEMENTSIZE(int movementType, int pairs, int boardsPerRound, bool skip) {
    const int T = (pairs + 1) / 2;
    MovementSize size{};
    switch (movementType) {
    case MOVE_BERGER:
        size.rounds = 2 * T - 1;
        size.boards = size.rounds * boardsPerRound;
        break;
    case MOVE_HOWELL:
        size.rounds = pairs == 11 || pairs == 12 ? 9 : 2 * T - 1;
        size.boards = size.rounds * boardsPerRound;
        break;
    default: // Mitchell and Custom
        size.rounds = skip ? T - 1 : T;
        size.boards = boardsPerRound * T;
        break;
    }
    size.skipAfterRound = (pairs + 1) / 4;
    return size;
}
