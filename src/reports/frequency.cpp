// The frequency lists: each different result of a board, how often it came
// up and what each side scored for it.
#include "core/strings.h"
#include "core/tournament.h"
#include "reports/reportlines.h"
#include "reports/reports.h"

#include "core/cp1250.h"

#include <utility>

void GETFREQUENCIES(int n, const std::vector<float>& values, std::vector<int>& count,
                    std::vector<int>& first, int& m) {
    const int held = std::min(n, static_cast<int>(values.size()));
    count.resize(static_cast<std::size_t>(std::max(held, 0)) + static_cast<std::size_t>(m));
    first.resize(count.size());
    for (int i = 1; i <= held; ++i) {
        const float v = values[static_cast<std::size_t>(i - 1)];
        bool seen = false;
        for (int j = 1; j < i && !seen; ++j)
            seen = values[static_cast<std::size_t>(j - 1)] == v;
        if (seen) continue;
        int c = 0;
        for (int j = 1; j <= held; ++j)
            if (values[static_cast<std::size_t>(j - 1)] == v) ++c;
        count[static_cast<std::size_t>(m)] = c;
        first[static_cast<std::size_t>(m)] = i;
        ++m;
    }
    count.resize(static_cast<std::size_t>(m));
    first.resize(static_cast<std::size_t>(m));
    // Largest count first; of equal counts the first found, as a selection sort
    // that swaps takes it.
    for (int p = 0; p < m; ++p) {
        int q = p;
        for (int r = p + 1; r < m; ++r)
            if (count[static_cast<std::size_t>(r)] > count[static_cast<std::size_t>(q)]) q = r;
        std::swap(count[static_cast<std::size_t>(p)], count[static_cast<std::size_t>(q)]);
        std::swap(first[static_cast<std::size_t>(p)], first[static_cast<std::size_t>(q)]);
    }
}

namespace {

constexpr int Width = 7;

void boardList(int mode, int b, int k) {
    const int n = REPORTENTRIES(k);
    std::vector<float> values;
    for (int i = 1; i <= n; ++i)
        values.push_back(RESULTAT(b, i));
    std::vector<int> count, first;
    int m = 0;
    GETFREQUENCIES(n, values, count, first, m);

    const bool mp = CalcType == CALC_MATCHPOINTS;
    if (mode == OUTPUT_HTML) EXPORTLINE("<hr>");
    DATALINE(mode, "Board " + IWRITE(b, 3), true);
    DATALINE(mode,
             mp ? "  Score   MP NS   MP EW    % NS    % EW Results"
                : "  Score  IMP NS  IMP EW Results",
             false);
    for (int g = 0; g < m; ++g) {
        const int i = first[static_cast<std::size_t>(g)];
        std::string line = RJUST(RESULTTEXT(values[static_cast<std::size_t>(i - 1)]), Width);
        for (int s = 1; s <= 2; ++s)
            line += " " + FWRITE(VALUEAT(BoardPoints, b, i, s), Width, 2, true);
        if (mp)
            for (int s = 1; s <= 2; ++s)
                line += " " + FWRITE(100.0f * VALUEAT(BoardPercent, b, i, s), Width, 0, true);
        line += " " + IWRITE(count[static_cast<std::size_t>(g)], Width, true);
        DATALINE(mode, line, false);
    }
    if (mode != OUTPUT_HTML) DATALINE(mode, "", false);
}

} // namespace

// The lists of every board that belongs to a set, one after another: on the
// printer under the caption "<tournament> - Frequency Lists", in the files
// under "Frequency Lists" (the file already carries the tournament's name).
void PRINTFREQUENCIES(int mode) {
    if (mode == OUTPUT_PRINTER)
        DATALINE(mode, TOURNAMENTNAMETEXT() + " - Frequency Lists", true);
    else
        DATALINE(mode, "Frequency Lists", true);
    if (mode == OUTPUT_TEXT) EXPORTLINE("");
    for (int b = 1; b <= REPORTBOARDS(); ++b) {
        const int k = SETOFBOARD(b);
        if (k != 0) boardList(mode, b, k);
    }
}
