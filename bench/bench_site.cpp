// The results site of a season: 50 evenings of 30 pairs (a 15-table Mitchell,
// 9 rounds of 3 boards, so 27 boards each played 15 times) with every result
// entered and every deal dealt. The deals' double-dummy tables are in the site's
// cache before the runs (filled here with made-up tables: the solver is not what
// is measured), so "from scratch" is every page of the season made and written
// into an empty site folder but for the cache, and "rebuild" is the same site
// made again after one evening's file changed.
#include "core/hooks.h"
#include "core/results.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "hands/analysis.h"
#include "hands/hands.h"
#include "scoring/compute.h"
#include "scoring/scoring.h"
#include "site/site.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int Evenings = 50;

struct Season {
    fs::path root, folder, cache;
    int pages = 0;
};

void quiet() {
    RESETHOOKS();
    Ui.message = [](const std::string& text, const std::string&, MessageKind) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return ANSWER_OK;
    };
    INSTALLCOMPUTE();
}

// Writes evening n of the season; `variant` changes one result of it.
void writeEvening(const fs::path& file, int n, int variant, std::map<std::string, DoubleDummy>* cache) {
    RESETTOURNAMENTSTATE();
    DEFAULTHEADER();
    MovementType = MOVE_MITCHELL;
    CalcType = n % 3 == 0 ? CALC_IMPS : CALC_MATCHPOINTS;
    NumPairs = 30;
    NumRounds = 9;
    BoardsPerRound = 3;
    NumBoards = 27;
    SETFIELD(Header.TournamentName, TournamentNameLength, "Klub veče " + std::to_string(n));
    if (!CREATETOURNAMENT()) return;
    for (int p = 1; p <= NumPairs; ++p) {
        SETFIELD(PlayerNames(p, 1).c, NameLength, "Igra\xe8 " + std::to_string(p) + " " + std::to_string(n));
        SETFIELD(PlayerNames(p, 2).c, NameLength, "Partner " + std::to_string(p));
    }
    const int scores[] = {42, 45, 17, -5, -10, 62, 65, -62, -42, 14, 11, -11, 30, -20, 143, -80};
    std::mt19937 rng(static_cast<unsigned>(1000 + n));
    for (int b = 1; b <= NumBoards; ++b) {
        const int k = (b - 1) / BoardsPerRound + 1;
        for (int i = 1; i <= SetEntries(k); ++i) Results(b, i) = ENCODEORDINARY(scores[rng() % 16]);
    }
    Results(1, 1) = ENCODEORDINARY(variant % 2 == 0 ? 42 : -5);
    HasHands = LTRUE;
    std::vector<int> cards(52);
    for (int b = 1; b <= NumBoards; ++b) {
        for (int k = 0; k < 52; ++k) cards[static_cast<std::size_t>(k)] = k + 1;
        std::shuffle(cards.begin(), cards.end(), rng);
        for (int i = 0; i < 52; ++i) HandCards(cards[static_cast<std::size_t>(i)], b) = static_cast<std::int8_t>(i / 13 + 1);
        if (cache) {
            DoubleDummy dd;
            dd.valid = true;
            for (int h = 1; h <= 4; ++h)
                for (int s = 1; s <= 5; ++s) dd.tricks[h][s] = (b + h * s) % 14;
            dd.parScore = 420;
            dd.parContracts = "4S-NS";
            (*cache)[DEALKEY(DDJOBOFBOARD(b))] = dd;
        }
    }
    CALCALL();
    TournamentFile = file.string();
    WRITENTRFILE();
    RESETTOURNAMENTSTATE();
}

Season& season() {
    static Season s = [] {
        quiet();
        Season made;
        made.root = fs::temp_directory_path() / ("orla-bench-site-" + std::to_string(::getpid()));
        made.folder = made.root / "season";
        fs::create_directories(made.folder);
        std::map<std::string, DoubleDummy> cache;
        for (int n = 1; n <= Evenings; ++n) {
            char name[32];
            std::snprintf(name, sizeof name, "evening%02d.otr", n);
            writeEvening(made.folder / name, n, 0, &cache);
        }
        made.cache = made.root / "deals";
        std::ofstream(made.cache, std::ios::binary) << DEALCACHETEXT(cache);
        return made;
    }();
    return s;
}

// A site folder holding only the cache of solved deals.
fs::path freshSite(const Season& s) {
    const fs::path out = s.root / "www";
    fs::remove_all(out);
    fs::create_directories(out);
    fs::copy_file(s.cache, out / ".orla-deals");
    return out;
}

void BM_SiteFromScratch(benchmark::State& state) {
    Season& s = season();
    SiteSummary summary;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path out = freshSite(s);
        state.ResumeTiming();
        std::string error;
        if (!BUILDSITE(s.folder.string(), out.string(), summary, error)) state.SkipWithError(error.c_str());
    }
    state.counters["evenings"] = summary.evenings;
    state.counters["files_written"] = summary.written;
    state.counters["deals_solved"] = summary.solved;
    state.counters["deals_cached"] = summary.cachedDeals;
}
BENCHMARK(BM_SiteFromScratch)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime()->MeasureProcessCPUTime();

void BM_SiteRebuildAfterOneEvening(benchmark::State& state) {
    Season& s = season();
    const fs::path out = freshSite(s);
    SiteSummary summary;
    std::string error;
    BUILDSITE(s.folder.string(), out.string(), summary, error);
    int variant = 0;
    for (auto _ : state) {
        state.PauseTiming();
        writeEvening(s.folder / "evening17.otr", 17, ++variant, nullptr);
        state.ResumeTiming();
        if (!BUILDSITE(s.folder.string(), out.string(), summary, error)) state.SkipWithError(error.c_str());
    }
    state.counters["evenings_made_again"] = summary.rebuilt;
    state.counters["files_written"] = summary.written;
    state.counters["unchanged"] = summary.unchanged;
}
BENCHMARK(BM_SiteRebuildAfterOneEvening)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime()->MeasureProcessCPUTime();

// Leaves no season behind in the temporary folder.
struct Cleanup {
    ~Cleanup() {
        std::error_code ec;
        fs::remove_all(fs::temp_directory_path() / ("orla-bench-site-" + std::to_string(::getpid())), ec);
    }
} cleanup;

} // namespace
