#include "core/results.h"

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
