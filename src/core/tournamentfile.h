#pragma once
// The tournament file (.otr). The current format starts with the marker -100,
// then the 124-byte header and the arrays of the tournament, each one block in
// column-major order, little-endian, with nothing between them:
//   marker, header, PlayerNames, Results, RatingChange, PairPenalty, BoardValid,
//   PlayerRating, [SetEntries, Movement when the movement is Custom],
//   [HandCards when the tournament has hand diagrams].
// Files without the marker come from older versions: counts and settings (92
// bytes), PlayerNames, Results, then optional tails (rating mode and one rating
// increment per pair; penalties and valid boards; three options).

#include "core/filelock.h"
#include "core/tournament.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr std::int32_t FileVersionMark = -100;

// Largest tournament a file may describe: each count at most MaxFileCount, and the
// arrays it needs in memory at most MaxFileMemory bytes. Bigger headers are taken
// for damage.
constexpr std::int32_t MaxFileCount = 1 << 20;
constexpr std::uint64_t MaxFileMemory = std::uint64_t{512} << 20;

// Opens the tournament file `name` (UTF-8 path; used up to its first NUL). The
// caller has closed the open tournament. Reads either format, fills the header and
// every array, computes the movement and the totals through the Compute hooks,
// records the name (TournamentFile, TournamentFileTitle, HasFileName), clears the
// modified flag and tells the Ui (fileOpened). Returns false after the message
// "File <name> is deleted or moved." or "File <name> is damaged." (caption "Error
// opening file") when the file cannot be opened or does not hold a tournament that
// any version wrote; the tournament state is then as before the call, with no
// tournament open.
bool OPENNTRFILE(const std::string& name);

// The tournament file as it was when it was opened or last saved here
// (TournamentStampFile its name, "" when the open tournament did not come from a
// file). A save over a file whose stamp is no longer this one asks first.
extern FileStamp TournamentStamp;
extern std::string TournamentStampFile;

// A tournament file read whole and found sound, not loaded yet.
struct NtrFileImage {
    std::string name;
    std::vector<unsigned char> bytes;
    FileStamp stamp; // the file as it was when the reading began
};

// The first half of OPENNTRFILE: reads the file `name` whole into `image` and
// checks it as the reader does, touching no tournament state. False after the
// same messages as OPENNTRFILE when the file would be refused; whatever is open
// stays open as it was.
bool READNTRFILE(const std::string& name, NtrFileImage& image);

// The second half of OPENNTRFILE: loads an image READNTRFILE accepted, closing a
// tournament still open. Returns false only when memory is short. The image is
// emptied.
bool LOADNTRFILE(NtrFileImage& image);

// Writes the open tournament to TournamentFile in the current format. The old file
// is replaced only once the new one is complete on the disk. The save holds the
// file's lock; when another program changed the file since it was opened or
// saved here, it asks "... Do you want to replace it with this tournament? ..."
// (caption "Question", Yes/No) and No (orla-cli's answer) saves nothing. On success clears the
// modified flag and sets HasFileName; on failure shows "The file <name> could not
// be saved: <reason>. ..." (caption "Error"), leaves the flags and the old file as
// they were and returns false.
bool WRITENTRFILE();

// The table scoring journal beside `file` (`<file>.tables`) is moved to the
// first free `<file>.tables.N` (its name into `aside` when given): it belongs to
// another tournament, or another seating of the tables, than the one to be
// scored there now, which must not take its results or its tables' keys. True
// when there is none or it was moved; false, with `reason`, when it stays.
bool SETJOURNALASIDE(const std::string& file, std::string& reason, std::string* aside = nullptr);

// What a look over a folder of tournaments takes from one file, without opening
// it as the tournament: its name, and the players with the rating changes the
// file stores for them.
struct FileRatingChanges {
    bool current = false;       // the current format (old format: false)
    std::int32_t numPairs = 0;
    std::int32_t ratingMode = 0; // -1 rating, 1 masters points, 0 none
    bool ratingStored = false;   // old format: the rating block is there
    // Players 1..NumPairs first, then their partners, as the file holds them
    // (32 bytes each, blank padded or cut by a NUL); the change of each. The old
    // format's one change of a pair is given to both of its players.
    std::vector<PlayerName> names;
    std::vector<float> changes;
};

// The tournament name of the file `name` (64 bytes as stored). False, without a
// message, when the file cannot be read or its start is not a tournament's.
bool READTOURNAMENTNAME(const std::string& name, std::string& tournamentName);

// The players and rating changes of the file `name`. False, without a message,
// when the file cannot be read or is not a whole tournament (the reader of
// OPENNTRFILE would call it damaged).
bool READRATINGCHANGES(const std::string& name, FileRatingChanges& out);
