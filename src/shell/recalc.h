#pragma once
// Keeping the figures of the open tournament current: every board scored, the
// totals, ranking and rating changes (or masters points) computed from what has
// been typed, before anything leaves the program (Save, Print, an export) and
// whenever a view shows them.

// Recomputes the whole tournament (CALCALL with the rating step). When the
// figures the file stores (the players' ratings and rating changes) come out
// different, the tournament is marked modified, so that Close asks and Save
// writes them.
void RECALCULATE();

// Stores what is typed in an entry window, scores the board being left, and runs
// RECALCULATE when anything the figures are computed from (header, names,
// results, penalties, faulty boards, the movement, the register's ratings) has
// changed since the last one (or since the file was read: FIGURESTAKEN). False
// when what was typed is refused: the command stops. Save, Print, every export
// and the views call it first.
bool RECALCIFCHANGED();

// Takes the figures now in memory as computed from the current input: a file
// just read shows the figures it stores until something in it (or a rating in
// the register) changes.
void FIGURESTAKEN();
