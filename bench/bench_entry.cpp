// Result entry on a big evening: 100 pairs, 75 boards (a Berger of 25 rounds of
// 3 boards, 50 tables, so every board has 50 rows). Measured on the offscreen
// platform from the key press to the painted view:
//   - a digit typed into the result field;
//   - Enter in the result field: the result is read, the next row is edited and
//     the board list is drawn again;
//   - Enter on OK: the board is scored and the next board is shown.
// Settings and the program folder live in a temporary folder.

#include "core/results.h"
#include "core/tournament.h"
#include "scoring/compute.h"
#include "scoring/scoring.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "winsupport/gwctl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QApplication& application() {
    static QTemporaryDir folder;
    static int argc = 1;
    static char name[] = "bench_entry";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    qputenv("ORLA_PROGRAM_FOLDER", folder.path().toLocal8Bit());
    static QApplication app(argc, argv);
    return app;
}

// The program started with the big tournament open in the board-list view,
// every result typed and every board scored.
bool openBigEvening(int calc) {
    application();
    if (!MainWindow) STARTUP({});
    DEFAULTHEADER();
    MovementType = MOVE_BERGER;
    CalcType = calc;
    NumPairs = 100;
    BoardsPerRound = 3;
    NumRounds = 25;
    NumBoards = 75;
    if (!CREATETOURNAMENT()) return false;
    static const int scores[] = {42, 45, 17, 50, -10, -20, 14, 62, 66, 11, -5, 40, 12, 43, 18};
    for (int b = 1; b <= NumBoards; ++b)
        for (int i = 1; i <= SetEntries((b + 2) / 3); ++i)
            Results(b, i) = static_cast<float>(scores[(b * 7 + i * 3) % 15]);
    for (int b = 1; b <= NumBoards; ++b)
        CALCULATEBOARD(b);
    CALCALL();
    MainWindow->activateWindow();
    ONCOMMAND(IDM_BOARDLISTS);
    QCoreApplication::processEvents();
    return CURRENTBOARD() == 1 && EditEntry == 1;
}

void closeEvening() {
    SHUTDOWN();
    QCoreApplication::processEvents();
}

void press(QWidget* w, int key, const QString& text = {}) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &e);
    QKeyEvent r(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &r);
}

// Runs the event loop until the drawing area has been painted once more.
bool waitForPaint(int before) {
    QElapsedTimer waited;
    waited.start();
    while (MainWindow->drawArea()->paints == before && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return MainWindow->drawArea()->paints != before;
}

void DigitInResultField(benchmark::State& state) {
    if (!openBigEvening(static_cast<int>(state.range(0)))) {
        state.SkipWithError("the tournament could not be set up");
        return;
    }
    auto* field = static_cast<QLineEdit*>(EntryWindows.field[1]);
    for (auto _ : state) {
        press(field, Qt::Key_4, "4");
        field->repaint(); // the field shows the digit now
        state.PauseTiming();
        if (field->text().size() >= 3) field->clear();
        state.ResumeTiming();
    }
    closeEvening();
}

void EnterInResultField(benchmark::State& state) {
    if (!openBigEvening(static_cast<int>(state.range(0)))) {
        state.SkipWithError("the tournament could not be set up");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (EditEntry < 1) ONTABCHANGE(); // past the last row: back to row 1
        auto* field = static_cast<QLineEdit*>(EntryWindows.field[1]);
        field->setText("42");
        QCoreApplication::processEvents();
        const int before = MainWindow->drawArea()->paints;
        state.ResumeTiming();
        press(field, Qt::Key_Return);
        if (!waitForPaint(before)) {
            state.SkipWithError("the board list was not painted");
            break;
        }
    }
    closeEvening();
}

void OkScoresTheBoard(benchmark::State& state) {
    if (!openBigEvening(static_cast<int>(state.range(0)))) {
        state.SkipWithError("the tournament could not be set up");
        return;
    }
    int board = 1;
    for (auto _ : state) {
        state.PauseTiming();
        GwCtlSetInt(EntryWindows.board, board);
        ONTABCHANGE();
        QCoreApplication::processEvents();
        const int before = MainWindow->drawArea()->paints;
        state.ResumeTiming();
        press(EntryWindows.ok, Qt::Key_Return);
        if (!waitForPaint(before) || CURRENTBOARD() != board + 1) {
            state.SkipWithError("OK did not show the next board");
            break;
        }
        board = board % (NumBoards - 1) + 1;
    }
    closeEvening();
}

} // namespace

BENCHMARK(DigitInResultField)
    ->Arg(CALC_MATCHPOINTS)
    ->Arg(CALC_IMPS)
    ->ArgName("calc")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(EnterInResultField)
    ->Arg(CALC_MATCHPOINTS)
    ->Arg(CALC_IMPS)
    ->ArgName("calc")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(OkScoresTheBoard)
    ->Arg(CALC_MATCHPOINTS)
    ->Arg(CALC_IMPS)
    ->ArgName("calc")
    ->Unit(benchmark::kMillisecond);
