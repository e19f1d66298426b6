// The board lists: the machine-readable export of every traveller, and the
// traveller of one board as report lines.
#include "core/results.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "reports/reportlines.h"
#include "reports/reports.h"

#include <cmath>

namespace {

// `value` right-justified in `width` digits, or `width` asterisks when it does
// not fit.
std::string fixedInt(long long value, int width) {
    const std::string text = std::to_string(value);
    if (text.size() > static_cast<std::size_t>(width)) return std::string(static_cast<std::size_t>(width), '*');
    return RJUST(text, width);
}

// Nearest integer, halves away from zero, kept within what the fields can show.
long long roundAway(double v) {
    return static_cast<long long>(std::clamp(std::round(v), -1e12, 1e12));
}

std::string boardRecord(int b, int k, int i) {
    const float v = RESULTAT(b, i);
    int first = Movement(k, i, 1), second = Movement(k, i, 2);
    char kind = '9', flag = ' ';
    long long score = 0, adjustment = 0;
    if (v > 1000.0f) {
        kind = '8';
        flag = 'A';
        adjustment = static_cast<long long>(std::trunc(10.0 * (static_cast<double>(v) - 10000.0)));
    } else if (v < -500.0f) {
        std::swap(first, second);
        score = roundAway(10.0 * (static_cast<double>(v) + 1000.0));
    } else {
        score = roundAway(10.0 * static_cast<double>(v));
    }
    std::string adj = adjustment >= 0 && adjustment <= 9999 ? std::to_string(adjustment) : "****";
    adj = std::string(4 - adj.size(), '0') + adj;
    return fixedInt(b, 2) + fixedInt(first, 2) + fixedInt(second, 2) + kind + "?????????" +
           fixedInt(score, 5) + flag + adj;
}

// Column widths of the traveller: NS, EW, Score, then two points columns per side.
constexpr int WidthPair = 5, WidthScore = 8, WidthPoints = 8;

} // namespace

std::string RESULTTEXT(float v) {
    const DecodedResult r = DECODERESULT(v);
    switch (r.form) {
    case RESULT_ORDINARY:
        return std::to_string(10LL * r.score);
    case RESULT_INVERTED:
        return std::to_string(10LL * r.score) + " I";
    case RESULT_ADJUSTED:
        return "A" + std::to_string(r.adjustedNS) + "-" + std::to_string(r.adjustedEW);
    default:
        return {};
    }
}

// One record per entry of every board, in board order, to ExportUnit. Reads
// Results, Movement and SetEntries; boards after the last whole set have none.
void EXPORTBOARDS() {
    for (int b = 1; b <= REPORTBOARDS(); ++b) {
        const int k = SETOFBOARD(b);
        for (int i = 1; i <= REPORTENTRIES(k); ++i)
            EXPORTLINE(boardRecord(b, k, i));
    }
}

// The traveller of `board`: "Board n", the column titles, one line per entry.
void OUTPUTBOARD(int mode, int board) {
    const int k = SETOFBOARD(board);
    if (k == 0 || board > REPORTBOARDS()) return;
    const bool mp = CalcType == CALC_MATCHPOINTS;
    DATALINE(mode, "Board " + IWRITE(board, 3), true);
    std::string titles = RJUST("NS", WidthPair) + RJUST("EW", WidthPair) + RJUST("Score", WidthScore);
    if (mp)
        titles += RJUST("MP NS", WidthPoints) + RJUST("MP EW", WidthPoints) + RJUST("% NS", 6) +
                  RJUST("% EW", 6);
    else
        titles += RJUST("IMP NS", WidthPoints) + RJUST("IMP EW", WidthPoints);
    DATALINE(mode, titles, false);
    for (int i = 1; i <= REPORTENTRIES(k); ++i) {
        std::string line = RJUST(TRIMMED(PAIRID(Movement(k, i, 1), 4)), WidthPair) +
                           RJUST(TRIMMED(PAIRID(Movement(k, i, 2), 4)), WidthPair) +
                           RJUST(RESULTTEXT(RESULTAT(board, i)), WidthScore);
        for (int s = 1; s <= 2; ++s)
            line += FWRITE(VALUEAT(BoardPoints, board, i, s), WidthPoints, 2, true);
        if (mp)
            for (int s = 1; s <= 2; ++s)
                line += FWRITE(100.0f * VALUEAT(BoardPercent, board, i, s), 6, 0, true);
        DATALINE(mode, line, false);
    }
    if (mode != OUTPUT_HTML) DATALINE(mode, "", false);
}
