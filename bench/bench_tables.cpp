// Scoring at the tables under load: the 30 tables of a 60-pair Mitchell (one
// board a round, 30 rounds) enter a whole evening at once over loopback, each
// table its own client from an address of its own; then the same evening with
// the server killed with SIGKILL half-way and started again, the tables carrying
// on. Afterwards every result must be in the file exactly once, as entered, and
// the journal must hold one accepted line per result. Prints the latency of an
// accepted result (median and 99th percentile).
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

std::string readAll(const fs::path& p) {
    std::ostringstream s;
    s << std::ifstream(p, std::ios::binary).rdbuf();
    return s.str();
}

pid_t spawn(const std::vector<std::string>& args, const fs::path& out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start " + args[0]);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int runWait(const std::vector<std::string>& args, const fs::path& out) {
    const pid_t pid = spawn(args, out);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// One request from 127.0.0.<source>; the status and body, status 0 when the
// server cannot be reached or the answer is cut.
std::pair<int, std::string> request(int port, int source, const std::string& method,
                                    const std::string& target, const std::string& body) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_addr.s_addr = htonl(0x7f000000u + static_cast<unsigned>(source));
    ::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string got;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
        const std::string req = method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" +
                                std::to_string(port) + "\r\nContent-Length: " +
                                std::to_string(body.size()) + "\r\n\r\n" + body;
        ::send(fd, req.data(), req.size(), MSG_NOSIGNAL);
        char buffer[8192];
        for (;;) {
            const auto n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
            const auto head = got.find("\r\n\r\n");
            const auto len = got.find("Content-Length: ");
            if (head != std::string::npos && len != std::string::npos &&
                got.size() >= head + 4 + std::stoul(got.substr(len + 16)))
                break;
        }
    }
    ::close(fd);
    const auto head = got.find("\r\n\r\n");
    const auto len = got.find("Content-Length: ");
    if (got.size() < 12 || head == std::string::npos || len == std::string::npos ||
        got.size() < head + 4 + std::stoul(got.substr(len + 16)))
        return {0, ""};
    return {std::stoi(got.substr(9, 3)), got.substr(head + 4)};
}

struct Evening {
    fs::path dir, file;
    std::string cli;
    int port = 0;
    pid_t server = 0;
    std::vector<std::string> keys;

    void startServer() {
        const fs::path out = dir / "serve.out";
        server = spawn({cli, "serve", file.string(), "--address", "127.0.0.1", "--port",
                        std::to_string(port)},
                       out);
        for (int i = 0; i < 200; ++i) {
            const std::string o = readAll(out);
            if (o.find("Stop with Ctrl+C") != std::string::npos) {
                keys.clear();
                std::istringstream lines(o);
                std::string line;
                while (std::getline(lines, line))
                    if (line.rfind("Table ", 0) == 0) keys.push_back(line.substr(line.find("k=") + 2));
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        throw std::runtime_error("the server did not start: " + readAll(out));
    }
    void stopServer(int sig) {
        ::kill(server, sig);
        int status = 0;
        waitpid(server, &status, 0);
    }
};

// Plays table t's evening; records each accepted result's latency (ms).
void playTable(Evening& e, int t, std::vector<double>& latency, std::atomic<int>& accepted) {
    const std::string key = e.keys[static_cast<std::size_t>(t - 1)];
    const std::string base = "/api/table/" + std::to_string(t);
    for (;;) {
        auto [status, body] = request(e.port, t + 1, "GET", base + "?k=" + key, "");
        if (status != 200) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        const json j = json::parse(body);
        if (j["round"] == 0) return;
        for (const json& b : j["boards"]) {
            if (!b["result"].is_null() && b["result"]["accepted"] == true) continue;
            const int board = b["board"];
            const json r = {{"board", board}, {"contract", "3N"},
                            {"declarer", (board + t) % 2 ? "N" : "E"},
                            {"tricks", 6 + (board * 7 + t) % 6}};
            if (request(e.port, t + 1, "POST", base + "/result?k=" + key, r.dump()).first != 200)
                break; // the server went away: look again
            const auto start = std::chrono::steady_clock::now();
            const int s = request(e.port, t + 1, "POST", base + "/accept?k=" + key,
                                  json{{"board", board}}.dump())
                              .first;
            if (s != 200) break;
            latency.push_back(std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - start)
                                  .count());
            ++accepted;
        }
    }
}

void runEvening(benchmark::State& state, bool kill) {
    for (auto _ : state) {
        Evening e;
        e.cli = ORLA_CLI;
        e.dir = fs::temp_directory_path() / ("orla-bench-tables-" + std::to_string(::getpid()));
        fs::remove_all(e.dir);
        fs::create_directories(e.dir);
        e.file = e.dir / "evening.otr";
        e.port = 20000 + ::getpid() % 2000 + (kill ? 1 : 0);
        if (runWait({e.cli, "new", e.file.string(), "--movement", "mitchell", "--pairs", "60",
                     "--boards-per-round", "1"},
                    e.dir / "new.out") != 0)
            throw std::runtime_error("orla-cli new failed");
        e.startServer();
        const int tables = static_cast<int>(e.keys.size());
        std::vector<std::vector<double>> latency(static_cast<std::size_t>(tables));
        std::atomic<int> accepted{0};
        std::vector<std::thread> clients;
        for (int t = 1; t <= tables; ++t)
            clients.emplace_back(playTable, std::ref(e), t,
                                 std::ref(latency[static_cast<std::size_t>(t - 1)]),
                                 std::ref(accepted));
        if (kill) {
            while (accepted < 450) std::this_thread::sleep_for(std::chrono::milliseconds(2));
            e.stopServer(SIGKILL);
            e.startServer();
        }
        for (std::thread& c : clients) c.join();
        e.stopServer(SIGTERM);

        // Every result once, as entered; one accepted line per result.
        runWait({e.cli, "dump", e.file.string()}, e.dir / "dump.json");
        const json dump = json::parse(readAll(e.dir / "dump.json"));
        int stored = 0;
        for (const auto& board : dump["Results"])
            for (const auto& v : board) stored += v != 0.0;
        std::map<std::pair<int, int>, int> lines;
        std::ifstream journal(e.dir / "evening.otr.tables");
        std::string line;
        while (std::getline(journal, line)) {
            const json r = json::parse(line);
            if (r["kind"] == "result") ++lines[{r["board"].get<int>(), r["entry"].get<int>()}];
        }
        int doubled = 0;
        for (const auto& [spot, n] : lines) doubled += n != 1;
        std::vector<double> all;
        for (const auto& l : latency) all.insert(all.end(), l.begin(), l.end());
        std::sort(all.begin(), all.end());
        const double median = all.empty() ? 0 : all[all.size() / 2];
        const double p99 = all.empty() ? 0 : all[all.size() * 99 / 100];
        std::printf("%s: %d tables, %d results accepted, %d in the file, %zu journaled, %d doubled;"
                    " accept latency median %.1f ms, 99th percentile %.1f ms\n",
                    kill ? "killed and restarted" : "uninterrupted", tables,
                    static_cast<int>(all.size()), stored, lines.size(), doubled, median, p99);
        if (stored != 900 || lines.size() != 900 || doubled != 0)
            state.SkipWithError("results lost or doubled");
        state.counters["median_ms"] = median;
        state.counters["p99_ms"] = p99;
        fs::remove_all(e.dir);
    }
}

void BM_TablesEvening(benchmark::State& state) { runEvening(state, false); }
void BM_TablesEveningKilled(benchmark::State& state) { runEvening(state, true); }

} // namespace

BENCHMARK(BM_TablesEvening)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_TablesEveningKilled)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
