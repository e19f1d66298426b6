// The routines a loaded tournament is computed with, handed to the tournament file.
#include "scoring/compute.h"

#include "core/hooks.h"
#include "core/tournament.h"
#include "movement/movement.h"
#include "scoring/scoring.h"

void INSTALLCOMPUTE() {
    Compute.calculateMovement = CALCULATEMOVEMENT;
    Compute.calcAll = CALCALL;
}

bool CREATETOURNAMENT() {
    NumBoardSets = NumBoards / BoardsPerRound;
    if (!INITTOURNAMENT()) return false;
    SETSAVE(true);
    CALCULATEMOVEMENT();
    CALCALL();
    return true;
}
