// The rating update over a folder of 10,000 tournament files (one season of a
// very busy club, many times over) beside merely reading those bytes, as cat
// would: the update should cost little more than the reading.
#include "core/hooks.h"
#include "core/programfolder.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "players/players.h"
#include "players/rating.h"
#include "players/update.h"
#include "scoring/compute.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int FileCount = 10000;

struct Season {
    fs::path folder;
    std::vector<std::string> items;
    Season() {
        folder = fs::temp_directory_path() / ("orla_bench_period_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        RESETHOOKS();
        INSTALLCOMPUTE();
        INSTALLRATING();
        RESETPLAYERS();
        for (int i = 1; i <= 300; ++i) {
            if (i > RegCapacity) REGPLAYERREALLOC(i);
            RegisteredCount = i;
            SETFIELD(RegName(i).c, NameLength, "Player number " + std::to_string(i));
            RegRating(i) = 300 + (i * 37) % 900;
        }
        // One evening of 20 pairs written by the program, then copied with its
        // players moved round the register, so that each file is its own.
        DEFAULTHEADER();
        NumPairs = 20;
        RatingMode = -1;
        CREATETOURNAMENT();
        for (int n = 0; n < FileCount; ++n) {
            for (int p = 1; p <= NumPairs; ++p)
                for (int j = 1; j <= 2; ++j) {
                    SETFIELD(PlayerNames(p, j).c, NameLength,
                             "PLAYER NUMBER " + std::to_string(1 + (n * 7 + 2 * p + j) % 300));
                    RatingChange(p, j) = static_cast<float>((n + p + j) % 7) - 3.0f;
                }
            TournamentFile = (folder / ("t" + std::to_string(n) + ".otr")).string();
            WRITENTRFILE();
        }
        CLOSETOURNAMENT();
        items = FINDFILESINDIR(folder.string());
    }
    ~Season() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

Season& season() {
    static Season s;
    return s;
}

// Reads every byte of every file, and nothing more.
void BM_ReadTheBytes(benchmark::State& state) {
    Season& s = season();
    std::vector<char> buffer(1 << 16);
    for (auto _ : state) {
        std::size_t total = 0;
        for (const auto& e : fs::directory_iterator(s.folder)) {
            std::ifstream in(e.path(), std::ios::binary);
            while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
                total += static_cast<std::size_t>(in.gcount());
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetLabel(std::to_string(FileCount) + " files");
}

// The whole OK of Update Rating: the sums of every file, selected all.
void BM_UpdateRating(benchmark::State& state) {
    Season& s = season();
    for (auto _ : state) {
        SUMRATINGCHANGES(s.folder.string(), s.items);
        benchmark::DoNotOptimize(RatingSum.data());
    }
    state.SetLabel(std::to_string(s.items.size()) + " files");
}

BENCHMARK(BM_ReadTheBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateRating)->Unit(benchmark::kMillisecond);

} // namespace
