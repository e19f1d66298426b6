#include "shell/views.h"

#include "core/cp1250.h"
#include "core/tournament.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "winsupport/gwgdi.h"

#include <QPalette>

void (*ViewDrawers[5])() = {};

std::string TOURNAMENTTITLE() {
    const std::string name = CP1250TOUTF8(FIELDTEXT(Header.TournamentName, TournamentNameLength));
    return name.empty() ? TournamentFileTitle : name;
}

void DRAWTOURNAMENTSUMMARY() {
    GwDC dc;
    if (!MainWindow || !GwBeginDraw(dc, &MainWindow->viewBuffer())) return;
    const int width = MainWindow->drawArea()->width();
    // A title band with the tournament's name, then its particulars.
    GwSetPen(dc, GW_PS_NULL, 0, 0);
    GwSetBrush(dc, GW_BS_SOLID, GW_RGB(0x1d, 0x6b, 0x3a));
    GwRectangle(dc, 0, 0, width, 28);
    GwSetTextColor(dc, GW_RGB(255, 255, 255));
    GwSetFont(dc, "", 17, 700);
    GwTextOut(dc, 12, 5, TOURNAMENTTITLE());

    GwSetTextColor(dc, GW_RGB(0, 0, 0));
    const std::pair<std::string, std::string> rows[] = {
        {"Movement", MovementNames[MovementType >= 1 && MovementType <= 4 ? MovementType : 0]},
        {"Calculation", CalcNames[CalcType >= 1 && CalcType <= 3 ? CalcType : 0]},
        {"Pairs", std::to_string(NumPairs)},
        {"Tables", std::to_string(NumTables)},
        {"Rounds", std::to_string(NumRounds)},
        {"Boards", std::to_string(NumBoards) + " (" + std::to_string(BoardsPerRound) + " a round)"},
        {"File", HasFileName ? TournamentFileTitle : std::string("not saved yet")},
    };
    int y = 44;
    for (const auto& [label, value] : rows) {
        GwSetFont(dc, "", 14, 700);
        GwTextOut(dc, 16, y, label + ":");
        GwSetFont(dc, "", 14, 400);
        GwTextOut(dc, 130, y, value);
        y += 22;
    }
    GwEndDraw(dc);
}

void REDRAWVIEW() {
    if (!MainWindow) return;
    QPixmap& buffer = MainWindow->viewBuffer();
    buffer.fill(MainWindow->palette().color(QPalette::Window));
    if (TournamentOpen) {
        void (*draw)() = ViewMode >= 1 && ViewMode <= 4 ? ViewDrawers[ViewMode] : nullptr;
        if (draw)
            draw();
        else
            DRAWTOURNAMENTSUMMARY();
    }
    MainWindow->drawArea()->update();
}
