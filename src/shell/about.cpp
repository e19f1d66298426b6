#include "shell/help.h"
#include "shell/icon.h"
#include "ui_aboutdlg.h"
#include "winsupport/gwlogm.h"

#include <QDialog>
#include <QLabel>

GWREGISTERTEMPLATE(121, Ui::AboutDlg)

namespace {

// Puts the program's icon and version into the box before it is shown.
void aboutInit(DialogRecord& dlg, int, int callbackType) {
    if (callbackType != DLG_CB_INIT || !dlg.window) return;
    if (auto* icon = dlg.window->findChild<QLabel*>("iconLabel"))
        icon->setPixmap(PROGRAMICONPIXMAP(32));
    if (auto* text = dlg.window->findChild<QLabel*>("textLabel"))
        text->setText(QStringLiteral("ORLA Bridge Tournaments Editor\nVersion " ORLA_VERSION));
}

} // namespace

void ONHELPABOUT() {
    DialogRecord dlg;
    if (!DLGINIT(121, dlg)) return;
    DLGSETSUB(dlg, 121, aboutInit);
    DLGMODAL(dlg);
    DLGUNINIT(dlg);
}
