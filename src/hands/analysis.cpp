// Double-dummy analysis through the solver library (libdds). The solver's own
// numbering is turned into the program's here and nowhere else: its hands run
// North 0, East 1, South 2, West 3, its suits spades 0 .. clubs 3, no trump 4, and
// a holding has the deuce in bit 2 up to the ace in bit 14.
//
// The library is not linked: it sets itself up (threads' memory, tables) as soon
// as it is loaded, which would cost every start of both programs, analysis or not.
// It is loaded when the first deal is analysed, by its soname, and the few routines
// used are looked up in it.
#include "hands/analysis.h"
#include "scoring/scoring.h"

#ifdef ORLA_WITH_DDS
#include <dds/dll.h>
#include <dlfcn.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>

const char* const StrainLetters[6] = {"", "C", "D", "H", "S", "NT"};

namespace {

// The solver's hand of each of the program's hands 1..4 (N, W, E, S).
constexpr int SolverHand[5] = {-1, 0, 3, 1, 2};
// The solver's vulnerability code of zone 0..3 (none, NS, EW, both).
constexpr int SolverZone[4] = {0, 2, 3, 1};
std::mutex SolverLock; // one caller of the solver at a time
std::mutex CacheLock;  // the cache, held only to read or write it
std::map<std::string, DoubleDummy> Cache;

std::string keyOf(const DdJob& job) {
    std::string key(reinterpret_cast<const char*>(job.cards.data()), job.cards.size());
    key += static_cast<char>(job.zone);
    key += static_cast<char>(job.dealer);
    return key;
}

#ifdef ORLA_WITH_DDS
// The solver's routines this program calls, as found in its library.
struct SolverRoutines {
    decltype(&SetMaxThreads) setMaxThreads = nullptr;
    decltype(&FreeMemory) freeMemory = nullptr;
    decltype(&CalcAllTables) calcAllTables = nullptr;
    decltype(&DealerPar) dealerPar = nullptr;
    decltype(&ErrorMessage) errorMessage = nullptr;
};
std::mutex LoadLock; // the four below
std::string SolverLibrary = ORLA_DDS_SONAME;
std::string LoadedLibrary; // the library the routines come from; empty before the first load
SolverRoutines Solver;
SolverRoutines Started; // the library whose threads were set up, to be ended with the program

// The end of a program that loaded the solver. Loaded after the program started,
// the library's objects are destroyed at its end before the library's own last
// routine runs, which frees the threads' memory through them: a crash as every such
// program ends (the library cannot be unloaded before). So its memory is freed here,
// first of the program's end, and the program ends at once with its status: what
// it wrote to its streams is flushed, and nothing is left that needs the rest. A
// call of the solver under way on another thread is waited for.
void endWithSolver(int status, void*) {
    std::lock_guard<std::mutex> lock(SolverLock);
    if (Started.freeMemory != nullptr) Started.freeMemory();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
}

// Looks `name` up in `library` into `routine`; false with `error` when it is not there.
template <typename Routine>
bool findRoutine(void* library, const char* name, Routine& routine, std::string& error) {
    routine = reinterpret_cast<Routine>(dlsym(library, name));
    if (routine != nullptr) return true;
    error = "Double-dummy analysis is not available: the solver library " + SolverLibrary +
            " has no routine " + name + ".";
    return false;
}

// The solver's routines, its library loaded and set up (a thread for each core) at
// the first call; false with `error` when it cannot be loaded. A library that failed
// is tried again at the next call, so installing it mends analysis without a restart.
bool loadSolver(SolverRoutines& routines, std::string& error) {
    std::lock_guard<std::mutex> lock(LoadLock);
    if (LoadedLibrary != SolverLibrary) {
        dlerror();
        void* library = dlopen(SolverLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            const char* why = dlerror();
            error = "Double-dummy analysis is not available: the solver library " + SolverLibrary +
                    " could not be loaded (" + (why != nullptr ? why : "no reason given") + ").";
            return false;
        }
        SolverRoutines found;
        if (!findRoutine(library, "SetMaxThreads", found.setMaxThreads, error) ||
            !findRoutine(library, "FreeMemory", found.freeMemory, error) ||
            !findRoutine(library, "CalcAllTables", found.calcAllTables, error) ||
            !findRoutine(library, "DealerPar", found.dealerPar, error) ||
            !findRoutine(library, "ErrorMessage", found.errorMessage, error)) {
            dlclose(library);
            return false;
        }
        // The library stays loaded until the program ends: its threads may outlive a call.
        found.setMaxThreads(0);
        if (Started.freeMemory == nullptr) on_exit(endWithSolver, nullptr);
        Started = found;
        Solver = found;
        LoadedLibrary = SolverLibrary;
    }
    routines = Solver;
    return true;
}

// The most deals one call of the solver takes. It solves each deal once per strain,
// every strain of every deal being one task for its threads, so a larger call keeps
// both cores busier at its end; but progress is told, and a cancel or the end of the
// program waits, only between calls. Thirty-six deals in one call took 4.2 s on two
// idle cores, in groups of six 4.4 s, so a set goes in even groups of at most six.
constexpr int MostDealsPerCall = 6;
static_assert(MostDealsPerCall * DDS_STRAINS <= MAXNOOFBOARDS);

bool complete(const Deal& d) {
    int n[5] = {};
    for (const std::int8_t h : d) {
        if (h < 1 || h > 4) return false;
        ++n[h];
    }
    return n[1] == 13 && n[2] == 13 && n[3] == 13 && n[4] == 13;
}

ddTableDeal solverDeal(const Deal& d) {
    ddTableDeal t{};
    for (int k = 1; k <= 52; ++k)
        t.cards[SolverHand[d[k - 1]]][4 - SUITOFCARD(k)] |= 1u << (RANKOFCARD(k) + 1);
    return t;
}

std::string solverError(const SolverRoutines& solver, int code) {
    char text[80] = {};
    solver.errorMessage(code, text);
    return std::string("The double-dummy solver failed: ") + text + " (" + std::to_string(code) + ").";
}

// Fills the table and the par of one job from the solver's table.
bool takeResult(const SolverRoutines& solver, DdJob& job, ddTableResults& table,
                std::string& error) {
    DoubleDummy& dd = job.result;
    for (int hand = 1; hand <= 4; ++hand)
        for (int strain = 1; strain <= 5; ++strain)
            dd.tricks[hand][strain] =
                table.resTable[strain == STRAIN_NT ? 4 : 4 - strain][SolverHand[hand]];
    parResultsDealer par{};
    const int rc = solver.dealerPar(&table, &par, job.dealer, SolverZone[job.zone & 3]);
    if (rc != RETURN_NO_FAULT) {
        error = solverError(solver, rc);
        return false;
    }
    // The solver gives the score from North-South's side whoever deals.
    dd.parScore = par.score;
    dd.parContracts.clear();
    for (int i = 0; i < par.number && i < 10; ++i) {
        if (i > 0) dd.parContracts += ", ";
        dd.parContracts += std::string(par.contracts[i], strnlen(par.contracts[i], 10));
    }
    dd.valid = true;
    return true;
}
#endif

} // namespace

DdJob DDJOBOFBOARD(int board) {
    DdJob job;
    job.cards = BOARDDEAL(board);
    job.zone = GETBOARDZONE(board) & 3;
    job.dealer = (board - 1) % 4;
    return job;
}

bool DDCACHED(DdJob& job) {
    std::lock_guard<std::mutex> lock(CacheLock);
    const auto it = Cache.find(keyOf(job));
    if (it == Cache.end()) return false;
    job.result = it->second;
    return true;
}

void DDCLEARCACHE() {
    std::lock_guard<std::mutex> lock(CacheLock);
    Cache.clear();
}

bool ANALYSEDEALS(std::vector<DdJob>& jobs, const std::function<bool(int, int)>& progress,
                  std::string& error) {
    error.clear();
#ifndef ORLA_WITH_DDS
    for (DdJob& job : jobs) job.result = DoubleDummy{};
    (void)progress;
    error = "Double-dummy analysis is not available in this build.";
    return false;
#else
    // What is to be solved: complete deals not in the cache.
    std::vector<std::size_t> todo;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        jobs[i].result = DoubleDummy{};
        if (!complete(jobs[i].cards)) continue;
        if (!DDCACHED(jobs[i])) todo.push_back(i);
    }
    const int total = static_cast<int>(todo.size());
    SolverRoutines solver;
    if (total > 0 && !loadSolver(solver, error)) return false;
    if (progress && !progress(0, total)) return true;
    auto deals = std::make_unique<ddTableDeals>();
    auto tables = std::make_unique<ddTablesRes>();
    auto pars = std::make_unique<allParResults>();
    // The solver may leave strains out, but the table and the par need all five.
    int allStrains[DDS_STRAINS] = {0, 0, 0, 0, 0};
    // Calls of even size: 14 deals go as 5, 5 and 4.
    const int calls = (total + MostDealsPerCall - 1) / MostDealsPerCall;
    for (int done = 0, call = 0; done < total; ++call) {
        const int n = (total - done + (calls - call) - 1) / (calls - call);
        {
            std::lock_guard<std::mutex> lock(SolverLock);
            *deals = ddTableDeals{};
            deals->noOfTables = n;
            for (int i = 0; i < n; ++i) deals->deals[i] = solverDeal(jobs[todo[done + i]].cards);
            const int rc =
                solver.calcAllTables(deals.get(), -1, allStrains, tables.get(), pars.get());
            if (rc != RETURN_NO_FAULT) {
                error = solverError(solver, rc);
                return false;
            }
            for (int i = 0; i < n; ++i) {
                DdJob& job = jobs[todo[done + i]];
                if (!takeResult(solver, job, tables->results[i], error)) return false;
                std::lock_guard<std::mutex> cacheLock(CacheLock);
                Cache[keyOf(job)] = job.result;
            }
        }
        done += n;
        if (progress && !progress(done, total)) return true;
    }
    return true;
#endif
}

void DDSOLVERLIBRARY(const std::string& soname) {
#ifdef ORLA_WITH_DDS
    std::lock_guard<std::mutex> lock(LoadLock);
    SolverLibrary = soname.empty() ? ORLA_DDS_SONAME : soname;
#else
    (void)soname;
#endif
}

std::string PARTEXT(const DoubleDummy& dd) {
    if (!dd.valid) return "";
    if (dd.parScore == 0) return "Par 0 (passed out)";
    const std::string score = dd.parScore > 0 ? "+" + std::to_string(dd.parScore) + " NS"
                                               : "+" + std::to_string(-dd.parScore) + " EW";
    return "Par " + score + ": " + dd.parContracts;
}
