#include "winsupport/gwctl.h"

// Being filled in.
QWidget* GwCtlInit(QWidget*, int, int, GwCtlRecord&) {
    return nullptr;
}
bool GwCtlSetChar(QWidget*, const std::string&, int) {
    return false;
}
bool GwCtlGetChar(QWidget*, std::string&, int) {
    return false;
}
bool GwCtlSetInt(QWidget*, int, int) {
    return false;
}
bool GwCtlGetInt(QWidget*, int&, int) {
    return false;
}
bool GwCtlSetLog(QWidget*, bool, int) {
    return false;
}
bool GwCtlGetLog(QWidget*, bool&, int) {
    return false;
}
int CONTROLADDSTRING(QWidget*, const std::string&) {
    return 0;
}
bool GwCtlSetSub(QWidget*, GwCtlProc, int) {
    return false;
}
GwCtlProc GwCtlGetSub(QWidget*, int) {
    return nullptr;
}
bool GwCtlMove(QWidget*, int, int, int, int, bool) {
    return false;
}
void GwBeginCtlMove() {}
void GwEndCtlMove() {}
const GwCtlRecord* GwCtlByHandle(const QWidget*) {
    return nullptr;
}
int IndexByHwnd(const QWidget*) {
    return 0;
}
QWidget* GwCtlGetEdit(QWidget*) {
    return nullptr;
}
bool GwCtlDestroy(QWidget*) {
    return false;
}
void GwCtlDestroyAll() {}
