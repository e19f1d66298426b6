#pragma once
// The tournament's key figures in the three parts of the status bar.

// Writes "Rating: ..." (only with rating on), "Boards: b1/bN" and, for
// matchpoints, "Top: ..." through the status hook.
void STATUSPARAMETERS();
