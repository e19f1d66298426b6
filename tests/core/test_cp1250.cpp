// Names kept in Windows-1250 and shown in UTF-8.
#include "core/cp1250.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1250Test, EveryDefinedByteComesBackFromItsCharacter) {
    int undefined = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        std::string back;
        if (CP1250TOUNICODE(static_cast<unsigned char>(b)) == U'\xFFFD')
            ++undefined;
        else if (!UTF8TOCP1250(CP1250TOUTF8(one), back) || back != one)
            ADD_FAILURE() << "byte " << b;
    }
    EXPECT_EQ(undefined, 5); // 0x81, 0x83, 0x88, 0x90, 0x98
}

TEST(Cp1250Test, NamesConvertBothWays) {
    const struct {
        const char *utf8, *cp1250;
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
    };
    for (const auto& row : rows) {
        std::string bytes;
        EXPECT_TRUE(UTF8TOCP1250(row.utf8, bytes));
        EXPECT_EQ(bytes, row.cp1250) << row.utf8;
        EXPECT_EQ(CP1250TOUTF8(bytes), row.utf8);
    }
}

TEST(Cp1250Test, CharactersItCannotHoldAreRefused) {
    const struct {
        const char* utf8;
        char32_t bad;
    } rows[] = {
        {"Ivan Дмитрий", U'\x0414'}, {"Søren", U'\x00F8'},    {"\xF0\x9F\x83\x8F", U'\x1F0CF'},
        {"a\xC3", U'\xFFFD'},        {"\xC0\x80", U'\xFFFD'}, {"\xED\xA0\x80", U'\xFFFD'},
    };
    for (const auto& row : rows) {
        std::string bytes;
        char32_t bad = 0;
        EXPECT_FALSE(UTF8TOCP1250(row.utf8, bytes, &bad)) << row.utf8;
        EXPECT_EQ(bad, row.bad) << row.utf8;
    }
    EXPECT_FALSE(CP1250CANHOLD(U'\x0081')); // the undefined bytes hold no character
}

} // namespace
