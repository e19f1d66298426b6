#include "shell/hooks.h"

#include "core/hooks.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/mainwindow.h"
#include "shell/recalc.h"
#include "shell/settings.h"
#include "shell/shell.h"
#include "shell/views.h"
#include "winsupport/gwmessage.h"

namespace {

MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageKind kind) {
    // The kinds and answers of the message box are numbered as the core's.
    return static_cast<MessageAnswer>(GwMessageBox(MainWindow, text, caption, kind));
}

void showStatus(int part, const std::string& text) {
    if (MainWindow) MainWindow->setStatus(part, QString::fromStdString(text));
}

void showTitle(const std::string& text) {
    if (MainWindow) MainWindow->setWindowTitle(QString::fromStdString(text));
}

void fileOpened(const std::string& name) {
    FIGURESTAKEN();
    SWITCHVIEW(IDM_SORTBYPLACEMENT);
    SAVEANDUPDATEMRU(name);
}

} // namespace

void INSTALLUIHOOKS() {
    Ui.message = showMessage;
    Ui.status = showStatus;
    Ui.tournamentMenus = TOURNAMENTMENUS;
    Ui.redraw = REDRAWVIEW;
    Ui.title = showTitle;
    Ui.fileOpened = fileOpened;
    Ui.createEntryWindows = CREATEENTRYWINDOWS;
    Ui.destroyEntryWindows = DESTROYENTRYWINDOWS;
}
