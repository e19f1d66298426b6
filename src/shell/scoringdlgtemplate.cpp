// The template of the Score at the Tables window (124), apart from the code that
// runs it, whose headers name the Ui hooks of the core.
#include "ui_scoringdlg.h"
#include "winsupport/gwlogm.h"

GWREGISTERTEMPLATE(124, Ui::ScoringDlg)

// Called before the window is first shown, so that the linker keeps this file.
bool SCORINGDLGREADY() {
    return GwTemplate124Registered;
}
