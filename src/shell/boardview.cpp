// The board-list view: the traveller of one board with its board selector, the
// "Faulty" box and the OK button above it, results typed into its rows.
#include "core/hooks.h"
#include "core/results.h"
#include "core/tournament.h"
#include "movement/custom.h"
#include "scoring/scoring.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/palette.h"
#include "shell/recalc.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "shell/views.h"
#include "winsupport/gwctl.h"
#include "winsupport/gwgdi.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

void PLACERESULTFIELDS(int top);
void EDITRESULTROW(int entry);

namespace {

const bool drawerReady = (ViewDrawers[2] = DRAWBOARD, true);


struct Column {
    const char* title;
    int left, right;
};

// The columns: pairs, score, then the points of both sides and for a Berger
// the match totals.
std::vector<Column> columns() {
    std::vector<Column> c = {{"NS", 16, 50}, {"EW", 54, 90}, {"Score", 100, 196}};
    int x = 200;
    auto add = [&](const char* title, int w) {
        c.push_back({title, x, x + w});
        x += w;
    };
    if (CalcType == CALC_MATCHPOINTS) {
        add("MP NS", 60);
        add("MP EW", 60);
        add("% NS", 60);
        add("% EW", 60);
        if (MovementType == MOVE_BERGER) add("Match MP", 110);
    } else {
        add("IMP NS", 64);
        add("IMP EW", 64);
        if (MovementType == MOVE_BERGER) {
            add("Match IMP", 100);
            add("Match VP", 100);
        }
    }
    return c;
}

std::string fixed(float v, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(v));
    return buf;
}

int setOf(int board) {
    return BoardsPerRound > 0 ? (board + BoardsPerRound - 1) / BoardsPerRound : 0;
}

int entriesOf(int board) {
    const int k = setOf(board);
    return k >= 1 && SetEntries.allocated() && k <= SetEntries.extent(1) ? SetEntries(k) : 0;
}

int listScrollPos() {
    int pos = 0;
    bool shown = false;
    if (EntryWindows.listScroll && GwCtlGetLog(EntryWindows.listScroll, shown, DLG_VISIBLE) &&
        shown)
        GwCtlGetInt(EntryWindows.listScroll, pos);
    return pos;
}

// The 9 x 9 mark of a result that cannot occur at the board's vulnerability.
void drawImpossibleMark(GwDC& dc, int x, int y) {
    GwSetPen(dc, GW_PS_NULL, 0, 0);
    GwSetBrush(dc, GW_BS_SOLID, WarnColour);
    GwRectangle(dc, x, y, x + 9, y + 9);
    GwSetPen(dc, GW_PS_SOLID, 1, GW_RGB(255, 255, 255));
    GwLine(dc, x + 4, y + 2, x + 4, y + 5);
    GwLine(dc, x + 4, y + 6, x + 4, y + 7);
}

} // namespace

std::vector<std::string> BOARDHEADER() {
    std::vector<std::string> out;
    for (const Column& c : columns())
        out.emplace_back(c.title);
    return out;
}

std::vector<std::string> BOARDROW(int board, int entry) {
    const int k = setOf(board);
    auto pairText = [&](int side) {
        const int p = Movement(k, entry, side);
        return p >= 1 ? PAIRTEXT(p) : std::string("-");
    };
    const float v = Results(board, entry);
    const DecodedResult r = DECODERESULT(v);
    std::string score;
    switch (r.form) {
    case RESULT_NONE:
        break;
    case RESULT_ORDINARY:
        score = std::to_string(r.score);
        break;
    case RESULT_INVERTED:
        score = "inv. " + std::to_string(r.score);
        break;
    case RESULT_ADJUSTED:
        score = CalcType == CALC_MATCHPOINTS
                    ? "A " + std::to_string(r.adjustedNS * 10) + "%/" +
                          std::to_string(r.adjustedEW * 10) + "%"
                    : "A " + std::to_string(r.adjustedNS) + "/" + std::to_string(r.adjustedEW);
        break;
    }
    std::vector<std::string> out = {pairText(1), pairText(2), score};
    const bool played = r.form != RESULT_NONE && ISTRUE(BoardValid(board));
    auto points = [&](float value, int d) { return played ? fixed(value, d) : std::string(); };
    if (CalcType == CALC_MATCHPOINTS) {
        out.push_back(points(BoardPoints(board, entry, 1), 1));
        out.push_back(points(BoardPoints(board, entry, 2), 1));
        // The share of the top as a whole percentage, halves rounded up.
        auto percent = [&](int side) {
            return played ? std::to_string(std::lround(BoardPercent(board, entry, side) * 100.0))
                          : std::string();
        };
        out.push_back(percent(1));
        out.push_back(percent(2));
        if (MovementType == MOVE_BERGER)
            out.push_back(fixed(MatchPoints(k, entry, 1), 1) + " : " +
                          fixed(MatchPoints(k, entry, 2), 1));
    } else {
        out.push_back(points(BoardPoints(board, entry, 1), 1));
        out.push_back(points(BoardPoints(board, entry, 2), 1));
        if (MovementType == MOVE_BERGER) {
            out.push_back(fixed(MatchPoints(k, entry, 1), 1) + " : " +
                          fixed(MatchPoints(k, entry, 2), 1));
            out.push_back(fixed(MatchVP(k, entry, 1), 0) + " : " + fixed(MatchVP(k, entry, 2), 0));
        }
    }
    return out;
}

void DRAWBOARD() {
    GwDC dc;
    if (!MainWindow || !TournamentOpen || !GwBeginDraw(dc, &MainWindow->viewBuffer())) return;
    const int width = MainWindow->drawArea()->width();
    const int height = MainWindow->drawArea()->height();
    const int right = width - ScrollWidth;
    const int b = CURRENTBOARD();

    // The strip: board selector, Faulty and OK are windows over it; the datum
    // of an IMP board and the board's vulnerability are drawn.
    GwSetTextColor(dc, TextColour);
    GwSetFont(dc, "", ViewFontHeight, 700);
    GwTextOut(dc, 8, 8, "Board:");
    GwSetFont(dc, "", ViewFontHeight, 400);
    if (b >= 1) {
        static const char* const zones[] = {"None vulnerable", "NS vulnerable", "EW vulnerable",
                                            "Both vulnerable"};
        const int zone = std::clamp(GETBOARDZONE(b), 0, 3);
        int x = 284;
        if (CalcType != CALC_MATCHPOINTS) {
            GwSetFont(dc, "", ViewFontHeight, 700);
            GwTextOut(dc, x, 8, "Avg:");
            const int w = GwGetTextExtent(dc, "Avg:").cx;
            GwSetFont(dc, "", ViewFontHeight, 400);
            GwTextOut(dc, x + w + 4, 8, fixed(CALCIMPAVERAGE(b), 0));
            x += w + 56;
        }
        GwSetTextColor(dc, DimColour);
        GwTextOut(dc, x, 8, zones[zone]);
        if (!ISTRUE(BoardValid(b))) {
            GwSetTextColor(dc, WarnColour);
            GwSetFont(dc, "", ViewFontHeight, 700);
            GwTextOut(dc, right - 6, 8, "Faulty board: not scored", GW_TA_RIGHT);
        }
    }

    // Header row.
    const int top = StripHeight;
    const std::vector<Column> cols = columns();
    GwSetPen(dc, GW_PS_NULL, 0, 0);
    GwSetBrush(dc, GW_BS_SOLID, HeaderBack);
    GwRectangle(dc, 0, top, width, top + RowHeight);
    GwSetTextColor(dc, TextColour);
    GwSetFont(dc, "", ViewFontHeight, 700);
    for (const Column& c : cols)
        GwTextOut(dc, c.right - 4, top + 3, c.title, GW_TA_RIGHT);
    GwSetPen(dc, GW_PS_SOLID, 1, LineColour);
    GwLine(dc, 0, top - 1, width, top - 1);
    GwLine(dc, 0, top + RowHeight - 1, width, top + RowHeight - 1);

    int fieldTop = -1;
    if (b >= 1) {
        const int k = setOf(b);
        const int zone = GETBOARDZONE(b);
        const int n = entriesOf(b);
        const int first = listScrollPos() + 1;
        GwSetFont(dc, "", ViewFontHeight, 400);
        // Whole rows only, since a row cut by the window's edge would show half its
        // text; but always the first, the one typed into when the window is lowest.
        for (int i = first, y = top + RowHeight;
             i <= n && (y + RowHeight <= height || (i == first && y < height));
             ++i, y += RowHeight) {
            const bool edited = i == EditEntry;
            GwSetPen(dc, GW_PS_NULL, 0, 0);
            GwSetBrush(dc, GW_BS_SOLID, edited ? EditBack : (i % 2 ? RowBack : StripeBack));
            GwRectangle(dc, 0, y, right, y + RowHeight);
            if (edited) {
                GwSetBrush(dc, GW_BS_SOLID, EditMark);
                GwRectangle(dc, 0, y, 3, y + RowHeight);
                fieldTop = y;
            }
            const std::vector<std::string> cells = BOARDROW(b, i);
            GwSetTextColor(dc, ISTRUE(BoardValid(b)) ? TextColour : DimColour);
            for (std::size_t c = 0; c < cols.size() && c < cells.size(); ++c) {
                if (edited && c == 2) continue; // the result fields lie there
                GwTextOut(dc, cols[c].right - 4, y + 3, cells[c], GW_TA_RIGHT);
            }
            const DecodedResult r = DECODERESULT(Results(b, i));
            if ((r.form == RESULT_ORDINARY || r.form == RESULT_INVERTED) &&
                !ISRESULTPOSSIBLE(r.score, zone))
                drawImpossibleMark(dc, 5, y + 3);
            (void)k;
        }
    }
    GwEndDraw(dc);
    PLACERESULTFIELDS(EditEntry >= 1 ? fieldTop : -1);
}

namespace {
// The board the list showed last: it is scored when another board is chosen.
int ShownBoard = 0;
} // namespace

void ONTABCHANGE() {
    const int b = CURRENTBOARD();
    if (b < 1) return;
    if (ShownBoard != b && ShownBoard >= 1 && ShownBoard <= NumBoards) CALCULATEBOARD(ShownBoard);
    ShownBoard = b;
    GwCtlSetLog(EntryWindows.faulty, !ISTRUE(BoardValid(b)));
    GwCtlSetInt(EntryWindows.listScroll, 0);
    LAYOUTVIEW();
    if (ISTRUE(BoardValid(b)) && entriesOf(b) >= 1) {
        EDITRESULTROW(1);
    } else {
        EditEntry = 0;
        REDRAW();
        if (EntryWindows.ok) EntryWindows.ok->setFocus(Qt::OtherFocusReason);
    }
}

void ONVIEWBOARDLISTS() {
    if (!TournamentOpen || !RECALCIFCHANGED()) return;
    ViewMode = 2;
    SETVIEWSTATE(IDM_BOARDLISTS);
    if (CURRENTBOARD() < 1 && EntryWindows.board) GwCtlSetInt(EntryWindows.board, 1);
    ONTABCHANGE();
}

void ONBOARDOK() {
    const int b = CURRENTBOARD();
    if (b < 1) return;
    if (!READRESULT()) return;
    CALCULATEBOARD(b);
    EditEntry = 0;
    if (b < NumBoards) {
        GwCtlSetInt(EntryWindows.board, b + 1);
        ONTABCHANGE();
    } else {
        REDRAW();
        SETSTATUS(2, "Board " + std::to_string(b) + " was the last board.");
    }
}

void ONBOARDSCROLL() {
    REDRAW();
}
