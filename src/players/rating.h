#pragma once
// The players' ratings in the open tournament: each player's club rating looked
// up in the register (PlayerRating), the strength of the field
// (TournamentStrength), and the rating change each player earns
// (RatingChange), or his masters points. Nothing here changes the register.

#include <array>

// Rating differences at which the expected result moves one step further.
inline constexpr std::array<int, 51> EloStepTable = {
    0,   4,   11,  19,  26,  33,  40,  47,  54,  62,  70,  78,  86,  94,  102, 110, 118,
    126, 134, 142, 151, 160, 169, 179, 189, 201, 213, 225, 238, 251, 265, 279, 294, 309,
    325, 342, 360, 380, 400, 420, 440, 460, 480, 500, 525, 550, 580, 610, 640, 670, 700};

// Looks up every player of the open tournament in the register: PlayerRating is
// the rating of the first registered player whose name matches, 0 for a name
// not registered. Then TournamentStrength (the mean, halves away from zero) and
// the status bar. Does nothing without an open tournament's arrays.
void ASSIGNPAIRRATING();

// Mode -1: every player's rating change from the pairs' results against the
// strength of the field. Mode 1: masters points for the pairs placed in the top
// quarter (the pairs are ranked first); a Berger with IMPs scores each match and
// writes its trace "Masters.txt" in the program's folder. Any mode: recomputes
// TournamentStrength first. Writes RatingChange (and PlacementOrder in mode 1).
void CALCRATING(int mode);

// "Recalculate now" of the open tournament: its players' ratings looked up in
// the register again, every board and total computed, then the rating step
// under `mode` (-1 rating changes, 1 masters points, 0 none beyond the field's
// strength) with `highRated` as the high-rated box, then the ranking. The
// tournament's own RatingMode, HighRated and NeedsRecalc are left as they were.
// The Tournament Properties dialog, orla-cli dump --recalculate and orla-cli
// score all recalculate through it. Does nothing without an open tournament.
void RECALCULATENOW(int mode, bool highRated);

// The steps of the expected result for a rating difference of D (0 to 50).
int EXPECTEDSTEPS(int d);

// The boards pair p is scheduled to play: the entries of each board set in which
// it plays, on either side, times BoardsPerRound.
int PAIRBOARDS(int p);

// Hands ASSIGNPAIRRATING and CALCRATING to the tournament file and the totals.
void INSTALLRATING();
