// The HTML export of a large evening: 100 pairs in two sections of a 25-table
// Mitchell-like movement, 75 boards each played 50 times, every result entered
// and every pair named: the ranking, then the travellers of all boards.
#include "evening.h"
#include "core/tournament.h"
#include "reports/reports.h"
#include "scoring/scoring.h"

#include <benchmark/benchmark.h>

#ifdef ORLA_BENCH_PDF
#include "printing/printing.h"

#include <filesystem>
#endif


namespace {

void setUpNamedEvening() {
    setUpEvening(CALC_MATCHPOINTS);
    RatingMode = -1;
    // Windows-1250 names with letters that the page writes as references.
    for (int p = 1; p <= NumPairs; ++p) {
        SETFIELD(PlayerNames(p, 1).c, NameLength, "\xD0or\xF0" "e \xD0or\xF0" "evi\xE6 " + std::to_string(p));
        SETFIELD(PlayerNames(p, 2).c, NameLength, "Ana Mari\xE6 & <" + std::to_string(p) + ">");
        PlayerRating(p, 1) = 1500 + p;
        PlayerRating(p, 2) = 1400 + p;
    }
    SETTOURNAMENTSTRENGTH();
    CALCALL();
}

void BM_HtmlRankingAndBoards(benchmark::State& state) {
    setUpNamedEvening();
    std::size_t bytes = 0;
    for (auto _ : state) {
        ViewMode = 1;
        SortByPlacement = 1;
        const std::string ranking = HTMLEXPORT();
        ViewMode = 2;
        const std::string boards = HTMLEXPORT();
        bytes = ranking.size() + boards.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

BENCHMARK(BM_HtmlRankingAndBoards)->Unit(benchmark::kMillisecond);

#ifdef ORLA_BENCH_PDF
// The same evening printed into one PDF file: the ranking, then every board's
// traveller, through the printing routine of the Print command.
void BM_PdfRankingAndBoards(benchmark::State& state) {
    GwStartHeadless();
    setUpNamedEvening();
    const std::string file =
        (std::filesystem::temp_directory_path() / "orla-bench-print.pdf").string();
    for (auto _ : state) {
        ViewMode = 1;
        SortByPlacement = 1;
        GwPrintJob job;
        if (!STARTPRINT(job, DocTournament, file)) {
            state.SkipWithError("the PDF file could not be started");
            break;
        }
        PRINTPLACEMENT(job);
        GwPrintNewPage(job);
        SETUPPRINTER(job);
        PRINTBOARDS(job);
        if (!ENDPRINT(job)) state.SkipWithError("the PDF file could not be written");
    }
    std::error_code ec;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file, ec));
    std::filesystem::remove(file, ec);
}

BENCHMARK(BM_PdfRankingAndBoards)->Unit(benchmark::kMillisecond);
#endif

} // namespace
