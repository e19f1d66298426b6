// Numbers into fixed-width text, and the small string helpers.
#include "core/strings.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

std::string IWRITE(int value, int n, bool right) {
    if (n <= 0) return {};
    const std::string digits = std::to_string(value);
    const auto width = static_cast<std::size_t>(n);
    if (right) {
        // Right-justified: a number that does not fit loses its leftmost characters.
        if (digits.size() >= width) return digits.substr(digits.size() - width);
        return std::string(width - digits.size(), ' ') + digits;
    }
    // Left-justified: a number that does not fit loses its rightmost characters.
    if (digits.size() >= width) return digits.substr(0, width);
    return digits + std::string(width - digits.size(), ' ');
}

namespace {

// `value` in fixed-point with d decimals, rounded half away from zero on the
// exact binary value, without sign: the integer digits (at least "0") and the
// decimals.
void fixedDigits(double magnitude, int d, std::string& whole, std::string& fraction) {
    // A float's exact decimal expansion has at most 149 decimals and 39 integer
    // digits, so 160 decimals hold it exactly.
    char buf[256];
    std::snprintf(buf, sizeof buf, "%.160f", magnitude);
    std::string s(buf);
    const std::size_t point = s.find('.');
    whole = s.substr(0, point);
    const std::string rest = s.substr(point + 1);
    const auto wanted = static_cast<std::size_t>(d);
    // Decimals beyond the work field are zeros: it holds every decimal a float has.
    if (wanted >= rest.size()) {
        fraction = rest + std::string(wanted - rest.size(), '0');
        return;
    }
    fraction = rest.substr(0, wanted);
    // Round up when the first dropped decimal is 5 or more (a half goes away from zero).
    if (rest[wanted] >= '5') {
        std::string all = whole + fraction;
        int i = static_cast<int>(all.size()) - 1;
        while (i >= 0 && all[static_cast<std::size_t>(i)] == '9')
            all[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0)
            ++all[static_cast<std::size_t>(i)];
        else
            all.insert(all.begin(), '1');
        whole = all.substr(0, all.size() - fraction.size());
        fraction = all.substr(all.size() - fraction.size());
    }
}

} // namespace

std::string FWRITE(float value, int n, int d, bool right) {
    if (n <= 0) return {};
    const auto width = static_cast<std::size_t>(n);
    const std::string stars(width, '*');
    if (!std::isfinite(value)) return stars;

    if (d <= 0) {
        const double rounded = std::round(static_cast<double>(value)); // halves away from zero
        if (rounded < INT_MIN || rounded > INT_MAX) return stars;
        return IWRITE(static_cast<int>(rounded), n, right);
    }

    // The point and d decimals alone take more than n characters.
    if (d >= n) return stars;
    std::string whole, fraction;
    fixedDigits(std::fabs(static_cast<double>(value)), d, whole, fraction);
    // The sign follows the value, so -0.001 written with two decimals reads -0.00.
    const std::string sign = value < 0 ? "-" : "";
    std::string text = sign + whole + "." + fraction;
    // Below 1 the leading zero goes first when room is short.
    if (text.size() > width && whole == "0") text = sign + "." + fraction;
    if (text.size() > width) return stars;
    // The field is right-justified whether or not `right` is asked for.
    return std::string(width - text.size(), ' ') + text;
}

std::string TOUPPER(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string TOLOWER(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

bool STRCMP(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] == '\0' && b[i] == '\0') return true;
        if (a[i] != b[i]) return false;
    }
    return true;
}

std::string C2F(const std::string& s) {
    const std::size_t z = s.find('\0');
    if (z == std::string::npos) return s;
    return s.substr(0, z) + std::string(s.size() - z, ' ');
}

bool READWHOLE(const std::string& text, int& value) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    const auto last = text.find_last_not_of(' ');
    const char* b = text.data() + first;
    const char* e = text.data() + last + 1;
    int v = 0;
    const auto [end, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || end != e) return false;
    value = v;
    return true;
}

bool READDECIMAL(const std::string& text, float& value) {
    std::string t = text;
    std::replace(t.begin(), t.end(), ',', '.');
    const auto first = t.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    t = t.substr(first, t.find_last_not_of(' ') - first + 1);
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v) || std::fabs(v) > 9999.0) return false;
    value = static_cast<float>(v);
    return true;
}

namespace {

// The length of the well-formed UTF-8 character at `s[i]`, 0 when it is not one.
std::size_t utf8Length(const std::string& s, std::size_t i, char32_t& c) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = b(i);
    std::size_t n = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        c = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0u) != 0x80u) return 0;
        c = (c << 6) | (b(i + k) & 0x3Fu);
    }
    const char32_t least = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return n;
}

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// The picture of a control character: U+2400 + code for C0, U+2421 for DEL,
// U+FFFD for a C1 control, which has none.
std::string pictureOf(char32_t c) {
    const char32_t p = c < 0x20 ? 0x2400 + c : c == 0x7F ? 0x2421 : 0xFFFD;
    std::string out;
    out += static_cast<char>(0xE0 | (p >> 12));
    out += static_cast<char>(0x80 | ((p >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (p & 0x3F));
    return out;
}

} // namespace

std::string CONTROLPICTURES(const std::string& text, bool keepLineBreaks) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t n = utf8Length(text, i, c);
        if (n == 0) {
            out += pictureOf(0x80); // U+FFFD for a byte that is not UTF-8
            ++i;
            continue;
        }
        if (isControl(c) && !(keepLineBreaks && c == '\n'))
            out += pictureOf(c);
        else
            out.append(text, i, n);
        i += n;
    }
    return out;
}

bool FINDCONTROL(const std::string& text, char32_t& c) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t ch = 0;
        const std::size_t n = utf8Length(text, i, ch);
        if (n > 0 && isControl(ch)) {
            c = ch;
            return true;
        }
        i += n > 0 ? n : 1;
    }
    return false;
}

std::string CONTROLCHARTEXT(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    return pictureOf(c) + " (" + code + ")";
}

std::string CONTROLNAMEMESSAGE(const std::string& field, char32_t c) {
    return field + ": the control character " + CONTROLCHARTEXT(c) + " cannot be kept in a name.";
}
