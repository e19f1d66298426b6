// The Score at the Tables window. The server, the tables and the pages live in
// src/server; this window only starts and stops them, prints the cards and shows
// what the tables do. It keeps the shape of the tournament scoring started on, so
// that closing it or opening another stops the server before any table could
// write into the wrong tournament.
#include "shell/scoringdlg.h"

#include "core/hooks.h"
#include "core/tournament.h"
#include "printing/printing.h"
#include "printing/tablecards.h"
#include "reports/reportlines.h"
#include "core/cp1250.h"
#include "server/http.h"
#include "server/qtserver.h"
#include "server/tables.h"
#include "shell/help.h"
#include "shell/lifecycle.h"
#include "shell/mainwindow.h"
#include "shell/pagesetup.h"
#include "shell/reportcmds.h"
#include "shell/shell.h"
#include "winsupport/gwlogm.h"

#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

bool SCORINGDLGREADY();

namespace {

DialogRecord scoringDlg;
QPointer<QTimer> Ticker;

// What scoring started on: the file and the shape of the tournament.
struct Shape {
    std::string file;
    int movement = 0, pairs = 0, boards = 0, rounds = 0, perRound = 0;
    bool operator==(const Shape&) const = default;
};
Shape ScoringShape;
bool TablesStarted = false; // Tables belong to the open tournament
bool TablesLetGo = false;   // Stopped: another program may take them meanwhile
int ServedPort = 0;

Shape currentShape() {
    return {TournamentFile, MovementType, NumPairs, NumBoards, NumRounds, BoardsPerRound};
}

// Seconds of the clock the server stamps its contacts with.
double secondsNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string chosenAddress() {
    std::string address;
    DLGGETCHAR(scoringDlg, IDC_SCORE_ADDRESS, address);
    return address.empty() ? std::string("127.0.0.1") : address;
}

int chosenPort() {
    int port = DefaultTablePort;
    DLGGETINT(scoringDlg, IDC_SCORE_PORT, port);
    return port;
}

void say(const std::string& text) {
    if (scoringDlg.window) DLGSETCHAR(scoringDlg, IDC_SCORE_STATE, text);
}

// Sets a text only when it differs, so that the director's selection in the
// field (to copy the address) survives the timer's visits.
void setText(int id, const std::string& text) {
    std::string shown;
    DLGGETCHAR(scoringDlg, id, shown);
    if (shown != text) DLGSETCHAR(scoringDlg, id, text);
}

// The addresses of the computer, the loopback one last (this computer only).
std::vector<std::string> addresses() {
    std::vector<std::string> list = LOCALADDRESSES();
    list.push_back("127.0.0.1");
    return list;
}

void tablesLog(const std::string& text) {
    say(text);
    SETSTATUS(2, text);
}

// What the tables said while they started (a journal set aside, a result of the
// director's that stays): the director reads it in one message once they have.
std::vector<std::string> StartNotes;
void noteAtStart(const std::string& text) { StartNotes.push_back(text); }

void tablesChanged() {
    REDRAW();
    REFRESHSCORINGWINDOW();
}

// Forgets the tables of the tournament scoring started on.
void forgetTables() {
    STOPSERVER();
    RESETTABLES();
    TablesStarted = false;
    TablesLetGo = false;
    ServedPort = 0;
}

// The tournament must have a file: Save As is offered when it has none.
bool haveFile() {
    if (HasFileName && !TournamentFile.empty()) return true;
    const MessageAnswer answer =
        SHOWMESSAGE("The tournament must be saved in a file before scoring at the tables "
                    "starts, so that no result entered at a table can be lost.\nSave it now?",
                    ScoringCaption, MSG_YESNO_QUESTION);
    return answer == ANSWER_YES && ONFILESAVEAS() && HasFileName;
}

// While nothing is served the window does not hold the file's tables.
void letTablesGo() {
    if (!TablesStarted || SERVERRUNNING()) return;
    RELEASETABLES();
    TablesLetGo = true;
}

// Starts the tables of the open tournament (once per tournament).
bool startTables() {
    if (!TournamentOpen) return false;
    if (TablesStarted && !TablesLetGo && ScoringShape == currentShape()) return true;
    if (TablesStarted) forgetTables();
    if (!haveFile()) {
        say("Scoring has not started: the tournament has no file.");
        return false;
    }
    std::string reason;
    StartNotes.clear();
    TablesLog = noteAtStart;
    if (!STARTTABLES(reason)) {
        SHOWMESSAGE(reason, ScoringCaption);
        say(reason);
        RESETTABLES();
        return false;
    }
    TablesLog = tablesLog;
    TablesChanged = tablesChanged;
    bool show = false;
    DLGGETLOG(scoringDlg, IDC_SCORE_SHOWRESULTS, show);
    ShowResultsWhilePlaying = show;
    DLGGETLOG(scoringDlg, IDC_SCORE_SHOWTRAVELLERS, show);
    ShowTravellers = show;
    TablesStarted = true;
    ScoringShape = currentShape();
    REDRAW(); // results the journal put back
    if (!StartNotes.empty()) {
        std::string notes;
        for (const std::string& note : StartNotes) notes += (notes.empty() ? "" : "\n") + note;
        tablesLog(StartNotes.back());
        StartNotes.clear();
        SHOWMESSAGE(notes, ScoringCaption, MSG_OK_WARNING);
    }
    return true;
}

std::string lastContact(double when, double now) {
    if (when <= 0) return "never";
    const long seconds = std::lround(std::max(0.0, now - when));
    if (seconds < 60) return std::to_string(seconds) + " s ago";
    if (seconds < 3600) return std::to_string(seconds / 60) + " min ago";
    return std::to_string(seconds / 3600) + " h ago";
}

std::string row(const std::string& table, const std::string& round, const std::string& entered,
                const std::string& contact) {
    char line[160];
    std::snprintf(line, sizeof line, "%-7s %-9s %-16s %s", table.c_str(), round.c_str(),
                  entered.c_str(), contact.c_str());
    return line;
}

void onStart(DialogRecord&, int, int) { ONSTARTSCORING(); }
void onStop(DialogRecord&, int, int) { ONSTOPSCORING(); }
void onCards(DialogRecord&, int, int) { ONPRINTTABLECARDS(); }
void onClose(DialogRecord& dlg, int, int) { DLGMODELESS(dlg, DLG_HIDE); }
void onShowResults(DialogRecord& dlg, int, int) {
    bool show = false;
    DLGGETLOG(dlg, IDC_SCORE_SHOWRESULTS, show);
    ShowResultsWhilePlaying = show;
}
void onShowTravellers(DialogRecord& dlg, int, int) {
    bool show = false;
    DLGGETLOG(dlg, IDC_SCORE_SHOWTRAVELLERS, show);
    ShowTravellers = show;
}
void onAddress(DialogRecord&, int, int) { REFRESHSCORINGWINDOW(); }

} // namespace

DialogRecord* SCORINGDIALOG() {
    return scoringDlg.window ? &scoringDlg : nullptr;
}

void ONSCORETABLES() {
    if (!TournamentOpen) return;
    if (!scoringDlg.window) {
        if (!SCORINGDLGREADY() || !DLGINIT(124, scoringDlg)) return;
        DLGSETSUB(scoringDlg, IDC_SCORE_START, onStart);
        DLGSETSUB(scoringDlg, IDC_SCORE_STOP, onStop);
        DLGSETSUB(scoringDlg, IDC_SCORE_CARDS, onCards);
        DLGSETSUB(scoringDlg, IDC_SCORE_CLOSE, onClose);
        DLGSETSUB(scoringDlg, IDC_SCORE_SHOWRESULTS, onShowResults);
        DLGSETSUB(scoringDlg, IDC_SCORE_SHOWTRAVELLERS, onShowTravellers);
        DLGSETSUB(scoringDlg, IDC_SCORE_ADDRESS, onAddress);
        CHANGELISTBOXITEMS(scoringDlg, IDC_SCORE_ADDRESS, addresses());
        DLGSETINT(scoringDlg, IDC_SCORE_ADDRESS, 1);
        if (!DLGMODELESS(scoringDlg, DLG_SHOW, MainWindow)) return;
        const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        for (int id : {IDC_SCORE_TABLES, IDC_SCORE_HEADINGS})
            if (auto* w = scoringDlg.window->findChild<QWidget*>(QString::number(id)))
                w->setFont(fixed);
        Ticker = new QTimer(scoringDlg.window);
        Ticker->setInterval(1000);
        QObject::connect(Ticker, &QTimer::timeout, [] { REFRESHSCORINGWINDOW(); });
        Ticker->start();
    } else {
        // The computer may have joined another network since (while serving,
        // the address it listens on stays chosen).
        std::string chosen;
        DLGGETCHAR(scoringDlg, IDC_SCORE_ADDRESS, chosen);
        if (!SERVERRUNNING()) {
            const std::vector<std::string> list = addresses();
            CHANGELISTBOXITEMS(scoringDlg, IDC_SCORE_ADDRESS, list);
            int pick = 1;
            for (std::size_t i = 0; i < list.size(); ++i)
                if (list[i] == chosen) pick = static_cast<int>(i) + 1;
            DLGSETINT(scoringDlg, IDC_SCORE_ADDRESS, pick);
        }
        DLGMODELESS(scoringDlg, DLG_SHOW, MainWindow);
    }
    DLGSETLOG(scoringDlg, IDC_SCORE_SHOWRESULTS, ShowResultsWhilePlaying);
    DLGSETLOG(scoringDlg, IDC_SCORE_SHOWTRAVELLERS, ShowTravellers);
    REFRESHSCORINGWINDOW();
    scoringDlg.window->raise();
    scoringDlg.window->activateWindow();
}

bool ONSTARTSCORING() {
    if (!scoringDlg.window || !startTables()) return false;
    const int port = chosenPort();
    std::string reason;
    PageLanguage = HelpLanguageChosen == HELP_SRPSKI ? "sr" : "en";
    // The server listens on the chosen address only: the one on the cards
    // (127.0.0.1: this computer alone).
    if (!STARTSERVER(chosenAddress(), port, reason)) {
        ServedPort = 0;
        letTablesGo();
        SHOWMESSAGE(reason + "\nChoose another port, or close the program that uses this one.",
                    ScoringCaption);
        say(reason);
        REFRESHSCORINGWINDOW();
        return false;
    }
    ServedPort = port;
    say(""); // a refusal of an earlier Start gives way to "Serving on port ..."
    REFRESHSCORINGWINDOW();
    return true;
}

// Stopped, the window lets the file's tables go, so that another program
// (orla-cli serve) may score at them; it keeps them to show and to journal the
// director's typing, and Start takes them back from the journal, same keys.
void ONSTOPSCORING() {
    STOPSERVER();
    ServedPort = 0;
    letTablesGo();
    REFRESHSCORINGWINDOW();
}

bool ONPRINTTABLECARDS(const std::string& pdfFile) {
    if (!scoringDlg.window || !startTables()) return false;
    const std::string address = chosenAddress();
    const int port = ServedPort > 0 ? ServedPort : chosenPort();
    std::vector<TableCard> cards;
    for (const TableState& t : Tables) cards.push_back({t.table, TABLEADDRESS(address, port, t.table)});
    letTablesGo(); // cards printed before the evening leave the file to orla-cli serve
    APPLYPAGESETUP();
    GwPrintJob job;
    if (!STARTPRINT(job, DocTableCards, pdfFile, scoringDlg.window)) return false;
    const bool drawn = PRINTTABLECARDS(job, CP1250TOUTF8(TOURNAMENTNAMETEXT()), cards,
                                       HelpLanguageChosen == HELP_SRPSKI ? "sr" : "en");
    if (!ENDPRINT(job) || !drawn) {
        SHOWMESSAGE("The table cards could not be printed.", ScoringCaption);
        return false;
    }
    say("Printed: " + std::to_string(cards.size()) + " table cards for " + address + ":" +
        std::to_string(port) + ".");
    return true;
}

void REFRESHSCORINGWINDOW() {
    if (!scoringDlg.window) return;
    const bool running = SERVERRUNNING() && ServedPort > 0;
    DLGSETLOG(scoringDlg, IDC_SCORE_START, !running, DLG_ENABLED);
    DLGSETLOG(scoringDlg, IDC_SCORE_STOP, running, DLG_ENABLED);
    DLGSETLOG(scoringDlg, IDC_SCORE_PORT, !running, DLG_ENABLED);
    DLGSETLOG(scoringDlg, IDC_SCORE_ADDRESS, !running, DLG_ENABLED);
    const std::string address = chosenAddress();
    if (running) {
        setText(IDC_SCORE_DIRECTOR, "http://" + address + ":" + std::to_string(ServedPort) +
                                        "/api/director?k=" + DirectorToken);
        std::string state;
        DLGGETCHAR(scoringDlg, IDC_SCORE_STATE, state);
        if (state.rfind("Serving", 0) == 0 || state == "Not serving." || state.empty() ||
            state.rfind("Stopped", 0) == 0)
            say("Serving on port " + std::to_string(ServedPort) + ". Ranking: http://" + address +
                ":" + std::to_string(ServedPort) + "/ranking");
    } else {
        setText(IDC_SCORE_DIRECTOR, "");
        std::string state;
        DLGGETCHAR(scoringDlg, IDC_SCORE_STATE, state);
        if (state.rfind("Serving", 0) == 0) say("Stopped: the tables cannot reach the server.");
    }
    setText(IDC_SCORE_HEADINGS, row("Table", "Round", "Boards entered", "Last contact"));
    std::vector<std::string> rows;
    const double now = secondsNow();
    for (const TableState& t : Tables) {
        const Seat* seat = CURRENTSEAT(t);
        std::string round = t.round == 0 ? "done" : std::to_string(t.round);
        if (seat && t.round > 0)
            round += " (" + std::to_string(seat->ns) + "-" + std::to_string(seat->ew) + ")";
        else if (!t.seated)
            round = "not seated";
        rows.push_back(row(std::to_string(t.table), round, std::to_string(t.accepted.size()),
                           lastContact(t.lastContact, now)));
    }
    // Only a changed list is put in again, so that a row the director selected
    // stays selected between the timer's visits.
    auto* list = scoringDlg.window->findChild<QListWidget*>(QString::number(IDC_SCORE_TABLES));
    bool same = list && list->count() == static_cast<int>(rows.size());
    for (int i = 0; same && i < list->count(); ++i)
        same = list->item(i)->text().toStdString() == rows[static_cast<std::size_t>(i)];
    if (same) return;
    int selected = 0;
    DLGGETINT(scoringDlg, IDC_SCORE_TABLES, selected);
    CHANGELISTBOXITEMS(scoringDlg, IDC_SCORE_TABLES, rows);
    if (selected > 0 && selected <= static_cast<int>(rows.size()))
        DLGSETINT(scoringDlg, IDC_SCORE_TABLES, selected);
}

void SCORINGTOURNAMENTCHANGED(bool open) {
    if (!TablesStarted && !SERVERRUNNING()) {
        if (!open && scoringDlg.window) DLGMODELESS(scoringDlg, DLG_HIDE);
        return;
    }
    if (open && ScoringShape == currentShape()) return;
    forgetTables();
    SETSTATUS(2, "Scoring at the tables stopped: the tournament it served was closed or changed.");
    if (scoringDlg.window) {
        say("Stopped: the tournament scoring served was closed or changed.");
        if (!open) DLGMODELESS(scoringDlg, DLG_HIDE);
        REFRESHSCORINGWINDOW();
    }
}

void CLOSESCORINGWINDOW() {
    forgetTables();
    if (Ticker) Ticker->stop();
    DLGUNINIT(scoringDlg);
}
