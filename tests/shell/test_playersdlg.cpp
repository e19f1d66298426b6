// The Players menu's dialogs driven as the director uses them, on a register in
// a temporary program folder: Check Names registers the unknown players, Edit
// Player List adds, removes, changes ratings and orders the list.

#include "core/cp1250.h"
#include "core/tournament.h"
#include "players/players.h"
#include "shell/commands.h"
#include "shell/lifecycle.h"
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
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

std::string cp(const QString& utf8) {
    std::string out;
    UTF8TOCP1250(utf8.toStdString(), out);
    return out;
}

} // namespace

class PlayersDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    std::unique_ptr<QTemporaryDir> programDir_;

    QString registerPath() const { return programDir_->path() + "/Players.opd"; }
    void writeRegister(const std::string& bytes) {
        QFile f(registerPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    std::string readRegister() const {
        QFile f(registerPath());
        if (!f.open(QIODevice::ReadOnly)) return {};
        return f.readAll().toStdString();
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        USETESTFOLDERS(settingsDir_.path()); // the program folder is each case's own
    }

    void init() {
        // Never a real register: every case has a program folder of its own.
        programDir_ = std::make_unique<QTemporaryDir>();
        qputenv("ORLA_PROGRAM_FOLDER", programDir_->path().toLocal8Bit());
        GwSeamStart();
    }

    void cleanup() {
        CLOSETESTWINDOW();
        programDir_.reset();
    }

    void startUpLoadsTheRegisterAndSaysWhatItCouldNotRead() {
        writeRegister(rec("Ana", 500, 0) + "Broken                        12x456     0\r\n" +
                      rec("Cica", 1, 1));
        STARTUP({});
        QCOMPARE(RegisteredCount, 1);
        QCOMPARE(QString::fromStdString(PlayersFile), registerPath());
        QVERIFY(!GwSeamMessages().empty());
        const std::string text = GwSeamMessages().front().text;
        QVERIFY2(text.find("Line 2 of the players register") != std::string::npos, text.c_str());
        QVERIFY(QFile::exists(QString::fromStdString(PlayersBackupFile)));
    }

    void checkNamesRegistersTheUnknownPlayers() {
        writeRegister(rec("Ana", 700, 0) + rec("Bora", 650, 0));
        STARTUP({});
        QVERIFY(!COMMANDENABLED(IDM_CHECKNAMES));
        GwSeamOnNextModal([](DialogRecord& dlg) {
            if (auto* ok = dlg.window->findChild<QAbstractButton*>("1")) ok->click();
        });
        ONFILENEW();
        QVERIFY(COMMANDENABLED(IDM_CHECKNAMES));
        // Every other name known; two are not, one in letters beyond ASCII.
        for (int p = 1; p <= NumPairs; ++p) {
            SETFIELD(PlayerNames(p, 1).c, NameLength, "ANA");
            SETFIELD(PlayerNames(p, 2).c, NameLength, "bora");
        }
        SETFIELD(PlayerNames(3, 2).c, NameLength, cp("Đorđe Šćekić"));
        SETFIELD(PlayerNames(7, 1).c, NameLength, "Mile Kitic");

        QStringList before, after;
        QString caption;
        GwSeamOnNextModal([&](DialogRecord& d) {
            caption = d.window->windowTitle();
            before = items(d, 1008);
            saveShot(d, "check-names.png");
            auto* list = Control<QListWidget>(d, 1008);
            list->setCurrentRow(before.indexOf("Đorđe Šćekić"));
            Control<QPushButton>(d, 3)->click();
            after = items(d, 1008);
            // The next name is chosen, so Add can be pressed again.
            QCOMPARE(list->currentRow(), 0);
            DLGEXIT(d);
        });
        QVERIFY(ONCOMMAND(IDM_CHECKNAMES));
        QCOMPARE(caption, QString("Check Names"));
        before.sort();
        QCOMPARE(before, QStringList({"Mile Kitic", "Đorđe Šćekić"}));
        QCOMPARE(after, QStringList({"Mile Kitic"}));
        QCOMPARE(RegisteredCount, 3);
        QCOMPARE(readRegister(),
                 rec("Ana", 700, 0) + rec("Bora", 650, 0) + rec(cp("Đorđe Šćekić"), 0, 0));
    }

    void editPlayerListAddsRemovesAndChanges() {
        writeRegister(rec("Mira", 800, 20) + rec("ana", 650, -5) + rec("Zoran", 900, 3));
        STARTUP({});
        QVERIFY(COMMANDENABLED(IDM_EDITPLAYERS));
        QStringList byName, byRating, byDelta, afterAdd, afterChange, afterRemove;
        QString refusedName, nameAfterSelect, ratingAfterSelect;
        bool listButtons = false;
        GwSeamOnNextModal([&](DialogRecord& d) {
            auto* name = Control<QLineEdit>(d, 1000);
            auto* rating = Control<QLineEdit>(d, 1016);
            auto* list = Control<QListWidget>(d, 1008);
            // Print... and Export HTML... of the rating list work.
            listButtons = Control<QPushButton>(d, 5)->isEnabled() &&
                          Control<QPushButton>(d, 4)->isEnabled();
            byName = items(d, 1008);

            // Typed with the keyboard: Enter goes on from field to field, and
            // never closes the dialog.
            name->setFocus();
            DLGSENDCTRLMESSAGE(d, 1000, DLG_MSG_CHAR, 0x110); // Đ
            QTest::keyClicks(name, "uro");
            QTest::keyClick(name, Qt::Key_Return);
            QTest::keyClicks(rating, "1450");
            QTest::keyClick(rating, Qt::Key_Return);
            QVERIFY(d.window->isVisible());
            Control<QPushButton>(d, 3)->click();
            afterAdd = items(d, 1008);
            QVERIFY(name->text().isEmpty() && rating->text().isEmpty());

            // A refusal says why and keeps what was typed.
            QTest::keyClicks(name, "X");
            Control<QPushButton>(d, 3)->click();
            refusedName = name->text();

            Control<QAbstractButton>(d, 1025)->click();
            byRating = items(d, 1008);
            Control<QAbstractButton>(d, 1026)->click();
            byDelta = items(d, 1008);

            // A row chosen fills the fields; Change Rating takes the new rating.
            Control<QAbstractButton>(d, 1024)->click();
            list->setCurrentRow(0);
            nameAfterSelect = name->text();
            ratingAfterSelect = rating->text();
            rating->setText("555");
            Control<QPushButton>(d, 1011)->click();
            afterChange = items(d, 1008);
            Control<QPushButton>(d, 1010)->click();
            afterRemove = items(d, 1008);
            saveShot(d, "edit-player-list.png");
            Control<QPushButton>(d, 1)->click();
        });
        QVERIFY(ONCOMMAND(IDM_EDITPLAYERS));
        QCOMPARE(GwSeamPendingModals(), 0);
        QVERIFY(listButtons);
        auto row = [](const QString& n, const QString& r, const QString& delta) {
            return (n + "\t" + r + "\t" + delta).leftJustified(50, ' ');
        };
        QCOMPARE(byName, QStringList({row("Mira", " 800", "  20"), row("Zoran", " 900", "   3"),
                                      row("ana", " 650", "  -5")}));
        QCOMPARE(afterAdd.size(), 4);
        QCOMPARE(afterAdd.last(), row("Đuro", "1450", "1450")); // Đ comes after the ASCII letters
        QCOMPARE(GwSeamMessages().back().text,
                 std::string("Name: type a name of at least 2 characters."));
        QCOMPARE(refusedName, QString("X"));
        QCOMPARE(byRating.first(), row("Đuro", "1450", "1450"));
        QCOMPARE(byRating.last(), row("ana", " 650", "  -5"));
        QCOMPARE(byDelta.first(), row("Đuro", "1450", "1450"));
        QCOMPARE(byDelta.at(1), row("Mira", " 800", "  20"));
        QCOMPARE(nameAfterSelect, QString("Mira"));
        QCOMPARE(ratingAfterSelect, QString("800 "));
        QCOMPARE(afterChange.first(), row("Mira", " 555", "  20"));
        QCOMPARE(afterRemove.size(), 3);
        QVERIFY(!afterRemove.contains(row("Mira", " 555", "  20")));
        QCOMPARE(readRegister(),
                 rec("ana", 650, -5) + rec("Zoran", 900, 3) + rec(cp("Đuro"), 1450, 1450));
    }

    // orla-cli (or a second window) changes the register while Edit Player List
    // is open: the dialog's Add is made on the register as the file holds it
    // then, so both players are kept and both are listed.
    void editPlayerListKeepsAnotherProgramsChanges() {
        writeRegister(rec("Ana", 700, 0));
        STARTUP({});
        QStringList rows;
        GwSeamOnNextModal([&](DialogRecord& d) {
            writeRegister(rec("Ana", 700, 0) + rec("Bora", 650, 650));
            Control<QLineEdit>(d, 1000)->setText("Cica");
            Control<QLineEdit>(d, 1016)->setText("500");
            Control<QPushButton>(d, 3)->click();
            rows = items(d, 1008);
            Control<QPushButton>(d, 1)->click();
        });
        QVERIFY(ONCOMMAND(IDM_EDITPLAYERS));
        QCOMPARE(rows.size(), 3);
        QVERIFY(rows.at(1).startsWith("Bora\t"));
        QCOMPARE(readRegister(), rec("Ana", 700, 0) + rec("Bora", 650, 650) + rec("Cica", 500, 500));
    }

    // A typing slip in the rating field never reaches the register: Add and
    // Change Rating refuse it naming the field, keep the text and the cursor
    // there, and the register and its file stay as they were.
    void ratingSlipsAreRefused_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("typed");
        for (int button : {3, 1011}) {
            const char* b = button == 3 ? "add: " : "change: ";
            for (const char* t : {"1O35", "-5", "10000", "12.5", "1 035", "+7"})
                QTest::newRow(qPrintable(QString(b) + t)) << button << QString(t);
        }
        QTest::newRow("change: empty") << 1011 << QString("");
    }
    void ratingSlipsAreRefused() {
        QFETCH(int, button);
        QFETCH(QString, typed);
        const std::string before = rec("Mira", 800, 20) + rec("ana", 650, -5);
        writeRegister(before);
        STARTUP({});
        QString kept;
        bool focused = false;
        GwSeamOnNextModal([&](DialogRecord& d) {
            auto* name = Control<QLineEdit>(d, 1000);
            auto* rating = Control<QLineEdit>(d, 1016);
            name->setText(button == 3 ? "Novak" : "Mira");
            rating->setText(typed);
            Control<QPushButton>(d, button)->click();
            kept = rating->text();
            focused = d.window->focusWidget() == rating;
            Control<QPushButton>(d, 1)->click();
        });
        QVERIFY(ONCOMMAND(IDM_EDITPLAYERS));
        QVERIFY(!GwSeamMessages().empty());
        const QString said = QString::fromStdString(GwSeamMessages().back().text);
        QVERIFY2(said.startsWith("Rating: type a whole number from 0 to 9999"), qPrintable(said));
        QCOMPARE(kept, typed);
        QVERIFY(focused);
        QCOMPARE(readRegister(), before);
        QCOMPARE(RegisteredCount, 2);
    }
};

QTEST_MAIN(PlayersDialogTest)
#include "test_playersdlg.moc"
