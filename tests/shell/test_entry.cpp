// A director's evening typed with the keyboard alone: the Tournament Properties
// dialog, names in the pairs view, every result in the board lists, and the
// totals checked against the command line's reading of the saved file. Also
// the entry keys one by one, every refusal, and the screenshots of the README.

#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/results.h"
#include "core/tournament.h"
#include "players/players.h"
#include "scoring/scoring.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/lifecycle.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "winsupport/gwctl.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwseam.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// Types text key by key, letters beyond ASCII too.
void type(QWidget* w, const QString& text) {
    for (const QChar ch : text) {
        const char c = ch.toLatin1();
        const Qt::Key k = c >= '0' && c <= '9' ? Qt::Key(Qt::Key_0 + (c - '0'))
                          : c == '-'          ? Qt::Key_Minus
                                              : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, w, k, QString(ch), Qt::NoModifier);
    }
}

// Replaces the text of an edit as a user does: rub it out, type.
void retype(QWidget* w, const QString& text) {
    QTest::keyClick(w, Qt::Key_End);
    for (int i = 0; i < 70; ++i)
        QTest::keyClick(w, Qt::Key_Backspace);
    type(w, text);
}

void toggle(QWidget* box) {
    static_cast<QAbstractButton*>(box)->click();
}

// Chooses item `index` (0-based) of a combo with the arrow keys.
QLineEdit* field(int n) {
    return static_cast<QLineEdit*>(EntryWindows.field[n]);
}

QComboBox* nameBox() {
    return static_cast<QComboBox*>(EntryWindows.name);
}

void key(QWidget* w, int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(w, Qt::Key(k), m);
}

// Types a result into the active field and presses Enter.
void typeResult(const QString& t) {
    QWidget* f = EntryWindows.field[ActiveField];
    type(f, t);
    key(f, Qt::Key_Return);
}

} // namespace

class EntryTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    std::unique_ptr<QTemporaryDir> files_;

    // File > New through the dialog: `fill` sets the controls, then OK.
    static void newTournament(std::function<void(DialogRecord&)> fill = {}) {
        GwSeamOnNextModal([fill](DialogRecord& dlg) {
            if (fill) fill(dlg);
            click(dlg, 1);
        });
        QVERIFY(ONCOMMAND(IDM_FILENEW));
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

    // The rounds and boards the dialog proposes as the director types.
    void propertiesProposeTheSize_data() {
        QTest::addColumn<int>("movement"); // item of 1001, 0-based
        QTest::addColumn<int>("pairs");
        QTest::addColumn<int>("boards");
        QTest::addColumn<bool>("skip");
        QTest::addColumn<QString>("typedRounds");
        QTest::addColumn<int>("rounds");
        QTest::addColumn<int>("total");
        QTest::newRow("Howell 12 pairs") << 2 << 12 << 2 << false << "" << 9 << 18;
        QTest::newRow("Mitchell 13 pairs") << 0 << 13 << 3 << false << "" << 7 << 21;
        QTest::newRow("Mitchell 13 pairs skip") << 0 << 13 << 3 << true << "" << 6 << 21;
        QTest::newRow("Berger 10 pairs") << 1 << 10 << 4 << false << "" << 9 << 36;
        QTest::newRow("Berger 5 rounds") << 1 << 10 << 4 << false << "5" << 5 << 20;
    }
    void propertiesProposeTheSize() {
        QFETCH(int, movement);
        QFETCH(int, pairs);
        QFETCH(int, boards);
        QFETCH(bool, skip);
        QFETCH(QString, typedRounds);
        QFETCH(int, rounds);
        QFETCH(int, total);
        newTournament([&](DialogRecord& dlg) {
            retype(control(dlg, 1003), QString::number(pairs));
            choose(control(dlg, 1001), movement);
            if (movement == 2) choose(control(dlg, 1036), pairs - 5);
            retype(control(dlg, 1006), QString::number(boards));
            if (skip) toggle(control(dlg, 1007));
            if (!typedRounds.isEmpty()) retype(control(dlg, 1004), typedRounds);
            QCOMPARE(text(dlg, 1004), std::to_string(rounds));
            QCOMPARE(text(dlg, 1005), std::to_string(total));
            bool on = false;
            DLGGETLOG(dlg, 1007, on, DLG_ENABLED);
            QCOMPARE(on, movement == 0);
            DLGGETLOG(dlg, 1012, on, DLG_ENABLED);
            QCOMPARE(on, skip);
            // 7 tables need no skip (OK would refuse it): back to 7 rounds.
            if (skip) {
                toggle(control(dlg, 1007));
                QCOMPARE(text(dlg, 1004), std::to_string(rounds + 1));
            }
        });
        QVERIFY(TournamentOpen);
        QCOMPARE(NumPairs, pairs);
        QCOMPARE(NumRounds, skip ? rounds + 1 : rounds);
        QCOMPARE(NumBoards, total);
        QCOMPARE(NumBoardSets, total / boards);
        QVERIFY(!ISTRUE(SkipOn));
        QVERIFY(Modified);
    }

    // Each refusal names its field, keeps the dialog open with what was typed
    // and puts the cursor there; nothing is created.
    void propertiesRefuseBadShapes_data() {
        QTest::addColumn<int>("movement");
        QTest::addColumn<QString>("pairs");
        QTest::addColumn<QString>("boards");
        QTest::addColumn<QString>("total");
        QTest::addColumn<bool>("skip");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("says");
        QTest::newRow("no pairs") << 0 << "" << "3" << "" << false << 1003 << "\"Number of pairs\"";
        QTest::newRow("one pair") << 0 << "1" << "3" << "" << false << 1003 << "at least 2 pairs";
        QTest::newRow("no boards") << 0 << "10" << "" << "" << false << 1006
                                   << "\"Boards per round\"";
        QTest::newRow("zero boards") << 0 << "10" << "0" << "" << false << 1006 << "at least 1";
        QTest::newRow("skip, odd tables") << 0 << "10" << "3" << "" << true << 1007 << "\"Skip\"";
        QTest::newRow("custom, not a multiple")
            << 3 << "10" << "3" << "14" << false << 1005 << "multiple of \"Boards per round\"";
        QTest::newRow("custom, not rounds x boards")
            << 3 << "10" << "3" << "18" << false << 1005 << "5 x 3 = 15";
        QTest::newRow("howell outside 5..14") << 2 << "" << "2" << "" << false << 1036 << "5 to 14";
        // 999 pairs need 1500 boards, which the total-boards edit once cut to 150.
        QTest::newRow("more boards than a tournament holds")
            << 0 << "999" << "3" << "" << false << 1006 << "needs 1500 boards";
    }
    void propertiesRefuseBadShapes() {
        QFETCH(int, movement);
        QFETCH(QString, pairs);
        QFETCH(QString, boards);
        QFETCH(QString, total);
        QFETCH(bool, skip);
        QFETCH(int, field);
        QFETCH(QString, says);
        bool checked = false;
        GwSeamOnNextModal([&](DialogRecord& dlg) {
            choose(control(dlg, 1001), movement);
            if (movement == 2)
                DLGSETINT(dlg, 1036, 0); // no size chosen
            else
                retype(control(dlg, 1003), pairs);
            retype(control(dlg, 1006), boards);
            if (!total.isEmpty()) retype(control(dlg, 1005), total);
            if (skip) toggle(control(dlg, 1007));
            const std::size_t before = GwSeamMessages().size();
            click(dlg, 1);
            QVERIFY(dlg.window && dlg.window->isVisible());
            QCOMPARE(GwSeamMessages().size(), before + 1);
            const QString message = QString::fromStdString(GwSeamMessages().back().text);
            QVERIFY2(message.contains(says), qPrintable(message));
            QCOMPARE(dlg.window->focusWidget(), control(dlg, field));
            if (movement != 2) QCOMPARE(QString::fromStdString(text(dlg, 1003)), pairs);
            QCOMPARE(QString::fromStdString(text(dlg, 1006)), boards);
            checked = true;
            click(dlg, 2);
        });
        QVERIFY(ONCOMMAND(IDM_FILENEW));
        QVERIFY(checked);
        QVERIFY(!TournamentOpen);
    }

    // An open tournament: the movement is fixed, the rest can change; both
    // rating boxes unchecked go back to no rating; a name Windows-1250 cannot
    // hold is refused with the text kept.
    void propertiesOfAnOpenTournament() {
        newTournament([](DialogRecord& dlg) { toggle(control(dlg, 1008)); });
        QCOMPARE(RatingMode, -1);
        SETSAVE(false);
        bool checked = false;
        GwSeamOnNextModal([&](DialogRecord& dlg) {
            for (int id : {1001, 1003, 1004, 1005, 1006, 1007, 1012, 1019, 1020, 1021, 1022}) {
                bool on = true;
                DLGGETLOG(dlg, id, on, DLG_ENABLED);
                QVERIFY2(!on, qPrintable(QString::number(id)));
            }
            bool on = false;
            DLGGETLOG(dlg, 4, on, DLG_ENABLED);
            QVERIFY(on); // Recalculate now, with rating on
            retype(control(dlg, 1000), QString::fromUtf8("Ponedeljak \u4e2d"));
            click(dlg, 1);
            QVERIFY(dlg.window->isVisible());
            QVERIFY(QString::fromStdString(GwSeamMessages().back().text).contains("\u4e2d"));
            QCOMPARE(QString::fromStdString(text(dlg, 1000)), QString::fromUtf8("Ponedeljak \u4e2d"));
            // A control character (pasted: it cannot be typed) is refused too.
            static_cast<QLineEdit*>(control(dlg, 1000))->setText("Ponedeljak\x1b[2J");
            click(dlg, 1);
            QVERIFY(dlg.window->isVisible());
            QCOMPARE(GwSeamMessages().back().text,
                     std::string("Tournament name: the control character \u241B (U+001B) cannot be kept "
                                 "in a name."));
            retype(control(dlg, 1000), QString::fromUtf8("Ponedeljak Šabac"));
            choose(control(dlg, 1002), 1); // IMPs
            toggle(control(dlg, 1008)); // rating off
            checked = true;
            click(dlg, 1);
        });
        QVERIFY(ONCOMMAND(IDM_PROPERTIES));
        QVERIFY(checked);
        QCOMPARE(RatingMode, 0);
        QCOMPARE(CalcType, int(CALC_IMPS));
        QCOMPARE(CP1250TOUTF8(FIELDTEXT(Header.TournamentName, TournamentNameLength)),
                 std::string("Ponedeljak Šabac"));
        QCOMPARE(NumPairs, 10);
        QVERIFY(Modified);
    }

    // The keys of the result fields, each on a fresh 10-pair Mitchell.
    void resultKeys() {
        newTournament();
        QVERIFY(ONCOMMAND(IDM_BOARDLISTS));
        QCOMPARE(CURRENTBOARD(), 1);
        QCOMPARE(EditEntry, 1);
        QCOMPARE(MainWindow->focusWidget(), EntryWindows.field[1]);

        // An ordinary score, then one on an inverted entry.
        typeResult("42");
        QCOMPARE(Results(1, 1), 42.0f);
        QCOMPARE(EditEntry, 2);
        key(field(1), Qt::Key_Slash, Qt::KeypadModifier);
        QCOMPARE(Results(1, 2), -1000.0f);
        typeResult("42");
        QCOMPARE(Results(1, 2), -958.0f);

        // Keypad "+" on row 3 copies row 2 and moves on.
        key(field(1), Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(Results(1, 3), -958.0f);
        QCOMPARE(EditEntry, 4);

        // Keypad "*" twice: 10000 then 0, the second field hidden again.
        key(field(1), Qt::Key_Asterisk, Qt::KeypadModifier);
        QCOMPARE(Results(1, 4), 10000.0f);
        QVERIFY(field(2)->isVisible());
        key(field(1), Qt::Key_Asterisk, Qt::KeypadModifier);
        QCOMPARE(Results(1, 4), 0.0f);
        QVERIFY(!field(2)->isVisible());

        // Refusals: out of range, an inverted entry at 500; the text stays.
        typeResult("1000");
        QCOMPARE(EditEntry, 4);
        QCOMPARE(field(1)->text(), QString("1000"));
        QCOMPARE(Results(1, 4), 0.0f);
        QVERIFY(MainWindow->status(2).contains("-500 to 999"));
        QVERIFY(MainWindow->status(2).startsWith("NS score, board 1 row 4: type -500 to 999"));
        retype(field(1), "-50");
        key(field(1), Qt::Key_Return);
        QCOMPARE(Results(1, 4), -50.0f);
        QVERIFY(MainWindow->status(2).isEmpty()); // the refusal was answered
        key(field(1), Qt::Key_Backtab);
        QCOMPARE(EditEntry, 4);
        key(field(1), Qt::Key_Slash, Qt::KeypadModifier);
        retype(field(1), "500");
        key(field(1), Qt::Key_Return);
        QCOMPARE(EditEntry, 4);
        QVERIFY(MainWindow->status(2).contains("-500 to 499"));
        // Letters are not typed at all.
        retype(field(1), "4x2");
        QCOMPARE(field(1)->text(), QString("42"));
        key(field(1), Qt::Key_Return);
        QCOMPARE(Results(1, 4), -958.0f);

        // Past the last row: OK has the focus and the board is scored; Shift+Tab
        // goes back to the last row; Enter on OK goes to the next board.
        QCOMPARE(EditEntry, 5);
        typeResult("17");
        QCOMPARE(EditEntry, 0);
        QCOMPARE(MainWindow->focusWidget(), EntryWindows.ok);
        // The board list shows each side's share of the top as a whole percentage.
        for (int i = 1; i <= 5; ++i) {
            const std::vector<std::string> row = BOARDROW(1, i);
            QCOMPARE(BOARDHEADER()[5], std::string("% NS"));
            bool okNS = false, okEW = false;
            const int ns = QString::fromStdString(row[5]).toInt(&okNS);
            const int ew = QString::fromStdString(row[6]).toInt(&okEW);
            QVERIFY2(okNS && okEW && ns + ew == 100, (row[5] + " " + row[6]).c_str());
        }
        key(EntryWindows.ok, Qt::Key_Backtab);
        QCOMPARE(EditEntry, 5);
        key(field(1), Qt::Key_Return);
        key(EntryWindows.ok, Qt::Key_Return);
        QCOMPARE(CURRENTBOARD(), 2);
        QCOMPARE(EditEntry, 1);

        // An adjusted score in matchpoints is typed in tenths of a top; 60 is refused.
        key(field(1), Qt::Key_Asterisk, Qt::KeypadModifier);
        type(field(1), "60");
        key(field(1), Qt::Key_Tab);
        QCOMPARE(MainWindow->focusWidget(), EntryWindows.field[1]);
        QVERIFY(MainWindow->status(2).contains("Adjusted NS, board 2 row 1: type tenths of a top, 0 to 10"));
        retype(field(1), "6");
        key(field(1), Qt::Key_Tab);
        QCOMPARE(MainWindow->focusWidget(), EntryWindows.field[2]);
        typeResult("4");
        QCOMPARE(Results(2, 1), 10604.0f);
        QCOMPARE(EditEntry, 2);
        QVERIFY(MainWindow->status(2).isEmpty());

        // A click on a row starts typing there, after the pending result is read.
        type(field(1), "11");
        QTest::mouseClick(MainWindow->drawArea(), Qt::LeftButton, {},
                          QPoint(300, StripHeight + RowHeight + 4 * RowHeight + 5));
        QCOMPARE(Results(2, 2), 11.0f);
        QCOMPARE(EditEntry, 5);
    }

    // A window too low for every row: only whole rows are drawn and the row
    // being typed into stays in sight, in both views.
    void lowWindowKeepsTheEditedRowInSight() {
        newTournament();
        // A drawing area with room for the strip, the header and one row and a half.
        const int low = MainWindow->height() - MainWindow->drawArea()->height() + StripHeight +
                        RowHeight + RowHeight * 3 / 2;
        MainWindow->resize(MainWindow->width(), low);
        QTRY_VERIFY(VisiblePairRows < NumPairs);
        for (int i = 0; i < 2 * 7; ++i)
            key(nameBox(), Qt::Key_Return);
        QCOMPARE(EditPair, 8);
        QVERIFY(nameBox()->isVisible());
        QVERIFY(nameBox()->geometry().bottom() < MainWindow->drawArea()->height());

        QVERIFY(ONCOMMAND(IDM_BOARDLISTS));
        QCOMPARE(VisibleRows, 1);
        for (int row = 1; row <= 4; ++row)
            typeResult("42");
        QCOMPARE(EditEntry, 5);
        QVERIFY(field(1)->isVisible());
        QVERIFY(field(1)->geometry().bottom() < MainWindow->drawArea()->height());
        // Taller again and lower again: the row stays where it can be seen.
        MainWindow->resize(MainWindow->width(), 400);
        QTRY_VERIFY(VisibleRows >= 5);
        MainWindow->resize(MainWindow->width(), low);
        QTRY_COMPARE(VisibleRows, 1);
        QVERIFY(field(1)->isVisible());
        QVERIFY(field(1)->geometry().bottom() < MainWindow->drawArea()->height());
    }

    // The name box offers the registered players, and a name typed gets its
    // rating from the register at once; a player registered while the
    // tournament is open is offered without reopening it.
    void registeredNamesAreOfferedAndRated() {
        const QString register_ = QDir(settingsDir_.path()).filePath("Players.opd");
        {
            QFile f(register_);
            QVERIFY(f.open(QIODevice::WriteOnly));
            std::string rows;
            for (const auto& [name, rating] :
                 {std::pair<std::string, int>{"Petar Nikoli\xe6", 12}, {"Ana Petrovi\xe6", 7}}) {
                std::string line = name;
                line.resize(30, ' ');
                char numbers[16];
                std::snprintf(numbers, sizeof numbers, "%6d%6d", rating, 0);
                rows += line + numbers + "\r\n";
            }
            f.write(rows.data(), static_cast<qint64>(rows.size()));
        }
        QCOMPARE(LOADPLAYERS(), 2);
        newTournament([](DialogRecord& dlg) { toggle(control(dlg, 1008)); });
        QCOMPARE(RatingMode, -1);
        QCOMPARE(nameBox()->findText(QString::fromUtf8("Petar Nikolić")) >= 0, true);
        QCOMPARE(nameBox()->findText(QString::fromUtf8("Ana Petrović")) >= 0, true);
        type(nameBox(), QString::fromUtf8("petar nikolić"));
        key(nameBox(), Qt::Key_Return);
        QCOMPARE(PlayerRating(1, 1), 12);
        // A name stored by Save or Exit rather than Enter is rated too: an
        // unregistered one replacing a registered one has 0, not the old rating.
        key(nameBox(), Qt::Key_Tab, Qt::ShiftModifier);
        retype(nameBox(), QString::fromUtf8("Nova Osoba"));
        QVERIFY(STORENAMEBOX(false));
        QCOMPARE(PlayerRating(1, 1), 0);

        QVERIFY(REGISTERNEWPLAYER("Zoran Savi\xe6"));
        FILLNAMEBOX();
        QVERIFY(nameBox()->findText(QString::fromUtf8("Zoran Savić")) >= 0);
        QVERIFY(QFile::remove(register_));
        RESETPLAYERS();
    }

    // The name box: Enter wraps after the last cell, Page Up on pair 1 does
    // nothing, Page Down exchanges pairs, a name the file cannot hold is refused.
    void nameKeys() {
        newTournament();
        QCOMPARE(ViewMode, 1);
        QCOMPARE(EditPair, 1);
        QCOMPARE(MainWindow->focusWidget(), EntryWindows.name);
        type(nameBox(), QString::fromUtf8("Đorđe Šarić"));
        key(nameBox(), Qt::Key_PageUp);
        QCOMPARE(EditPair, 1);
        key(nameBox(), Qt::Key_PageDown);
        QCOMPARE(EditPair, 2);
        QCOMPARE(CP1250TOUTF8(FIELDTEXT(PlayerNames(2, 1).c, NameLength)),
                 std::string("Đorđe Šarić"));
        QCOMPARE(FIELDTEXT(PlayerNames(1, 1).c, NameLength), std::string());

        QTest::mouseClick(MainWindow->drawArea(), Qt::LeftButton, {},
                          QPoint(500, RowHeight * 10 + 5)); // numbers, not a name
        QCOMPARE(EditPair, 2);
        key(nameBox(), Qt::Key_Backtab);
        QCOMPARE(EditPair, 1);
        QCOMPARE(EditPlayer, 2);
        key(nameBox(), Qt::Key_Tab, Qt::ShiftModifier);
        key(nameBox(), Qt::Key_Backtab);
        QCOMPARE(EditPair, 10);
        QCOMPARE(EditPlayer, 2);
        key(nameBox(), Qt::Key_Return);
        QCOMPARE(EditPair, 1);
        QCOMPARE(EditPlayer, 1);

        type(nameBox(), QString::fromUtf8("Li \u4e2d"));
        key(nameBox(), Qt::Key_Return);
        QCOMPARE(EditPair, 1);
        QCOMPARE(nameBox()->currentText(), QString::fromUtf8("Li \u4e2d"));
        QVERIFY(MainWindow->status(2).contains("\u4e2d"));

        // A line break pasted into a name is refused, naming the cell.
        nameBox()->setEditText("Li\nNa");
        key(nameBox(), Qt::Key_Return);
        QCOMPARE(EditPair, 1);
        QCOMPARE(MainWindow->status(2),
                 QString::fromUtf8("Pair 1, player 1: the control character \u240A (U+000A) cannot be "
                                   "kept in a name."));
        QCOMPARE(FIELDTEXT(PlayerNames(1, 1).c, NameLength), std::string());
    }

    // The whole evening with the keyboard: 10 pairs, names, every result,
    // one adjusted score, one inversion, one copy, one faulty board, Ctrl+S;
    // then the ranking matches what orla-cli reads from the saved file.
    void directorsEvening() {
        newTournament([](DialogRecord& dlg) {
            type(control(dlg, 1000), "Ponedeljak");
            retype(control(dlg, 1003), "10");
            retype(control(dlg, 1006), "3");
        });
        QCOMPARE(NumBoards, 15);
        QStringList names;
        for (int p = 1; p <= 10; ++p)
            for (int j = 1; j <= 2; ++j)
                names << QString::fromUtf8("Igrač %1%2 Čolić").arg(p).arg(QChar('a' + j - 1));
        for (const QString& n : names) {
            type(nameBox(), n);
            key(nameBox(), Qt::Key_Return);
        }
        QCOMPARE(EditPair, 1);

        QVERIFY(ONCOMMAND(IDM_BOARDLISTS));
        const int scores[] = {42, 45, 17, 50, -10, -20, 14, 62, 66, 11, -5, 40, 12, 43, 18};
        int n = 0;
        for (int b = 1; b <= NumBoards; ++b) {
            QCOMPARE(CURRENTBOARD(), b);
            if (b == 5) {
                // Alt+U checks "Faulty" from the result field; the board is skipped.
                MainWindow->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(MainWindow));
                QTest::keyClick(MainWindow->focusWidget(), Qt::Key_U, Qt::AltModifier);
                QTRY_VERIFY(!ISTRUE(BoardValid(5)));
                QCOMPARE(MainWindow->focusWidget(), EntryWindows.ok);
                // Unchecked and checked again: typing goes on in row 1, then OK.
                QTest::keyClick(MainWindow->focusWidget(), Qt::Key_U, Qt::AltModifier);
                QTRY_VERIFY(ISTRUE(BoardValid(5)));
                QCOMPARE(MainWindow->focusWidget(), EntryWindows.field[1]);
                QCOMPARE(EditEntry, 1);
                QTest::keyClick(MainWindow->focusWidget(), Qt::Key_U, Qt::AltModifier);
                QTRY_VERIFY(!ISTRUE(BoardValid(5)));
                QCOMPARE(MainWindow->focusWidget(), EntryWindows.ok);
                key(EntryWindows.ok, Qt::Key_Return);
                continue;
            }
            for (int i = 1; i <= SetEntries((b + 2) / 3); ++i) {
                if (b == 2 && i == 1) {
                    key(field(1), Qt::Key_Asterisk, Qt::KeypadModifier);
                    type(field(1), "6");
                    key(field(1), Qt::Key_Tab);
                    typeResult("4");
                } else if (b == 3 && i == 2) {
                    key(field(1), Qt::Key_Slash, Qt::KeypadModifier);
                    typeResult("42");
                } else if (b == 4 && i == 3) {
                    key(field(1), Qt::Key_Plus, Qt::KeypadModifier);
                } else {
                    typeResult(QString::number(scores[n++ % 15] + (b % 3) * 10));
                }
            }
            QCOMPARE(MainWindow->focusWidget(), EntryWindows.ok);
            key(EntryWindows.ok, Qt::Key_Return);
        }
        QCOMPARE(Results(2, 1), 10604.0f);
        QCOMPARE(Results(3, 2), -958.0f);
        QCOMPARE(Results(4, 3), Results(4, 2));

        const std::string path = (files_->path() + "/evening.otr").toStdString();
        GwSeamNextFileName(path);
        MainWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(MainWindow));
        QTest::keyClick(MainWindow, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!Modified);

        QVERIFY(ONCOMMAND(IDM_SORTBYPLACEMENT));
        QProcess cli;
        cli.start(ORLA_CLI_PATH, {"dump", QString::fromStdString(path)});
        QVERIFY(cli.waitForFinished(20000));
        QCOMPARE(cli.exitCode(), 0);
        const QJsonObject dump = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
        const QJsonArray order = dump["PlacementOrder"].toArray();
        const QJsonArray totals = dump["PairTotal"].toArray();
        const QJsonArray percents = dump["PairPercent"].toArray();
        const QJsonArray saved = dump["PlayerNames"].toArray();
        QCOMPARE(order.size(), 10);
        for (int row = 1; row <= 10; ++row) {
            const std::vector<std::string> cells = PAIRSROW(row);
            const int p = order[row - 1].toInt();
            QCOMPARE(cells[1], std::to_string(p));
            QCOMPARE(QString::fromStdString(cells[5]),
                     QString::number(totals[p - 1].toDouble(), 'f', 1));
            QCOMPARE(QString::fromStdString(cells[6]),
                     QString::number(percents[p - 1].toDouble(), 'f', 2));
            QCOMPARE(QString::fromStdString(cells[2]), names[2 * (p - 1)]);
            QCOMPARE(saved[p - 1].toArray()[1].toString(), names[2 * (p - 1) + 1]);
        }
        QVERIFY(!dump["BoardValid"].toArray()[4].toBool());
    }

    // The screenshots of the README (written to docs/ when ORLA_SCREENSHOTS is
    // set, to the folder it names when that exists, otherwise only made): the
    // dialog, the ranking, a board in entry. With QT_SCALE_FACTOR they show the
    // views at 1.5 or 2 times.
    void screenshots() {
        const QString wanted = qEnvironmentVariable("ORLA_SCREENSHOTS");
        const QString folder = !qEnvironmentVariableIsSet("ORLA_SCREENSHOTS") ? files_->path()
                               : QDir(wanted).exists() && !wanted.isEmpty()
                                   ? wanted
                                   : QString(ORLA_DOCS_DIR);
        QImage dialogShot;
        newTournament([&](DialogRecord& dlg) {
            retype(control(dlg, 1000), "Ponedeljak, 14. oktobar");
            choose(control(dlg, 1002), 0);
            dialogShot = dlg.window->grab().toImage();
        });
        const char* const players[] = {"Ana Petrović",   "Marko Jovanović", "Đorđe Šarić",
                                       "Milica Ilić",    "Nikola Čolić",    "Jelena Kovač",
                                       "Stefan Đukić",   "Ivana Marković",  "Luka Pavlović",
                                       "Maja Stojanović", "Petar Nikolić",  "Sanja Živković",
                                       "Dragan Lukić",   "Vesna Popović",   "Zoran Savić",
                                       "Tijana Mitić",   "Bojan Ristić",    "Nada Todorović",
                                       "Goran Tomić",    "Mirjana Đorđević"};
        for (const char* name : players) {
            type(nameBox(), QString::fromUtf8(name));
            key(nameBox(), Qt::Key_Return);
        }
        QVERIFY(ONCOMMAND(IDM_BOARDLISTS));
        const int scores[] = {42, 45, 17, 50, -10, -20, 14, 62, 66, 11, -5, 40, 12, 43, 18};
        for (int b = 1; b <= 15; ++b) {
            for (int i = 1; i <= SetEntries((b + 2) / 3); ++i)
                typeResult(QString::number(scores[(b * 7 + i * 3) % 15]));
            key(EntryWindows.ok, Qt::Key_Return);
        }
        QVERIFY(ONCOMMAND(IDM_SORTBYPLACEMENT));
        const QImage ranking = MainWindow->grab().toImage();
        QVERIFY(ONCOMMAND(IDM_BOARDLISTS));
        GwCtlSetInt(EntryWindows.board, 7);
        ONTABCHANGE();
        typeResult("42");
        typeResult("-5");
        typeResult("45");
        type(field(1), "4");
        const QImage board = MainWindow->grab().toImage();
        QVERIFY(!dialogShot.isNull() && !ranking.isNull() && !board.isNull());
        QVERIFY(dialogShot.save(folder + "/properties.png"));
        QVERIFY(ranking.save(folder + "/pairs-by-placement.png"));
        QVERIFY(board.save(folder + "/board-list.png"));
    }
};

QTEST_MAIN(EntryTest)
#include "test_entry.moc"
