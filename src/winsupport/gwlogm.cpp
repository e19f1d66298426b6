#include "winsupport/gwlogm.h"

// Being filled in.
bool GwRegisterTemplate(int, DlgTemplateFactory) {
    return true;
}
static QWidget* MainOwner = nullptr;
void GwSetMainWindow(QWidget* window) {
    MainOwner = window;
}
QWidget* GwMainWindow() {
    return MainOwner;
}
bool DLGINIT(int, DialogRecord& dlg) {
    dlg = DialogRecord();
    return false;
}
int ID2INDEX(const DialogRecord& dlg, int id) {
    for (size_t i = 0; i < dlg.controls.size(); ++i)
        if (dlg.controls[i].id == id) return int(i);
    return -1;
}
bool DLGSETINT(DialogRecord&, int, int, int) {
    return false;
}
bool DLGSETLOG(DialogRecord&, int, bool, int) {
    return false;
}
bool DLGSETCHAR(DialogRecord&, int, const std::string&, int) {
    return false;
}
bool DLGGETINT(DialogRecord&, int, int&, int) {
    return false;
}
bool DLGGETLOG(DialogRecord&, int, bool&, int) {
    return false;
}
bool DLGGETCHAR(DialogRecord&, int, std::string&, int) {
    return false;
}
bool DLGSETSUB(DialogRecord&, int, DlgProc, int) {
    return false;
}
void DLGSETHELP(DialogRecord& dlg, DlgHelpProc proc) {
    dlg.helpProc = proc;
}
void DLGSETTITLE(DialogRecord& dlg, const std::string& title) {
    dlg.title = title;
}
int DLGMODAL(DialogRecord&, QWidget*) {
    return -1;
}
bool DLGMODELESS(DialogRecord&, int, QWidget*) {
    return false;
}
void DLGSETRETURN(DialogRecord& dlg, int value) {
    dlg.returnValue = value;
}
bool DLGEXIT(DialogRecord&) {
    return false;
}
void DLGFLUSH(DialogRecord&) {}
void DLGUNINIT(DialogRecord& dlg) {
    dlg = DialogRecord();
}
bool DLGSENDCTRLMESSAGE(DialogRecord&, int, int, long long, long long) {
    return false;
}
bool DLGGETTABCHILD(DialogRecord&, int, int, DialogRecord&) {
    return false;
}
bool DLGTABSHOW(DialogRecord&, int) {
    return false;
}
bool CHANGENUMITEMS(DialogRecord&, int, int) {
    return false;
}
bool CHANGELISTBOXITEMS(DialogRecord&, int, const std::vector<std::string>&) {
    return false;
}
bool CHANGETABITEMS(DialogRecord&, int, const std::vector<std::string>&) {
    return false;
}
int LISTADDSTRING(DialogRecord&, int, const std::string&) {
    return 0;
}
