#pragma once
// Hands the tournament file the routines that compute a loaded tournament
// (the movement, every board, the totals and the ranking). Every program calls
// it once at start; tests that open files call it in their set-up.
void INSTALLCOMPUTE();

// Opens a new tournament of the shape the header describes, as OK on the
// Tournament Properties dialog does: allocates it (NumBoardSets from the header),
// marks it modified, generates the movement and computes it. Returns false, with
// nothing open, when INITTOURNAMENT refuses.
bool CREATETOURNAMENT();
