// Matchpoints of one board: 2 for every entry beaten, 1 for every tie; adjusted
// scores as tenths of the top; optionally the Neuberg formula for boards on
// which some entries got an adjusted score.
#include "core/tournament.h"
#include "scoring/extents.h"
#include "scoring/scoring.h"

// Writes BoardPoints and BoardPercent of entries 1..n of `board`. A faulty board
// scores 0 for everybody. With a single entry there is nobody to compare with:
// both sides get 0 points and an average of 0.5.
void SCOREMATCHPOINTS(int board, int n) {
    const bool valid = ISTRUE(BoardValid(board));
    const bool neuberg = ISTRUE(UseNeuberg);
    const float top = 2.0f * static_cast<float>(n - 1);
    for (int i = 1; i <= n; ++i) {
        float points[3] = {0.0f, 0.0f, 0.0f};
        const float v = RESULTVALUE(board, i);
        // The side that sat NS owns the score; with the pairs the wrong way round
        // that is side 2.
        const float u = v >= -500.0f ? v : v + 1000.0f;
        const int a = v >= -500.0f ? 1 : 2;
        const int e = 3 - a;
        if (!valid) {
            // A faulty board scores nothing.
        } else if (v >= 1000.0f) {
            int sideA = 0, sideB = 0;
            SPLITADJUSTED(v, sideA, sideB);
            points[1] = static_cast<float>(sideA) * top / 10.0f;
            points[2] = static_cast<float>(sideB) * top / 10.0f;
        } else {
            int compared = 1;
            for (int j = 1; j <= n; ++j) {
                if (j == i) continue;
                float w = RESULTVALUE(board, j);
                if (w < -500.0f) w += 1000.0f;
                if (w >= 1000.0f) {
                    // Another entry's adjusted score: a tie, or left out under Neuberg.
                    if (!neuberg) {
                        points[a] += 1.0f;
                        points[e] += 1.0f;
                    }
                    continue;
                }
                ++compared;
                if (u > w) {
                    points[a] += 2.0f;
                } else if (u == w) {
                    points[a] += 1.0f;
                    points[e] += 1.0f;
                } else {
                    points[e] += 2.0f;
                }
            }
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
