// The program's window driven as a user would: start-up, the File commands with
// their questions, the recent files, the settings, the menu states and the help.
// Settings and the program folder live in temporary folders; every dialog answers
// through the window support layer's test seams.

#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "shell/commands.h"
#include "shell/help.h"
#include "shell/lifecycle.h"
#include "shell/mainwindow.h"
#include "shell/settings.h"
#include "shell/shell.h"
#include "shell/views.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwmenu.h"
#include "winsupport/gwmessage.h"
#include "winsupport/gwseam.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <cstring>
#include <functional>

class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    QTemporaryDir programDir_;
    std::unique_ptr<QTemporaryDir> files_;
    QString startCwd_;

    // A path in this case's folder of tournament files.
    std::string path(const QString& name) { return (files_->path() + "/" + name).toStdString(); }

    // Starts the program with `arguments`, the seams already on.
    MainFrame* start(const std::vector<std::string>& arguments = {}) { return STARTUP(arguments); }

    // File > New with the properties dialog answered OK as it opens (10 pairs,
    // Mitchell, 3 boards a round).
    static void newTournament() {
        GwSeamOnNextModal([](DialogRecord& dlg) {
            if (auto* ok = dlg.window->findChild<QAbstractButton*>("1")) ok->click();
        });
        ONFILENEW();
    }

    // A new tournament saved as `name`; returns its path.
    std::string saveNew(const QString& name) {
        newTournament();
        const std::string p = path(name);
        GwSeamNextFileName(p);
        ONFILESAVE();
        return p;
    }

    static std::string title() { return MainWindow->windowTitle().toStdString(); }

    static LogFont storedFont(const char* key) {
        LogFont f{};
        const QByteArray bytes = QSettings("ORLA", "0.9").value(key).toByteArray();
        if (bytes.size() == sizeof f) std::memcpy(&f, bytes.constData(), sizeof f);
        return f;
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid() && programDir_.isValid());
        // Never the user's own settings or folder.
        qputenv("XDG_CONFIG_HOME", settingsDir_.path().toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_.path());
        qputenv("ORLA_PROGRAM_FOLDER", programDir_.path().toLocal8Bit());
        // Closing the main window in a case must not end the test program.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void init() {
        QSettings("ORLA", "0.9").clear();
        files_ = std::make_unique<QTemporaryDir>();
        // Help > English writes the statistics into the start folder: the case's own.
        startCwd_ = QDir::currentPath();
        QDir::setCurrent(files_->path());
        GwSeamStart();
    }

    void cleanup() {
        SHUTDOWN();
        GwSeamStop();
        QDir::setCurrent(startCwd_);
        files_.reset();
    }

    void startsWithNoTournament() {
        MainFrame* w = start();
        QCOMPARE(title(), std::string("ORLA"));
        QVERIFY(!TournamentOpen);
        QVERIFY(QDir(QString::fromStdString(ProgramFolder)) == QDir(programDir_.path()));
        for (int id : {IDM_FILESAVE, IDM_FILESAVEAS, IDM_PRINT, IDM_EXPORTTEXT, IDM_EXPORTHTML,
                       IDM_CHECKNAMES, IDM_SORTBYLINES, IDM_BOARDLISTS, IDM_PROPERTIES,
                       IDM_HANDDIAGRAMS, IDM_ADJUSTED, IDM_PENALTY}) {
            QVERIFY2(!COMMANDENABLED(id), qPrintable(QString::number(id)));
            QVERIFY(!ONCOMMAND(id));
        }
        for (int id : {IDM_FILENEW, IDM_FILEOPEN, IDM_HELPCONTENTS, IDM_HELPCONTEXT, IDM_ABOUT,
                       IDM_SRPSKI, IDM_ENGLISH})
            QVERIFY2(COMMANDENABLED(id), qPrintable(QString::number(id)));
        QVERIFY(COMMANDCHECKED(IDM_SRPSKI) && !COMMANDCHECKED(IDM_ENGLISH));
        // The menu shows the same: gray items and popups.
        QMenuBar* menu = w->menuBar();
        QVERIFY(!w->action(IDM_FILESAVE)->isEnabled());
        QVERIFY(w->action(IDM_FILENEW)->isEnabled());
        QCOMPARE(w->action(IDM_FILENEW)->shortcut(), QKeySequence("Ctrl+N"));
        QCOMPARE(w->action(IDM_PROPERTIES)->shortcut(), QKeySequence("Alt+Return"));
        QCOMPARE(w->action(IDM_HELPCONTEXT)->shortcut(), QKeySequence("F1"));
        QCOMPARE(menu->actions().size(), 5);
        QVERIFY(!menu->actions().at(MENU_VIEW)->isEnabled());
        QVERIFY(!menu->actions().at(MENU_OPTIONS)->isEnabled());
        QVERIFY(menu->actions().at(MENU_PLAYERS)->isEnabled());
        // An empty tournament area: the picture is all background.
        const QImage picture = w->drawArea()->grab().toImage();
        QCOMPARE(picture.pixelColor(10, 10), w->palette().color(QPalette::Window));
        QCOMPARE(picture.pixelColor(300, 100), w->palette().color(QPalette::Window));
    }

    void windowKeepsItsSizeRules() {
        MainFrame* w = start();
        QCOMPARE(w->width(), 640);
        w->resize(900, 50);
        QCOMPARE(w->width(), 640);
        QCOMPARE(w->height(), 100);
        // At most as high as the free area, frame included.
        const int screenHeight = w->screen()->availableGeometry().height();
        w->resize(640, screenHeight + 500);
        QCOMPARE(w->frameGeometry().height(), screenHeight);
        w->resize(640, 405);
        // The status bar: parts at least 80 and 100 wide (wider when the font
        // needs it for the longest figures), the third to the window's edge.
        auto* p1 = w->findChild<QLabel*>("StatusPart1");
        auto* p2 = w->findChild<QLabel*>("StatusPart2");
        auto* p3 = w->findChild<QLabel*>("StatusPart3");
        QVERIFY(p1->geometry().right() + 1 >= 80);
        QVERIFY(p2->width() >= 100);
        QCOMPARE(p2->geometry().left(), p1->geometry().right() + 1);
        QCOMPARE(p3->geometry().left(), p2->geometry().right() + 1);
        QCOMPARE(p3->geometry().right() + 1, w->width());
        QCOMPARE(DrawHeight, w->centralWidget()->height() - 20);
        SETSTATUS(2, "Top: 8");
        QCOMPARE(p3->text(), QString("Top: 8"));
    }

    void commandLineNamesAFile_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << "t.otr"
                               << "t.otr";
        QTest::newRow("quoted with blanks") << "\"C:\\My files\\Club 1.otr\""
                                            << "C:\\My files\\Club 1.otr";
        QTest::newRow("text after the quote") << "\"a b.otr\" -x"
                                              << "a b.otr";
        QTest::newRow("blanks around") << "   a b.otr  "
                                       << "a b.otr";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("only quotes") << "\"\""
                                     << "";
    }
    void commandLineNamesAFile() {
        QFETCH(QString, line);
        QFETCH(QString, file);
        QCOMPARE(COMMANDLINEFILE(line.toStdString()), file.toStdString());
    }

    void startsWithAQuotedPathWithBlanks() {
        QVERIFY(QDir(files_->path()).mkpath("club nights"));
        start();
        const std::string p = saveNew("club nights/monday pairs.otr");
        QVERIFY(QFile::exists(QString::fromStdString(p)));
        SHUTDOWN();
        // One argument, or the words of a name the shell split at its blanks;
        // Windows passes one command line, with quotes around the name.
        std::vector<std::vector<std::string>> lines = {
            {p}, {p.substr(0, p.find(' ')), p.substr(p.find(' ') + 1)}};
#ifdef _WIN32
        lines.push_back({"\"" + p + "\""});
#endif
        for (const auto& arguments : lines) {
            start(arguments);
            QVERIFY(TournamentOpen);
            QCOMPARE(title(), std::string("ORLA - monday pairs.otr"));
            QCOMPARE(NumPairs, 10);
            QCOMPARE(RecentFiles[0], p);
            QVERIFY(COMMANDENABLED(IDM_FILESAVE));
            SHUTDOWN();
        }
    }

    void newSaveCloseOpenRoundTrip() {
        MainFrame* w = start();
        newTournament();
        QVERIFY(TournamentOpen);
        QCOMPARE(title(), std::string("ORLA - [Untitled]*"));
        QCOMPARE(NumPairs, 10);
        QCOMPARE(NumBoards, 15);
        QCOMPARE(NumRounds, 5);
        QCOMPARE(NumTables, 5);
        QCOMPARE(ViewMode, 1);
        QCOMPARE(SortByPlacement, 0);
        QVERIFY(COMMANDENABLED(IDM_FILESAVE) && COMMANDENABLED(IDM_FILESAVEAS));
        QVERIFY(w->menuBar()->actions().at(MENU_VIEW)->isEnabled());

        // Save of a tournament that has no file asks for one.
        const std::string first = path("first.otr");
        GwSeamNextFileName(first);
        QVERIFY(ONCOMMAND(IDM_FILESAVE));
        QCOMPARE(GwSeamLastFileDialog().save, true);
        QCOMPARE(GwSeamLastFileDialog().title, std::string("Save"));
        QCOMPARE(GwSeamLastFileDialog().defaultExt, std::string("otr"));
        QCOMPARE(GwSeamLastFileDialog().filters.at(0), std::string("ORLA turniri (*.otr)"));
        QCOMPARE(title(), std::string("ORLA - first.otr"));
        QVERIFY(!Modified && HasFileName);
        QVERIFY(QFile::exists(QString::fromStdString(first)));
        QCOMPARE(RecentFiles[0], first);

        // Changes, then Save writes without asking.
        SETFIELD(PlayerNames(3, 1).c, NameLength, "Ana Petrovic");
        SETSAVE(true);
        QCOMPARE(title(), std::string("ORLA - first.otr*"));
        QVERIFY(ONCOMMAND(IDM_FILESAVE));
        QVERIFY(!Modified);

        // Save As writes a second file, which becomes the tournament's.
        const std::string second = path("second.otr");
        GwSeamNextFileName(second);
        QVERIFY(ONCOMMAND(IDM_FILESAVEAS));
        QCOMPARE(title(), std::string("ORLA - second.otr"));
        QCOMPARE(TournamentFile, second);
        QCOMPARE(RecentFiles[0], second);
        QCOMPARE(RecentFiles[1], first);

        QVERIFY(ONFILECLOSE());
        QVERIFY(!TournamentOpen);
        QCOMPARE(title(), std::string("ORLA"));
        QVERIFY(!COMMANDENABLED(IDM_FILESAVE) && !COMMANDENABLED(IDM_SORTBYLINES));

        GwSeamNextFileName(first);
        QVERIFY(ONCOMMAND(IDM_FILEOPEN));
        QCOMPARE(GwSeamLastFileDialog().title, std::string("Open"));
        QCOMPARE(GwSeamLastFileDialog().save, false);
        QVERIFY(TournamentOpen);
        QCOMPARE(title(), std::string("ORLA - first.otr"));
        QCOMPARE(FIELDTEXT(PlayerNames(3, 1).c, NameLength), std::string("Ana Petrovic"));
        // A file opens in the pairs view sorted by placement.
        QCOMPARE(ViewMode, 1);
        QCOMPARE(SortByPlacement, 1);
        QCOMPARE(RecentFiles[0], first);
        QCOMPARE(RecentFiles[1], second);
        QVERIFY(GwSeamMessages().empty());

        // A cancelled Open changes nothing.
        GwSeamNextFileCancel();
        ONFILEOPEN();
        QCOMPARE(TournamentFile, first);
        QVERIFY(TournamentOpen);
    }

    // Every command that would lose unsaved changes asks first; Yes saves, No
    // discards, Yes with the save not done and Cancel (Escape) stop the command.
    void unsavedChangesAreAskedFor_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveTo"); // "" cancels Save As, "bad" a folder that is not
        QTest::addColumn<bool>("kept");
        const char* commands[] = {"new",  "open",       "close",     "recent",
                                  "exit", "close menu", "exit menu"};
        for (const char* c : commands)
            QTest::newRow(qPrintable(QString(c) + ": cancel")) << c << int(GW_IDCANCEL) << "" << true;
        QTest::newRow("statistics: cancel") << "statistics" << int(GW_IDCANCEL) << "" << true;
        QTest::newRow("english: cancel") << "english" << int(GW_IDCANCEL) << "" << true;
        for (const char* c : commands) {
            QTest::newRow(qPrintable(QString(c) + ": no")) << c << int(GW_IDNO) << "" << false;
            QTest::newRow(qPrintable(QString(c) + ": yes"))
                << c << int(GW_IDYES) << "saved.otr" << false;
            QTest::newRow(qPrintable(QString(c) + ": yes, save as cancelled"))
                << c << int(GW_IDYES) << "" << true;
            QTest::newRow(qPrintable(QString(c) + ": yes, write failed"))
                << c << int(GW_IDYES) << "bad" << true;
        }
    }
    void unsavedChangesAreAskedFor() {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(QString, saveTo);
        QFETCH(bool, kept);
        MainFrame* w = start();
        const std::string other = saveNew("other.otr");
        QVERIFY(ONFILECLOSE());
        newTournament();
        SETFIELD(PlayerNames(1, 1).c, NameLength, "Unsaved Name");
        SETSAVE(true);

        GwSeamNextAnswer(answer);
        std::string target;
        if (answer == GW_IDYES) {
            if (saveTo.isEmpty()) {
                GwSeamNextFileCancel();
            } else {
                target = saveTo == "bad" ? path("no such folder/x.otr") : path(saveTo);
                GwSeamNextFileName(target);
            }
        }
        // The Open dialog comes after the question.
        if (command == "open") GwSeamNextFileName(other);
        // The statistics ask after their own dialogs; Help > English only when
        // the season's folder and snapshot are there.
        QDir(QString::fromStdString(path(""))).mkpath("2002");
        QFile snapshot(QString::fromStdString(path("Players20020102.opd")));
        QVERIFY(snapshot.open(QIODevice::WriteOnly));
        snapshot.close();
        StartFolder = path("");
        if (command == "statistics") {
            GwSeamNextFolder(path("2002"));
            GwSeamNextFileName(path("Players20020102.opd"));
        }
        if (command == "new")
            ONCOMMAND(IDM_FILENEW);
        else if (command == "open")
            ONCOMMAND(IDM_FILEOPEN);
        else if (command == "close")
            ONFILECLOSE();
        else if (command == "recent")
            ONCOMMAND(IDM_RECENT1);
        else if (command == "close menu")
            QVERIFY(ONCOMMAND(IDM_FILECLOSE));
        else if (command == "exit menu")
            QVERIFY(ONCOMMAND(IDM_EXIT));
        else if (command == "statistics")
            QVERIFY(ONCOMMAND(IDM_STATISTICS));
        else if (command == "english")
            QVERIFY(ONCOMMAND(IDM_ENGLISH));
        else
            w->close();

        QCOMPARE(GwSeamMessages().at(0).text,
                 std::string("Do you want to save changes to the file?"));
        QCOMPARE(GwSeamMessages().at(0).caption, std::string("Question"));
        QCOMPARE(GwSeamMessages().at(0).kind, int(GW_MB_QUESTIONCANCEL));
        if (answer == GW_IDCANCEL) {
            // Nothing else happened: no dialog, no file, the language as it was.
            QCOMPARE(GwSeamMessages().size(), size_t(1));
            QCOMPARE(TournamentFile, std::string());
            QVERIFY(!QFile::exists(QString::fromStdString(path("Stat.txt"))));
            QVERIFY(COMMANDCHECKED(IDM_SRPSKI));
            if (command == "open") QCOMPARE(GwSeamLastFileDialog().title, std::string("Save"));
        }
        if (kept) {
            // Still the same tournament, with its changes, and the program still there.
            QVERIFY(TournamentOpen && Modified);
            QCOMPARE(FIELDTEXT(PlayerNames(1, 1).c, NameLength), std::string("Unsaved Name"));
            QCOMPARE(title(), std::string("ORLA - [Untitled]*"));
            QVERIFY(w->isVisible());
            if (saveTo == "bad") QCOMPARE(GwSeamMessages().back().caption, std::string("Error"));
        } else {
            QCOMPARE(GwSeamMessages().size(), size_t(1));
            QCOMPARE(QFile::exists(QString::fromStdString(path("saved.otr"))), answer == GW_IDYES);
            if (command.startsWith("close") || command.startsWith("exit")) QVERIFY(!TournamentOpen);
            QCOMPARE(w->isVisible(), !command.startsWith("exit"));
        }
    }

    void noQuestionWithoutChanges() {
        start();
        saveNew("quiet.otr");
        newTournament();
        QVERIFY(GwSeamMessages().empty());
        QCOMPARE(title(), std::string("ORLA - [Untitled]*"));
    }

    void recentFilesKeepFourNewestFirst() {
        MainFrame* w = start();
        std::vector<std::string> saved;
        for (int i = 1; i <= 5; ++i) {
            saved.push_back(saveNew(QString("t%1.otr").arg(i)));
            QCOMPARE(RecentFiles[0], saved.back());
        }
        // The fifth file dropped the oldest.
        const std::array<std::string, 4> newest = {saved[4], saved[3], saved[2], saved[1]};
        QCOMPARE(RecentFiles, newest);
        QCOMPARE(w->action(IDM_RECENT1)->text(), QString("&1 t5.otr"));
        QCOMPARE(w->action(IDM_RECENT1 + 3)->text(), QString("&4 t2.otr"));
        QMenu* file = nullptr;
        int position = -1;
        FINDMIBYID(w->menuBar(), IDM_RECENT1, &file, &position);
        QCOMPARE(position, FileMenuFixedItems);

        // Reopening a listed file moves it to the top instead of listing it twice.
        QVERIFY(ONFILECLOSE());
        GwSeamNextFileName(saved[2]);
        ONFILEOPEN();
        const std::array<std::string, 4> moved = {saved[2], saved[4], saved[3], saved[1]};
        QCOMPARE(RecentFiles, moved);
        SAVEANDUPDATEMRU(saved[3]);
        QCOMPARE(RecentFiles[0], saved[3]);
        QCOMPARE(RecentFiles[1], saved[2]);
        QCOMPARE(RecentFiles[3], saved[1]);

        // A recent-file command opens its entry; the list lasts to the next start.
        QVERIFY(ONCOMMAND(IDM_RECENT1 + 3));
        QCOMPARE(TournamentFile, saved[1]);
        QCOMPARE(title(), std::string("ORLA - t2.otr"));
        const auto before = RecentFiles;
        SHUTDOWN();
        start();
        QCOMPARE(RecentFiles, before);
        QCOMPARE(MainWindow->action(IDM_RECENT1 + 1)->text().toStdString(),
                 "&2 " + FILETITLE(before[1]));
        // An "&" in a file name is no mnemonic.
        SAVEANDUPDATEMRU(path("Kup A&B.otr"));
        QCOMPARE(MainWindow->action(IDM_RECENT1)->text(), QString("&1 Kup A&&B.otr"));
    }

    // Open and the recent files look at the file before they close anything: a
    // file that is gone is reported, the tournament stays, and a dead recent entry
    // leaves the list.
    void aFileThatIsGoneKeepsTheTournamentOpen() {
        start();
        const std::string gone = saveNew("gone.otr");
        const std::string kept = saveNew("kept.otr");
        QFile::remove(QString::fromStdString(gone));
        SETFIELD(PlayerNames(2, 1).c, NameLength, "Unsaved");
        SETSAVE(true);
        QCOMPARE(RecentFiles[1], gone);

        QVERIFY(ONCOMMAND(IDM_RECENT1 + 1));
        QCOMPARE(GwSeamMessages().size(), size_t(1)); // no question first
        QCOMPARE(GwSeamMessages().back().text, "File " + gone + " is deleted or moved.");
        QCOMPARE(GwSeamMessages().back().caption, std::string("Error opening file"));
        QCOMPARE(GwSeamMessages().back().kind, int(GW_MB_ERROR));
        QVERIFY(TournamentOpen && Modified);
        QCOMPARE(TournamentFile, kept);
        QCOMPARE(FIELDTEXT(PlayerNames(2, 1).c, NameLength), std::string("Unsaved"));
        QCOMPARE(title(), std::string("ORLA - kept.otr*"));
        const std::array<std::string, 4> left = {kept, "", "", ""};
        QCOMPARE(RecentFiles, left);
        QVERIFY(!MainWindow->action(IDM_RECENT1 + 1)->isVisible());
        QVERIFY(!QSettings("ORLA", "0.9").contains("MRU2"));

        // The same through Open, which asks about the changes before its dialog
        // (No); they stay while no other file is opened.
        GwSeamNextFileName(gone);
        ONFILEOPEN();
        QCOMPARE(GwSeamMessages().size(), size_t(3));
        QCOMPARE(GwSeamMessages()[1].text, std::string("Do you want to save changes to the file?"));
        QCOMPARE(GwSeamMessages().back().text, "File " + gone + " is deleted or moved.");
        QVERIFY(TournamentOpen && Modified);
        QCOMPARE(TournamentFile, kept);
    }

    // A file that is there but damaged is read whole before anything is closed:
    // Open, a recent file and the command line report it by name, and the open
    // tournament stays as it was, modified or not.
    void aDamagedFileKeepsTheTournamentOpen_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("modified");
        for (const char* how : {"open", "recent"})
            for (bool modified : {false, true})
                QTest::newRow(qPrintable(QString(how) + (modified ? ", modified" : "")))
                    << how << modified;
        QTest::newRow("command line") << "command line" << false;
    }
    void aDamagedFileKeepsTheTournamentOpen() {
        QFETCH(QString, how);
        QFETCH(bool, modified);
        start();
        const std::string damaged = saveNew("damaged.otr");
        const std::string kept = saveNew("kept.otr");
        {
            QFile f(QString::fromStdString(damaged));
            QVERIFY(f.resize(f.size() - 5)); // cut inside PlayerRating
        }
        if (how == "command line") {
            SHUTDOWN();
            start({damaged});
            QCOMPARE(GwSeamMessages().size(), size_t(1));
            QCOMPARE(GwSeamMessages().back().text, "File " + damaged + " is damaged.");
            QVERIFY(!TournamentOpen);
            return;
        }
        if (modified) {
            SETFIELD(PlayerNames(2, 1).c, NameLength, "Unsaved");
            SETSAVE(true);
        }
        const std::string name = FIELDTEXT(PlayerNames(2, 1).c, NameLength);
        QCOMPARE(RecentFiles[1], damaged);
        // Open asks about the changes before its file dialog (No keeps them in
        // the window until another file is loaded); a recent file asks nothing first.
        const bool asked = how == "open" && modified;
        if (how == "open") {
            if (asked) GwSeamNextAnswer(GW_IDNO);
            GwSeamNextFileName(damaged);
            ONFILEOPEN();
        } else {
            QVERIFY(ONCOMMAND(IDM_RECENT1 + 1));
        }
        QCOMPARE(GwSeamMessages().size(), size_t(asked ? 2 : 1));
        if (asked) QCOMPARE(GwSeamMessages().front().caption, std::string("Question"));
        QCOMPARE(GwSeamMessages().back().text, "File " + damaged + " is damaged.");
        QCOMPARE(GwSeamMessages().back().caption, std::string("Error opening file"));
        QVERIFY(TournamentOpen);
        QCOMPARE(Modified, modified);
        QCOMPARE(TournamentFile, kept);
        QCOMPARE(FIELDTEXT(PlayerNames(2, 1).c, NameLength), name);
        QCOMPARE(title(), std::string("ORLA - kept.otr") + (modified ? "*" : ""));
        // The damaged file is still there, and so is its recent entry.
        QCOMPARE(RecentFiles[1], damaged);
    }

    // A path given relative to the current folder is made absolute before it is
    // shown, stored or compared.
    void aRelativePathOnTheCommandLineIsStoredWhole() {
        const QString before = QDir::currentPath();
        start();
        const std::string p = saveNew("club night.otr");
        SHUTDOWN();
        QVERIFY(QDir::setCurrent(files_->path()));
        start({"club night.otr"});
        QDir::setCurrent(before);
        QVERIFY(TournamentOpen);
        QCOMPARE(TournamentFile, p);
        const std::array<std::string, 4> once = {p, "", "", ""};
        QCOMPARE(RecentFiles, once);
        // From another folder the entry still opens its file.
        QVERIFY(ONFILECLOSE());
        QVERIFY(ONCOMMAND(IDM_RECENT1));
        QVERIFY(TournamentOpen);
        QCOMPARE(TournamentFile, p);
        QVERIFY(GwSeamMessages().empty());
    }

    // The system has split the arguments already: quotes in a name are its own.
    void aFileNameWithQuotesOpensFromTheCommandLine() {
        start();
        const std::string p = saveNew("Kup \"Zima\".otr");
        SHUTDOWN();
        start({p});
        QVERIFY(TournamentOpen);
        QCOMPARE(title(), std::string("ORLA - Kup \"Zima\".otr"));
        QCOMPARE(RecentFiles[0], p);
        QVERIFY(GwSeamMessages().empty());
    }

    // Names differing only in letter case are two files; the settings may hold an
    // entry twice, one of any length, or one with control characters.
    void recentEntriesAreComparedAsTheFileSystemDoesAndShownHarmlessly() {
        start();
        const std::string upper = saveNew("Kup.otr"), lower = saveNew("kup.otr");
        QCOMPARE(RecentFiles[0], lower);
        QCOMPARE(RecentFiles[1], upper);
        SHUTDOWN();
        const std::string tab = path("a\tb.otr");
        const std::string longName = "/club/" + std::string(5000, 'x') + ".otr";
        {
            QSettings s("ORLA", "0.9");
            s.setValue("MRU1", QString::fromStdString(tab));
            s.setValue("MRU2", QString::fromStdString(tab));
            s.setValue("MRU3", QString::fromStdString(longName));
            s.setValue("MRU4", QString::fromStdString(upper));
        }
        MainFrame* w = start();
        QCOMPARE(RecentFiles[0], tab);
        QCOMPARE(RecentFiles[1].size(), size_t(RecentFileLength));
        QCOMPARE(RecentFiles[1], longName.substr(0, RecentFileLength));
        QCOMPARE(RecentFiles[2], upper);
        QCOMPARE(RecentFiles[3], std::string());
        QCOMPARE(w->action(IDM_RECENT1)->text(), QString("&1 a") + QChar(0x2409) + "b.otr");
        QVERIFY(w->action(IDM_RECENT1)->shortcut().isEmpty());
        const QString shown = w->action(IDM_RECENT1 + 1)->text();
        QCOMPARE(int(shown.size()), 3 + RecentTitleLength);
        QVERIFY(shown.startsWith("&2 xxx") && shown.contains(QChar(0x2026)));
        // Opened again, the entry stays where it is: at the top, once.
        SAVEANDUPDATEMRU(tab);
        QCOMPARE(RecentFiles[0], tab);
        QCOMPARE(RecentFiles[2], upper);
        QCOMPARE(RecentFiles[3], std::string());
    }

    // The folder an installed program keeps its register in is the one Qt
    // gives the program for its data, so the window and orla-cli agree.
    void theUsersDataFolderIsQtsAppDataFolder() {
        const QByteArray old = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", files_->path().toLocal8Bit());
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName("ORLA");
        const QString qt = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        const QString ours = QString::fromStdString(USERDATAFOLDER());
        QCoreApplication::setApplicationName(name);
        if (old.isNull()) qunsetenv("XDG_DATA_HOME");
        else qputenv("XDG_DATA_HOME", old);
        QCOMPARE(ours, qt);
        QVERIFY(ours.startsWith(files_->path()));
    }

    void closeAndExitAreFileCommands() {
        MainFrame* w = start();
        QCOMPARE(w->action(IDM_FILECLOSE)->text(), QString("&Close"));
        QCOMPARE(w->action(IDM_EXIT)->text(), QString("E&xit"));
        QCOMPARE(w->action(IDM_EXIT)->shortcut(), QKeySequence("Ctrl+Q"));
        QVERIFY(!COMMANDENABLED(IDM_FILECLOSE) && COMMANDENABLED(IDM_EXIT));
        // Exit comes last, after the recent files.
        saveNew("one.otr");
        QMenu* file = nullptr;
        int exitAt = -1, recentAt = -1;
        FINDMIBYID(w->menuBar(), IDM_EXIT, &file, &exitAt);
        FINDMIBYID(w->menuBar(), IDM_RECENT1, &file, &recentAt);
        QCOMPARE(recentAt, FileMenuFixedItems);
        QCOMPARE(exitAt, int(file->actions().size()) - 1);
        QVERIFY(COMMANDENABLED(IDM_FILECLOSE));
        QVERIFY(ONCOMMAND(IDM_FILECLOSE));
        QVERIFY(!TournamentOpen);
        QCOMPARE(title(), std::string("ORLA"));
        QVERIFY(!COMMANDENABLED(IDM_FILECLOSE));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!w->isVisible());
    }

    void firstStartCreatesTheSettings() {
        start();
        QSettings s("ORLA", "0.9");
        QVERIFY(s.contains("EMFHeader"));
        QCOMPARE(s.value("EMFHeader").toString(), QString());
        QCOMPARE(s.value("HeaderType").toInt(), 0);
        const LogFont header = storedFont("HeaderFont"), fixed = storedFont("FixedFont");
        QCOMPARE(header.lfHeight, 16);
        QCOMPARE(header.lfWeight, 900);
        QCOMPARE(int(header.lfCharSet), 1);
        QCOMPARE(LOGFONTFACE(header), std::string("Arial"));
        QCOMPARE(fixed.lfHeight, 10);
        QCOMPARE(fixed.lfWeight, 400);
        QCOMPARE(int(fixed.lfCharSet), 1);
        QCOMPARE(LOGFONTFACE(fixed), std::string("Courier"));
        QVERIFY(!s.contains("MRU1"));
    }

    void storedSettingsAreReadBack() {
        {
            QSettings s("ORLA", "0.9");
            s.setValue("EMFHeader", "/club/logo.emf");
            s.setValue("HeaderType", 2);
            LogFont f = MAKELOGFONT(20, 700, "Times New Roman");
            s.setValue("FixedFont", QByteArray(reinterpret_cast<const char*>(&f), sizeof f));
            s.setValue("HeaderFont", QByteArray("short")); // not a font record
            s.setValue("MRU1", "/a.otr");
            s.setValue("MRU2", "/b.otr");
            s.setValue("MRU4", "/d.otr"); // after a gap: not read
        }
        start();
        QCOMPARE(EMFHeader, std::string("/club/logo.emf"));
        QCOMPARE(HeaderType, 2);
        QCOMPARE(LOGFONTFACE(FixedFont), std::string("Times New Roman"));
        QCOMPARE(FixedFont.lfHeight, 20);
        QCOMPARE(LOGFONTFACE(HeaderFont), std::string("Arial"));
        QCOMPARE(storedFont("HeaderFont").lfWeight, 900);
        const std::array<std::string, 4> recent = {"/a.otr", "/b.otr", "", ""};
        QCOMPARE(RecentFiles, recent);
        QVERIFY(MainWindow->action(IDM_RECENT1 + 1)->isVisible());
        QVERIFY(!MainWindow->action(IDM_RECENT1 + 3) ||
                !MainWindow->action(IDM_RECENT1 + 3)->isVisible());
        HeaderType = 1;
        SAVEREGISTRY();
        QCOMPARE(QSettings("ORLA", "0.9").value("HeaderType").toInt(), 1);
    }

    void viewCommandsSetTheMenuStates_data() {
        QTest::addColumn<int>("view");
        // Expected after the view: 1 enabled, 0 gray, -1 as before.
        QTest::addColumn<QList<int>>("states"); // html, text, print, adjusted, inversion, penalty
        QTest::newRow("lines") << int(IDM_SORTBYLINES) << QList<int>{1, -1, -1, 0, 0, 1};
        QTest::newRow("placement") << int(IDM_SORTBYPLACEMENT) << QList<int>{1, -1, -1, 0, 0, 0};
        QTest::newRow("board lists") << int(IDM_BOARDLISTS) << QList<int>{0, 1, 1, 1, 1, 0};
        QTest::newRow("frequency") << int(IDM_FREQUENCY) << QList<int>{1, 1, 1, 0, 0, 0};
        QTest::newRow("personal") << int(IDM_PERSONAL) << QList<int>{0, 1, 1, 0, 0, 0};
    }
    void viewCommandsSetTheMenuStates() {
        QFETCH(int, view);
        QFETCH(QList<int>, states);
        start();
        newTournament();
        const int views[] = {IDM_SORTBYLINES, IDM_SORTBYPLACEMENT, IDM_BOARDLISTS, IDM_FREQUENCY,
                             IDM_PERSONAL};
        const int affected[] = {IDM_EXPORTHTML, IDM_EXPORTTEXT, IDM_PRINT,
                                IDM_ADJUSTED,   IDM_INVERSION,  IDM_PENALTY};
        // From every other view before it, so that "as before" is seen both ways.
        for (int previous : views) {
            if (previous == view) continue;
            SETVIEWSTATE(previous);
            bool before[6];
            for (int i = 0; i < 6; ++i)
                before[i] = FINDCOMMAND(affected[i])->enabled;
            SETVIEWSTATE(view);
            for (int v : views)
                QCOMPARE(COMMANDCHECKED(v), v == view);
            for (int i = 0; i < 6; ++i) {
                const bool expected = states[i] < 0 ? before[i] : states[i] == 1;
                QVERIFY2(FINDCOMMAND(affected[i])->enabled == expected,
                         qPrintable(QString("command %1 after %2").arg(affected[i]).arg(previous)));
            }
        }
        // The menu shows the check mark.
        QVERIFY(MainWindow->action(view)->isChecked());
    }

    void aCommandWithoutItsPartStaysGray() {
        start();
        newTournament();
        SETVIEWSTATE(IDM_BOARDLISTS);
        // Wanted enabled by the view, but nothing would happen: gray.
        QVERIFY(FINDCOMMAND(IDM_PRINT)->enabled);
        QCOMPARE(COMMANDENABLED(IDM_PRINT), FINDCOMMAND(IDM_PRINT)->handler != nullptr);
        QCOMPARE(MainWindow->action(IDM_PRINT)->isEnabled(), COMMANDENABLED(IDM_PRINT));
        for (int i = 0; i < CommandCount; ++i) {
            const Command& c = CommandTable[i];
            if (c.level == 1 && c.id != 0 && !c.handler) QVERIFY(!COMMANDENABLED(c.id));
        }
    }

    void helpTopicFollowsTheView_data() {
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("placement");
        QTest::addColumn<bool>("handWindow");
        QTest::addColumn<int>("topic");
        QTest::newRow("no tournament") << false << 2 << 0 << false << int(HELP_DEFAULT_TOPIC);
        QTest::newRow("pairs by placement") << true << 1 << 1 << false << 1020;
        QTest::newRow("pairs by lines") << true << 1 << 0 << false << 1050;
        QTest::newRow("board lists") << true << 2 << 0 << false << 1060;
        QTest::newRow("frequency") << true << 3 << 0 << false << 1070;
        QTest::newRow("personal") << true << 4 << 1 << false << 1080;
        QTest::newRow("hand diagrams") << true << 2 << 0 << true << 1100;
        QTest::newRow("no such view") << true << 7 << 0 << false << int(HELP_NO_TOPIC);
    }
    void helpTopicFollowsTheView() {
        QFETCH(bool, open);
        QFETCH(int, view);
        QFETCH(int, placement);
        QFETCH(bool, handWindow);
        QFETCH(int, topic);
        start();
        if (open) newTournament();
        ViewMode = view;
        SortByPlacement = placement;
        QCOMPARE(HELPCONTEXTTOPIC(handWindow), topic);
        if (!handWindow) {
            QVERIFY(ONCOMMAND(IDM_HELPCONTEXT));
            QCOMPARE(HelpTopicShown, topic);
        }
    }

    void helpPagesShipInBothLanguages() {
        start();
        const int topics[] = {HELP_DEFAULT_TOPIC,
                              1020,
                              1050,
                              1060,
                              1070,
                              1080,
                              1090,
                              1100,
                              1110,
                              1120,
                              1130,
                              1140,
                              1150,
                              1160};
        for (int language : {HELP_SRPSKI, HELP_ENGLISH}) {
            SETHELPLANGUAGE(language);
            for (int t : topics) {
                const QString url = QString::fromStdString(HELPTOPICURL(t));
                QVERIFY2(QFile::exists(url.mid(3)), qPrintable(url));
            }
        }
        // The menu chooses the language, with its check mark.
        QVERIFY(ONCOMMAND(IDM_ENGLISH));
        QVERIFY(COMMANDCHECKED(IDM_ENGLISH) && !COMMANDCHECKED(IDM_SRPSKI));
        QVERIFY(ONCOMMAND(IDM_HELPCONTENTS));
        auto* browser = MainWindow->findChild<QTextBrowser*>("HelpBrowser");
        QVERIFY(browser);
        QCOMPARE(browser->source().toString(), QString("qrc:/help/en/index.html"));
        QVERIFY(browser->toPlainText().contains("typical club evening"));
        // A dialog's help button shows the dialog's page.
        QVERIFY(ONCOMMAND(IDM_SRPSKI));
        ONDIALOGHELP(101);
        QCOMPARE(browser->source().toString(), QString("qrc:/help/sr/1090.html"));
        ONDIALOGHELP(109);
        QCOMPARE(browser->source().toString(), QString("qrc:/help/sr/1130.html"));
    }

    void anOpenHelpWindowFollowsTheLanguageAtOnce() {
        start();
        QVERIFY(ONCOMMAND(IDM_HELPCONTENTS));
        auto* browser = MainWindow->findChild<QTextBrowser*>("HelpBrowser");
        QVERIFY(browser);
        QCOMPARE(browser->source().toString(), QString("qrc:/help/sr/index.html"));
        QVERIFY(ONCOMMAND(IDM_ENGLISH));
        QCOMPARE(browser->source().toString(), QString("qrc:/help/en/index.html"));
        QVERIFY(browser->toPlainText().contains("typical club evening"));
        ONDIALOGHELP(101);
        QVERIFY(ONCOMMAND(IDM_SRPSKI));
        QCOMPARE(browser->source().toString(), QString("qrc:/help/sr/1090.html"));
    }

    // The help of a dialog can be read and scrolled while the dialog is open: the
    // modal dialog does not block it, whether the help window was open before or not.
    void dialogHelpIsNotBlockedByTheDialog() {
        // Whether the help window is blocked, as Qt tells it.
        struct BlockWatch : QObject {
            bool blocked = false;
            bool eventFilter(QObject* o, QEvent* e) override {
                if (o->objectName() == "HelpWindow" &&
                    (e->type() == QEvent::WindowBlocked || e->type() == QEvent::WindowUnblocked))
                    blocked = e->type() == QEvent::WindowBlocked;
                return false;
            }
        };
        start();
        for (bool helpOpenBefore : {false, true}) {
            if (helpOpenBefore) QVERIFY(ONCOMMAND(IDM_HELPCONTENTS));
            BlockWatch watch;
            qApp->installEventFilter(&watch);
            int shown = HELP_NO_TOPIC;
            bool blocked = true;
            GwSeamOnNextModal([&](DialogRecord& dlg) {
                ONDIALOGHELP(120);
                shown = HelpTopicShown;
                blocked = watch.blocked;
                DLGEXIT(dlg);
            });
            QVERIFY(ONCOMMAND(IDM_ABOUT));
            qApp->removeEventFilter(&watch);
            QCOMPARE(shown, 1100);
            QVERIFY(!blocked);
        }
        // Once the dialog is gone, the help opens from the main window again.
        QVERIFY(ONCOMMAND(IDM_HELPCONTENTS));
        QVERIFY(MainWindow->findChild<QTextBrowser*>("HelpBrowser"));
    }

    void aboutBoxShowsTheVersion() {
        start();
        QString caption, text;
        bool hasIcon = false;
        GwSeamOnNextModal([&](DialogRecord& dlg) {
            caption = dlg.window->windowTitle();
            text = dlg.window->findChild<QLabel*>("textLabel")->text();
            hasIcon = !dlg.window->findChild<QLabel*>("iconLabel")->pixmap().isNull();
            QVERIFY(ID2INDEX(dlg, 1) >= 0);
            DLGEXIT(dlg);
        });
        QVERIFY(ONCOMMAND(IDM_ABOUT));
        QCOMPARE(GwSeamPendingModals(), 0);
        QCOMPARE(caption, QString("About ORLA"));
        QCOMPARE(text, QString("ORLA Bridge Tournaments Editor\nVersion " ORLA_VERSION));
        QVERIFY(hasIcon);
    }

    void screenshotWithATournamentOpen() {
        MainFrame* w = start();
        newTournament();
        SETFIELD(Header.TournamentName, TournamentNameLength, "Monday pairs");
        const std::string p = path("monday.otr");
        GwSeamNextFileName(p);
        ONFILESAVEAS();
        REDRAW();
        QCoreApplication::processEvents();
        const QPixmap shot = w->grab();
        QVERIFY(!shot.isNull());
        QCOMPARE(shot.width(), 640);
        // The view is drawn: not just background.
        const QImage picture = w->drawArea()->grab().toImage();
        QVERIFY(picture.pixelColor(5, 5) != w->palette().color(QPalette::Window));
        if (qgetenv("ORLA_UPDATE_SCREENSHOT") == "1")
            QVERIFY(shot.save(QStringLiteral(ORLA_SOURCE_DIR "/docs/main-window.png")));
    }

    // The drawing area and the status bar follow the tournament: its name as typed
    // (the file keeps it in Windows-1250), its file once saved, nothing once closed.
    void theWindowShowsTheOpenTournament() {
        MainFrame* w = start();
        newTournament();
        std::string name;
        QVERIFY(UTF8TOCP1250("Đorđević kup", name));
        SETFIELD(Header.TournamentName, TournamentNameLength, name);
        QCOMPARE(TOURNAMENTTITLE(), std::string("Đorđević kup"));
        REDRAW();
        GwSeamNextFileName(path("kup.otr"));
        QVERIFY(ONFILESAVEAS());
        QCOMPARE(title(), std::string("ORLA - kup.otr"));
        QVERIFY(!w->status(1).isEmpty());
        QVERIFY(ONFILECLOSE());
        for (int part = 0; part < 3; ++part)
            QVERIFY(w->status(part).isEmpty());
    }

    // A window manager may make the window wider than its 640 pixels: the view
    // covers the whole drawing area, with no stale pixels right of the picture.
    void aWiderWindowIsPaintedWhole() {
        MainFrame* w = start();
        newTournament();
        w->setMaximumWidth(QWIDGETSIZE_MAX);
        w->resize(900, 405);
        QCoreApplication::processEvents();
        QCOMPARE(w->drawArea()->width(), 900);
        const QImage picture = w->drawArea()->grab().toImage();
        const QColor band = picture.pixelColor(5, 5);
        QVERIFY(band != w->palette().color(QPalette::Window));
        QCOMPARE(picture.pixelColor(880, 5), band);
        QCOMPARE(picture.pixelColor(880, 300), w->palette().color(QPalette::Window));
        // Closed: background everywhere.
        QVERIFY(ONFILECLOSE());
        QCoreApplication::processEvents();
        const QImage empty = w->drawArea()->grab().toImage();
        QCOMPARE(empty.pixelColor(880, 5), w->palette().color(QPalette::Window));
    }

    void failureMessagesReachTheUser() {
        start();
        // A message of a Qt-free layer becomes a box owned by the main window.
        SHOWMESSAGE("Something went wrong.", "Error opening file", MSG_OK_ERROR);
        QCOMPARE(GwSeamMessages().back().text, std::string("Something went wrong."));
        QCOMPARE(GwSeamMessages().back().caption, std::string("Error opening file"));
        GwSeamNextAnswer(GW_IDYES);
        QCOMPARE(SHOWMESSAGE("Sure?", "Question", MSG_YESNO_QUESTION), ANSWER_YES);
        // A damaged file.
        const std::string p = path("damaged.otr");
        QFile f(QString::fromStdString(p));
        QVERIFY(f.open(QIODevice::WriteOnly));
        const qint32 marker = -100;
        f.write(reinterpret_cast<const char*>(&marker), 4);
        f.write("short", 5);
        f.close();
        GwSeamNextFileName(p);
        ONFILEOPEN();
        QVERIFY(!TournamentOpen);
        QCOMPARE(GwSeamMessages().back().text, "File " + p + " is damaged.");
        QCOMPARE(title(), std::string("ORLA"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
