#include "winsupport/gwmessage.h"

// Being filled in.
int GwMessageBox(QWidget*, const std::string&, const std::string&, int kind) {
    return kind == GW_MB_QUESTION ? GW_IDNO : GW_IDOK;
}
