// The personal score card: the boards one pair played, against whom, the
// result and what the pair scored on each, and its total.
#include "core/strings.h"
#include "core/tournament.h"
#include "reports/reportlines.h"
#include "reports/reports.h"

namespace {

constexpr int WidthBoard = 3, WidthPair = 5, WidthOpponents = 38, WidthScore = 8, WidthPoints = 8,
              WidthPercent = 6;

std::string pairNames(int p) {
    const std::string a = PLAYERNAME(p, 1, NameLength), b = PLAYERNAME(p, 2, NameLength);
    if (a.empty() && b.empty()) return {};
    return a + " - " + b;
}

void card(int mode, int pair) {
    const bool mp = CalcType == CALC_MATCHPOINTS;
    DATALINE(mode, "Score List", true);
    std::string id = TRIMMED(PAIRID(pair, 2));
    id.erase(0, id.find_first_not_of(' '));
    DATALINE(mode, "For pair: " + id + "  " + pairNames(pair), true);
    if (mode != OUTPUT_HTML) DATALINE(mode, "", false);

    std::string titles = RJUST("Brd", WidthBoard) + RJUST("NS", WidthPair) + RJUST("EW", WidthPair) +
                         "  " + LJUST("Opponents", WidthOpponents) + RJUST("Score", WidthScore);
    titles += mp ? RJUST("MP", WidthPoints) + RJUST("%", WidthPercent) : RJUST("IMP", WidthPoints);
    DATALINE(mode, titles, false);

    for (int b = 1; b <= REPORTBOARDS(); ++b) {
        const int k = SETOFBOARD(b);
        for (int i = 1; i <= REPORTENTRIES(k); ++i) {
            const int ns = Movement(k, i, 1), ew = Movement(k, i, 2);
            if (ns != pair && ew != pair) continue;
            const int side = ns == pair ? 1 : 2;
            const int opponent = side == 1 ? ew : ns;
            std::string line = RJUST(IWRITE(b, WidthBoard, true), WidthBoard) +
                               RJUST(TRIMMED(PAIRID(ns, 4)), WidthPair) +
                               RJUST(TRIMMED(PAIRID(ew, 4)), WidthPair) + "  " +
                               LJUST(opponent > 0 ? pairNames(opponent) : "", WidthOpponents) +
                               RJUST(RESULTTEXT(RESULTAT(b, i)), WidthScore) +
                               FWRITE(VALUEAT(BoardPoints, b, i, side), WidthPoints, 2, true);
            if (mp) line += FWRITE(100.0f * VALUEAT(BoardPercent, b, i, side), WidthPercent, 0, true);
            DATALINE(mode, line, false);
        }
    }

    std::string total = LJUST("Total:", WidthBoard + 2 * WidthPair + 2 + WidthOpponents + WidthScore) +
                        FWRITE(PairTotal(pair), WidthPoints, 2, true);
    if (mp) total += FWRITE(PairPercent(pair), WidthPercent, 2, true);
    DATALINE(mode, total, false);
    if (mode != OUTPUT_HTML) DATALINE(mode, "", false);
}

} // namespace

// One card for `pair`, or one per pair when `pair` is 0: in the HTML file
// divided by a rule, on the printer each on a page of its own. A pair the
// tournament does not have gives nothing.
void PRINTPERSONAL(int mode, int pair) {
    const int pairs = REPORTPAIRS();
    const int from = pair == 0 ? 1 : pair, to = pair == 0 ? pairs : pair;
    if (from < 1 || to > pairs) return;
    for (int p = from; p <= to; ++p) {
        if (p > from) {
            if (mode == OUTPUT_HTML) EXPORTLINE("<hr>");
            if (mode == OUTPUT_PRINTER) {
                if (Printer.newPage) Printer.newPage();
                Printer.y = Printer.margins[0];
            }
        }
        card(mode, p);
    }
}
