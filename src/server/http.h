#pragma once
// The table server's request handling as a plain function: a request in, a
// response out, no socket. The program's HTTP layer (qtserver.h) only carries
// requests to HANDLEREQUEST and its answers back; tests call it directly.
//
//   GET  /t/{t}?k=KEY                the table page (the page reads the key itself)
//   GET  /ranking                    the ranking page
//   GET  /static/{file}              the pages' scripts and style sheet
//   GET  /api/table/{t}?k=KEY        the table's round, boards and results
//   POST /api/table/{t}/start?k=KEY  {"ns": pair}: the NS pair of the round
//   POST /api/table/{t}/result?k=KEY {"board", "contract", "declarer", "tricks", "lead"}
//   POST /api/table/{t}/accept?k=KEY {"board"}
//   GET  /api/ranking                places, names, totals; which boards are complete
//   GET  /api/director?k=KEY         every table's round, boards entered, last contact
//
// Every request is checked whole before anything changes: its size (bodies over
// 4 KB: 413), its Host (only the server's own names: 403) and Origin/Referer
// (none, or the server's own: 403), its client's pace (over 20 requests a second:
// 429), its key (403; a client with too many wrong keys is shut out for a while),
// its JSON (400).

#include <map>
#include <string>
#include <utility>
#include <vector>

struct HttpRequest {
    std::string method, path, query, body;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string peer; // the client's address
};

struct HttpResponse {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // The value of header `name` (case-insensitive), or "".
    std::string header(const std::string& name) const;
};

// A page, script or style sheet served under its path, from the program's
// resources (the HTTP layer fills this; nothing else is ever served as a file).
struct StaticFile {
    std::string type, bytes;
};
extern std::map<std::string, StaticFile> StaticFiles;

// The names under which clients may reach the server, as the Host header gives
// them ("192.168.1.10:8080", "localhost:8080"). Empty: none.
extern std::vector<std::string> AllowedHosts;

// The language of the pages: "sr" or "en".
extern std::string PageLanguage;

// The most requests a client may make in one second, and the body size limit.
constexpr int MaxRequestsPerSecond = 20;
constexpr std::size_t MaxBodyBytes = 4096;
// Wrong keys a client may send before it is shut out, and for how long (seconds).
constexpr int MaxWrongKeys = 10;
constexpr double ShutOutSeconds = 300;

// Answers one request at time `now` (seconds of a steady clock).
HttpResponse HANDLEREQUEST(const HttpRequest& request, double now);

// The devices whose pace and wrong keys are kept (those heard from in the last
// minute, those shut out, and more while fewer than a few hundred are kept).
std::size_t KNOWNCLIENTS();

// Forgets the clients' pace and wrong keys, the static files, hosts and language.
void RESETHTTPSTATE();
