// Matchpoints of one board: 2 for every entry beaten, 1 for every tie; adjusted
// scores as tenths of the top; optionally the Neuberg formula for boards on
// which some entries got an adjusted score.
#include "core/results.h"
#include "core/tournament.h"
#include "scoring/extents.h"
#include "scoring/scoring.h"

#include <algorithm>
#include <vector>

// Writes BoardPoints and BoardPercent of entries 1..n of `board`. A faulty board
// scores 0 for everybody. With a single entry there is nobody to compare with:
// both sides get 0 points and an average of 0.5.
void SCOREMATCHPOINTS(int board, int n) {
    const bool valid = ISTRUE(BoardValid(board));
    const bool neuberg = ISTRUE(UseNeuberg);
    const float top = 2.0f * static_cast<float>(n - 1);
    std::vector<float> seat, ordinary;
    SEATEDSCORES(board, n, seat, ordinary);
    for (int i = 1; i <= n; ++i) {
        float points[3] = {0.0f, 0.0f, 0.0f};
        const float v = RESULTVALUE(board, i);
        // With the pairs the wrong way round side 2 sat NS.
        const int a = v >= -500.0f ? 1 : 2;
        const int e = 3 - a;
        if (!valid) {
            // A faulty board scores nothing.
        } else if (v >= 1000.0f) {
            const DecodedResult award = DECODERESULT(v);
            points[1] = static_cast<float>(award.adjustedNS) * top / 10.0f;
            points[2] = static_cast<float>(award.adjustedEW) * top / 10.0f;
        } else {
            // Compared with every other ordinary score; the entry itself is one tie.
            const float u = seat[static_cast<std::size_t>(i - 1)];
            const auto lower = std::lower_bound(ordinary.begin(), ordinary.end(), u);
            const auto upper = std::upper_bound(lower, ordinary.end(), u);
            const int below = static_cast<int>(lower - ordinary.begin());
            const int level = static_cast<int>(upper - lower) - 1;
            const int above = static_cast<int>(ordinary.end() - upper);
            const int compared = 1 + below + level + above;
            // Another entry's adjusted score is a tie, or left out under Neuberg.
            const int adjustedTies = neuberg ? 0 : n - compared;
            points[a] = static_cast<float>(2 * below + level + adjustedTies);
            points[e] = static_cast<float>(2 * above + level + adjustedTies);
            if (neuberg && compared != n) {
                const float nf = static_cast<float>(n), cf = static_cast<float>(compared);
                for (int k = 1; k <= 2; ++k)
                    points[k] = (points[k] + 1.0f) * nf / cf - 1.0f;
            }
        }
        for (int k = 1; k <= 2; ++k) {
            BoardPoints(board, i, k) = points[k];
            BoardPercent(board, i, k) = top > 0.0f ? points[k] / top : (valid ? 0.5f : 0.0f);
        }
    }
}
