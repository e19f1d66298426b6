#pragma once
// The end of a period: the rating update over a folder of tournament files, the
// season's statistics, and the names both compare. No Qt; messages go through
// the hooks of core/hooks.h.

#include "core/array.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// --- Files of a folder -----------------------------------------------------

// The names (without folder) of the files of `folder` (UTF-8) ending in ".otr",
// letter case ignored, sorted; empty for a folder that cannot be read.
std::vector<std::string> TOURNAMENTFILES(const std::string& folder);

// `folder` and `file` joined by the separator ("" folder: the file alone).
std::string FOLDERFILE(const std::string& folder, const std::string& file);

// The file list of Update Rating: one item per tournament file of `folder`, in
// the order TOURNAMENTFILES gives them: the file's last-write date (UTC) as
// "yyyy.mm.dd.", a blank, the tournament's name without trailing blanks, " [",
// the file name, "]" (UTF-8). A file whose name cannot be read (not a
// tournament, empty, cut short, not allowed) has an item without a name, so
// that choosing it is reported.
std::vector<std::string> FINDFILESINDIR(const std::string& folder);

// The file an item names: the text after one of its " [" up to its final "]"
// that is one of `files` (the sorted TOURNAMENTFILES of its folder), the
// longest such; "" when there is none. A tournament name holding "[" does not
// mislead it.
std::string ITEMFILENAME(const std::string& item, const std::vector<std::string>& files);

// --- Names -----------------------------------------------------------------

// A player's name as the update and the statistics compare it: the key of the
// rating look-up (MATCHKEY of a tournament name: cut at a NUL and after 30
// characters, A-Z as a-z, blank padded), so that every player who got a rating
// from the register has his changes and results counted for that player.
std::string UPDATEKEY(std::string_view name);

// The first registered player whose key equals that of the tournament name
// `name` (a 32-byte field), 0 when none.
int FINDUPDATEPLAYER(std::string_view name);

// --- Rating update ---------------------------------------------------------

// The summed increments of the registered players in whole tenths of a point,
// RatingSum(k) for register entry k, kept from SUMRATINGCHANGES to
// SAVERATINGUPDATE. Every stored change is a number of tenths, so the sums are
// exact whatever the order of the files.
extern Array<std::int64_t, 1> RatingSum;

// The items of the last SUMRATINGCHANGES that were left out because their file
// could not be read.
extern std::vector<std::string> RatingFilesLeftOut;

// Empties RatingSum and RatingFilesLeftOut.
void RESETRATINGUPDATE();

// Called after each file with the files done and the files in all; returning
// false stops the sum.
using UpdateProgress = std::function<bool(int done, int total)>;

// Sums, per registered player, the rating changes stored in the files named by
// `items` (list items of FINDFILESINDIR, in `folder`), in the order given:
// for a file scored with rating (mode -1) the change of each player, read to
// the nearest tenth, goes to the first registered player with the same
// UPDATEKEY. An old-format file whose pairs all have a change of 0 is shown as
// "Suspicious file:" and the item (caption "Error") and still read; a file that
// cannot be read whole is shown the same way, skipped and kept in
// RatingFilesLeftOut; empty items are skipped. Returns false when `progress`
// stopped it (RatingSum is then emptied).
bool SUMRATINGCHANGES(const std::string& folder, const std::vector<std::string>& items,
                      const UpdateProgress& progress = {});

// RatingSum(k), 0 when there is none.
std::int64_t RATINGSUMTENTHS(int k);

// The new rating of register entry k: its rating plus its sum, halves away
// from zero, at least 0.
int NEWRATING(int k);

// The new delta of register entry k: its sum, halves away from zero.
int NEWDELTA(int k);

// Row k of Rating Update Results (Windows-1250, 49 characters): the name in 32
// characters, a tab, the rating in 4, a tab, the sum with 2 decimals in 6, a tab,
// the new rating in 4 (a wider number shown whole).
std::string UPDATERESULTROW(int k);

// The dated copy the save makes: ProgramFolder, "Players", today's date as
// yyyymmdd, ".opd".
std::string RATINGBACKUPNAME();

// Saves the update: every register entry gets NEWRATING as rating and its sum,
// halves away from zero, as delta; the register file is first copied to
// RATINGBACKUPNAME (replacing a copy of the same day) and then rewritten through
// a temporary file. A copy that cannot be made is reported and the save goes on.
// Returns false, with a message and the register in memory and on disk as they
// were, when the register cannot be written.
bool SAVERATINGUPDATE();

// --- Statistics -----------------------------------------------------------

// The season's counts of one registered player, as STATISTICS gathers them.
struct PlayerStatistics {
    int mpCount = 0;
    float mpAverage = 0.0f;
    int impCount = 0;
    float impAverage = 0.0f;
    int snapshotRating = 0;
};

// Reads every tournament file of `tournamentFolder` with the tournament reader
// (each opened and closed in turn, so no tournament is open afterwards) and the
// register snapshot `snapshotFile`, and writes `statFile`: one line per
// registered player (STATISTICSLINE). A pair percentage that is not a number
// does not count for its players. A missing folder or snapshot counts as empty.
// The files read are not added to the recent files. Returns false, with a
// message, when `statFile` cannot be written, or at once, with nothing read or
// written, when `snapshotFile` is there but cannot be read (a folder); `read`
// gets the number of tournaments read.
bool STATISTICS(const std::string& tournamentFolder, const std::string& snapshotFile,
                const std::string& statFile, int* read = nullptr);

// The statistics of the register entries 1..RegisteredCount from the last run.
extern std::vector<PlayerStatistics> SeasonStatistics;

// The line of register entry k (Windows-1250): the name in 28, the MP count in
// 4, the MP average in 6 (2 decimals), the IMP count in 4, the IMP average in 6,
// the rating, the snapshot rating and their difference in 6 each; a value too
// wide for its field is asterisks.
std::string STATISTICSLINE(int k, const PlayerStatistics& s);
