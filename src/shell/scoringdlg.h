#pragma once
// Players > Score at the Tables: the modeless window from which the director
// runs scoring at the tables. It lists the computer's addresses, takes the port,
// starts and stops the table server, prints the table cards, sets whether the
// ranking page shows results while playing and whether a table's page shows
// the travellers of its completed round, shows the director's own address of
// the live view and a list of the tables (round, boards entered, last contact)
// refreshed every second. Results accepted at the tables redraw the main
// window's view at once.

#include <string>

struct DialogRecord;

// Control ids of the window (template 124).
enum ScoringControl {
    IDC_SCORE_CLOSE = 2,
    IDC_SCORE_NOTE = 1101,
    IDC_SCORE_ADDRESS = 1102,
    IDC_SCORE_PORT = 1103,
    IDC_SCORE_START = 1104,
    IDC_SCORE_STOP = 1105,
    IDC_SCORE_CARDS = 1106,
    IDC_SCORE_SHOWRESULTS = 1107,
    IDC_SCORE_DIRECTOR = 1108,
    IDC_SCORE_STATE = 1109,
    IDC_SCORE_TABLES = 1110,
    IDC_SCORE_HEADINGS = 1111,
    IDC_SCORE_SHOWTRAVELLERS = 1112,
};

// The caption of the window and of its messages.
inline constexpr const char* ScoringCaption = "Score at the Tables";

// Players > Score at the tables...: shows the window (made on first use).
// Nothing without an open tournament.
void ONSCORETABLES();

// The window's record while it exists (tests), else null.
DialogRecord* SCORINGDIALOG();

// Starts scoring at the tables on the port of the window: the tournament must
// have a file (Save As is offered when it has none), the tables are started
// (putting back what their journal holds) and the server listens. A port in use
// is said in a message. False when scoring did not start.
bool ONSTARTSCORING();
// Stops the server; the tables keep their state until the tournament closes.
void ONSTOPSCORING();
// Prints one table card per table for the address chosen in the window (starting
// the tables first when they are not). `pdfFile` "": through the print dialog.
bool ONPRINTTABLECARDS(const std::string& pdfFile = "");

// Refreshes the list of tables and the server's state (the window's timer calls
// it every second; tests call it directly).
void REFRESHSCORINGWINDOW();

// Follows the open tournament: when it closes or another takes its place the
// server stops and the tables are forgotten, so that no table writes into a
// tournament it does not belong to.
void SCORINGTOURNAMENTCHANGED(bool open);

// Stops the server and destroys the window (program end).
void CLOSESCORINGWINDOW();
