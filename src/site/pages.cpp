// The pages of the results site, one routine per page kind, each built from the
// open tournament's arrays and the ranking the reports use.
#include "core/cp1250.h"
#include "core/results.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "hands/hands.h"
#include "players/players.h"
#include "reports/reportlines.h"
#include "reports/reports.h"
#include "scoring/scoring.h"
#include "site/site.h"

#include <cmath>
#include <set>

namespace {

const char* const SuitSymbols[5] = {"", "\u2663", "\u2666", "\u2665", "\u2660"};
const char* const SuitNames[5] = {"", "clubs", "diamonds", "hearts", "spades"};
const char* const HandNames[5] = {"", "North", "West", "East", "South"};

// A suit symbol, hearts and diamonds red; read out by its name.
std::string suitHtml(int suit) {
    return std::string("<span class=\"") + (suit == 2 || suit == 3 ? "red" : "black") +
           "\" role=\"img\" aria-label=\"" + SuitNames[suit] + "\">" + SuitSymbols[suit] + "</span>";
}

// A number as the reports write it, without the padding.
std::string fixed(float v, int decimals) {
    std::string t = FWRITE(v, 20, decimals, true);
    t.erase(0, t.find_first_not_of(' '));
    return t;
}

std::string text(const std::string& cp1250) {
    return HTMLESCAPE(CP1250TOUTF8(cp1250));
}

std::string playerHtml(int p, int j) {
    return text(PLAYERNAME(p, j, NameLength));
}

std::string namesHtml(int p) {
    const std::string a = playerHtml(p, 1), b = playerHtml(p, 2);
    if (a.empty() || b.empty()) return a + b;
    return a + " \u2013 " + b;
}

std::string pairId(int p) {
    std::string id = TRIMMED(PAIRID(p, 2));
    id.erase(0, id.find_first_not_of(' '));
    return text(id);
}

std::string pairLink(int p, const std::string& prefix = "") {
    if (p < 1 || p > REPORTPAIRS()) return "";
    return "<a href=\"" + prefix + "pair-" + std::to_string(p) + ".html\">" + pairId(p) + "</a>";
}

std::string boardLink(int b) {
    return "<a href=\"board-" + std::to_string(b) + ".html\">" + std::to_string(b) + "</a>";
}

// A table in its sideways-scrolling box.
std::string tableOpen(const std::string& caption, const std::string& cls = "") {
    return "<div class=\"scroll\"><table" + (cls.empty() ? "" : " class=\"" + cls + "\"") +
           ">\n<caption>" + caption + "</caption>\n";
}
const char* const TableClose = "</tbody>\n</table></div>\n";

std::string headRow(const std::vector<std::string>& titles) {
    std::string h = "<thead><tr>";
    for (const std::string& t : titles) h += "<th scope=\"col\">" + t + "</th>";
    return h + "</tr></thead>\n<tbody>\n";
}

std::string cell(const std::string& content, const char* cls = nullptr) {
    return std::string("<td") + (cls ? std::string(" class=\"") + cls + "\"" : "") + ">" + content +
           "</td>";
}
std::string num(const std::string& content) {
    return cell(content, "num");
}

// The page around `body`: `root` leads from the page to the site's top.
std::string page(const std::string& title, const std::string& root, const std::string& body,
                 bool ratingList, const std::string& eveningLink = "") {
    std::string h = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                    "<title>" +
                    title + "</title>\n<link rel=\"stylesheet\" href=\"" + root +
                    "style.css\">\n</head>\n<body>\n<nav><a href=\"" + root + "index.html\">Season</a>";
    if (!eveningLink.empty()) h += " <a href=\"index.html\">" + eveningLink + "</a>";
    if (ratingList) h += " <a href=\"" + root + "ratings.html\">Rating list</a>";
    return h + "</nav>\n<main>\n" + body + "</main>\n</body>\n</html>\n";
}

std::string eveningLine(const SiteEvening& e) {
    return "<p class=\"sub\">" + HTMLESCAPE(e.date) + " \u00b7 " + HTMLESCAPE(e.movement) +
           " \u00b7 " + HTMLESCAPE(e.calc) + " \u00b7 " + std::to_string(e.pairs) + " pairs \u00b7 " +
           std::to_string(e.boards) + " boards</p>\n";
}

bool matchpoints() {
    return CalcType == CALC_MATCHPOINTS;
}
std::string pointsTitle() {
    return matchpoints() ? "MP" : "IMP";
}

bool boardValid(int b) {
    return !BoardValid.contains(b) || ISTRUE(BoardValid(b));
}

// Where a result is read: the side (1 movement NS, 2 movement EW) that sat
// North-South, and what the result was.
struct Seated {
    DecodedResult r;
    int nsSide;          // 1, or 2 for an inverted result
    bool passed = false; // no score, and the table's journal says passed out
};
bool isPass(const std::string& c) {
    return c == "PASS" || c == "P" || c == "pass" || c == "Pass";
}
Seated seated(int b, int i, const SiteContracts* contracts = nullptr) {
    Seated s{DECODERESULT(RESULTAT(b, i)), 1};
    if (s.r.form == RESULT_INVERTED) s.nsSide = 2;
    if (s.r.form == RESULT_NONE && contracts) {
        const auto it = contracts->find({b, i});
        s.passed = it != contracts->end() && isPass(it->second.contract);
    }
    return s;
}

// The score cell of a result, from North-South's side or (own > 0) from the
// side of the pair on movement side `own`.
std::string scoreText(const Seated& s, int own = 0) {
    switch (s.r.form) {
    case RESULT_NONE:
        return s.passed ? "0" : "no result";
    case RESULT_ADJUSTED:
        return "adjusted";
    default: {
        long long score = 10LL * s.r.score;
        if (own > 0 && own != s.nsSide) score = -score;
        return std::to_string(score);
    }
    }
}

// What a result is when it is not a plain score.
std::string noteText(const Seated& s, int b, int i) {
    const int k = SETOFBOARD(b);
    switch (s.r.form) {
    case RESULT_NONE:
        return s.passed ? "Passed out" : "No result entered; scored as 0";
    case RESULT_INVERTED:
        return "Inverted: " + pairId(Movement(k, i, 2)) + " sat North-South";
    case RESULT_ADJUSTED:
        if (matchpoints())
            return "Adjusted score: " + std::to_string(10 * s.r.adjustedNS) + "% \u2013 " +
                   std::to_string(10 * s.r.adjustedEW) + "%";
        return "Adjusted score: " + std::to_string(s.r.adjustedNS) + " \u2013 " +
               std::to_string(s.r.adjustedEW) + " IMP";
    default:
        return "";
    }
}

// "4SX" as 4 and the spade symbol and X; "PASS" as "Pass". What cannot be read
// is shown as it stands.
std::string contractHtml(const std::string& c) {
    if (isPass(c)) return "Pass";
    if (c.size() >= 2 && c[0] >= '1' && c[0] <= '7') {
        const std::string rest = c.substr(2);
        if (rest.empty() || rest == "X" || rest == "XX") {
            const char s = static_cast<char>(std::toupper(static_cast<unsigned char>(c[1])));
            const int suit = s == 'C' ? 1 : s == 'D' ? 2 : s == 'H' ? 3 : s == 'S' ? 4 : 0;
            if (suit > 0) return c.substr(0, 1) + suitHtml(suit) + rest;
            if (s == 'N') return c.substr(0, 1) + "NT" + rest;
        }
    }
    return HTMLESCAPE(c);
}

// The tricks as the result of the contract: "=", "+1", "-2".
std::string tricksHtml(const SiteContract& c) {
    if (c.tricks < 0 || c.tricks > 13) return "";
    if (c.contract.empty() || c.contract[0] < '1' || c.contract[0] > '7') return std::to_string(c.tricks);
    const int over = c.tricks - 6 - (c.contract[0] - '0');
    return over == 0 ? "=" : over > 0 ? "+" + std::to_string(over) : "\u2212" + std::to_string(-over);
}

bool boardHasContracts(int b, const SiteContracts& contracts) {
    const auto it = contracts.lower_bound({b, 0});
    return it != contracts.end() && it->first.first == b;
}

std::string contractCells(int b, int i, const SiteContracts& contracts) {
    const auto it = contracts.find({b, i});
    if (it == contracts.end()) return cell("") + cell("") + cell("");
    const SiteContract& c = it->second;
    const std::string by = c.declarer == "N" || c.declarer == "E" || c.declarer == "S" || c.declarer == "W"
                               ? c.declarer
                               : HTMLESCAPE(c.declarer);
    return cell(contractHtml(c.contract)) + cell(by) + cell(tricksHtml(c));
}

// The zone's text and the dealer of board b.
std::string vulnerableText(int b) {
    switch (GETBOARDZONE(b) & 3) {
    case 1:
        return "NS";
    case 2:
        return "EW";
    case 3:
        return "All";
    default:
        return "None";
    }
}
const char* const DealerNames[4] = {"North", "East", "South", "West"};

// The ranks of one suit of a hand with tens as "10".
std::string ranksHtml(int b, int hand, int suit) {
    const std::string t = SUITTEXT(b, hand, suit);
    if (t.empty()) return "\u2014";
    std::string out;
    for (const char c : t) out += c == 'T' ? std::string("10") : std::string(1, c);
    return out;
}

std::string handHtml(int b, int hand) {
    std::string h = std::string("<div class=\"hand ") + HandNames[hand] + "\"><h3>" + HandNames[hand] + "</h3><ul>";
    for (int suit = 4; suit >= 1; --suit)
        h += "<li>" + suitHtml(suit) + " " + ranksHtml(b, hand, suit) + "</li>";
    return h + "</ul></div>\n";
}

// Par contracts with their strains as symbols: "4S-NS" as 4 and a spade.
std::string parHtml(const std::string& par) {
    std::string out;
    for (std::size_t i = 0; i < par.size(); ++i) {
        const char c = par[i];
        const bool afterLevel = i > 0 && par[i - 1] >= '1' && par[i - 1] <= '7';
        const int suit = c == 'C' ? 1 : c == 'D' ? 2 : c == 'H' ? 3 : c == 'S' ? 4 : 0;
        if (afterLevel && suit > 0) out += suitHtml(suit);
        else if (afterLevel && c == 'N') out += "NT";
        else out += HTMLESCAPE(std::string(1, c));
    }
    return out;
}

std::string dealHtml(int b, const DoubleDummy* dd) {
    std::string h = "<section>\n<h2>Deal</h2>\n<div class=\"deal\">\n";
    for (int hand : {HAND_NORTH, HAND_WEST, HAND_EAST, HAND_SOUTH}) h += handHtml(b, hand);
    h += "<div class=\"compass\">Board " + std::to_string(b) + "<br>Dealer " + DealerNames[(b - 1) % 4] +
         "<br>Vul. " + vulnerableText(b) + "</div>\n</div>\n";
    if (dd && dd->valid) {
        h += tableOpen("Double-dummy tricks", "dd");
        h += "<thead><tr><th scope=\"col\">Declarer</th><th scope=\"col\">NT</th>";
        for (int s = 4; s >= 1; --s) h += "<th scope=\"col\">" + suitHtml(s) + "</th>";
        h += "</tr></thead>\n<tbody>\n";
        for (int hand : {HAND_NORTH, HAND_SOUTH, HAND_EAST, HAND_WEST}) {
            h += std::string("<tr><th scope=\"row\">") + HandNames[hand] + "</th>";
            h += num(std::to_string(dd->tricks[hand][STRAIN_NT]));
            for (int s = 4; s >= 1; --s) h += num(std::to_string(dd->tricks[hand][s]));
            h += "</tr>\n";
        }
        h += TableClose;
        h += "<p class=\"par\">" + parHtml(PARTEXT(*dd)) + "</p>\n";
    }
    return h + "</section>\n";
}

// The points of side `side` of entry i of board b as cells: the points, and for
// matchpoints the percentage; a faulty board's as not scored.
std::string pointCells(int b, int i, int side) {
    if (!boardValid(b)) return cell("not scored") + (matchpoints() ? cell("") : "");
    std::string c = num(fixed(VALUEAT(BoardPoints, b, i, side), 2));
    if (matchpoints()) c += num(fixed(100.0f * VALUEAT(BoardPercent, b, i, side), 0));
    return c;
}

} // namespace

std::string HTMLESCAPE(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    // A control character (a name from an old or damaged file) has no place in
    // HTML: it is shown as its picture, as in the program's messages.
    for (const char c : CONTROLPICTURES(utf8, true)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

// The places follow the ranking report's rule: a pair whose total and
// percentage equal those of the pair listed above it shares that pair's place.
std::vector<int> SITEPLACES() {
    // The ranking's own places (rounding noise shares a place), by ranking line.
    const std::vector<int> byPair = PAIRPLACES();
    const int pairs = REPORTPAIRS();
    std::vector<int> places(static_cast<std::size_t>(pairs) + 1, 0);
    for (int i = 1; i <= pairs; ++i) {
        const int p = PlacementOrder.contains(i) ? PlacementOrder(i) : i;
        const bool known = p >= 1 && static_cast<std::size_t>(p) < byPair.size() && byPair[static_cast<std::size_t>(p)] > 0;
        places[static_cast<std::size_t>(i)] = known ? byPair[static_cast<std::size_t>(p)] : i;
    }
    return places;
}

std::string SITESTYLESHEET() {
    return R"(/* The results site: one style sheet for every page. */
:root { color-scheme: light; --line: #c8ccd2; --head: #eef1f5; --accent: #1d4f91; }
* { box-sizing: border-box; }
body { margin: 0; font-family: system-ui, "DejaVu Sans", Arial, sans-serif; font-size: 16px;
       line-height: 1.4; color: #111; background: #fff; }
nav { background: var(--accent); padding: 0.5rem 1rem; }
nav a { color: #fff; margin-right: 1.2rem; text-decoration: none; font-weight: 600; }
nav a:hover, nav a:focus { text-decoration: underline; }
main { padding: 0.5rem 1rem 2rem; max-width: 72rem; margin: 0 auto; }
h1 { font-size: 1.4rem; margin: 0.6rem 0 0.2rem; overflow-wrap: anywhere; }
h2 { font-size: 1.15rem; margin: 1.2rem 0 0.4rem; }
h3 { font-size: 1rem; margin: 0 0 0.2rem; }
.sub { color: #444; margin: 0 0 0.8rem; }
a { color: var(--accent); }
.scroll { overflow-x: auto; -webkit-overflow-scrolling: touch; margin: 0 0 1rem; max-width: 100%; }
table { border-collapse: collapse; min-width: 100%; }
caption { text-align: left; font-weight: 600; padding: 0.3rem 0; }
th, td { border-bottom: 1px solid var(--line); padding: 0.3rem 0.5rem; text-align: left;
         white-space: nowrap; vertical-align: top; }
thead th { background: var(--head); }
td.num, th.num { text-align: right; font-variant-numeric: tabular-nums; }
td.names { white-space: normal; min-width: 12rem; }
td.note { white-space: normal; color: #7a3b00; min-width: 10rem; }
tbody tr:nth-child(even) { background: #f8f9fb; }
.red { color: #c00000; }
.black { color: #000; }
.boards { display: flex; flex-wrap: wrap; gap: 0.3rem; padding: 0; list-style: none; }
.boards a { display: inline-block; min-width: 2.6rem; padding: 0.35rem 0.5rem; text-align: center;
            border: 1px solid var(--line); border-radius: 4px; text-decoration: none; }
.notice { border-left: 4px solid #b35900; padding: 0.3rem 0.6rem; background: #fff4e5; }
.deal { display: grid; grid-template-columns: repeat(3, minmax(6.5rem, max-content)); gap: 0.4rem;
        margin: 0 0 1rem; }
.deal ul { list-style: none; margin: 0; padding: 0; font-size: 1.05rem; }
.hand.North { grid-column: 2; grid-row: 1; }
.hand.West { grid-column: 1; grid-row: 2; }
.hand.East { grid-column: 3; grid-row: 2; }
.hand.South { grid-column: 2; grid-row: 3; }
.compass { grid-column: 2; grid-row: 2; border: 1px solid var(--line); border-radius: 4px;
           padding: 0.4rem; font-size: 0.85rem; text-align: center; align-self: center; }
table.dd { min-width: 0; }
.par { margin-top: -0.5rem; }
@media (max-width: 480px) {
  main { padding: 0.4rem 0.5rem 1.5rem; }
  th, td { padding: 0.25rem 0.35rem; }
  .deal { grid-template-columns: repeat(3, minmax(5.5rem, max-content)); }
}
@media print {
  @page { size: A4; margin: 14mm; }
  body { font-size: 10pt; }
  nav { display: none; }
  main { max-width: none; padding: 0; }
  .scroll { overflow: visible; }
  th, td { white-space: normal; }
  tr, .deal { break-inside: avoid; }
  a { color: inherit; text-decoration: none; }
  .red { color: #c00000; print-color-adjust: exact; -webkit-print-color-adjust: exact; }
}
)";
}

std::string SITEINDEXPAGE(const std::vector<SiteEvening>& evenings, bool ratingList) {
    std::string b = "<h1>Results of the season</h1>\n";
    if (evenings.empty()) b += "<p>No evenings yet.</p>\n";
    else {
        b += tableOpen("Evenings, newest first");
        b += headRow({"Date", "Evening", "Movement", "Pairs", "Winners"});
        for (const SiteEvening& e : evenings) {
            std::string winners;
            for (const std::string& w : e.winners) winners += (winners.empty() ? "" : "<br>") + HTMLESCAPE(w);
            b += "<tr>" + cell(HTMLESCAPE(e.date)) + cell("<a href=\"" + e.slug + "/index.html\">" +
                                                         HTMLESCAPE(e.name.empty() ? e.file : e.name) +
                                                         "</a>", "names") +
                 cell(HTMLESCAPE(e.movement) + ", " + HTMLESCAPE(e.calc)) + num(std::to_string(e.pairs)) +
                 cell(winners, "names") + "</tr>\n";
        }
        b += TableClose;
    }
    return page("Results of the season", "", b, ratingList);
}

std::string SITEEVENINGPAGE(const SiteEvening& e, bool ratingList) {
    const int pairs = REPORTPAIRS();
    const bool mp = matchpoints();
    const std::string title = HTMLESCAPE(e.name.empty() ? e.file : e.name);
    std::string b = "<h1>" + title + "</h1>\n" + eveningLine(e);
    if (RatingMode != 0) b += "<p>Strength of the field: " + std::to_string(TournamentStrength) + "</p>\n";

    std::vector<std::string> titles = {"Place", "Pair", "Names", mp ? "MP" : "IMP", mp ? "%" : "VP"};
    if (!mp) titles.push_back("IMP/board");
    if (RatingMode != 0) {
        titles.push_back("Rating");
        titles.push_back(RatingMode > 0 ? "Masters" : "Rating change");
    }
    b += tableOpen("Ranking");
    b += headRow(titles);
    const std::vector<int> places = SITEPLACES();
    for (int i = 1; i <= pairs; ++i) {
        const int p = PlacementOrder.contains(i) ? PlacementOrder(i) : i;
        if (p < 1 || p > pairs) continue;
        b += "<tr>" + num(std::to_string(places[static_cast<std::size_t>(i)]) + ".") + cell(pairLink(p)) +
             cell(namesHtml(p), "names") + num(fixed(PairTotal(p), 2)) + num(fixed(PairPercent(p), 2));
        if (!mp) b += num(fixed(VALUEAT(PairImpPerBoard, p), 2));
        if (RatingMode != 0) {
            const long long r1 = PlayerRating.contains(p, 2) ? PlayerRating(p, 1) : 0;
            const long long r2 = PlayerRating.contains(p, 2) ? PlayerRating(p, 2) : 0;
            b += num(std::to_string((r1 + r2 + 1) / 2)) +
                 num(fixed(VALUEAT(RatingChange, p, 1), 1) + " / " + fixed(VALUEAT(RatingChange, p, 2), 1));
        }
        b += "</tr>\n";
    }
    b += TableClose;

    bool anyPenalty = false;
    for (int p = 1; p <= pairs; ++p) anyPenalty = anyPenalty || PairPenalty(p) > 0.0f;
    if (anyPenalty) {
        b += tableOpen("Penalties (included in the totals)");
        b += headRow({"Pair", "Names", "Penalty"});
        for (int p = 1; p <= pairs; ++p)
            if (PairPenalty(p) > 0.0f)
                b += "<tr>" + cell(pairLink(p)) + cell(namesHtml(p), "names") +
                     num(fixed(PairPenalty(p), 1) + " " + pointsTitle()) + "</tr>\n";
        b += TableClose;
    }

    if (MovementType == MOVE_BERGER) {
        std::vector<std::string> mt = {"Round", "Boards", "NS", "EW", pointsTitle() + " NS", pointsTitle() + " EW"};
        if (!mp) {
            mt.push_back("VP NS");
            mt.push_back("VP EW");
        }
        b += tableOpen("Matches");
        b += headRow(mt);
        for (int k = 1; k <= REPORTSETS(); ++k)
            for (int i = 1; i <= REPORTENTRIES(k); ++i) {
                const int ns = Movement(k, i, 1), ew = Movement(k, i, 2);
                if (ns == 0 || ew == 0) continue;
                b += "<tr>" + num(std::to_string(k)) +
                     cell(std::to_string((k - 1) * BoardsPerRound + 1) + "\u2013" + std::to_string(k * BoardsPerRound)) +
                     cell(pairLink(ns)) + cell(pairLink(ew)) + num(fixed(VALUEAT(MatchPoints, k, i, 1), 2)) +
                     num(fixed(VALUEAT(MatchPoints, k, i, 2), 2));
                if (!mp) b += num(fixed(VALUEAT(MatchVP, k, i, 1), 0)) + num(fixed(VALUEAT(MatchVP, k, i, 2), 0));
                b += "</tr>\n";
            }
        b += TableClose;
    }

    b += "<h2>Boards</h2>\n<ul class=\"boards\">";
    for (int bd = 1; bd <= REPORTBOARDS(); ++bd) {
        if (SETOFBOARD(bd) == 0) continue;
        b += "<li>" + boardLink(bd) + (boardValid(bd) ? "" : " (faulty)") + "</li>";
    }
    b += "</ul>\n";
    return page(title, "../", b, ratingList);
}

std::string SITEBOARDPAGE(const SiteEvening& e, int board, const SiteContracts& contracts,
                          const DoubleDummy* dd, bool ratingList) {
    const bool mp = matchpoints();
    const int k = SETOFBOARD(board);
    const std::string name = HTMLESCAPE(e.name.empty() ? e.file : e.name);
    std::string b = "<h1>Board " + std::to_string(board) + "</h1>\n<p class=\"sub\">" + name + " \u00b7 " +
                    HTMLESCAPE(e.date) + " \u00b7 Dealer " + DealerNames[(board - 1) % 4] +
                    " \u00b7 Vulnerable: " + vulnerableText(board) + "</p>\n";
    if (!boardValid(board))
        b += "<p class=\"notice\">Faulty board: it is not scored and counts for nobody.</p>\n";
    if (ISTRUE(HasHands) && DEALCOMPLETE(board)) b += dealHtml(board, dd);

    const bool withContracts = boardHasContracts(board, contracts);
    bool notes = false;
    for (int i = 1; i <= REPORTENTRIES(k); ++i) notes = notes || seated(board, i).r.form != RESULT_ORDINARY;
    std::vector<std::string> titles = {"NS", "EW"};
    if (withContracts) {
        titles.push_back("Contract");
        titles.push_back("By");
        titles.push_back("Tricks");
    }
    titles.push_back("Score NS");
    for (const char* side : {" NS", " EW"}) {
        titles.push_back(pointsTitle() + side);
        if (mp) titles.push_back(std::string("%") + side);
    }
    if (notes) titles.push_back("Note");
    b += tableOpen("Traveller of board " + std::to_string(board));
    b += headRow(titles);
    for (int i = 1; i <= REPORTENTRIES(k); ++i) {
        const Seated s = seated(board, i, &contracts);
        const int ns = Movement(k, i, s.nsSide), ew = Movement(k, i, 3 - s.nsSide);
        b += "<tr>" + cell(pairLink(ns)) + cell(pairLink(ew));
        if (withContracts) b += contractCells(board, i, contracts);
        b += num(scoreText(s)) + pointCells(board, i, s.nsSide) + pointCells(board, i, 3 - s.nsSide);
        if (notes) b += cell(noteText(s, board, i), "note");
        b += "</tr>\n";
    }
    b += TableClose;

    // How often each score came up, most often first.
    std::vector<float> values;
    for (int i = 1; i <= REPORTENTRIES(k); ++i) values.push_back(RESULTAT(board, i));
    std::vector<int> count, first;
    int m = 0;
    GETFREQUENCIES(static_cast<int>(values.size()), values, count, first, m);
    if (m > 0) {
        std::vector<std::string> ft = {"Score NS", "Times"};
        for (const char* side : {" NS", " EW"}) {
            ft.push_back(pointsTitle() + side);
            if (mp) ft.push_back(std::string("%") + side);
        }
        b += tableOpen("Frequency of the scores");
        b += headRow(ft);
        for (int g = 0; g < m; ++g) {
            const int i = first[static_cast<std::size_t>(g)];
            const Seated s = seated(board, i);
            std::string score = scoreText(s);
            if (s.r.form == RESULT_INVERTED) score += " (inverted)";
            if (s.r.form == RESULT_ADJUSTED) score = HTMLESCAPE(noteText(s, board, i));
            b += "<tr>" + cell(score) + num(std::to_string(count[static_cast<std::size_t>(g)])) +
                 pointCells(board, i, s.nsSide) + pointCells(board, i, 3 - s.nsSide) + "</tr>\n";
        }
        b += TableClose;
    }

    b += "<p>";
    if (board > 1) b += "<a href=\"board-" + std::to_string(board - 1) + ".html\">\u2190 Board " + std::to_string(board - 1) + "</a> ";
    if (board < REPORTBOARDS() && SETOFBOARD(board + 1) != 0)
        b += "<a href=\"board-" + std::to_string(board + 1) + ".html\">Board " + std::to_string(board + 1) + " \u2192</a>";
    b += "</p>\n";
    return page("Board " + std::to_string(board) + " \u2013 " + name, "../", b, ratingList, "Ranking");
}

std::string SITEPAIRPAGE(const SiteEvening& e, int pair, const SiteContracts& contracts, bool ratingList) {
    const bool mp = matchpoints();
    const std::string name = HTMLESCAPE(e.name.empty() ? e.file : e.name);
    const std::vector<int> places = SITEPLACES();
    int place = 0;
    for (std::size_t i = 1; i < places.size(); ++i)
        if ((PlacementOrder.contains(static_cast<int>(i)) ? PlacementOrder(static_cast<int>(i)) : static_cast<int>(i)) == pair)
            place = places[i];
    std::string b = "<h1>Pair " + pairId(pair) + ": " + namesHtml(pair) + "</h1>\n<p class=\"sub\">" + name +
                    " \u00b7 " + HTMLESCAPE(e.date) + " \u00b7 place " + std::to_string(place) + ", " +
                    fixed(PairTotal(pair), 2) + " " + pointsTitle() + ", " + fixed(PairPercent(pair), 2) +
                    (mp ? " %" : " VP") + "</p>\n";

    const bool withContracts = !contracts.empty();
    std::vector<std::string> titles = {"Board", "Seat", "Opponents"};
    if (withContracts) {
        titles.push_back("Contract");
        titles.push_back("By");
        titles.push_back("Tricks");
    }
    titles.push_back("Score");
    titles.push_back(pointsTitle());
    if (mp) titles.push_back("%");
    titles.push_back("Running total");
    titles.push_back("Note");
    b += tableOpen("Score card of pair " + pairId(pair));
    b += headRow(titles);
    float running = 0.0f;
    for (int bd = 1; bd <= REPORTBOARDS(); ++bd) {
        const int k = SETOFBOARD(bd);
        for (int i = 1; i <= REPORTENTRIES(k); ++i) {
            const int ns = Movement(k, i, 1), ew = Movement(k, i, 2);
            if (ns != pair && ew != pair) continue;
            const int side = ns == pair ? 1 : 2;
            const int opponent = side == 1 ? ew : ns;
            const Seated s = seated(bd, i, &contracts);
            const bool sitsNS = side == s.nsSide;
            running += boardValid(bd) ? VALUEAT(BoardPoints, bd, i, side) : 0.0f;
            b += "<tr>" + num(boardLink(bd)) + cell(sitsNS ? "NS" : "EW") +
                 cell(pairLink(opponent) + (opponent > 0 ? " " + namesHtml(opponent) : ""), "names");
            if (withContracts) b += contractCells(bd, i, contracts);
            b += num(scoreText(s, side)) + pointCells(bd, i, side) + num(fixed(running, 2));
            std::string note = noteText(s, bd, i);
            if (!boardValid(bd)) note = "Faulty board";
            b += cell(HTMLESCAPE(note), "note") + "</tr>\n";
        }
    }
    b += TableClose;
    if (PairPenalty(pair) > 0.0f)
        b += "<p>Penalty: " + fixed(PairPenalty(pair), 1) + " " + pointsTitle() + "</p>\n";
    b += "<p>Total: " + fixed(PairTotal(pair), 2) + " " + pointsTitle() + ", " + fixed(PairPercent(pair), 2) +
         (mp ? " %" : " VP") + "</p>\n";

    if (MovementType == MOVE_BERGER) {
        std::vector<std::string> mt = {"Round", "Opponents", pointsTitle(), pointsTitle() + " against"};
        if (!mp) mt.push_back("VP");
        b += tableOpen("Matches of pair " + pairId(pair));
        b += headRow(mt);
        for (int k = 1; k <= REPORTSETS(); ++k)
            for (int i = 1; i <= REPORTENTRIES(k); ++i) {
                const int ns = Movement(k, i, 1), ew = Movement(k, i, 2);
                if (ns != pair && ew != pair) continue;
                const int side = ns == pair ? 1 : 2;
                const int opponent = side == 1 ? ew : ns;
                b += "<tr>" + num(std::to_string(k)) + cell(pairLink(opponent), "names") +
                     num(fixed(VALUEAT(MatchPoints, k, i, side), 2)) +
                     num(fixed(VALUEAT(MatchPoints, k, i, 3 - side), 2));
                if (!mp) b += num(fixed(VALUEAT(MatchVP, k, i, side), 0));
                b += "</tr>\n";
            }
        b += TableClose;
    }
    return page("Pair " + pairId(pair) + " \u2013 " + name, "../", b, ratingList, "Ranking");
}

std::string SITERATINGPAGE() {
    SORTPLAYERS(SORT_RATING);
    std::string b = "<h1>Rating list</h1>\n";
    b += tableOpen("Players by rating, with the last change");
    b += headRow({"Place", "Name", "Rating", "Last change"});
    int place = 0, previousRating = 0;
    for (int k = 1; k <= RegisteredCount; ++k) {
        const int r = RegOrder(k);
        if (r < 1 || !RegName.contains(r)) continue;
        if (k == 1 || RegRating(r) != previousRating) place = k;
        previousRating = RegRating(r);
        std::string n(RegName(r).c, RegNameLength);
        std::replace(n.begin(), n.end(), '\0', ' ');
        const int delta = RegDelta(r);
        b += "<tr>" + num(std::to_string(place) + ".") + cell(text(TRIMMED(n)), "names") +
             num(std::to_string(RegRating(r))) + num((delta >= 0 ? "+" : "") + std::to_string(delta)) + "</tr>\n";
    }
    b += TableClose;
    return page("Rating list", "", b, true);
}
