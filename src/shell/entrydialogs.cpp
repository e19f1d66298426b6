// The templates of the Tournament Properties (101), Pair penalty (102) and
// Page Setup (103) dialogs. They live apart from the code that runs the
// dialogs, whose headers name the Ui hooks of the core.
#include "ui_pagesetupdlg.h"
#include "ui_penaltydlg.h"
#include "ui_propertiesdlg.h"
#include "winsupport/gwlogm.h"

GWREGISTERTEMPLATE(101, Ui::PropertiesDlg)
GWREGISTERTEMPLATE(102, Ui::PenaltyDlg)
GWREGISTERTEMPLATE(103, Ui::PageSetupDlg)

// Called before any of the dialogs is shown, so that the linker keeps this file.
bool ENTRYDIALOGSREADY() {
    return GwTemplate101Registered && GwTemplate102Registered && GwTemplate103Registered;
}
