#pragma once
// The File commands: New, Open, Save, Save As, Close, the recent files, and the
// question about unsaved changes that comes before anything that would lose them.

#include <string>

// Asks "Do you want to save changes to the file?" when the open tournament has
// unsaved changes, and saves on Yes. Returns false on Cancel (or Escape) and when
// the changes were to be saved and were not (Save As cancelled or the write
// failed): the command that asked must stop and keep the tournament as it was.
// True when it may go on.
bool QUERYSAVE();

// Creates a new tournament with the defaults of the properties dialog (10 pairs
// Mitchell, 3 boards a round, matchpoints) and computes it; titled "[Untitled]".
bool NEWDEFAULTTOURNAMENT();

// New: closes the open tournament (after the question), then creates a new one
// and shows its pairs sorted by lines.
void ONFILENEW();
// Open: asks for a .otr file and opens it (OPENTOURNAMENTFILE). A file that
// cannot be read or is damaged is reported and the open tournament stays.
void ONFILEOPEN();
// Save: writes the tournament to its file, or asks for one (Save As) when it has
// none. Returns whether the tournament was written.
bool ONFILESAVE();
// Save As: asks for a file name and writes the tournament there; on success the
// file becomes the tournament's file and the first recent file. Returns whether
// it was written; a cancelled dialog or a failed write keep the previous name.
bool ONFILESAVEAS();
// Close: asks about unsaved changes and closes the tournament. Returns false when
// the changes were to be saved and were not (the tournament stays open).
bool ONFILECLOSE();
// Opens recent file `n` (1..4) after closing the open tournament. An entry whose
// file cannot be read is reported and taken out of the list; the open tournament
// stays.
void ONRECENTFILE(int n);

// Opens the tournament file `path` for the window (Open, the recent files, the
// file named at start-up): reads and checks it whole first, and only then closes
// the open tournament (after the question) and loads it. A file that is refused
// is reported by name and the open tournament stays as it was. Returns whether
// the file was loaded. `askToSave` false: the question was answered already (Open
// asks it before its file dialog), so the open tournament is closed without it.
bool OPENTOURNAMENTFILE(const std::string& path, bool askToSave = true);

// The file-name part of a path.
std::string FILETITLE(const std::string& path);
