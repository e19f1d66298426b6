#pragma once
// The end of a period: the rating update over a folder of tournament files, the
// season's statistics, and the printed or exported rating list.

#include <string>

class QWidget;
struct DialogRecord;

// Players > Update rating...: dialog 108 lists the tournament files of the
// current folder (StartFolder; "Browse..." changes it for the rest of the run);
// OK sums the chosen files' rating changes, with a progress bar whose Cancel
// stops and changes nothing, and shows the results (dialog 109), whose "&Save"
// writes the new ratings after a dated copy of the register.
void ONUPDATERATING();

// Runs the statistics over `tournamentFolder` into `statFile`. The open
// tournament is offered for saving first (false, nothing done, when it was to be
// saved and was not) and opened again from its file afterwards. False also when
// `statFile` could not be written.
bool RUNSTATISTICS(const std::string& tournamentFolder, const std::string& snapshotFile,
                   const std::string& statFile, int* read = nullptr);
// Players > Statistics...: asks for the season's folder and the register
// snapshot, writes Stat.txt into the folder and says so.
void ONSTATISTICS();
// Help > English runs the statistics first when the folder "2002" of StartFolder
// and the snapshot "Players20020102.opd" there both exist, into "Stat.txt"
// there; an existing Stat.txt is replaced only when the user answers Yes. False
// when the open tournament's changes were not answered for (Cancel, or a save
// that failed): Help > English then stops.
bool ONHELPENGLISHSTATISTICS();

// The buttons of Edit Player List: the rating list in the order shown (shared
// places when ordered by rating) as an HTML file, or printed.
void ONEXPORTHTMLLIST(DialogRecord& dlg, int id, int callbackType);
void ONPRINTLIST(DialogRecord& dlg, int id, int callbackType);
// Prints the rating list through the print dialog; false when cancelled or failed.
bool PRINTPLAYERLIST(QWidget* owner, int numbering);
