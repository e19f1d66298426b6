// A federation-sized register of 100,000 players: loading and listing it, each
// order of Edit Player List, the HTML rating list, the season's statistics over
// it, and one player added to it. Each should take well under a second.
#include "core/hooks.h"
#include "core/programfolder.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "players/players.h"
#include "players/rating.h"
#include "players/update.h"
#include "reports/reports.h"
#include "scoring/compute.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int PlayerCount = 100000;

// A name of the register: a surname and a first name from short lists, so that
// many players share a first letter and the sort has real work.
std::string playerName(int i) {
    static const char* const first[] = {"Ana", "Bora", "Cica", "Dragan", "Eva", "Goran", "Jelena",
                                        "Marko", "Nada", "Petar", "Ruza", "Zoran"};
    char text[64];
    std::snprintf(text, sizeof text, "Igrac%05d %s", (i * 7919) % PlayerCount, first[i % 12]);
    return text;
}

struct Federation {
    fs::path folder;
    std::string snapshot, season, stat;
    Federation() {
        folder = fs::temp_directory_path() / ("orla_bench_register_" + std::to_string(::getpid()));
        fs::create_directories(folder / "season");
        RESETHOOKS();
        Ui.message = [](const std::string&, const std::string&, MessageKind) { return ANSWER_NO; };
        INSTALLCOMPUTE();
        INSTALLRATING();
        ProgramFolder = folder.string();
        std::string bytes, old;
        for (int i = 1; i <= PlayerCount; ++i) {
            char numbers[16];
            std::string name = playerName(i);
            name.resize(30, ' ');
            std::snprintf(numbers, sizeof numbers, "%6d%6d", 300 + (i * 37) % 900, (i * 13) % 41 - 20);
            bytes += name + numbers + "\r\n";
            std::snprintf(numbers, sizeof numbers, "%6d%6d", 280 + (i * 37) % 900, 0);
            old += name + numbers + "\r\n";
        }
        std::ofstream(folder / "Players.opd", std::ios::binary) << bytes;
        snapshot = (folder / "Players20020102.opd").string();
        std::ofstream(snapshot, std::ios::binary) << old;
        season = (folder / "season").string();
        stat = (folder / "Stat.txt").string();
        // A season of 50 evenings of 20 pairs, its players spread over the register.
        RESETPLAYERS();
        for (int n = 0; n < 50; ++n) {
            DEFAULTHEADER();
            NumPairs = 20;
            CREATETOURNAMENT();
            for (int p = 1; p <= NumPairs; ++p)
                for (int j = 1; j <= 2; ++j)
                    SETFIELD(PlayerNames(p, j).c, NameLength,
                             playerName(1 + (n * 977 + p * 41 + j) % PlayerCount));
            TournamentFile = (folder / "season" / ("t" + std::to_string(n) + ".otr")).string();
            WRITENTRFILE();
            CLOSETOURNAMENT();
        }
        LOADPLAYERS();
    }
    ~Federation() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

Federation& federation() {
    static Federation f;
    return f;
}

// orla-cli players: the register read from its file, ordered by name and listed.
void BM_LoadAndList(benchmark::State& state) {
    federation();
    for (auto _ : state) {
        LOADPLAYERS();
        SORTPLAYERS(SORT_NAME);
        std::size_t total = 0;
        for (int k = 1; k <= RegisteredCount; ++k)
            total += PLAYERLISTROW(k).size();
        benchmark::DoNotOptimize(total);
    }
    state.SetLabel(std::to_string(RegisteredCount) + " players");
}

void BM_Sort(benchmark::State& state) {
    federation();
    const int key = static_cast<int>(state.range(0));
    for (auto _ : state) {
        SORTPLAYERS(key);
        benchmark::DoNotOptimize(RegOrder.data());
    }
    state.SetLabel(key == SORT_NAME ? "by name" : key == SORT_RATING ? "by rating" : "by delta");
}

// The rating list as HTML, ordered by rating (tied players share a place).
void BM_ExportHtml(benchmark::State& state) {
    federation();
    for (auto _ : state) {
        SORTPLAYERS(SORT_RATING);
        const std::string html = PLAYERLISTHTML(2);
        benchmark::DoNotOptimize(html.data());
    }
}

// The season's statistics: 50 evenings and a snapshot of the whole register.
void BM_Statistics(benchmark::State& state) {
    Federation& f = federation();
    for (auto _ : state) {
        STATISTICS(f.season, f.snapshot, f.stat);
        benchmark::DoNotOptimize(SeasonStatistics.data());
    }
}

// One player added, under the lock, to the register on the disk.
void BM_AddOnePlayer(benchmark::State& state) {
    federation();
    int n = 0;
    for (auto _ : state) {
        APPENDREGPLAYER("Novi igrac " + std::to_string(++n), 100);
        benchmark::DoNotOptimize(RegisteredCount);
    }
}

BENCHMARK(BM_LoadAndList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)->Arg(SORT_NAME)->Arg(SORT_RATING)->Arg(SORT_DELTA)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddOnePlayer)->Unit(benchmark::kMillisecond);

} // namespace
