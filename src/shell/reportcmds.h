#pragma once
// The File menu's report commands: exports of the view shown as text or HTML,
// the results as PBN, printing the view shown, the page set-up.

#include <string>

// The folders the export dialogs last chose (StartFolder until then); kept for
// the run, not saved.
extern std::string TextExportFolder;
extern std::string HtmlExportFolder;
extern std::string PbnExportFolder;

// The folder the hand-record dialogs last chose.
extern std::string HandsFolder;

// "Import hands (PBN)...": reads the deals of a PBN file into the open tournament
// (hand diagrams turned on); a malformed file is refused with its line and nothing
// changes. "Export hands (PBN)...": the complete deals as a PBN file.
void ONIMPORTHANDS();
void ONEXPORTHANDS();

// Empties the remembered folders and the reports' state.
void RESETREPORTCOMMANDS();

// "Export Text File...", "Export HTML..." and "Export results (PBN)...": a save
// dialog offering the tournament's file name in the remembered folder, then the
// export of the view shown written through a temporary file (an error is shown,
// an earlier file stays as it was).
void ONEXPORTTEXT();
void ONEXPORTHTML();
void ONEXPORTPBN();

// "Print...": the print dialog, then the report of the view shown on the printer
// chosen (with no printer installed, into a PDF file). A cancel writes "0" into
// Error.log in the program's folder; a failing printer "1" and a message. Deals
// the board lists print that are not analysed yet are analysed first, with a
// progress dialog whose Cancel prints nothing; when the solver fails the deals
// print without their double-dummy tables.
void ONPRINTPLACEMENT();
// The same into the PDF file `pdfFile` when it is not empty (no dialog). False
// when nothing or not everything was printed.
bool PRINTSHOWN(const std::string& pdfFile);

// Copies the print settings (header, fonts) into the printing layer's set-up.
void APPLYPAGESETUP();

// Before a print: a picture header (Page Setup, "Metafile:") whose file is gone
// or cannot be read is said, since the pages then go without it.
void WARNHEADERPICTURE();
// Replaces Error.log in the program's folder with the one line `code`.
void WRITEERRORLOG(int code);
