// The Hand Diagram dialog typed with the keyboard: the number-pad keys, refused
// cards, pasting, clearing a suit, "Complete", the tournament saved and opened
// again with its deal, and the screenshot of the README.

#include "core/tournament.h"
#include "hands/hands.h"
#include "shell/commands.h"
#include "shell/handdlg.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwseam.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

QWidget* control(DialogRecord& dlg, int id) {
    return dlg.window->findChild<QWidget*>(QString::number(id));
}

void type(QWidget* w, const QString& text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

QString text(DialogRecord& dlg, int id) {
    std::string t;
    DLGGETCHAR(dlg, id, t);
    return QString::fromStdString(t);
}

bool enabled(DialogRecord& dlg, int id) {
    return control(dlg, id)->isEnabled();
}

void click(DialogRecord& dlg, int id) {
    static_cast<QAbstractButton*>(control(dlg, id))->click();
}

// Shows board b as the director does, with the arrow keys of the "Board:" control.
void showBoard(DialogRecord& dlg, int b) {
    DLGSETINT(dlg, 1030, b == 1 ? 2 : b - 1);
    QTest::keyClick(control(dlg, 1030), b == 1 ? Qt::Key_Down : Qt::Key_Up);
}

bool menuChecked() {
    return FINDCOMMAND(IDM_HANDDIAGRAMS)->checked;
}

} // namespace

class HandDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    std::unique_ptr<QTemporaryDir> files_;

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        qputenv("XDG_CONFIG_HOME", settingsDir_.path().toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
        qputenv("ORLA_PROGRAM_FOLDER", settingsDir_.path().toLocal8Bit());
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void init() {
        QSettings("ORLA", "0.9").clear();
        files_ = std::make_unique<QTemporaryDir>();
        GwSeamStart();
        STARTUP({});
        MainWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(MainWindow));
    }

    void cleanup() {
        SHUTDOWN();
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
        QCOMPARE(text(dlg, 1000), QString("AKQJT"));
        QCOMPARE(HandCards(CARDNUMBER(4, 13), 1), std::int8_t(HAND_NORTH));
        QCOMPARE(HandCards(CARDNUMBER(4, 9), 1), std::int8_t(HAND_NORTH));
        QVERIFY(Modified);
        QCOMPARE(text(dlg, 1016), QString("98765432"));

        // A card held, by this hand or another, beeps and changes nothing; so does
        // a letter that is no card.
        int beeps = HandDiagramBeeps;
        type(control(dlg, 1000), "a");
        type(control(dlg, 1004), "1");
        QCOMPARE(HandDiagramBeeps, beeps + 2);
        type(control(dlg, 1004), "x");
        QCOMPARE(HandDiagramBeeps, beeps + 2);
        QCOMPARE(text(dlg, 1000), QString("AKQJT"));
        QCOMPARE(text(dlg, 1004), QString(""));
        QCOMPARE(HANDCOUNT(1, HAND_WEST), 0);

        // North's 14th card is refused.
        type(control(dlg, 1000), "98765432");
        QCOMPARE(HANDCOUNT(1, HAND_NORTH), 13);
        beeps = HandDiagramBeeps;
        type(control(dlg, 1001), "2");
        QCOMPARE(HandDiagramBeeps, beeps + 1);
        QCOMPARE(text(dlg, 1001), QString(""));
        QCOMPARE(HANDCOUNT(1, HAND_NORTH), 13);
        QCOMPARE(text(dlg, 1016), QString(""));

        // West the hearts, East the diamonds, in small letters and keys.
        type(control(dlg, 1005), "1/*-+98765432");
        type(control(dlg, 1010), "akqjt98765432");
        QCOMPARE(text(dlg, 1005), QString("AKQJT98765432"));
        QCOMPARE(text(dlg, 1010), QString("AKQJT98765432"));
        QCOMPARE(text(dlg, 1019), QString("AKQJT98765432"));

        // Pasted text goes through the same filter: "x" dropped, "1" an ace.
        QApplication::clipboard()->setText("x1k");
        QTest::keyClick(control(dlg, 1015), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(text(dlg, 1015), QString("AK"));
        QCOMPARE(text(dlg, 1019), QString("QJT98765432"));

        // Clearing the suit gives its cards back to the deck.
        auto* clubs = static_cast<QLineEdit*>(control(dlg, 1015));
        clubs->selectAll();
        QTest::keyClick(clubs, Qt::Key_Backspace);
        QCOMPARE(HandCards(CARDNUMBER(1, 13), 1), std::int8_t(0));
        QCOMPARE(text(dlg, 1019), QString("AKQJT98765432"));

        // Three hands complete: "Complete" gives South the rest.
        QVERIFY(enabled(dlg, 3));
        click(dlg, 3);
        QCOMPARE(text(dlg, 1015), QString("AKQJT98765432"));
        for (int id = 1016; id <= 1019; ++id)
            QCOMPARE(text(dlg, id), QString(""));
        QVERIFY(DEALCOMPLETE(1));
        QVERIFY(!enabled(dlg, 3));

        // Board 2: "Complete" stays off while two hands lack cards; a card button
        // types into the suit field last focused.
        showBoard(dlg, 2);
        QCOMPARE(text(dlg, 1000), QString(""));
        QVERIFY(!enabled(dlg, 3));
        control(dlg, 1008)->setFocus();
        QTRY_VERIFY(control(dlg, 1008)->hasFocus());
        click(dlg, 1032); // "A"
        QCOMPARE(text(dlg, 1008), QString("A"));
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
        QCOMPARE(text(again, 1015), QString("AKQJT98765432"));
        QCOMPARE(text(again, 1000), QString("AKQJT98765432"));
        QCOMPARE(text(again, 1005), QString("AKQJT98765432"));

        // The screenshot of the README (written to docs/ when ORLA_SCREENSHOTS is set).
        showBoard(again, 3);
        type(control(again, 1000), "1*9");
        type(control(again, 1001), "/-84");
        type(control(again, 1002), "+732");
        type(control(again, 1003), "1/5");
        const QImage shot = again.window->grab().toImage();
        QVERIFY(!shot.isNull());
        if (qEnvironmentVariableIsSet("ORLA_SCREENSHOTS"))
            QVERIFY(shot.save(QString(ORLA_DOCS_DIR) + "/hand-diagram.png"));
    }
};

QTEST_MAIN(HandDialogTest)
#include "test_handdlg.moc"
