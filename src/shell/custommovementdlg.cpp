// The template of the Custom Movement dialog (119), apart from the code that
// runs it, whose headers name the Ui hooks of the core.
#include "ui_custommovementdlg.h"
#include "winsupport/gwlogm.h"

GWREGISTERTEMPLATE(119, Ui::CustomMovementDlg)

// Called before the dialog is shown, so that the linker keeps this file.
bool CUSTOMMOVEMENTDIALOGREADY() {
    return GwTemplate119Registered;
}
