// The results in Portable Bridge Notation: one game per board with its
// traveller as a score table, and the ranking as a total score table in the
// first game. Tables are described by their column headers, so any PBN reader
// finds the columns by name.
#include "core/cp1250.h"
#include "core/results.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "hands/hands.h"
#include "reports/reportlines.h"
#include "reports/reports.h"
#include "scoring/scoring.h"

#include <algorithm>
#include <cmath>

namespace {

// A PBN string: quoted, with '"' and '\' escaped; the text in UTF-8.
std::string quoted(const std::string& cp1250) {
    std::string out = "\"";
    for (const char c : CP1250TOUTF8(cp1250)) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string plain(const std::string& s) {
    const auto start = s.find_first_not_of(' ');
    return start == std::string::npos ? std::string("-") : TRIMMED(s.substr(start));
}

// A pair identifier as one table field: a custom movement's "E 2" becomes "E2".
std::string pairField(int pair) {
    std::string id = PAIRID(pair, 4);
    id.erase(std::remove(id.begin(), id.end(), ' '), id.end());
    return id.empty() ? std::string("-") : id;
}

// A figure with two decimals, as plain text (no padding).
std::string figure(float v) {
    return plain(FWRITE(v, 12, 2, true));
}

void tag(std::string& out, const char* name, const std::string& value) {
    out += "[";
    out += name;
    out += " " + value + "]\n";
}

// The tags every game carries.
void gameTags(std::string& out, int board) {
    tag(out, "Event", quoted(TOURNAMENTNAMETEXT()));
    tag(out, "Site", "\"\"");
    tag(out, "Date", "\"????.??.??\"");
    if (board > 0) {
        static const char* const dealers[] = {"N", "E", "S", "W"};
        static const char* const zones[] = {"None", "NS", "EW", "All"};
        tag(out, "Board", "\"" + std::to_string(board) + "\"");
        tag(out, "Dealer", std::string("\"") + dealers[(board - 1) % 4] + "\"");
        tag(out, "Vulnerable", std::string("\"") + zones[GETBOARDZONE(board) & 3] + "\"");
        if (ISTRUE(HasHands) && DEALCOMPLETE(board)) tag(out, "Deal", "\"" + PBNDEALTEXT(BOARDDEAL(board)) + "\"");
    }
    const char* scoring = CalcType == CALC_MATCHPOINTS ? "MP" : CalcType == CALC_IMPS ? "IMP" : "Cross-IMP";
    tag(out, "Scoring", std::string("\"") + scoring + "\"");
}

// One row per entry of the board: who sat NS and EW, the score, the points of
// each side and what kind of result it was.
void scoreTable(std::string& out, int board, int k) {
    const bool mp = CalcType == CALC_MATCHPOINTS;
    tag(out, "ScoreTable",
        mp ? "\"PairId_NS\\4R;PairId_EW\\4R;Score_NS\\5R;Score_EW\\5R;MP_NS\\6R;MP_EW\\6R;"
             "Percentage_NS\\3R;Percentage_EW\\3R;Note\\14L\""
           : "\"PairId_NS\\4R;PairId_EW\\4R;Score_NS\\5R;Score_EW\\5R;IMP_NS\\6R;IMP_EW\\6R;"
             "Note\\14L\"");
    for (int i = 1; i <= REPORTENTRIES(k); ++i) {
        int ns = 1, ew = 2; // movement sides of the pairs that sat NS and EW
        const DecodedResult r = DECODERESULT(RESULTAT(board, i));
        std::string scoreNS = "-", scoreEW = "-", note = "-";
        switch (r.form) {
        case RESULT_INVERTED:
            std::swap(ns, ew);
            note = "Inverted";
            [[fallthrough]];
        case RESULT_ORDINARY:
            if (r.score > 0) scoreNS = std::to_string(10LL * r.score);
            if (r.score < 0) scoreEW = std::to_string(-10LL * r.score);
            break;
        case RESULT_ADJUSTED:
            note = "\"Adjusted " + std::to_string(r.adjustedNS) + "-" + std::to_string(r.adjustedEW) + "\"";
            break;
        default:
            note = "NoResult";
            break;
        }
        const int pairNS = Movement(k, i, ns), pairEW = Movement(k, i, ew);
        if (pairNS < 1 || pairEW < 1) continue;
        std::string row = pairField(pairNS) + " " + pairField(pairEW) + " " + scoreNS +
                          " " + scoreEW + " " + figure(VALUEAT(BoardPoints, board, i, ns)) + " " +
                          figure(VALUEAT(BoardPoints, board, i, ew));
        if (mp)
            row += " " + plain(FWRITE(100.0f * VALUEAT(BoardPercent, board, i, ns), 4, 0)) + " " +
                   plain(FWRITE(100.0f * VALUEAT(BoardPercent, board, i, ew), 4, 0));
        out += row + " " + note + "\n";
    }
}

// The ranking: pairs that tie (PAIRPLACES) share the rank of the first of them.
void totalScoreTable(std::string& out) {
    const bool mp = CalcType == CALC_MATCHPOINTS;
    tag(out, "TotalScoreTable",
        mp ? "\"Rank\\3R;PairId\\4R;TotalScore\\7R;TotalPercentage\\6R;Names\\40L\""
           : "\"Rank\\3R;PairId\\4R;TotalIMP\\7R;TotalVP\\6R;Names\\40L\"");
    const int pairs = REPORTPAIRS();
    const std::vector<int> place = PAIRPLACES();
    for (int i = 1; i <= pairs; ++i) {
        const int p = PlacementOrder.contains(i) ? PlacementOrder(i) : i;
        if (p < 1 || p > pairs) continue;
        const auto at = static_cast<std::size_t>(p);
        const int rank = at < place.size() ? place[at] : i;
        out += std::to_string(rank) + " " + pairField(p) + " " + figure(PairTotal(p)) + " " +
               figure(PairPercent(p)) + " " +
               quoted(PLAYERNAME(p, 1, NameLength) + " - " + PLAYERNAME(p, 2, NameLength)) + "\n";
    }
}

} // namespace

// Every board that belongs to a set, in order, each as one game; the ranking
// in the first. Reads the header, Results, the points, Movement, SetEntries and
// the pair arrays.
std::string PBNEXPORT() {
    std::string out = "% PBN 2.1\n% Content-type: text/x-pbn; charset=UTF-8\n% Creator: ORLA " ORLA_VERSION "\n";
    bool first = true;
    for (int b = 1; b <= REPORTBOARDS(); ++b) {
        const int k = SETOFBOARD(b);
        if (k == 0) continue;
        out += "\n";
        gameTags(out, b);
        scoreTable(out, b, k);
        if (first) totalScoreTable(out);
        first = false;
    }
    if (first) {
        out += "\n";
        gameTags(out, 0);
        totalScoreTable(out);
    }
    return out;
}
