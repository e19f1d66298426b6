#pragma once
// The standard movements: which pairs play each board set against each other.

// Builds Movement, SetEntries and NumTables from the header for Mitchell, Berger
// and Howell (Custom is left as it is), then refreshes the status figures. The
// arrays must be allocated with the current extents. Sizes a movement does not
// provide leave short or empty lists; nothing is ever written outside the arrays.
void CALCULATEMOVEMENT();

// The pair sitting on `side` (1 NS, 2 EW) of Howell station `station` in round
// `round`, for `tables` Howell tables (3..7); 0 outside the stored tables.
int GETHOWELLPAIR(int tables, int round, int station, int side);
