#pragma once
// Windows-1250, the single-byte character set in which the tournament file and the
// players register keep names, and UTF-8, in which the program shows and exports
// them. The conversion is a fixed table; no code page of the platform is asked.

#include <string>

// The character of byte `b`. The five bytes that Windows-1250 leaves undefined
// (0x81, 0x83, 0x88, 0x90, 0x98) give U+FFFD, the replacement character.
char32_t CP1250TOUNICODE(unsigned char b);

// True when Windows-1250 holds character `c`; `b` then receives its byte.
bool UNICODETOCP1250(char32_t c, unsigned char& b);

// True when the character can be kept in a name; the entry fields refuse the others.
inline bool CP1250CANHOLD(char32_t c) {
    unsigned char b;
    return UNICODETOCP1250(c, b);
}

// Windows-1250 bytes to UTF-8 text (undefined bytes become U+FFFD).
std::string CP1250TOUTF8(const std::string& bytes);

// UTF-8 text to Windows-1250 bytes. Returns false, with `out` holding the bytes
// converted before it and `bad` (when given) the character, at the first character
// that Windows-1250 cannot hold; malformed UTF-8 counts as U+FFFD.
bool UTF8TOCP1250(const std::string& utf8, std::string& out, char32_t* bad = nullptr);

// True when `text` is well-formed UTF-8 (no stray or missing continuation bytes,
// overlong forms, surrogates, or characters beyond U+10FFFF).
bool ISUTF8(const std::string& text);

// One character as UTF-8 text.
std::string UTF8OF(char32_t c);
