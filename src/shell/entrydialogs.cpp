// The templates of the Tournament Properties (101) and Pair penalty (102)
// dialogs. They live apart from the code that runs the dialogs, whose headers
// name the Ui hooks of the core.
#include "ui_penaltydlg.h"
#include "ui_propertiesdlg.h"
#include "winsupport/gwlogm.h"

GWREGISTERTEMPLATE(101, Ui::PropertiesDlg)
GWREGISTERTEMPLATE(102, Ui::PenaltyDlg)

// Called before either dialog is shown, so that the linker keeps this file.
bool ENTRYDIALOGSREADY() {
    return GwTemplate101Registered && GwTemplate102Registered;
}
