// Places: pairs whose totals differ by rounding alone share a place in every
// report that numbers places, and in orla-cli dump.
#include "cli/clitest.h"
#include "core/tournament.h"
#include "reports/reports.h"
#include "reports/reportstest.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

class Places : public CliTest {};

// The place written before the pair's first player on the line that names
// them: the last word before the name when it ends in a dot, else "".
std::string placeBefore(const std::string& report, const std::string& player) {
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        for (std::size_t at; (at = line.find("&nbsp;")) != std::string::npos;)
            line.replace(at, 6, " ");
        const auto at = line.find(player + " ");
        if (at == std::string::npos || line.find(" - ", at) == std::string::npos) continue;
        std::istringstream words(line.substr(0, at));
        std::string word, last;
        while (words >> word)
            last = word;
        return !last.empty() && last.back() == '.' ? last : "";
    }
    return "(not found)";
}

// The Calcutta evening of tests/data/calcutta_tie: pairs 2 and 1 end at 12.333334
// and 12.333333, 5 and 6 at -12.333333 and -12.333334.
TEST_F(Places, RoundingNoiseSharesAPlaceInEveryReport) {
    ASSERT_TRUE(OPENCASE("calcutta_tie", "ranking"));
    ASSERT_NE(PairTotal(1), PairTotal(2));
    ASSERT_NE(PairTotal(5), PairTotal(6));
    const std::vector<int> order(PlacementOrder.data(), PlacementOrder.data() + NumPairs);
    ASSERT_EQ(order, (std::vector<int>{8, 2, 1, 7, 3, 5, 6, 4}));

    // First players of pairs 1..8 and the place each report must show.
    const char* const first[8] = {"Ana", "Cica", "Ema", "Gaga", "Iva", "Kata", "Mare", "Olja"};
    const char* const shown[8] = {"", "2.", "5.", "8.", "6.", "", "4.", "1."};
    RECORDPRINTER();
    OUTPUTTOURNAMENT(OUTPUT_PRINTER);
    const struct {
        const char* name;
        std::string report;
    } reports[] = {{"text", TEXTEXPORT()}, {"html", HTMLEXPORT()}, {"printed", PrintedLines}};
    for (const auto& r : reports)
        for (int p = 1; p <= 8; ++p)
            EXPECT_EQ(placeBefore(r.report, first[p - 1]), shown[p - 1]) << r.name << ", pair " << p;

    // The PBN ranking gives the rank on every row.
    const std::string pbn = PBNEXPORT();
    const auto table = pbn.find("[TotalScoreTable");
    ASSERT_NE(table, std::string::npos);
    std::istringstream rows(pbn.substr(pbn.find('\n', table) + 1));
    std::string ranks;
    for (std::string row; std::getline(rows, row) && !row.empty();)
        ranks += row.substr(0, row.find(' ', row.find(' ') + 1)) + ";";
    EXPECT_EQ(ranks, "1 8;2 2;2 1;4 7;5 3;6 5;6 6;8 4;");

    // orla-cli dump gives each pair its place.
    const Run dump = run("dump " + QUOTED(UTF8OF(CASEDIR("calcutta_tie") / "input.otr")));
    ASSERT_EQ(dump.code, 0) << dump.err;
    EXPECT_NE(dump.out.find("\"PairPlace\":[2,2,5,8,6,6,4,1]"), std::string::npos) << dump.out;
}

} // namespace
