// Numbers into fixed-width text and the string helpers.
#include "core/strings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace {

using namespace std::string_literals;

TEST(Strings, IntegersAreCutToTheirWidth) {
    struct Row {
        int value, n;
        bool right;
        std::string expected;
    };
    const Row rows[] = {
        {7, 2, false, "7 "},
        {7, 2, true, " 7"},
        {-123, 2, false, "-1"},   // too long on the left: loses the rightmost digits
        {12345, 4, true, "2345"}, // too long on the right: loses the leftmost digits
        {-123, 3, true, "123"},   // ... and its sign
        {0, 3, false, "0  "},
        {-45, 5, true, "  -45"},
        {INT_MIN, 11, false, "-2147483648"},
        {INT_MAX, 3, true, "647"},
        {42, 24, true, std::string(22, ' ') + "42"}, // wider than the work field
        {42, 24, false, "42" + std::string(22, ' ')},
        {5, 0, false, ""},
        {5, -3, true, ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(IWRITE(r.value, r.n, r.right), r.expected) << r.value << " in " << r.n;
}

TEST(Strings, RealsFollowTheFixedPointEdit) {
    struct Row {
        float value;
        int n, d;
        bool right;
        std::string expected;
    };
    const Row rows[] = {
        {2.25f, 7, 2, false, "   2.25"},
        {2.25f, 7, 2, true, "   2.25"}, // the field is right-justified either way
        {56.789f, 6, 2, false, " 56.79"},
        // Exact halves go away from zero; the stored binary value decides the rest.
        {2.25f, 4, 1, false, " 2.3"},
        {-2.25f, 5, 1, false, " -2.3"},
        {0.125f, 5, 2, false, " 0.13"},
        {2.675f, 5, 2, false, " 2.67"}, // held as 2.67499995...
        {9.996f, 5, 2, false, "10.00"}, // the carry runs into the integer part
        // The leading zero goes first when room is short, then the field overflows.
        {0.5f, 4, 2, false, "0.50"},
        {0.5f, 3, 2, false, ".50"},
        {-0.5f, 5, 2, false, "-0.50"},
        {-0.5f, 4, 2, false, "-.50"},
        {-0.5f, 3, 2, false, "***"},
        {123456.0f, 5, 1, false, "*****"},
        {99.96f, 4, 1, false, "****"},
        // The sign follows the value, not its rounded text; a zero has none.
        {-0.001f, 5, 2, false, "-0.00"},
        {-0.0f, 5, 2, false, " 0.00"},
        {12.345678f, 12, 9, false, "12.345678329"},
        {1.5f, 24, 1, false, std::string(21, ' ') + "1.5"},
        {1e10f, 14, 2, false, "10000000000.00"},
        // No decimals: the nearest integer, halves away from zero, as IWRITE writes it.
        {2.5f, 4, 0, false, "3   "},
        {-2.5f, 4, 0, false, "-3  "},
        {-0.5f, 4, 0, true, "  -1"},
        {2.49f, 3, -1, true, "  2"},
        {1e20f, 5, 0, false, "*****"}, // beyond any integer
        {std::numeric_limits<float>::quiet_NaN(), 4, 2, false, "****"},
        {std::numeric_limits<float>::infinity(), 4, 0, false, "****"},
        {3.0f, 0, 2, false, ""},
        {0.5f, 3, 3, false, "***"}, // no room for the decimals
        {0.5f, 5, 200, false, "*****"},
        // More decimals than the work field holds: the exact value, then zeros.
        {0.1f, 200, 165, false,
         std::string(33, ' ') + "0.100000001490116119384765625" + std::string(138, '0')},
        {-0.5f, 400, 300, false, std::string(97, ' ') + "-0.5" + std::string(299, '0')},
    };
    for (const Row& r : rows)
        EXPECT_EQ(FWRITE(r.value, r.n, r.d, r.right), r.expected)
            << r.value << " as F" << r.n << "." << r.d;
}

TEST(Strings, CaseChangesTouchOnlyAsciiLetters) {
    // 0xE8 and 0xC8 are a small and a capital accented letter in Windows-1250.
    const std::string mixed = "Petrovi\xE8 M. [z@Z] 12\xC8";
    EXPECT_EQ(TOUPPER(mixed), "PETROVI\xE8 M. [Z@Z] 12\xC8");
    EXPECT_EQ(TOLOWER(mixed), "petrovi\xE8 m. [z@z] 12\xC8");
    EXPECT_EQ(TOUPPER(""), "");
}

TEST(Strings, CompareIsEqualityUpToTheShorterOrACommonNul) {
    struct Row {
        std::string a, b;
        bool equal;
    };
    const Row rows[] = {
        {"", "anything", true},  {"anything", "", true},
        {"ab", "ac", false},     {"abc", "abcdef", true},
        {"abcdef", "abc", true}, {"ab\0x"s, "ab\0y"s, true}, // stops at the common NUL
        {"ab\0"s, "abc", false}, {"Ab", "ab", false},
        {"same", "same", true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(STRCMP(r.a, r.b), r.equal) << r.a << " / " << r.b;
}

TEST(Strings, NulTerminatedTextBecomesBlankPadded) {
    EXPECT_EQ(C2F("abc\0xyz"s), "abc    ");
    EXPECT_EQ(C2F("\0ab"s), "   ");
    EXPECT_EQ(C2F("no nul"), "no nul");
    EXPECT_EQ(C2F(""), "");
}

} // namespace

namespace {

TEST(Strings, TypedNumbersAreWholeOrDecimalOrRefused) {
    struct Whole {
        std::string text;
        bool ok;
        int value;
    };
    const Whole wholes[] = {
        {"42", true, 42},     {"  -7 ", true, -7},   {"", false, 0},        {"   ", false, 0},
        {"4 2", false, 0},    {"+3", false, 0},      {"12a", false, 0},     {"\t5", false, 0},
        {"2147483647", true, INT_MAX},               {"2147483648", false, 0},
    };
    for (const Whole& w : wholes) {
        int v = -99;
        EXPECT_EQ(READWHOLE(w.text, v), w.ok) << '"' << w.text << '"';
        EXPECT_EQ(v, w.ok ? w.value : -99) << '"' << w.text << "\" leaves the value alone when refused";
    }
    struct Decimal {
        std::string text;
        bool ok;
        float value;
    };
    const Decimal decimals[] = {
        {"1.5", true, 1.5f}, {" 1,5 ", true, 1.5f}, {"-2", true, -2.0f}, {"9999", true, 9999.0f},
        {"10000", false, 0}, {"inf", false, 0},      {"nan", false, 0},   {"1.5x", false, 0},
        {"", false, 0},
    };
    for (const Decimal& d : decimals) {
        float v = -99;
        EXPECT_EQ(READDECIMAL(d.text, v), d.ok) << '"' << d.text << '"';
        if (d.ok) {
            EXPECT_EQ(v, d.value) << '"' << d.text << '"';
        }
    }
}

// Control characters of a file name or an argument are shown as their pictures,
// so an escape sequence never reaches a terminal raw; a name refuses them.
TEST(Strings, ControlCharactersAreShownAsPicturesAndFoundInNames) {
    struct Row {
        std::string text;
        std::string shown, shownKeepingLines;
        char32_t control; // 0xFFFF: none
    };
    const Row rows[] = {
        {"club.otr", "club.otr", "club.otr", 0xFFFF},
        {"Mirko\nMirkovi\u0107", "Mirko\u240AMirkovi\u0107", "Mirko\nMirkovi\u0107", U'\n'},
        {"a\x1b[31mb.otr", "a\u241B[31mb.otr", "a\u241B[31mb.otr", 0x1B},
        {"tab\there\r", "tab\u2409here\u240D", "tab\u2409here\u240D", U'\t'},
        {"del\x7f", "del\u2421", "del\u2421", 0x7F},
        {"nul"s + '\0' + "x", "nul\u2400x", "nul\u2400x", 0},
        {"c1\u009b2J", "c1\uFFFD2J", "c1\uFFFD2J", 0x9B},
        {"raw\x9b" "2J", "raw\uFFFD2J", "raw\uFFFD2J", 0xFFFF}, // not UTF-8: no character
        {"\u010Cedomir \u0160uki\u0107", "\u010Cedomir \u0160uki\u0107",
         "\u010Cedomir \u0160uki\u0107", 0xFFFF},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.shown);
        EXPECT_EQ(CONTROLPICTURES(r.text), r.shown);
        EXPECT_EQ(CONTROLPICTURES(r.text, true), r.shownKeepingLines);
        char32_t c = 0xFFFF;
        EXPECT_EQ(FINDCONTROL(r.text, c), r.control != 0xFFFF);
        EXPECT_EQ(c, r.control);
    }
    EXPECT_EQ(CONTROLNAMEMESSAGE("NAME", U'\n'),
              "NAME: the control character \u240A (U+000A) cannot be kept in a name.");
}

} // namespace
