#include "shell/lifecycle.h"

#include "core/hooks.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "movement/movementsize.h"
#include "scoring/compute.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/mainwindow.h"
#include "shell/properties.h"
#include "shell/recalc.h"
#include "shell/settings.h"
#include "shell/shell.h"
#include "shell/views.h"
#include "winsupport/gwfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const char* const TournamentFilter = "ORLA turniri (*.otr)";
const char* const TournamentPattern = "*.otr";
const char* const TournamentExtension = "otr";

// Asks for a tournament file to open or to save to; false when cancelled.
// The dialog starts in StartFolder, or at the tournament's own file.
bool askFileName(bool save, std::string& path) {
    const std::vector<GwFilter> filters = {{TournamentFilter, TournamentPattern}};
    std::string name = path.empty() ? StartFolder : path;
    const bool chosen = save
                            ? GwGetSaveFile(MainWindow, filters, TournamentExtension, name, "Save")
                            : GwGetOpenFile(MainWindow, filters, TournamentExtension, name, "Open");
    if (chosen) path = name;
    return chosen;
}

// Closes the open tournament; the title no longer names its file and the status
// bar no longer shows its figures.
void closeTournament() {
    HasFileName = false;
    CLOSETOURNAMENT();
    TournamentFile.clear();
    TournamentFileTitle.clear();
    SETSAVE(false);
    for (int part = 0; part < 3; ++part)
        SETSTATUS(part, "");
}

// Whether the file can be opened for reading; when not, the user is told, as the
// reader would tell it, and nothing else happens.
bool readableFile(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists() || info.isDir()) {
        SHOWMESSAGE("File " + path + " is deleted or moved.", "Error opening file");
        return false;
    }
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        SHOWMESSAGE("File " + path + " cannot be read: " + file.errorString().toStdString() + ".",
                    "Error opening file");
        return false;
    }
    return true;
}

} // namespace

std::string FILETITLE(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

bool QUERYSAVE() {
    // A result or name still in its field counts as typed; a refused one stops here.
    if (!COMMITENTRY()) return false;
    if (!TournamentOpen || !Modified) return true;
    const MessageAnswer answer = SHOWMESSAGE("Do you want to save changes to the file?",
                                             "Question", MSG_YESNOCANCEL_QUESTION);
    // Cancel (or Escape) stops the command; No discards the changes.
    if (answer == ANSWER_CANCEL) return false;
    if (answer != ANSWER_YES) return true;
    // Yes: the changes must be kept, so the command stops when they were not saved.
    return ONFILESAVE();
}

bool NEWDEFAULTTOURNAMENT() {
    DEFAULTHEADER();
    NeedsRecalc = false;
    MovementType = MOVE_MITCHELL;
    CalcType = CALC_MATCHPOINTS;
    NumPairs = 10;
    BoardsPerRound = 3;
    SkipOn = LFALSE;
    const MovementSize size = DEFAULTMOVEMENTSIZE(MovementType, NumPairs, BoardsPerRound, false);
    NumRounds = size.rounds;
    NumBoards = size.boards;
    SkipAfterRound = static_cast<std::int16_t>(size.skipAfterRound);
    TournamentFile.clear();
    TournamentFileTitle = "[Untitled]";
    if (!CREATETOURNAMENT()) return false;
    REDRAW();
    return true;
}

void ONFILENEW() {
    if (!ONFILECLOSE()) return;
    NeedsRecalc = false;
    TournamentFileTitle.clear();
    SETSAVE(false);
    // The properties dialog shapes the new tournament; Cancel leaves none open.
    DEFAULTHEADER();
    TournamentFile.clear();
    TournamentFileTitle = "[Untitled]";
    TOURNAMENTPROPERTIES();
    if (TournamentOpen) {
        SWITCHVIEW(IDM_SORTBYLINES);
    } else {
        ViewMode = 1;
        SortByPlacement = 0;
    }
}

void ONFILEOPEN() {
    // The question comes before the file dialog; Cancel stops here.
    if (!QUERYSAVE()) return;
    std::string path;
    if (!askFileName(false, path)) return;
    path = ABSOLUTEPATH(path);
    // The next dialog starts where this file was found.
    StartFolder = QFileInfo(QString::fromStdString(path)).absolutePath().toStdString();
    // The changes were answered for before the dialog.
    OPENTOURNAMENTFILE(path, false);
}

bool ONFILESAVE() {
    // The file gets the figures of what was typed, rating changes included.
    if (!TournamentOpen || !RECALCIFCHANGED()) return false;
    if (!HasFileName) return ONFILESAVEAS();
    // The writer reports its own failures and leaves the tournament modified.
    return WRITENTRFILE();
}

bool ONFILESAVEAS() {
    if (!TournamentOpen || !RECALCIFCHANGED()) return false;
    std::string path = TournamentFile;
    if (!askFileName(true, path)) return false;
    path = ABSOLUTEPATH(path);
    const std::string oldFile = TournamentFile, oldTitle = TournamentFileTitle;
    TournamentFile = path;
    TournamentFileTitle = FILETITLE(path);
    if (!WRITENTRFILE()) {
        // Nothing was written there: the tournament keeps its previous file.
        TournamentFile = oldFile;
        TournamentFileTitle = oldTitle;
        return false;
    }
    SAVEANDUPDATEMRU(TournamentFile);
    REDRAW(); // the view names the tournament's file
    return true;
}

bool ONFILECLOSE() {
    if (!TournamentOpen) return true;
    if (!QUERYSAVE()) return false;
    closeTournament();
    return true;
}

void ONRECENTFILE(int n) {
    if (n < 1 || n > RecentFileCount || RecentFiles[n - 1].empty()) return;
    const std::string path = RecentFiles[n - 1];
    // The open tournament stays when the file cannot be read; an entry whose file
    // is gone leaves the list.
    if (!readableFile(path)) {
        if (!QFileInfo::exists(QString::fromStdString(path))) REMOVERECENTFILE(path);
        return;
    }
    OPENTOURNAMENTFILE(path);
}

bool OPENTOURNAMENTFILE(const std::string& path, bool askToSave) {
    // The file is read and checked whole before anything is closed: a file that is
    // refused leaves the open tournament as it was, modified or not.
    if (!readableFile(path)) return false;
    NtrFileImage image;
    if (!READNTRFILE(path, image)) return false;
    if (askToSave) {
        if (!ONFILECLOSE()) return false;
    } else if (TournamentOpen) {
        closeTournament();
    }
    TournamentFile = path;
    return LOADNTRFILE(image);
}
