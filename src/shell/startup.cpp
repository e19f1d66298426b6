#include "shell/shell.h"

#include "core/hooks.h"
#include "core/programfolder.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "players/players.h"
#include "players/rating.h"
#include "scoring/compute.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/handdlg.h"
#include "shell/help.h"
#include "shell/hooks.h"
#include "shell/icon.h"
#include "shell/lifecycle.h"
#include "shell/mainwindow.h"
#include "shell/reportcmds.h"
#include "shell/scoringdlg.h"
#include "shell/settings.h"
#include "shell/views.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

#include <algorithm>

MainFrame* MainWindow = nullptr;
std::string StartFolder;
int DrawHeight = 0;

std::string COMMANDLINEFILE(const std::string& commandLine) {
    std::string name = commandLine;
    if (!name.empty() && name[0] == '"') name[0] = ' ';
    if (const auto quote = name.find('"'); quote != std::string::npos) name.resize(quote);
    const auto first = name.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const auto last = name.find_last_not_of(" \t");
    return name.substr(first, last - first + 1);
}

std::string STARTFILE(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& a : arguments)
        line += (line.empty() ? "" : " ") + a;
#ifdef _WIN32
    return COMMANDLINEFILE(line);
#else
    return line;
#endif
}

MainFrame* STARTUP(const std::vector<std::string>& arguments) {
    RESETCOMMANDS();
    READREGISTRY();
    StartFolder = QDir::currentPath().toStdString();
    // ORLA_PROGRAM_FOLDER, when set, names another folder (tests, portable installs);
    // an installed program, whose folder is the system's, keeps the register in
    // the user's data folder.
    SETPROGRAMFOLDER(QCoreApplication::applicationDirPath().toStdString());
    SETHELPLANGUAGE(HELP_SRPSKI);
    INSTALLCOMPUTE();
    INSTALLRATING();
    INSTALLUIHOOKS();
    LOADPLAYERS();
    QApplication::setWindowIcon(PROGRAMICON());

    MainWindow = new MainFrame;
    TOURNAMENTMENUS(false, false);
    UPDATERECENTMENU();
    // Centred on the screen's free area, and never beyond its top or left edge,
    // where the menus could not be reached; once more when the frame is known.
    const auto place = [] {
        const QRect free = MainWindow->screen()->availableGeometry();
        const QSize outer = MainWindow->frameGeometry().size();
        const QPoint at(std::max(free.x(), free.x() + (free.width() - outer.width()) / 2),
                        std::max(free.y(), free.y() + (free.height() - outer.height()) / 2));
        if (MainWindow->pos() != at) MainWindow->move(at);
    };
    place();
    MainWindow->show();
    MainWindow->FITTOSCREEN();
    place();

    const std::string file = ABSOLUTEPATH(STARTFILE(arguments));
    if (!file.empty()) {
        OPENTOURNAMENTFILE(file);
    } else {
        SETSAVE(false);
    }
    REDRAW();
    return MainWindow;
}

void SHUTDOWN() {
    CLOSEHELP();
    CLOSEHANDDIAGRAM();
    CLOSESCORINGWINDOW();
    // The entry windows go with the main window; nothing may point at them after.
    DESTROYENTRYWINDOWS();
    if (MainWindow) {
        MainWindow->closeWithoutAsking();
        delete MainWindow;
        MainWindow = nullptr;
    }
    RESETHOOKS();
    RESETTOURNAMENTSTATE();
    RESETPLAYERS();
    RESETSETTINGS();
    RESETCOMMANDS();
    RESETREPORTCOMMANDS();
    HandDiagramWindow = nullptr;
    DrawHeight = 0;
}

int ORLAMAIN(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("ORLA");
    std::vector<std::string> arguments;
    // Qt has taken its own options out of argv.
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(QString::fromLocal8Bit(argv[i]).toStdString());
    STARTUP(arguments);
    const int code = QApplication::exec();
    // The hand diagrams' solver thread is stopped and waited for before anything
    // it may still touch goes away.
    CLOSEHANDDIAGRAM();
    delete MainWindow;
    MainWindow = nullptr;
    return code;
}
