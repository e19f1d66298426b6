#pragma once
// The Page Setup dialog: the print header (none, a line of text or a picture)
// and the two printing fonts, kept in the settings.

#include <string>

struct DialogRecord;
struct LogFont;

// "Page Set&up...": runs the dialog over the main window. OK stores the header
// kind and its text or picture and saves the settings; Cancel undoes the font
// choices made in the dialog and leaves the header as it was. True on OK.
bool ONPAGESETUP();

// Callbacks of the dialog's controls.
// A header kind chosen: only the fields of that kind can be used.
void ONRADIOHEADER(DialogRecord& dlg, int id, int callbackType);
// "&Browse...": an SVG, PNG or JPEG picture for the header. A file that cannot
// be drawn (a metafile, an unreadable or missing file) is refused with a message
// naming it and why; the previous choice stays.
void ONBROWSEHEADER(DialogRecord& dlg, int id, int callbackType);
// "F&ont..." (header font) and "Fon&t..." (fixed-pitch font, 6 to 12 points):
// the font dialog, which changes the setting at once.
void ONSELECTFONT(DialogRecord& dlg, int id, int callbackType);

// A font in words: "Arial Bold Italic, 10  pt" (the size left-justified in three
// characters).
std::string LOGFONT2NAME(const LogFont& font, int size);
