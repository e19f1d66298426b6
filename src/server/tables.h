#pragma once
// Scoring at the tables: the state of every table of the evening (its key, its
// round, the results it entered) over the one open tournament. Results reach the
// tournament as the director's typing puts them there (Results, SETSAVE,
// CALCULATEBOARD, the totals), and every accepted one is written to the journal
// and the tournament saved before the table hears that it is stored. Qt-free.

#include "movement/seating.h"
#include "server/journal.h"
#include "scoring/contract.h"

#include <map>
#include <string>
#include <vector>

// A result as a table entered it.
struct TableResult {
    Contract contract;
    char declarer = 'N';
    int tricks = 0;
    std::string lead; // "" or a suit letter and a rank, e.g. "HK"
    int nsScore = 0;  // units of 10, from the point of view of the pair sitting NS
    float stored = 0; // once accepted: the value put into Results
};

struct TableState {
    int table = 0;
    std::string token;
    int round = 0;            // the round being played; 0 once the table has finished
    bool seated = false;      // custom movements: the NS pair has been given
    bool inverted = false;    // this round's pairs sit the wrong way round
    std::vector<Seat> seats;  // the table's rounds
    std::map<int, TableResult> pending;  // board -> entered, not yet accepted
    std::map<int, TableResult> accepted; // board -> accepted (every round)
    int reached = 0;          // the latest round in which the table accepted a board
    double lastContact = 0;   // seconds, as the server's clock gives them; 0 never
};

// Every table, table t at index t - 1; the director's key; the journal's name.
extern std::vector<TableState> Tables;
extern std::string DirectorToken;
extern std::string JournalFile;
// The ranking page shows places and totals during play only when this is set;
// otherwise only which boards are complete (until every board is).
extern bool ShowResultsWhilePlaying;
// Once a table's round is complete its page shows the travellers of the round's
// boards so far only when this is set (the director's choice; off by default).
extern bool ShowTravellers;
// Where the server tells the director what went wrong outside a request (a save
// that failed, results of the journal the director's typing overrode). Defaults
// to the message hook's stderr writer.
extern void (*TablesLog)(const std::string& text);
// Called after each result accepted from a table, once the tournament holds it
// (the program's window redraws its views); null: nothing.
extern void (*TablesChanged)();

// Forgets every table (no scoring at the tables).
void RESETTABLES();

// Lets the file's tables go for another program (orla-cli serve) while this one
// keeps them as they are: its server has stopped, and STARTTABLES takes them
// back from the journal before it serves again.
void RELEASETABLES();

// A fresh random key of 128 bits, as 32 hexadecimal digits.
std::string NEWTOKEN();

// True when `given` equals `expected`, taking the same time for every `given`
// of the same length whatever its characters.
bool TOKENEQUAL(const std::string& given, const std::string& expected);

// Makes Tables afresh for the open tournament: the seating plan's tables of a
// standard movement with their rounds, NumTables unseated ones for a custom
// movement; no keys, nothing accepted.
void SEATTABLES();

// The seating of the tables of the open tournament, as the journal's "keys"
// record keeps it: the numbers of pairs, rounds, boards, boards a round, board
// sets and tables, the movement type, and "seating", a fingerprint (64-bit
// FNV-1a, 16 hexadecimal digits) of every seat of a standard movement's plan
// (round, table, board set, entry, NS and EW pair) or of a custom movement's
// SetEntries and Movement. Two evenings seated alike give equal shapes.
// Touches Movement as MAKESEATINGPLAN does.
nlohmann::json TABLESHAPE();

// Starts scoring at the tables on the open tournament, which must have a file
// (HasFileName): one table per table of the seating plan (NumTables for a custom
// movement), then the journal beside the file is read back: its keys (written
// as its first record when it has none, so that printed table cards stay good),
// every table's round and every accepted result, each put back into Results
// unless the director has typed another result there since. When that changed
// the tournament, the totals are computed and the file saved. A journal whose
// keys were written for another seating (TABLESHAPE) is set aside first
// (SETJOURNALASIDE), TablesLog says so, and the tables start afresh with new
// keys. False, with `reason`, when there is no file, the movement has no tables,
// the journal cannot be read, set aside or written.
bool STARTTABLES(std::string& reason);

// The boards of board set `set`.
int FIRSTBOARD(int set);
int LASTBOARD(int set);

// Finds the table's current round: the first of its rounds with a board neither
// accepted nor entered by the director (0 when every round is done), never one
// before a round in which the table has accepted a board. A table whose round
// changes forgets its entered results and its direction.
void FINDROUND(TableState& t);

// The seat of a table in its current round, or null.
const Seat* CURRENTSEAT(const TableState& t);

// True when the tournament holds, for `board` of the table's seat `seat`, a
// result the table did not accept there: the director typed it (before or after
// the table's), and it stands.
bool DIRECTORSRESULT(const TableState& t, const Seat& seat, int board);

// Outcome of a table's operation: an HTTP status and, when refused, the reason.
struct TableOutcome {
    int status = 200;
    std::string reason;
};

// The table confirms the NS pair of its current round: the plan's NS pair, or its
// EW pair (the pairs sit the wrong way round: stored as inversions). In a custom
// movement the first confirmation finds the table's rounds, and another NS pair
// given before the table has accepted any board takes that pair's rounds instead.
// Refused (409) once a board of the round is accepted, or for a pair that does not
// play there.
TableOutcome TABLESTART(TableState& t, int nsPair);

// Enters a result of a board of the table's current round, waiting for acceptance.
// Refused (409) for a board whose result the director has entered.
TableOutcome TABLEENTER(TableState& t, int board, const TableResult& r);

// Accepts the entered result of `board`: stores it in Results, journals it, saves
// the tournament; moves the table to its next round when the round is complete.
TableOutcome TABLEACCEPT(TableState& t, int board, double now, const std::string& device);

// The director changed, in the window, the result of entry `entry` of `board`
// from `before` to `after`. When a table accepted that result, the journal says
// that the director's value replaced the table's (a "director" record), so that
// a replay keeps the director's value. Nothing when scoring at the tables has not
// started or no table played there. False, with `reason`, when the journal
// cannot be written.
bool DIRECTORTYPED(int board, int entry, float before, float after, std::string& reason);

// Puts the journal's records back (STARTTABLES does this on the journal it read).
// Returns the number of results put into Results.
int REPLAYJOURNAL(const std::vector<nlohmann::json>& records);
