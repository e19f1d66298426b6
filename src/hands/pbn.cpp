// The deals in Portable Bridge Notation: reading the Board and Deal tags of a
// hand-record file from a dealing machine or a dealing program, and writing the
// deals of the open tournament in the same form.
#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/tournament.h"
#include "hands/hands.h"
#include "scoring/scoring.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

// PBN lists the hands clockwise from the first: North, East, South, West.
const char* const Compass = "NESW";
constexpr int CompassHand[4] = {HAND_NORTH, HAND_EAST, HAND_SOUTH, HAND_WEST};
const char* const HandNames[5] = {"", "North", "West", "East", "South"};
const char* const SuitNames[5] = {"", "clubs", "diamonds", "hearts", "spades"};
const char* const RankNames[14] = {"", "two", "three", "four", "five", "six", "seven", "eight",
                                   "nine", "ten", "jack", "queen", "king", "ace"};

std::string at(int line, const std::string& what) {
    return "Line " + std::to_string(line) + ": " + what + ".";
}

// A piece of the file as a message quotes it: at most 80 bytes, cut between two
// characters, so that a line of any length still gives a message that fits on the
// screen.
std::string quoted(const std::string& s) {
    constexpr std::size_t Most = 80;
    if (s.size() <= Most) return "\"" + s + "\"";
    std::size_t n = Most;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return "\"" + s.substr(0, n) + "...\"";
}

std::string trim(const std::string& s) {
    const auto a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

// Splits "[Name "value"]" into its name and value; false when the line is not one.
bool parseTag(const std::string& line, std::string& name, std::string& value) {
    std::size_t i = 1;
    while (i < line.size() && (std::isalnum(static_cast<unsigned char>(line[i])) || line[i] == '_'))
        ++i;
    name = line.substr(1, i - 1);
    if (name.empty()) return false;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size() || line[i] != '"') return false;
    value.clear();
    for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        value += line[i];
    }
    if (i >= line.size()) return false;
    ++i;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    return i < line.size() && line[i] == ']';
}

// Reads a Deal value into `cards`; "" when it is sound, else what is wrong with it.
std::string parseDeal(const std::string& value, Deal& cards) {
    cards.fill(0);
    const std::string v = trim(value);
    if (v.size() < 2 || v[1] != ':' || std::string(Compass).find(static_cast<char>(std::toupper(static_cast<unsigned char>(v[0])))) == std::string::npos)
        return "the deal " + quoted(value) + " does not start with the first hand (N:, E:, S: or W:)";
    int seat = static_cast<int>(std::string(Compass).find(static_cast<char>(std::toupper(static_cast<unsigned char>(v[0])))));
    std::size_t i = 2;
    for (int n = 0; n < 4; ++n, seat = (seat + 1) % 4) {
        while (i < v.size() && (v[i] == ' ' || v[i] == '\t')) ++i;
        const std::size_t end = std::min(v.find_first_of(" \t", i), v.size());
        const std::string handText = v.substr(i, end - i);
        i = end;
        const int hand = CompassHand[seat];
        if (handText.empty() || handText == "-")
            return std::string("the deal does not give the cards of ") + HandNames[hand];
        int suit = 4, count = 0;
        for (const char ch : handText) {
            if (ch == '.') {
                if (--suit < 1) return std::string("the hand of ") + HandNames[hand] + " has more than four suits";
                continue;
            }
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            const auto p = std::string(RankLetters).find(c);
            if (c == 0 || p == std::string::npos)
                return std::string("the hand of ") + HandNames[hand] + " holds \"" + ch + "\", which is not a card";
            std::int8_t& card = cards[CARDNUMBER(suit, static_cast<int>(p) + 1) - 1];
            if (card != 0)
                return std::string("the deal gives the ") + RankNames[p + 1] + " of " + SuitNames[suit] + " twice";
            card = static_cast<std::int8_t>(hand);
            ++count;
        }
        if (suit != 1) return std::string("the hand of ") + HandNames[hand] + " does not give four suits";
        if (count != 13)
            return std::string(HandNames[hand]) + " holds " + std::to_string(count) + " cards, not 13";
    }
    while (i < v.size() && (v[i] == ' ' || v[i] == '\t')) ++i;
    if (i < v.size()) return "the deal has more than four hands";
    return "";
}

struct Game {
    int board = 0, boardLine = 0;
    std::string boardText;
    bool hasDeal = false;
    int dealLine = 0;
    Deal cards{};
};

std::string pbnName() {
    std::string name(Header.TournamentName, TournamentNameLength);
    for (char& c : name)
        if (c == '\0') c = ' ';
    std::string out;
    const auto last = name.find_last_not_of(" ");
    name.erase(last == std::string::npos ? 0 : last + 1);
    for (const char c : CP1250TOUTF8(name)) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

} // namespace

std::string PBNDEALTEXT(const Deal& deal) {
    std::string s = "N:";
    for (int seat = 0; seat < 4; ++seat) {
        if (seat > 0) s += ' ';
        for (int suit = 4; suit >= 1; --suit) {
            if (suit < 4) s += '.';
            for (int r = 13; r >= 1; --r)
                if (deal[CARDNUMBER(suit, r) - 1] == CompassHand[seat]) s += RankLetters[r - 1];
        }
    }
    return s;
}

bool READPBNDEALS(const std::string& text, std::vector<PbnDeal>& deals, std::string& error) {
    deals.clear();
    error.clear();
    std::map<int, int> seen; // board -> line of its deal
    Game game;
    bool inComment = false;
    int commentLine = 0;
    // Ends a game: a deal needs a board number it alone has.
    auto finish = [&]() -> bool {
        if (game.hasDeal) {
            if (game.boardLine == 0) {
                error = at(game.dealLine, "the deal has no board number (a Board tag)");
                return false;
            }
            if (game.board < 1) {
                error = at(game.boardLine, quoted(game.boardText) + " is not a board number");
                return false;
            }
            if (const auto it = seen.find(game.board); it != seen.end()) {
                error = at(game.dealLine, "board " + std::to_string(game.board) +
                                              " is dealt a second time (first at line " +
                                              std::to_string(it->second) + ")");
                return false;
            }
            seen[game.board] = game.dealLine;
            deals.push_back({game.board, game.dealLine, game.cards});
        }
        game = Game{};
        return true;
    };
    std::size_t pos = 0;
    int lineNo = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lineNo == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        if (line.find('\0') != std::string::npos) {
            error = at(lineNo, "the file holds a NUL character; it is not a PBN text file");
            deals.clear();
            return false;
        }
        if (inComment) {
            if (line.find('}') != std::string::npos) inComment = false;
            continue;
        }
        const std::string t = trim(line);
        bool ok = true;
        if (t.empty()) {
            ok = finish();
        } else if (t[0] == '%' || t[0] == ';') {
            continue;
        } else if (t[0] == '{') {
            if (t.find('}') == std::string::npos) {
                inComment = true;
                commentLine = lineNo;
            }
        } else if (t[0] == '[') {
            std::string name, value;
            if (!parseTag(t, name, value)) {
                error = at(lineNo, quoted(t) + " is not a tag of the form [Name \"value\"]");
                ok = false;
            } else if (name == "Board") {
                game.boardLine = lineNo;
                game.boardText = trim(value);
                game.board = 0;
                const std::string& b = game.boardText;
                if (!b.empty() && b.size() <= 6 && b.find_first_not_of("0123456789") == std::string::npos)
                    game.board = std::stoi(b);
            } else if (name == "Deal") {
                if (game.hasDeal) {
                    error = at(lineNo, "a game has a second Deal tag");
                    ok = false;
                } else {
                    game.hasDeal = true;
                    game.dealLine = lineNo;
                    const std::string fault = parseDeal(value, game.cards);
                    if (!fault.empty()) {
                        error = at(lineNo, fault);
                        ok = false;
                    }
                }
            }
        }
        if (!ok) {
            deals.clear();
            return false;
        }
    }
    if (inComment) {
        error = at(commentLine, "the comment that starts here is never closed with }");
        deals.clear();
        return false;
    }
    if (!finish()) {
        deals.clear();
        return false;
    }
    return true;
}

std::string PBNHANDSEXPORT(int& count) {
    static const char* const zones[] = {"None", "NS", "EW", "All"};
    std::string out = "% PBN 2.1\n% EXPORT\n% Content-type: text/x-pbn; charset=UTF-8\n"
                      "% Creator: ORLA " ORLA_VERSION "\n";
    count = 0;
    for (int b = 1; b <= NumBoards; ++b) {
        if (!DEALCOMPLETE(b)) continue;
        ++count;
        out += "\n[Event \"" + pbnName() + "\"]\n[Site \"\"]\n[Date \"????.??.??\"]\n";
        out += "[Board \"" + std::to_string(b) + "\"]\n";
        out += std::string("[Dealer \"") + Compass[(b - 1) % 4] + "\"]\n";
        out += std::string("[Vulnerable \"") + zones[GETBOARDZONE(b) & 3] + "\"]\n";
        out += "[Deal \"" + PBNDEALTEXT(BOARDDEAL(b)) + "\"]\n";
    }
    return out;
}

bool IMPORTPBNHANDS(const std::string& text, int& count, int& leftOut, std::string& error) {
    count = 0;
    leftOut = 0;
    if (!TournamentOpen || !HandCards.allocated()) {
        error = "No tournament is open.";
        return false;
    }
    std::vector<PbnDeal> deals;
    if (!READPBNDEALS(text, deals, error)) return false;
    if (deals.empty()) {
        error = "The file holds no deals (no game with a Deal tag).";
        return false;
    }
    // A dealing machine's record is often longer than the evening: its boards
    // beyond the tournament's are left out, not a reason to refuse the rest.
    const auto beyond = std::remove_if(deals.begin(), deals.end(),
                                       [](const PbnDeal& d) { return d.board > NumBoards; });
    const int outside = static_cast<int>(deals.end() - beyond);
    deals.erase(beyond, deals.end());
    if (deals.empty()) {
        error = "The file holds no deal of a board of this tournament (1 to " + std::to_string(NumBoards) + ").";
        return false;
    }
    if (!ISTRUE(HasHands)) {
        HandCards.fill(0);
        HasHands = LTRUE;
        if (Ui.tournamentMenus) Ui.tournamentMenus(true, true);
    }
    for (const PbnDeal& d : deals)
        for (int k = 1; k <= 52; ++k) HandCards(k, d.board) = d.cards[k - 1];
    count = static_cast<int>(deals.size());
    leftOut = outside;
    SETSAVE(true);
    return true;
}

std::string PBNLEFTOUTTEXT(int leftOut) {
    if (leftOut == 0) return "";
    return std::to_string(leftOut) + (leftOut == 1 ? " deal" : " deals") + " of boards beyond " +
           std::to_string(NumBoards) + " left out";
}
