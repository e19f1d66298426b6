// The table server's request handling: checks, then the tables' operations.
#include "server/http.h"

#include "core/cp1250.h"
#include "core/results.h"
#include "core/tournament.h"
#include "scoring/scoring.h"
#include "server/tables.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <deque>
#include <set>

std::map<std::string, StaticFile> StaticFiles;
std::vector<std::string> AllowedHosts;
std::string PageLanguage = "en";

namespace {

using nlohmann::json;

struct Client {
    std::deque<double> recent; // times of the requests of the last second
    int wrongKeys = 0;
    std::set<std::string> wrongKeysSeen; // the different wrong keys counted
    double shutOutUntil = 0;
    double lastSeen = 0;
};
std::map<std::string, Client> Clients;
constexpr std::size_t MaxClientsKept = 256;

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string headerOf(const HttpRequest& r, const std::string& name) {
    for (const auto& [key, value] : r.headers)
        if (lower(key) == name) return value;
    return {};
}

bool hasHeader(const HttpRequest& r, const std::string& name) {
    for (const auto& [key, value] : r.headers)
        if (lower(key) == name) return true;
    return false;
}

HttpResponse answer(int status, const std::string& type, std::string body) {
    HttpResponse out;
    out.status = status;
    out.headers = {
        {"Content-Type", type},
        {"X-Frame-Options", "DENY"},
        {"X-Content-Type-Options", "nosniff"},
        {"Content-Security-Policy",
         "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
         "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
        {"Referrer-Policy", "no-referrer"},
        {"Cache-Control", "no-store"},
    };
    out.body = std::move(body);
    return out;
}

HttpResponse jsonAnswer(int status, const json& body) {
    return answer(status, "application/json; charset=utf-8",
                  body.dump(-1, ' ', false, json::error_handler_t::replace));
}

HttpResponse refuse(int status, const std::string& reason) {
    return jsonAnswer(status, {{"error", reason}});
}

// The value of `key` in a query string, percent-decoded; false when missing.
bool queryValue(const std::string& query, const std::string& key, std::string& out) {
    std::size_t start = 0;
    while (start <= query.size()) {
        std::size_t end = query.find('&', start);
        if (end == std::string::npos) end = query.size();
        const std::string part = query.substr(start, end - start);
        const std::size_t eq = part.find('=');
        if (part.substr(0, eq) == key && eq != std::string::npos) {
            out.clear();
            const std::string raw = part.substr(eq + 1);
            for (std::size_t i = 0; i < raw.size(); ++i) {
                if (raw[i] == '%' && i + 2 < raw.size() + 0 && std::isxdigit(static_cast<unsigned char>(raw[i + 1])) &&
                    std::isxdigit(static_cast<unsigned char>(raw[i + 2]))) {
                    out += static_cast<char>(std::stoi(raw.substr(i + 1, 2), nullptr, 16));
                    i += 2;
                } else {
                    out += raw[i] == '+' ? ' ' : raw[i];
                }
            }
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::vector<std::string> split(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 1;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// A table number as a path gives it: 1 to 4 digits, no leading zero.
int tableNumber(const std::string& text) {
    if (text.empty() || text.size() > 4 || text[0] == '0') return 0;
    for (char c : text)
        if (c < '0' || c > '9') return 0;
    const int t = std::stoi(text);
    return t <= static_cast<int>(Tables.size()) ? t : 0;
}

std::string pairNames(int pair) {
    if (pair < 1 || pair > NumPairs || !PlayerNames.allocated()) return {};
    auto name = [pair](int player) {
        std::string n(PlayerNames(pair, player).c, NameLength);
        n.erase(n.find_last_not_of(' ') + 1);
        return CP1250TOUTF8(n);
    };
    const std::string a = name(1), b = name(2);
    return a.empty() || b.empty() ? a + b : a + " - " + b;
}

const char* const Dealers[4] = {"N", "E", "S", "W"};
const char* const Zones[4] = {"None", "NS", "EW", "All"};

json resultJson(const TableResult& r, bool accepted) {
    json j = {{"contract", CONTRACTTEXT(r.contract)},
              {"declarer", r.contract.level == 0 ? json(nullptr) : json(std::string(1, r.declarer))},
              {"tricks", r.contract.level == 0 ? json(nullptr) : json(r.tricks)},
              {"nsScore", r.nsScore * 10},
              {"accepted", accepted}};
    if (!r.lead.empty()) j["lead"] = r.lead;
    return j;
}

// The result the director entered for a board of the table, as the table sits:
// no contract, the NS score of the pair sitting NS (null for an adjusted score
// or none), marked as the director's.
json directorResultJson(const TableState& t, float stored) {
    const DecodedResult d = DECODERESULT(stored);
    json j = {{"contract", nullptr}, {"declarer", nullptr}, {"tricks", nullptr},
              {"nsScore", nullptr}, {"accepted", true}, {"director", true},
              {"adjusted", d.form == RESULT_ADJUSTED}};
    if (d.form == RESULT_ORDINARY || d.form == RESULT_INVERTED)
        j["nsScore"] = ((d.form == RESULT_INVERTED) == t.inverted ? d.score : -d.score) * 10;
    return j;
}

// Where `pair` plays in `round`, or null.
json whereNext(int pair, int round) {
    for (const TableState& t : Tables) {
        const Seat* seat = FINDSEAT(t.seats, t.table, round);
        if (seat == nullptr) continue;
        if (seat->ns == pair) return {{"pair", pair}, {"table", t.table}, {"side", "NS"}};
        if (seat->ew == pair) return {{"pair", pair}, {"table", t.table}, {"side", "EW"}};
    }
    // A custom movement's table that has not given its NS pair yet has no rounds:
    // the pair plays at that pair's table (no sitting out).
    if (MovementType == MOVE_CUSTOM && Movement.allocated() && SetEntries.allocated() &&
        round <= Movement.extent(2)) {
        for (int s = 1; s <= std::min(NumBoardSets, Movement.extent(1)); ++s) {
            if (s > SetEntries.extent(1) || SetEntries(s) < round) continue;
            if (Movement(s, round, 1) == pair || Movement(s, round, 2) == pair)
                return {{"pair", pair}, {"table", nullptr},
                        {"side", Movement(s, round, 1) == pair ? "NS" : "EW"},
                        {"tableOf", Movement(s, round, 1)}};
        }
    }
    return {{"pair", pair}, {"table", nullptr}, {"side", nullptr}};
}

// The details a table gave for the result stored in entry `entry` of `board`,
// when a table accepted the very value the tournament holds; else null.
const TableResult* journaledResult(int board, int entry, float stored) {
    for (const TableState& t : Tables) {
        auto it = t.accepted.find(board);
        if (it == t.accepted.end() || it->second.stored != stored) continue;
        for (const Seat& seat : t.seats)
            if (seat.entry == entry && board >= FIRSTBOARD(seat.set) && board <= LASTBOARD(seat.set))
                return &it->second;
    }
    return nullptr;
}

// The traveller of `board` (of board set `set`) so far: every result the
// tournament holds, with the pairs as they sat and the contract when a table
// entered it.
json travellerJson(int set, int board) {
    json results = json::array();
    if (!Results.allocated() || !Movement.allocated() || !SetEntries.allocated() ||
        set < 1 || set > NumBoardSets || board < 1 || board > NumBoards)
        return results;
    for (int i = 1; i <= SetEntries(set) && i <= Results.extent(2); ++i) {
        const float v = Results(board, i);
        const DecodedResult d = DECODERESULT(v);
        // A passed-out board is stored as 0, as no result is: it counts when a
        // table accepted it.
        if (d.form == RESULT_NONE && journaledResult(board, i, v) == nullptr) continue;
        const bool inverted = d.form == RESULT_INVERTED;
        const int ns = Movement(set, i, inverted ? 2 : 1), ew = Movement(set, i, inverted ? 1 : 2);
        json one = {{"ns", ns}, {"ew", ew}, {"contract", nullptr}, {"declarer", nullptr},
                    {"tricks", nullptr}};
        if (d.form == RESULT_ADJUSTED) {
            one["nsScore"] = nullptr;
            one["adjusted"] = true;
        } else {
            one["nsScore"] = d.score * 10;
            one["adjusted"] = false;
            if (const TableResult* r = journaledResult(board, i, v)) {
                one["contract"] = CONTRACTTEXT(r->contract);
                if (r->contract.level != 0) {
                    one["declarer"] = std::string(1, r->declarer);
                    one["tricks"] = r->tricks;
                }
            }
        }
        results.push_back(std::move(one));
    }
    return results;
}

// The round a table has just completed, while no board of its next round is
// accepted (or its last round, once it has finished); null when there is none.
const Seat* finishedSeat(const TableState& t) {
    if (!t.seated) return nullptr;
    const Seat* current = CURRENTSEAT(t);
    if (current != nullptr)
        for (int b = FIRSTBOARD(current->set); b <= LASTBOARD(current->set); ++b)
            if (t.accepted.count(b)) return nullptr;
    const Seat* finished = nullptr;
    for (const Seat& seat : t.seats)
        if ((t.round == 0 || seat.round < t.round) &&
            (finished == nullptr || seat.round > finished->round))
            finished = &seat;
    if (finished == nullptr) return nullptr;
    for (int b = FIRSTBOARD(finished->set); b <= LASTBOARD(finished->set); ++b)
        if (!t.accepted.count(b) && !DIRECTORSRESULT(t, *finished, b)) return nullptr;
    return finished;
}

json tableJson(const TableState& t) {
    json out = {{"table", t.table}, {"round", t.round}, {"seated", t.seated},
                {"inverted", t.inverted}, {"lang", PageLanguage}};
    // A custom table may still give another NS pair (a wrong one was given).
    out["otherPair"] = MovementType == MOVE_CUSTOM && t.seated && t.accepted.empty();
    const Seat* seat = CURRENTSEAT(t);
    // The pairs may say they sit the other way round until the table accepts a
    // board of the round (a result the director entered does not count).
    bool swap = seat != nullptr;
    for (int b = seat ? FIRSTBOARD(seat->set) : 1; seat && b <= LASTBOARD(seat->set); ++b)
        if (t.accepted.count(b)) swap = false;
    out["swap"] = swap;
    json boards = json::array();
    if (seat != nullptr) {
        out["ns"] = seat->ns;
        out["ew"] = seat->ew;
        out["nsNames"] = pairNames(seat->ns);
        out["ewNames"] = pairNames(seat->ew);
        for (int b = FIRSTBOARD(seat->set); b <= LASTBOARD(seat->set); ++b) {
            json board = {{"board", b},
                          {"dealer", Dealers[(b - 1) % 4]},
                          {"vulnerable", Zones[GETBOARDZONE(b)]},
                          {"result", nullptr}};
            auto pending = t.pending.find(b);
            auto accepted = t.accepted.find(b);
            if (DIRECTORSRESULT(t, *seat, b))
                board["result"] = directorResultJson(t, Results(b, seat->entry));
            else if (pending != t.pending.end())
                board["result"] = resultJson(pending->second, false);
            else if (accepted != t.accepted.end())
                board["result"] = resultJson(accepted->second, true);
            boards.push_back(std::move(board));
        }
    } else {
        out["ns"] = nullptr;
        out["ew"] = nullptr;
        out["nsNames"] = nullptr;
        out["ewNames"] = nullptr;
    }
    out["boards"] = std::move(boards);
    out["next"] = nullptr;
    if (seat != nullptr) {
        for (const Seat& later : t.seats)
            if (later.round > seat->round) {
                out["next"] = {{"round", later.round},
                               {"ns", later.ns},
                               {"ew", later.ew},
                               {"boards", {FIRSTBOARD(later.set), LASTBOARD(later.set)}}};
                break;
            }
    }
    // Where the pairs of the round just completed go, until the next round's
    // first board is accepted (a reloaded page still says it).
    out["moved"] = nullptr;
    if (const Seat* done = finishedSeat(t); done != nullptr && t.round != 0)
        out["moved"] = {{"round", done->round},
                        {"moves", {whereNext(done->ns, done->round + 1),
                                   whereNext(done->ew, done->round + 1)}}};
    if (ShowTravellers) {
        if (const Seat* done = finishedSeat(t)) {
            json played = json::array();
            for (int b = FIRSTBOARD(done->set); b <= LASTBOARD(done->set) && b <= NumBoards; ++b)
                played.push_back({{"board", b}, {"results", travellerJson(done->set, b)}});
            out["travellers"] = {{"round", done->round}, {"boards", std::move(played)}};
        }
    }
    return out;
}

// Boards every entry of which has a result (an accepted passed-out board counts,
// while it stands: not one the director cleared since).
std::vector<int> completeBoards() {
    std::set<std::pair<int, int>> accepted;
    for (const TableState& t : Tables)
        for (const auto& [board, r] : t.accepted)
            for (const Seat& seat : t.seats)
                if (board >= FIRSTBOARD(seat.set) && board <= LASTBOARD(seat.set) &&
                    r.stored == 0.0f)
                    accepted.insert({board, seat.entry});
    std::vector<int> complete;
    if (!Results.allocated() || !SetEntries.allocated()) return complete;
    for (int s = 1; s <= NumBoardSets; ++s) {
        if (SetEntries(s) < 1) continue;
        for (int b = FIRSTBOARD(s); b <= LASTBOARD(s) && b <= NumBoards; ++b) {
            bool all = true;
            for (int i = 1; i <= SetEntries(s); ++i)
                if (Results(b, i) == 0.0f && !accepted.count({b, i})) all = false;
            if (all) complete.push_back(b);
        }
    }
    return complete;
}

double rounded(float v) { return std::round(static_cast<double>(v) * 100.0) / 100.0; }

json rankingJson() {
    const std::vector<int> complete = completeBoards();
    int boards = 0;
    for (int s = 1; SetEntries.allocated() && s <= NumBoardSets; ++s)
        if (SetEntries(s) > 0) boards += BoardsPerRound;
    const bool finished = static_cast<int>(complete.size()) >= boards;
    json pairs = json::array();
    if ((ShowResultsWhilePlaying || finished) && PlacementOrder.allocated() &&
        PairTotal.allocated()) {
        int place = 0;
        float lastTotal = 0, lastPercent = 0;
        for (int i = 1; i <= NumPairs && i <= PlacementOrder.extent(1); ++i) {
            const int p = PlacementOrder(i);
            if (p < 1 || p > NumPairs) continue;
            if (i == 1 || PairTotal(p) != lastTotal || PairPercent(p) != lastPercent) place = i;
            lastTotal = PairTotal(p);
            lastPercent = PairPercent(p);
            pairs.push_back({{"place", place},
                             {"pair", p},
                             {"names", pairNames(p)},
                             {"total", rounded(PairTotal(p))},
                             {"percent", rounded(PairPercent(p))}});
        }
    }
    return {{"pairs", pairs},
            {"complete", complete},
            {"boards", boards},
            {"shown", ShowResultsWhilePlaying || finished},
            {"lang", PageLanguage}};
}

json directorJson(double now) {
    json tables = json::array();
    for (const TableState& t : Tables) {
        json one = {{"table", t.table}, {"round", t.round},
                    {"entered", t.accepted.size()}, {"waiting", t.pending.size()},
                    {"token", t.token}};
        one["lastContact"] = t.lastContact > 0 ? json(std::floor(now - t.lastContact)) : json(nullptr);
        tables.push_back(std::move(one));
    }
    return {{"tables", tables}};
}

// The parts of a body that an operation reads, checked whole: an object of the
// keys `allowed` only.
bool bodyObject(const std::string& body, const std::set<std::string>& allowed, json& out,
                std::string& reason) {
    out = json::parse(body, nullptr, false);
    if (out.is_discarded() || !out.is_object()) {
        reason = "The request is not a JSON object.";
        return false;
    }
    for (const auto& [key, value] : out.items())
        if (!allowed.count(key)) {
            reason = "Unknown field \"" + key + "\".";
            return false;
        }
    return true;
}

bool intField(const json& body, const char* key, int low, int high, int& out, std::string& reason) {
    auto it = body.find(key);
    if (it == body.end() || !it->is_number_integer()) {
        reason = std::string("\"") + key + "\" must be a whole number.";
        return false;
    }
    const auto v = it->get<long long>();
    if (v < low || v > high) {
        reason = std::string("\"") + key + "\" must be from " + std::to_string(low) + " to " +
                 std::to_string(high) + ".";
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

bool readResult(const json& body, int& board, TableResult& r, std::string& reason) {
    if (!intField(body, "board", 1, 9999, board, reason)) return false;
    auto contract = body.find("contract");
    if (contract == body.end() || !contract->is_string() ||
        !PARSECONTRACT(contract->get<std::string>(), r.contract)) {
        reason = "\"contract\" must be a level 1-7 with C, D, H, S or N and X or XX, or PASS.";
        return false;
    }
    auto declarer = body.find("declarer");
    auto tricks = body.find("tricks");
    if (r.contract.level == 0) {
        if ((declarer != body.end() && !declarer->is_null()) ||
            (tricks != body.end() && !tricks->is_null())) {
            reason = "A passed-out board has no declarer and no tricks.";
            return false;
        }
    } else {
        const std::string d = declarer != body.end() && declarer->is_string()
                                  ? declarer->get<std::string>()
                                  : std::string();
        if (d != "N" && d != "E" && d != "S" && d != "W") {
            reason = "\"declarer\" must be N, E, S or W.";
            return false;
        }
        r.declarer = d[0];
        if (!intField(body, "tricks", 0, 13, r.tricks, reason)) return false;
    }
    auto lead = body.find("lead");
    if (lead != body.end() && !lead->is_null()) {
        const std::string l = lead->is_string() ? lead->get<std::string>() : std::string();
        if (l.size() != 2 || std::string("SHDC").find(l[0]) == std::string::npos ||
            std::string("AKQJT98765432").find(l[1]) == std::string::npos) {
            reason = "\"lead\" must be a suit (S, H, D, C) and a rank (A K Q J T 9 .. 2).";
            return false;
        }
        r.lead = l;
    }
    r.nsScore = TABLESCORE(r.contract, r.declarer, r.tricks, board);
    return true;
}

// The checks every request meets before it is looked at: size, host, origin.
bool foreign(const HttpRequest& r, HttpResponse& out) {
    if (r.body.size() > MaxBodyBytes) {
        out = refuse(413, "The request is larger than 4 KB.");
        return true;
    }
    const std::string host = lower(headerOf(r, "host"));
    bool known = false;
    for (const std::string& h : AllowedHosts) known = known || lower(h) == host;
    if (!known) {
        out = refuse(403, "This server is reached only under its own address.");
        return true;
    }
    const std::string origin = lower(headerOf(r, "origin"));
    if (hasHeader(r, "origin") && origin != "http://" + host) {
        out = refuse(403, "Requests from other pages are refused.");
        return true;
    }
    const std::string referer = lower(headerOf(r, "referer"));
    if (hasHeader(r, "referer") && referer.rfind("http://" + host + "/", 0) != 0) {
        out = refuse(403, "Requests from other pages are refused.");
        return true;
    }
    return false;
}

} // namespace

std::string HttpResponse::header(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (lower(key) == lower(name)) return value;
    return {};
}

std::size_t KNOWNCLIENTS() { return Clients.size(); }

void RESETHTTPSTATE() {
    Clients.clear();
    StaticFiles.clear();
    AllowedHosts.clear();
    PageLanguage = "en";
}

HttpResponse HANDLEREQUEST(const HttpRequest& r, double now) {
    HttpResponse out;
    if (foreign(r, out)) return out;

    // Devices not heard from for a minute are forgotten, unless shut out: the
    // list would otherwise grow by one for every address that ever asked.
    if (Clients.size() > MaxClientsKept)
        std::erase_if(Clients, [now](const auto& c) {
            return c.second.shutOutUntil <= now && c.second.lastSeen < now - 60;
        });
    Client& client = Clients[r.peer];
    client.lastSeen = now;
    while (!client.recent.empty() && client.recent.front() <= now - 1.0) client.recent.pop_front();
    if (static_cast<int>(client.recent.size()) >= MaxRequestsPerSecond) {
        out = refuse(429, "Too many requests; wait a moment.");
        out.headers.push_back({"Retry-After", "1"});
        return out;
    }
    client.recent.push_back(now);
    if (client.shutOutUntil > now) return refuse(403, "Too many wrong keys; wait a few minutes.");

    const bool get = r.method == "GET", post = r.method == "POST";
    if (!get && !post) return refuse(405, "Only GET and POST are answered.");
    const std::vector<std::string> parts = split(r.path);

    // Pages and their files, from the program's resources only.
    if (get && (r.path == "/ranking" || (parts.size() == 2 && parts[0] == "t") ||
                (parts.size() == 2 && parts[0] == "static"))) {
        const std::string key = parts[0] == "static" ? r.path
                                : parts[0] == "t"    ? std::string("/table.html")
                                                     : std::string("/ranking.html");
        if (parts[0] == "t" && tableNumber(parts[1]) == 0) return refuse(404, "No such table.");
        auto file = StaticFiles.find(key);
        if (file == StaticFiles.end()) return refuse(404, "Not found.");
        return answer(200, file->second.type, file->second.bytes);
    }
    if (parts.size() < 2 || parts[0] != "api") return refuse(404, "Not found.");

    if (parts[1] == "ranking" && parts.size() == 2) {
        if (!get) return refuse(405, "Only GET is answered here.");
        return jsonAnswer(200, rankingJson());
    }

    std::string key;
    const bool hasKey = queryValue(r.query, "k", key);
    auto wrongKey = [&]() {
        // Only a key not tried before counts: a page left open from another
        // evening asks again and again with the same old key, and shutting its
        // phone out would keep the player from this evening's table.
        if (client.wrongKeysSeen.insert(key).second && ++client.wrongKeys >= MaxWrongKeys) {
            client.shutOutUntil = now + ShutOutSeconds;
            client.wrongKeys = 0;
            client.wrongKeysSeen.clear();
        }
        return refuse(403, "The key of this address is wrong; scan the table card again.");
    };

    if (parts[1] == "director" && parts.size() == 2) {
        if (!get) return refuse(405, "Only GET is answered here.");
        if (!hasKey || !TOKENEQUAL(key, DirectorToken)) return wrongKey();
        return jsonAnswer(200, directorJson(now));
    }

    if (parts[1] != "table" || parts.size() < 3 || parts.size() > 4) return refuse(404, "Not found.");
    const int t = tableNumber(parts[2]);
    if (t == 0) return wrongKey();
    TableState& table = Tables[static_cast<std::size_t>(t - 1)];
    if (!hasKey || !TOKENEQUAL(key, table.token)) return wrongKey();
    client.wrongKeys = 0;
    client.wrongKeysSeen.clear();
    table.lastContact = now;
    FINDROUND(table); // the director may have entered the rest of its round

    if (parts.size() == 3) {
        if (!get) return refuse(405, "Only GET is answered here.");
        return jsonAnswer(200, tableJson(table));
    }
    if (!post) return refuse(405, "Only POST is answered here.");
    const std::string& op = parts[3];
    if (op != "start" && op != "result" && op != "accept") return refuse(404, "Not found.");

    json body;
    std::string reason;
    int board = 0;
    if (op == "start") {
        int ns = 0;
        if (!bodyObject(r.body, {"ns"}, body, reason) ||
            !intField(body, "ns", 1, 9999, ns, reason))
            return refuse(400, reason);
        const TableOutcome done = TABLESTART(table, ns);
        if (done.status != 200) return refuse(done.status, done.reason);
        return jsonAnswer(200, tableJson(table));
    }
    if (op == "result") {
        TableResult result;
        if (!bodyObject(r.body, {"board", "contract", "declarer", "tricks", "lead"}, body, reason) ||
            !readResult(body, board, result, reason))
            return refuse(400, reason);
        const TableOutcome done = TABLEENTER(table, board, result);
        if (done.status != 200) return refuse(done.status, done.reason);
        return jsonAnswer(200, {{"board", board}, {"nsScore", result.nsScore * 10}});
    }
    if (!bodyObject(r.body, {"board", "nsScore"}, body, reason) ||
        !intField(body, "board", 1, 9999, board, reason))
        return refuse(400, reason);
    // The score the accepting phone showed: another phone at the table may have
    // entered the board again meanwhile, and EW accept only what they saw.
    if (body.contains("nsScore")) {
        int shown = 0;
        if (!intField(body, "nsScore", -99990, 99990, shown, reason)) return refuse(400, reason);
        auto pending = table.pending.find(board);
        if (pending != table.pending.end() && pending->second.nsScore * 10 != shown)
            return refuse(409, "Board " + std::to_string(board) +
                                   " was entered again on another phone: the score is now " +
                                   std::to_string(pending->second.nsScore * 10) +
                                   ". Check it and accept again.");
    }
    const std::string device = r.peer + " " + headerOf(r, "user-agent").substr(0, 120);
    const int round = table.round;
    const TableOutcome done = TABLEACCEPT(table, board, now, device);
    if (done.status != 200) return refuse(done.status, done.reason);
    return jsonAnswer(200, {{"board", board}, {"accepted", true},
                            {"roundComplete", table.round != round}, {"round", table.round}});
}
