#include "winsupport/gwmenu.h"

// Being filled in.
QMenuBar* GwLoadMenu(QMainWindow*, std::span<const GwMenuItem>, GwCommandProc) {
    return nullptr;
}
bool GwInsertMi(QMenuBar*, int, int, const GwMenuItem&) {
    return false;
}
QAction* FINDMIBYID(QMenuBar*, int, QMenu**, int*) {
    return nullptr;
}
bool GwModifyMiType(QMenuBar*, int, int) {
    return false;
}
bool GwModifyMiState(QMenuBar*, int, int) {
    return false;
}
bool GwModifyMiTitle(QMenuBar*, int, const std::string&) {
    return false;
}
int GwGetMiState(QMenuBar*, int) {
    return -1;
}
bool GwEnablePopup(QMenuBar*, int, bool) {
    return false;
}
