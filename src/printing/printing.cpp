// The reports on a printer page or in a PDF file: the page set-up, the print
// header and title, and the PrintContext routines that draw the report lines.
#include "printing/printing.h"

#include "core/cp1250.h"
#include "core/safefile.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "reports/reportlines.h"
#include "reports/reports.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

PageSetup PrintSetup;

void RESETPRINTING() {
    PrintSetup = PageSetup{};
}

namespace {

// The job the PrintContext routines draw on.
GwPrintJob* Job = nullptr;

// n millimetres in device units at `dpi`, truncated.
int millimetres(int n, int dpi) {
    return static_cast<int>(static_cast<double>(n) * dpi / 25.4);
}

// n points in device units.
int pointsX(int n) {
    return static_cast<int>(static_cast<std::int64_t>(n) * Job->dpiX / 72);
}
int pointsY(int n) {
    return static_cast<int>(static_cast<std::int64_t>(n) * Job->dpiY / 72);
}

// The type size of a font in device units (points x dpiY / 72).
int typeSize(const PrintFont& font) {
    return static_cast<int>(static_cast<std::int64_t>(std::max(font.points, 1)) * Job->dpiY / 72);
}

void selectFont(const PrintFont& font, bool fixed) {
    GwSetFont(Job->dc, font.face, -typeSize(font), font.weight, font.italic, false, fixed);
    GwSetTextColor(Job->dc, GW_RGB(0, 0, 0));
}

void selectFixed() {
    selectFont(PrintSetup.fixedFont, true);
}

void drawText(int x, int y, const std::string& text) {
    if (Job) GwTextOut(Job->dc, x, y, text, GW_TA_LEFT | GW_TA_BASELINE);
}

int textWidth(const std::string& text) {
    return Job ? GwGetTextExtent(Job->dc, text).cx : 0;
}

// A new page, set up as the first: the fixed font, black text.
void newPage() {
    if (!Job) return;
    GwPrintNewPage(*Job);
    selectFixed();
}

// Text centred across the page at baseline y in the current font.
void centred(const std::string& text, int y) {
    drawText(Job->pageWidth / 2 - textWidth(text) / 2, y, text);
}

std::string trimmed(const std::string& s) {
    const auto end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

// The tournament's name for the page (UTF-8).
std::string tournamentName() {
    return CP1250TOUTF8(TOURNAMENTNAMETEXT());
}

// Starts a fresh page for the next part of a report when the current one has
// been written on; y then stands at the top margin.
void freshPage() {
    newPage();
    Printer.y = Printer.margins[0];
}

} // namespace

void SETUPPRINTER(GwPrintJob& job) {
    Job = &job;
    Printer = PrintContext{};
    Printer.drawText = drawText;
    Printer.textWidth = textWidth;
    Printer.newPage = newPage;
    // Ten millimetres from the paper's edge on every side, measured from the
    // printable area's corner (never above or left of it).
    Printer.margins[0] = std::max(0, millimetres(10, job.dpiY) - job.offY);
    Printer.margins[1] = std::max(0, millimetres(10, job.dpiX) - job.offX);
    Printer.margins[2] = millimetres(10, job.dpiX);
    Printer.margins[3] = millimetres(10, job.dpiY);
    Printer.dpiY = job.dpiY;
    Printer.x = Printer.margins[1];
    Printer.y = Printer.margins[0];
    Printer.lineHeight = pointsX(18);
    Printer.pageWidth = job.pageWidth;
    Printer.pageHeight = job.pageHeight - job.offY - millimetres(10, job.dpiY);
    GwSetPen(job.dc, GW_PS_SOLID, 0, GW_RGB(0, 0, 0));
    selectFixed();
}

bool STARTPRINT(GwPrintJob& job, const std::string& docName, const std::string& pdfFile,
                QWidget* owner) {
    const bool begun = pdfFile.empty() ? GwPrintBegin(job, owner, docName)
                                       : GwPdfBegin(job, pdfFile, docName);
    if (!begun) return false;
    SETUPPRINTER(job);
    return true;
}

bool ENDPRINT(GwPrintJob& job) {
    const bool ok = GwPrintEnd(job);
    if (Job == &job) Job = nullptr;
    Printer.drawText = nullptr;
    Printer.textWidth = nullptr;
    Printer.newPage = nullptr;
    return ok;
}

int PRINTHEADER() {
    if (!Job) return Printer.margins[0];
    const int top = Printer.margins[0], left = Printer.margins[1], right = Printer.margins[2];
    selectFont(PrintSetup.headerFont, false);
    int baseline = top;
    const std::string header = trimmed(PrintSetup.header);
    if (PrintSetup.headerType == 1 && !header.empty()) {
        // The header's baseline one type size below the top margin: the text just
        // inside it.
        const int headerBaseline = top + typeSize(PrintSetup.headerFont);
        centred(header, headerBaseline);
        baseline = headerBaseline + millimetres(5, Job->dpiY) + pointsX(18);
    } else if (PrintSetup.headerType == 2 && !header.empty()) {
        // The picture across the width between the margins, in its proportions;
        // a picture that cannot be read gives no header.
        int fw = 0, fh = 0;
        std::string reason;
        if (GwPictureSize(header, fw, fh, reason)) {
            const int width = Job->pageWidth - left - right;
            const int height = static_cast<int>(std::lround(static_cast<double>(width) * fh / fw));
            if (GwDrawPicture(Job->dc, header, left, top, left + width, top + height))
                baseline = top + height + 2 * pointsX(18);
        }
    }
    selectFixed();
    return baseline;
}

int PRINTTITLE(const std::string& titleUtf8) {
    const int baseline = PRINTHEADER();
    if (!Job) return baseline;
    selectFont(PrintSetup.headerFont, false);
    centred(trimmed(titleUtf8), baseline);
    selectFixed();
    return baseline;
}

void PRINTPLACEMENT(GwPrintJob& job) {
    Job = &job;
    const int baseline = PRINTTITLE(tournamentName());
    Printer.y = baseline + pointsX(18);
    OUTPUTTOURNAMENT(OUTPUT_PRINTER);
}

namespace {

// One column of the printed traveller: its title and its right edge in
// characters of the fixed font from the left margin.
struct TravellerColumn {
    const char* title;
    int right;
};

std::vector<TravellerColumn> travellerColumns() {
    std::vector<TravellerColumn> c = {{"NS", 5}, {"EW", 11}, {"Score", 20}};
    int x = 20;
    auto add = [&](const char* title, int w) { c.push_back({title, x += w}); };
    if (CalcType == CALC_MATCHPOINTS) {
        add("MP NS", 9);
        add("MP EW", 9);
        add("% NS", 7);
        add("% EW", 7);
        if (MovementType == MOVE_BERGER) add("Match MP", 13);
    } else {
        add("IMP NS", 9);
        add("IMP EW", 9);
        if (MovementType == MOVE_BERGER) {
            add("Match IMP", 13);
            add("Match VP", 11);
        }
    }
    return c;
}

std::string pairCell(int p) {
    std::string id = TRIMMED(PAIRID(p, 4));
    id.erase(0, id.find_first_not_of(' '));
    return p >= 1 ? id : std::string("-");
}

// The cells of one traveller row, in the order of travellerColumns().
std::vector<std::string> travellerRow(int board, int k, int i) {
    const float v = RESULTAT(board, i);
    std::string score = RESULTTEXT(v);
    score.erase(0, score.find_first_not_of(' '));
    std::vector<std::string> row = {pairCell(Movement(k, i, 1)), pairCell(Movement(k, i, 2)),
                                    score};
    const bool played = v != 0.0f;
    auto points = [&](float x, int d) {
        std::string s = played ? FWRITE(x, 8, d, true) : std::string();
        s.erase(0, s.find_first_not_of(' '));
        return s;
    };
    auto match = [&](const Array<float, 3>& a, int d) {
        return points(VALUEAT(a, k, i, 1), d) + " : " + points(VALUEAT(a, k, i, 2), d);
    };
    row.push_back(points(VALUEAT(BoardPoints, board, i, 1), 2));
    row.push_back(points(VALUEAT(BoardPoints, board, i, 2), 2));
    if (CalcType == CALC_MATCHPOINTS) {
        row.push_back(points(100.0f * VALUEAT(BoardPercent, board, i, 1), 0));
        row.push_back(points(100.0f * VALUEAT(BoardPercent, board, i, 2), 0));
        if (MovementType == MOVE_BERGER) row.push_back(match(MatchPoints, 1));
    } else if (MovementType == MOVE_BERGER) {
        row.push_back(match(MatchPoints, 1));
        row.push_back(match(MatchVP, 0));
    }
    return row;
}

// One row of the table at the next line: each cell right-aligned at its
// column's edge; a rule under the row when `ruled`.
void tableRow(const std::vector<TravellerColumn>& cols, const std::vector<std::string>& cells,
              bool ruled) {
    const int cw = std::max(1, textWidth("0"));
    const int y = Printer.y + Printer.lineHeight;
    for (std::size_t c = 0; c < cols.size() && c < cells.size(); ++c)
        drawText(Printer.x + cols[c].right * cw - textWidth(cells[c]), y, cells[c]);
    if (ruled) {
        const int below = y + Printer.lineHeight / 4;
        GwLine(Job->dc, Printer.x, below, Printer.x + cols.back().right * cw + cw, below);
    }
    PRINTPAGECHECK();
}

// The caption of a board in the header font at the next line, then the table.
void boardTable(int board) {
    const int k = SETOFBOARD(board);
    if (k == 0 || board > REPORTBOARDS()) return;
    const std::vector<TravellerColumn> cols = travellerColumns();
    std::vector<std::string> titles;
    for (const TravellerColumn& c : cols)
        titles.emplace_back(c.title);
    tableRow(cols, titles, true);
    for (int i = 1; i <= REPORTENTRIES(k); ++i)
        tableRow(cols, travellerRow(board, k, i), false);
}

std::string boardCaption(int board) {
    return tournamentName() + " - Board " + trimmed(IWRITE(board, 3));
}

} // namespace

void PRINTBOARD(GwPrintJob& job, int board) {
    Job = &job;
    const int baseline = PRINTTITLE(boardCaption(board));
    Printer.y = baseline + pointsX(18) - Printer.lineHeight;
    boardTable(board);
}

// Every board of the tournament: the first under the print header, the others
// each under its caption in the header font, a new page when the caption and
// the table's head would not fit.
void PRINTBOARDS(GwPrintJob& job) {
    Job = &job;
    bool first = true;
    for (int b = 1; b <= REPORTBOARDS(); ++b) {
        if (SETOFBOARD(b) == 0) continue;
        if (first) {
            PRINTBOARD(job, b);
            first = false;
            continue;
        }
        if (Printer.y + 4 * Printer.lineHeight > Printer.pageHeight - Printer.margins[3])
            freshPage();
        Printer.y += Printer.lineHeight;
        selectFont(PrintSetup.headerFont, false);
        drawText(Printer.x, Printer.y + Printer.lineHeight, boardCaption(b));
        selectFixed();
        Printer.y += Printer.lineHeight + pointsY(6);
        boardTable(b);
    }
}

void PRINTFREQUENCYLISTS(GwPrintJob& job) {
    Job = &job;
    // The lists draw their own caption where the title would stand.
    Printer.y = PRINTHEADER() - Printer.lineHeight;
    PRINTFREQUENCIES(OUTPUT_PRINTER);
}

bool PRINTPERSONALCARDS(GwPrintJob& job, int pair,
                        const std::function<bool(int done, int total)>& progress) {
    Job = &job;
    const int pairs = REPORTPAIRS();
    const int from = pair == 0 ? 1 : pair, to = pair == 0 ? pairs : pair;
    if (from < 1 || to > pairs) return true;
    for (int p = from; p <= to; ++p) {
        if (progress && !progress(p - from, to - from + 1)) return false;
        if (p > from) freshPage();
        Printer.y = PRINTTITLE(tournamentName()) + pointsX(18);
        PRINTPERSONAL(OUTPUT_PRINTER, p);
    }
    if (progress) progress(to - from + 1, to - from + 1);
    return true;
}

std::string PRINTDOCNAME(int viewMode) {
    switch (viewMode) {
    case 2: return DocBoard;
    case 3: return DocLists;
    case 4: return DocPersonal;
    default: return DocTournament;
    }
}

bool PRINTVIEW(GwPrintJob& job, int viewMode, int board, int pair,
               const std::function<bool(int done, int total)>& progress) {
    switch (viewMode) {
    case 2:
        if (board >= 1)
            PRINTBOARD(job, board);
        else
            PRINTBOARDS(job);
        return true;
    case 3:
        PRINTFREQUENCYLISTS(job);
        return true;
    case 4:
        return PRINTPERSONALCARDS(job, pair, progress);
    default:
        PRINTPLACEMENT(job);
        return true;
    }
}

// The document goes to a temporary file first and then, whole, to `file`
// through the safe writer: a failed print never leaves a stump in its place.
bool PRINTVIEWTOPDF(int viewMode, int board, int pair, const std::string& file,
                    std::string& reason) {
    std::error_code ec;
    const std::filesystem::path temp =
        std::filesystem::temp_directory_path(ec) /
        ("orla-print-" + std::to_string(reinterpret_cast<std::uintptr_t>(&ec)) + ".pdf");
    GwPrintJob job;
    if (ec || !STARTPRINT(job, PRINTDOCNAME(viewMode), temp.string())) {
        reason = "the printing could not be started";
        return false;
    }
    PRINTVIEW(job, viewMode, board, pair, {});
    const bool printed = ENDPRINT(job);
    std::string bytes;
    if (printed) {
        std::ifstream in(temp, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::filesystem::remove(temp, ec);
    if (!printed || bytes.empty()) {
        reason = "the document could not be printed";
        return false;
    }
    return SAFEWRITEFILE(file, bytes.data(), bytes.size(), reason);
}
