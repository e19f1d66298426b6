// The Hand Diagram dialog typed with the keyboard: the number-pad keys, refused
// cards, pasting, clearing a suit, "Complete", the tournament saved and opened
// again with its deal, the double-dummy table solved in the background, "Analyse
// all" and its Cancel, and the screenshot of the README.

#include "core/tournament.h"
#include "hands/analysis.h"
#include "hands/hands.h"
#include "shell/commands.h"
#include "shell/handdlg.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwseam.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QFile>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <random>

namespace {

QString qtext(DialogRecord& dlg, int id) {
    return QString::fromStdString(text(dlg, id));
}

void type(QWidget* w, const QString& text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Shows board b as the director does, with the arrow keys of the "Board:" control.
void showBoard(DialogRecord& dlg, int b) {
    DLGSETINT(dlg, 1030, b == 1 ? 2 : b - 1);
    QTest::keyClick(control(dlg, 1030), b == 1 ? Qt::Key_Down : Qt::Key_Up);
}

bool menuChecked() {
    return FINDCOMMAND(IDM_HANDDIAGRAMS)->checked;
}

const QString Incomplete = "Double dummy: when all 52 cards are dealt";
const QString Waiting = "Double dummy: analysing...";

// The tricks of the shown table, row by row (N, S, E, W), each row NT, spades,
// hearts, diamonds, clubs; empty when no table is shown.
QList<int> tricks(DialogRecord& dlg) {
    static const QRegularExpression cell("<td align=\"right\">&nbsp;&nbsp;(\\d+)</td>");
    QList<int> all;
    for (auto m = cell.globalMatch(qtext(dlg, 1046)); m.hasNext();)
        all << m.next().captured(1).toInt();
    return all;
}

// A deal in which each hand holds one whole suit: suitOf[h] for hand h (N, W, E,
// S). The side holding a suit takes all 13 tricks in it, whoever of the two
// declares, and none in no trump, where the opening leader runs his suit.
void wholeSuits(int board, const std::array<int, 5>& suitOf) {
    for (int h = 1; h <= 4; ++h)
        for (int r = 1; r <= 13; ++r)
            HandCards(CARDNUMBER(suitOf[h], r), board) = static_cast<std::int8_t>(h);
}
QList<int> wholeSuitTricks(const std::array<int, 5>& suitOf) {
    QList<int> all;
    for (const int h : {HAND_NORTH, HAND_SOUTH, HAND_EAST, HAND_WEST}) {
        const int partner = 5 - h;
        all << 0;
        for (int suit = 4; suit >= 1; --suit)
            all << (suit == suitOf[h] || suit == suitOf[partner] ? 13 : 0);
    }
    return all;
}
// The 24 ways to give the four suits to the four hands.
std::array<int, 5> permutation(int n) {
    std::array<int, 5> p{0, 1, 2, 3, 4};
    for (int i = 0; i < n % 24; ++i) std::next_permutation(p.begin() + 1, p.end());
    return p;
}

// Holds the solver's thread at each step while `gated`: it says it is there
// through `reached` and goes on when `go` is released.
std::atomic<bool> gated{false};
std::atomic<int> lastDone{-1};
QSemaphore reached, go;
void gate(int done, int) {
    lastDone = done;
    if (!gated) return;
    reached.release();
    go.acquire();
}
// Waits, the events running, until the solver's thread is held.
bool held() {
    return QTest::qWaitFor([] { return reached.tryAcquire(); }, 60000);
}
// Waits, the events running, until the solver is done; generous, for a loaded
// machine.
bool idle() {
    return QTest::qWaitFor([] { return !HANDANALYSISRUNNING(); }, 60000);
}
// Lets the held step go and every later one run free.
void openGate() {
    gated = false;
    go.release();
}

} // namespace

class HandDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    std::unique_ptr<QTemporaryDir> files_;

    // File > New with hand diagrams, and the dialog shown.
    void newTournamentWithHands() {
        GwSeamOnNextModal([](DialogRecord& dlg) {
            click(dlg, 1011); // Hand diagrams
            click(dlg, 1);
        });
        QVERIFY(ONCOMMAND(IDM_FILENEW));
        QVERIFY(ONCOMMAND(IDM_HANDDIAGRAMS));
        QVERIFY(HANDDIAGRAMSHOWN());
        SETSAVE(false);
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        USETESTFOLDERS(settingsDir_.path());
    }

    void init() {
        DDCLEARCACHE();
        gated = false;
        reached.acquire(reached.available());
        go.acquire(go.available());
        HandAnalysisStep = gate;
        files_ = std::make_unique<QTemporaryDir>();
        QVERIFY(OPENTESTWINDOW());
    }

    void cleanup() {
        if (gated) openGate(); // a failed test must not leave the solver waiting
        SHUTDOWN();
        QVERIFY(!HANDANALYSISRUNNING());
        HandAnalysisStep = nullptr;
        GwSeamStop();
        files_.reset();
    }

    // The File menu's hand records: a malformed file changes nothing and says
    // which line; a good one turns the diagrams on; the export gives it back.
    void importAndExportHandsFromTheFileMenu() {
        GwSeamOnNextModal([](DialogRecord& dlg) { click(dlg, 1); });
        QVERIFY(ONCOMMAND(IDM_FILENEW));
        QVERIFY(!FINDCOMMAND(IDM_EXPORTHANDS)->enabled);
        const QString deal = "[Board \"1\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. "
                             "..AKQJT98765432. ...AKQJT98765432\"]\n";
        const auto write = [&](const QString& name, const QString& text) {
            QFile f(files_->path() + "/" + name);
            f.open(QIODevice::WriteOnly);
            f.write(text.toUtf8());
            return (files_->path() + "/" + name).toStdString();
        };
        const std::size_t before = GwSeamMessages().size();
        GwSeamNextFileName(write("bad.pbn", deal + "[Board \"2\"]\n[Deal \"N:AKQ... x\"]\n"));
        QVERIFY(ONCOMMAND(IDM_IMPORTHANDS));
        QCOMPARE(GwSeamMessages().size(), before + 1);
        QVERIFY(GwSeamMessages().back().text.find("Line 4") != std::string::npos);
        QVERIFY(!ISTRUE(HasHands));
        QVERIFY(!FINDCOMMAND(IDM_HANDDIAGRAMS)->enabled);

        GwSeamNextFileName(write("good.pbn", deal));
        QVERIFY(ONCOMMAND(IDM_IMPORTHANDS));
        QVERIFY(ISTRUE(HasHands));
        QVERIFY(Modified);
        QVERIFY(FINDCOMMAND(IDM_HANDDIAGRAMS)->enabled && FINDCOMMAND(IDM_EXPORTHANDS)->enabled);
        int held[5] = {};
        for (int card = 1; card <= 52; ++card)
            ++held[std::clamp(int(HandCards(card, 1)), 0, 4)];
        QCOMPARE(held[0], 0); // a whole deal, 13 cards a hand
        QCOMPARE(held[1], 13);

        const std::string out = (files_->path() + "/out.pbn").toStdString();
        GwSeamNextFileName(out);
        QVERIFY(ONCOMMAND(IDM_EXPORTHANDS));
        QFile f(QString::fromStdString(out));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString written = QString::fromUtf8(f.readAll());
        QVERIFY2(written.contains("[Deal \"N:AKQJT98765432... .AKQJT98765432.. "
                                  "..AKQJT98765432. ...AKQJT98765432\"]"),
                 qPrintable(written));
    }

    // A whole deal typed, refused, pasted, cleared, completed, saved and read back.
    void typeADeal() {
        // A tournament without hand diagrams has no dialog.
        GwSeamOnNextModal([](DialogRecord& dlg) { click(dlg, 1); });
        QVERIFY(ONCOMMAND(IDM_FILENEW));
        QVERIFY(!FINDCOMMAND(IDM_HANDDIAGRAMS)->enabled);
        QVERIFY(ONCOMMAND(IDM_FILECLOSE));

        GwSeamOnNextModal([](DialogRecord& dlg) {
            click(dlg, 1011); // Hand diagrams
            click(dlg, 1);
        });
        QVERIFY(ONCOMMAND(IDM_FILENEW));
        QVERIFY(FINDCOMMAND(IDM_HANDDIAGRAMS)->enabled);
        QVERIFY(ONCOMMAND(IDM_HANDDIAGRAMS));
        QVERIFY(HANDDIAGRAMSHOWN());
        QVERIFY(menuChecked());
        DialogRecord& dlg = *HANDDIAGRAMDIALOG();
        SETSAVE(false);

        // North's spades with the number-pad keys: 1 / * - + and 0 for the ten.
        type(control(dlg, 1000), "1/*-0");
        QCOMPARE(qtext(dlg, 1000), QString("AKQJT"));
        QCOMPARE(HandCards(CARDNUMBER(4, 13), 1), std::int8_t(HAND_NORTH));
        QCOMPARE(HandCards(CARDNUMBER(4, 9), 1), std::int8_t(HAND_NORTH));
        QVERIFY(Modified);
        QCOMPARE(qtext(dlg, 1016), QString("98765432"));

        // A card held, by this hand or another, beeps and changes nothing; so does
        // a letter that is no card.
        int beeps = HandDiagramBeeps;
        type(control(dlg, 1000), "a");
        type(control(dlg, 1004), "1");
        QCOMPARE(HandDiagramBeeps, beeps + 2);
        // The reason is said in the dialog too, which may lie over the status bar.
        const auto* reason = dlg.window->findChild<QLabel*>("ReasonLine");
        QVERIFY(reason && reason->isVisible());
        QVERIFY2(reason->text().contains("held by"), qPrintable(reason->text()));
        QCOMPARE(reason->text(), MainWindow->status(2));
        type(control(dlg, 1004), "x");
        QCOMPARE(HandDiagramBeeps, beeps + 2);
        QCOMPARE(qtext(dlg, 1000), QString("AKQJT"));
        QCOMPARE(qtext(dlg, 1004), QString(""));
        QCOMPARE(HANDCOUNT(1, HAND_WEST), 0);

        // North's 14th card is refused.
        type(control(dlg, 1000), "98765432");
        QCOMPARE(HANDCOUNT(1, HAND_NORTH), 13);
        beeps = HandDiagramBeeps;
        type(control(dlg, 1001), "2");
        QCOMPARE(HandDiagramBeeps, beeps + 1);
        QCOMPARE(qtext(dlg, 1001), QString(""));
        QCOMPARE(HANDCOUNT(1, HAND_NORTH), 13);
        QCOMPARE(qtext(dlg, 1016), QString(""));

        // West the hearts, East the diamonds, in small letters and keys.
        type(control(dlg, 1005), "1/*-+98765432");
        type(control(dlg, 1010), "akqjt98765432");
        QCOMPARE(qtext(dlg, 1005), QString("AKQJT98765432"));
        QCOMPARE(qtext(dlg, 1010), QString("AKQJT98765432"));
        QCOMPARE(qtext(dlg, 1019), QString("AKQJT98765432"));

        // Pasted text goes through the same filter: "x" dropped, "1" an ace.
        QApplication::clipboard()->setText("x1k");
        QTest::keyClick(control(dlg, 1015), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(qtext(dlg, 1015), QString("AK"));
        QCOMPARE(qtext(dlg, 1019), QString("QJT98765432"));

        // Clearing the suit gives its cards back to the deck.
        auto* clubs = static_cast<QLineEdit*>(control(dlg, 1015));
        clubs->selectAll();
        QTest::keyClick(clubs, Qt::Key_Backspace);
        QCOMPARE(HandCards(CARDNUMBER(1, 13), 1), std::int8_t(0));
        QCOMPARE(qtext(dlg, 1019), QString("AKQJT98765432"));

        // Three hands complete: "Complete" gives South the rest.
        QVERIFY(enabled(dlg, 3));
        click(dlg, 3);
        QCOMPARE(qtext(dlg, 1015), QString("AKQJT98765432"));
        for (int id = 1016; id <= 1019; ++id)
            QCOMPARE(qtext(dlg, id), QString(""));
        QVERIFY(DEALCOMPLETE(1));
        QVERIFY(!enabled(dlg, 3));

        // Board 2: "Complete" stays off while two hands lack cards; a card button
        // types into the suit field last focused.
        showBoard(dlg, 2);
        QCOMPARE(qtext(dlg, 1000), QString(""));
        QVERIFY(!enabled(dlg, 3));
        control(dlg, 1008)->setFocus();
        QTRY_VERIFY(control(dlg, 1008)->hasFocus());
        click(dlg, 1032); // "A"
        QCOMPARE(qtext(dlg, 1008), QString("A"));
        QCOMPARE(HandCards(CARDNUMBER(4, 13), 2), std::int8_t(HAND_EAST));

        // Hide and show again with the menu's check mark.
        click(dlg, 2);
        QVERIFY(!HANDDIAGRAMSHOWN());
        QVERIFY(!menuChecked());

        // Saved and opened again, the deal is there.
        const std::string path = (files_->path() + "/hands.otr").toStdString();
        GwSeamNextFileName(path);
        QVERIFY(ONCOMMAND(IDM_FILESAVEAS));
        QVERIFY(!Modified);
        QVERIFY(ONCOMMAND(IDM_FILECLOSE));
        QVERIFY(!FINDCOMMAND(IDM_HANDDIAGRAMS)->enabled);
        GwSeamNextFileName(path);
        QVERIFY(ONCOMMAND(IDM_FILEOPEN));
        QVERIFY(DEALCOMPLETE(1));
        QCOMPARE(HandCards(CARDNUMBER(4, 13), 2), std::int8_t(HAND_EAST));
        QVERIFY(ONCOMMAND(IDM_HANDDIAGRAMS));
        QVERIFY(menuChecked());
        DialogRecord& again = *HANDDIAGRAMDIALOG();
        showBoard(again, 1);
        QCOMPARE(qtext(again, 1015), QString("AKQJT98765432"));
        QCOMPARE(qtext(again, 1000), QString("AKQJT98765432"));
        QCOMPARE(qtext(again, 1005), QString("AKQJT98765432"));

        // The screenshot of the README (written to docs/ when ORLA_SCREENSHOTS is set):
        // a deal typed for North, East and South, West completed, and its table.
        showBoard(again, 3);
        const char* const hands[] = {"1*9", "/-84", "+732", "1/",   // North
                                     "/-04", "19", "/*5", "*-92",   // East
                                     "872", "*076", "1-9", "043"};  // South
        for (int i = 0; i < 12; ++i) type(control(again, 1000 + i + (i >= 4 ? 4 : 0)), hands[i]);
        click(again, 3);
        QCOMPARE(qtext(again, 1007), QString("8765"));
        QTRY_VERIFY_WITH_TIMEOUT(qtext(again, 1046).contains("Par "), 60000);
        QCOMPARE(tricks(again).size(), 20);
        const QImage shot = again.window->grab().toImage();
        QVERIFY(!shot.isNull());
        if (qEnvironmentVariableIsSet("ORLA_SCREENSHOTS"))
            QVERIFY(shot.save(QString(ORLA_DOCS_DIR) + "/hand-diagram.png"));
    }

    // The table of a complete deal comes from the worker, goes when a card is taken
    // out and is back at once when the card returns; a result still on its way
    // never shows beside another deal.
    void doubleDummyTableFollowsTheDeal() {
        newTournamentWithHands();
        DialogRecord& dlg = *HANDDIAGRAMDIALOG();
        QCOMPARE(qtext(dlg, 1046), Incomplete);

        // Board 1 (none vulnerable, North deals): North the spades, East the hearts,
        // South the diamonds, typed; West the clubs by "Complete".
        type(control(dlg, 1000), "AKQJT98765432");
        type(control(dlg, 1009), "AKQJT98765432");
        type(control(dlg, 1014), "AKQJT98765432");
        QCOMPARE(qtext(dlg, 1046), Incomplete);
        click(dlg, 3);
        QVERIFY(DEALCOMPLETE(1));
        QVERIFY(idle());
        const std::array<int, 5> a{0, 4, 1, 3, 2};
        QCOMPARE(tricks(dlg), wholeSuitTricks(a));
        QVERIFY2(qtext(dlg, 1046).endsWith("Par +1510 NS: 7S-NS"), qPrintable(qtext(dlg, 1046)));

        // The deuce of spades out: no table; back in: the table at once.
        auto* spades = static_cast<QLineEdit*>(control(dlg, 1000));
        spades->setFocus();
        spades->end(false);
        QTest::keyClick(spades, Qt::Key_Backspace);
        QCOMPARE(qtext(dlg, 1046), Incomplete);
        QVERIFY(tricks(dlg).isEmpty());
        type(spades, "2");
        QVERIFY(!HANDANALYSISRUNNING());
        QCOMPARE(tricks(dlg), wholeSuitTricks(a));

        // Board 2's deal is being solved when the director moves on to board 3: the
        // result for board 2 arrives while board 3 is shown and must not show there.
        const std::array<int, 5> b{0, 1, 2, 4, 3}, c = a;
        QVERIFY(wholeSuitTricks(b) != wholeSuitTricks(c));
        wholeSuits(2, b);
        wholeSuits(3, c);
        gated = true;
        showBoard(dlg, 2);
        QCOMPARE(qtext(dlg, 1046), Waiting);
        QVERIFY(held());   // board 2 held before its solving
        showBoard(dlg, 3);
        QCOMPARE(qtext(dlg, 1046), Waiting);
        // Typing goes on while the solver works: a card out and back.
        auto* spades3 = static_cast<QLineEdit*>(control(dlg, 1000));
        spades3->end(false);
        QTest::keyClick(spades3, Qt::Key_Backspace);
        QCOMPARE(qtext(dlg, 1046), Incomplete);
        type(spades3, "2");
        QCOMPARE(qtext(dlg, 1000), QString("AKQJT98765432"));
        QCOMPARE(qtext(dlg, 1046), Waiting);
        go.release();
        QVERIFY(held());   // board 2 solved, its result not yet sent
        go.release();
        QVERIFY(held());   // board 3 held: board 2's result is in
        QCOMPARE(qtext(dlg, 1046), Waiting);
        QVERIFY(tricks(dlg).isEmpty());
        openGate();
        QVERIFY(idle());
        QCOMPARE(tricks(dlg), wholeSuitTricks(c));
        QVERIFY(qtext(dlg, 1046).endsWith("Par +1510 NS: 7S-NS"));
        showBoard(dlg, 2);
        QCOMPARE(tricks(dlg), wholeSuitTricks(b));
        QVERIFY(qtext(dlg, 1046).endsWith("Par +1510 EW: 7S-EW"));

        // The tournament closed while a deal is being solved: nothing shows, nothing
        // breaks when the result comes.
        wholeSuits(4, permutation(5));
        gated = true;
        showBoard(dlg, 4);
        QVERIFY(held());
        SETSAVE(false);
        QVERIFY(ONCOMMAND(IDM_FILECLOSE));
        QVERIFY(!HANDDIAGRAMSHOWN());
        openGate();
        QVERIFY(idle());
        QCOMPARE(qtext(dlg, 1046), Incomplete);
    }

    // "Analyse all" from the keyboard: its progress bar and Cancel, what a cancelled
    // run has solved kept, a second run that leaves every board shown at once, and
    // the dialog hidden or the tournament closed while it works.
    void analyseAllWithCancel() {
        newTournamentWithHands();
        DialogRecord& dlg = *HANDDIAGRAMDIALOG();
        QVERIFY(NumBoards >= 12);
        for (int board = 1; board <= NumBoards; ++board) wholeSuits(board, permutation(board));
        QVERIFY(!control(dlg, 1048)->isVisible());
        QVERIFY(!control(dlg, 1049)->isVisible());
        // Tab leads from the last suit field to the new button.
        control(dlg, 1015)->setFocus();
        QTRY_VERIFY(control(dlg, 1015)->hasFocus());
        QTest::keyClick(control(dlg, 1015), Qt::Key_Tab);
        QVERIFY(control(dlg, 1047)->hasFocus());

        // Alt+A from a suit field starts it and types no ace.
        gated = true;
        control(dlg, 1015)->setFocus();
        QTRY_VERIFY(control(dlg, 1015)->hasFocus());
        QTest::keyClick(control(dlg, 1015), Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(control(dlg, 1048)->isVisible());
        QCOMPARE(qtext(dlg, 1015), QString(SUITTEXT(1, HAND_SOUTH, 1).c_str()));
        QVERIFY(!enabled(dlg, 1047));
        // The field keeps the focus for more typing; Tab reaches Cancel.
        QVERIFY(control(dlg, 1015)->hasFocus());
        QTest::keyClick(control(dlg, 1015), Qt::Key_Tab);
        QVERIFY(control(dlg, 1049)->hasFocus());
        QVERIFY(held()); // before the first group
        go.release();
        QVERIFY(held()); // after it
        const int firstGroup = lastDone;
        QVERIFY(firstGroup > 0);
        QTest::keyClick(control(dlg, 1049), Qt::Key_Space); // Cancel
        QVERIFY(!control(dlg, 1048)->isVisible());
        QVERIFY(enabled(dlg, 1047));
        QVERIFY(control(dlg, 1047)->hasFocus());
        openGate();
        QVERIFY(idle());
        QVERIFY2(MainWindow->status(2).contains(QString("%1 of %2 deals done").arg(firstGroup).arg(NumBoards)) ||
                     firstGroup == NumBoards,
                 qPrintable(MainWindow->status(2)));
        // What the cancelled run solved shows at once; a board it did not reach
        // is solved when shown.
        int shownAtOnce = 0;
        for (int board = 1; board <= NumBoards; ++board) {
            showBoard(dlg, board);
            if (!tricks(dlg).isEmpty()) {
                ++shownAtOnce;
                QCOMPARE(tricks(dlg), wholeSuitTricks(permutation(board)));
            } else {
                QCOMPARE(qtext(dlg, 1046), Waiting);
                QVERIFY(idle());
            }
        }
        QCOMPARE(shownAtOnce, firstGroup);
        QVERIFY(shownAtOnce < NumBoards || firstGroup == NumBoards);

        // New deals: a whole run, after which every board shows at once.
        for (int board = 1; board <= NumBoards; ++board)
            wholeSuits(board, permutation(board + 7));
        showBoard(dlg, 1);
        QVERIFY(idle());
        click(dlg, 1047);
        QVERIFY(idle());
        QVERIFY(!control(dlg, 1048)->isVisible());
        QCOMPARE(MainWindow->status(2), QString("Double dummy: %1 deals analysed.").arg(NumBoards - 1));
        for (int board = 1; board <= NumBoards; ++board) {
            showBoard(dlg, board);
            QVERIFY(!HANDANALYSISRUNNING());
            QCOMPARE(tricks(dlg), wholeSuitTricks(permutation(board + 7)));
        }

        // New deals for boards 2 on, board 1 shown and known: Escape hides the
        // dialog and stops the run; so does closing the tournament.
        showBoard(dlg, 1);
        QVERIFY(!HANDANALYSISRUNNING());
        for (int board = 2; board <= NumBoards; ++board)
            wholeSuits(board, permutation(board + 13));
        gated = true;
        click(dlg, 1047);
        QVERIFY(held());
        QTest::keyClick(dlg.window, Qt::Key_Escape);
        QVERIFY(!HANDDIAGRAMSHOWN());
        openGate();
        QVERIFY(idle());
        QCOMPARE(lastDone, 0); // stopped before any deal was solved
        QVERIFY(ONCOMMAND(IDM_HANDDIAGRAMS));
        QVERIFY(enabled(dlg, 1047));
        QVERIFY(!control(dlg, 1049)->isVisible());
        gated = true;
        click(dlg, 1047);
        QVERIFY(held());
        SETSAVE(false);
        QVERIFY(ONCOMMAND(IDM_FILECLOSE));
        QVERIFY(!HANDDIAGRAMSHOWN());
        openGate();
        QVERIFY(idle());
        QCOMPARE(lastDone, 0);
        QVERIFY(!control(dlg, 1048)->isVisible());
    }

    // The program ends while the solver is at work: it is stopped and waited for.
    void exitWhileAnalysing() {
        newTournamentWithHands();
        DialogRecord& dlg = *HANDDIAGRAMDIALOG();
        std::mt19937 rng(41);
        for (int board = 1; board <= NumBoards; ++board) {
            std::array<int, 52> cards;
            for (int k = 0; k < 52; ++k) cards[k] = k + 1;
            std::shuffle(cards.begin(), cards.end(), rng);
            for (int i = 0; i < 52; ++i) HandCards(cards[i], board) = std::int8_t(i / 13 + 1);
        }
        click(dlg, 1047);
        QVERIFY(HANDANALYSISRUNNING());
        QTest::qWait(100);
        // cleanup() ends the program now: the solver stops after the deals in hand.
    }
};

QTEST_MAIN(HandDialogTest)
#include "test_handdlg.moc"
