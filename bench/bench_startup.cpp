// Start-up of the programs. orla-cli: `--version` and `dump` of a 10-pair evening,
// each started as a user starts it and timed against /bin/true in the same run,
// with the peak memory of each. The window: from nothing to the first painted frame
// of the main window, on the offscreen platform. Settings and the program folder
// live in a temporary folder.

#include "shell/mainwindow.h"
#include "shell/shell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include <fstream>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ChildTime {
    double ms = -1;  // from the start to the end as its parent waits; negative when it failed
    double cpuMs = 0; // the processor time it used, user and system
};

// The time of `argv` as a child, its output thrown away, when it exits 0. Started as
// a shell starts a program (posix_spawn), so that the size of this process costs
// nothing. On a busy machine the processor time is the steadier figure.
ChildTime timeChild(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ChildTime t;
    if (rc != 0) return t;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return t;
    t.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    t.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
              (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return t;
}

// The peak resident memory (MB) of the program `argv` alone: its VmHWM read as it
// exits, stopped there by ptrace. The child's ru_maxrss would not do: it counts the
// memory of this process, which the child was a copy of until it started the
// program. Negative when it cannot be read.
double peakOfChild(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    if (pid < 0) return -1;
    int status = 0;
    // Stopped as the program starts.
    if (waitpid(pid, &status, 0) != pid || !WIFSTOPPED(status)) return -1;
    ptrace(PTRACE_SETOPTIONS, pid, nullptr, reinterpret_cast<void*>(PTRACE_O_TRACEEXIT));
    ptrace(PTRACE_CONT, pid, nullptr, nullptr);
    double peak = -1;
    while (waitpid(pid, &status, 0) == pid && WIFSTOPPED(status)) {
        int signal = WSTOPSIG(status);
        if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
            std::ifstream in("/proc/" + std::to_string(pid) + "/status");
            for (std::string line; std::getline(in, line);)
                if (line.rfind("VmHWM:", 0) == 0) peak = std::stod(line.substr(6)) / 1024.0;
            signal = 0;
        }
        ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(signal)));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? peak : -1;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// /bin/true, `orla-cli --version` and `orla-cli dump` of the 10-pair Mitchell
// evening of the test data, in turn, so that each ratio compares runs of the same
// moment of a busy machine. Counters: the median times (ms), the ratios to
// /bin/true of those (x) and of the processor times (cpu_x), and the peak memory of
// one run of each (MB).
void CliStartup(benchmark::State& state) {
    static QTemporaryDir folder;
    setenv("ORLA_PROGRAM_FOLDER", folder.path().toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit().constData(), 1);
    const std::vector<std::string> commands[3] = {
        {"/bin/true"},
        {ORLA_CLI, "--version"},
        {ORLA_CLI, "dump", ORLA_SOURCE_DIR "/tests/data/mitchell_mp/input.otr"},
    };
    double peak[3] = {};
    for (int c = 0; c < 3; ++c) {
        peak[c] = peakOfChild(commands[c]);
        if (peak[c] < 0) {
            state.SkipWithError((commands[c].back() + ": its peak memory could not be read").c_str());
            return;
        }
    }
    std::vector<double> ms[3], cpu[3];
    for (auto _ : state) {
        for (int c = 0; c < 3; ++c) {
            const ChildTime t = timeChild(commands[c]);
            if (t.ms < 0) {
                state.SkipWithError((commands[c].back() + " failed").c_str());
                return;
            }
            ms[c].push_back(t.ms);
            cpu[c].push_back(t.cpuMs);
        }
    }
    const double t = median(ms[0]), version = median(ms[1]), dump = median(ms[2]);
    state.counters["true_ms"] = t;
    state.counters["version_ms"] = version;
    state.counters["dump_ms"] = dump;
    state.counters["version_x"] = version / t;
    state.counters["dump_x"] = dump / t;
    state.counters["version_cpu_x"] = median(cpu[1]) / median(cpu[0]);
    state.counters["dump_cpu_x"] = median(cpu[2]) / median(cpu[0]);
    state.counters["true_MB"] = peak[0];
    state.counters["version_MB"] = peak[1];
    state.counters["dump_MB"] = peak[2];
}
BENCHMARK(CliStartup)->Unit(benchmark::kMillisecond)->Iterations(100);

QApplication& application() {
    static QTemporaryDir folder;
    static int argc = 1;
    static char name[] = "bench_startup";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    qputenv("ORLA_PROGRAM_FOLDER", folder.path().toLocal8Bit());
    static QApplication app(argc, argv);
    return app;
}

void StartupToFirstPaint(benchmark::State& state) {
    application();
    for (auto _ : state) {
        MainFrame* w = STARTUP({});
        QElapsedTimer waited;
        waited.start();
        while (w->drawArea()->paints == 0 && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (w->drawArea()->paints == 0) {
            state.SkipWithError("the main window was never painted");
            SHUTDOWN();
            break;
        }
        state.PauseTiming();
        SHUTDOWN();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(StartupToFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace
