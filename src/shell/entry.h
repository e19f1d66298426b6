#pragma once
// Result and name entry in the main window: the child windows that sit on the
// views (the two result fields, the board selector, OK and "Faulty", the name box,
// the two scroll bars), the pairs view and the board-list view that they belong
// to, and the routines of both views.

#include "core/cp1250.h"

#include <string>
#include <vector>

class QWidget;

// Layout of the views, in pixels of the drawing area.
constexpr int RowHeight = 20;      // every row, the header row too
constexpr int StripHeight = 30;    // board-list view: the strip with selector, Faulty, OK
constexpr int ScrollWidth = 16;    // the scroll bars at the right edge
constexpr int ViewFontHeight = 14; // character cell of the view's text

// The child windows (null while no tournament is open).
struct EntryWindowSet {
    QWidget* field[3] = {};   // result fields 1 and 2 (index 0 unused)
    QWidget* board = nullptr; // board selector
    QWidget* ok = nullptr;
    QWidget* faulty = nullptr;
    QWidget* name = nullptr; // name box
    QWidget* pairsScroll = nullptr;
    QWidget* listScroll = nullptr;
    QWidget* pairList = nullptr; // personal view: "All pairs", then every pair
};
extern EntryWindowSet EntryWindows;
// The result field being typed into (1 or 2).
extern int ActiveField;

// The registered players' names (UTF-8) that the name box offers.
std::vector<std::string> REGISTEREDNAMES();
// Refills the name box's list from the register, keeping what is typed in it.
void FILLNAMEBOX();

// Builds the child windows of the main window's drawing area, hidden, and
// destroys them (INITTOURNAMENT and CLOSETOURNAMENT through the Ui hooks).
void CREATEENTRYWINDOWS();
void DESTROYENTRYWINDOWS();

// Lays the view out again after a size change: the rows that fit, the scroll bars
// (shown only when not every row fits) and the entry windows.
void LAYOUTVIEW();

// A left click at (x, y) of the drawing area: in the pairs view sorted by lines
// it selects a name cell, in the board-list view a result row.
void ONVIEWCLICK(int x, int y);

// Stores whatever is typed in the entry window that has it (a result field or the
// name box) as Enter would, without moving on; save and the view commands call it
// first, so nothing typed is lost. False when what was typed is refused.
bool COMMITENTRY();

// Result entry.
// Reads the typed result of entry EditEntry of the current board into Results.
// Returns false, storing nothing, when field 1 (or 2) holds no whole number in
// the range a result can take; the status bar then says which and why, and
// `focus` puts the cursor back into the field.
bool READRESULT(bool focus = true);
// The board shown in the board-list view (0 when none).
int CURRENTBOARD();
// "Faulty" clicked: the board's BoardValid follows the box.
void ONBOARDFAULTY();
// The text of a result as the result field takes it (the typed units); for an
// adjusted score part 1 or 2 of it.
std::string ENTRYFIELDTEXT(float v, int part);

// Pairs view.
// Stores the name typed in the name box into its cell (Enter without moving on).
// False, nothing stored, for a character a name cannot hold; the status bar says
// which, and `focus` puts the cursor back.
bool STORENAMEBOX(bool focus);
void ONPLAYERLIST();
void ONPLAYERPLACEMENT();
void ONPAIRSSCROLL();
void DRAWTOURNAMENT();
// The pair penalty dialog (102) for `pair`.
void ONPENALTY(int pair);
// The cells of row `row` (from 1) of the pairs view as it draws them, and its
// column titles.
std::vector<std::string> PAIRSROW(int row);
std::vector<std::string> PAIRSHEADER();

// Board-list view.
void ONVIEWBOARDLISTS();
void DRAWBOARD();
void ONTABCHANGE();
void ONBOARDOK();
void ONBOARDSCROLL();
// The cells of entry `entry` of board `board` as the list draws them, and the
// column titles.
std::vector<std::string> BOARDROW(int board, int entry);
std::vector<std::string> BOARDHEADER();

// Frequency-list view: the board chosen in the board selector.
void ONVIEWFREQUENCY();
void DRAWFREQUENCY();
// Its rows (score, the points of both sides, the count) for `board`.
std::vector<std::vector<std::string>> FREQUENCYTABLE(int board);
int FREQUENCYROWS();

// Personal score card view: the card of PersonalPair, or every card (0).
void ONVIEWPERSONAL();
void DRAWPERSONAL();
// The pair selector changed: PersonalPair follows it, the view is redrawn.
void ONPAIRLISTCHANGE();
// Fills the pair selector from the pairs' numbers and names.
void FILLPAIRLIST();
// The rows the view shows (a card's heading row holds one cell).
std::vector<std::vector<std::string>> PERSONALTABLE();
int PERSONALROWS();

// Options menu: the keypad keys sent to the entry window that has the focus.
void ONADJUSTEDSCORE();
void ONINVERSION();
void ONPENALTYCOMMAND();

// Tournament Properties for the open tournament (View menu).
void ONVIEWPROPERTIES();

