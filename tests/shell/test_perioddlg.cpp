// The end of a period driven as the director does it, through the seams: Update
// Rating with the folder picker, the progress and its Cancel, the results and
// Save; Help > English and its statistics; the rating list of Edit Player List
// exported and printed to PDF.

#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "players/players.h"
#include "players/rating.h"
#include "players/update.h"
#include "reports/reports.h"
#include "scoring/compute.h"
#include "shell/commands.h"
#include "shell/lifecycle.h"
#include "shell/perioddlg.h"
#include "shell/shell.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwseam.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>

class PeriodDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    std::unique_ptr<QTemporaryDir> programDir_, files_;

    QString registerPath() const { return programDir_->path() + "/Players.opd"; }
    static void writeFile(const QString& path, const std::string& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    static std::string readFile(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return f.readAll().toStdString();
    }
    QString season() const { return files_->path() + "/season"; }

    // A rated tournament of the default shape written by the program: player 1
    // of pair 1 is `name` with `change`.
    static void ratedFile(const QString& path, const char* title, const char* name, float change) {
        DEFAULTHEADER();
        SETFIELD(Header.TournamentName, TournamentNameLength, title);
        QVERIFY(CREATETOURNAMENT());
        RatingMode = -1;
        SETFIELD(PlayerNames(1, 1).c, NameLength, name);
        RatingChange(1, 1) = change;
        TournamentFile = path.toStdString();
        QVERIFY(WRITENTRFILE());
        CLOSETOURNAMENT();
    }

    void period() {
        writeFile(registerPath(), rec("Ana Kovac", 1000, 5) + rec("Mira Ilic", 2, 0) +
                                      rec("Zoran Zoric", 850, -3));
        STARTUP({});
        QVERIFY(QDir().mkpath(season()));
        ratedFile(season() + "/0304.otr", "Utorak 4. mart", "ana kovac", 1.4f);
        ratedFile(season() + "/0311.otr", "Utorak 11. mart", "Ana Kovac", 1.4f);
        ratedFile(season() + "/0318.otr", "Utorak 18. mart", "Mira Ilic", -5.5f);
        StartFolder = files_->path().toStdString();
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        USETESTFOLDERS(settingsDir_.path()); // the program folder is each case's own
    }

    void init() {
        programDir_ = std::make_unique<QTemporaryDir>();
        files_ = std::make_unique<QTemporaryDir>();
        qputenv("ORLA_PROGRAM_FOLDER", programDir_->path().toLocal8Bit());
        GwSeamStart();
    }

    void cleanup() {
        CLOSETESTWINDOW();
        programDir_.reset();
        files_.reset();
    }

    void updateRatingBrowsesSumsAndSaves() {
        period();
        const std::string before = readFile(registerPath());
        QVERIFY(COMMANDENABLED(IDM_UPDATERATING));
        GwSeamNextFolder(season().toStdString());
        QStringList files, rows;
        QString folderShown, title, resultsTitle;
        GwSeamOnNextModal([&](DialogRecord& d) {
            title = d.window->windowTitle();
            Control<QPushButton>(d, 4)->click(); // Browse...
            folderShown = Control<QLineEdit>(d, 1000)->text();
            files = items(d, 1017);
            auto* list = Control<QListWidget>(d, 1017);
            list->selectAll();
            saveShot(d, "update-rating.png");
            GwSeamOnNextModal([&](DialogRecord& r) {
                resultsTitle = r.window->windowTitle();
                rows = items(r, 1017);
                saveShot(r, "rating-update-results.png");
                Control<QPushButton>(r, 1)->click(); // Save
            });
            Control<QPushButton>(d, 1)->click();
        });
        QVERIFY(ONCOMMAND(IDM_UPDATERATING));
        QCOMPARE(title, QString("Update Rating"));
        QCOMPARE(resultsTitle, QString("Rating Update Results"));
        QCOMPARE(GwSeamLastBrowseTitle(), std::string("Select Folder"));
        QCOMPARE(folderShown, season());
        QCOMPARE(StartFolder, season().toStdString()); // kept for the rest of the run
        QCOMPARE(files.size(), 3);
        QCOMPARE(files.filter(QRegularExpression(R"(^\d{4}\.\d\d\.\d\d\. Utorak 4\. mart \[0304\.otr\]$)")).size(), 1);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0], QString("Ana Kovac") + QString(23, ' ') + "\t1000\t  2.80\t1003");
        QCOMPARE(rows[1], QString("Mira Ilic") + QString(23, ' ') + "\t   2\t -5.50\t   0");
        QCOMPARE(readFile(registerPath()),
                 rec("Ana Kovac", 1003, 3) + rec("Mira Ilic", 0, -6) + rec("Zoran Zoric", 850, 0));
        QCOMPARE(readFile(QString::fromStdString(RATINGBACKUPNAME())), before);
        QCOMPARE(RegRating(1), 1003);
    }

    // Cancel during the sum stops it and leaves everything as it was; the dialog
    // stays for another choice, and its Cancel closes it.
    void cancelLeavesRegisterAndFilesUntouched() {
        period();
        StartFolder = season().toStdString();
        const std::string before = readFile(registerPath());
        const std::string file = readFile(season() + "/0304.otr");
        bool progressShown = false, progressHiddenAfter = false, okEnabledAfter = false;
        GwSeamOnNextModal([&](DialogRecord& d) {
            Control<QListWidget>(d, 1017)->selectAll();
            // Pressed while the files are read: the progress bar is up then.
            QTimer::singleShot(0, [&] {
                progressShown = Control<QProgressBar>(d, 1018)->isVisible();
                Control<QPushButton>(d, 2)->click();
            });
            Control<QPushButton>(d, 1)->click();
            progressHiddenAfter = !Control<QProgressBar>(d, 1018)->isVisible();
            okEnabledAfter = Control<QPushButton>(d, 1)->isEnabled();
            Control<QPushButton>(d, 2)->click();
        });
        ONUPDATERATING();
        QVERIFY(progressShown);
        QVERIFY(progressHiddenAfter);
        QVERIFY(okEnabledAfter);
        QCOMPARE(GwSeamPendingModals(), 0);
        QCOMPARE(readFile(registerPath()), before);
        QCOMPARE(readFile(season() + "/0304.otr"), file);
        QCOMPARE(RegRating(1), 1000);
        QVERIFY(!QFile::exists(QString::fromStdString(RATINGBACKUPNAME())));
    }

    // Help > English: the unsaved question first, the statistics of the "2002"
    // folder, and the tournament that was open opened again.
    void englishRunsTheStatisticsAndReopens() {
        period();
        const QDir start(files_->path());
        QVERIFY(start.mkpath("2002"));
        QVERIFY(QFile::copy(season() + "/0304.otr", start.filePath("2002/0304.otr")));
        writeFile(start.filePath("Players20020102.opd"), rec("Ana Kovac", 900, 0));
        // Yes, but Save As is cancelled: nothing runs, the tournament stays.
        QVERIFY(NEWDEFAULTTOURNAMENT());
        SETSAVE(true);
        GwSeamNextAnswer(6);
        GwSeamNextFileCancel();
        QVERIFY(ONCOMMAND(IDM_ENGLISH));
        QVERIFY(!QFile::exists(start.filePath("Stat.txt")));
        QVERIFY(TournamentOpen && Modified);
        GwSeamNextAnswer(7);
        QVERIFY(ONFILECLOSE());

        const QString open = start.filePath("open.otr");
        ratedFile(open, "Otvoren", "Zoran Zoric", 0.0f);
        QVERIFY(OPENNTRFILE(open.toStdString()));
        SETSAVE(true);

        GwSeamNextAnswer(7); // No: the changes go
        QVERIFY(ONCOMMAND(IDM_ENGLISH));
        const std::string stat = readFile(start.filePath("Stat.txt"));
        QVERIFY2(stat.rfind("Ana Kovac", 0) == 0, stat.c_str());
        QVERIFY2(stat.size() > 66, stat.c_str());
        QCOMPARE(QString::fromStdString(stat.substr(28, 38)),
                 QString("   1 50.00   0  0.00  1000   900   100"));
        QVERIFY(TournamentOpen);
        QCOMPARE(TournamentFile, open.toStdString());
        QVERIFY(!Modified);
        QVERIFY(COMMANDCHECKED(IDM_ENGLISH));
    }

    // A chosen file that cannot be read is named in the window, and the others
    // are counted, a tournament name holding "[" too.
    void anUnreadableChosenFileIsNamed() {
        period();
        ratedFile(season() + "/0325.otr", "Kup [finale]", "Zoran Zoric", 2.0f);
        writeFile(season() + "/empty.otr", "");
        StartFolder = season().toStdString();
        QStringList rows;
        GwSeamOnNextModal([&](DialogRecord& d) {
            Control<QListWidget>(d, 1017)->selectAll();
            GwSeamOnNextModal([&](DialogRecord& r) {
                rows = items(r, 1017);
                Control<QPushButton>(r, 2)->click(); // Cancel
            });
            Control<QPushButton>(d, 1)->click();
        });
        ONUPDATERATING();
        QStringList named;
        for (const GwSeamMessage& m : GwSeamMessages())
            if (m.text.rfind("Suspicious file:", 0) == 0) named << QString::fromStdString(m.text);
        QCOMPARE(named.size(), 1);
        QVERIFY2(named[0].endsWith(" [empty.otr]"), qPrintable(named[0]));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[2], QString("Zoran Zoric") + QString(21, ' ') + "\t 850\t  2.00\t 852");
    }

    // Recalculate now gives the rating changes of the register's ratings even
    // after the properties were confirmed, which leaves the stored ones to be kept.
    void recalculateNowRecalculatesTheChanges() {
        period();
        QVERIFY(OPENNTRFILE((season() + "/0304.otr").toStdString()));
        // An opened file shows the changes it stores; the register's ratings give
        // other ones, which only a recalculation brings.
        const float stored = RatingChange(1, 1);
        RECALCULATENOW(RatingMode, (HighRated & 1) != 0);
        const float computed = RatingChange(1, 1);
        QVERIFY(computed != stored);
        RatingChange(1, 1) = stored;
        GwSeamOnNextModal([&](DialogRecord& d) { Control<QPushButton>(d, 1)->click(); });
        QVERIFY(ONCOMMAND(IDM_PROPERTIES));
        QVERIFY(NeedsRecalc);
        RatingChange(1, 1) = 42.0f;
        SETSAVE(false);
        bool enabled = false;
        GwSeamOnNextModal([&](DialogRecord& d) {
            enabled = Control<QPushButton>(d, 4)->isEnabled();
            Control<QPushButton>(d, 4)->click(); // Recalculate now
            Control<QPushButton>(d, 1)->click();
        });
        QVERIFY(ONCOMMAND(IDM_PROPERTIES));
        QVERIFY(enabled);
        QCOMPARE(RatingChange(1, 1), computed);
        QVERIFY(Modified);
    }

    // Help > English never overwrites the season's statistics: without the
    // folder or the snapshot it only changes the language, and an existing
    // Stat.txt goes only when the user answers Yes.
    void englishKeepsTheSeasonsStatistics_data() {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("snapshot");
        QTest::addColumn<bool>("statExists");
        QTest::addColumn<int>("answer"); // to "replace them?", 0 when not asked
        QTest::addColumn<bool>("written");
        QTest::newRow("neither") << false << false << true << 0 << false;
        QTest::newRow("neither, no Stat.txt") << false << false << false << 0 << false;
        QTest::newRow("no folder") << false << true << true << 0 << false;
        QTest::newRow("no snapshot") << true << false << false << 0 << false;
        QTest::newRow("both, Stat.txt kept") << true << true << true << 7 << false;
        QTest::newRow("both, Stat.txt replaced") << true << true << true << 6 << true;
        QTest::newRow("both, first run") << true << true << false << 0 << true;
    }
    void englishKeepsTheSeasonsStatistics() {
        QFETCH(bool, folder);
        QFETCH(bool, snapshot);
        QFETCH(bool, statExists);
        QFETCH(int, answer);
        QFETCH(bool, written);
        period();
        const QDir start(files_->path());
        if (folder) {
            QVERIFY(start.mkpath("2002"));
            QVERIFY(QFile::copy(season() + "/0304.otr", start.filePath("2002/0304.otr")));
        }
        if (snapshot) writeFile(start.filePath("Players20020102.opd"), rec("Ana Kovac", 900, 0));
        const std::string earlier = "Ana Kovac earlier season\r\n";
        if (statExists) writeFile(start.filePath("Stat.txt"), earlier);
        if (answer) GwSeamNextAnswer(answer);
        QVERIFY(ONCOMMAND(IDM_ENGLISH));
        QCOMPARE(GwSeamMessages().size(), size_t(answer ? 1 : 0));
        if (answer) QCOMPARE(GwSeamMessages().at(0).caption, std::string("Question"));
        const std::string stat = readFile(start.filePath("Stat.txt"));
        if (written)
            QVERIFY2(stat.find("   1 50.00") != std::string::npos, stat.c_str());
        else
            QCOMPARE(stat, statExists ? earlier : std::string());
        QVERIFY(COMMANDCHECKED(IDM_ENGLISH));
    }

    void ratingListButtonsExportAndPrint() {
        period();
        const QString html = files_->path() + "/Rating.htm";
        const QString pdf = files_->path() + "/list.pdf";
        bool exportEnabled = false, printEnabled = false;
        GwSeamOnNextModal([&](DialogRecord& d) {
            exportEnabled = Control<QPushButton>(d, 4)->isEnabled();
            printEnabled = Control<QPushButton>(d, 5)->isEnabled();
            Control<QAbstractButton>(d, SORT_RATING)->click();
            GwSeamNextFileName(html.toStdString());
            Control<QPushButton>(d, 4)->click();
            GwSeamNextPrint(pdf.toStdString());
            Control<QPushButton>(d, 5)->click();
            Control<QPushButton>(d, 1)->click();
        });
        QVERIFY(ONCOMMAND(IDM_EDITPLAYERS));
        QVERIFY(exportEnabled && printEnabled);
        const GwSeamFileDialog& asked = GwSeamLastFileDialog();
        QCOMPARE(asked.title, std::string("Export HTML"));
        QCOMPARE(asked.defaultExt, std::string("htm"));
        QVERIFY(asked.fileName.find("Rating") != std::string::npos);
        SORTPLAYERS(SORT_RATING);
        QCOMPARE(readFile(html), PLAYERLISTHTML(2));
        QVERIFY(readFile(html).find("&nbsp;&nbsp;1.&nbsp;Ana&nbsp;Kovac") != std::string::npos);
        const std::string printed = readFile(pdf);
        QVERIFY(printed.rfind("%PDF", 0) == 0);
    }
};

QTEST_MAIN(PeriodDialogTest)
#include "test_perioddlg.moc"
