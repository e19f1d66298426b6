// The File menu's report commands: the text, HTML and PBN exports of the open
// tournament and printing the view shown.
#include "shell/reportcmds.h"

#include "core/hooks.h"
#include "core/programfolder.h"
#include "core/safefile.h"
#include "core/tournament.h"
#include "hands/analysis.h"
#include "hands/hands.h"
#include "printing/printing.h"
#include "reports/reports.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/mainwindow.h"
#include "shell/recalc.h"
#include "shell/settings.h"
#include "shell/shell.h"
#include "winsupport/gwfile.h"
#include "winsupport/gwgdi.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

std::string TextExportFolder;
std::string HtmlExportFolder;
std::string PbnExportFolder;
std::string HandsFolder;

void RESETREPORTCOMMANDS() {
    TextExportFolder.clear();
    HtmlExportFolder.clear();
    PbnExportFolder.clear();
    HandsFolder.clear();
    RESETREPORTS();
}

namespace {

// Asks for the file of an export, offering the tournament's name in `folder`
// (StartFolder the first time), and remembers the folder chosen. False when
// cancelled.
bool askExportFile(std::string& folder, const char* title, const GwFilter& filter, const char* ext,
                   std::string& name) {
    if (folder.empty()) folder = StartFolder;
    name = (QString::fromStdString(folder) + "/" + QString::fromStdString(DEFAULTEXPORTNAME()) +
            "." + ext)
               .toStdString();
    if (!GwGetSaveFile(MainWindow, {filter}, ext, name, title)) return false;
    folder = QFileInfo(QString::fromStdString(name)).absolutePath().toStdString();
    return true;
}

void exportWith(std::string& folder, const char* title, const GwFilter& filter, const char* ext,
                std::string (*compose)()) {
    // What leaves the program shows the figures of what was typed.
    if (!TournamentOpen || !RECALCIFCHANGED()) return;
    std::string name;
    if (!askExportFile(folder, title, filter, ext, name)) return;
    if (WRITEEXPORT(name, compose())) SETSTATUS(2, "Written: " + name);
}

} // namespace

void ONEXPORTTEXT() {
    exportWith(TextExportFolder, "Export Text File", {"Text files (*.txt)", "*.txt"}, "txt",
               TEXTEXPORT);
}

void ONEXPORTHTML() {
    exportWith(HtmlExportFolder, "Export HTML", {"HTML files (*.htm)", "*.htm"}, "htm",
               HTMLEXPORT);
}

void ONEXPORTPBN() {
    exportWith(PbnExportFolder, "Export results (PBN)", {"PBN files (*.pbn)", "*.pbn"}, "pbn",
               PBNEXPORT);
}

void ONIMPORTHANDS() {
    if (!TournamentOpen || !COMMITENTRY()) return;
    if (HandsFolder.empty()) HandsFolder = StartFolder;
    std::string name = HandsFolder + "/";
    if (!GwGetOpenFile(MainWindow, {{"PBN files (*.pbn)", "*.pbn"}}, "pbn", name,
                       "Import hands (PBN)"))
        return;
    HandsFolder = QFileInfo(QString::fromStdString(name)).absolutePath().toStdString();
    QFile file(QString::fromStdString(name));
    // A hand record of a few hundred boards is a few hundred kilobytes.
    if (!file.open(QIODevice::ReadOnly) || file.size() > (64 << 20)) {
        SHOWMESSAGE("The file " + name + " could not be read" +
                        (file.isOpen() ? ": it is too large to be a hand record." : ": " + file.errorString().toStdString() + "."),
                    "Error");
        return;
    }
    const QByteArray bytes = file.readAll();
    const std::string text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    int count = 0;
    int leftOut = 0;
    std::string error;
    if (!IMPORTPBNHANDS(text, count, leftOut, error)) {
        SHOWMESSAGE(name + "\n" + error + "\nNo deal was changed.", "Error");
        return;
    }
    TOURNAMENTMENUS(true, ISTRUE(HasHands));
    REDRAW();
    const std::string leftOutText = PBNLEFTOUTTEXT(leftOut);
    SETSTATUS(2, std::to_string(count) + (count == 1 ? " deal" : " deals") + " read from " +
                     QFileInfo(QString::fromStdString(name)).fileName().toStdString() +
                     (leftOutText.empty() ? "" : "; " + leftOutText));
}

namespace {
std::string handsExport() {
    int count = 0;
    return PBNHANDSEXPORT(count);
}
} // namespace

void ONEXPORTHANDS() {
    if (!TournamentOpen || !ISTRUE(HasHands)) return;
    exportWith(HandsFolder, "Export hands (PBN)", {"PBN files (*.pbn)", "*.pbn"}, "pbn",
               handsExport);
}

void APPLYPAGESETUP() {
    PrintSetup.headerType = HeaderType;
    PrintSetup.header = EMFHeader;
    auto font = [](const LogFont& f) {
        return PrintFont{LOGFONTFACE(f), std::abs(f.lfHeight), f.lfWeight, f.lfItalic != 0};
    };
    PrintSetup.headerFont = font(HeaderFont);
    PrintSetup.fixedFont = font(FixedFont);
}

void WARNHEADERPICTURE() {
    APPLYPAGESETUP();
    std::string file = PrintSetup.header;
    while (!file.empty() && (file.back() == ' ' || file.back() == '\0')) file.pop_back();
    if (PrintSetup.headerType != 2 || file.empty()) return;
    int width = 0, height = 0;
    std::string reason;
    if (GwPictureSize(file, width, height, reason)) return;
    SHOWMESSAGE("The picture of the print header, " + file + ", cannot be read" +
                    (reason.empty() ? std::string(".") : ": " + reason + ".") +
                    "\nThe pages are printed without it; Page Setup chooses another.",
                "Print", MSG_OK_WARNING);
}

void WRITEERRORLOG(int code) {
    const std::string file = PROGRAMFILE("Error.log");
    if (file.empty()) return;
    const std::string line = std::to_string(code) + "\n";
    std::string reason;
    SAFEWRITEFILE(file, line.data(), line.size(), reason);
}

namespace {

// Analyses the complete deals that the print of the view shown holds and that
// are not known yet, on a worker thread. For the first half second the program
// waits without taking input; a longer analysis then shows an application-modal
// progress dialog. False when the user cancels it. When the solver fails, says
// so: the deals then print without their tables.
bool analyseForPrint() {
    std::vector<DdJob> jobs = PRINTANALYSISJOBS(ViewMode, CURRENTBOARD());
    if (jobs.empty()) return true;
    const int count = static_cast<int>(jobs.size());
    std::atomic<int> done{0}, total{count};
    std::atomic<bool> stop{false}, finished{false};
    bool solved = true;
    std::string error;
    // The worker touches only `jobs`, `error` and the atomics, and is joined
    // before any of them goes out of scope.
    std::thread worker([&] {
        solved = ANALYSEDEALS(
            jobs,
            [&](int d, int t) {
                done = d;
                total = t;
                return !stop.load();
            },
            error);
        finished = true;
    });
    QElapsedTimer clock;
    clock.start();
    {
        QEventLoop wait;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (finished || clock.elapsed() >= 500) wait.quit();
        });
        poll.start(10);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    bool cancelled = false;
    if (!finished) {
        QProgressDialog progress(count == 1 ? "Analysing the deal double dummy..."
                                            : "Analysing the deals double dummy...",
                                 "Cancel", 0, count, MainWindow);
        progress.setWindowTitle("Print");
        progress.setWindowModality(Qt::ApplicationModal);
        progress.setAutoReset(false);
        progress.setAutoClose(false);
        progress.setMinimumDuration(0);
        progress.setValue(done);
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (progress.wasCanceled()) stop = true;
            if (finished) {
                loop.quit();
                return;
            }
            progress.setMaximum(std::max(1, total.load()));
            progress.setValue(std::min(done.load(), progress.maximum() - 1));
        });
        poll.start(20);
        loop.exec();
        cancelled = progress.wasCanceled();
    }
    worker.join();
    if (cancelled) return false;
    if (!solved)
        SHOWMESSAGE(error + "\nThe deals are printed without their double-dummy tables.", "Print");
    return true;
}

} // namespace

bool PRINTSHOWN(const std::string& pdfFile) {
    if (!TournamentOpen || !RECALCIFCHANGED()) return false;
    WARNHEADERPICTURE();
    if (!analyseForPrint()) {
        SETSTATUS(2, "Printing cancelled.");
        return false;
    }
    GwPrintJob job;
    if (!STARTPRINT(job, PRINTDOCNAME(ViewMode), pdfFile, MainWindow)) {
        WRITEERRORLOG(0);
        return false;
    }
    // A PDF chosen over the tournament's own file (or the register) is refused
    // before anything is drawn.
    if (!job.pdfFile.empty() && !EXPORTTARGETOK(job.pdfFile)) {
        job.pdfFile.clear();
        ENDPRINT(job);
        return false;
    }
    // Every pair's card of a big tournament takes a while: shown and stoppable.
    std::unique_ptr<QProgressDialog> progress;
    std::function<bool(int, int)> tell;
    if (ViewMode == 4 && PersonalPair == 0) {
        progress = std::make_unique<QProgressDialog>("Printing the score cards...", "Cancel", 0,
                                                     NumPairs, MainWindow);
        progress->setWindowTitle("Print");
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(500);
        tell = [&](int done, int total) {
            progress->setMaximum(total);
            progress->setValue(done);
            return !progress->wasCanceled();
        };
    }
    const bool whole = PRINTVIEW(job, ViewMode, CURRENTBOARD(), PersonalPair, tell);
    const std::string pdf = job.pdfFile;
    std::string reason;
    const bool ok = ENDPRINT(job, &reason);
    if (!ok) {
        WRITEERRORLOG(1);
        SHOWMESSAGE(pdf.empty() ? "The document could not be printed."
                                : "The file " + pdf + " could not be written: " + reason + ".",
                    "Print");
        return false;
    }
    SETSTATUS(2, whole ? "Printed: " + PRINTDOCNAME(ViewMode)
                       : "Printing stopped: the cards printed so far were sent.");
    return whole;
}

void ONPRINTPLACEMENT() {
    PRINTSHOWN("");
}
