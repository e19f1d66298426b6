#include "winsupport/gwseam.h"

// Being filled in.
static std::vector<GwSeamMessage> Messages;
static GwSeamFileDialog LastFile;
static std::string LastBrowse;
void GwSeamStart() {}
void GwSeamStop() {}
bool GwSeamActive() {
    return false;
}
void GwSeamNextAnswer(int) {}
const std::vector<GwSeamMessage>& GwSeamMessages() {
    return Messages;
}
void GwSeamNextFileName(const std::string&) {}
void GwSeamNextFileCancel() {}
const GwSeamFileDialog& GwSeamLastFileDialog() {
    return LastFile;
}
void GwSeamNextFolder(const std::string&) {}
void GwSeamNextFolderCancel() {}
const std::string& GwSeamLastBrowseTitle() {
    return LastBrowse;
}
void GwSeamNextPrint(const std::string&) {}
void GwSeamOnNextModal(std::function<void(DialogRecord&)>) {}
int GwSeamPendingModals() {
    return 0;
}
