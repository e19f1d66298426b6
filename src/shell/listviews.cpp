// The frequency-list view (the different results of one board, how often each
// was scored and what it gave) and the personal score card view (the boards one
// pair played, or every pair's card one after another).
#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "reports/reportlines.h"
#include "reports/reports.h"
#include "shell/recalc.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/palette.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "shell/views.h"
#include "winsupport/gwctl.h"
#include "winsupport/gwgdi.h"

#include <algorithm>

namespace {

const bool drawersReady = (ViewDrawers[3] = DRAWFREQUENCY, ViewDrawers[4] = DRAWPERSONAL, true);


struct Column {
    const char* title;
    int right;     // right edge, pixels
    bool leftText; // text set from the left edge (the previous column's right + 8)
};

int scrollPos() {
    int pos = 0;
    bool shown = false;
    if (EntryWindows.listScroll && GwCtlGetLog(EntryWindows.listScroll, shown, DLG_VISIBLE) &&
        shown)
        GwCtlGetInt(EntryWindows.listScroll, pos);
    return pos;
}

std::string trimmedLeft(std::string s) {
    s.erase(0, s.find_first_not_of(' '));
    return s;
}

std::string pairId(int p) {
    return p >= 1 ? trimmedLeft(TRIMMED(PAIRID(p, 4))) : std::string("-");
}

std::string pairNames(int p) {
    const std::string a = PLAYERNAME(p, 1, NameLength), b = PLAYERNAME(p, 2, NameLength);
    if (a.empty() && b.empty()) return {};
    return CP1250TOUTF8(a + " - " + b);
}

// The strip above the header row, the header row, then `rows` rows of cells
// from the scroll position on.
void drawTable(GwDC& dc, const std::vector<Column>& cols,
               const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& marked) {
    const int width = MainWindow->drawArea()->width();
    const int height = MainWindow->drawArea()->height();
    const int right = width - ScrollWidth;
    const int top = StripHeight;
    GwSetPen(dc, GW_PS_NULL, 0, 0);
    GwSetBrush(dc, GW_BS_SOLID, HeaderBack);
    GwRectangle(dc, 0, top, width, top + RowHeight);
    GwSetTextColor(dc, TextColour);
    GwSetFont(dc, "", ViewFontHeight, 700);
    auto cell = [&](std::size_t c, int y, const std::string& text) {
        if (cols[c].leftText)
            GwTextOut(dc, (c == 0 ? 0 : cols[c - 1].right) + 12, y + 3, text);
        else
            GwTextOut(dc, cols[c].right - 4, y + 3, text, GW_TA_RIGHT);
    };
    for (std::size_t c = 0; c < cols.size(); ++c)
        cell(c, top, cols[c].title);
    GwSetPen(dc, GW_PS_SOLID, 1, LineColour);
    GwLine(dc, 0, top - 1, width, top - 1);
    GwLine(dc, 0, top + RowHeight - 1, width, top + RowHeight - 1);

    const int first = scrollPos();
    int y = top + RowHeight;
    for (int i = first;
         i < static_cast<int>(rows.size()) && y + RowHeight <= height + RowHeight - 1;
         ++i, y += RowHeight) {
        const bool mark =
            i < static_cast<int>(marked.size()) && marked[static_cast<std::size_t>(i)];
        GwSetPen(dc, GW_PS_NULL, 0, 0);
        GwSetBrush(dc, GW_BS_SOLID, mark ? CardBack : (i % 2 ? StripeBack : RowBack));
        GwRectangle(dc, 0, y, right, y + RowHeight);
        GwSetFont(dc, "", ViewFontHeight, mark ? 700 : 400);
        const auto& r = rows[static_cast<std::size_t>(i)];
        if (mark) {
            // A card's heading runs across the columns.
            GwTextOut(dc, 12, y + 3, r.empty() ? std::string() : r[0]);
            continue;
        }
        for (std::size_t c = 0; c < cols.size() && c < r.size(); ++c)
            cell(c, y, r[c]);
    }
}

// The different results of board b, largest group first.
std::vector<std::vector<std::string>> frequencyRows(int b) {
    std::vector<std::vector<std::string>> rows;
    const int k = SETOFBOARD(b);
    if (k == 0 || b > REPORTBOARDS()) return rows;
    const int n = REPORTENTRIES(k);
    std::vector<float> values;
    for (int i = 1; i <= n; ++i)
        values.push_back(RESULTAT(b, i));
    std::vector<int> count, first;
    int m = 0;
    GETFREQUENCIES(n, values, count, first, m);
    const bool mp = CalcType == CALC_MATCHPOINTS;
    for (int g = 0; g < m; ++g) {
        const int i = first[static_cast<std::size_t>(g)];
        std::vector<std::string> row = {
            trimmedLeft(RESULTTEXT(values[static_cast<std::size_t>(i - 1)]))};
        for (int s = 1; s <= 2; ++s)
            row.push_back(trimmedLeft(FWRITE(VALUEAT(BoardPoints, b, i, s), 8, 2, true)));
        if (mp)
            for (int s = 1; s <= 2; ++s)
                row.push_back(
                    trimmedLeft(FWRITE(100.0f * VALUEAT(BoardPercent, b, i, s), 8, 0, true)));
        row.push_back(std::to_string(count[static_cast<std::size_t>(g)]));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<Column> frequencyColumns() {
    if (CalcType == CALC_MATCHPOINTS)
        return {{"Score", 110, false}, {"MP NS", 180, false}, {"MP EW", 250, false},
                {"% NS", 310, false},  {"% EW", 370, false},  {"Results", 450, false}};
    return {{"Score", 110, false},
            {"IMP NS", 190, false},
            {"IMP EW", 270, false},
            {"Results", 350, false}};
}

// The rows of the card of pair p: its heading, one row per board, the total.
void cardRows(int p, std::vector<std::vector<std::string>>& rows, std::vector<bool>& marked) {
    const bool mp = CalcType == CALC_MATCHPOINTS;
    rows.push_back({"For pair: " + pairId(p) + "  " + pairNames(p)});
    marked.push_back(true);
    for (int b = 1; b <= REPORTBOARDS(); ++b) {
        const int k = SETOFBOARD(b);
        for (int i = 1; i <= REPORTENTRIES(k); ++i) {
            const int ns = Movement(k, i, 1), ew = Movement(k, i, 2);
            if (ns != p && ew != p) continue;
            const int side = ns == p ? 1 : 2;
            const int opponent = side == 1 ? ew : ns;
            std::vector<std::string> row = {
                std::to_string(b),
                pairId(ns),
                pairId(ew),
                opponent > 0 ? pairNames(opponent) : "",
                trimmedLeft(RESULTTEXT(RESULTAT(b, i))),
                trimmedLeft(FWRITE(VALUEAT(BoardPoints, b, i, side), 8, 2, true))};
            if (mp)
                row.push_back(
                    trimmedLeft(FWRITE(100.0f * VALUEAT(BoardPercent, b, i, side), 8, 0, true)));
            rows.push_back(std::move(row));
            marked.push_back(false);
        }
    }
    std::vector<std::string> total = {"Total:", "", "",
                                      "",       "", trimmedLeft(FWRITE(PairTotal(p), 8, 2, true))};
    if (mp) total.push_back(trimmedLeft(FWRITE(PairPercent(p), 8, 2, true)));
    rows.push_back(std::move(total));
    marked.push_back(false);
}

std::vector<Column> personalColumns() {
    // Inside the narrowest main window, its scroll bar beside.
    std::vector<Column> c = {{"Brd", 40, false},
                             {"NS", 90, false},
                             {"EW", 140, false},
                             {"Opponents", 400, true},
                             {"Score", 470, false}};
    if (CalcType == CALC_MATCHPOINTS) {
        c.push_back({"MP", 535, false});
        c.push_back({"%", 590, false});
    } else {
        c.push_back({"IMP", 535, false});
    }
    return c;
}

void personalRows(std::vector<std::vector<std::string>>& rows, std::vector<bool>& marked) {
    const int pairs = REPORTPAIRS();
    if (PersonalPair >= 1 && PersonalPair <= pairs) {
        cardRows(PersonalPair, rows, marked);
        return;
    }
    for (int p = 1; p <= pairs; ++p)
        cardRows(p, rows, marked);
}

void drawStripLabel(GwDC& dc, const char* label) {
    GwSetTextColor(dc, TextColour);
    GwSetFont(dc, "", ViewFontHeight, 700);
    GwTextOut(dc, 8, 8, label);
}

} // namespace

int FREQUENCYROWS() {
    return static_cast<int>(frequencyRows(CURRENTBOARD()).size());
}

int PERSONALROWS() {
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> marked;
    personalRows(rows, marked);
    return static_cast<int>(rows.size());
}

std::vector<std::vector<std::string>> FREQUENCYTABLE(int board) {
    return frequencyRows(board);
}

std::vector<std::vector<std::string>> PERSONALTABLE() {
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> marked;
    personalRows(rows, marked);
    return rows;
}

void DRAWFREQUENCY() {
    GwDC dc;
    if (!MainWindow || !TournamentOpen || !GwBeginDraw(dc, &MainWindow->viewBuffer())) return;
    drawStripLabel(dc, "Board:");
    drawTable(dc, frequencyColumns(), frequencyRows(CURRENTBOARD()), {});
    GwEndDraw(dc);
}

void DRAWPERSONAL() {
    GwDC dc;
    if (!MainWindow || !TournamentOpen || !GwBeginDraw(dc, &MainWindow->viewBuffer())) return;
    drawStripLabel(dc, "Pair:");
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> marked;
    personalRows(rows, marked);
    drawTable(dc, personalColumns(), rows, marked);
    GwEndDraw(dc);
}

void ONVIEWFREQUENCY() {
    if (!TournamentOpen || !RECALCIFCHANGED()) return;
    ViewMode = 3;
    SETVIEWSTATE(IDM_FREQUENCY);
    if (CURRENTBOARD() < 1 && EntryWindows.board) GwCtlSetInt(EntryWindows.board, 1);
    EditEntry = 0;
    GwCtlSetInt(EntryWindows.listScroll, 0);
    LAYOUTVIEW();
    REDRAW();
    if (EntryWindows.board) EntryWindows.board->setFocus(Qt::OtherFocusReason);
}

void ONVIEWPERSONAL() {
    if (!TournamentOpen || !RECALCIFCHANGED()) return;
    ViewMode = 4;
    FILLPAIRLIST(); // the names as they stand now
    SETVIEWSTATE(IDM_PERSONAL);
    GwCtlSetInt(EntryWindows.listScroll, 0);
    LAYOUTVIEW();
    REDRAW();
    if (EntryWindows.pairList) EntryWindows.pairList->setFocus(Qt::OtherFocusReason);
}

void ONPAIRLISTCHANGE() {
    int item = 0;
    if (EntryWindows.pairList) GwCtlGetInt(EntryWindows.pairList, item);
    // Item 1 is every pair; then the pairs in number order.
    PersonalPair = item >= 2 ? item - 1 : 0;
    GwCtlSetInt(EntryWindows.listScroll, 0);
    LAYOUTVIEW();
    REDRAW();
}

void FILLPAIRLIST() {
    if (!EntryWindows.pairList) return;
    QWidget* list = EntryWindows.pairList;
    GwCtlSetInt(list, 0, DLG_COUNT);
    CONTROLADDSTRING(list, "All pairs");
    for (int p = 1; p <= REPORTPAIRS(); ++p) {
        const std::string names = pairNames(p);
        CONTROLADDSTRING(list, pairId(p) + (names.empty() ? "" : "  " + names));
    }
    GwCtlSetInt(list, PersonalPair >= 1 ? PersonalPair + 1 : 1);
}
