// Names kept in Windows-1250 and shown in UTF-8.
#include "core/cp1250.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1250Test, EveryDefinedByteComesBackFromItsCharacter) {
    int undefined = 0;
    for (int b = 0; b < 256; ++b) {
        const char32_t c = CP1250TOUNICODE(static_cast<unsigned char>(b));
        if (c == 0xFFFD) {
            ++undefined;
            continue;
        }
        unsigned char back = 0;
        ASSERT_TRUE(UNICODETOCP1250(c, back)) << b;
        EXPECT_EQ(back, b);
        const std::string one(1, static_cast<char>(b));
        std::string bytes;
        ASSERT_TRUE(UTF8TOCP1250(CP1250TOUTF8(one), bytes)) << b;
        EXPECT_EQ(bytes, one);
    }
    EXPECT_EQ(undefined, 5); // 0x81, 0x83, 0x88, 0x90, 0x98
    EXPECT_EQ(CP1250TOUNICODE(0x98), U'\xFFFD');
}

TEST(Cp1250Test, SerbianAndCentralEuropeanNames) {
    const struct {
        const char* utf8;
        const char* cp1250;
    } rows[] = {
        {"Đorđević", "\xD0or\xF0"
                     "evi\xE6"},
        {"Čačak", "\xC8"
                  "a\xE8"
                  "ak"},
        {"Šešelj", "\x8A"
                   "e\x9A"
                   "elj"},
        {"Žužić", "\x8E"
                  "u\x9E"
                  "i\xE6"},
        {"Ćirić", "\xC6"
                  "iri\xE6"},
        {"Łódź Ťažký Őrség €5", "\xA3\xF3"
                                "d\x9F \x8D"
                                "a\x9Ek\xFD \xD5"
                                "rs\xE9g \x80"
                                "5"},
        {"plain ASCII 1-2", "plain ASCII 1-2"},
    };
    for (const auto& row : rows) {
        std::string bytes;
        ASSERT_TRUE(UTF8TOCP1250(row.utf8, bytes)) << row.utf8;
        EXPECT_EQ(bytes, row.cp1250) << row.utf8;
        EXPECT_EQ(CP1250TOUTF8(bytes), row.utf8);
    }
}

TEST(Cp1250Test, CharactersItCannotHoldAreRefused) {
    const struct {
        const char* utf8;
        char32_t bad;
        const char* before;
    } rows[] = {
        {"Ivan Дмитрий", U'\x0414', "Ivan "},       // Cyrillic
        {"Søren", U'\x00F8', "S"},                  // not in Windows-1250
        {"ok \xF0\x9F\x83\x8F", U'\x1F0CF', "ok "}, // outside the basic plane
        {"a\xC3", U'\xFFFD', "a"},                  // cut-off sequence
        {"\xC0\x80", U'\xFFFD', ""},                // overlong NUL
        {"\xED\xA0\x80", U'\xFFFD', ""},            // surrogate
        {"x\x80y", U'\xFFFD', "x"},                 // stray continuation byte
    };
    for (const auto& row : rows) {
        std::string bytes;
        char32_t bad = 0;
        EXPECT_FALSE(UTF8TOCP1250(row.utf8, bytes, &bad)) << row.utf8;
        EXPECT_EQ(bad, row.bad) << row.utf8;
        EXPECT_EQ(bytes, row.before);
    }
    EXPECT_TRUE(CP1250CANHOLD(U'đ'));
    EXPECT_FALSE(CP1250CANHOLD(U'\x0081')); // the undefined bytes have no character
    EXPECT_FALSE(CP1250CANHOLD(U'\xFFFD'));
}

} // namespace
