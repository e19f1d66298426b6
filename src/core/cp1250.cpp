#include "core/cp1250.h"

#include <cstdint>

namespace {

constexpr char32_t NoChar = 0xFFFD;

// Bytes 0x80..0xFF; 0 marks a byte with no character. Bytes below 0x80 are ASCII.
constexpr char16_t High[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, // 80
    0,      0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

std::string utf8Of(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

// The character starting at s[i]; advances i. Malformed sequences (stray or missing
// continuation bytes, overlong forms, surrogates, beyond U+10FFFF) give U+FFFD.
char32_t nextUtf8(const std::string& s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i++);
    if (b0 < 0x80) return b0;
    int more;
    char32_t c;
    char32_t least;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        more = 1, c = b0 & 0x1F, least = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        more = 2, c = b0 & 0x0F, least = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        more = 3, c = b0 & 0x07, least = 0x10000;
    } else {
        return NoChar;
    }
    for (int k = 0; k < more; ++k) {
        if (i >= s.size() || (byte(i) & 0xC0) != 0x80) return NoChar;
        c = (c << 6) | (byte(i++) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return NoChar;
    return c;
}

} // namespace

std::string UTF8OF(char32_t c) {
    return utf8Of(c);
}

char32_t CP1250TOUNICODE(unsigned char b) {
    if (b < 0x80) return b;
    const char16_t c = High[b - 0x80];
    return c ? c : NoChar;
}

bool UNICODETOCP1250(char32_t c, unsigned char& b) {
    if (c < 0x80) {
        b = static_cast<unsigned char>(c);
        return true;
    }
    for (int k = 0; k < 128; ++k) {
        if (High[k] != 0 && High[k] == c) {
            b = static_cast<unsigned char>(0x80 + k);
            return true;
        }
    }
    return false;
}

std::string CP1250TOUTF8(const std::string& bytes) {
    std::string s;
    s.reserve(bytes.size() + bytes.size() / 2);
    for (char ch : bytes)
        s += utf8Of(CP1250TOUNICODE(static_cast<unsigned char>(ch)));
    return s;
}

bool UTF8TOCP1250(const std::string& utf8, std::string& out, char32_t* bad) {
    out.clear();
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t c = nextUtf8(utf8, i);
        unsigned char b;
        if (c == NoChar || !UNICODETOCP1250(c, b)) {
            if (bad) *bad = c;
            return false;
        }
        out += static_cast<char>(b);
    }
    return true;
}

bool ISUTF8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        // A replacement character written out as such is text; any other U+FFFD
        // comes from a malformed sequence.
        if (nextUtf8(text, i) == NoChar && text.compare(start, 3, "\xEF\xBF\xBD") != 0)
            return false;
    }
    return true;
}
