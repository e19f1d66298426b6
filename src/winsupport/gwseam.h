#pragma once
// Test seams: with the seams started, no dialog of the layer waits for a user. Message
// boxes, file and folder dialogs and the print dialog take the next queued answer, and
// a modal dialog runs the next queued action while it is shown. A test starts the seams
// in its init() (which also empties every queue) and walks whole commands through them.

#include "winsupport/gwfile.h"

#include <functional>
#include <string>
#include <vector>

struct DialogRecord;

// Starts the seams and empties every queue and record; GwSeamStop shows real dialogs
// again.
void GwSeamStart();
void GwSeamStop();
bool GwSeamActive();

// Message boxes: the next answer (GW_IDOK, GW_IDYES, GW_IDNO, GW_IDCANCEL). Without one, an OK box
// answers OK and a question No. Every box shown is recorded.
void GwSeamNextAnswer(int answer);
struct GwSeamMessage {
    std::string text, caption;
    int kind = 0;
};
const std::vector<GwSeamMessage>& GwSeamMessages();

// File dialogs: the next path chosen, or a cancel. Without one, the dialog is
// cancelled. The last dialog asked for is recorded.
void GwSeamNextFileName(const std::string& path);
void GwSeamNextFileCancel();
struct GwSeamFileDialog {
    bool save = false;
    std::string title;
    std::vector<std::string> filters; // as the dialog lists them, in order
    std::string defaultExt;
    std::string fileName; // as passed in
};
const GwSeamFileDialog& GwSeamLastFileDialog();

// Folder browser: the next folder chosen, or a cancel (the default). The last title
// asked for is recorded.
void GwSeamNextFolder(const std::string& folder);
void GwSeamNextFolderCancel();
const std::string& GwSeamLastBrowseTitle();

// Font dialog: the next font chosen, or a cancel (the default). The last dialog asked
// for is recorded.
void GwSeamNextFont(const GwFontChoice& font);
void GwSeamNextFontCancel();
struct GwSeamFontDialog {
    bool fixedPitchOnly = false;
    int minPoints = 0, maxPoints = 0;
    GwFontChoice start; // the font the dialog started from
};
const GwSeamFontDialog& GwSeamLastFontDialog();

// Print dialog: the next answer prints into the PDF file `pdfFile`; "" (and no answer
// queued) cancels.
void GwSeamNextPrint(const std::string& pdfFile);
// The PDF file name the last print would have proposed had the system no printer.
const std::string& GwSeamLastPrintPdfName();

// Modal dialogs: the next DLGMODAL runs `action` once its dialog is shown (after the
// initialisation). The action may set values, click buttons (the widgets are children
// of dlg.window named by id) and end the dialog with DLGEXIT. A dialog still open after
// its action, or shown with no action queued, ends as if Cancel (2) were pressed.
void GwSeamOnNextModal(std::function<void(DialogRecord& dlg)> action);
// Number of queued actions not yet used.
int GwSeamPendingModals();
