// The Hand Diagram dialog. The suit fields take only cards: every key goes through
// the key filter of the card logic, which turns the number-pad keys into ranks and
// refuses, with a beep and a word in the status bar, a card another hand holds or a
// 14th card. Each change of a field is stored in HandCards at once, so the deck,
// "Complete" and the saved tournament always follow what is on screen.
#include "shell/handdlg.h"

#include "core/hooks.h"
#include "core/tournament.h"
#include "hands/analysis.h"
#include "hands/hands.h"
#include "shell/commands.h"
#include "shell/help.h"
#include "winsupport/gwlogm.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWidget>

bool HANDDLGREADY();

int HandDiagramBeeps = 0;

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

void refuse(int field, const std::string& why) {
    ++HandDiagramBeeps;
    QApplication::beep();
    SETSTATUS(2, std::string(HandNames[HANDOFFIELD(field)]) + " " + SuitNames[SUITOFFIELD(field)] +
                     ": " + why);
}

// The deck, "Complete" and the board's dealer and vulnerability; the suit fields
// are left as typed.
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
        SETSTATUS(2, "Board " + std::to_string(board) +
                         ": \"Complete\" needs three hands of 13 cards and one short of them.");
        return;
    }
    SETSAVE(true);
    ONHANDBOARDCHANGE(dlg);
    // On to the next deal.
    DLGSETLOG(dlg, ID_BOARD, true, DLG_FOCUS);
}

void hideDialog() {
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
    } else {
        DLGSETINT(handDlg, ID_BOARD, NumBoards, DLG_MAX);
        ONHANDBOARDCHANGE(handDlg);
    }
    if (!DLGMODELESS(handDlg, DLG_SHOW)) return;
    HandDiagramWindow = handDlg.window;
    if (pin) Pin::place();
    SETCOMMANDCHECK(IDM_HANDDIAGRAMS, true);
    DLGSETLOG(handDlg, FirstSuitField, true, DLG_FOCUS);
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

void CLOSEHANDDIAGRAM() {
    delete pin;
    DLGUNINIT(handDlg);
    HandDiagramWindow = nullptr;
    focusedSuitField = FirstSuitField;
}
