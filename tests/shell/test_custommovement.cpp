// The Custom Movement dialog driven as a director drives it: a whole 3-table
// movement typed with the keyboard, saved, opened into a new tournament and
// scored; the NS/EW forms, the duplicate guard, Cancel and the damaged files.

#include "core/tournament.h"
#include "movement/custom.h"
#include "scoring/scoring.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/lifecycle.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "shell/views.h"
#include "winsupport/gwctl.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwseam.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

QWidget* focused() {
    return QApplication::focusWidget();
}

// Types into the field that has the focus, then Enter.
void enter(const QString& t) {
    for (const QChar ch : t)
        QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_unknown, QString(ch), Qt::NoModifier);
    QTest::keyClick(focused(), Qt::Key_Return);
}

void retype(QWidget* w, const QString& t) {
    QTest::keyClick(w, Qt::Key_End);
    for (int i = 0; i < 10; ++i) QTest::keyClick(w, Qt::Key_Backspace);
    for (const QChar ch : t)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// A dialog action that starts once the dialog is the active window, with the
// focus where the keyboard finds it.
std::function<void(DialogRecord&)> active(std::function<void(DialogRecord&)> action) {
    return [action](DialogRecord& dlg) {
        QApplication::setActiveWindow(dlg.window);
        QVERIFY(QTest::qWaitForWindowActive(dlg.window));
        QCOMPARE(QApplication::activeWindow(), dlg.window);
        action(dlg);
    };
}

// The Tournament Properties dialog of a new Custom tournament of `pairs` pairs
// and 2 boards a round; `edit` runs in the Custom Movement dialog opened from
// "Edit...", `after` back in the properties dialog, which then takes OK.
void newCustom(int pairs, std::function<void(DialogRecord&)> edit,
               std::function<void(DialogRecord&)> after = {}, bool ok = true) {
    GwSeamOnNextModal([=](DialogRecord& props) {
        retype(control(props, 1003), QString::number(pairs));
        choose(control(props, 1001), 3);
        retype(control(props, 1006), "2");
        QVERIFY(enabled(props, 3));
        if (edit) {
            GwSeamOnNextModal(active(edit));
            click(props, 3);
        }
        if (after) after(props);
        if (ok) click(props, 1);
    });
    ONCOMMAND(IDM_FILENEW);
}

// The pairs of a 3-table schedule of the club's own: set, entry, NS, EW.
const int Schedule[3][3][2] = {
    {{1, 4}, {2, 5}, {3, 6}},
    {{6, 1}, {2, 3}, {4, 5}},
    {{1, 3}, {2, 6}, {5, 4}},
};

void expectSchedule() {
    for (int s = 1; s <= 3; ++s) {
        QCOMPARE(SetEntries(s), 3);
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(Movement(s, i, 1), Schedule[s - 1][i - 1][0]);
            QCOMPARE(Movement(s, i, 2), Schedule[s - 1][i - 1][1]);
        }
    }
}

} // namespace

class CustomMovementTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    std::unique_ptr<QTemporaryDir> files_;

    QString file(const QString& name) { return files_->path() + "/" + name; }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        USETESTFOLDERS(settingsDir_.path());
    }

    void init() {
        files_ = std::make_unique<QTemporaryDir>();
        RESETCUSTOMMOVEMENT();
        QVERIFY(OPENTESTWINDOW());
    }

    void cleanup() {
        CLOSETESTWINDOW();
        RESETCUSTOMMOVEMENT();
        files_.reset();
    }

    // A whole 3-table movement typed without the mouse, saved, opened into a
    // new tournament and scored there.
    void typeSaveOpenAndScore() {
        const std::string saved = file("club.ocm").toStdString();
        bool typed = false;
        newCustom(6, [&](DialogRecord& dlg) {
            QCOMPARE(focused(), control(dlg, 1100));
            // Every set, every entry: NS, Enter, EW, Enter; the last EW of a set
            // brings the next set's first field.
            for (int s = 1; s <= 3; ++s) {
                QCOMPARE(text(dlg, 1116), std::string("3"));
                for (int i = 1; i <= 3; ++i) {
                    QCOMPARE(focused(), control(dlg, 1100 + 2 * (i - 1)));
                    enter(QString::number(Schedule[s - 1][i - 1][0]));
                    enter(QString::number(Schedule[s - 1][i - 1][1]));
                }
                int tab = 0;
                DLGGETINT(dlg, 1026, tab);
                QCOMPARE(tab, s % 3 + 1);
            }
            expectSchedule();
            // Save As with its mnemonic, then Tab to OK and Enter.
            GwSeamNextFileName(saved);
            QTest::keyClick(focused(), Qt::Key_S, Qt::AltModifier);
            QTRY_VERIFY(QFile::exists(QString::fromStdString(saved)));
            QCOMPARE(GwSeamLastFileDialog().filters.front(),
                     std::string("ORLA Custom Movements (*.ocm)"));
            for (int n = 0; n < 30 && focused() != control(dlg, 1); ++n)
                QTest::keyClick(focused(), Qt::Key_Tab);
            QCOMPARE(focused(), control(dlg, 1));
            QTest::keyClick(focused(), Qt::Key_Return);
            typed = true;
        });
        QVERIFY(typed);
        QVERIFY(TournamentOpen);
        QCOMPARE(MovementType, int(MOVE_CUSTOM));
        QCOMPARE(NumBoardSets, 3);
        expectSchedule();

        // A new tournament of the same shape opens the file.
        QVERIFY(ONFILECLOSE());
        QVERIFY(!TournamentOpen);
        newCustom(6, [&](DialogRecord& dlg) {
            QCOMPARE(Movement(1, 1, 2), 4); // the Mitchell it starts from: 1-4, 2-5, 3-6
            GwSeamNextFileName(saved);
            click(dlg, 3);
            QCOMPARE(text(dlg, 1102), std::string("2"));
            click(dlg, 1);
        });
        QVERIFY(TournamentOpen);
        expectSchedule();

        // Board 3 (set 2) scored: pair 6 NS against 1, then 2-3 and 4-5.
        QVERIFY(ONCOMMAND(IDM_BOARDLISTS));
        GwCtlSetInt(EntryWindows.board, 3);
        ONTABCHANGE();
        for (const char* score : {"42", "45", "-5"}) {
            QTest::keyClicks(EntryWindows.field[ActiveField], score);
            QTest::keyClick(EntryWindows.field[ActiveField], Qt::Key_Return);
        }
        QTest::keyClick(EntryWindows.ok, Qt::Key_Return);
        QCOMPARE(Results(3, 1), 42.0f);
        QCOMPARE(BOARDROW(3, 1)[0], std::string("6"));
        // 450 beats 420 beats -50 for NS, and the EW pairs score the rest.
        QVERIFY(BoardPoints(3, 2, 1) > BoardPoints(3, 1, 1));
        QVERIFY(BoardPoints(3, 1, 1) > BoardPoints(3, 3, 1));
        QCOMPARE(BoardPoints(3, 1, 1) + BoardPoints(3, 1, 2), BoardPoints(3, 3, 1) + BoardPoints(3, 3, 2));
    }

    // NS/EW format: pairs shown and typed as line numbers, lower case too; two
    // sections; a repeated pair holds OK, Save As and the tabs until mended.
    void nsEwFormsAndDuplicates() {
        const QString shots = qEnvironmentVariable("ORLA_SCREENSHOTS");
        newCustom(14, [&](DialogRecord& dlg) {
            // Alt+F reaches the box at once, Space checks it.
            QTest::keyClick(focused(), Qt::Key_F, Qt::AltModifier);
            QCOMPARE(focused(), control(dlg, 1033));
            QTest::keyClick(focused(), Qt::Key_Space);
            QVERIFY(ISTRUE(NsEwFormat));
            QCOMPARE(text(dlg, 1101), std::string("E 1")); // pair 8 of the Mitchell
            QVERIFY(control(dlg, 1034)->isEnabled());
            QVERIFY(!control(dlg, 1000)->isEnabled());

            // Two entries in set 1 (the Mitchell lists every pair in it).
            control(dlg, 1116)->setFocus();
            retype(control(dlg, 1116), "2");
            QTest::keyClick(focused(), Qt::Key_Return);
            QCOMPARE(SetEntries(1), 2);
            QCOMPARE(focused(), control(dlg, 1100));
            QVERIFY(!control(dlg, 1104)->isEnabled());
            enter("e2");
            QCOMPARE(Movement(1, 1, 1), 9);
            QCOMPARE(focused(), control(dlg, 1101));
            enter("x9");
            QCOMPARE(focused(), control(dlg, 1101));
            QVERIFY(text(dlg, 1035).find("Entry 1 EW: \"x9\" is no pair") != std::string::npos);
            QCOMPARE(text(dlg, 1101), std::string("x9")); // what was typed stays
            enter("e8"); // pair 15 of 14
            QVERIFY(text(dlg, 1035).find("no pair e8") != std::string::npos);
            QCOMPARE(Movement(1, 1, 2), 8);
            enter("e1");
            // Entry 2 NS: pair 9 again.
            enter("E 2");
            QCOMPARE(text(dlg, 1035), std::string("Duplicated E 2 "));
            QVERIFY(!enabled(dlg, 1) && !enabled(dlg, 4) && !enabled(dlg, 1026));
            control(dlg, 1102)->setFocus();
            enter("n2");
            QCOMPARE(text(dlg, 1035), std::string());
            QVERIFY(enabled(dlg, 1) && enabled(dlg, 4) && enabled(dlg, 1026));

            // Two sections of 8 and 6.
            click(dlg, 1034);
            QVERIFY(control(dlg, 1000)->isEnabled());
            retype(control(dlg, 1000), "8");
            QTest::keyClick(control(dlg, 1000), Qt::Key_Return);
            QCOMPARE(SectionOnePairs, 8);
            QCOMPARE(text(dlg, 1100), std::string("2N 1"));
            control(dlg, 1103)->setFocus();
            enter("2e2");
            QCOMPARE(Movement(1, 2, 2), 13);
            if (!shots.isEmpty()) {
                const QString folder = QDir(shots).exists() ? shots : QString(ORLA_DOCS_DIR);
                QVERIFY(dlg.window->grab().save(folder + "/custom-movement.png"));
            }
            click(dlg, 1);
        }, {}, false);
        // Back in the properties dialog (cancelled): nothing is left behind.
        QVERIFY(!TournamentOpen);
        QVERIFY(!Movement.allocated());
    }

    // Cancel puts back the movement as the dialog found it: a new one is
    // dropped, one typed before keeps what it had.
    void cancelRestores() {
        newCustom(6, [](DialogRecord& dlg) {
            enter("2");
            enter("1");
            QCOMPARE(Movement(1, 1, 1), 2);
            click(dlg, 2);
        }, [](DialogRecord& props) {
            QVERIFY(!Movement.allocated());
            // Typed, kept with OK; opened again it shows what was typed.
            GwSeamOnNextModal(active([](DialogRecord& dlg) {
                enter("4");
                enter("1");
                click(dlg, 1);
            }));
            click(props, 3);
            QCOMPARE(Movement(1, 1, 1), 4);
            GwSeamOnNextModal(active([](DialogRecord& dlg) {
                QCOMPARE(text(dlg, 1100), std::string("4"));
                enter("5");
                QCOMPARE(Movement(1, 1, 1), 5);
                click(dlg, 2);
            }));
            click(props, 3);
            QCOMPARE(Movement(1, 1, 1), 4);
        });
        QVERIFY(TournamentOpen);
        QCOMPARE(Movement(1, 1, 1), 4);
        QCOMPARE(Movement(1, 1, 2), 1);
    }

    // A movement typed for 6 pairs does not become that of 8: OK names "Edit...".
    void propertiesRefuseAMovementOfOtherNumbers() {
        newCustom(6, [](DialogRecord& dlg) {
            enter("4");
            enter("1");
            click(dlg, 1);
        }, [](DialogRecord& props) {
            retype(control(props, 1003), "8");
        });
        QVERIFY(!TournamentOpen);
        QVERIFY(GwSeamMessages().back().text.find("Open \"Edit...\" to make it for 8 pairs") !=
                std::string::npos);
        QVERIFY(!Movement.allocated()); // dropped with the cancelled dialog
    }

    // Files that do not fit or are damaged are refused with their message and
    // change nothing.
    void badFilesChangeNothing() {
        const std::string seven = file("seven.ocm").toStdString(),
                          six = file("six.ocm").toStdString(), bad = file("bad.ocm").toStdString();
        newCustom(14, [&](DialogRecord& dlg) {
            GwSeamNextFileName(seven);
            click(dlg, 4);
            click(dlg, 2);
        }, {}, false);
        QVERIFY(QFile::exists(QString::fromStdString(seven)));

        newCustom(12, [&](DialogRecord& dlg) {
            GwSeamNextFileName(six);
            click(dlg, 4);
            QFile in(QString::fromStdString(six));
            QVERIFY(in.open(QIODevice::ReadOnly));
            QFile out(QString::fromStdString(bad));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(in.readAll().left(100));
            out.close();

            const int before = Movement(1, 1, 2);
            GwSeamNextFileName(seven);
            click(dlg, 3);
            QCOMPARE(GwSeamMessages().back().text,
                     std::string("The stored movement is incompatible with current number of "
                                 "rounds and board sets"));
            QCOMPARE(GwSeamMessages().back().caption, std::string("Error"));
            GwSeamNextFileName(bad);
            click(dlg, 3);
            QCOMPARE(GwSeamMessages().back().text, std::string("Error reading file."));
            QCOMPARE(Movement(1, 1, 2), before);
            click(dlg, 2);
        }, {}, false);

        // A sound movement of the same rounds for more pairs says so, with the
        // numbers.
        newCustom(13, [&](DialogRecord& dlg) {
            QCOMPARE(NumRounds, 7);
            const int before = Movement(1, 1, 2);
            GwSeamNextFileName(seven);
            click(dlg, 3);
            QCOMPARE(GwSeamMessages().back().text,
                     "The movement in " + seven + " is for 14 pairs; this tournament has 13 pairs.");
            QCOMPARE(Movement(1, 1, 2), before);
            click(dlg, 2);
        }, {}, false);
    }
};

QTEST_MAIN(CustomMovementTest)
#include "test_custommovement.moc"
