#pragma once
// Printing the reports: a print job's page is set up (margins of 10 mm, the print
// header, the fonts) and the report routines draw on it through the PrintContext
// `Printer`, which this layer fills with the job's drawing routines. The same
// routines print on a printer chosen in the print dialog and into a PDF file.

#include "hands/analysis.h"
#include "winsupport/gwgdi.h"

#include <functional>
#include <string>
#include <vector>

class QWidget;

// A printing font: face, size in points, weight (400 normal, 700 bold), italic.
struct PrintFont {
    std::string face;
    int points = 10;
    int weight = 400;
    bool italic = false;
};

// The page set-up the print routines use: the print header (0 none, 1 the text
// `header`, 2 the picture file `header`), the font of titles and the fixed-pitch
// font of the report lines.
struct PageSetup {
    int headerType = 0;
    std::string header;
    PrintFont headerFont{"Arial", 16, 900, false};
    PrintFont fixedFont{"Courier", 10, 400, false};
};
extern PageSetup PrintSetup;

// Puts PrintSetup back to its built-in values.
void RESETPRINTING();

// The documents of the four views.
inline constexpr const char* DocTournament = "ORLA tournament";
inline constexpr const char* DocBoard = "ORLA Board";
inline constexpr const char* DocLists = "ORLA Lists";
inline constexpr const char* DocPersonal = "ORLA list";

// The PDF file a print proposes when the system has no printer: the tournament's
// name (as the exports offer it, "Club Monday.pdf") beside its file.
std::string PRINTPDFNAME();

// Starts a print job: with `pdfFile` empty through the print dialog over `owner`
// (no printer installed: a PDF file chosen in a save dialog), otherwise straight
// into that PDF file. Then sets the job's page up and fills `Printer` with it:
// margins, resolution, page size, 18-point line steps, the fixed font selected.
// False when the dialog is cancelled or the device cannot be opened; `Printer`
// is then left without drawing routines.
bool STARTPRINT(GwPrintJob& job, const std::string& docName, const std::string& pdfFile = "",
                QWidget* owner = nullptr);
// Fills `Printer` from a job already begun (STARTPRINT calls it).
void SETUPPRINTER(GwPrintJob& job);
// Ends the job (the last page and the document) and empties `Printer`'s routines;
// false when the device failed on the way. A PDF document is checked to be whole
// (PDFWHOLE) before it replaces anything, and then written to its file through
// the safe writer; when it is not whole, or cannot be written, the file is left
// as it was and `reason` (when given) says why.
bool ENDPRINT(GwPrintJob& job, std::string* reason = nullptr);

// True when `bytes` are a whole PDF document: the "%PDF-" header, the
// "startxref" offset pointing at the cross-reference inside the file, and the
// "%%EOF" line at the end. A document cut short (a full disk under the
// temporary folder) lacks its end.
bool PDFWHOLE(const std::string& bytes);

// Draws the print header of PrintSetup at the top of the current page (a text
// centred just inside the top margin, or a picture across the width between the
// margins in its proportions; a picture that cannot be read gives none) and
// returns the baseline of the title below it (the top margin without a header).
int PRINTHEADER();
// The print header and the centred title below it in the header font, then the
// fixed font selected again. Returns the title's baseline.
int PRINTTITLE(const std::string& titleUtf8);

// The reports of the four views, drawn on a job that STARTPRINT began.
// The pairs report under the print header and the tournament's name.
void PRINTPLACEMENT(GwPrintJob& job);
// The traveller of `board` under the caption "<tournament> - Board n". When the
// tournament keeps hand diagrams and the board has cards dealt, its diagram comes
// first (North above, West and East beside, South below, with the dealer and the
// vulnerability), and for a complete deal whose analysis is known (DDCACHED) the
// double-dummy table and the par line under it; a deal not analysed prints
// without them.
void PRINTBOARD(GwPrintJob& job, int board);
// Every board, one traveller after another, each under its caption.
void PRINTBOARDS(GwPrintJob& job);

// The deals PRINTVIEW would print for view `viewMode` (board: the board of the
// board lists, 0 every board) that are complete but not analysed yet, as jobs
// for ANALYSEDEALS; empty when the tournament keeps no hand diagrams or the view
// prints no deals.
std::vector<DdJob> PRINTANALYSISJOBS(int viewMode, int board);
// The frequency lists of every board under "<tournament> - Frequency Lists".
void PRINTFREQUENCYLISTS(GwPrintJob& job);
// The score card of `pair`, or of every pair (pair 0) each on a page of its own.
// `progress` (may be empty) is told the pair being printed and the count, and
// returns false to stop; false when stopped.
bool PRINTPERSONALCARDS(GwPrintJob& job, int pair,
                        const std::function<bool(int done, int total)>& progress = {});

// The document name of view `viewMode` (1 pairs, 2 board lists, 3 frequency
// lists, 4 personal score cards).
std::string PRINTDOCNAME(int viewMode);
// Prints the report of view `viewMode` on the job (board: the board of the
// board lists, 0 every board; pair: the personal card's pair, 0 every pair);
// false when `progress` stopped it.
bool PRINTVIEW(GwPrintJob& job, int viewMode, int board, int pair,
               const std::function<bool(int done, int total)>& progress = {});
// Prints view `viewMode` (board: the board of the board lists; pair: the
// personal card's pair, 0 all) into the PDF file `file` without a dialog. False,
// with a reason, when the file cannot be written.
bool PRINTVIEWTOPDF(int viewMode, int board, int pair, const std::string& file,
                    std::string& reason);
