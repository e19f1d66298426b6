// The File menu's report commands walked through the seams: the exports' names
// and folders, the menu states of the views, printing into PDF files read back
// with pdftotext, a cancelled print.

#include "core/tournament.h"
#include "hands/analysis.h"
#include "hands/hands.h"
#include "printing/printing.h"
#include "reports/reports.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/mainwindow.h"
#include "shell/pagesetup.h"
#include "shell/reportcmds.h"
#include "shell/settings.h"
#include "shell/shell.h"
#include "winsupport/gwctl.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwmessage.h"
#include "winsupport/gwseam.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <cstring>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

QString dataFile(const char* folder, const char* name) {
    return QString(ORLA_TEST_DATA_DIR) + "/" + folder + "/" + name;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The pages of a PDF file as pdftotext reads them.
QStringList pdfPages(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(20000)) return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

LogFont storedFont(const char* key) {
    LogFont f{};
    const QByteArray bytes = QSettings("ORLA", "0.9").value(key).toByteArray();
    if (bytes.size() == sizeof f) std::memcpy(&f, bytes.constData(), sizeof f);
    return f;
}

} // namespace

class ReportsTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    std::unique_ptr<QTemporaryDir> files_;

    QString file(const QString& name) const { return files_->path() + "/" + name; }

    // Opens a copy of a tournament through File > Open.
    void open(const QString& source, const QString& name) {
        QDir().mkpath(QFileInfo(file(name)).absolutePath());
        QVERIFY(QFile::copy(source, file(name)));
        GwSeamNextFileName(file(name).toStdString());
        QVERIFY(ONCOMMAND(IDM_FILEOPEN));
        QVERIFY(TournamentOpen);
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        USETESTFOLDERS(settingsDir_.path());
    }

    void init() {
        files_ = std::make_unique<QTemporaryDir>();
        QVERIFY(OPENTESTWINDOW());
    }

    void cleanup() {
        CLOSETESTWINDOW();
        files_.reset();
    }

    // Each export offers the tournament's name in its own remembered folder,
    // writes what the report routines compose, and a cancel writes nothing.
    void exportsOfferTheNameInTheirFolders() {
        open(dataFile("mitchell_mp", "input.otr"), "club/Club night.otr");
        QVERIFY(ONCOMMAND(IDM_SORTBYPLACEMENT));
        QDir().mkpath(file("out"));

        struct Row {
            int command;
            const char* title;
            const char* filter;
            const char* ext;
            std::string (*compose)();
        };
        const Row rows[] = {
            {IDM_EXPORTTEXT, "Export Text File", "Text files (*.txt)", "txt", TEXTEXPORT},
            {IDM_EXPORTHTML, "Export HTML", "HTML files (*.htm)", "htm", HTMLEXPORT},
            {IDM_EXPORTPBN, "Export results (PBN)", "PBN files (*.pbn)", "pbn", PBNEXPORT},
        };
        for (const Row& r : rows) {
            const QString written = file(QString("out/night.") + r.ext);
            GwSeamNextFileName(written.toStdString());
            QVERIFY(ONCOMMAND(r.command));
            const GwSeamFileDialog& d = GwSeamLastFileDialog();
            QVERIFY(d.save);
            QCOMPARE(d.title, std::string(r.title));
            QCOMPARE(d.filters.at(0), std::string(r.filter));
            QCOMPARE(d.defaultExt, std::string(r.ext));
            QCOMPARE(QString::fromStdString(d.fileName), file(QString("club/Club night.") + r.ext));
            QCOMPARE(readAll(written), QByteArray::fromStdString(r.compose()));

            // The next time the dialog starts where the last file went; a cancel
            // keeps that folder and writes nothing.
            GwSeamNextFileCancel();
            QVERIFY(ONCOMMAND(r.command));
            QCOMPARE(QString::fromStdString(GwSeamLastFileDialog().fileName),
                     file(QString("out/Club night.") + r.ext));
        }
        QCOMPARE(QDir(file("out")).entryList(QDir::Files).size(), 3);

        // A file that cannot be written is said so, and nothing else changes.
        GwSeamNextFileName(file("no/such/folder/x.txt").toStdString());
        QVERIFY(ONCOMMAND(IDM_EXPORTTEXT));
        QVERIFY(!GwSeamMessages().empty());
        QVERIFY(GwSeamMessages().back().text.find("could not be written") != std::string::npos);
    }

    // What each view allows to export and print.
    void viewsSetTheReportCommands() {
        QVERIFY(!COMMANDENABLED(IDM_PRINT));
        QVERIFY(!COMMANDENABLED(IDM_EXPORTPBN));
        open(dataFile("mitchell_mp", "input.otr"), "t.otr");
        struct Row {
            int view;
            bool html, text, print;
        };
        const Row rows[] = {{IDM_SORTBYPLACEMENT, true, true, true},
                            {IDM_BOARDLISTS, false, true, true},
                            {IDM_FREQUENCY, true, true, true},
                            {IDM_PERSONAL, false, true, true},
                            {IDM_SORTBYLINES, true, true, true}};
        for (const Row& r : rows) {
            QVERIFY(ONCOMMAND(r.view));
            QCOMPARE(COMMANDENABLED(IDM_EXPORTHTML), r.html);
            QCOMPARE(COMMANDENABLED(IDM_EXPORTTEXT), r.text);
            QCOMPARE(COMMANDENABLED(IDM_PRINT), r.print);
            QVERIFY(COMMANDENABLED(IDM_EXPORTPBN));
        }
    }

    // Print of each view into a PDF file: its document, its pages, its words.
    void printsEveryViewToPdf() {
        open(dataFile("mitchell_mp", "input.otr"), "t.otr");
        struct Row {
            int view;
            const char* words;
            int pages;
        };
        const Row rows[] = {{IDM_SORTBYPLACEMENT, "Poz.", 1},
                            {IDM_BOARDLISTS, " - Board 1", 1},
                            {IDM_FREQUENCY, " - Frequency Lists", 0},
                            {IDM_PERSONAL, "Score List", 0}};
        int n = 0;
        for (const Row& r : rows) {
            QVERIFY(ONCOMMAND(r.view));
            const QString pdf = file(QString("view%1.pdf").arg(++n));
            GwSeamNextPrint(pdf.toStdString());
            QVERIFY(ONCOMMAND(IDM_PRINT));
            const QStringList pages = pdfPages(pdf);
            QVERIFY2(!pages.isEmpty(), qPrintable(pdf));
            if (r.pages) QCOMPARE(pages.size(), r.pages);
            QVERIFY2(pages[0].contains(r.words), qPrintable(pages[0]));
        }
        // Every pair's card, each on a page of its own.
        QCOMPARE(PersonalPair, 0);
        QCOMPARE(pdfPages(file("view4.pdf")).size(), NumPairs);
        for (const QString& page : pdfPages(file("view4.pdf"))) {
            QVERIFY(page.contains("For pair: "));
            QVERIFY(page.contains("Total:"));
        }
    }

    // The pairs view numbers the places as the reports do: pairs whose totals
    // differ by rounding alone (12.333334 and 12.333333) share one.
    void aRoundingTieSharesAPlaceInThePairsView() {
        open(dataFile("calcutta_tie", "input.otr"), "tie.otr");
        QVERIFY(ONCOMMAND(IDM_SORTBYPLACEMENT));
        QStringList places;
        for (int row = 1; row <= NumPairs; ++row)
            places << QString::fromStdString(PAIRSROW(row).at(0));
        QCOMPARE(places.join(' '), QString("1 2 2 4 5 6 6 8"));
    }

    // Without a printer the print asks for a PDF file: it proposes the
    // tournament's own name beside its file, as the exports do.
    void printToPdfProposesTheTournamentsName() {
        open(dataFile("mitchell_mp", "input.otr"), "club/Club Monday.otr");
        QVERIFY(ONCOMMAND(IDM_SORTBYPLACEMENT));
        GwSeamNextPrint(file("out.pdf").toStdString());
        QVERIFY(ONCOMMAND(IDM_PRINT));
        QCOMPARE(QString::fromStdString(GwSeamLastPrintPdfName()), file("club/Club Monday.pdf"));
        QVERIFY(QFile::exists(file("out.pdf")));
    }

    // The board lists printed with the deals: a complete deal gives its diagram,
    // dealer and vulnerability, the double-dummy table and the par, analysed on
    // the way; a deal still being typed its diagram alone; a board without a
    // card the traveller as before. The README's picture of the printed page
    // (written to docs/ when ORLA_SCREENSHOTS is set).
    void printsTheDealsWithTheBoard() {
        open(dataFile("mitchell_mp", "input.otr"), "t.otr");
        DDCLEARCACHE();
        // Board 1 an ordinary deal; board 2 one suit in each hand (North spades,
        // East hearts, South diamonds, West clubs), whose table is plain.
        const QString pbn = file("deals.pbn");
        QFile f(pbn);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Board \"1\"]\n[Deal \"N:AK73.QJ4.T92.A85 Q95.K76.AJ63.K42 "
                "JT4.A982.K5.QJT7 862.T53.Q874.963\"]\n\n"
                "[Board \"2\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. "
                "..AKQJT98765432. ...AKQJT98765432\"]\n");
        f.close();
        GwSeamNextFileName(pbn.toStdString());
        QVERIFY(ONCOMMAND(IDM_IMPORTHANDS));
        QVERIFY(ISTRUE(HasHands));
        // Board 3: North's hand typed, the rest not yet.
        for (int k = 1; k <= 13; ++k)
            HandCards(CARDNUMBER(4, k), 3) = HAND_NORTH;
        QVERIFY(ONCOMMAND(IDM_BOARDLISTS));
        // What a print analyses first: the complete deals of the boards printed
        // that are not known yet, and only in the board lists.
        QCOMPARE(PRINTANALYSISJOBS(2, 0).size(), std::size_t(2));
        QCOMPARE(PRINTANALYSISJOBS(2, 3).size(), std::size_t(0));
        QCOMPARE(PRINTANALYSISJOBS(1, 0).size(), std::size_t(0));

        auto printBoard = [&](int b) {
            GwCtlSetInt(EntryWindows.board, b);
            ONTABCHANGE();
            const QString pdf = file(QString("board%1.pdf").arg(b));
            GwSeamNextPrint(pdf.toStdString());
            [&] { QVERIFY(ONCOMMAND(IDM_PRINT)); }();
            const QStringList pages = pdfPages(pdf);
            return pages.isEmpty() ? QString() : pages[0].simplified();
        };
        const QString one = printBoard(1);
        for (const char* words :
             {" - Board 1", "Dealer: N", "Vul: None", "♠ AK73", "♥ QJ4", "♦ T92", "♣ A85", "♠ 862",
              "♣ 963", "NT ♠ ♥ ♦ ♣", "Par ", "NS EW Score"})
            QVERIFY2(one.contains(QString::fromUtf8(words)), qPrintable(words + (": " + one)));
        DdJob job = DDJOBOFBOARD(1);
        QVERIFY(DDCACHED(job)); // analysed for the print
        QCOMPARE(PRINTANALYSISJOBS(2, 1).size(), std::size_t(0));
        QCOMPARE(PRINTANALYSISJOBS(2, 0).size(), std::size_t(1));

        const QString two = printBoard(2);
        for (const char* words :
             {"Dealer: E", "Vul: NS", "♠ AKQJT98765432", "♣ AKQJT98765432", "♥ -", "N 0 13 0 13 0",
              "S 0 13 0 13 0", "E 0 0 13 0 13", "W 0 0 13 0 13", "Par +2210 NS: 7S-NS"})
            QVERIFY2(two.contains(QString::fromUtf8(words)), qPrintable(words + (": " + two)));

        const QString three = printBoard(3);
        QVERIFY2(three.contains("Dealer: S") && three.contains("Vul: EW"), qPrintable(three));
        QVERIFY2(three.contains(QString::fromUtf8("♠ AKQJT98765432")), qPrintable(three));
        QVERIFY2(!three.contains("Par") && !three.contains("NT"), qPrintable(three));

        const QString four = printBoard(4);
        QVERIFY2(four.contains(" - Board 4") && four.contains("NS EW Score"), qPrintable(four));
        QVERIFY2(!four.contains("Dealer") && !four.contains(QString::fromUtf8("♠")),
                 qPrintable(four));
        QVERIFY(GwSeamMessages().empty());

        // The picture: the top of the first board's page at 90 dots per inch.
        const QString wanted = qEnvironmentVariable("ORLA_SCREENSHOTS");
        const QString folder = !qEnvironmentVariableIsSet("ORLA_SCREENSHOTS") ? files_->path()
                               : QDir(wanted).exists() && !wanted.isEmpty()
                                   ? wanted
                                   : QString(ORLA_DOCS_DIR);
        QProcess render;
        render.start("pdftoppm", {"-png", "-r", "90", "-f", "1", "-l", "1", "-x", "0", "-y", "0",
                                  "-W", "744", "-H", "540", "-singlefile", file("board1.pdf"),
                                  folder + "/board-list-hands"});
        QVERIFY(render.waitForFinished(20000));
        QCOMPARE(render.exitCode(), 0);
        QVERIFY(!QImage(folder + "/board-list-hands.png").isNull());
    }

    // The export and print dialogs never write over the tournament's own file
    // (reached by its name or a link), and a PDF cut short on the way (here by a
    // limit on the size of the files the program may write, as a full temporary
    // folder would) never replaces a good PDF: each is said, nothing changes.
    void outputsNeverReplaceTheirInputOrAGoodPdf() {
        open(dataFile("mitchell_mp", "input.otr"), "t.otr");
        QVERIFY(QFile::link(file("t.otr"), file("link.otr")));
        const QByteArray tournament = readAll(file("t.otr"));
        struct Row {
            int command;
            const char* target;
        };
        const Row rows[] = {{IDM_EXPORTTEXT, "t.otr"},
                            {IDM_EXPORTHTML, "link.otr"},
                            {IDM_EXPORTPBN, "t.otr"},
                            {IDM_PRINT, "link.otr"}};
        for (const Row& r : rows) {
            const std::size_t before = GwSeamMessages().size();
            if (r.command == IDM_PRINT) {
                GwSeamNextPrint(file(r.target).toStdString());
            } else {
                GwSeamNextFileName(file(r.target).toStdString());
                GwSeamNextAnswer(GW_IDYES); // replace the file that exists
            }
            ONCOMMAND(r.command);
            QCOMPARE(GwSeamMessages().size(), before + (r.command == IDM_PRINT ? 1 : 2));
            QVERIFY2(GwSeamMessages().back().text.find("is the tournament file") != std::string::npos,
                     GwSeamMessages().back().text.c_str());
            QCOMPARE(readAll(file("t.otr")), tournament);
        }
        QVERIFY(QFileInfo(file("link.otr")).isSymLink());

#ifndef _WIN32
        GwSeamNextPrint(file("ranking.pdf").toStdString());
        QVERIFY(ONCOMMAND(IDM_PRINT));
        const QByteArray good = readAll(file("ranking.pdf"));
        QVERIFY(good.size() > 10000);
        QVERIFY(ONCOMMAND(IDM_SORTBYLINES));
        struct rlimit old {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit small = old;
        small.rlim_cur = 4096;
        const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        GwSeamNextPrint(file("ranking.pdf").toStdString());
        ONCOMMAND(IDM_PRINT);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldSignal);
        QVERIFY2(GwSeamMessages().back().text.find("could not be written whole") != std::string::npos,
                 GwSeamMessages().back().text.c_str());
        QCOMPARE(readAll(file("ranking.pdf")), good);
#endif
    }

    // A cancelled print dialog prints nothing and leaves "0" in Error.log.
    void cancelledPrintWritesTheErrorLog() {
        open(dataFile("mitchell_mp", "input.otr"), "t.otr");
        QFile::remove(settingsDir_.path() + "/Error.log");
        QVERIFY(ONCOMMAND(IDM_PRINT)); // no answer queued: cancelled
        QCOMPARE(readAll(settingsDir_.path() + "/Error.log"), QByteArray("0\n"));
    }

    // The selectors of the two list views: Page Down and Page Up on the pair
    // selector scroll the cards below it, choosing a pair shows its card alone;
    // on the board selector of the frequency lists they go to the next and the
    // previous board, as in the board lists.
    void selectorsOfTheListViews() {
        MainWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(MainWindow));
        open(dataFile("mitchell_mp", "input.otr"), "t.otr");
        QVERIFY(ONCOMMAND(IDM_PERSONAL));
        QWidget* pairs = EntryWindows.pairList;
        QVERIFY(pairs && pairs->isVisible() && pairs->hasFocus());
        // The selector lists every pair with the names as they stand when the
        // view is chosen.
        std::string item;
        GwCtlGetChar(pairs, item, DLG_ITEM + 1);
        QCOMPARE(item, std::string("All pairs"));
        GwCtlGetChar(pairs, item, DLG_ITEM + 5);
        QCOMPARE(QString::fromStdString(item), QString("NS4  Dragan \"Gaga\" Ilić - Ćiril Ćosić"));
        int pos = -1, page = 0, max = 0;
        GwCtlGetInt(EntryWindows.listScroll, page, DLG_PAGE);
        GwCtlGetInt(EntryWindows.listScroll, max, DLG_MAX);
        QVERIFY2(page > 0 && PERSONALROWS() > page, "every card is more than a window");
        QTest::keyClick(pairs, Qt::Key_PageDown);
        GwCtlGetInt(EntryWindows.listScroll, pos);
        QCOMPARE(pos, std::min(page, max));
        QCOMPARE(PersonalPair, 0); // the choice stays "All pairs"
        QTest::keyClick(pairs, Qt::Key_PageUp);
        GwCtlGetInt(EntryWindows.listScroll, pos);
        QCOMPARE(pos, 0);
        QTest::keyClick(pairs, Qt::Key_PageUp); // no further than the top
        GwCtlGetInt(EntryWindows.listScroll, pos);
        QCOMPARE(pos, 0);

        QTest::keyClick(pairs, Qt::Key_Down);
        QCOMPARE(PersonalPair, 1);
        const auto card = PERSONALTABLE();
        QVERIFY(QString::fromStdString(card.front().at(0)).startsWith("For pair: "));
        QCOMPARE(card.back().at(0), std::string("Total:"));
        QCOMPARE(std::count_if(card.begin(), card.end(),
                               [](const auto& row) { return row.at(0) == "Total:"; }),
                 1);
        QTest::keyClick(pairs, Qt::Key_Down);
        QCOMPARE(PersonalPair, 2);
        QTest::keyClick(pairs, Qt::Key_Home);
        QCOMPARE(PersonalPair, 0);

        QVERIFY(ONCOMMAND(IDM_FREQUENCY));
        QWidget* board = EntryWindows.board;
        QVERIFY(board->isVisible() && board->hasFocus() && !pairs->isVisible());
        QCOMPARE(CURRENTBOARD(), 1);
        const auto first = FREQUENCYTABLE(1);
        QTest::keyClick(board, Qt::Key_PageDown);
        QCOMPARE(CURRENTBOARD(), 2);
        QCOMPARE(FREQUENCYROWS(), int(FREQUENCYTABLE(2).size()));
        QTest::keyClick(board, Qt::Key_PageUp);
        QCOMPARE(CURRENTBOARD(), 1);
        QCOMPARE(FREQUENCYTABLE(CURRENTBOARD()), first);
        QCOMPARE(ViewMode, 3); // the keys of the board lists' entry stay out
    }

    // The screenshots of the README (written to docs/ when ORLA_SCREENSHOTS is
    // set, to the folder it names when that exists, otherwise only made): the
    // frequency lists of a board and one pair's score card.
    void screenshots() {
        const QString wanted = qEnvironmentVariable("ORLA_SCREENSHOTS");
        const QString folder = !qEnvironmentVariableIsSet("ORLA_SCREENSHOTS") ? files_->path()
                               : QDir(wanted).exists() && !wanted.isEmpty()
                                   ? wanted
                                   : QString(ORLA_DOCS_DIR);
        open(dataFile("mitchell_mp", "input.otr"), "t.otr");
        MainWindow->resize(760, 520);
        QVERIFY(ONCOMMAND(IDM_FREQUENCY));
        QTest::keyClick(EntryWindows.board, Qt::Key_PageDown);
        QCOMPARE(CURRENTBOARD(), 2);
        const QImage frequency = MainWindow->grab().toImage();
        QVERIFY(ONCOMMAND(IDM_PERSONAL));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(EntryWindows.pairList, Qt::Key_Down);
        QCOMPARE(PersonalPair, 4);
        const QImage card = MainWindow->grab().toImage();
        QVERIFY(frequency.save(folder + "/frequency-lists.png"));
        QVERIFY(card.save(folder + "/personal-card.png"));
    }

    // Page Setup: a picture is chosen; a metafile, a file that is no picture and a
    // missing one are refused by name with the earlier choice kept; OK saves the
    // header, and "None" keeps the path for another time.
    void pageSetupChoosesTheHeaderPicture() {
        QVERIFY(COMMANDENABLED(IDM_PAGESETUP));
        const QString logo = file("logo.png"), emf = file("logo.emf"), broken = file("broken.png");
        QImage picture(40, 10, QImage::Format_RGB32);
        picture.fill(Qt::darkBlue);
        QVERIFY(picture.save(logo));
        for (const QString& name : {emf, broken}) {
            QFile f(name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a picture at all");
        }
        GwSeamOnNextModal([&](DialogRecord& dlg) {
            QVERIFY(control(dlg, 1020)->property("checked").toBool());
            QCOMPARE(text(dlg, 1002), std::string("Arial Bold, 16  pt"));
            QCOMPARE(text(dlg, 1003), std::string("Courier, 10  pt"));
            QVERIFY(!enabled(dlg, 1000) && !enabled(dlg, 1001) && !enabled(dlg, 4));
            click(dlg, 1022);
            QVERIFY(!enabled(dlg, 1000) && enabled(dlg, 4));
            GwSeamNextFileName(logo.toStdString());
            click(dlg, 4);
            QCOMPARE(GwSeamLastFileDialog().title, std::string("Custom Print He"));
            QCOMPARE(GwSeamLastFileDialog().filters.at(0),
                     std::string("Pictures (*.svg *.png *.jpg *.jpeg)"));
            QCOMPARE(QString::fromStdString(text(dlg, 1001)), logo);
            QVERIFY(GwSeamMessages().empty());
            const struct {
                QString path;
                const char *name, *why;
            } refused[] = {{emf, "\"logo.emf\"", "metafiles"},
                           {broken, "\"broken.png\"", "not a picture"},
                           {file("gone.png"), "\"gone.png\"", "does not exist"}};
            for (const auto& r : refused) {
                GwSeamNextFileName(r.path.toStdString());
                click(dlg, 4);
                const std::string said = GwSeamMessages().back().text;
                QVERIFY2(said.find(r.name) != std::string::npos, said.c_str());
                QVERIFY2(said.find(r.why) != std::string::npos, said.c_str());
                QCOMPARE(QString::fromStdString(text(dlg, 1001)), logo);
            }
            QCOMPARE(GwSeamMessages().size(), std::size_t(3));
            click(dlg, 1);
        });
        QVERIFY(ONCOMMAND(IDM_PAGESETUP));
        QCOMPARE(GwSeamPendingModals(), 0);
        QCOMPARE(HeaderType, 2);
        QCOMPARE(QString::fromStdString(EMFHeader), logo);
        QCOMPARE(QSettings("ORLA", "0.9").value("HeaderType").toInt(), 2);
        QCOMPARE(QSettings("ORLA", "0.9").value("EMFHeader").toString(), logo);

        // The dialog shows the picture again; "None" and OK keep its path.
        GwSeamOnNextModal([&](DialogRecord& dlg) {
            QVERIFY(control(dlg, 1022)->property("checked").toBool());
            QCOMPARE(QString::fromStdString(text(dlg, 1001)), logo);
            click(dlg, 1020);
            click(dlg, 1);
        });
        QVERIFY(ONCOMMAND(IDM_PAGESETUP));
        QCOMPARE(HeaderType, 0);
        QCOMPARE(QString::fromStdString(EMFHeader), logo);
        QCOMPARE(QSettings("ORLA", "0.9").value("HeaderType").toInt(), 0);
    }

    // The fonts: the fixed one from fixed-pitch fonts of 6 to 12 points, saved on
    // OK; Cancel undoes a font chosen and the header typed.
    void pageSetupChoosesTheFonts() {
        GwSeamOnNextModal([&](DialogRecord& dlg) {
            GwSeamNextFont({"DejaVu Sans Mono", 20, 700, true});
            click(dlg, 1024);
            const GwSeamFontDialog& asked = GwSeamLastFontDialog();
            QVERIFY(asked.fixedPitchOnly);
            QCOMPARE(asked.minPoints, 6);
            QCOMPARE(asked.maxPoints, 12);
            QCOMPARE(asked.start.face, std::string("Courier"));
            QCOMPARE(asked.start.points, 10);
            QCOMPARE(text(dlg, 1003), std::string("DejaVu Sans Mono Bold Italic, 12  pt"));
            GwSeamNextFontCancel();
            click(dlg, 1023); // a cancelled font dialog changes nothing
            QVERIFY(!GwSeamLastFontDialog().fixedPitchOnly);
            QCOMPARE(text(dlg, 1002), std::string("Arial Bold, 16  pt"));
            click(dlg, 1);
        });
        QVERIFY(ONCOMMAND(IDM_PAGESETUP));
        for (const LogFont& f : {FixedFont, storedFont("FixedFont")}) {
            QCOMPARE(LOGFONTFACE(f), std::string("DejaVu Sans Mono"));
            QCOMPARE(f.lfHeight, 12);
            QCOMPARE(f.lfWeight, 700);
            QCOMPARE(int(f.lfItalic), 1);
        }
        QCOMPARE(LOGFONTFACE(storedFont("HeaderFont")), std::string("Arial"));

        const QByteArray savedHeader = QSettings("ORLA", "0.9").value("HeaderFont").toByteArray();
        GwSeamOnNextModal([&](DialogRecord& dlg) {
            GwSeamNextFont({"Liberation Serif", 18, 400, false});
            click(dlg, 1023);
            QCOMPARE(text(dlg, 1002), std::string("Liberation Serif, 18  pt"));
            click(dlg, 1021);
            DLGSETCHAR(dlg, 1000, "Bridge club Beograd");
            click(dlg, 2);
        });
        QVERIFY(ONCOMMAND(IDM_PAGESETUP));
        QCOMPARE(LOGFONTFACE(HeaderFont), std::string("Arial"));
        QCOMPARE(HeaderFont.lfHeight, 16);
        QCOMPARE(HeaderType, 0);
        QVERIFY(EMFHeader.empty());
        QCOMPARE(QSettings("ORLA", "0.9").value("HeaderFont").toByteArray(), savedHeader);

        // What the printing layer is given.
        APPLYPAGESETUP();
        QCOMPARE(PrintSetup.fixedFont.face, std::string("DejaVu Sans Mono"));
        QCOMPARE(PrintSetup.fixedFont.points, 12);
    }
};

QTEST_MAIN(ReportsTest)
#include "test_reports.moc"
