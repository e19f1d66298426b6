// The table server's request handling, without a socket: a table enters and
// accepts its boards; every refusal says why and changes nothing.
#include "servertest.h"

#include "core/results.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace {

using nlohmann::json;

class HttpTest : public ServerTest {
  protected:
    void SetUp() override {
        ServerTest::SetUp();
        openEvening(MOVE_MITCHELL, 10, 2); // 5 tables; table 1 plays boards 1-2 first
        std::string reason;
        ASSERT_TRUE(STARTTABLES(reason)) << reason;
        AllowedHosts = {"club.lan:8080", "192.168.1.10:8080"};
        StaticFiles["/table.html"] = {"text/html; charset=utf-8", "<!doctype html>table"};
        StaticFiles["/static/table.js"] = {"text/javascript; charset=utf-8", "// js"};
    }

    double clock = 1000;
    HttpResponse send(const std::string& method, const std::string& path, const std::string& query,
                      const std::string& body = "",
                      std::vector<std::pair<std::string, std::string>> headers = {
                          {"Host", "club.lan:8080"}},
                      const std::string& peer = "192.168.1.50") {
        clock += 0.2;
        return HANDLEREQUEST({method, path, query, body, headers, peer}, clock);
    }
    std::string key(int table) { return "k=" + Tables[static_cast<std::size_t>(table - 1)].token; }

    // Everything a request could change: results, tables, journal, file.
    std::string state() {
        std::string s;
        for (int i = 1; i <= NumRounds; ++i)
            for (int b = 1; b <= NumBoards; ++b) s += std::to_string(Results(b, i)) + ",";
        for (const TableState& t : Tables)
            s += "|" + std::to_string(t.round) + std::to_string(t.pending.size()) +
                 std::to_string(t.accepted.size()) + std::to_string(t.inverted);
        return s + readFile(JournalFile) + readFile(TournamentFile);
    }
};

void expectSafeHeaders(const HttpResponse& r) {
    EXPECT_EQ(r.header("X-Frame-Options"), "DENY");
    EXPECT_EQ(r.header("X-Content-Type-Options"), "nosniff");
    EXPECT_NE(r.header("Content-Security-Policy").find("default-src 'none'"), std::string::npos);
    EXPECT_EQ(r.header("Referrer-Policy"), "no-referrer");
}

TEST_F(HttpTest, ATablePlaysItsRound) {
    HttpResponse r = send("GET", "/api/table/1", key(1));
    ASSERT_EQ(r.status, 200) << r.body;
    expectSafeHeaders(r);
    json j = json::parse(r.body);
    EXPECT_EQ(j["table"], 1);
    EXPECT_EQ(j["round"], 1);
    EXPECT_EQ(j["ns"], 1);
    EXPECT_EQ(j["ew"], 6);
    EXPECT_EQ(j["boards"], json::parse(R"([
        {"board":1,"dealer":"N","vulnerable":"None","result":null},
        {"board":2,"dealer":"E","vulnerable":"NS","result":null}])"));
    EXPECT_EQ(j["next"], json::parse(R"({"round":2,"ns":1,"ew":10,"boards":[3,4]})"));

    r = send("POST", "/api/table/1/result", key(1),
             R"({"board":1,"contract":"4S","declarer":"N","tricks":10,"lead":"HK"})");
    ASSERT_EQ(r.status, 200) << r.body;
    EXPECT_EQ(json::parse(r.body), json::parse(R"({"board":1,"nsScore":420})"));
    EXPECT_EQ(Results(1, 1), 0.0f) << "only an accepted result is stored";
    r = send("POST", "/api/table/1/accept", key(1), R"({"board":1})");
    ASSERT_EQ(r.status, 200) << r.body;
    EXPECT_EQ(Results(1, 1), 42.0f);
    EXPECT_FALSE(Modified) << "saved at once";

    // A correction before the round ends; then the round's last board.
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1),
                   R"({"board":1,"contract":"4S","declarer":"N","tricks":11})").status,
              200);
    ASSERT_EQ(send("POST", "/api/table/1/accept", key(1), R"({"board":1})").status, 200);
    EXPECT_EQ(Results(1, 1), 45.0f);
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1), R"({"board":2,"contract":"PASS"})").status,
              200);
    r = send("POST", "/api/table/1/accept", key(1), R"({"board":2})");
    ASSERT_EQ(r.status, 200);
    EXPECT_EQ(json::parse(r.body)["roundComplete"], true);
    j = json::parse(send("GET", "/api/table/1", key(1)).body);
    EXPECT_EQ(j["round"], 2);
    EXPECT_EQ(j["ew"], 10);

    // The journal holds the details the file has no place for.
    JournalContents contents;
    std::string reason;
    ASSERT_TRUE(READJOURNAL(JournalFile, contents, reason));
    ASSERT_EQ(contents.records.size(), 4u);
    EXPECT_EQ(contents.records[1]["lead"], "HK");
    EXPECT_EQ(contents.records[3]["contract"], "PASS");

    // A reopened file has the results; the ranking shows the complete boards.
    r = send("GET", "/api/ranking", "");
    ASSERT_EQ(r.status, 200);
    EXPECT_EQ(json::parse(r.body)["pairs"], json::array()) << "hidden while playing";
}

// The director's token, and the pages from the resources.
TEST_F(HttpTest, DirectorAndPages) {
    EXPECT_EQ(send("GET", "/api/director", key(1)).status, 403);
    HttpResponse r = send("GET", "/api/director", "k=" + DirectorToken);
    ASSERT_EQ(r.status, 200);
    EXPECT_EQ(json::parse(r.body)["tables"].size(), 5u);
    r = send("GET", "/t/3", key(3));
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, "<!doctype html>table");
    expectSafeHeaders(r);
    EXPECT_EQ(send("GET", "/static/table.js", "").status, 200);
    EXPECT_EQ(send("GET", "/static/../../etc/passwd", "").status, 404);
    EXPECT_EQ(send("GET", "/static/other.js", "").status, 404);
    EXPECT_EQ(send("GET", "/t/9", "").status, 404);
}

TEST_F(HttpTest, EveryRefusalSaysWhyAndChangesNothing) {
    // Table 1 has a result waiting on board 1, so that accepting it would change
    // the tournament.
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1),
                   R"({"board":1,"contract":"3N","declarer":"S","tricks":9})").status,
              200);
    const std::string good = R"({"board":1})";
    const std::string host = "club.lan:8080";
    struct Row {
        const char* what;
        std::string method, path, query, body;
        std::vector<std::pair<std::string, std::string>> headers;
        int status;
    };
    const std::vector<Row> rows = {
        {"body over 4 KB", "POST", "/api/table/1/accept", key(1),
         R"({"board":1})" + std::string(4100, ' '), {{"Host", host}}, 413},
        {"foreign host", "POST", "/api/table/1/accept", key(1), good, {{"Host", "evil.example"}}, 403},
        {"no host", "POST", "/api/table/1/accept", key(1), good, {}, 403},
        {"foreign origin", "POST", "/api/table/1/accept", key(1), good,
         {{"Host", host}, {"Origin", "http://evil.example"}}, 403},
        {"foreign referer", "POST", "/api/table/1/accept", key(1), good,
         {{"Host", host}, {"Referer", "http://evil.example/t/1"}}, 403},
        {"https origin", "POST", "/api/table/1/accept", key(1), good,
         {{"Host", host}, {"Origin", "https://club.lan:8080"}}, 403},
        {"no key", "POST", "/api/table/1/accept", "", good, {{"Host", host}}, 403},
        {"wrong key", "POST", "/api/table/1/accept", "k=0123456789abcdef0123456789abcdef", good,
         {{"Host", host}}, 403},
        {"another table's key", "POST", "/api/table/1/accept", key(2), good, {{"Host", host}}, 403},
        {"key cut short", "POST", "/api/table/1/accept", key(1).substr(0, 20), good,
         {{"Host", host}}, 403},
        {"table 0", "POST", "/api/table/0/accept", key(1), good, {{"Host", host}}, 403},
        {"table 01", "POST", "/api/table/01/accept", key(1), good, {{"Host", host}}, 403},
        {"table 6", "POST", "/api/table/6/accept", key(1), good, {{"Host", host}}, 403},
        {"another table's board", "POST", "/api/table/1/result", key(1),
         R"({"board":3,"contract":"3N","declarer":"S","tricks":9})", {{"Host", host}}, 403},
        {"a later round's board", "POST", "/api/table/1/accept", key(1), R"({"board":4})",
         {{"Host", host}}, 403},
        {"nothing to accept", "POST", "/api/table/1/accept", key(1), R"({"board":2})",
         {{"Host", host}}, 409},
        {"a pair not at the table", "POST", "/api/table/1/start", key(1), R"({"ns":2})",
         {{"Host", host}}, 409},
        {"not JSON", "POST", "/api/table/1/accept", key(1), "{board:1}", {{"Host", host}}, 400},
        {"an array", "POST", "/api/table/1/accept", key(1), "[1]", {{"Host", host}}, 400},
        {"unknown field", "POST", "/api/table/1/accept", key(1), R"({"board":1,"x":2})",
         {{"Host", host}}, 400},
        {"board as text", "POST", "/api/table/1/accept", key(1), R"({"board":"1"})",
         {{"Host", host}}, 400},
        {"board 0", "POST", "/api/table/1/accept", key(1), R"({"board":0})", {{"Host", host}}, 400},
        {"board huge", "POST", "/api/table/1/accept", key(1), R"({"board":1e30})",
         {{"Host", host}}, 400},
        {"14 tricks", "POST", "/api/table/1/result", key(1),
         R"({"board":1,"contract":"3N","declarer":"S","tricks":14})", {{"Host", host}}, 400},
        {"level 8", "POST", "/api/table/1/result", key(1),
         R"({"board":1,"contract":"8N","declarer":"S","tricks":9})", {{"Host", host}}, 400},
        {"declarer X", "POST", "/api/table/1/result", key(1),
         R"({"board":1,"contract":"3N","declarer":"X","tricks":9})", {{"Host", host}}, 400},
        {"lead ZZ", "POST", "/api/table/1/result", key(1),
         R"({"board":1,"contract":"3N","declarer":"S","tricks":9,"lead":"ZZ"})", {{"Host", host}},
         400},
        {"passed out with tricks", "POST", "/api/table/1/result", key(1),
         R"({"board":1,"contract":"PASS","tricks":0})", {{"Host", host}}, 400},
        {"a score the file cannot hold", "POST", "/api/table/1/result", key(1),
         R"({"board":2,"contract":"7NXX","declarer":"N","tricks":0})", {{"Host", host}}, 400},
        {"PUT", "PUT", "/api/table/1/accept", key(1), good, {{"Host", host}}, 405},
        {"GET of an operation", "GET", "/api/table/1/accept", key(1), "", {{"Host", host}}, 405},
        {"unknown operation", "POST", "/api/table/1/delete", key(1), good, {{"Host", host}}, 404},
    };
    const std::string before = state();
    int peer = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const HttpResponse r = send(row.method, row.path, row.query, row.body, row.headers,
                                    "192.168.1." + std::to_string(++peer));
        EXPECT_EQ(r.status, row.status) << r.body;
        expectSafeHeaders(r);
        const json j = json::parse(r.body, nullptr, false);
        ASSERT_TRUE(j.is_object() && j["error"].is_string() && !j["error"].get<std::string>().empty())
            << r.body;
        EXPECT_EQ(state(), before);
    }
    // The pending result is still there to be accepted.
    EXPECT_EQ(send("POST", "/api/table/1/accept", key(1), good).status, 200);
    EXPECT_EQ(Results(1, 1), 40.0f);
}

// Two phones at one table: EW accept the score their phone showed, not one the
// other phone entered over it meanwhile.
TEST_F(HttpTest, AnAcceptTakesOnlyTheScoreItShowed) {
    const std::string threeNT = R"({"board":1,"contract":"3N","declarer":"N","tricks":9})";
    const std::string downOne = R"({"board":1,"contract":"3N","declarer":"N","tricks":8})";
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1), threeNT).status, 200); // phone A: 400
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1), downOne).status, 200); // phone B: -50
    const struct {
        const char* body;
        int status;
        float stored;
    } rows[] = {
        {R"({"board":1,"nsScore":400})", 409, 0.0f},   // A's stale score: refused
        {R"({"board":1,"nsScore":"400"})", 400, 0.0f}, // not a number
        {R"({"board":1,"nsScore":-50})", 200, -5.0f},  // what is entered now
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.body);
        const std::string before = state();
        const HttpResponse r = send("POST", "/api/table/1/accept", key(1), row.body);
        EXPECT_EQ(r.status, row.status) << r.body;
        EXPECT_EQ(Results(1, 1), row.stored);
        if (row.status != 200) {
            EXPECT_EQ(state(), before);
        }
    }
    EXPECT_NE(send("POST", "/api/table/1/accept", key(1), R"({"board":2,"nsScore":0})").body.find(
                  "no result waiting"),
              std::string::npos);
}

// A correction typed on one board is not dropped by accepting the round's last
// board before it: that accept waits until the correction is accepted.
TEST_F(HttpTest, ACorrectionWaitingIsNotDroppedByTheLastBoard) {
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1),
                   R"({"board":1,"contract":"4S","declarer":"N","tricks":10})").status, 200);
    ASSERT_EQ(send("POST", "/api/table/1/accept", key(1), R"({"board":1})").status, 200);
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1), R"({"board":2,"contract":"PASS"})").status,
              200);
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1),
                   R"({"board":1,"contract":"4S","declarer":"N","tricks":11})").status, 200);
    const std::string before = state();
    HttpResponse r = send("POST", "/api/table/1/accept", key(1), R"({"board":2})");
    EXPECT_EQ(r.status, 409);
    EXPECT_NE(r.body.find("Board 1 has a corrected result waiting"), std::string::npos) << r.body;
    EXPECT_EQ(state(), before);
    ASSERT_EQ(send("POST", "/api/table/1/accept", key(1), R"({"board":1})").status, 200);
    EXPECT_EQ(Results(1, 1), 45.0f);
    r = send("POST", "/api/table/1/accept", key(1), R"({"board":2})");
    ASSERT_EQ(r.status, 200) << r.body;
    EXPECT_EQ(json::parse(r.body)["roundComplete"], true);
}

// In a custom movement a pair whose next table has not given its NS pair yet is
// told whose table that is, not that it sits out.
TEST_F(HttpTest, ACustomMovesPairsToTablesNotYetSeated) {
    MovementType = MOVE_CUSTOM; // the Mitchell's schedule, as a movement file gives it
    std::string reason;
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    ASSERT_EQ(send("POST", "/api/table/1/start", key(1), R"({"ns":1})").status, 200);
    for (const char* board : {"1", "2"}) {
        ASSERT_EQ(send("POST", "/api/table/1/result", key(1),
                       std::string(R"({"board":)") + board + R"(,"contract":"PASS"})").status,
                  200);
        ASSERT_EQ(send("POST", "/api/table/1/accept", key(1),
                       std::string(R"({"board":)") + board + "}").status,
                  200);
    }
    const json j = json::parse(send("GET", "/api/table/1", key(1)).body);
    EXPECT_EQ(j["moved"]["moves"], json::parse(R"([
        {"pair":1,"table":1,"side":"NS"},
        {"pair":6,"table":null,"side":"EW","tableOf":2}])"));
}

TEST_F(HttpTest, FastClientsAreSlowedAndKeyGuessersShutOut) {
    const std::string before = state();
    // 20 requests in one second are answered; the 21st is not.
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(HANDLEREQUEST({"GET", "/api/table/1", key(1), "", {{"Host", "club.lan:8080"}}, "a"},
                                5000.0 + i * 0.01)
                      .status,
                  200);
    HttpResponse r = HANDLEREQUEST(
        {"POST", "/api/table/1/result", key(1), R"({"board":1,"contract":"PASS"})",
         {{"Host", "club.lan:8080"}}, "a"},
        5000.5);
    EXPECT_EQ(r.status, 429);
    EXPECT_EQ(r.header("Retry-After"), "1");
    EXPECT_EQ(state(), before);
    // A second later it is answered again.
    EXPECT_EQ(HANDLEREQUEST({"GET", "/api/table/1", key(1), "", {{"Host", "club.lan:8080"}}, "a"},
                            5001.3)
                  .status,
              200);

    // A page left open from another evening asks with its old key again and
    // again: that is no guessing, and the phone may still open tonight's table.
    for (int i = 0; i < 3 * MaxWrongKeys; ++i)
        ASSERT_EQ(HANDLEREQUEST({"GET", "/api/table/2", "k=" + std::string(32, 'a'), "",
                                 {{"Host", "club.lan:8080"}}, "d"},
                                5500.0 + i)
                      .status,
                  403);
    EXPECT_EQ(HANDLEREQUEST({"GET", "/api/table/2", key(2), "", {{"Host", "club.lan:8080"}}, "d"},
                            5540)
                  .status,
              200);

    // Ten different wrong keys shut the client out, even with the right key after them.
    for (int i = 0; i < MaxWrongKeys; ++i)
        ASSERT_EQ(HANDLEREQUEST({"GET", "/api/table/2", "k=" + std::string(31, 'a') + char('a' + i),
                                 "", {{"Host", "club.lan:8080"}}, "b"},
                                6000.0 + i)
                      .status,
                  403);
    r = HANDLEREQUEST({"GET", "/api/table/2", key(2), "", {{"Host", "club.lan:8080"}}, "b"}, 6020);
    EXPECT_EQ(r.status, 403);
    EXPECT_NE(r.body.find("Too many wrong keys"), std::string::npos);
    // Other clients are not; after the wait the client is let in again.
    EXPECT_EQ(HANDLEREQUEST({"GET", "/api/table/2", key(2), "", {{"Host", "club.lan:8080"}}, "c"},
                            6020)
                  .status,
              200);

    // A thousand devices that asked once are forgotten after a minute; the one
    // shut out stays shut out meanwhile.
    for (int i = 0; i < 1000; ++i)
        HANDLEREQUEST({"GET", "/api/ranking", "", "", {{"Host", "club.lan:8080"}},
                       "10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250)},
                      6030);
    EXPECT_GT(KNOWNCLIENTS(), 1000u);
    EXPECT_EQ(HANDLEREQUEST({"GET", "/api/table/2", key(2), "", {{"Host", "club.lan:8080"}}, "b"},
                            6100)
                  .status,
              403);
    EXPECT_LT(KNOWNCLIENTS(), 10u);
    EXPECT_EQ(HANDLEREQUEST({"GET", "/api/table/2", key(2), "", {{"Host", "club.lan:8080"}}, "b"},
                            6020 + ShutOutSeconds)
                  .status,
              200);
}

// The director's typing wins over a table's later accept, and the journal says so.
TEST_F(HttpTest, TheDirectorsResultWins) {
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1),
                   R"({"board":1,"contract":"3N","declarer":"S","tricks":9})").status,
              200);
    Results(1, 1) = 17.0f; // typed in the window meanwhile
    const HttpResponse r = send("POST", "/api/table/1/accept", key(1), R"({"board":1})");
    EXPECT_EQ(r.status, 409);
    EXPECT_EQ(json::parse(r.body)["error"], "The director has entered the result of board 1.");
    EXPECT_EQ(Results(1, 1), 17.0f);
    JournalContents contents;
    std::string reason;
    ASSERT_TRUE(READJOURNAL(JournalFile, contents, reason));
    EXPECT_EQ(contents.records.back()["kind"], "director");

    // The board is done all the same: the table finishes its round and moves on,
    // and a reload shows the next round.
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1),
                   R"({"board":2,"contract":"4S","declarer":"N","tricks":10})").status,
              200);
    const HttpResponse last = send("POST", "/api/table/1/accept", key(1), R"({"board":2})");
    ASSERT_EQ(last.status, 200) << last.body;
    EXPECT_EQ(json::parse(last.body)["roundComplete"], true);
    EXPECT_EQ(json::parse(send("GET", "/api/table/1", key(1)).body)["round"], 2);
    EXPECT_EQ(Results(1, 1), 17.0f);

    // A round whose boards the director typed whole is done at the table's next
    // request: its entered result there is gone with the round.
    const int round = Tables[0].round;
    const Seat* seat = CURRENTSEAT(Tables[0]);
    ASSERT_NE(seat, nullptr);
    const int first = FIRSTBOARD(seat->set);
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1),
                   "{\"board\":" + std::to_string(first) +
                       R"(,"contract":"3N","declarer":"S","tricks":9})").status,
              200);
    for (int b = first; b <= LASTBOARD(seat->set); ++b) Results(b, seat->entry) = 11.0f;
    // The table is told why, not that the board is not played there.
    const struct {
        std::string op, body;
    } late[] = {
        {"accept", "{\"board\":" + std::to_string(first) + "}"},
        {"result", "{\"board\":" + std::to_string(first) + R"(,"contract":"PASS"})"},
    };
    for (const auto& row : late) {
        const HttpResponse refused = send("POST", "/api/table/1/" + row.op, key(1), row.body);
        EXPECT_EQ(refused.status, 409) << row.op;
        EXPECT_EQ(json::parse(refused.body)["error"],
                  "The director has entered the result of board " + std::to_string(first) +
                      "; round " + std::to_string(round) + " is complete.");
    }
    // A board the table accepted in an earlier round is the director's to change.
    const HttpResponse done = send("POST", "/api/table/1/result", key(1),
                                   R"({"board":2,"contract":"PASS"})");
    EXPECT_EQ(done.status, 409);
    EXPECT_EQ(json::parse(done.body)["error"],
              "Round 1 is complete: board 2 is changed only by the director now.");
    EXPECT_EQ(Tables[0].round, round + 1);
    EXPECT_EQ(Results(first, seat->entry), 11.0f);
}

// The table's page shows what the tournament holds: the director's result over
// the table's (refusing the table's correction), adjusted ones, as the table
// sits; and, after a reload, where the pairs of the round just completed go.
TEST_F(HttpTest, ThePageShowsWhatTheTournamentHolds) {
    auto page = [&](int table) { return json::parse(send("GET", "/api/table/" + std::to_string(table), key(table)).body); };
    auto enter = [&](const std::string& body) {
        return send("POST", "/api/table/1/result", key(1), body).status;
    };
    ASSERT_EQ(enter(R"({"board":1,"contract":"4S","declarer":"N","tricks":10})"), 200);
    ASSERT_EQ(send("POST", "/api/table/1/accept", key(1), R"({"board":1})").status, 200);
    std::string reason;
    Results(1, 1) = 50.0f; // the director types over it
    ASSERT_TRUE(DIRECTORTYPED(1, 1, 42.0f, 50.0f, reason)) << reason;
    json j = page(1);
    EXPECT_EQ(j["boards"][0]["result"],
              json::parse(R"({"contract":null,"declarer":null,"tricks":null,"nsScore":500,
                              "accepted":true,"director":true,"adjusted":false})"));
    EXPECT_EQ(j["boards"][1]["result"], nullptr);
    const std::string before = state();
    const HttpResponse refused = send("POST", "/api/table/1/result", key(1),
                                      R"({"board":1,"contract":"3N","declarer":"N","tricks":9})");
    EXPECT_EQ(refused.status, 409);
    EXPECT_EQ(json::parse(refused.body)["error"],
              "The director has entered the result of board 1; ask the director to change it.");
    EXPECT_EQ(state(), before);
    Results(2, 1) = ENCODEADJUSTED(60, 40); // and gives board 2 an adjusted score

    // The director's results finished the round: the page says where the pairs
    // go (pair 1 stays, pair 6 moves up), again after a reload, until the next
    // round's first accept.
    const json moved = json::parse(R"({"round":1,"moves":[{"pair":1,"table":1,"side":"NS"},
                                                         {"pair":6,"table":2,"side":"EW"}]})");
    EXPECT_EQ(page(1)["round"], 2);
    EXPECT_EQ(page(1)["moved"], moved);
    ASSERT_EQ(enter(R"({"board":3,"contract":"3N","declarer":"N","tricks":9})"), 200);
    EXPECT_EQ(page(1)["moved"], moved) << "entered, not accepted";
    ASSERT_EQ(send("POST", "/api/table/1/accept", key(1), R"({"board":3})").status, 200);
    EXPECT_EQ(page(1)["moved"], nullptr);
    EXPECT_EQ(page(1)["swap"], false);

    // Table 2 sits the other way round (pair 7 NS): the director's result is
    // shown from the side of the pair sitting NS there. A result the director
    // entered first leaves the page's "We sit the other way round" button.
    const Seat* seat = CURRENTSEAT(Tables[1]);
    ASSERT_NE(seat, nullptr);
    const int board = FIRSTBOARD(seat->set);
    Results(board + 1, seat->entry) = ENCODEORDINARY(11);
    EXPECT_EQ(page(2)["swap"], true);
    ASSERT_EQ(send("POST", "/api/table/2/start", key(2), R"({"ns":7})").status, 200);
    Results(board + 1, seat->entry) = 0.0f;
    for (const auto& [stored, shown] :
         {std::pair{ENCODEORDINARY(42), json(-420)}, {ENCODEINVERTED(42), json(420)},
          {ENCODEADJUSTED(60, 40), json(nullptr)}}) {
        Results(board, seat->entry) = stored;
        const json result = page(2)["boards"][0]["result"];
        EXPECT_EQ(result["nsScore"], shown) << stored;
        EXPECT_EQ(result["adjusted"], shown.is_null()) << stored;
        EXPECT_EQ(page(2)["round"], 1) << "board " << board + 1 << " is still to play";
    }
}

// Names reach the page as JSON strings, whatever characters they hold.
TEST_F(HttpTest, NamesAreTextNotMarkup) {
    SETFIELD(PlayerNames(1, 1).c, NameLength, "<img src=x onerror=alert(1)>");
    SETFIELD(PlayerNames(1, 2).c, NameLength, "\x8a" "ari\xe6"); // Šarić in Windows-1250
    const HttpResponse r = send("GET", "/api/table/1", key(1));
    ASSERT_EQ(r.status, 200);
    EXPECT_EQ(r.header("Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(json::parse(r.body)["nsNames"], "<img src=x onerror=alert(1)> - \u0160ari\u0107");
}

} // namespace

namespace {

// Pairs sitting the wrong way round: the NS pair confirmed is the plan's EW pair,
// and the result is stored as the director's inversion stores it.
TEST_F(HttpTest, PairsTheWrongWayRoundAreStoredAsAnInversion) {
    HttpResponse r = send("POST", "/api/table/1/start", key(1), R"({"ns":6})");
    ASSERT_EQ(r.status, 200) << r.body;
    EXPECT_EQ(json::parse(r.body)["inverted"], true);
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1),
                   R"({"board":1,"contract":"4S","declarer":"N","tricks":10})").status,
              200);
    ASSERT_EQ(send("POST", "/api/table/1/accept", key(1), R"({"board":1})").status, 200);
    EXPECT_EQ(Results(1, 1), -958.0f); // +420 for pair 6, sitting NS
    // Once a board is accepted the direction can no longer change.
    r = send("POST", "/api/table/1/start", key(1), R"({"ns":1})");
    EXPECT_EQ(r.status, 409);
    EXPECT_EQ(Results(1, 1), -958.0f);
}

} // namespace

namespace {

// Once a table's round is complete, and only when the director allows it, its
// page gets the travellers of the round's boards: every stored result with the
// pairs as they sat, the contract where a table entered it.
TEST_F(HttpTest, TravellersOnceTheRoundIsComplete) {
    auto travellers = [&]() {
        const HttpResponse r = send("GET", "/api/table/1", key(1));
        EXPECT_EQ(r.status, 200) << r.body;
        const json j = json::parse(r.body);
        return j.contains("travellers") ? j["travellers"] : json();
    };
    auto play = [&](const std::string& body, int board) {
        ASSERT_EQ(send("POST", "/api/table/1/result", key(1), body).status, 200);
        ASSERT_EQ(send("POST", "/api/table/1/accept", key(1),
                       "{\"board\":" + std::to_string(board) + "}").status, 200);
    };
    ShowTravellers = true;
    EXPECT_TRUE(travellers().is_null()) << "nothing accepted yet";
    play(R"({"board":1,"contract":"4SX","declarer":"N","tricks":9,"lead":"HK"})", 1);
    EXPECT_TRUE(travellers().is_null()) << "the round is not complete";

    // Results the director typed in the window: ordinary, inverted, adjusted.
    Results(1, 2) = ENCODEORDINARY(-62);
    Results(1, 3) = ENCODEINVERTED(11);
    Results(2, 4) = ENCODEADJUSTED(4, 6);
    play(R"({"board":2,"contract":"PASS"})", 2);
    ShowTravellers = false;
    EXPECT_TRUE(travellers().is_null()) << "the director has not allowed it";
    ShowTravellers = true;

    const auto row = [](int ns, int ew, json contract, json declarer, json tricks, json score,
                        bool adjusted) {
        return json{{"ns", ns}, {"ew", ew}, {"contract", contract}, {"declarer", declarer},
                    {"tricks", tricks}, {"nsScore", score}, {"adjusted", adjusted}};
    };
    const json expected = {
        {"round", 1},
        {"boards",
         {{{"board", 1},
           {"results",
            {row(1, 6, "4SX", "N", 9, -100, false),
             row(Movement(1, 2, 1), Movement(1, 2, 2), nullptr, nullptr, nullptr, -620, false),
             row(Movement(1, 3, 2), Movement(1, 3, 1), nullptr, nullptr, nullptr, 110, false)}}},
          {{"board", 2},
           {"results",
            {row(1, 6, "PASS", nullptr, nullptr, 0, false),
             row(Movement(1, 4, 1), Movement(1, 4, 2), nullptr, nullptr, nullptr, nullptr,
                 true)}}}}}};
    EXPECT_EQ(travellers(), expected);

    // The journal brings the details back after a restart.
    RESETTABLES();
    std::string reason;
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    ShowTravellers = true;
    EXPECT_EQ(travellers(), expected);

    // A director's result over the table's keeps the score, not the table's contract.
    Results(1, 1) = ENCODEORDINARY(-20);
    json changed = expected;
    changed["boards"][0]["results"][0] = row(1, 6, nullptr, nullptr, nullptr, -200, false);
    EXPECT_EQ(travellers(), changed);

    // Gone once the next round has an accepted board.
    play(R"({"board":3,"contract":"1N","declarer":"E","tricks":7})", 3);
    EXPECT_TRUE(travellers().is_null());
}

} // namespace

// A result the director clears: in the table's own round the board is the
// table's to enter again; in a round the table has left (its pairs moved on and
// it accepted a board since) the table stays where it plays now.
TEST_F(HttpTest, AResultTheDirectorClears) {
    auto page = [&] { return json::parse(send("GET", "/api/table/1", key(1)).body); };
    auto type = [](int board, float value) {
        const float before = Results(board, 1);
        Results(board, 1) = value;
        std::string reason;
        EXPECT_TRUE(DIRECTORTYPED(board, 1, before, value, reason)) << reason;
    };
    type(1, 42.0f);
    EXPECT_EQ(page()["boards"][0]["result"]["director"], true);
    type(1, 0.0f);
    EXPECT_EQ(page()["boards"][0]["result"], nullptr);
    EXPECT_EQ(
        send("POST", "/api/table/1/result", key(1), R"({"board":1,"contract":"PASS"})").status,
        200);

    // The director finishes round 1; the table plays board 3 of round 2.
    type(1, 42.0f);
    type(2, 43.0f);
    EXPECT_EQ(page()["round"], 2);
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1),
                   R"({"board":3,"contract":"3N","declarer":"N","tricks":9})")
                  .status,
              200);
    ASSERT_EQ(send("POST", "/api/table/1/accept", key(1), R"({"board":3})").status, 200);
    type(1, 0.0f); // cleared: typed in the wrong row
    EXPECT_EQ(page()["round"], 2);
    EXPECT_EQ(send("POST", "/api/table/1/result", key(1),
                   R"({"board":4,"contract":"3N","declarer":"N","tricks":9})")
                  .status,
              200);
    const HttpResponse refused =
        send("POST", "/api/table/1/result", key(1), R"({"board":1,"contract":"PASS"})");
    EXPECT_EQ(refused.status, 409);
    EXPECT_EQ(json::parse(refused.body)["error"],
              "Round 1 is complete: board 1 is changed only by the director now.");

    // A board with every result in but one the director clears is not complete
    // on the ranking page; one with an accepted passed-out board is.
    auto complete = [&](int board) {
        const json j = json::parse(send("GET", "/api/ranking", "").body)["complete"];
        return std::find(j.begin(), j.end(), json(board)) != j.end();
    };
    const Seat* seat = CURRENTSEAT(Tables[0]);
    ASSERT_NE(seat, nullptr);
    for (int b : {3, 4})
        for (int i = 1; i <= SetEntries(seat->set); ++i)
            if (i != seat->entry) Results(b, i) = ENCODEORDINARY(42);
    EXPECT_TRUE(complete(3));
    const float table = Results(3, seat->entry);
    Results(3, seat->entry) = 0.0f;
    std::string reason;
    ASSERT_TRUE(DIRECTORTYPED(3, seat->entry, table, 0.0f, reason)) << reason;
    EXPECT_FALSE(complete(3));
    // The table plays that round still: it may enter the board again, and a
    // restart puts back the same.
    EXPECT_EQ(page()["boards"][0]["result"], nullptr);
    ASSERT_EQ(send("POST", "/api/table/1/result", key(1),
                   R"({"board":3,"contract":"2N","declarer":"N","tricks":7})")
                  .status,
              200);
    ASSERT_EQ(send("POST", "/api/table/1/accept", key(1), R"({"board":3})").status, 200);
    EXPECT_EQ(Results(3, seat->entry), ENCODEORDINARY(-5));
    EXPECT_TRUE(complete(3));
    const json before = page();
    RESETTABLES(); // a result entered and not accepted is not kept
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    EXPECT_EQ(page()["boards"][0], before["boards"][0]);
    EXPECT_EQ(page()["round"], 2);
    ASSERT_EQ(
        send("POST", "/api/table/1/result", key(1), R"({"board":4,"contract":"PASS"})").status,
        200);
    ASSERT_EQ(send("POST", "/api/table/1/accept", key(1), R"({"board":4})").status, 200);
    EXPECT_TRUE(complete(4));
}
