// The pairs report: the ranking with its heading block, or the pairs in line
// order, and the penalties.
#include "core/strings.h"
#include "core/tournament.h"
#include "movement/custom.h"
#include "reports/reportlines.h"
#include "reports/reports.h"

#include "core/cp1250.h"

#include <cstdint>

namespace {

// One line of the pairs report: the text file has an empty line after each.
void pairsLine(int mode, const std::string& line) {
    DATALINE(mode, line);
    if (mode == OUTPUT_TEXT) EXPORTLINE("");
}

// `points` points down the printer page, in device units.
int points(int n) {
    return static_cast<int>(static_cast<std::int64_t>(n) * Printer.dpiY / 72);
}

// A heading line (strength, boards) drawn centred, or as a centred bold
// paragraph; the text file gets it right-justified in 100 characters when
// `wide` (the strength line), else as it stands.
void headingLine(int mode, const std::string& line, bool wide) {
    switch (mode) {
    case OUTPUT_PRINTER: {
        Printer.y += points(16);
        const std::string text = CP1250TOUTF8(TRIMMED(line));
        const int w = Printer.textWidth ? Printer.textWidth(text) : 0;
        if (Printer.drawText) Printer.drawText(Printer.pageWidth / 2 - w / 2, Printer.y, text);
        break;
    }
    case OUTPUT_TEXT:
        if (wide) {
            std::string padded(ReportLineLength, ' ');
            PUTCOLUMN(padded, 1, line);
            EXPORTLINE(CP1250TOUTF8(std::string(100 - ReportLineLength, ' ') + padded));
        } else {
            EXPORTLINE(CP1250TOUTF8(TRIMMED(line)));
        }
        break;
    case OUTPUT_HTML:
        EXPORTLINE("<p class=\"MsoNormal\" align=\"center\"><font size=\"2\" face=\"Courier "
                   "New\"><b>" +
                   HTMLTEXT(TRIMMED(line)) + "</b></font></p>");
        break;
    default:
        break;
    }
}

// Places of `Movement` that hold pair q, over the entries each board set lists.
std::int64_t placesOf(int q) {
    std::int64_t n = 0;
    for (int k = 1; k <= REPORTSETS(); ++k)
        for (int i = 1; i <= REPORTENTRIES(k); ++i)
            for (int s = 1; s <= 2; ++s)
                if (Movement(k, i, s) == q) ++n;
    return n;
}

int clampInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// The strength and boards lines and the column titles of the ranking.
void headingBlock(int mode) {
    if (RatingMode != 0) {
        headingLine(mode, "Snaga " + IWRITE(TournamentStrength, 4), true);
        if (mode == OUTPUT_TEXT) EXPORTLINE("");
    }

    const std::int64_t p1 = placesOf(1) * BoardsPerRound;
    const std::int64_t pN = placesOf(NumPairs) * BoardsPerRound;
    std::string boards;
    if (CalcType == CALC_MATCHPOINTS) {
        const std::int64_t e = SetEntries.contains(1) ? SetEntries(1) : 0;
        boards = "Top " + IWRITE(clampInt(p1 * (2 * e - 2)), 4, true) + "/" +
                 IWRITE(clampInt(pN * (2 * e - 2)), 4);
    } else {
        boards = IWRITE(clampInt(p1), 4, true) + "/" + IWRITE(clampInt(pN), 4) + " borda";
        boards.erase(0, boards.find_first_not_of(' '));
    }
    headingLine(mode, boards, false);
    if (mode == OUTPUT_PRINTER) Printer.y += points(32);
    if (mode != OUTPUT_PRINTER) EXPORTLINE("");

    std::string titles(ReportLineLength, ' ');
    PUTCOLUMN(titles, 53, "Poz.");
    PUTCOLUMN(titles, 57, CalcType == CALC_MATCHPOINTS ? "  MP     %  " : " IMP    VP  ");
    if (RatingMode != 0) PUTCOLUMN(titles, 72, "   Rejting ");
    switch (mode) {
    case OUTPUT_PRINTER:
        if (Printer.drawText)
            Printer.drawText(Printer.x, Printer.y + Printer.lineHeight, TRIMMED(titles));
        Printer.y += points(16);
        break;
    case OUTPUT_TEXT:
        EXPORTLINE(TRIMMED(titles));
        EXPORTLINE("");
        break;
    default:
        PARSEANDWRITELINE(titles, true);
        break;
    }
}

std::string rankingLine(int i, int p, int previous) {
    std::string line(ReportLineLength, ' ');
    const bool tied = previous > 0 && PairTotal(p) == PairTotal(previous) &&
                      PairPercent(p) == PairPercent(previous);
    if (!tied) PUTCOLUMN(line, 1, IWRITE(i, 2, true) + ".");
    PUTCOLUMN(line, 5, PLAYERNAME(p, 1, 22));
    PUTCOLUMN(line, 27, " - ");
    PUTCOLUMN(line, 30, PLAYERNAME(p, 2, 22));
    PUTCOLUMN(line, 52, PAIRID(p, 2).substr(0, 4));
    PUTCOLUMN(line, 56, FWRITE(PairTotal(p), 7, 2, true));
    PUTCOLUMN(line, 63, FWRITE(PairPercent(p), 6, 2, true));
    if (RatingMode != 0) {
        const std::int64_t r1 = PlayerRating.contains(p, 2) ? PlayerRating(p, 1) : 0;
        const std::int64_t r2 = PlayerRating.contains(p, 2) ? PlayerRating(p, 2) : 0;
        PUTCOLUMN(line, 69, IWRITE(clampInt((r1 + r2 + 1) / 2), 5, true));
        PUTCOLUMN(line, 74, FWRITE(VALUEAT(RatingChange, p, 1), 6, 1));
        PUTCOLUMN(line, 80, "/");
        PUTCOLUMN(line, 81, FWRITE(VALUEAT(RatingChange, p, 2), 6, 1));
    }
    return line;
}

std::string orderLine(int p) {
    std::string line(ReportLineLength, ' ');
    PUTCOLUMN(line, 1, PLAYERNAME(p, 1, 25));
    PUTCOLUMN(line, 26, " - ");
    PUTCOLUMN(line, 29, PLAYERNAME(p, 2, 25));
    PUTCOLUMN(line, 54, PAIRID(p, 2).substr(0, 4));
    return line;
}

std::string penaltyLine(int p) {
    std::string line(ReportLineLength, ' ');
    if (MovementType == MOVE_MITCHELL)
        PUTCOLUMN(line, 1, "  " + PAIRID(p, 2));
    else if (MovementType == MOVE_CUSTOM)
        PUTCOLUMN(line, 1, PAIRID(p, 4));
    else
        PUTCOLUMN(line, 1, IWRITE(p, 5, true));
    PUTCOLUMN(line, 8, FWRITE(PairPenalty(p), 5, 1));
    return line;
}

} // namespace

std::string PAIRID(int pair, int width) {
    if (MovementType == MOVE_MITCHELL) {
        const int half = NumPairs / 2;
        return pair <= half ? "NS" + IWRITE(pair, 2) : "EW" + IWRITE(pair - half, 2);
    }
    // A custom movement shows its pairs as the movement editor does.
    if (MovementType == MOVE_CUSTOM) return GETPAIRID(pair);
    return IWRITE(pair, width, true);
}

// Writes the pairs report to `mode`. Reads the header, the pair arrays,
// PlacementOrder, Movement, SetEntries and TournamentStrength; pairs beyond what
// the arrays hold are left out.
void OUTPUTTOURNAMENT(int mode) {
    const int pairs = REPORTPAIRS();
    const bool ranking = SortByPlacement == 1;
    if (ranking) headingBlock(mode);

    int previous = 0;
    for (int i = 1; i <= pairs; ++i) {
        std::string line;
        if (ranking) {
            const int p = PlacementOrder.contains(i) ? PlacementOrder(i) : i;
            if (p < 1 || p > pairs) continue;
            line = rankingLine(i, p, previous);
            previous = p;
        } else {
            line = orderLine(i);
        }
        std::replace(line.begin(), line.end(), '\0', ' ');
        pairsLine(mode, line);
    }

    bool first = true;
    for (int p = 1; p <= pairs; ++p) {
        if (!(PairPenalty(p) > 0.0f)) continue;
        if (first) {
            first = false;
            if (mode == OUTPUT_PRINTER) {
                Printer.y += Printer.lineHeight;
                LINEOUT(mode, "Kazne:");
            } else {
                pairsLine(mode, "Kazne:");
            }
        }
        pairsLine(mode, penaltyLine(p));
    }
}
