// The pairs view: every pair with its players, totals and place, in pair order
// (names typed into the name box) or in placement order; the name box and its
// keys, the pairs scroll bar and the pair penalty dialog (102).
#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "movement/custom.h"
#include "scoring/scoring.h"
#include "shell/recalc.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/palette.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "shell/views.h"
#include "winsupport/gwctl.h"
#include "winsupport/gwgdi.h"
#include "winsupport/gwlogm.h"

#include <QApplication>
#include <QComboBox>
#include <QSignalBlocker>
#include <QDialog>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <cstdio>

bool ENTRYDIALOGSREADY();

namespace {

const bool drawerReady = (ViewDrawers[1] = DRAWTOURNAMENT, true);

// Colours of the views.

// Columns: where a cell's text lies and how it is aligned.
struct Column {
    const char* title;
    int left, right;
    bool rightAligned;
};

constexpr int NamesLeft = 108;

// The numeric columns after the names, for the calculation and rating shown.
std::vector<Column> numberColumns() {
    std::vector<std::pair<const char*, int>> cols = {{"Pen.", 40}};
    if (CalcType == CALC_MATCHPOINTS) {
        cols.push_back({"MP", 56});
        cols.push_back({"%", 52});
    } else {
        cols.push_back({"IMP", 52});
        cols.push_back({"VP", 44});
        cols.push_back({"IMP/Brd", 56});
    }
    if (RatingMode != 0) cols.push_back({"Rating", 84});
    int width = 0;
    for (const auto& c : cols)
        width += c.second;
    int x = 640 - ScrollWidth - width - 4;
    std::vector<Column> out;
    for (const auto& [title, w] : cols) {
        out.push_back({title, x, x + w, true});
        x += w;
    }
    return out;
}

// Every column of the view: position, pair, the two players, then the numbers.
std::vector<Column> columns() {
    std::vector<Column> numbers = numberColumns();
    const int namesRight = numbers.front().left - 4;
    const int nameWidth = (namesRight - NamesLeft) / 2;
    std::vector<Column> out = {{"Position", 4, 60, true},
                               {"Pair", 66, 98, true},
                               {"", NamesLeft, NamesLeft + nameWidth - 4, false},
                               {"", NamesLeft + nameWidth, namesRight, false}};
    out.insert(out.end(), numbers.begin(), numbers.end());
    return out;
}

std::string fixed(float v, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(v));
    return buf;
}

std::string nameOf(int pair, int player) {
    return CP1250TOUTF8(FIELDTEXT(PlayerNames(pair, player).c, NameLength));
}

// The pair shown in row `row` (from 1).
int pairOfRow(int row) {
    if (SortByPlacement == 1 && PlacementOrder.allocated() && row <= PlacementOrder.extent(1)) {
        const int p = PlacementOrder(row);
        if (p >= 1 && p <= NumPairs) return p;
    }
    return row;
}

// Places of the pairs, indexed by pair: one slot for every pair, a shared place
// for pairs whose figures tie.
std::vector<int> places() {
    std::vector<int> place = PAIRPLACES();
    place.resize(static_cast<std::size_t>(std::max(NumPairs, 0)) + 1, 0);
    return place;
}

// The name cell the name box holds now, and the name it was given: only a
// changed text is stored, so that a name set elsewhere is never overwritten.
int LoadedPair = 0, LoadedPlayer = 0;
std::string LoadedName;

int pairsScrollPos() {
    int pos = 0;
    bool shown = false;
    if (EntryWindows.pairsScroll && GwCtlGetLog(EntryWindows.pairsScroll, shown, DLG_VISIBLE) &&
        shown)
        GwCtlGetInt(EntryWindows.pairsScroll, pos);
    return pos;
}

void loadNameBox() {
    LoadedPair = EditPair;
    LoadedPlayer = EditPlayer;
    if (!EntryWindows.name || EditPair < 1 || EditPair > NumPairs) return;
    LoadedName = nameOf(EditPair, EditPlayer);
    GwCtlSetChar(EntryWindows.name, LoadedName);
    if (QLineEdit* e = static_cast<QComboBox*>(EntryWindows.name)->lineEdit()) e->selectAll();
}

void focusNameBox() {
    if (!EntryWindows.name) return;
    EntryWindows.name->setFocus(Qt::OtherFocusReason);
    if (QLineEdit* e = static_cast<QComboBox*>(EntryWindows.name)->lineEdit()) e->selectAll();
}

// Keeps `row` in the visible rows: a page in the direction of travel, or as far
// as needed after a wrap.
void scrollToRow(int row, bool forward) {
    QWidget* bar = EntryWindows.pairsScroll;
    bool shown = false;
    if (!bar || !GwCtlGetLog(bar, shown, DLG_VISIBLE) || !shown || VisiblePairRows < 1) return;
    const int pos = pairsScrollPos();
    if (row > pos && row <= pos + VisiblePairRows) return;
    const int last = std::max(0, NumPairs - VisiblePairRows);
    int next = std::clamp(pos + (forward ? VisiblePairRows : -VisiblePairRows), 0, last);
    if (row <= next || row > next + VisiblePairRows)
        next = std::clamp(forward ? row - 1 : row - VisiblePairRows, 0, last);
    GwCtlSetInt(bar, next);
}

void assignRatings() {
    if (Compute.assignPairRating) Compute.assignPairRating();
}

// Enter or Tab (Shift: back): stores the name and goes to the next cell.
void moveName(bool forward) {
    if (!STORENAMEBOX(true)) return;
    int pair = EditPair, player = EditPlayer;
    if (forward) {
        if (player == 1)
            player = 2;
        else
            player = 1, ++pair;
    } else {
        if (player == 2)
            player = 1;
        else
            player = 2, --pair;
    }
    if (pair < 1) pair = NumPairs;
    if (pair > NumPairs) pair = 1;
    EditPair = pair;
    EditPlayer = player;
    assignRatings();
    scrollToRow(pair, forward);
    loadNameBox();
    REDRAW();
    focusNameBox();
}

// Page Up / Page Down: the pair changes places with the one above or below.
void swapPair(int direction) {
    const int other = EditPair + direction;
    if (other < 1 || other > NumPairs) return;
    if (!STORENAMEBOX(true)) return;
    for (int j = 1; j <= 2; ++j)
        std::swap(PlayerNames(EditPair, j), PlayerNames(other, j));
    SETSAVE(true);
    assignRatings();
    EditPair = other;
    scrollToRow(other, direction > 0);
    loadNameBox();
    REDRAW();
    focusNameBox();
}

bool playerproc(GwCtlRecord, const GwCtlEvent& ev) {
    const bool keypad = ev.modifiers & Qt::KeypadModifier;
    const bool shift = ev.modifiers & Qt::ShiftModifier;
    if (ev.modifiers & (Qt::AltModifier | Qt::ControlModifier)) return false;
    switch (ev.key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        moveName(!shift);
        return true;
    case Qt::Key_Backtab:
        moveName(false);
        return true;
    case Qt::Key_PageUp:
        swapPair(-1);
        return true;
    case Qt::Key_PageDown:
        swapPair(1);
        return true;
    case Qt::Key_Asterisk:
        if (keypad && EditPair >= 1) {
            if (!STORENAMEBOX(true)) return true;
            ONPENALTY(EditPair);
            focusNameBox();
        }
        return true; // "*" is no letter of a name
    default:
        return false;
    }
}

bool namefocus(GwCtlRecord, const GwCtlEvent& ev) {
    // Leaving the box keeps what was typed (a refusal is said, the text stays).
    if (!ev.focusIn && QApplication::activePopupWidget() == nullptr) STORENAMEBOX(false);
    return false;
}

// The pair penalty dialog.
int PenaltyPair = 0;

void penaltyInit(DialogRecord& dlg, int, int callbackType) {
    if (callbackType != DLG_CB_INIT || !dlg.window) return;
    // At the top-right corner of the name box.
    if (EntryWindows.name && EntryWindows.name->isVisible()) {
        const QPoint corner = EntryWindows.name->mapToGlobal(QPoint(EntryWindows.name->width(), 0));
        dlg.window->move(corner);
    }
    DLGSETCHAR(dlg, 1000, fixed(PairPenalty(PenaltyPair), 1));
    DLGSENDCTRLMESSAGE(dlg, 1000, DLG_MSG_SETSEL, 0, -1);
}

void penaltyOk(DialogRecord& dlg, int, int) {
    std::string text;
    DLGGETCHAR(dlg, 1000, text);
    float value = 0;
    if (!READDECIMAL(text.substr(0, 5), value)) {
        SHOWMESSAGE("Type the penalty in \"MP or IMP\" as a number, for example 1.5.",
                    "Pair penalty", MSG_OK_WARNING);
        DLGSETLOG(dlg, 1000, true, DLG_FOCUS);
        DLGSENDCTRLMESSAGE(dlg, 1000, DLG_MSG_SETSEL, 0, -1);
        return;
    }
    if (PairPenalty(PenaltyPair) != value) {
        PairPenalty(PenaltyPair) = value;
        SETSAVE(true);
    }
    DLGSETRETURN(dlg, 1);
    DLGEXIT(dlg);
}

} // namespace

void FILLNAMEBOX() {
    auto* combo = static_cast<QComboBox*>(EntryWindows.name);
    if (!combo) return;
    // The text being typed stays as it is.
    const QString typed = combo->currentText();
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const std::string& n : REGISTEREDNAMES())
        CONTROLADDSTRING(combo, n);
    combo->setEditText(typed);
}

void SETUPNAMEBOX() {
    QWidget* box = EntryWindows.name;
    if (!box) return;
    FILLNAMEBOX();
    GwCtlSetSub(box, playerproc, GWSUB_KEY);
    GwCtlSetSub(box, namefocus, GWSUB_FOCUS);
    auto* combo = static_cast<QComboBox*>(box);
    combo->setMaxVisibleItems(12);
    if (QLineEdit* e = combo->lineEdit()) e->setMaxLength(NameLength);
    LoadedPair = LoadedPlayer = 0;
}

bool STORENAMEBOX(bool focus) {
    if (!EntryWindows.name || EditPair < 1 || EditPair > NumPairs || EditPlayer < 1 ||
        EditPlayer > 2 || LoadedPair != EditPair || LoadedPlayer != EditPlayer)
        return true;
    std::string text, bytes;
    GwCtlGetChar(EntryWindows.name, text);
    if (text == LoadedName) return true;
    char32_t bad = 0;
    if (FINDCONTROL(text, bad)) {
        QApplication::beep();
        SETSTATUS(2, CONTROLNAMEMESSAGE("Pair " + std::to_string(EditPair) + ", player " +
                                            std::to_string(EditPlayer),
                                        bad));
        if (focus) focusNameBox();
        return false;
    }
    if (!UTF8TOCP1250(text, bytes, &bad)) {
        QApplication::beep();
        SETSTATUS(2, "Pair " + std::to_string(EditPair) + ", player " + std::to_string(EditPlayer) +
                         ": the character \"" + UTF8OF(bad) +
                         "\" cannot be kept in a name; replace it.");
        if (focus) focusNameBox();
        return false;
    }
    if (bytes.size() > static_cast<std::size_t>(NameLength)) bytes.resize(NameLength);
    PlayerName& cell = PlayerNames(EditPair, EditPlayer);
    if (FIELDTEXT(cell.c, NameLength) != FIELDTEXT(bytes.c_str(), static_cast<int>(bytes.size()))) {
        SETFIELD(cell.c, NameLength, bytes);
        SETSAVE(true);
        // However the name is stored (Enter, a click, Save or Exit), its player
        // gets the register's rating, never the one of the name it replaced.
        assignRatings();
    }
    LoadedName = text;
    return true;
}

void CLICKNAMECELL(int x, int y) {
    if (y < RowHeight) return;
    const std::vector<Column> cols = columns();
    int player = 0;
    if (x >= cols[2].left && x < cols[3].left) player = 1;
    if (x >= cols[3].left && x <= cols[3].right) player = 2;
    if (player == 0) return;
    if (!STORENAMEBOX(true)) return;
    const int row = (y - RowHeight) / RowHeight + 1 + pairsScrollPos();
    if (row < 1 || row > NumPairs) return;
    EditPair = row;
    EditPlayer = player;
    loadNameBox();
    REDRAW();
    focusNameBox();
}

std::vector<std::string> PAIRSHEADER() {
    std::vector<std::string> out;
    for (const Column& c : columns())
        out.emplace_back(c.title);
    return out;
}

std::vector<std::string> PAIRSROW(int row) {
    const int p = pairOfRow(row);
    const std::vector<int> place = places();
    std::vector<std::string> out = {std::to_string(place[static_cast<std::size_t>(p)]),
                                    PAIRTEXT(p), nameOf(p, 1), nameOf(p, 2),
                                    PairPenalty(p) != 0.0f ? fixed(PairPenalty(p), 1) : ""};
    if (CalcType == CALC_MATCHPOINTS) {
        out.push_back(fixed(PairTotal(p), 1));
        out.push_back(fixed(PairPercent(p), 2));
    } else {
        out.push_back(fixed(PairTotal(p), 1));
        out.push_back(fixed(PairPercent(p), 1));
        out.push_back(fixed(PairImpPerBoard(p), 2));
    }
    if (RatingMode != 0) {
        auto r = [&](int j) {
            const int v = PlayerRating(p, j);
            return v >= 0 ? std::to_string(v) : std::string("-");
        };
        out.push_back(r(1) + "  " + r(2));
    }
    return out;
}

void DRAWTOURNAMENT() {
    GwDC dc;
    if (!MainWindow || !TournamentOpen || !GwBeginDraw(dc, &MainWindow->viewBuffer())) return;
    const int width = MainWindow->drawArea()->width();
    const int height = MainWindow->drawArea()->height();
    const int right = width - ScrollWidth;
    const std::vector<Column> cols = columns();
    const bool editing = SortByPlacement == 0;

    // Header.
    GwSetPen(dc, GW_PS_NULL, 0, 0);
    GwSetBrush(dc, GW_BS_SOLID, HeaderBack);
    GwRectangle(dc, 0, 0, width, RowHeight);
    GwSetTextColor(dc, TextColour);
    GwSetFont(dc, "", ViewFontHeight, 700);
    for (std::size_t i = 0; i < cols.size(); ++i) {
        const Column& c = cols[i];
        const char* title = c.title;
        if (i == 2) title = SortByPlacement ? "Players" : "Player 1";
        if (i == 3) title = SortByPlacement ? "" : "Player 2";
        GwTextOut(dc, c.rightAligned ? c.right : c.left, 3, title,
                  c.rightAligned ? GW_TA_RIGHT : GW_TA_LEFT);
    }
    GwSetPen(dc, GW_PS_SOLID, 1, LineColour);
    GwLine(dc, 0, RowHeight - 1, width, RowHeight - 1);

    // Rows.
    const int first = pairsScrollPos() + 1;
    const std::vector<int> place = places();
    bool boxPlaced = false;
    // Whole rows only: a row cut by the window's edge would show half its text.
    for (int row = first, y = RowHeight; row <= NumPairs && y + RowHeight <= height;
         ++row, y += RowHeight) {
        const int p = pairOfRow(row);
        const bool edited = editing && p == EditPair;
        GwSetPen(dc, GW_PS_NULL, 0, 0);
        GwSetBrush(dc, GW_BS_SOLID, edited ? EditBack : (row % 2 ? RowBack : StripeBack));
        GwRectangle(dc, 0, y, right, y + RowHeight);
        const std::vector<std::string> cells = PAIRSROW(row);
        GwSetFont(dc, "", ViewFontHeight, 400);
        for (std::size_t i = 0; i < cols.size() && i < cells.size(); ++i) {
            const Column& c = cols[i];
            std::string text = cells[i];
            GwSetTextColor(dc, i == 4 ? DimColour : TextColour);
            if (!c.rightAligned) {
                // A name longer than its cell ends in "…".
                const int room = c.right - c.left;
                if (GwGetTextExtent(dc, text).cx > room) {
                    while (!text.empty() && GwGetTextExtent(dc, text + "\u2026").cx > room) {
                        text.pop_back();
                        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
                            text.pop_back();
                    }
                    text += "\u2026";
                }
            }
            if (i == 0 && SortByPlacement) GwSetFont(dc, "", ViewFontHeight, 700);
            GwTextOut(dc, c.rightAligned ? c.right : c.left, y + 3, text,
                      c.rightAligned ? GW_TA_RIGHT : GW_TA_LEFT);
            if (i == 0) GwSetFont(dc, "", ViewFontHeight, 400);
        }
        if (edited && EntryWindows.name) {
            const Column& c = cols[EditPlayer == 2 ? 3 : 2];
            if (LoadedPair != EditPair || LoadedPlayer != EditPlayer) loadNameBox();
            GwCtlMove(EntryWindows.name, c.left - 3, y, c.right - c.left + 6, RowHeight, true);
            boxPlaced = true;
        }
    }
    (void)place;
    if (!boxPlaced && EntryWindows.name) GwCtlMove(EntryWindows.name, 0, 0, 0, 0, false);
    GwEndDraw(dc);
}

// Shared by both orders: the pairs view in front, the board list's windows hidden.
static void showPairsView(int command, int byPlacement) {
    if (!TournamentOpen) return;
    // The totals, ranking and rating changes of what was typed.
    if (!RECALCIFCHANGED()) return;
    ViewMode = 1;
    SortByPlacement = byPlacement;
    SETVIEWSTATE(command);
    if (!byPlacement && (EditPair < 1 || EditPair > NumPairs)) {
        EditPair = 1;
        EditPlayer = 1;
    }
    if (EditPlayer < 1 || EditPlayer > 2) EditPlayer = 1;
    LoadedPair = LoadedPlayer = 0;
    LAYOUTVIEW();
    REDRAW();
    if (!byPlacement)
        focusNameBox();
    else if (EntryWindows.pairsScroll && EntryWindows.pairsScroll->isVisible())
        EntryWindows.pairsScroll->setFocus(Qt::OtherFocusReason);
    else if (MainWindow)
        MainWindow->drawArea()->setFocus(Qt::OtherFocusReason);
}

void ONPLAYERLIST() {
    showPairsView(IDM_SORTBYLINES, 0);
}

void ONPLAYERPLACEMENT() {
    showPairsView(IDM_SORTBYPLACEMENT, 1);
}

void ONPAIRSSCROLL() {
    REDRAW();
}

void ONPENALTY(int pair) {
    if (!TournamentOpen || pair < 1 || pair > NumPairs) return;
    PenaltyPair = pair;
    DialogRecord dlg;
    if (!ENTRYDIALOGSREADY() || !DLGINIT(102, dlg)) return;
    DLGSETSUB(dlg, 102, penaltyInit);
    DLGSETSUB(dlg, 1, penaltyOk);
    const bool ok = DLGMODAL(dlg) == 1;
    DLGUNINIT(dlg);
    if (!ok) return;
    RECALCULATE();
    REDRAW();
}
