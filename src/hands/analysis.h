#pragma once
// Double-dummy analysis of complete deals by the solver library: how many tricks
// each hand takes as declarer in each strain with every card in view, and the par
// score and contracts of the board's vulnerability and dealer. Results are kept
// per deal for as long as the program runs, so a deal is solved once.

#include "hands/hands.h"

#include <functional>
#include <string>
#include <vector>

// Strains of the trick table: 1 clubs .. 4 spades as the suits, 5 no trump.
constexpr int STRAIN_NT = 5;

struct DoubleDummy {
    bool valid = false;
    // tricks[hand][strain]: tricks hand 1..4 (North, West, East, South) takes as
    // declarer in strain 1..5; row and column 0 unused.
    int tricks[5][6] = {};
    int parScore = 0;         // from North-South's side: +420, -100
    std::string parContracts; // the par contracts, e.g. "4S-NS" or "5D*-EW-1", comma-separated
};

// One deal to analyse: the cards, the board's vulnerability (0 none, 1 NS, 2 EW,
// 3 both) and dealer (0 North, 1 East, 2 South, 3 West, as the board number gives).
struct DdJob {
    Deal cards{};
    int zone = 0;
    int dealer = 0;
    DoubleDummy result;
};

// The vulnerability and dealer of board b, as a job wants them.
DdJob DDJOBOFBOARD(int board);

// Analyses every job whose result is not known yet, a few deals per call of the
// solver, both cores at work. After each group `progress`(done, total) is called;
// when it returns false the rest is left undone. Every job whose deal is not
// complete is left invalid. Returns false with `error` when the solver fails;
// results found until then are kept. Safe to call from a worker thread; one call
// runs at a time.
bool ANALYSEDEALS(std::vector<DdJob>& jobs, const std::function<bool(int, int)>& progress,
                  std::string& error);

// Names the solver library the next analysis loads (a soname or a path), instead
// of the one the program was built for (tests); empty names that one again.
void DDSOLVERLIBRARY(const std::string& soname);

// The result of a deal analysed before, if there is one.
bool DDCACHED(DdJob& job);
// Forgets every result (tests).
void DDCLEARCACHE();

// The par as one line: "Par +420 NS: 4S-NS", "Par 0 (passed out)".
std::string PARTEXT(const DoubleDummy& dd);
// The strain letters of the table's columns, strain 1..5: "C", "D", "H", "S", "NT".
extern const char* const StrainLetters[6];
