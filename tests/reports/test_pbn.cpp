// The PBN results read back by a reader of its own, which knows only the
// notation: tags, and tables whose columns are found by their headers.
#include "reports/reportstest.h"

#include "core/cp1250.h"
#include "core/results.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "reports/reports.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

namespace {

struct Table {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    std::string at(std::size_t row, const std::string& column) const {
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (columns[c] == column) return c < rows[row].size() ? rows[row][c] : "";
        return "<no column " + column + ">";
    }
};

struct Game {
    std::map<std::string, std::string> tags;
    std::map<std::string, Table> tables;
};

// Splits a row into fields: quoted strings (with \" and \\) or blank-separated words.
std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == ' ') {
            ++i;
        } else if (line[i] == '"') {
            std::string f;
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                // Only \" and \\ are escapes; any other backslash is itself.
                if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) ++i;
                f += line[i];
            }
            out.push_back(f);
            ++i;
        } else {
            const auto end = line.find(' ', i);
            out.push_back(line.substr(i, end - i));
            i = end == std::string::npos ? line.size() : end;
        }
    }
    return out;
}

std::vector<Game> readPbn(const std::string& text) {
    std::vector<Game> games;
    std::istringstream in(text);
    std::string line, table;
    bool inGame = false;
    while (std::getline(in, line)) {
        if (line.empty()) {
            inGame = false;
            continue;
        }
        if (line[0] == '%') continue;
        if (!inGame) {
            games.emplace_back();
            inGame = true;
        }
        if (line[0] == '[') {
            const auto space = line.find(' ');
            const std::string name = line.substr(1, space - 1);
            const std::string value = fields(line.substr(space + 1, line.size() - space - 2)).at(0);
            games.back().tags[name] = value;
            table.clear();
            if (name.find("Table") != std::string::npos) {
                table = name;
                std::istringstream cols(value);
                for (std::string c; std::getline(cols, c, ';');)
                    games.back().tables[name].columns.push_back(c.substr(0, c.find('\\')));
            }
        } else if (!table.empty()) {
            games.back().tables[table].rows.push_back(fields(line));
        }
    }
    return games;
}

std::string points(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(std::round(v * 100.0f) / 100.0f));
    return buf;
}

// The pair's identifier without its padding.
std::string TRIMMED_ID(int pair) {
    std::string id = PAIRID(pair, 4);
    id.erase(0, id.find_first_not_of(' '));
    return id.substr(0, id.find_last_not_of(' ') + 1);
}

class PbnResults : public OrlaTest {};

TEST_F(PbnResults, GiveEveryScoreAndTheRankingBack) {
    for (const char* folder : {"mitchell_mp", "howell_imp"}) {
        SCOPED_TRACE(folder);
        ASSERT_TRUE(OPENCASE(folder, "ranking"));
        const std::vector<Game> games = readPbn(PBNEXPORT());
        ASSERT_EQ(static_cast<int>(games.size()), NumBoardSets * BoardsPerRound);
        const std::string pointsColumn = CalcType == CALC_MATCHPOINTS ? "MP_" : "IMP_";

        for (int b = 1; b <= static_cast<int>(games.size()); ++b) {
            const Game& g = games[static_cast<std::size_t>(b - 1)];
            EXPECT_EQ(g.tags.at("Board"), std::to_string(b));
            const Table& t = g.tables.at("ScoreTable");
            const int k = (b - 1) / BoardsPerRound + 1;
            ASSERT_EQ(static_cast<int>(t.rows.size()), SetEntries(k));
            for (int i = 1; i <= SetEntries(k); ++i) {
                const std::size_t r = static_cast<std::size_t>(i - 1);
                const DecodedResult d = DECODERESULT(Results(b, i));
                // The pair that really sat NS, its score and its points.
                const int ns = d.form == RESULT_INVERTED ? 2 : 1, ew = 3 - ns;
                EXPECT_EQ(t.at(r, "PairId_NS"), TRIMMED_ID(Movement(k, i, ns)));
                EXPECT_EQ(t.at(r, "PairId_EW"), TRIMMED_ID(Movement(k, i, ew)));
                const int score = 10 * d.score;
                const bool scored = d.form == RESULT_ORDINARY || d.form == RESULT_INVERTED;
                EXPECT_EQ(t.at(r, "Score_NS"), scored && score > 0 ? std::to_string(score) : "-");
                EXPECT_EQ(t.at(r, "Score_EW"), scored && score < 0 ? std::to_string(-score) : "-");
                EXPECT_EQ(t.at(r, pointsColumn + "NS"), points(BoardPoints(b, i, ns)));
                EXPECT_EQ(t.at(r, pointsColumn + "EW"), points(BoardPoints(b, i, ew)));
                const char* note = d.form == RESULT_INVERTED   ? "Inverted"
                                   : d.form == RESULT_NONE     ? "NoResult"
                                   : d.form == RESULT_ADJUSTED ? "Adjusted 6-4"
                                                               : "-";
                EXPECT_EQ(t.at(r, "Note"), note);
            }
        }

        const Table& total = games[0].tables.at("TotalScoreTable");
        ASSERT_EQ(static_cast<int>(total.rows.size()), NumPairs);
        const std::string totalColumn = CalcType == CALC_MATCHPOINTS ? "TotalScore" : "TotalIMP";
        for (int i = 1; i <= NumPairs; ++i) {
            const std::size_t r = static_cast<std::size_t>(i - 1);
            const int p = PlacementOrder(i);
            EXPECT_EQ(total.at(r, "PairId"), TRIMMED_ID(p));
            EXPECT_EQ(total.at(r, totalColumn), points(PairTotal(p)));
            EXPECT_EQ(total.at(r, "Names"),
                      CP1250TOUTF8(FIELDTEXT(PlayerNames(p, 1).c, NameLength) + " - " +
                                   FIELDTEXT(PlayerNames(p, 2).c, NameLength)));
            // A tie (figures within 1e-3) shares the rank of the pair above.
            const int q = i > 1 ? PlacementOrder(i - 1) : 0;
            const bool tied = i > 1 && std::fabs(PairTotal(p) - PairTotal(q)) <= 1e-3f &&
                              std::fabs(PairPercent(p) - PairPercent(q)) <= 1e-3f;
            if (tied)
                EXPECT_EQ(total.at(r, "Rank"), total.at(r - 1, "Rank"));
            else
                EXPECT_EQ(total.at(r, "Rank"), std::to_string(i));
        }
        RESETTOURNAMENTSTATE();
    }
}

} // namespace
