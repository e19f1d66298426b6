// The window support layer on the offscreen platform: dialogs walked through the test
// seams, controls of plain windows, file dialogs, menus, message boxes and drawing.

#include "winsupport/gwctl.h"
#include "winsupport/gwfile.h"
#include "winsupport/gwgdi.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwmenu.h"
#include "winsupport/gwmessage.h"
#include "winsupport/gwseam.h"

#include "ui_tabpage.h"
#include "ui_testdlg.h"
#include "ui_unsupported.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

GWREGISTERTEMPLATE(900, Ui::TestDlg)
GWREGISTERTEMPLATE(901, Ui::UnsupportedDlg)
GWREGISTERTEMPLATE(902, Ui::TabPage)

namespace {

// What the callbacks saw, in order.
std::vector<std::string> Log;

QString Joined(const std::vector<std::string>& lines) {
    QStringList list;
    for (const auto& l : lines)
        list << QString::fromStdString(l);
    return list.join(" | ");
}
#define COMPARE_LOG(...) QCOMPARE(Joined(Log), Joined(std::vector<std::string> __VA_ARGS__))

// Makes w the active window, so that it can hold the keyboard focus.
bool Activate(QWidget* w) {
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

template <class W = QWidget> W* Control(const DialogRecord& dlg, int id) {
    return dlg.window ? dlg.window->findChild<W*>(QString::number(id)) : nullptr;
}

std::string Text(DialogRecord& dlg, int id, int index = DLG_VALUE) {
    std::string s;
    if (!DLGGETCHAR(dlg, id, s, index)) return "<fail>";
    return s;
}

int Int(DialogRecord& dlg, int id, int index = DLG_VALUE) {
    int v = 0;
    return DLGGETINT(dlg, id, v, index) ? v : -999;
}

void LogEvent(DialogRecord& dlg, int id, int type) {
    Log.push_back(std::to_string(id) + ":" + std::to_string(type));
}

// The check box's click: sees the new state and writes into the edit.
void OnCheck(DialogRecord& dlg, int id, int type) {
    bool on = false;
    DLGGETLOG(dlg, id, on);
    Log.push_back("check " + std::string(on ? "on" : "off") + " name=" + Text(dlg, 1000));
    DLGSETCHAR(dlg, 1000, "changed");
    DLGSETCHAR(dlg, 1080, on ? "on" : "off");
}

void OnHelp(DialogRecord&, int focusId) {
    Log.push_back("help " + std::to_string(focusId));
}

// Refuses digits.
void NoDigits(DialogRecord& dlg, int, int) {
    if (!dlg.key.text.empty() && std::isdigit(static_cast<unsigned char>(dlg.key.text[0])))
        dlg.key.refused = true;
}

// Opens a second dialog, modally, from a button of the first.
DialogRecord Inner;
QWidget* InnerOwner = nullptr;
void OpenInner(DialogRecord&, int, int) {
    DLGINIT(902, Inner);
    DLGSETSUB(Inner, 902, [](DialogRecord& d, int, int type) {
        if (type == DLG_CB_INIT) InnerOwner = d.window->parentWidget();
    });
    Log.push_back("inner " + std::to_string(DLGMODAL(Inner)));
}

DialogRecord Page;

bool CtlLog(GwCtlRecord ctl, const GwCtlEvent& ev) {
    int value = 0;
    std::string text;
    GwCtlGetInt(ctl.hwnd, value);
    GwCtlGetChar(ctl.hwnd, text);
    Log.push_back(std::to_string(ctl.id) + " sub" + std::to_string(ev.sub) + " v" +
                  std::to_string(value) + " t" + text);
    return false;
}

// Swallows Tab and the keypad "*", logs focus changes.
bool CtlKeys(GwCtlRecord ctl, const GwCtlEvent& ev) {
    const bool swallow = ev.key == Qt::Key_Tab ||
                         (ev.key == Qt::Key_Asterisk && (ev.modifiers & Qt::KeypadModifier));
    Log.push_back(std::to_string(ctl.id) + " key" + std::to_string(ev.key) +
                  (swallow ? " swallowed" : ""));
    return swallow;
}
bool CtlFocus(GwCtlRecord ctl, const GwCtlEvent& ev) {
    Log.push_back(std::to_string(ctl.id) + (ev.focusIn ? " in" : " out"));
    return false;
}

int LastCommand = 0;
void OnCommand(int id) {
    LastCommand = id;
}

} // namespace

class TestWinSupport : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        GwSeamStart();
        Log.clear();
    }
    void cleanup() {
        GwCtlDestroyAll();
        GwSeamStop();
    }

    void templateBecomesRecord() {
        DialogRecord dlg;
        QVERIFY(DLGINIT(900, dlg));
        QCOMPARE(dlg.title, std::string("Test Dialog"));
        // Numbered widgets only, in template order; the label without a number is none.
        std::vector<int> ids;
        for (const auto& c : dlg.controls)
            ids.push_back(c.id);
        QCOMPARE(ids, (std::vector<int>{1000, 1080, 1002, 1036, 1010, 1030, 1019, 1020, 1017, 1050,
                                        1031, 1060, 1070, 1026, 4, 1, 2, 9}));
        QCOMPARE(Text(dlg, 1002), std::string("Matchpoints"));
        QCOMPARE(Int(dlg, 1002, DLG_COUNT), 3);
        QCOMPARE(Int(dlg, 1019), 1);
        QCOMPARE(Int(dlg, 1031, DLG_MAX), 36);
        QCOMPARE(Text(dlg, 1026, DLG_ITEM + 2), std::string("Set 2"));
        QCOMPARE(dlg.controls[size_t(ID2INDEX(dlg, 1002))].kind, int(DLG_COMBOLIST));
        QCOMPARE(dlg.controls[size_t(ID2INDEX(dlg, 1036))].kind, int(DLG_COMBOBOX));

        DialogRecord bad;
        QVERIFY(!DLGINIT(777, bad));
        QCOMPARE(DLGMODAL(bad), -1);
        QVERIFY(!DLGINIT(901, bad));
        QCOMPARE(GwSeamMessages().size(), size_t(1));
        QCOMPARE(GwSeamMessages()[0].caption, std::string("Unsupported Dialog Control Style"));
        QVERIFY(GwSeamMessages()[0].text.find("1001") != std::string::npos);
        QVERIFY(bad.controls.empty());
    }

    // Values kept on the program side, before any window exists.
    void recordValues() {
        DialogRecord dlg;
        QVERIFY(DLGINIT(900, dlg));
        // A sorted list inserts in order, letter case ignored.
        QVERIFY(CHANGELISTBOXITEMS(dlg, 1017, {"b.otr", "C.otr", "a.otr"}));
        QCOMPARE(Text(dlg, 1017, DLG_ITEM + 1), std::string("a.otr"));
        QCOMPARE(LISTADDSTRING(dlg, 1017, "B2.otr"), 3);
        QVERIFY(DLGSETLOG(dlg, 1017, true, DLG_ITEMSEL + 2));
        QVERIFY(DLGSETLOG(dlg, 1017, true, DLG_ITEMSEL + 4));
        QCOMPARE(Int(dlg, 1017, DLG_SELCOUNT), 2);
        QVERIFY(CHANGENUMITEMS(dlg, 1017, 2));
        QCOMPARE(Int(dlg, 1017, DLG_SELCOUNT), 1);
        // Radios of one group exclude each other.
        QVERIFY(DLGSETLOG(dlg, 1020, true));
        QCOMPARE(Int(dlg, 1019), 0);
        // A scroll bar's position stops a page before the end of its range.
        QVERIFY(DLGSETINT(dlg, 1050, 0, DLG_MIN) && DLGSETINT(dlg, 1050, 20, DLG_MAX));
        QVERIFY(DLGSETINT(dlg, 1050, 5, DLG_PAGE) && DLGSETINT(dlg, 1050, 100));
        QCOMPARE(Int(dlg, 1050), 16);
        // A drop-down list is chosen by item text; the edit reads numbers.
        QVERIFY(DLGSETCHAR(dlg, 1002, "imps"));
        QCOMPARE(Int(dlg, 1002), 2);
        QVERIFY(DLGSETCHAR(dlg, 1000, "  42 "));
        QCOMPARE(Int(dlg, 1000), 42);
        QVERIFY(DLGSETCHAR(dlg, 1000, "4x"));
        int v = 7;
        QVERIFY(!DLGGETINT(dlg, 1000, v) && v == 7);
    }

    void refusedOperations_data() {
        QTest::addColumn<int>("op");
        QTest::newRow("unknown id") << 0;
        QTest::newRow("range of a check box") << 1;
        QTest::newRow("item past the end") << 2;
        QTest::newRow("selection beyond the items") << 3;
        QTest::newRow("text not in a drop-down list") << 4;
        QTest::newRow("click callback on a static") << 5;
        QTest::newRow("page of a progress bar") << 6;
        QTest::newRow("key message to a static") << 7;
    }
    void refusedOperations() {
        QFETCH(int, op);
        DialogRecord dlg;
        QVERIFY(DLGINIT(900, dlg));
        const auto before = dlg.controls;
        bool ok = true;
        switch (op) {
        case 0:
            ok = DLGSETCHAR(dlg, 4711, "x");
            break;
        case 1:
            ok = DLGSETINT(dlg, 1010, 5, DLG_MAX);
            break;
        case 2:
            ok = DLGSETCHAR(dlg, 1002, "x", DLG_ITEM + 4);
            break;
        case 3:
            ok = DLGSETINT(dlg, 1002, 4);
            break;
        case 4:
            ok = DLGSETCHAR(dlg, 1002, "Swiss");
            break;
        case 5:
            ok = DLGSETSUB(dlg, 1080, LogEvent, DLG_CB_CLICK);
            break;
        case 6:
            ok = DLGSETINT(dlg, 1070, 3, DLG_PAGE);
            break;
        case 7:
            ok = DLGSENDCTRLMESSAGE(dlg, 1080, DLG_MSG_CHAR, 'a');
            break;
        }
        QVERIFY(!ok);
        for (size_t i = 0; i < before.size(); ++i) {
            QCOMPARE(dlg.controls[i].text, before[i].text);
            QCOMPARE(dlg.controls[i].state, before[i].state);
            QCOMPARE(dlg.controls[i].items, before[i].items);
            QCOMPARE(dlg.controls[i].maximum, before[i].maximum);
        }
    }

    // A whole modal run: values in, callbacks in order with values copied both ways,
    // OK returns 1 and what the user typed is still there afterwards.
    void modalWalk() {
        DialogRecord dlg;
        QVERIFY(DLGINIT(900, dlg));
        QVERIFY(DLGSETCHAR(dlg, 1000, "Club night"));
        QVERIFY(DLGSETINT(dlg, 1002, 3));
        QVERIFY(DLGSETSUB(dlg, 900, LogEvent));
        QVERIFY(DLGSETSUB(dlg, 1010, OnCheck));
        QVERIFY(DLGSETSUB(dlg, 1000, LogEvent));
        QVERIFY(DLGSETSUB(dlg, 1002, LogEvent));
        QVERIFY(DLGSETSUB(dlg, 4, LogEvent));
        QVERIFY(DLGSETSUB(dlg, 1031, LogEvent));
        GwSeamOnNextModal([](DialogRecord& d) {
            QVERIFY(d.window && d.window->isVisible());
            QCOMPARE(Control<QLineEdit>(d, 1000)->text(), QString("Club night"));
            QCOMPARE(Control<QComboBox>(d, 1002)->currentIndex(), 2);
            Control<QAbstractButton>(d, 1010)->click();
            QCOMPARE(Control<QLineEdit>(d, 1000)->text(), QString("changed"));
            QTest::keyClicks(Control(d, 1000), "!");
            Control<QPushButton>(d, 4)->click();
            // Setting values from the program fires no callbacks.
            DLGSETINT(d, 1031, 12);
            DLGSETCHAR(d, 1000, "Club night 2");
            Control<QPushButton>(d, 1)->click();
        });
        QCOMPARE(DLGMODAL(dlg), 1);
        QVERIFY(dlg.window == nullptr);
        COMPARE_LOG({"900:9", "check on name=Club night", "1000:3", "4:1", "900:10"});
        QCOMPARE(Text(dlg, 1000), std::string("Club night 2"));
        QCOMPARE(Text(dlg, 1080), std::string("on"));
        QCOMPARE(Int(dlg, 1010), 1);
        QCOMPARE(Int(dlg, 1031), 12);
        QCOMPARE(Text(dlg, 1002), std::string("Calcutta"));
    }

    void endings_data() {
        QTest::addColumn<int>("how");
        QTest::addColumn<int>("expected");
        QTest::newRow("Cancel button") << 0 << 2;
        QTest::newRow("Escape") << 1 << 2;
        QTest::newRow("DLGEXIT with a return value") << 2 << 77;
        QTest::newRow("no action queued") << 3 << 2;
        QTest::newRow("action leaves it open") << 4 << 2;
        QTest::newRow("Enter on the default button") << 5 << 1;
    }
    void endings() {
        QFETCH(int, how);
        QFETCH(int, expected);
        DialogRecord dlg;
        QVERIFY(DLGINIT(900, dlg));
        static int How;
        How = how;
        if (how != 3)
            GwSeamOnNextModal([](DialogRecord& d) {
                DLGSETCHAR(d, 1000, "typed");
                switch (How) {
                case 0:
                    Control<QPushButton>(d, 2)->click();
                    break;
                case 1:
                    QTest::keyClick(d.window, Qt::Key_Escape);
                    break;
                case 2:
                    DLGSETRETURN(d, 77);
                    DLGEXIT(d);
                    break;
                case 5:
                    QTest::keyClick(Control(d, 1000), Qt::Key_Return);
                    break;
                }
            });
        QCOMPARE(DLGMODAL(dlg), expected);
        QCOMPARE(GwSeamPendingModals(), 0);
        if (how != 3) QCOMPARE(Text(dlg, 1000), std::string("typed"));
    }

    void helpKeysAndPaste() {
        DialogRecord dlg;
        QVERIFY(DLGINIT(900, dlg));
        DLGSETHELP(dlg, OnHelp);
        QVERIFY(DLGSETSUB(dlg, 1000, NoDigits, DLG_CB_KEY));
        GwSeamOnNextModal([](DialogRecord& d) {
            QVERIFY(Activate(d.window));
            DLGSETLOG(d, 1000, true, DLG_FOCUS);
            for (char32_t ch : {U'a', U'1', U'b'})
                DLGSENDCTRLMESSAGE(d, 1000, DLG_MSG_CHAR, ch);
            QApplication::clipboard()->setText("x2y");
            QTest::keyClick(Control(d, 1000), Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(Control(d, 1000), Qt::Key_F1);
            Control<QPushButton>(d, 9)->click(); // help, not the end of the dialog
            QVERIFY(d.window != nullptr);
            DLGEXIT(d);
        });
        DLGMODAL(dlg);
        QCOMPARE(Text(dlg, 1000), std::string("abxy"));
        COMPARE_LOG({"help 1000", "help 1000"});
    }

    void nestedModalIsOwnedByOuter() {
        DialogRecord dlg;
        QVERIFY(DLGINIT(900, dlg));
        QVERIFY(DLGSETSUB(dlg, 4, OpenInner));
        static QWidget* Outer;
        GwSeamOnNextModal([](DialogRecord& d) {
            Outer = d.window;
            Control<QPushButton>(d, 4)->click();
            DLGEXIT(d);
        });
        GwSeamOnNextModal([](DialogRecord& d) {
            DLGSETCHAR(d, 1100, "inner text");
            DLGSETRETURN(d, 1);
            DLGEXIT(d);
        });
        DLGMODAL(dlg);
        COMPARE_LOG({"inner 1"});
        QCOMPARE(InnerOwner, Outer);
        QCOMPARE(Text(Inner, 1100), std::string("inner text"));
    }

    void tabChildAndModeless() {
        DialogRecord dlg;
        QVERIFY(DLGINIT(900, dlg));
        QVERIFY(DLGINIT(902, Page));
        QVERIFY(DLGSETSUB(dlg, 1026, LogEvent));
        QVERIFY(DLGMODELESS(dlg, DLG_SHOW)); // returns at once
        QVERIFY(dlg.window && dlg.window->isVisible());
        QVERIFY(DLGGETTABCHILD(dlg, 1026, 2, Page));
        QVERIFY(!Page.window->isVisible()); // page 1 is shown
        Control<QTabWidget>(dlg, 1026)->setCurrentIndex(1);
        QCOMPARE(Int(dlg, 1026), 2);
        QVERIFY(Page.window->isVisible());
        QTest::keyClicks(Control(Page, 1100), "row");
        QVERIFY(DLGMODELESS(dlg, DLG_HIDE));
        QVERIFY(dlg.window && !dlg.window->isVisible());
        DLGMODELESS(dlg, DLG_SHOW);
        Control<QPushButton>(dlg, 1)->click(); // no callback: closes
        QVERIFY(!dlg.window && !Page.window);
        QCOMPARE(dlg.returnValue, 1);
        QCOMPARE(Text(Page, 1100), std::string("row"));
        COMPARE_LOG({"1026:5"});
    }

    // Controls of plain windows: callbacks on what the user does, none on what the
    // program sets; keys and focus; moves; destroying.
    void plainControls() {
        QWidget parent;
        parent.resize(400, 300);
        parent.show();
        QVERIFY(Activate(&parent));
        GwCtlRecord rec;
        QWidget* made[13] = {};
        for (int kind = GWCTL_LABEL; kind <= GWCTL_COMBOBOX; ++kind) {
            rec = GwCtlRecord();
            rec.id = 100 + kind;
            rec.proc = CtlLog;
            made[kind] = GwCtlInit(&parent, kind, kind == GWCTL_LISTBOX ? GWS_SORT : 0, rec);
            QVERIFY(made[kind] && rec.hwnd == made[kind]);
            QCOMPARE(made[kind]->objectName(), QString::number(rec.id));
        }
        QVERIFY(!GwCtlInit(&parent, 13, 0, rec));
        QVERIFY(GwCtlSetChar(made[GWCTL_EDIT], "set"));
        QVERIFY(CONTROLADDSTRING(made[GWCTL_LISTBOX], "b") == 1 &&
                CONTROLADDSTRING(made[GWCTL_LISTBOX], "A") == 1);
        for (auto* s : {"5", "6", "7"})
            CONTROLADDSTRING(made[GWCTL_DROPLIST], s);
        QVERIFY(GwCtlSetInt(made[GWCTL_TAB], 2, DLG_COUNT));
        QVERIFY(GwCtlSetInt(made[GWCTL_DROPLIST], 2));
        QVERIFY(Log.empty());

        static_cast<QAbstractButton*>(made[GWCTL_BUTTON])->click();
        static_cast<QAbstractButton*>(made[GWCTL_CHECKBOX])->click();
        static_cast<QAbstractButton*>(made[GWCTL_CLICKBUTTON])->click();
        QTest::keyClicks(made[GWCTL_EDIT], "!");
        static_cast<QListWidget*>(made[GWCTL_LISTBOX])->setCurrentRow(1);
        QTest::keyClicks(GwCtlGetEdit(made[GWCTL_COMBOBOX]), "Ann");
        COMPARE_LOG({"103 sub1 v0 t", "104 sub1 v1 t", "109 sub1 v0 t", "106 sub1 v0 tset!",
                     "107 sub1 v2 tb", "112 sub1 v0 tA", "112 sub1 v0 tAn", "112 sub1 v0 tAnn"});

        // Keys and focus of an edit; the combo box's edit finds the combo box.
        Log.clear();
        QWidget* edit = made[GWCTL_EDIT];
        QVERIFY(GwCtlSetSub(edit, CtlKeys, GWSUB_KEY) && GwCtlSetSub(edit, CtlFocus, GWSUB_FOCUS));
        QVERIFY(!GwCtlSetSub(edit, CtlKeys, 2));
        QVERIFY(GwCtlGetSub(edit, GWSUB_KEY) == &CtlKeys);
        QVERIFY(GwCtlSetLog(edit, true, DLG_FOCUS));
        QTest::keyClick(edit, Qt::Key_Asterisk, Qt::KeypadModifier);
        QTest::keyClick(edit, Qt::Key_Tab);
        QTest::keyClick(edit, Qt::Key_1);
        GwCtlSetLog(made[GWCTL_BUTTON], true, DLG_FOCUS);
        std::string text;
        QVERIFY(GwCtlGetChar(edit, text) && text == "set!1");
        COMPARE_LOG({"106 in", "106 key42 swallowed", "106 key16777217 swallowed", "106 key49",
                     "106 sub1 v0 tset!1", "106 out"});
        // A combo box gets its keys itself, though its edit holds the text.
        Log.clear();
        QWidget* combo = made[GWCTL_COMBOBOX];
        QVERIFY(GwCtlSetSub(combo, CtlKeys, GWSUB_KEY));
        GwCtlSetLog(combo, true, DLG_FOCUS);
        QTest::keyClick(combo, Qt::Key_Tab);
        QTest::keyClick(combo, Qt::Key_X);
        QVERIFY(GwCtlGetChar(combo, text) && text == "Annx");
        COMPARE_LOG({"112 key16777217 swallowed", "112 key88", "112 sub1 v0 tAnnx"});
        QCOMPARE(GwCtlByHandle(GwCtlGetEdit(combo))->id, 112);
        QCOMPARE(IndexByHwnd(made[GWCTL_COMBOBOX]), 12);

        // Moves wait for the end of a batch.
        GwBeginCtlMove();
        QVERIFY(GwCtlMove(edit, 10, 20, 80, 22, true) &&
                GwCtlMove(made[GWCTL_LABEL], 0, 0, 5, 5, false));
        QVERIFY(edit->geometry() != QRect(10, 20, 80, 22));
        GwEndCtlMove();
        QCOMPARE(edit->geometry(), QRect(10, 20, 80, 22));
        QVERIFY(made[GWCTL_LABEL]->isHidden());

        QVERIFY(GwCtlDestroy(edit));
        QCOMPARE(IndexByHwnd(edit), 0);
        QVERIFY(!GwCtlSetChar(edit, "gone") && !GwCtlDestroy(edit));
    }

    void scrollBarClamps() {
        QWidget parent;
        parent.show();
        GwCtlRecord rec;
        rec.id = 7;
        rec.proc = CtlLog;
        QWidget* bar = GwCtlInit(&parent, GWCTL_SCROLLBAR, GWS_VERTICAL, rec);
        QVERIFY(GwCtlSetInt(bar, 1, DLG_MIN) && GwCtlSetInt(bar, 20, DLG_MAX));
        QVERIFY(GwCtlSetInt(bar, 5, DLG_PAGE) && GwCtlSetInt(bar, 50));
        int pos = 0;
        QVERIFY(GwCtlGetInt(bar, pos) && pos == 16);
        QVERIFY(Log.empty());
        auto* sb = static_cast<QScrollBar*>(bar);
        QCOMPARE(sb->orientation(), Qt::Vertical);
        GwCtlSetInt(bar, 1);
        for (auto action : {QAbstractSlider::SliderSingleStepAdd,
                            QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderPageStepAdd,
                            QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderPageStepSub})
            sb->triggerAction(action);
        COMPARE_LOG({"7 sub1 v2 t", "7 sub1 v7 t", "7 sub1 v12 t", "7 sub1 v16 t", "7 sub1 v11 t"});
        QVERIFY(!GwCtlSetInt(bar, 3, DLG_ITEM + 1));
    }

    void fileDialogs() {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        const std::vector<GwFilter> filters{{"ORLA turniri (*.otr)", "*.otr"}};
        QFile existing(dir.filePath("old.otr"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();

        std::string name = folder;
        GwSeamNextFileName(folder + "/evening");
        QVERIFY(GwGetSaveFile(nullptr, filters, "otr", name));
        QCOMPARE(name, folder + "/evening.otr");
        const GwSeamFileDialog& asked = GwSeamLastFileDialog();
        QVERIFY(asked.save);
        QCOMPARE(asked.title, std::string("Save"));
        QCOMPARE(asked.filters,
                 (std::vector<std::string>{"ORLA turniri (*.otr)", "All files (*.*)"}));

        // An existing file: No asks again, Yes takes it.
        GwSeamNextFileName(folder + "/old");
        GwSeamNextAnswer(GW_IDNO);
        GwSeamNextFileName(folder + "/old.otr");
        GwSeamNextAnswer(GW_IDYES);
        QVERIFY(GwGetSaveFile(nullptr, filters, "otr", name, "Save As"));
        QCOMPARE(name, folder + "/old.otr");
        QCOMPARE(GwSeamMessages().size(), size_t(2));
        QCOMPARE(GwSeamMessages()[0].caption, std::string("Save As"));

        GwSeamNextFileCancel();
        QVERIFY(!GwGetOpenFile(nullptr, filters, "otr", name));
        QCOMPARE(name, folder + "/old.otr");
        QCOMPARE(GwSeamLastFileDialog().title, std::string("Open"));
        QVERIFY(!GwGetOpenFile(nullptr, filters, "otr", name)); // nothing queued: cancel

        GwSeamNextFolder(folder);
        std::string chosen = "/";
        QVERIFY(GwBrowse(nullptr, "", chosen));
        QCOMPARE(chosen, folder);
        QCOMPARE(GwSeamLastBrowseTitle(), std::string("Browse"));
        QVERIFY(!GwBrowse(nullptr, "Select Folder", chosen));
    }

    void enumFiles() {
        QTemporaryDir dir;
        for (const char* n : {"b.otr", "A.OTR", "c.txt", "noext"}) {
            QFile f(dir.filePath(n));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(dir.path()).mkdir("sub.otr"));
        const std::string folder = dir.path().toStdString();
        QCOMPARE(GwEnumFiles(folder, "*.otr"), (std::vector<std::string>{"A.OTR", "b.otr"}));
        QCOMPARE(GwEnumFiles(folder),
                 (std::vector<std::string>{"A.OTR", "b.otr", "c.txt", "noext"}));
        QVERIFY(GwEnumFiles(folder + "/missing").empty());
    }

    void messageBoxes() {
        GwSeamNextAnswer(GW_IDYES);
        QCOMPARE(GwMessageBox(nullptr, "Do you want to save changes to the file?", "Question",
                              GW_MB_QUESTION),
                 int(GW_IDYES));
        QCOMPARE(GwMessageBox(nullptr, "Again?", "Question", GW_MB_QUESTION), int(GW_IDNO));
        QCOMPARE(GwMessageBox(nullptr, "Error reading file.", "Error", GW_MB_ERROR), int(GW_IDOK));
        QCOMPARE(GwSeamMessages().size(), size_t(3));
        QCOMPARE(GwSeamMessages()[2].kind, int(GW_MB_ERROR));
    }

    // A real question box is left only by Yes or No: Escape and the close box, which
    // would pass for No and lose unsaved changes, leave it open.
    void questionWaitsForAnAnswer() {
        GwSeamStop();
        bool stayed = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            stayed = box->isVisible();
            box->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(GwMessageBox(nullptr, "Do you want to save changes to the file?", "Question",
                              GW_MB_QUESTION),
                 int(GW_IDYES));
        QVERIFY(stayed);
    }

    // The question with Cancel: Escape and the close box answer Cancel, the three
    // buttons their own answers.
    void questionWithCancel_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("answer");
        QTest::newRow("escape") << "escape" << int(GW_IDCANCEL);
        QTest::newRow("close box") << "close" << int(GW_IDCANCEL);
        QTest::newRow("cancel") << "cancel" << int(GW_IDCANCEL);
        QTest::newRow("no") << "no" << int(GW_IDNO);
        QTest::newRow("yes") << "yes" << int(GW_IDYES);
    }
    void questionWithCancel() {
        QFETCH(QString, how);
        QFETCH(int, answer);
        GwSeamStop();
        QTimer::singleShot(0, [how] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            if (how == "escape")
                QTest::keyClick(box, Qt::Key_Escape);
            else if (how == "close")
                box->close();
            else
                box->button(how == "cancel" ? QMessageBox::Cancel
                            : how == "no"   ? QMessageBox::No
                                            : QMessageBox::Yes)
                    ->click();
        });
        QCOMPARE(GwMessageBox(nullptr, "Do you want to save changes to the file?", "Question",
                              GW_MB_QUESTIONCANCEL),
                 answer);
    }

    void menus() {
        static const GwMenuItem table[] = {
            {0, 0, "&File"},
            {1, 40013, "&New...", "Ctrl+N"},
            {1, 40015, "&Save...", "Ctrl+S", GW_MF_GRAYED},
            {1, 0, nullptr},
            {1, 40024, "Page Set&up..."},
            {0, 0, "&View", nullptr, GW_MF_GRAYED},
            {1, 40007, "Sort by &Lines", "Ctrl+L", GW_MF_CHECKED},
            {1, 40018, "&Adjusted Score\t*"},
            {1, 0, "&More"},
            {2, 40050, "&Deep"},
        };
        QMainWindow window;
        QMenuBar* bar = GwLoadMenu(&window, table, OnCommand);
        QVERIFY(bar);
        QCOMPARE(bar->actions().size(), 2);
        QMenu* popup = nullptr;
        int position = -1;
        QAction* save = FINDMIBYID(bar, 40015, &popup, &position);
        QVERIFY(save && position == 1 && popup == bar->actions()[0]->menu());
        QCOMPARE(save->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(GwGetMiState(bar, 40015), int(GW_MF_GRAYED));
        QCOMPARE(GwGetMiState(bar, 40050), 0);
        QCOMPARE(GwGetMiState(bar, 4711), -1);

        LastCommand = 0;
        FINDMIBYID(bar, 40013)->trigger();
        QCOMPARE(LastCommand, 40013);
        // Items of a gray popup send nothing; a click keeps the check mark.
        LastCommand = 0;
        FINDMIBYID(bar, 40007)->trigger();
        QCOMPARE(LastCommand, 0);
        QVERIFY(GwEnablePopup(bar, 1, true));
        FINDMIBYID(bar, 40007)->trigger();
        QCOMPARE(LastCommand, 40007);
        QCOMPARE(GwGetMiState(bar, 40007), int(GW_MF_CHECKED));

        QVERIFY(GwModifyMiState(bar, 40007, GW_MF_ENABLED));
        QVERIFY(GwModifyMiState(bar, 40015, GW_MF_CHECKED));
        QCOMPARE(GwGetMiState(bar, 40007), 0);
        QCOMPARE(GwGetMiState(bar, 40015), int(GW_MF_CHECKED));
        QVERIFY(GwModifyMiTitle(bar, 40024, "Page &Setup"));
        QCOMPARE(FINDMIBYID(bar, 40024)->text(), QString("Page &Setup"));

        // Recent files go after the last separator; an id already there is refused.
        QVERIFY(GwInsertMi(bar, 0, 4, {1, 40026, "&1 a.otr"}));
        QVERIFY(GwInsertMi(bar, 0, -1, {1, 40027, "&2 b.otr"}));
        QVERIFY(!GwInsertMi(bar, 0, -1, {1, 40027, "&2 b.otr"}));
        QVERIFY(!GwInsertMi(bar, 5, 0, {1, 40028, "&3 c.otr"}));
        FINDMIBYID(bar, 40027, nullptr, &position);
        QCOMPARE(position, 5);
        FINDMIBYID(bar, 40027)->trigger();
        QCOMPARE(LastCommand, 40027);
        QVERIFY(GwModifyMiType(bar, 40026, GW_MFT_SEPARATOR));
        QVERIFY(FINDMIBYID(bar, 40026)->isSeparator());
    }

    // Window coordinates map onto the viewport, which sits in the client area.
    void mapping_data() {
        QTest::addColumn<QPoint>("wnd");
        QTest::addColumn<QPoint>("view");
        QTest::addColumn<QPoint>("client");
        QTest::newRow("origin") << QPoint(0, 0) << QPoint(0, 0) << QPoint(10, 20);
        QTest::newRow("far corner") << QPoint(1000, 500) << QPoint(200, 100) << QPoint(210, 120);
        QTest::newRow("middle") << QPoint(500, 250) << QPoint(100, 50) << QPoint(110, 70);
        QTest::newRow("outside") << QPoint(-50, 600) << QPoint(-10, 120) << QPoint(0, 140);
    }
    void mapping() {
        QFETCH(QPoint, wnd);
        QFETCH(QPoint, view);
        QFETCH(QPoint, client);
        QImage image(300, 200, QImage::Format_RGB32);
        GwDC dc;
        QVERIFY(GwBeginDraw(dc, &image));
        GwSetViewport(dc, 10, 20, 200, 100);
        GwSetWindow(dc, 0, 0, 1000, 500);
        const GwPoint w{wnd.x(), wnd.y()}, v{view.x(), view.y()}, c{client.x(), client.y()};
        QCOMPARE(GwWnd2View(dc, w), v);
        QCOMPARE(GwView2Wnd(dc, v), w);
        QCOMPARE(GwView2Client(dc, v), c);
        QCOMPARE(GwClient2View(dc, c), v);
        QCOMPARE(GwWnd2Client(dc, w), c);
        QCOMPARE(GwClient2Wnd(dc, c), w);
        GwEndDraw(dc);
    }

    void drawOnImage() {
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        GwDC dc;
        QVERIFY(GwBeginDraw(dc, &image));
        GwSetViewport(dc, 10, 20, 200, 100);
        GwSetWindow(dc, 0, 0, 1000, 500);
        GwSetPen(dc, GW_PS_SOLID, 1, GW_RGB(255, 0, 0));
        GwSetBrush(dc, GW_BS_SOLID, GW_RGB(0, 0, 255));
        GwRectangle_W(dc, 500, 250, 1000, 500); // client 110,70 .. 210,120
        GwSetTextColor(dc, GW_RGB(0, 128, 0));
        // A positive height is the character cell, a negative one the type size.
        GwSetFont(dc, "", -20);
        QVERIFY(GwGetTextExtent(dc, "Kolo").cy > 20);
        GwSetFont(dc, "", 20, 700);
        const GwSize size = GwGetTextExtent(dc, "Kolo");
        QVERIFY(size.cx > 10 && std::abs(size.cy - 20) <= 1);
        GwTextOut(dc, 100, 10, "Kolo", GW_TA_RIGHT | GW_TA_TOP);
        QVERIFY(GwEndDraw(dc));
        QCOMPARE(image.pixelColor(110, 70), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(209, 119), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(150, 100), QColor(0, 0, 255));
        QCOMPARE(image.pixelColor(210, 100), QColor(Qt::white));
        // Right-aligned text ends at x = 100 and lies below y = 10.
        int inkLeft = 300, inkRight = -1, inkTop = 200;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 300; ++x)
                if (image.pixelColor(x, y).green() > 64 && image.pixelColor(x, y).red() < 128) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                    inkTop = std::min(inkTop, y);
                }
        QVERIFY(inkRight > 80 && inkRight <= 100);
        QVERIFY(inkLeft >= 100 - size.cx - 1);
        QVERIFY(inkTop >= 10);
    }

    void printToPdf() {
        QTemporaryDir dir;
        const std::string file = dir.filePath("ranking.pdf").toStdString();
        GwPrintJob job;
        QVERIFY(GwPdfBegin(job, file, "ORLA"));
        QVERIFY(job.pageWidth > 1000 && job.dpiY >= 300);
        GwSetFont(job.dc, "", 16 * job.dpiY / 72, 900);
        GwTextOut(job.dc, job.pageWidth / 2, 100, "REJTING LISTA", GW_TA_CENTER);
        QVERIFY(GwPrintNewPage(job));
        GwLine(job.dc, 0, 0, job.pageWidth, job.pageHeight);
        QVERIFY(GwPrintEnd(job));
        // The document is drawn into a temporary file, which the caller puts in place.
        QCOMPARE(job.pdfFile, file);
        QFile pdf(QString::fromStdString(job.pdfTemp));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.size() > 500 && pdf.read(5) == "%PDF-");
        pdf.remove();
        QVERIFY(!QFileInfo::exists(QString::fromStdString(file)));

        // The print dialog through its seam: an answer prints into a PDF file, none cancels.
        const std::string second = dir.filePath("second.pdf").toStdString();
        GwSeamNextPrint(second);
        QVERIFY(GwPrintBegin(job, nullptr, "ORLA"));
        QCOMPARE(job.pdfFile, second);
        GwTextOut(job.dc, 100, 100, "Poz.");
        QVERIFY(GwPrintEnd(job));
        QVERIFY(QFileInfo(QString::fromStdString(job.pdfTemp)).size() > 0);
        QFile::remove(QString::fromStdString(job.pdfTemp));
        QVERIFY(!GwPrintBegin(job, nullptr, "ORLA"));
    }
};

QTEST_MAIN(TestWinSupport)
#include "test_winsupport.moc"
