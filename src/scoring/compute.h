#pragma once
// Hands the tournament file the routines that compute a loaded tournament
// (the movement, every board, the totals and the ranking). Every program calls
// it once at start; tests that open files call it in their set-up.
void INSTALLCOMPUTE();
