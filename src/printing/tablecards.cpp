// Table cards: the table's number, the QR code of its address, the address and
// the instructions, one page per table.
#include "printing/tablecards.h"

#include "printing/printing.h"
#include "reports/reports.h"

#include <qrencode.h>

#include <algorithm>
#include <cstdint>
#include <memory>

QrCode QRENCODE(const std::string& text) {
    QrCode code;
    if (text.empty()) return code;
    std::unique_ptr<QRcode, void (*)(QRcode*)> qr(
        QRcode_encodeData(static_cast<int>(text.size()),
                          reinterpret_cast<const unsigned char*>(text.data()), 0, QR_ECLEVEL_M),
        QRcode_free);
    if (!qr) return code;
    code.size = qr->width;
    code.dark.resize(static_cast<std::size_t>(qr->width) * static_cast<std::size_t>(qr->width));
    for (std::size_t i = 0; i < code.dark.size(); ++i) code.dark[i] = (qr->data[i] & 1) != 0;
    return code;
}

namespace {

struct CardWords {
    const char* table;
    const char* scan;
    const char* type;
    const char* accept;
};
const CardWords English = {"Table", "Scan the code with a phone on the club's Wi-Fi,",
                           "or type the address above into the phone's browser.",
                           "Enter each board; an EW player confirms it with \"Accept\"."};
const CardWords Serbian = {"Sto", "Skenirajte kod telefonom na mreži kluba",
                           "ili upišite gornju adresu u pregledač telefona.",
                           "Unesite svaku ploču; igrač IZ je potvrđuje sa \"Prihvati\"."};

// n points (or millimetres) in device units of `dpi`.
int points(double n, int dpi) { return static_cast<int>(n * dpi / 72.0); }
int millimetres(double n, int dpi) { return static_cast<int>(n * dpi / 25.4); }

// Text centred across the page with its baseline at y.
void centred(GwPrintJob& job, const std::string& text, int y) {
    GwTextOut(job.dc, job.pageWidth / 2, y, text, GW_TA_CENTER | GW_TA_BASELINE);
}

// Selects a sans (or fixed-pitch) font of `size` points, shrunk until `text`
// fits between the margins.
void fittingFont(GwPrintJob& job, const std::string& text, double size, int weight, bool fixed) {
    const int room = job.pageWidth - Printer.margins[1] - Printer.margins[2];
    for (;;) {
        GwSetFont(job.dc, fixed ? "Courier" : "Arial", -points(size, job.dpiY), weight, false,
                  false, fixed);
        if (size <= 5 || GwGetTextExtent(job.dc, text).cx <= room) return;
        size -= 0.5;
    }
}

// The QR code, `width` device units wide with its quiet zone of four modules,
// its top left corner at (left, top). Every module a whole number of dots, so
// that no module is drawn narrower than its neighbours.
int drawCode(GwPrintJob& job, const QrCode& code, int left, int top, int width) {
    const int modules = code.size + 8;
    const int dot = std::max(1, width / modules);
    const int x0 = left + 4 * dot, y0 = top + 4 * dot;
    GwSetPen(job.dc, GW_PS_NULL, 0, GW_RGB(0, 0, 0));
    GwSetBrush(job.dc, GW_BS_SOLID, GW_RGB(0, 0, 0));
    for (int r = 0; r < code.size; ++r) {
        // Runs of dark modules as one rectangle each.
        for (int c = 0; c < code.size;) {
            if (!code.at(r, c)) {
                ++c;
                continue;
            }
            int end = c;
            while (end < code.size && code.at(r, end)) ++end;
            GwRectangle(job.dc, x0 + c * dot, y0 + r * dot, x0 + end * dot, y0 + (r + 1) * dot);
            c = end;
        }
    }
    GwSetBrush(job.dc, GW_BS_NULL, 0);
    GwSetPen(job.dc, GW_PS_SOLID, 0, GW_RGB(0, 0, 0));
    return modules * dot;
}

} // namespace

bool PRINTTABLECARDS(GwPrintJob& job, const std::string& titleUtf8,
                     const std::vector<TableCard>& cards, const std::string& language) {
    const CardWords& words = language == "sr" ? Serbian : English;
    const int dpi = job.dpiY;
    bool first = true;
    for (const TableCard& card : cards) {
        const QrCode code = QRENCODE(card.address);
        if (code.size == 0) return false;
        if (!first) Printer.newPage();
        first = false;
        int y = PRINTHEADER();
        GwSetTextColor(job.dc, GW_RGB(0, 0, 0));
        if (!titleUtf8.empty()) {
            fittingFont(job, titleUtf8, 14, 400, false);
            y += points(14, dpi);
            centred(job, titleUtf8, y);
        }
        const std::string table = words.table;
        fittingFont(job, table, 40, 700, false);
        y += points(40, dpi) + millimetres(8, dpi);
        centred(job, table, y);
        const std::string number = std::to_string(card.table);
        fittingFont(job, number, 150, 700, false);
        y += points(150, dpi) * 3 / 4 + millimetres(6, dpi);
        centred(job, number, y);
        y += millimetres(10, dpi);
        const int width = millimetres(70, job.dpiX);
        y += drawCode(job, code, job.pageWidth / 2 - width / 2, y, width);
        fittingFont(job, card.address, 11, 400, true);
        y += points(11, dpi) + millimetres(4, dpi);
        centred(job, card.address, y);
        y += millimetres(6, dpi);
        for (const char* line : {words.scan, words.type, words.accept}) {
            fittingFont(job, line, 13, 400, false);
            y += points(13, dpi) * 3 / 2;
            centred(job, line, y);
        }
    }
    return true;
}
