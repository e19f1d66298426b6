#pragma once
// The club's register of players: names (Windows-1250, 30 significant
// characters), integer ratings and their last changes, kept in memory for the
// whole run and in the text file "Players.opd" of the program's folder. Every
// change is on disk when its routine returns; a change that cannot be saved is
// reported and undone, so the register in memory never pretends to be saved.
// No routine here touches Qt; messages go through the hooks of core/hooks.h.

#include "core/array.h"
#include "core/tournament.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct FileLock;

// Characters of a name that count (stored, compared, written).
constexpr int RegNameLength = 30;
// The room the arrays start with, and what they grow by beyond the count.
constexpr int RegStartCapacity = 100;
constexpr int RegGrowth = 50;
// What the file's 6-character number fields hold.
constexpr int RegFieldMin = -99999;
constexpr int RegFieldMax = 999999;
// Control ids of the sort buttons of Edit Player List, which are also the sort keys.
enum : int { SORT_NAME = 1024, SORT_RATING = 1025, SORT_DELTA = 1026 };

extern std::int32_t RegisteredCount;  // players registered, 0 without a file
extern std::int32_t RegCapacity;      // allocated length of the four arrays
extern Array<PlayerName, 1> RegName;  // blank padded; columns 31-32 always blank
extern Array<std::int32_t, 1> RegRating;
extern Array<std::int32_t, 1> RegDelta; // last change of the rating
extern Array<std::int32_t, 1> RegOrder; // RegOrder(k): register index shown on row k
extern std::string PlayersFile;         // ProgramFolder + "Players.opd"

// Empties the register: 100 elements, ratings and deltas 0, no file known, no
// damaged load remembered. Tests call it before each case.
void RESETPLAYERS();

// Today's date as yyyymmdd, the stamp of the register's dated copies.
std::string TODAYSTAMP();

// Loads the register from PlayersFile (set from ProgramFolder first). A missing
// file leaves it empty, silently; one that cannot be read or is not a regular
// file (a pipe, a device) leaves it empty with a message, and is then never
// replaced. Blank lines are passed over. A line that cannot be read ends the
// load; the user is told which line, and the file is kept as a dated copy beside
// it (now, or else before the first rewrite; once per content, an identical
// copy is not made again), so the players after that line are never lost by a
// later save. Returns the number of players loaded.
int LOADPLAYERS();

// Every change of the register file is made under its lock (a lock file beside
// it), on the register as the file holds it then: another program (a second
// window, orla-cli) may have changed it since it was read. Takes the lock
// (waiting up to FileLockWaitMs) and re-reads the file when it is no longer what
// the register in memory was read from. `was`, when given, receives for each
// register entry k the index the same player had before (0 for a player another
// program added). False, with a message and nothing changed, when the lock
// cannot be had or the file cannot be read. The lock is held until `lock` is
// released or goes out of scope.
bool LOCKREGISTER(FileLock& lock, std::vector<int>* was = nullptr);

// Grows the four arrays to `count` + 50 elements, keeping elements 1..RegCapacity.
// False (arrays unchanged) when the memory cannot be had.
bool REGPLAYERREALLOC(int count);

// True when tournament name `tournamentName` is registered name `registeredName`:
// both cut at a NUL and blank padded, the tournament name cut to 30 characters,
// the letters A-Z taken as a-z; equal after padding the shorter with blanks.
bool NameMatches(std::string_view tournamentName, std::string_view registeredName);
bool NameMatches(const PlayerName& tournamentName, const PlayerName& registeredName);

// A name as NameMatches compares it: cut at a NUL (and, for a tournament name,
// after 30 characters), A-Z as a-z, blank padded to 32 characters. Two names
// match when the key of the tournament name equals that of the registered one.
std::string MATCHKEY(std::string_view name, bool tournamentName);

// The first registered player whose name matches `name`, 0 when none does.
int FINDREGPLAYER(std::string_view name);

// Rebuilds RegOrder for key SORT_NAME (byte order of the whole names, ascending),
// SORT_RATING or SORT_DELTA (descending); players that tie keep their register
// order. Any other key leaves the register order. O(n log n).
void SORTPLAYERS(int key);

// List row k of Edit Player List (Windows-1250): the name without trailing
// blanks, a tab, the rating right aligned in 4 characters, a tab, the delta the
// same way (a wider number is shown whole), cut or padded to 50 characters.
std::string PLAYERLISTROW(int k);

// The Windows-1250 name of a name field typed as UTF-8, cut to 30 characters.
// False, with a message naming `field` and the character, for a character the
// register cannot keep.
bool REGNAMEFROMUTF8(const std::string& utf8, const std::string& field, std::string& name);

// A 6-character number field of a register record: blanks ignored, nothing at
// all reads 0; false for anything but an optional sign and digits, and for a
// number beyond 32 bits.
bool REGFIELDVALUE(std::string_view field, std::int32_t& value);

// The rating text of the rating field: its first 6 characters as a whole number,
// blanks ignored; text that is not a whole number reads 0.
int REGRATINGFROMTEXT(const std::string& text);

// Changes of the register, each saved at once, each made under the register's
// lock on the file as it is then (LOCKREGISTER). A name is Windows-1250. Each
// returns true when the change is made and saved; otherwise it shows why (a name
// shorter than 2 characters, a name already or not registered, a rating the file
// cannot hold, the lock held by another program, a failed write) and writes
// nothing.
//
// Registers `name` with rating 0 and rewrites the file (Add of Check Names).
bool REGISTERNEWPLAYER(const std::string& name);
// Registers `name` with `rating` as rating and delta and appends it to the file
// (Add of Edit Player List).
bool APPENDREGPLAYER(const std::string& name, int rating);
// Removes the first player matching `name`, closing the gap, and rewrites the
// file; an unknown name is reported and the file left as it is.
bool REMOVEREGPLAYER(const std::string& name);
// Gives the first player matching `name` the rating `rating` (the delta stays)
// and rewrites the file; an unknown name is reported and the file left as it is.
bool CHANGEREGRATING(const std::string& name, int rating);

// Rewrites PlayersFile with the whole register in register order, through a
// temporary file. The caller holds the register's lock (LOCKREGISTER). False, with a message, when a rating or delta does not fit its
// field or the file cannot be written; the old file is then unchanged.
bool WRITEPLAYERSFILE();

// The name of the dated copy made of a register that could not be read whole
// ("" when none was made yet).
extern std::string PlayersBackupFile;
