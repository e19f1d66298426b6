// The duplicate scoring table: made contracts, overtricks, undertricks.
#include "scoring/contract.h"

#include "scoring/scoring.h"

namespace {

constexpr char StrainLetters[] = "CDHSN";

// Undertrick penalty of the `down`-th trick down (1-based), doubled.
int doubledUndertrick(int down, bool vulnerable) {
    if (vulnerable) return down == 1 ? 200 : 300;
    return down == 1 ? 100 : down <= 3 ? 200 : 300;
}

} // namespace

bool PARSECONTRACT(const std::string& text, Contract& out) {
    if (text == "PASS") {
        out = Contract{};
        return true;
    }
    if (text.size() < 2 || text[0] < '1' || text[0] > '7') return false;
    Contract c;
    c.level = text[0] - '0';
    std::size_t at = 1;
    bool known = false;
    for (int s = 0; s < 5; ++s)
        if (text[at] == StrainLetters[s]) {
            c.strain = s;
            known = true;
        }
    if (!known) return false;
    ++at;
    if (c.strain == 4 && at < text.size() && text[at] == 'T') ++at;
    const std::string rest = text.substr(at);
    if (rest == "X")
        c.doubling = 1;
    else if (rest == "XX")
        c.doubling = 2;
    else if (!rest.empty())
        return false;
    out = c;
    return true;
}

std::string CONTRACTTEXT(const Contract& c) {
    if (c.level < 1 || c.level > 7 || c.strain < 0 || c.strain > 4) return "PASS";
    std::string text = std::to_string(c.level) + StrainLetters[c.strain];
    if (c.doubling == 1) text += "X";
    if (c.doubling == 2) text += "XX";
    return text;
}

int CONTRACTPOINTS(const Contract& c, int tricks, bool vulnerable) {
    if (c.level < 1 || c.level > 7 || tricks < 0 || tricks > 13) return 0;
    const int need = c.level + 6;
    const int factor = c.doubling == 0 ? 1 : 2 * c.doubling;
    if (tricks < need) {
        int points = 0;
        for (int down = 1; down <= need - tricks; ++down)
            points += c.doubling == 0 ? (vulnerable ? 100 : 50)
                                      : doubledUndertrick(down, vulnerable) * c.doubling;
        return -points;
    }
    const int trickValue = c.strain <= 1 ? 20 : 30;
    const int contractPoints = (c.level * trickValue + (c.strain == 4 ? 10 : 0)) * factor;
    int points = contractPoints;
    points += contractPoints >= 100 ? (vulnerable ? 500 : 300) : 50;
    if (c.level == 6) points += vulnerable ? 750 : 500;
    if (c.level == 7) points += vulnerable ? 1500 : 1000;
    points += 50 * c.doubling;
    const int over = tricks - need;
    points += over * (c.doubling == 0 ? trickValue : (vulnerable ? 200 : 100) * c.doubling);
    return points;
}

bool DECLARERVULNERABLE(char declarer, int board) {
    const int zone = GETBOARDZONE(board);
    const bool ns = declarer == 'N' || declarer == 'S';
    return ns ? (zone == 1 || zone == 3) : (zone == 2 || zone == 3);
}

int TABLESCORE(const Contract& c, char declarer, int tricks, int board) {
    if (c.level == 0) return 0;
    const int points = CONTRACTPOINTS(c, tricks, DECLARERVULNERABLE(declarer, board));
    const bool ns = declarer == 'N' || declarer == 'S';
    return (ns ? points : -points) / 10;
}
