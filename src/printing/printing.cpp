// The reports on a printer page or in a PDF file: the page set-up, the print
// header and title, and the PrintContext routines that draw the report lines.
#include "printing/printing.h"

#include "core/cp1250.h"
#include "core/safefile.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "hands/hands.h"
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

std::string PRINTPDFNAME() {
    const std::string name = DEFAULTEXPORTNAME() + ".pdf";
    if (!HasFileName || TournamentFile.empty()) return name;
    const std::u8string path =
        (UTF8PATH(TournamentFile).parent_path() / UTF8PATH(name)).u8string();
    return std::string(path.begin(), path.end());
}

bool STARTPRINT(GwPrintJob& job, const std::string& docName, const std::string& pdfFile,
                QWidget* owner) {
    const bool begun = pdfFile.empty() ? GwPrintBegin(job, owner, docName, PRINTPDFNAME())
                                       : GwPdfBegin(job, pdfFile, docName);
    if (!begun) return false;
    SETUPPRINTER(job);
    return true;
}

bool PDFWHOLE(const std::string& bytes) {
    if (bytes.rfind("%PDF-", 0) != 0) return false;
    std::size_t end = bytes.size();
    while (end > 0 && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r' || bytes[end - 1] == ' '))
        --end;
    if (end < 5 || bytes.compare(end - 5, 5, "%%EOF") != 0) return false;
    const std::size_t start = bytes.rfind("startxref", end);
    if (start == std::string::npos) return false;
    std::size_t i = start + 9;
    while (i < end && (bytes[i] == '\n' || bytes[i] == '\r' || bytes[i] == ' '))
        ++i;
    std::size_t offset = 0;
    const std::size_t digits = i;
    for (; i < end && bytes[i] >= '0' && bytes[i] <= '9' && offset < bytes.size(); ++i)
        offset = offset * 10 + static_cast<std::size_t>(bytes[i] - '0');
    if (i == digits || offset >= start) return false;
    // A cross-reference table, or a cross-reference stream's object ("n 0 obj").
    return bytes.compare(offset, 4, "xref") == 0 || (bytes[offset] >= '0' && bytes[offset] <= '9');
}

bool ENDPRINT(GwPrintJob& job, std::string* reason) {
    bool ok = GwPrintEnd(job);
    if (Job == &job) Job = nullptr;
    Printer.drawText = nullptr;
    Printer.textWidth = nullptr;
    Printer.newPage = nullptr;
    if (job.pdfTemp.empty()) {
        if (!ok && reason) *reason = "the document could not be printed";
        return ok;
    }
    // The PDF went to a temporary file; only a whole document replaces the file.
    std::string bytes;
    {
        std::ifstream in(UTF8PATH(job.pdfTemp), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) ok = false;
    }
    std::error_code ec;
    std::filesystem::remove(UTF8PATH(job.pdfTemp), ec);
    job.pdfTemp.clear();
    std::string why;
    if (!ok || !PDFWHOLE(bytes)) {
        why = "the document could not be written whole (is the temporary folder full?); "
              "nothing was replaced";
        ok = false;
    } else if (job.pdfFile.empty()) {
        why = "the document was not kept";
        ok = false;
    } else {
        ok = SAFEWRITEFILE(job.pdfFile, bytes.data(), bytes.size(), why);
    }
    if (!ok && reason) *reason = why;
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

// ---- The hands of a board ------------------------------------------------------

// Suits 1..4 (clubs, diamonds, hearts, spades) as printed, and their colours.
const char* const SuitSymbols[5] = {"", "\u2663", "\u2666", "\u2665", "\u2660"};
constexpr int Black = GW_RGB(0, 0, 0), Red = GW_RGB(204, 0, 0);
int suitColour(int suit) {
    return suit == 2 || suit == 3 ? Red : Black;
}

// True when the tournament keeps deals and board b has a card dealt.
bool hasDeal(int board) {
    if (!ISTRUE(HasHands) || !HandCards.contains(52, board)) return false;
    for (int k = 1; k <= 52; ++k)
        if (HandCards(k, board) != 0) return true;
    return false;
}

// The double-dummy result of board b: known only for a complete deal analysed
// before.
bool knownAnalysis(int board, DoubleDummy& dd) {
    if (!DEALCOMPLETE(board)) return false;
    DdJob job = DDJOBOFBOARD(board);
    if (!DDCACHED(job) || !job.result.valid) return false;
    dd = job.result;
    return true;
}

// The distance between the rows of a diagram: closer than the report lines.
int handRowStep() {
    return std::max(1, typeSize(PrintSetup.fixedFont) * 7 / 5);
}

// The ranks of a suit as printed, "-" for a void.
std::string suitRanks(int board, int hand, int suit) {
    const std::string ranks = trimmed(GETHANDSTRING(board, hand, suit));
    return ranks.empty() ? std::string("-") : ranks;
}

// The widest line of a hand in characters: the symbol, a blank and the ranks.
int handWidth(int board, int hand) {
    std::size_t w = 0;
    for (int suit = 1; suit <= 4; ++suit)
        w = std::max(w, suitRanks(board, hand, suit).size());
    return 2 + static_cast<int>(w);
}

// One line of a hand at baseline y: the suit's symbol in its colour, the ranks
// two characters further on.
void suitLine(int x, int y, int cw, int board, int hand, int suit) {
    GwSetTextColor(Job->dc, suitColour(suit));
    drawText(x, y, SuitSymbols[suit]);
    GwSetTextColor(Job->dc, Black);
    drawText(x + 2 * cw, y, suitRanks(board, hand, suit));
}

// Text right-aligned at x.
void rightText(int x, int y, const std::string& text) {
    drawText(x - textWidth(text), y, text);
}

// Rows of the hands block: twelve of the diagram, then a blank one and the
// double-dummy table (a head, four declarers, the par) when it is known.
constexpr int DiagramRows = 12, AnalysisRows = 7;

// The height of board b's hands block, 0 when it prints none.
int handsHeight(int board) {
    if (!hasDeal(board)) return 0;
    DoubleDummy dd;
    const int rows = DiagramRows + (knownAnalysis(board, dd) ? AnalysisRows : 0);
    return rows * handRowStep() + Printer.lineHeight;
}

// The double-dummy table with its first row at baseline `top`: the tricks of each
// declarer (N, S, E, W) in no trump and each suit from spades down, then the par.
void analysisTable(int x, int top, int cw, int step, const DoubleDummy& dd) {
    static const int declarers[4] = {HAND_NORTH, HAND_SOUTH, HAND_EAST, HAND_WEST};
    static const char* const seats[5] = {"", "N", "W", "E", "S"};
    static const int strains[5] = {STRAIN_NT, 4, 3, 2, 1};
    auto right = [&](int c) { return x + (6 + 4 * c) * cw; };
    rightText(right(0), top, "NT");
    for (int c = 1; c < 5; ++c) {
        GwSetTextColor(Job->dc, suitColour(strains[c]));
        rightText(right(c), top, SuitSymbols[strains[c]]);
    }
    GwSetTextColor(Job->dc, Black);
    GwLine(Job->dc, x, top + step / 3, right(4) + cw, top + step / 3);
    for (int r = 0; r < 4; ++r) {
        const int y = top + (r + 1) * step;
        drawText(x, y, seats[declarers[r]]);
        for (int c = 0; c < 5; ++c)
            rightText(right(c), y, std::to_string(dd.tricks[declarers[r]][strains[c]]));
    }
    drawText(x, top + 5 * step, PARTEXT(dd));
}

// The hands of board b below Printer.y, which is left under them: the diagram
// with the dealer and the vulnerability in its corner, a box with the seats
// between West and East, and the double-dummy table under it when known. A
// board without a card dealt prints nothing.
void printHands(int board) {
    if (!Job || !hasDeal(board)) return;
    static const char* const zones[4] = {"None", "NS", "EW", "All"};
    static const char* const dealers = "NESW";
    const DdJob deal = DDJOBOFBOARD(board);
    const int cw = std::max(1, textWidth("0"));
    const int step = handRowStep();
    const int x = Printer.x;
    const int top = Printer.y + Printer.lineHeight;
    auto row = [&](int r) { return top + (r - 1) * step; };
    // North and South stand right of West's longest line, East right of theirs.
    const int colN = std::max(11, handWidth(board, HAND_WEST) + 2);
    const int colE =
        colN + std::max({13, handWidth(board, HAND_NORTH) + 2, handWidth(board, HAND_SOUTH) + 2});
    drawText(x, row(1), std::string("Dealer: ") + dealers[deal.dealer & 3]);
    drawText(x, row(2), std::string("Vul: ") + zones[deal.zone & 3]);
    for (int i = 1; i <= 4; ++i) {
        const int suit = 5 - i; // spades on the first row of a hand
        suitLine(x + colN * cw, row(i), cw, board, HAND_NORTH, suit);
        suitLine(x, row(4 + i), cw, board, HAND_WEST, suit);
        suitLine(x + colE * cw, row(4 + i), cw, board, HAND_EAST, suit);
        suitLine(x + colN * cw, row(8 + i), cw, board, HAND_SOUTH, suit);
    }
    const int left = x + colN * cw, right = x + (colE - 2) * cw;
    const int boxTop = row(5) - step * 3 / 4, boxBottom = row(8) + step / 4;
    GwSetBrush(Job->dc, GW_BS_NULL, Black);
    GwRectangle(Job->dc, left, boxTop, right, boxBottom);
    const int middle = (row(6) + row(7)) / 2 + step / 4;
    const int centre = (left + right) / 2 - textWidth("N") / 2;
    drawText(centre, row(5), "N");
    drawText(centre, row(8), "S");
    drawText(left + cw / 2, middle, "W");
    drawText(right - cw / 2 - textWidth("E"), middle, "E");
    int last = row(DiagramRows);
    DoubleDummy dd;
    if (knownAnalysis(board, dd)) {
        analysisTable(x, row(DiagramRows + 2), cw, step, dd);
        last = row(DiagramRows + AnalysisRows);
    }
    Printer.y = last + step * 3 / 2 - Printer.lineHeight;
}

} // namespace

void PRINTBOARD(GwPrintJob& job, int board) {
    Job = &job;
    const int baseline = PRINTTITLE(boardCaption(board));
    Printer.y = baseline + pointsX(18) - Printer.lineHeight;
    printHands(board);
    boardTable(board);
}

std::vector<DdJob> PRINTANALYSISJOBS(int viewMode, int board) {
    std::vector<DdJob> jobs;
    if (viewMode != 2 || !ISTRUE(HasHands)) return jobs;
    const int from = board >= 1 ? board : 1, to = board >= 1 ? board : REPORTBOARDS();
    for (int b = from; b <= to; ++b) {
        if (SETOFBOARD(b) == 0 || !DEALCOMPLETE(b)) continue;
        DdJob job = DDJOBOFBOARD(b);
        if (!DDCACHED(job)) jobs.push_back(job);
    }
    return jobs;
}

// Every board of the tournament: the first under the print header, the others
// each under its caption in the header font, a new page when the caption, the
// board's hands and the table's head would not fit.
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
        if (Printer.y + 4 * Printer.lineHeight + handsHeight(b) >
            Printer.pageHeight - Printer.margins[3])
            freshPage();
        Printer.y += Printer.lineHeight;
        selectFont(PrintSetup.headerFont, false);
        drawText(Printer.x, Printer.y + Printer.lineHeight, boardCaption(b));
        selectFixed();
        Printer.y += Printer.lineHeight + pointsY(6);
        printHands(b);
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
// through the safe writer (ENDPRINT): a failed print never leaves a stump in its
// place.
bool PRINTVIEWTOPDF(int viewMode, int board, int pair, const std::string& file,
                    std::string& reason) {
    GwPrintJob job;
    if (!STARTPRINT(job, PRINTDOCNAME(viewMode), file)) {
        reason = "the printing could not be started";
        return false;
    }
    PRINTVIEW(job, viewMode, board, pair, {});
    return ENDPRINT(job, &reason);
}
