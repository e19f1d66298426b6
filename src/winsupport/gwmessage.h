#pragma once
// The message box of the program, owned by the main window (GwSetMainWindow) unless an
// owner is given.

#include <string>

class QWidget;

// Buttons and icon; the same order as the core's MessageKind.
enum GwMessageKind {
    GW_MB_ERROR = 0,
    GW_MB_WARNING = 1,
    GW_MB_INFO = 2,
    GW_MB_QUESTION = 3,
    GW_MB_QUESTIONCANCEL = 4 // Yes, No and Cancel; Escape and the close box cancel
};
// Answers; the same numbers as the core's MessageAnswer.
enum GwAnswer { GW_IDOK = 1, GW_IDCANCEL = 2, GW_IDYES = 6, GW_IDNO = 7 };

// Shows text under caption: an OK button with the error, warning or information icon,
// or Yes and No buttons with the question icon. Returns GW_IDOK, GW_IDYES or GW_IDNO
// (a question box stays until Yes or No is chosen: Escape and its close box do nothing).
// GW_MB_QUESTIONCANCEL adds Cancel, which Escape and the close box also answer
// (GW_IDCANCEL).
int GwMessageBox(QWidget* owner, const std::string& text, const std::string& caption, int kind);
