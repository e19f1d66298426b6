// The three outputs of every report: the export file (text or HTML) and the
// printer page, one line at a time.
#include "reports/reports.h"

#include "core/cp1250.h"

#include <array>
#include <cstdint>

std::string ExportUnit;
PrintContext Printer{};
int PersonalPair = 0;

void RESETREPORTS() {
    ExportUnit.clear();
    Printer = PrintContext{};
    PersonalPair = 0;
}

namespace {

// The characters of windows-1252 in 0x80..0x9F, by byte; 0 where the byte has none.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// True when windows-1252 holds `c` (not an ASCII character); `b` gets its byte.
bool toCp1252(char32_t c, unsigned char& b) {
    if (c >= 0xA0 && c <= 0xFF) {
        b = static_cast<unsigned char>(c);
        return true;
    }
    for (std::size_t i = 0; i < Cp1252High.size(); ++i)
        if (Cp1252High[i] != 0 && Cp1252High[i] == c) {
            b = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    return false;
}

void appendHtmlChar(std::string& out, unsigned char byte) {
    const char32_t c = CP1250TOUNICODE(byte);
    switch (c) {
    case U'<': out += "&lt;"; return;
    case U'>': out += "&gt;"; return;
    case U'&': out += "&amp;"; return;
    case U'"': out += "&quot;"; return;
    default: break;
    }
    if (c >= 0x20 && c < 0x7F) {
        out += static_cast<char>(c);
        return;
    }
    // Control characters have no place in a page: the replacement character.
    if (c < 0x20 || c == 0x7F) {
        out += "&#65533;";
        return;
    }
    unsigned char b = 0;
    if (toCp1252(c, b)) {
        out += static_cast<char>(b);
        return;
    }
    out += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ";";
}

// The line up to its last non-blank character.
std::string trimmed(const std::string& line) {
    const auto end = line.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : line.substr(0, end + 1);
}

} // namespace

std::string HTMLTEXT(const std::string& cp1250) {
    std::string out;
    out.reserve(cp1250.size() + 16);
    for (const char ch : cp1250)
        appendHtmlChar(out, static_cast<unsigned char>(ch));
    return out;
}

void EXPORTLINE(const std::string& bytes) {
    ExportUnit += bytes;
    ExportUnit += '\n';
}

// Appends one paragraph to ExportUnit; reads nothing else.
void PARSEANDWRITELINE(const std::string& line, bool normalSpacing) {
    std::string& out = ExportUnit;
    out += "<p class=\"MsoNormal\" align=\"left\"";
    if (!normalSpacing) out += " style=\"margin-top: 0; margin-bottom: 0\"";
    out += "><font size=\"2\" face=\"Courier New\">";
    for (const char ch : trimmed(line)) {
        if (ch == ' ')
            out += "&nbsp;";
        else
            appendHtmlChar(out, static_cast<unsigned char>(ch));
    }
    out += "</font></p>\n";
}

// Sends one line to the chosen output; the printer mode moves Printer.y down
// one line first. A printer without its drawing routine draws nothing.
void LINEOUT(int mode, const std::string& line, bool normalSpacing) {
    switch (mode) {
    case OUTPUT_HTML:
        PARSEANDWRITELINE(line, normalSpacing);
        break;
    case OUTPUT_TEXT:
        EXPORTLINE(CP1250TOUTF8(trimmed(line)));
        break;
    case OUTPUT_PRINTER:
        Printer.y += Printer.lineHeight;
        if (Printer.drawText) Printer.drawText(Printer.x, Printer.y, CP1250TOUTF8(trimmed(line)));
        break;
    default:
        break;
    }
}

// A new page once the baseline has passed the bottom margin, else one line down.
void PRINTPAGECHECK() {
    if (Printer.y > Printer.pageHeight - Printer.margins[3]) {
        if (Printer.newPage) Printer.newPage();
        Printer.y = Printer.margins[0];
    } else {
        Printer.y += Printer.lineHeight;
    }
}

// One line of a report body: exported as LINEOUT does; on the printer drawn one
// line below the baseline, then the page check.
void DATALINE(int mode, const std::string& line, bool normalSpacing) {
    if (mode != OUTPUT_PRINTER) {
        LINEOUT(mode, line, normalSpacing);
        return;
    }
    if (Printer.drawText)
        Printer.drawText(Printer.x, Printer.y + Printer.lineHeight, CP1250TOUTF8(trimmed(line)));
    PRINTPAGECHECK();
}
