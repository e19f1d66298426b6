#pragma once
// Numbers into fixed-width, blank-padded text, and the small string helpers the
// whole program uses. Every result is exactly as long as asked for.

#include <string>

// `value` in decimal, left-justified in n characters (right-justified when
// `right`); a number that does not fit loses its rightmost (leftmost) digits.
std::string IWRITE(int value, int n, bool right = false);

// `value` with d decimals right-justified in n characters, "0" before the point
// below 1, n asterisks when it does not fit; d <= 0 rounds to an integer (halves
// away from zero) and writes it as IWRITE does.
std::string FWRITE(float value, int n, int d, bool right = false);

// Copies with the ASCII letters changed to upper or lower case.
std::string TOUPPER(const std::string& s);
std::string TOLOWER(const std::string& s);

// Equality up to the shorter length or the first common NUL; an empty string
// equals anything.
bool STRCMP(const std::string& a, const std::string& b);

// The characters before the first NUL, padded with blanks to the same length.
std::string C2F(const std::string& s);

// A whole number typed in a field, with blanks around it allowed: true with
// `value` set for an optional minus sign and digits that fit an int, false for
// blank text or anything else.
bool READWHOLE(const std::string& text, int& value);

// A decimal number typed in a field (a point or a comma before the decimals,
// blanks around it): false for anything else, for infinity or NaN, and for a
// number beyond +-9999.
bool READDECIMAL(const std::string& text, float& value);
