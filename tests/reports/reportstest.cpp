#include "reports/reportstest.h"

#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "reports/reports.h"
#include "scoring/compute.h"

#include <fstream>
#include <sstream>

std::string PrintedLines;

std::filesystem::path CASEDIR(const std::string& name) {
    return TESTDATA(name);
}

bool OPENCASE(const std::string& name, const std::string& view, int pair) {
    RESETREPORTS();
    INSTALLCOMPUTE();
    Compute.assignPairRating = nullptr;
    if (!OPENNTRFILE((CASEDIR(name) / "input.otr").string())) return false;
    ViewMode = view == "boards" ? 2 : view == "frequency" ? 3 : view == "personal" ? 4 : 1;
    SortByPlacement = view == "lines" ? 0 : 1;
    PersonalPair = pair;
    return true;
}

std::string READFILE(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

int codepoints(const std::string& utf8) {
    int n = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

} // namespace

void RECORDPRINTER() {
    PrintedLines.clear();
    Printer.drawText = [](int x, int y, const std::string& text) {
        PrintedLines += std::to_string(x) + " " + std::to_string(y) + " " + text + "\n";
    };
    Printer.textWidth = [](const std::string& text) { return 6 * codepoints(text); };
    Printer.newPage = [] { PrintedLines += "-- page --\n"; };
    // A small page at 72 dots per inch: a point is a dot.
    Printer.margins[0] = 100;
    Printer.margins[1] = 50;
    Printer.margins[2] = 50;
    Printer.margins[3] = 100;
    Printer.dpiY = 72;
    Printer.x = 50;
    Printer.y = 100;
    Printer.lineHeight = 18;
    Printer.pageWidth = 600;
    Printer.pageHeight = 500;
}
