#pragma once
// The results site: a season of evenings as static pages for the club's web
// host. One routine per page kind builds a UTF-8 HTML5 page from the open
// tournament (the same arrays and ranking the reports use); BUILDSITE opens
// every tournament file of a folder in turn and writes the pages that changed.
// Pages need no script and refer to nothing outside the site; every name is
// escaped. No Qt.

#include "hands/analysis.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// One evening as the season index and the pages' headings show it.
struct SiteEvening {
    std::string file;     // the tournament file's name within the folder (UTF-8)
    std::string slug;     // the evening's folder in the site: ASCII, unique
    std::string date;     // the file's date, yyyy-mm-dd
    std::string name;     // the tournament's name (UTF-8)
    std::string movement; // "Mitchell", "Berger", "Howell", "Custom"
    std::string calc;     // "Matchpoints", "IMPs", "Calcutta"
    int pairs = 0;
    int boards = 0;
    std::vector<std::string> winners; // names of the pairs in first place (UTF-8)
};

// What the table scoring's journal holds about one entry of a board.
struct SiteContract {
    std::string contract; // as typed at the table: "4SX", "3N", "PASS"
    std::string declarer; // "N", "E", "S", "W"
    int tricks = -1;      // tricks taken, -1 when not given
};
// Keyed by (board, entry).
using SiteContracts = std::map<std::pair<int, int>, SiteContract>;

// Text as HTML: "&", "<", ">", '"' and "'" as character references, control
// characters as their pictures.
std::string HTMLESCAPE(const std::string& utf8);

// The shared style sheet (style.css at the site's top).
std::string SITESTYLESHEET();

// The season index: every evening, in the order given (newest first), with its
// date, name, movement, pairs and winners; a link to the rating list when there
// is one.
std::string SITEINDEXPAGE(const std::vector<SiteEvening>& evenings, bool ratingList);

// The pages of the open tournament, which `evening` describes. Each lies in the
// evening's folder, one level below the site's top.
// The ranking, the penalties, a Berger's matches, links to every board and card.
std::string SITEEVENINGPAGE(const SiteEvening& evening, bool ratingList);
// Board `board`: dealer, vulnerability, the traveller, the frequency of each
// score, and the deal with its double-dummy table when `dd` is given.
std::string SITEBOARDPAGE(const SiteEvening& evening, int board, const SiteContracts& contracts,
                          const DoubleDummy* dd, bool ratingList);
// The score card of pair `pair`: every board it played, the opponents, score,
// points and the running total (a Berger's matches with their victory points).
std::string SITEPAIRPAGE(const SiteEvening& evening, int pair, const SiteContracts& contracts,
                         bool ratingList);
// The rating list of the register (RegisteredCount players) by rating, with the
// last changes. Sorts the register's display order by rating.
std::string SITERATINGPAGE();

// The places of the ranking: element i (1..pairs) is the place shown beside
// line i of PlacementOrder, ties sharing the place of the first of them, as the
// ranking report decides them.
std::vector<int> SITEPLACES();

// Reads the table scoring's journal of the open tournament (one JSON object a
// line). A line is taken when it names a board of the tournament, a contract and
// the two pairs ("ns" and "ew", or "pairs": [ns, ew]) of an entry of the board;
// when it gives "nsScore", only while that is still the entry's stored score (a
// result typed later by the director wins). Later lines replace earlier ones.
// Lines that cannot be read are skipped.
SiteContracts READTABLEJOURNAL(const std::string& text);

// ---- The whole site ---------------------------------------------------------

struct SiteSummary {
    int evenings = 0;      // tournament files made into pages
    int rebuilt = 0;       // evenings whose pages were made again
    int written = 0;       // files written (new or changed)
    int unchanged = 0;     // pages made again and found the same
    int solved = 0;        // deals given to the solver
    int cachedDeals = 0;   // deals taken from the site's cache
    std::vector<std::string> problems; // files left out, solver faults (one line each)
};

// Builds the site of every tournament file (*.otr) of `folder` in `out` (made
// when missing), and the rating list when the register holds players. The deals'
// double-dummy tables are kept in the cache file ".orla-deals" of `out`, so they
// are solved once; what each evening was made from is kept in ".orla-site", so an
// evening whose files did not change is not opened again. A page is written only
// when its bytes differ from the file there. `progress`(done, total, text) is
// told after each evening and deal group; when it returns false the work stops
// (what is written is whole). Opens each file as the open tournament (any
// tournament open before is closed). Returns false with `error` when `folder`
// cannot be read or `out` cannot be made or written.
bool BUILDSITE(const std::string& folder, const std::string& out, SiteSummary& summary,
               std::string& error,
               const std::function<bool(int, int, const std::string&)>& progress = nullptr);

// The cache of solved deals kept beside the site: the key of a deal job and its
// result, read from and written to `file`. Lines that cannot be read are skipped.
std::map<std::string, DoubleDummy> READDEALCACHE(const std::string& file);
std::string DEALCACHETEXT(const std::map<std::string, DoubleDummy>& cache);
std::string DEALKEY(const DdJob& job);
