#pragma once
// Evenings for the site's tests, written as the program writes them, and a small
// reader of the pages' tables.

#include "core/cp1250.h"
#include "core/results.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "scoring/compute.h"
#include "scoring/scoring.h"

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

// Opens a new tournament of the given shape (custom: `sets` board sets whose
// entries the caller fills in).
inline bool NEWEVENING(int movement, int calc, int pairs, int rounds, int perRound, const std::string& name,
                       int sets = 0) {
    RESETTOURNAMENTSTATE();
    DEFAULTHEADER();
    MovementType = movement;
    CalcType = calc;
    NumPairs = pairs;
    NumRounds = rounds;
    BoardsPerRound = perRound;
    NumBoards = (sets > 0 ? sets : rounds) * perRound;
    std::string n;
    UTF8TOCP1250(name, n);
    SETFIELD(Header.TournamentName, TournamentNameLength, n);
    if (movement == MOVE_CUSTOM) {
        NumBoardSets = sets;
        return INITTOURNAMENT();
    }
    return CREATETOURNAMENT();
}

inline void SETNAMES(int p, const std::string& a, const std::string& b) {
    std::string x, y;
    UTF8TOCP1250(a, x);
    UTF8TOCP1250(b, y);
    SETFIELD(PlayerNames(p, 1).c, NameLength, x);
    SETFIELD(PlayerNames(p, 2).c, NameLength, y);
}

// Random complete deals for boards 1..boards (fixed seed).
inline void DEALBOARDS(int boards, unsigned seed) {
    HasHands = LTRUE;
    std::mt19937 rng(seed);
    std::vector<int> cards(52);
    for (int b = 1; b <= boards; ++b) {
        for (int k = 0; k < 52; ++k) cards[static_cast<std::size_t>(k)] = k + 1;
        std::shuffle(cards.begin(), cards.end(), rng);
        for (int i = 0; i < 52; ++i)
            HandCards(cards[static_cast<std::size_t>(i)], b) = static_cast<std::int8_t>(i / 13 + 1);
    }
}

// Ordinary results for every entry of every board, from a fixed list.
inline void FILLRESULTS(unsigned seed) {
    const int scores[] = {42, 45, 17, -5, -10, 62, 65, -62, -42, 14, 11, -11, 30, -20, 143, -80};
    std::mt19937 rng(seed);
    for (int b = 1; b <= NumBoards; ++b) {
        const int k = (b - 1) / BoardsPerRound + 1;
        if (k > NumBoardSets) continue;
        for (int i = 1; i <= SetEntries(k); ++i) Results(b, i) = ENCODEORDINARY(scores[rng() % 16]);
    }
}

inline bool SAVEEVENING(const std::string& file) {
    CALCALL();
    TournamentFile = file;
    return WRITENTRFILE();
}

// The text of HTML: tags dropped, the character references the pages use decoded.
inline std::string HTMLTEXTOF(const std::string& html) {
    std::string t;
    bool tag = false;
    for (const char c : html) {
        if (c == '<') tag = true;
        else if (c == '>') tag = false;
        else if (!tag) t += c;
    }
    const std::pair<const char*, const char*> refs[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [from, to] : refs) {
        const std::string f = from, r = to;
        for (std::size_t at = 0; (at = t.find(f, at)) != std::string::npos; at += r.size()) t.replace(at, f.size(), r);
    }
    return t;
}

// One table of a page: its column titles and, per row, the cells as markup.
struct PageTable {
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> rows;
    // The text of the cell under `title` in row r ("" when there is none).
    std::string at(std::size_t r, const std::string& title) const {
        const auto it = std::find(titles.begin(), titles.end(), title);
        if (it == titles.end() || r >= rows.size()) return "\x01missing column " + title;
        const std::size_t c = static_cast<std::size_t>(it - titles.begin());
        return c < rows[r].size() ? HTMLTEXTOF(rows[r][c]) : "\x01missing cell";
    }
};

// The table whose caption begins with `caption`.
inline PageTable PAGETABLE(const std::string& html, const std::string& caption) {
    PageTable t;
    const std::size_t start = html.find("<caption>" + caption);
    if (start == std::string::npos) return t;
    const std::size_t end = html.find("</table>", start);
    const std::string body = html.substr(start, end - start);
    auto cells = [](const std::string& row, const char* open, const char* close) {
        std::vector<std::string> out;
        for (std::size_t at = 0; (at = row.find(open, at)) != std::string::npos;) {
            at = row.find('>', at) + 1;
            const std::size_t stop = row.find(close, at);
            out.push_back(row.substr(at, stop - at));
            at = stop;
        }
        return out;
    };
    std::size_t at = 0;
    for (bool head = true; (at = body.find("<tr>", at)) != std::string::npos; head = false) {
        const std::size_t stop = body.find("</tr>", at);
        const std::string row = body.substr(at, stop - at);
        if (head) {
            for (const std::string& h : cells(row, "<th", "</th>")) t.titles.push_back(HTMLTEXTOF(h));
        } else {
            std::vector<std::string> r = cells(row, "<th", "</th>");
            for (const std::string& c : cells(row, "<td", "</td>")) r.push_back(c);
            t.rows.push_back(r);
        }
        at = stop;
    }
    return t;
}
