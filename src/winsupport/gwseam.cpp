#include "winsupport/gwseam.h"

#include "winsupport/gwcontrol.h"
#include "winsupport/gwmessage.h"

#include <deque>

namespace {
struct Seams {
    bool active = false;
    std::deque<int> answers;
    std::vector<GwSeamMessage> messages;
    std::deque<std::optional<std::string>> files, folders, prints;
    GwSeamFileDialog lastFile;
    std::string lastBrowse;
    std::deque<std::function<void(DialogRecord&)>> modals;
    std::deque<std::optional<GwFontChoice>> fonts;
    GwSeamFontDialog lastFont;
    std::string lastPrintPdfName;
};
Seams& S() {
    static Seams seams;
    return seams;
}
// Takes the front of a queue, nullopt (cancel) when it is empty.
std::optional<std::string> Take(std::deque<std::optional<std::string>>& queue) {
    if (queue.empty()) return std::nullopt;
    auto front = queue.front();
    queue.pop_front();
    return front;
}
} // namespace

void GwSeamStart() {
    S() = Seams();
    S().active = true;
}
void GwSeamStop() {
    S() = Seams();
}
bool GwSeamActive() {
    return S().active;
}

void GwSeamNextAnswer(int answer) {
    S().answers.push_back(answer);
}
const std::vector<GwSeamMessage>& GwSeamMessages() {
    return S().messages;
}
void GwSeamNextFileName(const std::string& path) {
    S().files.push_back(path);
}
void GwSeamNextFileCancel() {
    S().files.push_back(std::nullopt);
}
const GwSeamFileDialog& GwSeamLastFileDialog() {
    return S().lastFile;
}
void GwSeamNextFolder(const std::string& folder) {
    S().folders.push_back(folder);
}
void GwSeamNextFolderCancel() {
    S().folders.push_back(std::nullopt);
}
const std::string& GwSeamLastBrowseTitle() {
    return S().lastBrowse;
}
void GwSeamNextFont(const GwFontChoice& font) {
    S().fonts.push_back(font);
}
void GwSeamNextFontCancel() {
    S().fonts.push_back(std::nullopt);
}
const GwSeamFontDialog& GwSeamLastFontDialog() {
    return S().lastFont;
}
void GwSeamNextPrint(const std::string& pdfFile) {
    S().prints.push_back(pdfFile.empty() ? std::nullopt : std::optional(pdfFile));
}
const std::string& GwSeamLastPrintPdfName() {
    return S().lastPrintPdfName;
}
void GwSeamOnNextModal(std::function<void(DialogRecord&)> action) {
    S().modals.push_back(std::move(action));
}
int GwSeamPendingModals() {
    return int(S().modals.size());
}

bool SEAMMESSAGE(const std::string& text, const std::string& caption, int kind, int& answer) {
    if (!S().active) return false;
    S().messages.push_back({text, caption, kind});
    answer = kind == GW_MB_QUESTION || kind == GW_MB_QUESTIONCANCEL ? GW_IDNO : GW_IDOK;
    if (!S().answers.empty()) {
        answer = S().answers.front();
        S().answers.pop_front();
    }
    return true;
}

bool SEAMFILE(const GwSeamFileDialog& asked, std::optional<std::string>& path) {
    if (!S().active) return false;
    S().lastFile = asked;
    path = Take(S().files);
    return true;
}

bool SEAMFOLDER(const std::string& title, std::optional<std::string>& folder) {
    if (!S().active) return false;
    S().lastBrowse = title;
    folder = Take(S().folders);
    return true;
}

bool SEAMPRINT(std::optional<std::string>& pdfFile, const std::string& pdfName) {
    if (!S().active) return false;
    S().lastPrintPdfName = pdfName;
    pdfFile = Take(S().prints);
    return true;
}

bool SEAMMODAL(std::function<void(DialogRecord&)>& action) {
    if (!S().active) return false;
    action = nullptr;
    if (!S().modals.empty()) {
        action = std::move(S().modals.front());
        S().modals.pop_front();
    }
    return true;
}

bool SEAMFONT(const GwSeamFontDialog& asked, std::optional<GwFontChoice>& font) {
    if (!S().active) return false;
    S().lastFont = asked;
    font = std::nullopt;
    if (!S().fonts.empty()) {
        font = S().fonts.front();
        S().fonts.pop_front();
    }
    return true;
}
