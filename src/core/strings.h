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

// Text that may hold control characters (a file name, an argument) made safe to
// show in a message or on a terminal: every control character becomes its
// picture (U+2400 to U+241F, U+2421 for DEL), so an escape sequence never
// reaches a terminal raw; a C1 control or a byte that is not UTF-8 becomes
// U+FFFD. With `keepLineBreaks` a line feed stays a line break (for whole
// messages that are written on several lines).
std::string CONTROLPICTURES(const std::string& text, bool keepLineBreaks = false);

// True, with `c` set to it, when the UTF-8 text holds a control character (C0,
// DEL or C1): such a character has no place in a name.
bool FINDCONTROL(const std::string& text, char32_t& c);

// A control character for a message: its picture and its code, as
// "␊ (U+000A)".
std::string CONTROLCHARTEXT(char32_t c);

// The refusal of a name typed in `field` that holds the control character `c`:
// "<field>: the control character ␊ (U+000A) cannot be kept in a name."
std::string CONTROLNAMEMESSAGE(const std::string& field, char32_t c);
