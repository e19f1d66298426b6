// The entry windows of the main window: the two result fields with their keys,
// reading a typed result, the OK button and the "Faulty" box of the board list,
// the scroll bars, the mouse, and the Options commands.
#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/results.h"
#include "core/tournament.h"
#include "scoring/scoring.h"
#include "server/tables.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/mainwindow.h"
#include "shell/properties.h"
#include "shell/shell.h"
#include "shell/views.h"
#include "winsupport/gwctl.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

EntryWindowSet EntryWindows;
int ActiveField = 1;

namespace {

// A result a table accepted and the director changes here: the tables' journal
// says that the director's value replaced the table's.
void journalTyped(int b, int entry, float before) {
    std::string reason;
    if (!DIRECTORTYPED(b, entry, before, Results(b, entry), reason))
        TablesLog("Board " + std::to_string(b) + " row " + std::to_string(entry) +
                  ": the tables' journal could not say that your result replaced the table's (" +
                  reason + ").");
}

enum {
    ID_FIELD1 = 2001,
    ID_FIELD2 = 2002,
    ID_BOARD = 2003,
    ID_OK = 2004,
    ID_FAULTY = 2005,
    ID_NAME = 2006,
    ID_PAIRSSCROLL = 2007,
    ID_LISTSCROLL = 2008,
    ID_PAIRLIST = 2009,
};

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The text typed in a field.
std::string fieldText(QWidget* field) {
    std::string text;
    GwCtlGetChar(field, text);
    return text;
}

// The set of board b and whether editing can go on there.
int setOf(int board) {
    return BoardsPerRound > 0 ? (board + BoardsPerRound - 1) / BoardsPerRound : 0;
}

int entriesOf(int board) {
    const int k = setOf(board);
    return k >= 1 && SetEntries.allocated() && k <= SetEntries.extent(1) ? SetEntries(k) : 0;
}

// Which entry of the current board the result fields hold, so that a redraw does
// not overwrite what is being typed.
int LoadedBoard = 0, LoadedEntry = 0;

// The stored result the fields were filled from and the texts they got, so that
// fields nobody typed into never write over a result stored since (a table's).
float LoadedValue = 0.0f;
std::string LoadedText[3];
bool LoadedAdjusted = false;

// Whether the status bar shows a refusal of a typed result (or the hint of an
// adjusted score), which goes once a result is read.
bool Refused = false;

void refuseResult(int field, const std::string& why, bool focus) {
    QApplication::beep();
    Refused = true;
    SETSTATUS(2, why);
    if (!focus) return;
    ActiveField = field;
    QWidget* w = EntryWindows.field[field];
    w->setFocus(Qt::OtherFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
}

// Whether the edited entry is typed as an adjusted score (both fields in use).
bool AdjustedEntry = false;

bool field2Shown() {
    return AdjustedEntry && EntryWindows.field[2];
}

// Whether the fields still hold what loadFields put into them.
bool fieldsUntouched() {
    return EntryWindows.field[1] && EntryWindows.field[2] &&
           fieldText(EntryWindows.field[1]) == LoadedText[1] &&
           fieldText(EntryWindows.field[2]) == LoadedText[2] && AdjustedEntry == LoadedAdjusted;
}

// The focus into a result field, its text selected so that typing replaces it.
void focusField(int field) {
    QWidget* w = EntryWindows.field[field];
    if (!w) return;
    ActiveField = field;
    w->setFocus(Qt::OtherFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
}

// Fills the result fields from the stored result of the edited entry.
void loadFields() {
    const int b = CURRENTBOARD();
    LoadedBoard = b;
    LoadedEntry = EditEntry;
    if (!EntryWindows.field[1]) return;
    if (EditEntry < 1 || b < 1) return;
    const float v = Results(b, EditEntry);
    const bool adjusted = DECODERESULT(v).form == RESULT_ADJUSTED;
    GwCtlSetChar(EntryWindows.field[1], ENTRYFIELDTEXT(v, 1));
    GwCtlSetChar(EntryWindows.field[2], adjusted ? ENTRYFIELDTEXT(v, 2) : std::string());
    AdjustedEntry = adjusted;
    LoadedValue = v;
    LoadedText[1] = fieldText(EntryWindows.field[1]);
    LoadedText[2] = fieldText(EntryWindows.field[2]);
    LoadedAdjusted = adjusted;
    if (!adjusted) ActiveField = 1;
}

// Starts editing entry `entry` of the current board, field 1.
void editEntry(int entry) {
    EditEntry = entry;
    ActiveField = 1;
    loadFields();
    REDRAW();
    focusField(1);
}

int scrollPos(QWidget* bar) {
    int pos = 0;
    if (bar) GwCtlGetInt(bar, pos);
    return pos;
}

bool visible(QWidget* w) {
    bool shown = false;
    return w && GwCtlGetLog(w, shown, DLG_VISIBLE) && shown;
}

// Ends the entry of the board: the OK button takes over.
void endEntry() {
    EditEntry = 0;
    LoadedEntry = 0;
    REDRAW();
    if (EntryWindows.ok) EntryWindows.ok->setFocus(Qt::OtherFocusReason);
}

// Enter or Tab in a result field: the next field or row (back with Shift).
void moveResult(bool forward) {
    const int b = CURRENTBOARD();
    if (EditEntry < 1 || b < 1) return;
    if (!READRESULT()) return;
    if (forward && ActiveField == 1 && field2Shown()) {
        focusField(2);
        return;
    }
    if (!forward && ActiveField == 2) {
        focusField(1);
        return;
    }
    const int row = std::max(1, EditEntry + (forward ? 1 : -1));
    if (row > entriesOf(b)) {
        endEntry();
        return;
    }
    QWidget* bar = EntryWindows.listScroll;
    if (visible(bar) && VisibleRows > 0) {
        const int pos = scrollPos(bar);
        if (row > pos + VisibleRows || row <= pos)
            GwCtlSetInt(bar, std::clamp(pos + (forward ? VisibleRows : -VisibleRows), 0,
                                        std::max(0, entriesOf(b) - VisibleRows)));
    }
    editEntry(row);
}

// Keypad "*": an adjusted score (two fields) or back to an ordinary one.
void toggleAdjusted() {
    const int b = CURRENTBOARD();
    if (EditEntry < 1 || b < 1) return;
    float& v = Results(b, EditEntry);
    const float before = v;
    const bool toAdjusted = !field2Shown();
    v = toAdjusted ? 10000.0f : 0.0f;
    SETSAVE(true);
    journalTyped(b, EditEntry, before);
    loadFields();
    if (toAdjusted) {
        GwCtlSetChar(EntryWindows.field[1], "");
        GwCtlSetChar(EntryWindows.field[2], "");
        SETSTATUS(2, CalcType == CALC_MATCHPOINTS
                         ? "Adjusted score: NS, Tab, EW in tenths of a top (6 for 60%)."
                         : "Adjusted score: NS, Tab, EW in IMPs.");
        Refused = true; // the hint goes once the score is read
    }
    REDRAW();
    focusField(1);
}

// Keypad "/": the pairs sat the wrong way round (or back).
void toggleInversion() {
    const int b = CURRENTBOARD();
    if (EditEntry < 1 || b < 1) return;
    // What is typed counts first, so that the inversion applies to it.
    if (!READRESULT()) return;
    float& v = Results(b, EditEntry);
    if (DECODERESULT(v).form == RESULT_ADJUSTED) return; // an adjusted score has no sides to swap
    const float before = v;
    v = v >= -500.0f ? v - 1000.0f : v + 1000.0f;
    SETSAVE(true);
    journalTyped(b, EditEntry, before);
    loadFields();
    REDRAW();
    focusField(ActiveField);
}

// Keypad "+": this row gets the previous row's result.
void copyPrevious() {
    const int b = CURRENTBOARD();
    if (EditEntry <= 1 || b < 1) return;
    const float before = Results(b, EditEntry);
    Results(b, EditEntry) = Results(b, EditEntry - 1);
    SETSAVE(true);
    journalTyped(b, EditEntry, before);
    if (EditEntry >= entriesOf(b)) {
        endEntry();
        return;
    }
    editEntry(EditEntry + 1);
}

bool resultproc(GwCtlRecord ctl, const GwCtlEvent& ev) {
    ActiveField = ctl.hwnd == EntryWindows.field[2] ? 2 : 1;
    const bool keypad = ev.modifiers & Qt::KeypadModifier;
    const bool shift = ev.modifiers & Qt::ShiftModifier;
    if (ev.modifiers & (Qt::AltModifier | Qt::ControlModifier)) return false;
    switch (ev.key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        moveResult(!shift);
        return true;
    case Qt::Key_Backtab:
        moveResult(false);
        return true;
    case Qt::Key_Escape:
        // To the board number, to choose another board.
        if (READRESULT() && EntryWindows.board) EntryWindows.board->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Asterisk:
        if (keypad) toggleAdjusted();
        return true;
    case Qt::Key_Slash:
        if (keypad) toggleInversion();
        return true;
    case Qt::Key_Plus:
        if (keypad) copyPrevious();
        return true;
    default:
        break;
    }
    if (ev.text.size() == 1) {
        const char c = ev.text[0];
        if ((c >= '0' && c <= '9') || c == '-' || c == '\b') return false;
        return static_cast<unsigned char>(c) >= 32; // other characters are not typed
    }
    return !ev.text.empty(); // letters beyond ASCII
}

bool resultfocus(GwCtlRecord ctl, const GwCtlEvent& ev) {
    if (ev.focusIn) {
        ActiveField = ctl.hwnd == EntryWindows.field[2] ? 2 : 1;
        return false;
    }
    // Leaving the field keeps what was typed; a refusal is said, the text stays.
    READRESULT(false);
    return false;
}

// The OK button: with the focus the board is scored and its entry ends.
bool okfocus(GwCtlRecord, const GwCtlEvent& ev) {
    if (!ev.focusIn) return false;
    const int b = CURRENTBOARD();
    if (b >= 1) CALCULATEBOARD(b);
    EditEntry = 0;
    LoadedEntry = 0;
    REDRAW();
    return false;
}

bool okproc(GwCtlRecord, const GwCtlEvent& ev) {
    const bool shift = ev.modifiers & Qt::ShiftModifier;
    if (ev.key == Qt::Key_Backtab || (ev.key == Qt::Key_Tab && shift)) {
        const int b = CURRENTBOARD();
        if (b >= 1 && ISTRUE(BoardValid(b)) && entriesOf(b) >= 1) {
            const int last = entriesOf(b);
            QWidget* bar = EntryWindows.listScroll;
            if (visible(bar) && VisibleRows > 0 && last > scrollPos(bar) + VisibleRows)
                GwCtlSetInt(bar, std::max(0, last - VisibleRows));
            editEntry(last);
        }
        return true;
    }
    if (ev.key == Qt::Key_Tab || isEnter(ev.key) || ev.key == Qt::Key_Space) {
        if (!(ev.modifiers & (Qt::AltModifier | Qt::ControlModifier))) {
            ONBOARDOK();
            return true;
        }
    }
    return false;
}

bool okclick(GwCtlRecord, const GwCtlEvent&) {
    ONBOARDOK();
    return false;
}

bool faultyclick(GwCtlRecord, const GwCtlEvent&) {
    ONBOARDFAULTY();
    return false;
}

bool boardchange(GwCtlRecord, const GwCtlEvent&) {
    if (ViewMode == 3) { // the frequency lists only show the board
        GwCtlSetInt(EntryWindows.listScroll, 0);
        LAYOUTVIEW();
        REDRAW();
        return false;
    }
    // The board chosen is shown; the selector keeps the focus for the next choice.
    READRESULT(false);
    const bool keep = EntryWindows.board && EntryWindows.board->hasFocus();
    ONTABCHANGE();
    if (keep) EntryWindows.board->setFocus(Qt::OtherFocusReason);
    return false;
}

// Enter or Tab on the board selector: typing starts in the board's first row.
bool boardkey(GwCtlRecord, const GwCtlEvent& ev) {
    if (ViewMode != 2) return false;
    if (ev.modifiers & (Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier)) return false;
    if (!isEnter(ev.key) && ev.key != Qt::Key_Tab) return false;
    const int b = CURRENTBOARD();
    if (b >= 1 && ISTRUE(BoardValid(b)) && entriesOf(b) >= 1)
        editEntry(EditEntry >= 1 ? EditEntry : 1);
    else if (EntryWindows.ok)
        EntryWindows.ok->setFocus(Qt::OtherFocusReason);
    return true;
}

bool pairlistchange(GwCtlRecord, const GwCtlEvent&) {
    ONPAIRLISTCHANGE();
    return false;
}

// Page Up and Page Down on a selector scroll the list below it.
bool selectorkey(GwCtlRecord, const GwCtlEvent& ev) {
    if (ev.key != Qt::Key_PageUp && ev.key != Qt::Key_PageDown) return false;
    int pos = 0, max = 0;
    GwCtlGetInt(EntryWindows.listScroll, pos);
    GwCtlGetInt(EntryWindows.listScroll, max, DLG_MAX);
    const int step = ev.key == Qt::Key_PageDown ? VisibleRows : -VisibleRows;
    GwCtlSetInt(EntryWindows.listScroll, std::clamp(pos + step, 0, std::max(max, 0)));
    REDRAW();
    return true;
}

bool listscroll(GwCtlRecord, const GwCtlEvent&) {
    ONBOARDSCROLL();
    return false;
}

bool pairsscroll(GwCtlRecord, const GwCtlEvent&) {
    ONPAIRSSCROLL();
    return false;
}

// Sends a keypad key to the entry window that has the focus.
void sendKeypad(int key) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus && MainWindow) focus = MainWindow->focusWidget();
    if (!focus) return;
    if (const GwCtlRecord* r = GwCtlByHandle(focus)) focus = r->hwnd;
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeypadModifier, key == Qt::Key_Asterisk ? "*" : "/");
    QCoreApplication::sendEvent(focus, &press);
}

} // namespace

// Names as the name box and the views handle them (pairsview.cpp).
bool STORENAMEBOX(bool focus);


std::string ENTRYFIELDTEXT(float v, int part) {
    const DecodedResult r = DECODERESULT(v);
    switch (r.form) {
    case RESULT_NONE:
        return "";
    case RESULT_ORDINARY:
    case RESULT_INVERTED:
        return part == 1 ? std::to_string(r.score) : std::string();
    case RESULT_ADJUSTED:
        return std::to_string(part == 1 ? r.adjustedNS : r.adjustedEW);
    }
    return "";
}

int CURRENTBOARD() {
    if (!TournamentOpen || !EntryWindows.board) return 0;
    int b = 0;
    GwCtlGetInt(EntryWindows.board, b);
    return b >= 1 && b <= NumBoards ? b : 0;
}

bool READRESULT(bool focus) {
    const int b = CURRENTBOARD();
    if (EditEntry < 1 || b < 1 || !EntryWindows.field[1]) return true;
    // The fields hold another entry (the board changed under them): nothing to read.
    if (LoadedBoard != b || LoadedEntry != EditEntry) return true;
    if (EditEntry > Results.extent(2)) return true;
    // Nothing typed: the stored result stays, even one a table sent since.
    if (fieldsUntouched()) return true;
    float& slot = Results(b, EditEntry);
    const float before = slot;
    // The field first, then what it takes: the status bar may cut a long line.
    const std::string where = ", board " + std::to_string(b) + " row " + std::to_string(EditEntry);
    // An adjusted score: tenths of a top with matchpoints, IMPs otherwise.
    const bool adjusted = field2Shown(), mp = CalcType == CALC_MATCHPOINTS;
    // An inverted entry keeps its form only for scores below 500.
    const bool inverted = !adjusted && before < -500.0f;
    const int refused = READRESULTFIELDS(fieldText(EntryWindows.field[1]),
                                         adjusted ? fieldText(EntryWindows.field[2]) : std::string(),
                                         adjusted, mp, inverted, slot);
    if (refused) {
        const ResultLimits l = RESULTLIMITS(adjusted, mp, inverted);
        const int low = refused == 1 ? l.low1 : l.low2, high = refused == 1 ? l.high1 : l.high2;
        if (adjusted)
            refuseResult(refused,
                         std::string(refused == 1 ? "Adjusted NS" : "Adjusted EW") + where + ": type " +
                             (mp ? "tenths of a top, " + std::to_string(low) + " to " +
                                       std::to_string(high) + " (6 for 60%)."
                                 : "IMPs, " + std::to_string(low) + " to " + std::to_string(high) + "."),
                         focus);
        else
            refuseResult(1,
                         std::string(inverted ? "Inverted NS score" : "NS score") + where +
                             ": type -500 to " + std::to_string(high) + " (42 for 420).",
                         focus);
        return false;
    }
    // A refusal said before is answered: its line goes.
    if (Refused) {
        Refused = false;
        SETSTATUS(2, "");
    }
    if (slot != before) {
        SETSAVE(true);
        journalTyped(b, EditEntry, before);
    }
    // What was read is now what the fields were filled from.
    LoadedValue = slot;
    LoadedText[1] = fieldText(EntryWindows.field[1]);
    LoadedText[2] = fieldText(EntryWindows.field[2]);
    LoadedAdjusted = AdjustedEntry;
    return true;
}

void ONBOARDFAULTY() {
    const int b = CURRENTBOARD();
    if (b < 1 || !EntryWindows.faulty) return;
    bool faulty = false;
    GwCtlGetLog(EntryWindows.faulty, faulty);
    BoardValid(b) = TOLOGICAL(!faulty);
    SETSAVE(true);
    CALCULATEBOARD(b);
    GwCtlSetChar(EntryWindows.board, faulty ? "*" : std::to_string(b), DLG_ITEM + b);
    if (faulty) {
        EditEntry = 0;
        LoadedEntry = 0;
    }
    REDRAW();
    // On with the keyboard: OK for a faulty board, its first row for a valid one.
    if (faulty || entriesOf(b) < 1) {
        if (EntryWindows.ok) EntryWindows.ok->setFocus(Qt::OtherFocusReason);
    } else {
        editEntry(EditEntry >= 1 ? EditEntry : 1);
    }
}

bool COMMITENTRY() {
    if (!TournamentOpen) return true;
    if (ViewMode == 2) {
        // The board is left: it is scored with what was typed.
        if (!READRESULT()) return false;
        if (const int b = CURRENTBOARD(); b >= 1) CALCULATEBOARD(b);
        return true;
    }
    if (ViewMode == 1 && SortByPlacement == 0) return STORENAMEBOX(true);
    return true;
}

void CREATEENTRYWINDOWS() {
    if (!MainWindow) return;
    QWidget* area = MainWindow->drawArea();
    auto make = [area](int kind, int style, int id, GwCtlProc general, GwCtlProc key,
                       GwCtlProc focus) {
        GwCtlRecord r;
        r.id = id;
        r.proc = general;
        r.keyProc = key;
        r.focusProc = focus;
        return GwCtlInit(area, kind, style | GWS_HIDDEN, r);
    };
    EntryWindows.field[1] =
        make(GWCTL_EDIT, GWS_RIGHT, ID_FIELD1, nullptr, resultproc, resultfocus);
    EntryWindows.field[2] =
        make(GWCTL_EDIT, GWS_RIGHT, ID_FIELD2, nullptr, resultproc, resultfocus);
    for (int f = 1; f <= 2; ++f) {
        auto* e = static_cast<QLineEdit*>(EntryWindows.field[f]);
        e->setMaxLength(10);
        e->setFrame(false);
        e->setStyleSheet("QLineEdit { border: 1px solid #2f6fb5; background: white; "
                         "padding: 0 3px; }");
    }
    EntryWindows.board = make(GWCTL_DROPLIST, 0, ID_BOARD, boardchange, boardkey, nullptr);
    std::vector<std::string> items;
    for (int b = 1; b <= NumBoards; ++b)
        CONTROLADDSTRING(EntryWindows.board, ISTRUE(BoardValid(b)) ? std::to_string(b) : "*");
    GwCtlSetInt(EntryWindows.board, NumBoards >= 1 ? 1 : 0);
    EntryWindows.pairList =
        make(GWCTL_DROPLIST, 0, ID_PAIRLIST, pairlistchange, selectorkey, nullptr);
    FILLPAIRLIST();
    EntryWindows.ok = make(GWCTL_BUTTON, 0, ID_OK, okclick, okproc, okfocus);
    GwCtlSetChar(EntryWindows.ok, "OK");
    EntryWindows.faulty = make(GWCTL_CHECKBOX, 0, ID_FAULTY, faultyclick, nullptr, nullptr);
    GwCtlSetChar(EntryWindows.faulty, "Fa&ulty"); // Alt+U: the keyboard reaches it too
    EntryWindows.name = make(GWCTL_COMBOBOX, GWS_SORT, ID_NAME, nullptr, nullptr, nullptr);
    EntryWindows.pairsScroll =
        make(GWCTL_SCROLLBAR, GWS_VERTICAL, ID_PAIRSSCROLL, pairsscroll, nullptr, nullptr);
    EntryWindows.listScroll =
        make(GWCTL_SCROLLBAR, GWS_VERTICAL, ID_LISTSCROLL, listscroll, nullptr, nullptr);
    extern void SETUPNAMEBOX();
    SETUPNAMEBOX();
    LoadedBoard = LoadedEntry = 0;
    ActiveField = 1;
    AdjustedEntry = false;
    Refused = false;
}

void DESTROYENTRYWINDOWS() {
    for (QWidget* w : {EntryWindows.field[1], EntryWindows.field[2], EntryWindows.board,
                       EntryWindows.ok, EntryWindows.faulty, EntryWindows.name,
                       EntryWindows.pairsScroll, EntryWindows.listScroll, EntryWindows.pairList})
        if (w) GwCtlDestroy(w);
    EntryWindows = EntryWindowSet{};
    LoadedBoard = LoadedEntry = 0;
}

void LAYOUTVIEW() {
    if (!MainWindow || !TournamentOpen || !EntryWindows.board) return;
    const int width = MainWindow->drawArea()->width();
    const int height = MainWindow->drawArea()->height();
    VisiblePairRows = std::max(1, (height - RowHeight) / RowHeight);
    VisibleRows = std::max(1, (height - StripHeight - RowHeight) / RowHeight);
    auto setBar = [&](QWidget* bar, int rows, int page, int top, bool shown) {
        const bool need = shown && rows > page;
        GwCtlSetInt(bar, 0, DLG_MIN);
        GwCtlSetInt(bar, std::max(rows - 1, 0), DLG_MAX);
        GwCtlSetInt(bar, page, DLG_PAGE);
        if (!need) GwCtlSetInt(bar, 0);
        GwCtlMove(bar, width - ScrollWidth, top, ScrollWidth, std::max(height - top, 0), need);
    };
    setBar(EntryWindows.pairsScroll, NumPairs, VisiblePairRows, RowHeight, ViewMode == 1);
    const int listRows = ViewMode == 3   ? FREQUENCYROWS()
                         : ViewMode == 4 ? PERSONALROWS()
                                         : entriesOf(CURRENTBOARD());
    setBar(EntryWindows.listScroll, listRows, VisibleRows, StripHeight + RowHeight,
           ViewMode >= 2 && ViewMode <= 4);
    // A lower window keeps the row being typed into in sight.
    auto keepInSight = [](QWidget* bar, int row, int page) {
        if (!visible(bar) || row < 1) return;
        const int pos = scrollPos(bar);
        if (row > pos + page)
            GwCtlSetInt(bar, row - page);
        else if (row <= pos)
            GwCtlSetInt(bar, row - 1);
    };
    if (ViewMode == 2) keepInSight(EntryWindows.listScroll, EditEntry, VisibleRows);
    if (ViewMode == 1 && SortByPlacement == 0)
        keepInSight(EntryWindows.pairsScroll, EditPair, VisiblePairRows);
    const bool boards = ViewMode == 2;
    GwCtlMove(EntryWindows.board, 56, 4, 64, 22, boards || ViewMode == 3);
    GwCtlMove(EntryWindows.pairList, 56, 4, 320, 22, ViewMode == 4);
    GwCtlMove(EntryWindows.faulty, 132, 4, 70, 22, boards);
    GwCtlMove(EntryWindows.ok, 208, 3, 64, 24, boards);
    if (!boards) {
        GwCtlMove(EntryWindows.field[1], 0, 0, 0, 0, false);
        GwCtlMove(EntryWindows.field[2], 0, 0, 0, 0, false);
    }
    if (ViewMode != 1 || SortByPlacement != 0) GwCtlMove(EntryWindows.name, 0, 0, 0, 0, false);
}

void ONVIEWCLICK(int x, int y) {
    if (!TournamentOpen) return;
    if (ViewMode == 1 && SortByPlacement == 0) {
        extern void CLICKNAMECELL(int x, int y);
        CLICKNAMECELL(x, y);
        return;
    }
    if (ViewMode != 2 || y < StripHeight + RowHeight) return;
    const int b = CURRENTBOARD();
    if (b < 1) return;
    if (!READRESULT()) return; // what was typed stays for correction
    const int row = (y - StripHeight - RowHeight) / RowHeight + 1 +
                    (visible(EntryWindows.listScroll) ? scrollPos(EntryWindows.listScroll) : 0);
    (void)x; // the whole row answers, not only the score
    if (ISTRUE(BoardValid(b)) && row >= 1 && row <= entriesOf(b)) editEntry(row);
}

void ONADJUSTEDSCORE() {
    sendKeypad(Qt::Key_Asterisk);
}
void ONINVERSION() {
    sendKeypad(Qt::Key_Slash);
}
void ONPENALTYCOMMAND() {
    sendKeypad(Qt::Key_Asterisk);
}

void ONVIEWPROPERTIES() {
    if (!TournamentOpen || !COMMITENTRY()) return;
    TOURNAMENTPROPERTIES();
}

// Starts typing into row `entry` of the board shown (board-list view).
void EDITRESULTROW(int entry) {
    editEntry(entry);
}

// Used by the board-list view when it draws the fields onto the edited row.
void PLACERESULTFIELDS(int top) {
    if (!EntryWindows.field[1]) return;
    // Fields nobody typed into follow a result stored under them (a table's).
    if (LoadedBoard != CURRENTBOARD() || LoadedEntry != EditEntry ||
        (EditEntry >= 1 && LoadedBoard >= 1 && EditEntry <= Results.extent(2) &&
         Results(LoadedBoard, EditEntry) != LoadedValue && fieldsUntouched()))
        loadFields();
    const bool adjusted = field2Shown();
    if (top < 0) {
        GwCtlMove(EntryWindows.field[1], 0, 0, 0, 0, false);
        GwCtlMove(EntryWindows.field[2], 0, 0, 0, 0, false);
        return;
    }
    if (adjusted) {
        GwCtlMove(EntryWindows.field[1], 102, top, 46, RowHeight, true);
        GwCtlMove(EntryWindows.field[2], 152, top, 46, RowHeight, true);
    } else {
        GwCtlMove(EntryWindows.field[1], 102, top, 96, RowHeight, true);
        GwCtlMove(EntryWindows.field[2], 0, 0, 0, 0, false);
    }
}
