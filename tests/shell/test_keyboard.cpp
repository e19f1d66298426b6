// The keyboard reaches everything: every menu item and every dialog control has
// an access key of its own, the movement fields of Tournament Properties answer
// theirs whatever the movement, and Escape closes the help. And what the eye
// needs: whole figures in the status bar, the top gone with IMPs, recent files
// of one name told apart, a lost header picture said before printing.

#include "core/tournament.h"
#include "shell/commands.h"
#include "shell/help.h"
#include "shell/lifecycle.h"
#include "shell/mainwindow.h"
#include "shell/settings.h"
#include "shell/shell.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwseam.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <map>

namespace {

// The access key of a control's text ("" without one).
QString accessKey(const QString& text) {
    return QKeySequence::mnemonic(text).toString().toUpper();
}

// Controls of `window` that share an access key, as "Alt+X: a, b".
QStringList sharedAccessKeys(QWidget* window) {
    std::map<QString, QStringList> byKey;
    for (auto* b : window->findChildren<QAbstractButton*>())
        if (const QString k = accessKey(b->text()); !k.isEmpty()) byKey[k] << b->text();
    for (auto* l : window->findChildren<QLabel*>())
        if (const QString k = accessKey(l->text()); !k.isEmpty() && l->buddy()) byKey[k] << l->text();
    QStringList shared;
    for (const auto& [key, texts] : byKey)
        if (texts.size() > 1) shared << key + ": " + texts.join(", ");
    return shared;
}

std::function<void(DialogRecord&)> active(std::function<void(DialogRecord&)> action) {
    return [action](DialogRecord& dlg) {
        QApplication::setActiveWindow(dlg.window);
        QVERIFY(QTest::qWaitForWindowActive(dlg.window));
        action(dlg);
    };
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    QTemporaryDir files_;

    std::string path(const QString& name) const { return (files_.path() + "/" + name).toStdString(); }

    // A new tournament (the dialog's defaults: matchpoints) saved as `name`.
    void saveNew(const QString& name) {
        GwSeamOnNextModal([](DialogRecord& dlg) { click(dlg, 1); });
        QVERIFY(ONCOMMAND(IDM_FILENEW));
        QVERIFY(TournamentOpen);
        GwSeamNextFileName(path(name));
        QVERIFY(ONCOMMAND(IDM_FILESAVEAS));
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid() && files_.isValid());
        QVERIFY(QDir(files_.path()).mkpath("monday") && QDir(files_.path()).mkpath("old/monday"));
        USETESTFOLDERS(settingsDir_.path());
    }

    void init() { QVERIFY(OPENTESTWINDOW()); }

    void cleanup() { CLOSETESTWINDOW(); }

    // Every item of every menu has an access key, none twice in its menu.
    void menuItemsHaveAccessKeysOfTheirOwn() {
        for (QAction* popup : MainWindow->menuBar()->actions()) {
            QVERIFY(!accessKey(popup->text()).isEmpty());
            QStringList keys;
            for (QAction* item : popup->menu()->actions()) {
                if (item->isSeparator() || !item->isVisible()) continue;
                const QString key = accessKey(item->text());
                QVERIFY2(!key.isEmpty(), qPrintable(item->text()));
                QVERIFY2(!keys.contains(key), qPrintable(item->text()));
                keys << key;
            }
        }
    }

    // Page Setup, Custom Movement and Tournament Properties give every access
    // key once.
    void dialogAccessKeysAreUnique_data() {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("page setup") << "page setup";
        QTest::newRow("custom movement") << "custom movement";
        QTest::newRow("tournament properties") << "tournament properties";
    }
    void dialogAccessKeysAreUnique() {
        QFETCH(QString, dialog);
        QStringList shared = {"not shown"};
        auto look = [&](DialogRecord& dlg) {
            shared = sharedAccessKeys(dlg.window);
            click(dlg, 2);
        };
        if (dialog == "page setup") {
            GwSeamOnNextModal(look);
            ONCOMMAND(IDM_PAGESETUP);
        } else {
            GwSeamOnNextModal([&](DialogRecord& props) {
                if (dialog == "custom movement") {
                    choose(control(props, 1001), 3);
                    GwSeamOnNextModal(look);
                    click(props, 3);
                } else {
                    look(props);
                    return;
                }
                click(props, 2);
            });
            ONCOMMAND(IDM_FILENEW);
        }
        QVERIFY2(shared.isEmpty(), qPrintable(shared.join("; ")));
    }

    // With Howell chosen, Alt+P goes to the Howell sizes, and the arrow that
    // follows changes the size there, never the movement.
    void howellPairsAnswerTheirAccessKey() {
        int movement = -1, howell = -1;
        bool reached = false;
        GwSeamOnNextModal(active([&](DialogRecord& dlg) {
            QWidget* movementBox = control(dlg, 1001);
            movementBox->setFocus();
            choose(movementBox, 2); // Howell
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
            reached = QApplication::focusWidget() == control(dlg, 1036);
            auto* sizes = static_cast<QComboBox*>(control(dlg, 1036));
            howell = sizes->currentIndex();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            movement = static_cast<QComboBox*>(movementBox)->currentIndex();
            howell = sizes->currentIndex() - howell;
            click(dlg, 2);
        }));
        ONCOMMAND(IDM_FILENEW);
        QVERIFY(reached);
        QCOMPARE(movement, 2); // still Howell
        QCOMPARE(howell, 1);   // one size on
    }

    void escapeClosesTheHelp() {
        QVERIFY(ONCOMMAND(IDM_HELPCONTENTS));
        auto* help = MainWindow->findChild<QWidget*>("HelpWindow");
        QVERIFY(help);
        QTRY_VERIFY(help->isVisible());
        QApplication::setActiveWindow(help);
        QTest::keyClick(help->findChild<QWidget*>("HelpBrowser"), Qt::Key_Escape);
        QTRY_VERIFY(!MainWindow->findChild<QWidget*>("HelpWindow") ||
                    !MainWindow->findChild<QWidget*>("HelpWindow")->isVisible());
    }

    // "Rating: 1086" whole in its part; the top goes when the calculation
    // becomes IMPs, at once.
    void statusBarShowsCurrentFiguresWhole() {
        auto* rating = MainWindow->findChild<QLabel*>("StatusPart1");
        MainWindow->setStatus(0, "Rating: 1086");
        MainWindow->resize(640, 405);
        QVERIFY2(rating->sizeHint().width() <= rating->width(),
                 qPrintable(QString("%1 > %2").arg(rating->sizeHint().width()).arg(rating->width())));
        saveNew("top.otr");
        QVERIFY(MainWindow->status(2).startsWith("Top:"));
        GwSeamOnNextModal([](DialogRecord& dlg) {
            choose(control(dlg, 1002), 1); // IMPs
            click(dlg, 1);
        });
        QVERIFY(ONCOMMAND(IDM_PROPERTIES));
        QCOMPARE(CalcType, int(CALC_IMPS));
        QCOMPARE(MainWindow->status(2), QString());
    }

    // Files of one name from different folders show as much of their folders
    // as tells them apart.
    void recentFilesOfOneNameTellApart() {
        saveNew("r1.otr");
        saveNew("monday/r1.otr");
        saveNew("old/monday/r1.otr");
        saveNew("other.otr");
        auto text = [](int n) { return MainWindow->action(IDM_RECENT1 + n - 1)->text(); };
        const QString sep = QDir::separator();
        QCOMPARE(text(1), QString("&1 other.otr"));
        QCOMPARE(text(2), "&2 old" + sep + "monday" + sep + "r1.otr");
        QCOMPARE(text(3), QString("&3 ") + QFileInfo(files_.path()).fileName() + sep + "monday" +
                              sep + "r1.otr");
        QCOMPARE(text(4), QString("&4 ") + QFileInfo(files_.path()).fileName() + sep + "r1.otr");
    }

    // A picture header whose file is gone is said before the pages go without it.
    void lostHeaderPictureIsSaidBeforePrinting() {
        saveNew("print.otr");
        HeaderType = 2;
        EMFHeader = path("gone/club.emf");
        const QString pdf = QString::fromStdString(path("print.pdf"));
        GwSeamNextPrint(pdf.toStdString());
        QVERIFY(ONCOMMAND(IDM_PRINT));
        QVERIFY(!GwSeamMessages().empty());
        const GwSeamMessage& said = GwSeamMessages().back();
        QCOMPARE(said.caption, std::string("Print"));
        QVERIFY2(said.text.find(path("gone/club.emf") + ", cannot be read") != std::string::npos,
                 said.text.c_str());
        QVERIFY(QFile::exists(pdf));
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
