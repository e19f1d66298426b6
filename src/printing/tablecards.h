#pragma once
// Table cards: one page per table for scoring at the tables, with the table's
// number in large print, a QR code of the table's address, the address in plain
// text and a line telling the players what to do. Printed through the shared
// printing layer (a printer, or a PDF file where there is none).

#include "winsupport/gwgdi.h"

#include <string>
#include <vector>

// A table and the address of its page (with its key).
struct TableCard {
    int table = 0;
    std::string address;
};

// A QR code: `size` x `size` modules, row by row, true for a dark module; no
// quiet zone. Size 0 when the text cannot be encoded.
struct QrCode {
    int size = 0;
    std::vector<bool> dark;
    bool at(int row, int column) const {
        return dark[static_cast<std::size_t>(row * size + column)];
    }
};

// The QR code of `text` (8-bit bytes, error correction level M).
QrCode QRENCODE(const std::string& text);

// The document name of the table cards' print job.
inline constexpr const char* DocTableCards = "ORLA table cards";

// Draws one page per card on a job that STARTPRINT began: the print header, the
// tournament's name `title`, "Table n" in large print, the QR code of the address
// about 7 cm wide, the address and the instructions, in Serbian for language
// "sr" and in English otherwise. False when an address cannot be encoded.
bool PRINTTABLECARDS(GwPrintJob& job, const std::string& titleUtf8,
                     const std::vector<TableCard>& cards, const std::string& language);
