#pragma once

#include <string>
// The four forms of an entered board result. A result is held as one float, always
// from the point of view of the pair that sat North-South, in units of 10 points:
//   0                 no result entered
//   -500 <= v < 1000  ordinary: the NS score / 10 (+420 is 42, -1430 is -143)
//   v < -500          inverted: the pairs sat the wrong way, the score is v + 1000
//   v >= 10000        adjusted: 10000 + 100 * x + y, x and y as typed in the two fields

enum ResultForm { RESULT_NONE, RESULT_ORDINARY, RESULT_INVERTED, RESULT_ADJUSTED };

struct DecodedResult {
    ResultForm form;
    int score;       // ordinary and inverted: the NS score in units of 10
    int adjustedNS;  // adjusted: the first typed value (A)
    int adjustedEW;  // adjusted: the second typed value (B)
};

// Tells the form of a stored result and its parts. Adjusted values are split as
// the scoring does: A = (v - 10000) / 100 rounded half away from zero, B the rest.
DecodedResult DECODERESULT(float v);

// The stored value of an ordinary score (units of 10), of the same score entered
// with the pairs the wrong way round, and of an adjusted score typed as x and y.
float ENCODEORDINARY(int score);
float ENCODEINVERTED(int score);
float ENCODEADJUSTED(int x, int y);

// What the two result fields of the entry window may hold: the NS score in units
// of 10, -500 to 999 (to 499 for an inverted entry, which keeps its form only
// below 500); or, for an adjusted score, tenths of a top 0 to 10 in both fields
// with matchpoints, else IMPs, -89 to 99 in the first and -49 to 49 in the second.
struct ResultLimits {
    int low1, high1, low2, high2;
};
ResultLimits RESULTLIMITS(bool adjusted, bool matchpoints, bool inverted);

// Reads the texts typed in the result fields (blank reads as 0; the second one
// counts only for an adjusted score) into the stored value of the result: an
// ordinary, inverted or adjusted one as the flags say. Returns 0 with `value` set
// when both are whole numbers within RESULTLIMITS, else the field (1 or 2) that is
// refused, with `value` unchanged.
int READRESULTFIELDS(const std::string& field1, const std::string& field2, bool adjusted,
                     bool matchpoints, bool inverted, float& value);
