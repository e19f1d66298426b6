#pragma once
// What the window tests share: a test program's own settings and program folder,
// the main window opened and closed around each test, and the dialog controls
// found and worked by their ids as the director works them.

#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwseam.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QStringList>
#include <QSettings>
#include <QString>
#include <QTest>

#include <cstdio>
#include <string>

// Points the settings, the register and the program folder at `dir`, so that a
// test never touches the user's own.
inline void USETESTFOLDERS(const QString& dir) {
    qputenv("XDG_CONFIG_HOME", dir.toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    qputenv("ORLA_PROGRAM_FOLDER", dir.toLocal8Bit());
    QApplication::setQuitOnLastWindowClosed(false);
}

// Starts the program with empty settings, its dialogs handed to the seam; true
// once the main window is active.
inline bool OPENTESTWINDOW() {
    QSettings("ORLA", "0.9").clear();
    GwSeamStart();
    STARTUP({});
    MainWindow->activateWindow();
    return QTest::qWaitForWindowActive(MainWindow);
}

inline void CLOSETESTWINDOW() {
    SHUTDOWN();
    GwSeamStop();
}

inline QWidget* control(DialogRecord& dlg, int id) {
    return dlg.window->findChild<QWidget*>(QString::number(id));
}

inline std::string text(DialogRecord& dlg, int id) {
    std::string t;
    DLGGETCHAR(dlg, id, t);
    return t;
}

inline void click(DialogRecord& dlg, int id) {
    static_cast<QAbstractButton*>(control(dlg, id))->click();
}

inline bool enabled(DialogRecord& dlg, int id) {
    return control(dlg, id)->isEnabled();
}

// Moves a list box to `index` with the arrow keys.
inline void choose(QWidget* combo, int index) {
    auto* c = static_cast<QComboBox*>(combo);
    while (c->currentIndex() < index) QTest::keyClick(c, Qt::Key_Down);
    while (c->currentIndex() > index) QTest::keyClick(c, Qt::Key_Up);
}

template <class W = QWidget> W* Control(const DialogRecord& dlg, int id) {
    return dlg.window->findChild<W*>(QString::number(id));
}

// The rows of list box `id`.
inline QStringList items(const DialogRecord& d, int id) {
    QStringList list;
    auto* lw = Control<QListWidget>(d, id);
    for (int i = 0; i < lw->count(); ++i) list << lw->item(i)->text();
    return list;
}

// The dialog as the README shows it, when ORLA_UPDATE_SCREENSHOT is 1.
inline void saveShot(const DialogRecord& d, const char* file) {
    if (qgetenv("ORLA_UPDATE_SCREENSHOT") == "1")
        QVERIFY(d.window->grab().save(QStringLiteral(ORLA_SOURCE_DIR "/docs/") + file));
}

// A record of the register file.
inline std::string rec(const std::string& name, int rating, int delta) {
    std::string r = name;
    r.resize(30, ' ');
    char numbers[16];
    std::snprintf(numbers, sizeof numbers, "%6d%6d", rating, delta);
    return r + numbers + "\r\n";
}
