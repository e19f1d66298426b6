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
    // No boards per round leaves no board set, which INITTOURNAMENT refuses.
    NumBoardSets = BoardsPerRound > 0 ? NumBoards / BoardsPerRound : 0;
    if (!INITTOURNAMENT()) return false;
    SETSAVE(true);
    CALCULATEMOVEMENT();
    CALCALL();
    return true;
}
