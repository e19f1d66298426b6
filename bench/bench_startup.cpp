// Start-up of the program's window: from nothing to the first painted frame of the
// main window, on the offscreen platform. Settings and the program folder live in a
// temporary folder.

#include "shell/mainwindow.h"
#include "shell/shell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QApplication& application() {
    static QTemporaryDir folder;
    static int argc = 1;
    static char name[] = "bench_startup";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    qputenv("ORLA_PROGRAM_FOLDER", folder.path().toLocal8Bit());
    static QApplication app(argc, argv);
    return app;
}

void StartupToFirstPaint(benchmark::State& state) {
    application();
    for (auto _ : state) {
        MainFrame* w = STARTUP({});
        QElapsedTimer waited;
        waited.start();
        while (w->drawArea()->paints == 0 && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (w->drawArea()->paints == 0) {
            state.SkipWithError("the main window was never painted");
            SHUTDOWN();
            break;
        }
        state.PauseTiming();
        SHUTDOWN();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(StartupToFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace
