// The Hand Diagram dialog. The suit fields take only cards: every key goes through
// the key filter of the card logic, which turns the number-pad keys into ranks and
// refuses, with a beep and a word in the status bar, a card another hand holds or a
// 14th card. Each change of a field is stored in HandCards at once, so the deck,
// "Complete" and the saved tournament always follow what is on screen.
//
// A complete deal shows its double-dummy table and par. The solver runs on a
// worker thread, one call at a time: the shown deal when nothing knows it yet, or
// every deal of the set after "Analyse all". Results reach the dialog through the
// event loop and are kept by deal, vulnerability and dealer, so a result only
// ever shows beside the deal it was worked out for, and typing never waits for it.
#include "shell/handdlg.h"

#include "core/hooks.h"
#include "core/tournament.h"
#include "hands/analysis.h"
#include "hands/hands.h"
#include "shell/commands.h"
#include "shell/help.h"
#include "winsupport/gwlogm.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <map>
#include <memory>
#include <thread>

bool HANDDLGREADY();

int HandDiagramBeeps = 0;
void (*HandAnalysisStep)(int done, int total) = nullptr;

namespace {

enum {
    ID_OK = 1,
    ID_HIDE = 2,
    ID_COMPLETE = 3,
    ID_FIRSTDECK = 1016,
    ID_PIN = 1029,
    ID_BOARD = 1030,
    ID_FIRSTCARDBUTTON = 1032, // "A" .. "2": 1032 .. 1044
    ID_BOARDINFO = 1045,
    ID_DOUBLEDUMMY = 1046,
    ID_ANALYSEALL = 1047,
    ID_PROGRESS = 1048,
    ID_CANCEL = 1049,
};
const char* const CardButtonLetters = "AKQJT98765432";
const char* const HandNames[] = {"", "North", "West", "East", "South"};
const char* const SuitNames[] = {"", "clubs", "diamonds", "hearts", "spades"};
const char* const RankNames[] = {"",     "two",  "three", "four",  "five",
                                 "six",  "seven", "eight", "nine", "ten",
                                 "jack", "queen", "king",  "ace"};

DialogRecord handDlg;
int focusedSuitField = FirstSuitField; // the suit field last focused

int shownBoard(DialogRecord& dlg) {
    int b = 1;
    DLGGETINT(dlg, ID_BOARD, b);
    return b < 1 ? 1 : b > NumBoards ? NumBoards : b;
}

// ---- Double dummy -----------------------------------------------------------

const char* const IncompleteText = "Double dummy: when all 52 cards are dealt";
const char* const WaitingText = "Double dummy: analysing...";

// What a result belongs to: the cards, the vulnerability and the dealer.
std::string dealKey(const DdJob& job) {
    std::string key(reinterpret_cast<const char*>(job.cards.data()), job.cards.size());
    key += static_cast<char>('0' + job.zone);
    key += static_cast<char>('0' + job.dealer);
    return key;
}

// The results the dialog has received, and the deals the solver failed on with
// its message; read and written on the GUI thread only, so that showing a board
// never waits for the solver.
std::map<std::string, DoubleDummy> Known;
std::map<std::string, std::string> Failed;

// One run of the solver: the worker's own copies of the deals, so that it never
// reads the tournament, which may change or close while it works.
struct Analysis {
    std::vector<DdJob> jobs;
    bool all = false; // "Analyse all", with its progress bar and Cancel
    std::atomic<bool> cancel{false};
    std::thread worker;
};
std::unique_ptr<Analysis> Running; // the run at work, GUI thread only
bool AllWanted = false;            // "Analyse all" waits for the run at work
// The dialog's own line for the reason a card or "Complete" is refused: the
// dialog may lie over the main window's status bar, which says it too.
QPointer<QLabel> ReasonLine;

void sayReason(const std::string& why) {
    SETSTATUS(2, why);
    if (ReasonLine) ReasonLine->setText(QString::fromStdString(why));
}

QPointer<QObject> Mailbox;         // brings the worker's news to the GUI thread

void showDoubleDummy(DialogRecord& dlg, int board);
void startAll(DialogRecord& dlg);

// The trick table and the par as the dialog shows them: a row for each declarer,
// N, S, E, W, a column for each strain, no trump and the suits from spades down.
std::string DDTABLEHTML(const DoubleDummy& dd) {
    static const int rows[] = {HAND_NORTH, HAND_SOUTH, HAND_EAST, HAND_WEST};
    static const char* const rowNames[] = {"N", "S", "E", "W"};
    static const int strains[] = {STRAIN_NT, 4, 3, 2, 1};
    std::string html = "<b>Double dummy</b><table cellspacing=\"0\" cellpadding=\"1\"><tr><td></td>"
                       "<th align=\"right\">NT</th><th align=\"right\">&#9824;</th>"
                       "<th align=\"right\"><font color=\"#c00000\">&#9829;</font></th>"
                       "<th align=\"right\"><font color=\"#c00000\">&#9830;</font></th>"
                       "<th align=\"right\">&#9827;</th></tr>";
    for (int r = 0; r < 4; ++r) {
        html += std::string("<tr><th align=\"left\">") + rowNames[r] + "</th>";
        for (const int s : strains)
            html += "<td align=\"right\">&nbsp;&nbsp;" + std::to_string(dd.tricks[rows[r]][s]) +
                    "</td>";
        html += "</tr>";
    }
    return html + "</table>" + QString::fromStdString(PARTEXT(dd)).toHtmlEscaped().toStdString();
}

// The worker: solves the run's deals and sends each result, as it comes, to the
// GUI thread. It touches neither the tournament nor the dialog.
void onResults(const std::vector<std::pair<std::string, DoubleDummy>>& found, int done, int total);
void onFinished(bool ok, const std::string& error);

void analyse(Analysis* run, QObject* mailbox) {
    std::vector<bool> sent(run->jobs.size(), false);
    const auto send = [&](int done, int total) {
        std::vector<std::pair<std::string, DoubleDummy>> found;
        for (std::size_t i = 0; i < run->jobs.size(); ++i)
            if (!sent[i] && run->jobs[i].result.valid) {
                sent[i] = true;
                found.emplace_back(dealKey(run->jobs[i]), run->jobs[i].result);
            }
        QMetaObject::invokeMethod(
            mailbox, [found = std::move(found), done, total] { onResults(found, done, total); },
            Qt::QueuedConnection);
    };
    std::string error;
    const bool ok = ANALYSEDEALS(
        run->jobs,
        [&](int done, int total) {
            if (HandAnalysisStep) HandAnalysisStep(done, total);
            send(done, total);
            return !run->cancel.load();
        },
        error);
    QMetaObject::invokeMethod(
        mailbox, [ok, error] { onFinished(ok, error); }, Qt::QueuedConnection);
}

// Starts the worker on `jobs`; false, with a word in the status bar, when the
// system gives no thread.
bool startAnalysis(std::vector<DdJob> jobs, bool all) {
    if (!Mailbox) Mailbox = new QObject;
    auto run = std::make_unique<Analysis>();
    run->jobs = std::move(jobs);
    run->all = all;
    try {
        run->worker = std::thread(analyse, run.get(), Mailbox.data());
    } catch (const std::system_error&) {
        SETSTATUS(2, "Double dummy: no thread could be started for the solver.");
        return false;
    }
    Running = std::move(run);
    return true;
}

// The progress bar and Cancel of "Analyse all", shown while it runs; the focus
// goes with the button that has it, so Space or Enter cancels at once.
void beginProgress(DialogRecord& dlg) {
    DLGSETINT(dlg, ID_PROGRESS, 1, DLG_MAX);
    DLGSETINT(dlg, ID_PROGRESS, 0);
    DLGSETLOG(dlg, ID_PROGRESS, true, DLG_VISIBLE);
    DLGSETLOG(dlg, ID_CANCEL, true, DLG_VISIBLE);
    bool focused = false;
    DLGGETLOG(dlg, ID_ANALYSEALL, focused, DLG_FOCUS);
    if (focused) DLGSETLOG(dlg, ID_CANCEL, true, DLG_FOCUS);
    DLGSETLOG(dlg, ID_ANALYSEALL, false, DLG_ENABLED);
}

void endProgress(DialogRecord& dlg) {
    DLGSETLOG(dlg, ID_ANALYSEALL, true, DLG_ENABLED);
    bool focused = false;
    DLGGETLOG(dlg, ID_CANCEL, focused, DLG_FOCUS);
    if (focused) DLGSETLOG(dlg, ID_ANALYSEALL, true, DLG_FOCUS);
    DLGSETLOG(dlg, ID_CANCEL, false, DLG_VISIBLE);
    DLGSETLOG(dlg, ID_PROGRESS, false, DLG_VISIBLE);
}

void onResults(const std::vector<std::pair<std::string, DoubleDummy>>& found, int done, int total) {
    for (const auto& [key, dd] : found) Known[key] = dd;
    if (!handDlg.window) return;
    if (Running && Running->all && !Running->cancel) {
        DLGSETINT(handDlg, ID_PROGRESS, total > 0 ? total : 1, DLG_MAX);
        DLGSETINT(handDlg, ID_PROGRESS, total > 0 ? done : 1);
    }
    if (!found.empty()) showDoubleDummy(handDlg, shownBoard(handDlg));
}

void onFinished(bool ok, const std::string& error) {
    if (!Running) return;
    const std::unique_ptr<Analysis> run = std::move(Running);
    run->worker.join(); // it has nothing left to do but return
    int solved = 0;
    for (const DdJob& job : run->jobs) {
        if (job.result.valid)
            ++solved;
        else if (!ok)
            Failed[dealKey(job)] = error;
    }
    if (run->all) {
        const int total = static_cast<int>(run->jobs.size());
        if (!ok)
            SETSTATUS(2, error);
        else if (solved < total)
            SETSTATUS(2, "Double dummy: analysis cancelled, " + std::to_string(solved) + " of " +
                             std::to_string(total) + " deals done.");
        else
            SETSTATUS(2, "Double dummy: " + std::to_string(total) + " deals analysed.");
        if (!run->cancel && handDlg.window) endProgress(handDlg);
    }
    if (!handDlg.window) return;
    if (AllWanted) {
        AllWanted = false;
        startAll(handDlg);
    }
    showDoubleDummy(handDlg, shownBoard(handDlg));
}

// The double-dummy part of the dialog for board b: the table when the result is
// known, else a word while the worker finds it (started here when it is idle);
// for an incomplete deal a line saying when there will be one.
void showDoubleDummy(DialogRecord& dlg, int board) {
    if (!TournamentOpen || !ISTRUE(HasHands) || board < 1 || board > NumBoards ||
        !DEALCOMPLETE(board)) {
        DLGSETCHAR(dlg, ID_DOUBLEDUMMY, IncompleteText);
        return;
    }
    DdJob job = DDJOBOFBOARD(board);
    const std::string key = dealKey(job);
    auto known = Known.find(key);
    // With the worker idle the solver's own cache answers at once.
    if (known == Known.end() && !Running && DDCACHED(job)) known = Known.emplace(key, job.result).first;
    if (known != Known.end()) {
        DLGSETCHAR(dlg, ID_DOUBLEDUMMY, DDTABLEHTML(known->second));
        return;
    }
    if (const auto failed = Failed.find(key); failed != Failed.end()) {
        DLGSETCHAR(dlg, ID_DOUBLEDUMMY, failed->second);
        return;
    }
    DLGSETCHAR(dlg, ID_DOUBLEDUMMY, WaitingText);
    if (!Running && HANDDIAGRAMSHOWN()) startAnalysis({job}, false);
}

// The complete deals whose result the dialog does not have yet.
std::vector<DdJob> unknownDeals() {
    std::vector<DdJob> jobs;
    if (!TournamentOpen || !ISTRUE(HasHands)) return jobs;
    for (int b = 1; b <= NumBoards; ++b) {
        if (!DEALCOMPLETE(b)) continue;
        DdJob job = DDJOBOFBOARD(b);
        if (!Known.count(dealKey(job))) jobs.push_back(job);
    }
    return jobs;
}

void startAll(DialogRecord& dlg) {
    std::vector<DdJob> jobs = unknownDeals();
    if (jobs.empty() || !startAnalysis(std::move(jobs), true)) endProgress(dlg);
}

// "Analyse all": every complete deal of the set in the background, so that each
// board then shows its table at once. A deal the worker is solving for the
// board shown is finished first.
void ONANALYSEALL(DialogRecord& dlg, int, int) {
    if (AllWanted || (Running && Running->all && !Running->cancel)) return;
    int complete = 0;
    for (int b = 1; TournamentOpen && b <= NumBoards; ++b) complete += DEALCOMPLETE(b);
    if (complete == 0) {
        SETSTATUS(2, "Double dummy: no board has all 52 cards dealt.");
        return;
    }
    Failed.clear(); // the solver is given another chance
    beginProgress(dlg);
    if (Running)
        AllWanted = true;
    else
        startAll(dlg);
}

// Stops "Analyse all" after the group of deals in hand; what is solved is kept.
void cancelAll(DialogRecord& dlg) {
    const bool wanted = AllWanted || (Running && Running->all && !Running->cancel);
    AllWanted = false;
    if (Running && Running->all) Running->cancel = true;
    if (wanted && dlg.window) endProgress(dlg);
}

void ONCANCELANALYSIS(DialogRecord& dlg, int, int) {
    cancelAll(dlg);
}

void refuse(int field, const std::string& why) {
    ++HandDiagramBeeps;
    QApplication::beep();
    sayReason(std::string(HandNames[HANDOFFIELD(field)]) + " " + SuitNames[SUITOFFIELD(field)] +
              ": " + why);
}

// The deck, "Complete", the board's dealer and vulnerability and its double-dummy
// table; the suit fields are left as typed.
void refreshDeck(DialogRecord& dlg, int board) {
    for (int row = 1; row <= 4; ++row)
        DLGSETCHAR(dlg, ID_FIRSTDECK + row - 1, DECKTEXT(board, 5 - row));
    // "Complete" acts only when exactly one hand lacks cards.
    DLGSETLOG(dlg, ID_COMPLETE, CANCOMPLETE(board) != 0, DLG_ENABLED);
    const DdJob job = DDJOBOFBOARD(board);
    static const char* const dealers[] = {"North", "East", "South", "West"};
    static const char* const zones[] = {"none vulnerable", "N-S vulnerable", "E-W vulnerable",
                                        "both vulnerable"};
    DLGSETCHAR(dlg, ID_BOARDINFO,
               std::string("Dealer ") + dealers[job.dealer & 3] + ", " + zones[job.zone & 3]);
    showDoubleDummy(dlg, board);
}

// Shows the deal of the board in the "Board:" control.
void ONHANDBOARDCHANGE(DialogRecord& dlg, int = 0, int = 0) {
    const int board = shownBoard(dlg);
    for (int f = FirstSuitField; f <= LastSuitField; ++f)
        DLGSETCHAR(dlg, f, SUITTEXT(board, HANDOFFIELD(f), SUITOFFIELD(f)));
    refreshDeck(dlg, board);
}

// The key filter of the suit fields.
void handeditproc(DialogRecord& dlg, int id, int) {
    DlgKey& key = dlg.key;
    const QString typed = QString::fromStdString(key.text);
    // Keys that type nothing (arrows, Home, Delete, Tab, Enter) do their usual work.
    if (typed.isEmpty()) return;
    const char32_t c = typed.toUcs4().value(0);
    if (c < 0x20 || c == 0x7f) {
        if (HANDKEYFILTER(shownBoard(dlg), id, c).action != HANDKEY_PASS && c != '\r' &&
            c != '\n' && c != '\t' && c != 0x1b)
            key.refused = true;
        return;
    }
    const int board = shownBoard(dlg);
    const HandKeyDecision d = HANDKEYFILTER(board, id, c);
    switch (d.action) {
    case HANDKEY_PASS:
        return;
    case HANDKEY_DROP:
        key.refused = true;
        return;
    case HANDKEY_REFUSE: {
        key.refused = true;
        const int rank = KEYRANK(c);
        const int hand = HANDOFFIELD(id);
        if (HANDCOUNT(board, hand) >= 13)
            refuse(id, std::string(HandNames[hand]) + " holds 13 cards already.");
        else {
            const int holder = HandCards(CARDNUMBER(SUITOFFIELD(id), rank), board);
            refuse(id, std::string("the ") + RankNames[rank] + " is held by " +
                           (holder == hand ? "this hand" : HandNames[holder]) + " already.");
        }
        return;
    }
    case HANDKEY_ACCEPT:
        if (c == static_cast<char32_t>(d.letter)) return; // the field takes it as typed
        // The field receives the rank letter instead of the key ("1" types "A").
        DLGSENDCTRLMESSAGE(dlg, id, DLG_MSG_CHAR, d.letter);
        dlg.key.refused = true;
        return;
    }
}

// A suit field changed: its cards go into the deal at once.
void onSuitChange(DialogRecord& dlg, int id, int) {
    std::string text;
    DLGGETCHAR(dlg, id, text);
    const int board = shownBoard(dlg);
    if (PARSEHANDTEXT(board, id, text)) SETSAVE(true);
    if (ReasonLine) ReasonLine->clear(); // a card taken answers the refusal
    refreshDeck(dlg, board);
}

void onSuitFocus(DialogRecord&, int id, int) {
    focusedSuitField = id;
}

// Leaving a suit field shows its cards in order, ace first.
void onSuitLeave(DialogRecord& dlg, int id, int) {
    const int board = shownBoard(dlg);
    DLGSETCHAR(dlg, id, SUITTEXT(board, HANDOFFIELD(id), SUITOFFIELD(id)));
}

// A card button types its rank into the suit field last focused.
void ONBUTTONCARD(DialogRecord& dlg, int id, int) {
    const int k = id - ID_FIRSTCARDBUTTON;
    if (k < 0 || k >= 13 || !ISSUITFIELD(focusedSuitField)) return;
    DLGSETLOG(dlg, focusedSuitField, true, DLG_FOCUS);
    DLGSENDCTRLMESSAGE(dlg, focusedSuitField, DLG_MSG_CHAR, CardButtonLetters[k]);
}

// "Complete": the one hand that lacks cards takes the rest of the deck.
void ONCOMPLETE(DialogRecord& dlg, int, int) {
    const int board = shownBoard(dlg);
    if (COMPLETEHAND(board) == 0) {
        ++HandDiagramBeeps;
        QApplication::beep();
        sayReason("Board " + std::to_string(board) +
                  ": \"Complete\" needs three hands of 13 cards and one short of them.");
        return;
    }
    SETSAVE(true);
    ONHANDBOARDCHANGE(dlg);
    // On to the next deal.
    DLGSETLOG(dlg, ID_BOARD, true, DLG_FOCUS);
}

// Hiding the dialog, as closing the tournament does, cancels "Analyse all".
void hideDialog() {
    cancelAll(handDlg);
    if (handDlg.window) DLGMODELESS(handDlg, DLG_HIDE);
    SETCOMMANDCHECK(IDM_HANDDIAGRAMS, false);
}

void onHide(DialogRecord&, int, int) {
    hideDialog();
}

// Keeps the pinned dialog under the main window as that moves or changes size.
class Pin : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Move || e->type() == QEvent::Resize) place();
        return QObject::eventFilter(o, e);
    }
    static void place() {
        QWidget* main = GwMainWindow();
        if (!main || !handDlg.window) return;
        handDlg.window->move(main->frameGeometry().left(), main->frameGeometry().bottom() + 1);
    }
};
QPointer<Pin> pin;

// The pin: checked, the dialog sits under the main window and moves with it.
void ONPIN(DialogRecord& dlg, int, int) {
    bool pinned = false;
    DLGGETLOG(dlg, ID_PIN, pinned);
    QWidget* main = GwMainWindow();
    if (!main) return;
    if (pinned && !pin) {
        pin = new Pin(main);
        main->installEventFilter(pin);
        Pin::place();
    } else if (!pinned && pin) {
        delete pin;
    }
}

void handdlgproc(DialogRecord& dlg, int, int type) {
    if (type == DLG_CB_INIT) {
        DLGSETINT(dlg, ID_BOARD, NumBoards > 0 ? NumBoards : 1, DLG_MAX);
        DLGSETLOG(dlg, ID_PROGRESS, false, DLG_VISIBLE);
        DLGSETLOG(dlg, ID_CANCEL, false, DLG_VISIBLE);
        ONHANDBOARDCHANGE(dlg);
    } else if (type == DLG_CB_DESTROY) {
        delete pin;
        HandDiagramWindow = nullptr;
    }
}

} // namespace

bool HANDDIAGRAMSHOWN() {
    return handDlg.window && handDlg.window->isVisible();
}

DialogRecord* HANDDIAGRAMDIALOG() {
    return handDlg.window ? &handDlg : nullptr;
}

void ONVIEWHANDS() {
    if (!TournamentOpen || !ISTRUE(HasHands)) return;
    if (HANDDIAGRAMSHOWN()) {
        hideDialog();
        return;
    }
    if (!handDlg.window) {
        if (!HANDDLGREADY() || !DLGINIT(110, handDlg)) return;
        DLGSETSUB(handDlg, 110, handdlgproc);
        DLGSETSUB(handDlg, ID_BOARD, ONHANDBOARDCHANGE);
        for (int f = FirstSuitField; f <= LastSuitField; ++f) {
            DLGSETSUB(handDlg, f, handeditproc, DLG_CB_KEY);
            DLGSETSUB(handDlg, f, onSuitChange, DLG_CB_CHANGE);
            DLGSETSUB(handDlg, f, onSuitFocus, DLG_CB_SETFOCUS);
            DLGSETSUB(handDlg, f, onSuitLeave, DLG_CB_KILLFOCUS);
        }
        for (int k = 0; k < 13; ++k)
            DLGSETSUB(handDlg, ID_FIRSTCARDBUTTON + k, ONBUTTONCARD);
        DLGSETSUB(handDlg, ID_COMPLETE, ONCOMPLETE);
        DLGSETSUB(handDlg, ID_OK, onHide);
        DLGSETSUB(handDlg, ID_HIDE, onHide);
        DLGSETSUB(handDlg, ID_PIN, ONPIN);
        DLGSETSUB(handDlg, ID_ANALYSEALL, ONANALYSEALL);
        DLGSETSUB(handDlg, ID_CANCEL, ONCANCELANALYSIS);
    } else {
        DLGSETINT(handDlg, ID_BOARD, NumBoards, DLG_MAX);
        ONHANDBOARDCHANGE(handDlg);
    }
    if (!DLGMODELESS(handDlg, DLG_SHOW)) return;
    if (!ReasonLine && handDlg.window) {
        if (auto* outer = qobject_cast<QBoxLayout*>(handDlg.window->layout())) {
            ReasonLine = new QLabel(handDlg.window);
            ReasonLine->setObjectName("ReasonLine");
            ReasonLine->setWordWrap(true);
            outer->addWidget(ReasonLine);
            ReasonLine->show();
        }
    }
    HandDiagramWindow = handDlg.window;
    if (pin) Pin::place();
    SETCOMMANDCHECK(IDM_HANDDIAGRAMS, true);
    DLGSETLOG(handDlg, FirstSuitField, true, DLG_FOCUS);
    showDoubleDummy(handDlg, shownBoard(handDlg));
}

void HANDSTOURNAMENTCHANGED(bool open, bool hasHands) {
    if (!handDlg.window) return;
    if (!open || !hasHands) {
        hideDialog();
        return;
    }
    DLGSETINT(handDlg, ID_BOARD, NumBoards, DLG_MAX);
    ONHANDBOARDCHANGE(handDlg);
}

bool HANDANALYSISRUNNING() {
    return Running != nullptr;
}

void CLOSEHANDDIAGRAM() {
    // The worker stops after the group of deals in hand and is waited for, so that
    // nothing of the program is left for it to touch.
    AllWanted = false;
    if (Running) {
        Running->cancel = true;
        Running->worker.join();
        Running.reset();
    }
    delete Mailbox; // news the worker sent and nobody read goes with it
    Known.clear();
    Failed.clear();
    delete pin;
    DLGUNINIT(handDlg);
    HandDiagramWindow = nullptr;
    focusedSuitField = FirstSuitField;
}
