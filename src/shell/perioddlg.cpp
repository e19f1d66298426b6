// The end of a period: Update Rating with its results dialog, the season's
// statistics (Players > Statistics... and Help > English), and the rating list
// of Edit Player List printed or exported as HTML.
#include "shell/perioddlg.h"

#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "printing/printing.h"
#include "players/players.h"
#include "players/update.h"
#include "reports/reports.h"
#include "shell/help.h"
#include "shell/lifecycle.h"
#include "shell/mainwindow.h"
#include "shell/reportcmds.h"
#include "shell/settings.h"
#include "shell/shell.h"
#include "winsupport/gwfile.h"
#include "winsupport/gwgdi.h"
#include "winsupport/gwlogm.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cmath>

bool PERIODDIALOGSREADY();

namespace {

enum {
    ID_FOLDER = 1000,
    ID_BROWSE = 4,
    ID_FILES = 1017,
    ID_PROGRESS = 1018,
    ID_OK = 1,
    ID_CANCEL = 2,
    ID_SORT_RATING = 1025,
};

// While OK sums the files: Cancel stops the sum instead of closing.
bool summing = false;
bool stopAsked = false;

// The folder the rating list was last exported to during this run.
std::string listExportFolder;

void fillFileList(DialogRecord& dlg) {
    DLGSETCHAR(dlg, ID_FOLDER, StartFolder);
    CHANGELISTBOXITEMS(dlg, ID_FILES, FINDFILESINDIR(StartFolder));
}

void ONBROWSE(DialogRecord& dlg, int, int) {
    std::string folder = StartFolder;
    if (!GwBrowse(dlg.window, "Select Folder", folder)) return;
    StartFolder = folder;
    fillFileList(dlg);
}

// The results of the sum, one row per registered player; true for "&Save".
bool showResults(DialogRecord& owner) {
    DialogRecord dlg;
    if (!DLGINIT(109, dlg)) return false;
    DLGSETSUB(dlg, 109, [](DialogRecord& d, int, int type) {
        if (type != DLG_CB_INIT) return;
        static const int stops[] = {167, 209, 262};
        DLGSENDCTRLMESSAGE(d, ID_FILES, DLG_MSG_SETTABSTOPS, 3, reinterpret_cast<long long>(stops));
        std::vector<std::string> rows;
        for (int k = 1; k <= RegisteredCount; ++k)
            rows.push_back(CP1250TOUTF8(UPDATERESULTROW(k)));
        CHANGELISTBOXITEMS(d, ID_FILES, rows);
        DLGSETLOG(d, ID_FILES, true, DLG_FOCUS);
    });
    DLGSETHELP(dlg, [](DialogRecord&, int) { ONDIALOGHELP(109); });
    const int answer = DLGMODAL(dlg, owner.window);
    DLGUNINIT(dlg);
    return answer == ID_OK;
}

void setBusy(DialogRecord& dlg, bool busy, int total) {
    summing = busy;
    stopAsked = false;
    for (int id : {ID_BROWSE, ID_FILES, ID_OK})
        DLGSETLOG(dlg, id, !busy, DLG_ENABLED);
    DLGSETLOG(dlg, ID_PROGRESS, busy, DLG_VISIBLE);
    if (busy) {
        DLGSETINT(dlg, ID_PROGRESS, 0, DLG_MIN);
        DLGSETINT(dlg, ID_PROGRESS, std::max(total, 1), DLG_MAX);
        DLGSETINT(dlg, ID_PROGRESS, 0);
    }
}

void ONUPDATERATINGOK(DialogRecord& dlg, int, int) {
    int count = 0;
    DLGGETINT(dlg, ID_FILES, count, DLG_COUNT);
    std::vector<std::string> chosen;
    for (int n = 1; n <= count; ++n) {
        bool selected = false;
        std::string item;
        if (DLGGETLOG(dlg, ID_FILES, selected, DLG_ITEMSEL + n) && selected &&
            DLGGETCHAR(dlg, ID_FILES, item, DLG_ITEM + n))
            chosen.push_back(item);
    }
    if (chosen.empty()) {
        DLGSETRETURN(dlg, 1);
        DLGEXIT(dlg);
        return;
    }

    // The sum, with the progress shown and Cancel heard between the files.
    setBusy(dlg, true, static_cast<int>(chosen.size()));
    QElapsedTimer shown;
    shown.start();
    const bool done = SUMRATINGCHANGES(StartFolder, chosen, [&](int n, int total) {
        if (n == total || shown.elapsed() >= 50) {
            DLGSETINT(dlg, ID_PROGRESS, n);
            QCoreApplication::processEvents();
            shown.restart();
        }
        return !stopAsked;
    });
    setBusy(dlg, false, 0);
    if (!done) {
        // Stopped: nothing was changed; the choice of files is still there.
        DLGSETLOG(dlg, ID_FILES, true, DLG_FOCUS);
        return;
    }

    if (dlg.window) dlg.window->hide();
    if (showResults(dlg)) SAVERATINGUPDATE();
    RESETRATINGUPDATE();
    DLGSETRETURN(dlg, 1);
    DLGEXIT(dlg);
}

void ONUPDATERATINGCANCEL(DialogRecord& dlg, int, int) {
    if (summing) {
        stopAsked = true;
        return;
    }
    DLGSETRETURN(dlg, ID_CANCEL);
    DLGEXIT(dlg);
}

void updateRatingInit(DialogRecord& dlg, int, int type) {
    if (type != DLG_CB_INIT) return;
    DLGSETLOG(dlg, ID_PROGRESS, false, DLG_VISIBLE);
    fillFileList(dlg);
    DLGSETLOG(dlg, ID_FILES, true, DLG_FOCUS);
}

// The numbering of the rating list: shared places when ordered by rating.
int listNumbering(DialogRecord& dlg) {
    bool byRating = false;
    return DLGGETLOG(dlg, ID_SORT_RATING, byRating) && byRating ? 2 : 1;
}


} // namespace

void ONUPDATERATING() {
    DialogRecord dlg;
    if (!PERIODDIALOGSREADY() || !DLGINIT(108, dlg)) return;
    DLGSETSUB(dlg, 108, updateRatingInit);
    DLGSETSUB(dlg, ID_BROWSE, ONBROWSE);
    DLGSETSUB(dlg, ID_OK, ONUPDATERATINGOK);
    DLGSETSUB(dlg, ID_CANCEL, ONUPDATERATINGCANCEL);
    DLGSETHELP(dlg, [](DialogRecord&, int) { ONDIALOGHELP(108); });
    DLGMODAL(dlg);
    DLGUNINIT(dlg);
    summing = false;
    RESETRATINGUPDATE();
}

namespace {

// The statistics once the open tournament's changes are answered for.
bool runAnswered(const std::string& tournamentFolder, const std::string& snapshotFile,
                 const std::string& statFile, int* read) {
    const bool reopen = TournamentOpen && HasFileName;
    const std::string previous = TournamentFile;
    if (TournamentOpen) {
        HasFileName = false;
        CLOSETOURNAMENT();
    }
    const bool written = STATISTICS(tournamentFolder, snapshotFile, statFile, read);
    for (int part = 0; part < 3; ++part)
        SETSTATUS(part, "");
    if (reopen) OPENNTRFILE(previous);
    return written;
}

} // namespace

bool RUNSTATISTICS(const std::string& tournamentFolder, const std::string& snapshotFile,
                   const std::string& statFile, int* read) {
    // The statistics read every file as the open tournament: the one open now
    // is offered for saving first, and opened again afterwards.
    if (!QUERYSAVE()) return false;
    return runAnswered(tournamentFolder, snapshotFile, statFile, read);
}

void ONSTATISTICS() {
    std::string folder = StartFolder;
    if (!GwBrowse(MainWindow, "Select the Folder of the Season's Tournaments", folder)) return;
    std::string snapshot = folder;
    if (!GwGetOpenFile(MainWindow, {{"Players register (*.opd)", "*.opd"}}, "opd", snapshot,
                       "Players Register at the Start of the Season"))
        return;
    const std::string statFile = QDir(QString::fromStdString(folder)).filePath("Stat.txt").toStdString();
    int read = 0;
    if (RUNSTATISTICS(folder, snapshot, statFile, &read))
        SHOWMESSAGE("The statistics of " + std::to_string(read) +
                        (read == 1 ? " tournament" : " tournaments") + " and " +
                        std::to_string(RegisteredCount) +
                        (RegisteredCount == 1 ? " player" : " players") + " are in " + statFile + ".",
                    "Statistics", MSG_OK_INFO);
}

bool ONHELPENGLISHSTATISTICS() {
    const QDir start(QString::fromStdString(StartFolder));
    const QString folder = start.filePath("2002"), snapshot = start.filePath("Players20020102.opd"),
                  stat = start.filePath("Stat.txt");
    // Without the season's folder and its snapshot there is nothing to count.
    if (!QFileInfo(folder).isDir() || !QFileInfo(snapshot).isFile()) return true;
    // The statistics of an earlier run are replaced only when the user says so.
    if (QFileInfo::exists(stat) &&
        SHOWMESSAGE("The statistics of the season are already in " + stat.toStdString() +
                        ".\nDo you want to replace them with the statistics of folder " +
                        folder.toStdString() + "?",
                    "Question", MSG_YESNO_QUESTION) != ANSWER_YES)
        return true;
    if (!QUERYSAVE()) return false;
    runAnswered(folder.toStdString(), snapshot.toStdString(), stat.toStdString(), nullptr);
    return true;
}

void ONEXPORTHTMLLIST(DialogRecord& dlg, int, int) {
    if (listExportFolder.empty()) listExportFolder = StartFolder;
    std::string name = QDir(QString::fromStdString(listExportFolder)).filePath("Rating").toStdString();
    if (!GwGetSaveFile(dlg.window, {{"HTML files (*.htm)", "*.htm"}}, "htm", name, "Export HTML"))
        return;
    listExportFolder = QFileInfo(QString::fromStdString(name)).absolutePath().toStdString();
    WRITEEXPORT(name, PLAYERLISTHTML(listNumbering(dlg)));
}

bool PRINTPLAYERLIST(QWidget* owner, int numbering) {
    WARNHEADERPICTURE();
    GwPrintJob job;
    if (!STARTPRINT(job, "ORLA player list", "", owner)) return false;
    // Under the print header, as every printed report.
    Printer.y = PRINTTITLE("REJTING LISTA") + Printer.lineHeight;
    OUTPUTPLAYERLIST(OUTPUT_PRINTER, numbering);
    const std::string pdf = job.pdfFile;
    std::string reason;
    const bool ok = ENDPRINT(job, &reason);
    if (!ok)
        SHOWMESSAGE(pdf.empty() ? "The rating list could not be printed."
                                : "The file " + pdf + " could not be written: " + reason + ".",
                    "Error");
    return ok;
}

void ONPRINTLIST(DialogRecord& dlg, int, int) {
    PRINTPLAYERLIST(dlg.window, listNumbering(dlg));
}
