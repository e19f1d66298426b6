// Every report of the cases under tests/data against the expected file beside
// the case's tournament; each expected file was checked by hand against the
// report's columns.
#include "reports/reportstest.h"

#include "core/tournament.h"
#include "reports/reports.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

struct Golden {
    const char* folder;
    const char* view;
    const char* format; // text, html, pbn, printer
    int pair;
    const char* expected;
};

const Golden Cases[] = {
    {"mitchell_mp", "ranking", "text", 0, "ranking.txt"},
    {"mitchell_mp", "ranking", "html", 0, "ranking.htm"},
    {"mitchell_mp", "ranking", "printer", 0, "ranking.prn"},
    {"mitchell_mp", "lines", "text", 0, "lines.txt"},
    {"mitchell_mp", "lines", "html", 0, "lines.htm"},
    {"mitchell_mp", "boards", "text", 0, "boards.txt"},
    {"mitchell_mp", "boards", "html", 0, "boards.htm"},
    {"mitchell_mp", "frequency", "text", 0, "frequency.txt"},
    {"mitchell_mp", "frequency", "html", 0, "frequency.htm"},
    {"mitchell_mp", "frequency", "printer", 0, "frequency.prn"},
    {"mitchell_mp", "personal", "text", 9, "personal9.txt"},
    {"mitchell_mp", "personal", "html", 9, "personal9.htm"},
    {"mitchell_mp", "ranking", "pbn", 0, "results.pbn"},
    {"howell_imp", "ranking", "text", 0, "ranking.txt"},
    {"howell_imp", "ranking", "html", 0, "ranking.htm"},
    {"howell_imp", "frequency", "text", 0, "frequency.txt"},
    {"howell_imp", "personal", "text", 1, "personal1.txt"},
    {"howell_imp", "ranking", "pbn", 0, "results.pbn"},
};

std::string produce(const Golden& g) {
    const std::string format = g.format;
    if (format == "text") return TEXTEXPORT();
    if (format == "html") return HTMLEXPORT();
    if (format == "pbn") return PBNEXPORT();
    RECORDPRINTER();
    switch (ViewMode) {
    case 3: PRINTFREQUENCIES(OUTPUT_PRINTER); break;
    case 4: PRINTPERSONAL(OUTPUT_PRINTER, PersonalPair); break;
    default: OUTPUTTOURNAMENT(OUTPUT_PRINTER); break;
    }
    return PrintedLines;
}

class GoldenReports : public OrlaTest {};

TEST_F(GoldenReports, EveryReportMatchesItsExpectedFile) {
    for (const Golden& g : Cases) {
        SCOPED_TRACE(std::string(g.folder) + "/" + g.expected);
        ASSERT_TRUE(OPENCASE(g.folder, g.view, g.pair));
        const std::string expected = READFILE(CASEDIR(g.folder) / g.expected);
        EXPECT_FALSE(expected.empty()) << "missing expected file";
        const std::string actual = produce(g);
        EXPECT_EQ(actual, expected);
        // ORLA_REPORTS_ACTUAL=<folder> keeps what the reports wrote, to compare
        // by hand after a deliberate change.
        if (const char* keep = std::getenv("ORLA_REPORTS_ACTUAL")) {
            const auto dir = std::filesystem::path(keep) / g.folder;
            std::filesystem::create_directories(dir);
            std::ofstream(dir / g.expected, std::ios::binary) << actual;
        }
        RESETTOURNAMENTSTATE();
    }
}

} // namespace
