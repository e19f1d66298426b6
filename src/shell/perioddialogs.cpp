// The templates of Update Rating (108) and Rating Update Results (109). They
// live apart from the code that runs the dialogs, whose headers name the Ui
// hooks of the core.
#include "ui_ratingresultsdlg.h"
#include "ui_updateratingdlg.h"
#include "winsupport/gwlogm.h"

GWREGISTERTEMPLATE(108, Ui::UpdateRatingDlg)
GWREGISTERTEMPLATE(109, Ui::RatingResultsDlg)

// Called before either dialog is shown, so that the linker keeps this file.
bool PERIODDIALOGSREADY() {
    return GwTemplate108Registered && GwTemplate109Registered;
}
