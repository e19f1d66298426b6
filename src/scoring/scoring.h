#pragma once
// Scoring: every board (matchpoints, IMPs against a datum, cross-IMPs), the
// pairs' totals, victory points and the ranking. Scores are in units of 10
// points, as Results holds them. No routine here shows a message; the IMP datum
// reaches the status bar through the status hook.

#include <array>
#include <span>
#include <vector>

// Lower bounds, in units of 10 points, of 1 to 24 IMPs, then a closing bound.
inline constexpr std::array<int, 25> ImpScale = {2,   5,   9,   13,  17,  22,  27,  32,  37,
                                                 43,  50,  60,  75,  90,  110, 130, 150, 175,
                                                 200, 225, 250, 300, 350, 400, 2000};

// Board counts of the rows of VpScale.
inline constexpr std::array<int, 9> VpBoardCounts = {0, 8, 12, 14, 16, 20, 24, 28, 32};

// Victory-point thresholds, one row per count of VpBoardCounts: a first bound
// that every margin reaches, the IMP margins of 16-14, 17-13, ... 25-5, 25-4,
// ... 25-0, and a bound no margin reaches. A margin reaches a value when it is
// at least the value minus 0.5. The row of 0 boards is all zeros.
inline constexpr std::array<std::array<int, 17>, 9> VpScale = {{
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {-1, 2, 6, 9, 12, 15, 18, 21, 24, 27, 30, 34, 38, 42, 46, 51, 1000},
    {-1, 2, 7, 10, 13, 17, 21, 25, 29, 33, 37, 41, 46, 51, 56, 62, 1000},
    {-1, 3, 8, 11, 15, 19, 23, 27, 31, 35, 39, 44, 49, 55, 61, 67, 1000},
    {-1, 3, 8, 12, 16, 20, 24, 28, 32, 37, 42, 47, 53, 59, 65, 72, 1000},
    {-1, 3, 9, 13, 17, 22, 27, 32, 37, 42, 48, 54, 60, 66, 73, 80, 1000},
    {-1, 4, 10, 15, 20, 25, 30, 35, 40, 46, 52, 58, 65, 72, 80, 88, 1000},
    {-1, 4, 11, 16, 21, 26, 32, 38, 44, 50, 56, 62, 69, 77, 86, 95, 1000},
    {-1, 4, 11, 17, 23, 29, 35, 41, 47, 53, 59, 66, 74, 83, 92, 101, 1000},
}};

// Scores board `board` by CalcType: BoardPoints of every entry of the board, and
// for matchpoints BoardPercent; then MatchPoints (and MatchVP: the summed
// percentages for matchpoints, the victory points of each match for IMPs and
// Calcutta in a Berger) of every entry of the board's set. A board outside
// 1..NumBoards, beyond the last whole set or with unallocated arrays is left alone.
void CALCULATEBOARD(int board);

// IMPs for a score difference in units of 10 (negative when the side lost).
int IMPRESULT(float diff);

// The IMP datum of a board in units of 10: the mean of its scores with the
// highest and lowest quarter dropped, rounded half away from zero. Adjusted
// scores do not count; a board with only adjusted scores, or none, has datum 0.
float CALCIMPAVERAGE(int board);

// Vulnerability of a board: 0 none, 1 NS, 2 EW, 3 both.
int GETBOARDZONE(int board);

// True when an NS score (units of 10) can occur at the given vulnerability;
// 0 (passed out) always can.
bool ISRESULTPOSSIBLE(int score, int zone);

// True when `value` is one of the first `count` entries of the ascending `table`.
bool FINDITEM(int value, const int* table, int count);

// Every undertrick penalty and every made-contract score the laws of duplicate
// bridge allow, in units of 10, ascending, each value once.
std::span<const int> UNDERTRICKSCORES(bool vulnerable);
std::span<const int> MADESCORES(bool vulnerable);

// Victory points (0..25) of the side whose IMP margin over `boards` boards is
// `imps` (negative when it lost). Board counts between two rows interpolate the
// thresholds.
int IVPRESULT(float imps, int boards);

// Recomputes the whole tournament: every board, the pairs' totals, percentages
// or victory points, IMPs per board, penalties, the players' ratings and rating
// changes (through Compute.assignPairRating and Compute.calcRating, when
// RatingMode is on and NeedsRecalc is false), and the ranking in
// PlacementOrder. Does nothing while the arrays are not allocated.
void CALCALL();

// Ranks the pairs by their current figures into PlacementOrder, as CALCALL does last.
void RANKPAIRS();

// Totals and percentages that differ by no more than this are the same figure:
// sums of fractions (Calcutta, IMPs) that only rounding tells apart.
inline constexpr double PlaceTieTolerance = 1e-3;

// The place of every pair in the ranking, indexed by pair number (element 0 and
// pairs not ranked hold 0). Pairs are taken in PlacementOrder, as every report
// lists them; a pair whose total and percentage both lie within
// PlaceTieTolerance of the pair listed just above it shares that pair's place,
// any other pair's place is its position. Every view, printout and export that
// numbers places takes them from here.
std::vector<int> PAIRPLACES();
