// The routines a loaded tournament is computed with, handed to the tournament file.
#include "scoring/compute.h"

#include "core/hooks.h"
#include "movement/movement.h"
#include "scoring/scoring.h"

void INSTALLCOMPUTE() {
    Compute.calculateMovement = CALCULATEMOVEMENT;
    Compute.calcAll = CALCALL;
}
