// Saves killed at random moments: a saver process writes the tournament, the
// players register (rewritten and appended to) and the movement file over and
// over, each time as a new generation, and is killed with SIGKILL 200 times.
// After every kill each file must read back, through the program's own readers,
// as the generation before the save that was cut off or the one it was writing:
// never a mixture, a stump or nothing. A temporary file a killed save left is at
// most one per file, is never listed as a tournament, and is gone once the next
// save of the same file has been made.
#include "killsave.h"

#include "core/programfolder.h"
#include "core/safefile.h"
#include "players/update.h"
#include "support/testsupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace killsave;
namespace fs = std::filesystem;

namespace {

constexpr int Kills = 200;

// What one run of the saver told before it was killed.
struct SaverRun {
    bool ready = false;
    std::map<char, long> begun, done; // the last generation begun and saved, by file
    std::string failure;              // a line "F ..." or an unexpected end
};

void parseLines(const std::string& text, SaverRun& run) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) break; // a line cut by the kill is not there
        char what = 0, file = 0;
        long gen = 0;
        if (std::sscanf(text.c_str() + at, "%c %c %ld", &what, &file, &gen) == 3) {
            if (what == 'R') run.ready = true;
            if (what == 'B') run.begun[file] = gen;
            if (what == 'D') run.done[file] = gen;
            if (what == 'F') run.failure = text.substr(at, end - at);
        }
        at = end + 1;
    }
}

class KillTest : public OrlaTest {
  protected:
    void SetUp() override {
        OrlaTest::SetUp();
        savedFolder_ = ProgramFolder;
        ProgramFolder = tempDir().string();
        RESETPLAYERS();
    }
    void TearDown() override {
        ProgramFolder = savedFolder_;
        RESETPLAYERS();
        OrlaTest::TearDown();
    }

    std::string file(const char* name) { return (tempDir() / name).string(); }

    // Starts the saver from these generations; its standard output comes to `out`.
    pid_t startSaver(const long gen[3], int first, int& out) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return -1;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "ORLA_PROGRAM_FOLDER=", 20) != 0) env.emplace_back(*e);
        env.push_back("ORLA_PROGRAM_FOLDER=" + tempDir().string());
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string args[5] = {ORLA_KILLSAVER, std::to_string(gen[0]), std::to_string(gen[1]),
                               std::to_string(gen[2]), std::to_string(first)};
        char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data(),
                        args[4].data(), nullptr};
        pid_t pid = -1;
        if (posix_spawn(&pid, ORLA_KILLSAVER, &actions, nullptr, argv, envp.data()) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        out = fds[0];
        return pid;
    }

    // Reads what the saver says until it has begun the save of `file` (0: until
    // it is ready; 'E': until its end).
    static void readSaver(int fd, std::string& text, SaverRun& run, char file) {
        char buf[4096];
        while (file == 'E' || !(file ? run.begun.count(file) != 0 : run.ready)) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20000) <= 0) break;
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0) break;
            text.append(buf, static_cast<std::size_t>(n));
            parseLines(text, run);
        }
    }

    // The generation the tournament file holds, among `candidates`; -1 for none.
    long tournamentGeneration(const std::set<long>& candidates) {
        RESETTOURNAMENTSTATE();
        if (!OPENNTRFILE(file(TournamentFileName))) return -1;
        const std::string onDisk = filetest::snapshot();
        for (long g : candidates) {
            if (!tournaments_.count(g)) {
                MAKETOURNAMENT(g);
                tournaments_[g] = filetest::snapshot();
            }
            if (tournaments_[g] == onDisk) return g;
        }
        return -1;
    }

    // The generation the movement file holds.
    long movementGeneration(const std::set<long>& candidates) {
        // It is read into a tournament of its shape (the one just read, as a rule).
        if (!TournamentOpen || NumRounds != Rounds || NumBoardSets != Boards / PerRound)
            MAKETOURNAMENT(0);
        if (LOADMOVEMENTFILE(file(MovementFileName)) != MOVEMENT_LOADED) return -1;
        const std::string onDisk = MOVEMENTSNAPSHOT();
        for (long g : candidates) {
            if (!movements_.count(g)) {
                FILLMOVEMENT(g);
                movements_[g] = MOVEMENTSNAPSHOT();
            }
            if (movements_[g] == onDisk) return g;
        }
        return -1;
    }

    long registerGeneration(const std::set<long>& candidates) {
        CapturedMessages.clear();
        LOADPLAYERS();
        // A load that stopped at a line it could not read says so.
        if (!CapturedMessages.empty()) {
            std::printf("%s\n", CapturedMessages[0].text.c_str());
            return -1;
        }
        const std::vector<RegRecord> loaded = LOADEDREGISTER();
        for (long g : candidates)
            if (EXPECTEDREGISTER(g) == loaded) return g;
        // What was found instead, past the players that never change.
        for (std::size_t i = BasePlayers; i < loaded.size(); ++i)
            std::printf("[%s] %d %d\n", loaded[i].name.c_str(), loaded[i].rating, loaded[i].delta);
        return -1;
    }

    std::string savedFolder_;
    // What each generation reads back as, once worked out.
    std::map<long, std::string> tournaments_, movements_;
};

// The seconds `save` takes, the longest of three.
template <class F> double timed(F save) {
    double longest = 0;
    for (int n = 0; n < 3; ++n) {
        const auto start = std::chrono::steady_clock::now();
        save();
        longest = std::max(longest, std::chrono::duration<double>(
                                        std::chrono::steady_clock::now() - start).count());
    }
    return longest;
}

TEST_F(KillTest, EveryFileIsTheOldOrTheNewOneAfterEachOf200Kills) {
    const auto started = std::chrono::steady_clock::now();
    const std::string target[3] = {file(TournamentFileName), PlayersFile, file(MovementFileName)};
    const std::map<char, std::string> targetName = {
        {'T', TournamentFileName}, {'P', "Players.opd"}, {'M', MovementFileName}};

    // Generation 0 of each file, saved here, three times over to learn how long
    // each save takes.
    MAKETOURNAMENT(0);
    TournamentFile = target[0];
    std::map<char, double> saveTime;
    saveTime['T'] = timed([] { ASSERT_TRUE(WRITENTRFILE()); });
    std::string reason;
    FILLMOVEMENT(0);
    saveTime['M'] = timed([&] { ASSERT_TRUE(SAVEMOVEMENTFILE(target[2], reason)) << reason; });
    saveTime['P'] = timed([] { ASSERT_TRUE(WRITEREGISTERZERO()); });
    std::map<std::string, char> prefixOf;
    for (int f = 0; f < 3; ++f) {
        const std::string prefix = SAFETEMPPREFIX(target[f]);
        ASSERT_FALSE(prefix.empty());
        prefixOf[prefix] = Files[f];
    }

    std::map<char, long> gen = {{'T', 0}, {'P', 0}, {'M', 0}};
    std::map<char, std::string> leftover; // the temporary file of each file after the last kill
    std::mt19937 rng(20261206);
    std::uniform_real_distribution<double> share(0.0, 1.5);
    int kills = 0, inSave = 0, tempEmpty = 0, tempPart = 0, tempWhole = 0, cleaned = 0;
    std::map<char, int> cutShort, keptOld, foundNew;
    int appendsCut = 0;
    std::chrono::duration<double> startup{}, waited{}, checking{};

    for (int k = 0; k < Kills; ++k) {
        SCOPED_TRACE("kill " + std::to_string(k + 1));
        const long from[3] = {gen['T'], gen['P'], gen['M']};
        // Each file's save in turn is the first the saver makes; the kill comes
        // at a random moment of it, or a little after it.
        const char first = Files[k % 3];
        const auto spawned = std::chrono::steady_clock::now();
        int out = -1;
        const pid_t pid = startSaver(from, k % 3, out);
        ASSERT_GT(pid, 0);
        std::string text;
        SaverRun run;
        readSaver(out, text, run, first);
        if (!run.begun.count(first)) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            ::close(out);
            FAIL() << "the saver did not start: " << text;
        }
        const auto saving = std::chrono::steady_clock::now();
        startup += saving - spawned;
        std::this_thread::sleep_for(std::chrono::duration<double>(share(rng) * saveTime[first]));
        ::kill(pid, SIGKILL);
        const auto killed = std::chrono::steady_clock::now();
        waited += killed - saving;
        int status = 0;
        ::waitpid(pid, &status, 0);
        readSaver(out, text, run, 'E');
        ::close(out);
        ASSERT_TRUE(run.failure.empty()) << run.failure;
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the saver ended by itself (status " << status << "): " << text;
        ++kills;

        // The folder: the three files, and at most one temporary file of each.
        std::map<char, std::string> temp;
        bool newTemp = false;
        for (const auto& e : fs::directory_iterator(tempDir())) {
            const std::string name = e.path().filename().string();
            if (name == TournamentFileName || name == "Players.opd" || name == MovementFileName)
                continue;
            // The lock file of a save that was killed holding it: the system let
            // the lock go with the program; the next save takes it and removes it.
            if (name == std::string(TournamentFileName) + ".lock" || name == "Players.opd.lock")
                continue;
            char owner = 0;
            for (const auto& [prefix, f] : prefixOf)
                if (name.rfind(prefix, 0) == 0) owner = f;
            ASSERT_NE(owner, 0) << "a file no save should leave: " << name;
            ASSERT_TRUE(temp[owner].empty())
                << "two temporary files of " << targetName.at(owner) << ": " << temp[owner]
                << ", " << name;
            temp[owner] = name;
            if (leftover[owner] != name) {
                // Made by this run: the kill found that save between making its
                // temporary file and putting it in place.
                newTemp = true;
                const auto size = fs::file_size(e.path());
                const auto whole = owner == 'P' ? 44u * EXPECTEDREGISTER(run.begun[owner]).size()
                                                : fs::file_size(target[owner == 'T' ? 0 : 2]);
                ++(size == 0 ? tempEmpty : size < whole ? tempPart : tempWhole);
            }
        }
        inSave += newTemp;
        // A temporary file left by the kill before is gone once a save of the
        // same file has been made since.
        for (const auto& [f, name] : leftover) {
            if (name.empty() || !run.done.count(f)) continue;
            EXPECT_NE(temp[f], name) << "left over by an earlier kill: " << name;
            ++cleaned;
        }
        leftover = temp;
        // A temporary file is never taken for a tournament.
        EXPECT_EQ(TOURNAMENTFILES(tempDir().string()),
                  std::vector<std::string>{TournamentFileName});

        // Each file is the generation before the save the kill cut off, or the
        // one it was writing.
        for (char f : Files) {
            const bool begun = run.begun.count(f) != 0;
            const bool cut = begun && (!run.done.count(f) || run.done[f] != run.begun[f]);
            std::set<long> candidates = {gen[f]};
            if (cut) candidates = {run.begun[f] - 1, run.begun[f]};
            else if (begun) candidates = {run.begun[f]};
            const long found = f == 'T'   ? tournamentGeneration(candidates)
                               : f == 'P' ? registerGeneration(candidates)
                                          : movementGeneration(candidates);
            ASSERT_NE(found, -1) << targetName.at(f) << " is no generation of "
                                 << *candidates.begin() << ".." << *candidates.rbegin();
            if (cut) {
                ++cutShort[f];
                if (f == 'P' && run.begun[f] % 3 == 1) ++appendsCut;
                ++(found == run.begun[f] ? foundNew[f] : keptOld[f]);
            }
            gen[f] = found;
        }
        // Older generations are not looked for again.
        tournaments_.erase(tournaments_.begin(), tournaments_.lower_bound(gen['T']));
        movements_.erase(movements_.begin(), movements_.lower_bound(gen['M']));
        checking += std::chrono::steady_clock::now() - killed;
    }

    // One more save of each file, here, leaves no temporary file at all.
    MAKETOURNAMENT(gen['T'] + 1);
    TournamentFile = target[0];
    EXPECT_TRUE(WRITENTRFILE());
    FILLMOVEMENT(gen['M'] + 1);
    EXPECT_TRUE(SAVEMOVEMENTFILE(target[2], reason)) << reason;
    LOADPLAYERS();
    EXPECT_TRUE(REGISTERSTEP(gen['P'] + 1));
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(tempDir())) names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{TournamentFileName, "Players.opd", MovementFileName}));

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_EQ(kills, Kills);
    std::printf("kills: %d of %d in %.1f s; generations reached: tournament %ld, register %ld, "
                "movement %ld\n",
                kills, Kills, seconds, gen['T'], gen['P'], gen['M']);
    std::printf("spent starting the saver %.1f s, waiting to kill %.1f s, checking %.1f s\n",
                startup.count(), waited.count(), checking.count());
    std::printf("one save takes: tournament %.1f ms, register %.1f ms, movement %.1f ms\n",
                1000 * saveTime['T'], 1000 * saveTime['P'], 1000 * saveTime['M']);
    std::printf("killed inside a save (its temporary file there): %d (empty %d, part-written %d, "
                "complete %d); left-over temporary files removed by the next save: %d\n",
                inSave, tempEmpty, tempPart, tempWhole, cleaned);
    for (char f : Files)
        std::printf("%s: %d saves cut off, %d left the old file, %d the new one\n",
                    targetName.at(f).c_str(), cutShort[f], keptOld[f], foundNew[f]);
    std::printf("of the register's saves cut off, %d were appends\n", appendsCut);
}

} // namespace
