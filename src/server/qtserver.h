#pragma once
// The table server's HTTP layer: Qt HTTP Server on the program's event loop
// carries each request to HANDLEREQUEST (http.h) and its answer back. It runs
// on the thread of the event loop, so the one open tournament needs no locks.

#include <string>
#include <vector>

// The default port of the table server.
constexpr int DefaultTablePort = 8080;

// How long a connection may take to bring a whole request, or stay idle after
// an answer, before it is closed (seconds); the connections one client address
// may hold at once, and all clients together. A request over 4 KB of body is
// answered 413 as it arrives, and its connection closed.
extern double ConnectionSeconds;
constexpr int MaxConnectionsPerClient = 16;
constexpr int MaxConnections = 400;

// The computer's IPv4 addresses on its networks (not the loopback one), in the
// order the system lists them.
std::vector<std::string> LOCALADDRESSES();

// Starts serving on `address` (empty: every address of the computer) and `port`,
// with the pages of the program's resources; the names the pages may be reached
// under are this computer's addresses, "localhost" and `address`, with the
// port. Scoring at the tables must have been started (STARTTABLES). False, with
// `reason`, when the port is in use or the address is not this computer's.
bool STARTSERVER(const std::string& address, int port, std::string& reason);

// Stops serving (nothing happens when it does not run).
void STOPSERVER();

bool SERVERRUNNING();

// The address of table `table`'s page for the host `address` and `port`.
std::string TABLEADDRESS(const std::string& address, int port, int table);
