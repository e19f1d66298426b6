#include "core/results.h"

#include "core/strings.h"

#include <algorithm>
#include <cmath>

DecodedResult DECODERESULT(float v) {
    DecodedResult r{RESULT_NONE, 0, 0, 0};
    if (v >= 1000.0f) {
        r.form = RESULT_ADJUSTED;
        // A damaged value may be any size; keep the conversions to int defined.
        const float code = std::clamp(v - 10000.0f, -1.0e6f, 1.0e6f);
        r.adjustedNS = static_cast<int>(std::lround(code / 100.0f));
        r.adjustedEW = static_cast<int>(code) - 100 * r.adjustedNS;
    } else if (v < -500.0f) {
        r.form = RESULT_INVERTED;
        r.score = static_cast<int>(std::lround(v + 1000.0f));
    } else if (v != 0.0f) {
        r.form = RESULT_ORDINARY;
        r.score = static_cast<int>(std::lround(v));
    }
    return r;
}

float ENCODEORDINARY(int score) { return static_cast<float>(score); }
float ENCODEINVERTED(int score) { return static_cast<float>(score - 1000); }
float ENCODEADJUSTED(int x, int y) { return static_cast<float>(10000 + 100 * x + y); }

ResultLimits RESULTLIMITS(bool adjusted, bool matchpoints, bool inverted) {
    if (adjusted) return matchpoints ? ResultLimits{0, 10, 0, 10} : ResultLimits{-89, 99, -49, 49};
    return {-500, inverted ? 499 : 999, 0, 0};
}

namespace {

bool readField(const std::string& text, int low, int high, int& value) {
    if (text.find_first_not_of(' ') == std::string::npos) {
        value = 0;
    } else if (!READWHOLE(text, value)) {
        return false;
    }
    return value >= low && value <= high;
}

} // namespace

int READRESULTFIELDS(const std::string& field1, const std::string& field2, bool adjusted,
                     bool matchpoints, bool inverted, float& value) {
    const ResultLimits l = RESULTLIMITS(adjusted, matchpoints, inverted);
    int x = 0, y = 0;
    if (!readField(field1, l.low1, l.high1, x)) return 1;
    if (adjusted && !readField(field2, l.low2, l.high2, y)) return 2;
    value = adjusted ? ENCODEADJUSTED(x, y) : inverted ? ENCODEINVERTED(x) : ENCODEORDINARY(x);
    return 0;
}
