// The club's rating list: every registered player in the order Edit Player
// List shows, with place, name, rating and last change, under "REJTING LISTA".
// One line builder for the HTML file, the text file and the printer.
#include "reports/reports.h"

#include "core/strings.h"
#include "players/players.h"
#include "reports/reportlines.h"

#include <algorithm>
#include <cstdio>

namespace {

// The register entry shown on row k.
int entryOfRow(int k) {
    const int i = RegOrder.contains(k) ? RegOrder(k) : k;
    return i >= 1 && i <= RegisteredCount ? i : k;
}

// `v` right-justified in `width`; a wider number is shown whole.
std::string wholeNumber(long v, int width) {
    const std::string s = std::to_string(v);
    return s.size() >= static_cast<std::size_t>(width)
               ? s
               : std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

} // namespace

std::string PLAYERLISTLINE(int k, int numbering) {
    std::string line(80, ' ');
    if (k < 1 || k > RegisteredCount) return line;
    const int i = entryOfRow(k);
    // Tied ratings share the place of the first of them when ordered by rating.
    const bool shared = numbering == 2 && k > 1 && RegRating(entryOfRow(k - 1)) == RegRating(i);
    if (!shared) PUTCOLUMN(line, 1, IWRITE(k, 3, true) + ".");
    std::string name(RegName(i).c, NameLength);
    std::replace(name.begin(), name.end(), '\0', ' ');
    PUTCOLUMN(line, 6, LJUST(TRIMMED(name), 31));
    PUTCOLUMN(line, 37, wholeNumber(RegRating(i), 4));
    char delta[24];
    std::snprintf(delta, sizeof delta, "%+4d", static_cast<int>(RegDelta(i)));
    const std::string d = delta;
    PUTCOLUMN(line, 45, "(" + d + ")");
    return line;
}

void OUTPUTPLAYERLIST(int mode, int numbering) {
    for (int k = 1; k <= RegisteredCount; ++k) {
        const std::string line = PLAYERLISTLINE(k, numbering);
        if (mode == OUTPUT_PRINTER)
            DATALINE(mode, line.substr(0, std::max<std::size_t>(50, TRIMMED(line).size())));
        else
            DATALINE(mode, line, false);
    }
}

std::string PLAYERLISTHTML(int numbering) {
    ExportUnit.clear();
    for (const char* l :
         {"<html>", "", "<head>",
          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">",
          "<meta name=\"GENERATOR\" content=\"Microsoft FrontPage 4.0\">",
          "<meta name=\"ProgId\" content=\"FrontPage.Editor.Document\">",
          "<title>ORLAVSKI BRIDZ KLUB - ORLA</title>", "<base target=\"_self\">", "</head>", "",
          "<body background=\"images/CDHS.gif\">",
          "<p class=\"MsoNormal\" align=\"center\"><font size=\"5\" face=\"Verdana\"><b>"
          "REJTING LISTA</b></font></p>",
          "", ""})
        EXPORTLINE(l);
    OUTPUTPLAYERLIST(OUTPUT_HTML, numbering);
    for (const char* l : {"", "</body>", "", "</html>", ""})
        EXPORTLINE(l);
    std::string page;
    page.swap(ExportUnit);
    return page;
}

std::string PLAYERLISTTEXT(int numbering) {
    ExportUnit.clear();
    EXPORTLINE("REJTING LISTA");
    EXPORTLINE("");
    OUTPUTPLAYERLIST(OUTPUT_TEXT, numbering);
    std::string text;
    text.swap(ExportUnit);
    return text;
}
