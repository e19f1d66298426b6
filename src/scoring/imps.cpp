// IMP scoring of one board: the IMP scale, the board's datum and the IMPs of
// every entry against it.
#include "core/hooks.h"
#include "core/results.h"
#include "core/tournament.h"
#include "scoring/extents.h"
#include "scoring/scoring.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The last bound of the scale, from which on every difference is worth 24 IMPs.
constexpr int LastBound = ImpScale[23];

// IMPs for every whole number of tens below the last bound.
constexpr std::array<int, LastBound> ImpsOfTens = [] {
    std::array<int, LastBound> imps{};
    for (int d = 0; d < LastBound; ++d)
        while (ImpScale[static_cast<std::size_t>(imps[static_cast<std::size_t>(d)])] <= d)
            ++imps[static_cast<std::size_t>(d)];
    return imps;
}();

} // namespace

// The bounds are whole tens, so the whole part of the difference decides.
int IMPRESULT(float diff) {
    if (std::isnan(diff)) return 0;
    const int sign = std::trunc(diff) < 0.0f ? -1 : 1;
    const float size = std::fabs(diff);
    const int imps =
        size >= static_cast<float>(LastBound) ? 24 : ImpsOfTens[static_cast<std::size_t>(size)];
    return sign * imps;
}

// Reads Results, SetEntries and BoardValid only. Entries with an adjusted score
// do not count; the highest and the lowest quarter of the rest are dropped.
float CALCIMPAVERAGE(int board) {
    const ScoringExtents x = SCORINGEXTENTS();
    if (!x.usable || board < 1 || board > x.boards) return 0.0f;
    const int n = SETENTRYCOUNT(x, (board - 1) / x.perRound + 1);
    std::vector<float> scores;
    scores.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const float v = RESULTVALUE(board, i);
        if (v > 1000.0f) continue;
        scores.push_back(v < -500.0f ? v + 1000.0f : v);
    }
    const int m = static_cast<int>(scores.size());
    const int dropped = m / 4;
    const int kept = m - 2 * dropped;
    if (kept <= 0) return 0.0f; // no score to take a datum from
    std::sort(scores.begin(), scores.end(), std::greater<float>());
    double sum = 0.0;
    for (int k = dropped; k < dropped + kept; ++k)
        sum += scores[static_cast<std::size_t>(k)];
    return static_cast<float>(std::round(sum / kept));
}

// Writes BoardPoints of entries 1..n of `board`: the IMPs of each NS score
// against the datum, or the two values of an adjusted score; a faulty board
// scores 0. In the board-list view the datum goes to the status bar.
void SCOREIMPS(int board, int n) {
    const bool valid = ISTRUE(BoardValid(board));
    const float datum = CALCIMPAVERAGE(board);
    for (int i = 1; i <= n; ++i) {
        float points[3] = {0.0f, 0.0f, 0.0f};
        const float v = RESULTVALUE(board, i);
        const float u = v >= -500.0f ? v : v + 1000.0f;
        const int a = v >= -500.0f ? 1 : 2;
        if (!valid) {
            // A faulty board scores nothing.
        } else if (v >= 1000.0f) {
            const DecodedResult award = DECODERESULT(v);
            points[1] = static_cast<float>(award.adjustedNS);
            points[2] = static_cast<float>(award.adjustedEW);
        } else {
            const int imps = IMPRESULT(u - datum);
            points[a] = static_cast<float>(imps);
            points[3 - a] = static_cast<float>(-imps); // 0, never -0
        }
        BoardPoints(board, i, 1) = points[1];
        BoardPoints(board, i, 2) = points[2];
    }
    if (ViewMode == 2) {
        char text[32];
        const long shown = std::lround(std::clamp(datum, -99999.0f, 99999.0f));
        std::snprintf(text, sizeof text, "Avg: %5ld", shown);
        SETSTATUS(2, text);
    }
}

// Writes BoardPoints of entries 1..n of `board` for Calcutta: every entry
// compared with every other one, each comparison worth 1/(n - 1) of its IMPs.
// An entry compared with an adjusted one is compared with the mean of the
// ordinary scores instead. A faulty board, or one played once, scores 0.
void SCORECALCUTTA(int board, int n) {
    const bool valid = ISTRUE(BoardValid(board));
    // The NS scores, and the mean of the ordinary ones for the entries that are
    // compared with an adjusted score.
    std::vector<float> seat, ordinary;
    SEATEDSCORES(board, n, seat, ordinary);
    double sum = 0.0;
    for (float w : ordinary)
        sum += w;
    const int adjusted = n - static_cast<int>(ordinary.size());
    const float fieldMean =
        ordinary.empty() ? 0.0f : static_cast<float>(std::round(sum / ordinary.size()));

    // Entries with the same score win the same IMPs, so each different score is
    // compared once with each other one (seen from the other score the IMPs only
    // change sign), weighted by how many entries have it.
    std::vector<float> score;
    std::vector<int> times;
    for (float w : ordinary) {
        if (score.empty() || score.back() != w) {
            score.push_back(w);
            times.push_back(0);
        }
        ++times.back();
    }
    std::vector<int> won(score.size(), 0);
    for (std::size_t x = 0; x < score.size(); ++x)
        for (std::size_t y = x + 1; y < score.size(); ++y) {
            const int imps = IMPRESULT(score[x] - score[y]);
            won[x] += times[y] * imps;
            won[y] -= times[x] * imps;
        }

    for (int i = 1; i <= n; ++i) {
        float points[3] = {0.0f, 0.0f, 0.0f};
        const float v = RESULTVALUE(board, i);
        const float u = seat[static_cast<std::size_t>(i - 1)];
        const int a = v >= -500.0f ? 1 : 2;
        if (valid && n > 1) {
            if (v >= 1000.0f) {
                const DecodedResult award = DECODERESULT(v);
                points[1] = static_cast<float>(award.adjustedNS);
                points[2] = static_cast<float>(award.adjustedEW);
            } else {
                const auto at = std::lower_bound(score.begin(), score.end(), u) - score.begin();
                const int imps =
                    won[static_cast<std::size_t>(at)] + adjusted * IMPRESULT(u - fieldMean);
                const float share = static_cast<float>(imps) / static_cast<float>(n - 1);
                points[a] = share;
                points[3 - a] = static_cast<float>(-imps) / static_cast<float>(n - 1);
            }
        }
        BoardPoints(board, i, 1) = points[1];
        BoardPoints(board, i, 2) = points[2];
    }
}
