// Victory points on the 25-point scale.
#include "scoring/scoring.h"

#include <algorithm>
#include <cmath>

// The thresholds for `boards` boards: a row of VpScale, or for a board count
// between two rows the straight line between them; more than the last row's
// count use the last row. Each threshold is the scale value minus 0.5.
int IVPRESULT(float imps, int boards) {
    const bool lost = !std::isnan(imps) && std::trunc(imps) < 0.0f;
    const double margin = std::isnan(imps) ? 0.0 : std::fabs(static_cast<double>(imps));
    if (std::trunc(margin) == 0.0) return 15;

    const int rows = static_cast<int>(VpBoardCounts.size());
    int lower = 0;
    double weight = 0.0; // share of the next row
    if (boards >= VpBoardCounts[static_cast<std::size_t>(rows - 1)]) {
        lower = rows - 1;
    } else if (boards > 0) {
        while (VpBoardCounts[static_cast<std::size_t>(lower + 1)] <= boards)
            ++lower;
        const int m1 = VpBoardCounts[static_cast<std::size_t>(lower)];
        const int m2 = VpBoardCounts[static_cast<std::size_t>(lower + 1)];
        weight = static_cast<double>(boards - m1) / (m2 - m1);
    }
    const auto& row1 = VpScale[static_cast<std::size_t>(lower)];
    const auto& row2 = VpScale[static_cast<std::size_t>(std::min(lower + 1, rows - 1))];

    int reached = 0;
    for (std::size_t t = 0; t < row1.size(); ++t) {
        const double threshold = (row1[t] - 0.5) * (1.0 - weight) + (row2[t] - 0.5) * weight;
        if (threshold > margin) break;
        ++reached;
    }
    return lost ? std::max(16 - reached, 0) : std::min(14 + reached, 25);
}
