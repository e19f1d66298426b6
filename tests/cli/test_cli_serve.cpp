// orla-cli serve, run as the director runs it: a table's page over a real socket
// on 127.0.0.1, the same keys after a restart, a port in use said, a clean stop
// on SIGTERM with the result in the file.
#include "cli/clitest.h"

#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

using CliServeTest = CliTest;

// One HTTP request to 127.0.0.1:port; the whole answer, "" when nobody answers.
std::string http(int port, const std::string& request) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string out;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        ::send(fd, request.data(), request.size(), 0);
        char buffer[4096];
        // The server keeps the connection open; read until the body is complete.
        for (;;) {
            const auto n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            out.append(buffer, static_cast<std::size_t>(n));
            const auto head = out.find("\r\n\r\n");
            const auto len = out.find("Content-Length: ");
            if (head != std::string::npos && len != std::string::npos &&
                out.size() >= head + 4 + std::stoul(out.substr(len + 16)))
                break;
        }
    }
    ::close(fd);
    return out;
}

std::string body(const std::string& answer) {
    const auto head = answer.find("\r\n\r\n");
    return head == std::string::npos ? "" : answer.substr(head + 4);
}

class Server {
  public:
    Server(CliServeTest& test, const std::string& args, const std::filesystem::path& dir, int n)
        : out_(dir / ("serve" + std::to_string(n) + ".out")),
          err_(dir / ("serve" + std::to_string(n) + ".err")) {
        std::string pid;
        RUNCOMMAND(args + " >" + QUOTED(UTF8OF(out_)) + " 2>" + QUOTED(UTF8OF(err_)) +
                       " & echo $!",
                   pid);
        pid_ = std::stoi(pid);
        (void)test;
    }
    // Waits until the server printed its lines (or ended); its output so far.
    std::string waitForStart() {
        for (int i = 0; i < 100; ++i) {
            const std::string o = read(out_);
            if (o.find("Stop with Ctrl+C.") != std::string::npos || !alive()) return o;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return read(out_);
    }
    bool alive() { return ::kill(pid_, 0) == 0 && !zombie(); }
    bool zombie() {
        std::string state;
        RUNCOMMAND("ps -o stat= -p " + std::to_string(pid_), state);
        return state.empty() || state[0] == 'Z';
    }
    void stop() {
        ::kill(pid_, SIGTERM);
        for (int i = 0; i < 100 && alive(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~Server() {
        if (alive()) ::kill(pid_, SIGKILL);
    }
    std::string err() { return read(err_); }
    std::string out() { return read(out_); }

  private:
    static std::string read(const std::filesystem::path& p) {
        std::ostringstream all;
        all << std::ifstream(p, std::ios::binary).rdbuf();
        return all.str();
    }
    std::filesystem::path out_, err_;
    int pid_ = 0;
};

TEST_F(CliServeTest, ServesTablesAndStopsCleanly) {
    ASSERT_EQ(run("new " + path("club.otr") + " --movement mitchell --pairs 10 --boards-per-round 2")
                  .code,
              0);
    const int port = 18000 + static_cast<int>(::getpid() % 1000);
    const std::string serve = cli() + " serve " + path("club.otr") +
                              " --address 127.0.0.1 --port " + std::to_string(port);
    std::string lines;
    {
        Server s(*this, serve, tempDir(), 1);
        lines = s.waitForStart();
        ASSERT_NE(lines.find("Table 5: http://127.0.0.1:" + std::to_string(port) + "/t/5?k="),
                  std::string::npos)
            << lines << s.err();
        const auto at = lines.find("/t/1?k=") + 7;
        const std::string key = lines.substr(at, 32);
        const std::string host = "Host: 127.0.0.1:" + std::to_string(port) + "\r\n";
        const std::string got =
            http(port, "GET /api/table/1?k=" + key + " HTTP/1.1\r\n" + host + "\r\n");
        ASSERT_NE(got.find("200 OK"), std::string::npos) << got;
        EXPECT_EQ(nlohmann::json::parse(body(got))["ew"], 6);
        const std::string result = R"({"board":1,"contract":"4S","declarer":"N","tricks":10})";
        const std::string accept = R"({"board":1})";
        EXPECT_NE(http(port, "POST /api/table/1/result?k=" + key + " HTTP/1.1\r\n" + host +
                                 "Content-Length: " + std::to_string(result.size()) + "\r\n\r\n" +
                                 result)
                      .find("200 OK"),
                  std::string::npos);
        EXPECT_NE(http(port, "POST /api/table/1/accept?k=" + key + " HTTP/1.1\r\n" + host +
                                 "Content-Length: " + std::to_string(accept.size()) + "\r\n\r\n" +
                                 accept)
                      .find("200 OK"),
                  std::string::npos);
        // A foreign Host is refused over the wire too.
        EXPECT_NE(http(port, "GET /api/table/1?k=" + key + " HTTP/1.1\r\nHost: evil:80\r\n\r\n")
                      .find("403"),
                  std::string::npos);

        // A second server on the same file says that the first one scores there.
        Server second(*this, serve, tempDir(), 2);
        second.waitForStart();
        for (int i = 0; i < 100 && second.alive(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(second.alive());
        EXPECT_NE(second.err().find("is already running in another program"), std::string::npos)
            << second.err();

        s.stop();
        EXPECT_FALSE(s.alive());
        EXPECT_NE(s.out().find("Stopped;"), std::string::npos) << s.out();
    }
    const Run dump = run("dump " + path("club.otr"));
    ASSERT_EQ(dump.code, 0);
    const auto results = nlohmann::json::parse(dump.out)["Results"];
    EXPECT_EQ(results[0][0], 42.0) << "board 1, entry 1: +420";
    int stored = 0;
    for (const auto& board : results)
        for (const auto& v : board) stored += v != 0.0;
    EXPECT_EQ(stored, 1);

    // The same keys after a restart: the printed cards stay good.
    Server again(*this, serve, tempDir(), 3);
    const std::string relines = again.waitForStart();
    EXPECT_EQ(relines.substr(0, relines.find("Ranking:")), lines.substr(0, lines.find("Ranking:")));
    again.stop();

    // Another seating copied over the file: its journal is kept aside, the
    // tables get new keys, and the director reads why.
    ASSERT_EQ(run("new " + path("other.otr") + " --movement mitchell --pairs 12 --boards-per-round 2")
                  .code,
              0);
    const std::string club = UTF8OF(tempDir() / "club.otr");
    std::filesystem::copy_file(tempDir() / "other.otr", tempDir() / "club.otr",
                               std::filesystem::copy_options::overwrite_existing);
    Server reseated(*this, serve, tempDir(), 4);
    const std::string newLines = reseated.waitForStart();
    EXPECT_NE(newLines.find("Table 6: "), std::string::npos) << newLines << reseated.err();
    EXPECT_EQ(newLines.find(lines.substr(lines.find("/t/1?k="), 39)), std::string::npos);
    EXPECT_NE(reseated.err().find("was written for another seating of the tables (the movement "
                                  "or its size changed since); it is kept as " +
                                  club + ".tables.1"),
              std::string::npos)
        << reseated.err();
    EXPECT_TRUE(std::filesystem::exists(UTF8PATH(club + ".tables.1")));
    reseated.stop();
}

// A file that cannot be saved while serving: the stop does not claim that it
// holds every result, and names the journal that does; serve puts them back.
TEST_F(CliServeTest, AStopThatCannotSaveSaysSo) {
    ASSERT_EQ(run("new " + path("club.otr") + " --movement mitchell --pairs 10 --boards-per-round 2")
                  .code,
              0);
    const int port = 18000 + static_cast<int>((::getpid() + 500) % 1000);
    const std::string serve = cli() + " serve " + path("club.otr") +
                              " --address 127.0.0.1 --port " + std::to_string(port);
    {
        Server s(*this, serve, tempDir(), 1);
        const std::string lines = s.waitForStart();
        const auto at = lines.find("/t/1?k=");
        ASSERT_NE(at, std::string::npos) << lines << s.err();
        const std::string key = lines.substr(at + 7, 32);
        std::filesystem::permissions(tempDir() / "club.otr", std::filesystem::perms::owner_read |
                                                                 std::filesystem::perms::group_read);
        const std::string host = "Host: 127.0.0.1:" + std::to_string(port) + "\r\n";
        for (const auto& [op, body] : std::vector<std::pair<std::string, std::string>>{
                 {"result", R"({"board":1,"contract":"4S","declarer":"N","tricks":10})"},
                 {"accept", R"({"board":1})"}})
            ASSERT_NE(http(port, "POST /api/table/1/" + op + "?k=" + key + " HTTP/1.1\r\n" + host +
                                     "Content-Length: " + std::to_string(body.size()) +
                                     "\r\n\r\n" + body)
                          .find("200 OK"),
                      std::string::npos);
        s.stop();
        EXPECT_EQ(s.out().find("holds every accepted result"), std::string::npos) << s.out();
        EXPECT_NE(s.out().find("club.otr.tables holds the results"), std::string::npos) << s.out();
    }
    std::filesystem::permissions(tempDir() / "club.otr", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    Server again(*this, serve, tempDir(), 2);
    again.waitForStart();
    again.stop();
    EXPECT_EQ(nlohmann::json::parse(run("dump " + path("club.otr")).out)["Results"][0][0], 42.0);
}

// The table addresses are printed as a browser opens them, whatever form the
// address was given in.
TEST_F(CliServeTest, AddressesArePrintedAsABrowserOpensThem) {
    ASSERT_EQ(
        run("new " + path("club.otr") + " --movement mitchell --pairs 10 --boards-per-round 2")
            .code,
        0);
    const int port = 18000 + static_cast<int>((::getpid() + 250) % 1000);
    Server s(*this,
             cli() + " serve " + path("club.otr") + " --address ' 127.1' --port " +
                 std::to_string(port),
             tempDir(), 1);
    const std::string lines = s.waitForStart();
    EXPECT_NE(lines.find("Table 1: http://127.0.0.1:" + std::to_string(port) + "/t/1?k="),
              std::string::npos)
        << lines << s.err();
    EXPECT_NE(lines.find("Ranking: http://127.0.0.1:" + std::to_string(port) + "/ranking\n"),
              std::string::npos)
        << lines;
    s.stop();
}

} // namespace
