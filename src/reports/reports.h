#pragma once
// Reports: the ranking and the pairs in line order, the board lists, the
// frequency lists and the personal score cards as lines of fixed-column text,
// each line sent to one of three outputs (an HTML file, a text file or a
// printer page) by LINEOUT, so that printing and exporting a view run the same
// routine. The results as PBN. Nothing here needs Qt: the printer is reached
// through the PrintContext that the program fills in.
//
// Lines are composed in the tournament's own character set (Windows-1250, one
// byte per character, so columns are counted in characters) and converted on
// the way out: to UTF-8 for text files and the printer, to windows-1252 with
// character references for HTML.

#include <string>
#include <vector>

// Where a report's lines go.
enum OutputMode : int { OUTPUT_HTML = 1, OUTPUT_TEXT = 2, OUTPUT_PRINTER = 3 };

// Width of the line the pairs report is composed in.
constexpr int ReportLineLength = 86;

// The export file while it is being written: its bytes, kept in memory until the
// export command writes them out in one piece (WRITEEXPORT).
extern std::string ExportUnit;

// The printer page, filled in by the program before a report runs in printer
// mode. Coordinates in device units; y is the baseline of the last line drawn.
struct PrintContext {
    // Draws UTF-8 text with its baseline at (x, y).
    void (*drawText)(int x, int y, const std::string& text);
    // The width of UTF-8 text in the report font.
    int (*textWidth)(const std::string& text);
    // Ends the page, starts the next one and sets the device up again (baseline
    // alignment, black text, transparent background, the report font).
    void (*newPage)();
    int margins[4];  // top y, left x, right margin, bottom margin
    int dpiY;        // vertical resolution, dots per inch
    int x;           // left x of the lines
    int y;           // current baseline
    int lineHeight;
    int pageWidth;
    int pageHeight;
};
extern PrintContext Printer;

// The pair whose score card the personal view shows; 0 = every pair, one card
// after another.
extern int PersonalPair;

// Puts ExportUnit, Printer and PersonalPair back to their start values.
void RESETREPORTS();

// --- Lines ----------------------------------------------------------------

// Sends one line (Windows-1250; trailing blanks ignored) to the output: HTML as
// one paragraph (PARSEANDWRITELINE), text as one line of ExportUnit in UTF-8,
// printer one lineHeight below Printer.y, which it advances. Page breaks are the
// caller's business (PRINTPAGECHECK).
void LINEOUT(int mode, const std::string& line, bool normalSpacing = true);

// Appends the line as one HTML paragraph in Courier New to ExportUnit: each
// blank written as "&nbsp;", markup characters and characters outside
// windows-1252 as character references. Without normal spacing the paragraph
// has no margins above and below.
void PARSEANDWRITELINE(const std::string& line, bool normalSpacing);

// Printer mode, after a data line: a new page when the baseline has passed the
// bottom margin, else one lineHeight further down.
void PRINTPAGECHECK();

// One line of a report body: as LINEOUT for the files; on the printer drawn one
// line below Printer.y, followed by PRINTPAGECHECK.
void DATALINE(int mode, const std::string& line, bool normalSpacing = true);

// Windows-1250 text as HTML in windows-1252: "<", ">", "&" and '"' and every
// character the page's character set cannot hold as character references.
std::string HTMLTEXT(const std::string& cp1250);

// Appends one line (already in the file's encoding) and its line end.
void EXPORTLINE(const std::string& bytes);

// --- The reports ----------------------------------------------------------

// The pairs report: the ranking (SortByPlacement 1) with its heading block, or
// the pairs in line order; then the penalties under "Kazne:".
void OUTPUTTOURNAMENT(int mode);

// The board lists as fixed-width records, one per entry of every board:
// board, the two pairs, kind, contract, score, flag, adjustment.
void EXPORTBOARDS();

// The traveller of one board: a caption line, the column titles and one line
// per entry (pairs, result, the points of both sides).
void OUTPUTBOARD(int mode, int board);

// Groups the n stored result codes values[0..n-1] of one board: m groups, each
// with count[g] entries, represented by the entry first[g] (1-based), largest
// count first (ties in order of first appearance, as a selection sort leaves
// them). m must be 0 on entry; count and first are resized to hold the groups.
void GETFREQUENCIES(int n, const std::vector<float>& values, std::vector<int>& count,
                    std::vector<int>& first, int& m);

// The frequency lists of every board.
void PRINTFREQUENCIES(int mode);

// The personal score card of pair `pair`, or of every pair when `pair` is 0
// (in printer mode each card on its own page).
void PRINTPERSONAL(int mode, int pair);

// How a stored result reads in the lists: "420", "-50", an inverted result
// "420 I", an adjusted score "A60-40", nothing for an entry without a result.
std::string RESULTTEXT(float v);

// The identifier under which a pair appears in the reports: "NS3"/"EW3" in a
// Mitchell, the movement editor's identifier (GETPAIRID) in a custom movement,
// otherwise its number (right-justified in `width`).
std::string PAIRID(int pair, int width);

// --- Whole exports --------------------------------------------------------

// The text export of the current view (ViewMode): the tournament's name and two
// empty lines (not for the board lists), then the view's report. Returns the
// file's bytes (UTF-8).
std::string TEXTEXPORT();

// The HTML export of the current view: the page head, the view's report, the tail.
std::string HTMLEXPORT();

// The results as PBN: every board's traveller as a score table, then the
// ranking as a total score table (UTF-8).
std::string PBNEXPORT();

// The name an export of the open tournament is offered under: the file's name
// without its extension, or "Tournament".
std::string DEFAULTEXPORTNAME();

// Writes an export to the file `name` (UTF-8 path) through a temporary file, so
// that a failed write leaves an earlier file as it was. On failure shows "The
// file <name> could not be written: <reason>." (caption "Error") and returns false.
bool WRITEEXPORT(const std::string& name, const std::string& bytes);

// --- The rating list ------------------------------------------------------

// Row k of the rating list (Windows-1250, 80 characters, 50 of them data), for
// register entry RegOrder(k): the place "  k." (4 blanks for a rating equal to
// the row above in numbering mode 2, the order by rating), a blank, the name
// cut to 31 characters, the rating in 4, 4 blanks, the last change with its
// sign in parentheses ("(  +0)"). A wider number is shown whole.
std::string PLAYERLISTLINE(int k, int numbering);

// Every row of the list to one output: HTML as compact paragraphs, text as
// lines, the printer as lines with page breaks (Printer).
void OUTPUTPLAYERLIST(int mode, int numbering);

// The rating list as an HTML page ("REJTING LISTA" above the rows), and as a
// text file (UTF-8): the title, an empty line, the rows.
std::string PLAYERLISTHTML(int numbering);
std::string PLAYERLISTTEXT(int numbering);
