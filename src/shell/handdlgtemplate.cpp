// The template of the Hand Diagram dialog (110), apart from the code that runs the
// dialog, whose headers name the Ui hooks of the core.
#include "ui_handdlg.h"
#include "winsupport/gwlogm.h"

GWREGISTERTEMPLATE(110, Ui::HandDlg)

// Called before the dialog is first shown, so that the linker keeps this file.
bool HANDDLGREADY() {
    return GwTemplate110Registered;
}
