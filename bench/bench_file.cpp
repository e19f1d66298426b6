// Reading and writing a large club tournament: 100 pairs, 75 boards in 25 rounds
// of 3, with hand diagrams. Writing includes flushing the file to the disk.
#include "core/hooks.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

namespace {

std::string makeFile() {
    RESETTOURNAMENTSTATE();
    RESETHOOKS();
    SETFIELD(Header.TournamentName, TournamentNameLength, "Benchmark");
    NumPairs = 100;
    NumBoards = 75;
    NumRounds = 25;
    BoardsPerRound = 3;
    NumBoardSets = 25;
    HasHands = LTRUE;
    INITTOURNAMENT();
    std::mt19937 rng(1);
    std::uniform_int_distribution<int> score(-500, 999), hand(1, 4);
    for (std::size_t n = 0; n < Results.size(); ++n)
        Results.data()[n] = static_cast<float>(score(rng));
    for (std::size_t n = 0; n < HandCards.size(); ++n)
        HandCards.data()[n] = static_cast<std::int8_t>(hand(rng));
    for (int p = 1; p <= NumPairs; ++p) {
        SETFIELD(PlayerNames(p, 1).c, NameLength, "Player " + std::to_string(p));
        SETFIELD(PlayerNames(p, 2).c, NameLength, "Partner " + std::to_string(p));
    }
    const auto file = std::filesystem::temp_directory_path() / "orla-bench-file.otr";
    TournamentFile = file.string();
    WRITENTRFILE();
    return TournamentFile;
}

void BM_ReadFile(benchmark::State& state) {
    const std::string file = makeFile();
    for (auto _ : state) {
        RESETTOURNAMENTSTATE();
        if (!OPENNTRFILE(file)) state.SkipWithError("open failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(file)));
    std::filesystem::remove(file);
}
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMicrosecond);

void BM_WriteFile(benchmark::State& state) {
    const std::string file = makeFile();
    for (auto _ : state)
        if (!WRITENTRFILE()) state.SkipWithError("write failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(file)));
    std::filesystem::remove(file);
}
BENCHMARK(BM_WriteFile)->Unit(benchmark::kMicrosecond);

void BM_ReadAndWriteFile(benchmark::State& state) {
    const std::string file = makeFile();
    for (auto _ : state) {
        RESETTOURNAMENTSTATE();
        if (!OPENNTRFILE(file) || !WRITENTRFILE()) state.SkipWithError("failed");
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_ReadAndWriteFile)->Unit(benchmark::kMicrosecond);

} // namespace
