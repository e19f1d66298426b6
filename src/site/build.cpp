// Building the whole site: every tournament file of a folder opened in turn,
// its pages made and written where they changed, the deals' double-dummy tables
// kept in a cache beside the pages, and a record of what each evening was made
// from, so that an unchanged evening is not opened again.
#include "core/clock.h"
#include "core/cp1250.h"
#include "core/safefile.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "hands/hands.h"
#include "players/players.h"
#include "reports/reportlines.h"
#include "reports/reports.h"
#include "site/site.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

// Changes whenever the pages come out differently from the same files, so that
// a site made by an older program is made again.
constexpr const char* SiteGenerator = "orla-site 1";
constexpr const char* ManifestName = ".orla-site";
constexpr const char* DealCacheName = ".orla-deals";

bool readFile(const fs::path& file, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return !in.bad();
}

std::string hashOf(const std::string& bytes) {
    std::uint64_t h = 1469598103934665603ull;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

// The file's date, yyyy-mm-dd in local time.
std::string dateOf(const fs::path& file) {
    std::time_t t = 0;
    return FILETIME(file, t) ? TIMETEXT(LOCALTIME(t), "%Y-%m-%d") : "";
}

// The evening's folder: the file's name in lower-case ASCII letters, digits and
// dashes; the letters of Serbian and a few other Latin letters without their marks.
std::string slugOf(const std::string& stem) {
    static const std::pair<const char*, const char*> letters[] = {
        {"č", "c"}, {"Č", "c"}, {"ć", "c"}, {"Ć", "c"}, {"đ", "dj"}, {"Đ", "dj"}, {"š", "s"}, {"Š", "s"},
        {"ž", "z"}, {"Ž", "z"}, {"ä", "a"}, {"Ä", "a"}, {"ö", "o"}, {"Ö", "o"}, {"ü", "u"}, {"Ü", "u"},
        {"é", "e"}, {"É", "e"}};
    std::string s;
    for (std::size_t i = 0; i < stem.size(); ++i) {
        const unsigned char u = static_cast<unsigned char>(stem[i]);
        const char* plain = nullptr;
        for (const auto& [from, to] : letters)
            if (stem.compare(i, std::strlen(from), from) == 0) {
                plain = to;
                i += std::strlen(from) - 1;
                break;
            }
        if (plain) s += plain;
        else if (std::isalnum(u) && u < 128) s += static_cast<char>(std::tolower(u));
        else if (!s.empty() && s.back() != '-') s += '-';
    }
    while (!s.empty() && s.back() == '-') s.pop_back();
    return s.empty() ? "evening" : s;
}

// Writes `bytes` to `file` unless it holds them already: a temporary file beside
// it, renamed over it.
bool writeIfChanged(const fs::path& file, const std::string& bytes, SiteSummary& summary,
                    std::string& error) {
    std::string old;
    std::error_code ec;
    const bool exists = fs::is_regular_file(file, ec);
    if (exists && readFile(file, old) && old == bytes) {
        ++summary.unchanged;
        return true;
    }
    // A new page is written in place (a page cut short by a crash is made again
    // by the next run, which finds the record of the run missing); a page that
    // is there is replaced whole, so a reader never sees half of it.
    const fs::path temp = exists ? fs::path(file.string() + ".part") : file;
    {
        std::ofstream outFile(temp, std::ios::binary | std::ios::trunc);
        outFile.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        outFile.close();
        if (!outFile) {
            fs::remove(temp, ec);
            error = "The file " + file.string() + " could not be written.";
            return false;
        }
    }
    ec.clear();
    if (exists) fs::rename(temp, file, ec);
    if (ec) {
        fs::remove(temp, ec);
        error = "The file " + file.string() + " could not be written: " + ec.message() + ".";
        return false;
    }
    ++summary.written;
    return true;
}

Json eveningJson(const SiteEvening& e) {
    return {{"file", e.file}, {"slug", e.slug}, {"date", e.date}, {"name", e.name}, {"movement", e.movement},
            {"calc", e.calc}, {"pairs", e.pairs}, {"boards", e.boards}, {"winners", e.winners}};
}

bool eveningFromJson(const Json& j, SiteEvening& e) {
    try {
        e.file = j.at("file").get<std::string>();
        e.slug = j.at("slug").get<std::string>();
        e.date = j.at("date").get<std::string>();
        e.name = j.at("name").get<std::string>();
        e.movement = j.at("movement").get<std::string>();
        e.calc = j.at("calc").get<std::string>();
        e.pairs = j.at("pairs").get<int>();
        e.boards = j.at("boards").get<int>();
        e.winners = j.at("winners").get<std::vector<std::string>>();
        return true;
    } catch (const Json::exception&) {
        return false;
    }
}

// What the record keeps of one evening.
struct Made {
    SiteEvening evening;
    std::string hash;
    std::vector<std::string> pages; // relative to the site's top
    bool whole = false;             // every deal had its table
};

std::map<std::string, Made> readManifest(const fs::path& file) {
    std::map<std::string, Made> made;
    std::string bytes;
    if (!readFile(file, bytes)) return made;
    const Json j = Json::parse(bytes, nullptr, false);
    if (!j.is_object() || j.value("generator", "") != SiteGenerator || !j.contains("evenings") ||
        !j["evenings"].is_array())
        return made;
    for (const Json& e : j["evenings"]) {
        Made m;
        if (!e.is_object() || !eveningFromJson(e, m.evening)) continue;
        try {
            m.hash = e.at("hash").get<std::string>();
            m.pages = e.at("pages").get<std::vector<std::string>>();
            m.whole = e.at("whole").get<bool>();
        } catch (const Json::exception&) {
            continue;
        }
        made[m.evening.file] = std::move(m);
    }
    return made;
}

// A page of the site as the record names it: no way out of the site.
bool safePage(const std::string& rel) {
    const fs::path p(rel);
    if (rel.empty() || p.is_absolute()) return false;
    for (const auto& part : p)
        if (part == ".." || part == ".") return false;
    return true;
}

void removePages(const fs::path& out, const std::vector<std::string>& pages,
                 const std::set<std::string>& keep) {
    std::error_code ec;
    std::set<fs::path> folders;
    for (const std::string& rel : pages) {
        if (keep.count(rel) || !safePage(rel)) continue;
        fs::remove(out / rel, ec);
        if (fs::path(rel).has_parent_path()) folders.insert(out / fs::path(rel).parent_path());
    }
    for (const fs::path& f : folders)
        if (fs::is_directory(f, ec) && fs::is_empty(f, ec)) fs::remove(f, ec);
}

std::vector<std::string> winnersOf() {
    std::vector<std::string> winners;
    const std::vector<int> places = SITEPLACES();
    for (std::size_t i = 1; i < places.size(); ++i) {
        if (places[i] != 1) continue;
        const int p = PlacementOrder.contains(static_cast<int>(i)) ? PlacementOrder(static_cast<int>(i))
                                                                    : static_cast<int>(i);
        const std::string a = CP1250TOUTF8(PLAYERNAME(p, 1, NameLength));
        const std::string b = CP1250TOUTF8(PLAYERNAME(p, 2, NameLength));
        winners.push_back(a.empty() || b.empty() ? a + b : a + " \u2013 " + b);
    }
    return winners;
}

using Progress = std::function<bool(int, int, const std::string&)>;

// The double-dummy tables of the open tournament's complete deals: from the
// cache, the others solved and added to it. False when the user stopped.
bool dealTables(std::map<int, DoubleDummy>& tables, std::map<std::string, DoubleDummy>& cache,
                bool& whole, SiteSummary& summary, const Progress& progress, const std::string& what) {
    whole = true;
    std::vector<DdJob> todo;
    std::vector<int> boards;
    for (int b = 1; b <= REPORTBOARDS(); ++b) {
        if (SETOFBOARD(b) == 0 || !DEALCOMPLETE(b)) continue;
        DdJob job = DDJOBOFBOARD(b);
        const auto it = cache.find(DEALKEY(job));
        if (it != cache.end()) {
            tables[b] = it->second;
            ++summary.cachedDeals;
        } else {
            todo.push_back(job);
            boards.push_back(b);
        }
    }
    if (todo.empty()) return true;
    bool stopped = false;
    std::string error;
    const bool ok = ANALYSEDEALS(
        todo,
        [&](int done, int total) {
            if (!progress) return true;
            const bool go = progress(done, total, "Solving the deals of " + what);
            stopped = stopped || !go;
            return go;
        },
        error);
    for (std::size_t i = 0; i < todo.size(); ++i) {
        if (!todo[i].result.valid) {
            whole = false;
            continue;
        }
        ++summary.solved;
        cache[DEALKEY(todo[i])] = todo[i].result;
        tables[boards[i]] = todo[i].result;
    }
    if (!ok) summary.problems.push_back(what + ": " + error);
    return !stopped;
}

} // namespace

std::string DEALKEY(const DdJob& job) {
    std::string key;
    for (const std::int8_t h : job.cards) key += static_cast<char>('0' + std::clamp<int>(h, 0, 9));
    return key + ":" + std::to_string(job.zone) + ":" + std::to_string(job.dealer);
}

std::map<std::string, DoubleDummy> READDEALCACHE(const std::string& file) {
    std::map<std::string, DoubleDummy> cache;
    std::string bytes;
    if (!readFile(UTF8PATH(file), bytes)) return cache;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        // key, 20 trick counts as letters a..n, the par score, the par contracts
        std::istringstream l(line);
        std::string key, tricks;
        int score = 0;
        if (!(l >> key >> tricks >> score) || key.size() != 56 || tricks.size() != 20) continue;
        DoubleDummy dd;
        bool good = true;
        for (int hand = 1; hand <= 4; ++hand)
            for (int strain = 1; strain <= 5; ++strain) {
                const int t = tricks[static_cast<std::size_t>((hand - 1) * 5 + strain - 1)] - 'a';
                good = good && t >= 0 && t <= 13;
                dd.tricks[hand][strain] = t;
            }
        if (!good) continue;
        std::getline(l >> std::ws, dd.parContracts);
        dd.parScore = score;
        dd.valid = true;
        cache[key] = dd;
    }
    return cache;
}

std::string DEALCACHETEXT(const std::map<std::string, DoubleDummy>& cache) {
    std::string text;
    for (const auto& [key, dd] : cache) {
        std::string tricks;
        for (int hand = 1; hand <= 4; ++hand)
            for (int strain = 1; strain <= 5; ++strain)
                tricks += static_cast<char>('a' + std::clamp(dd.tricks[hand][strain], 0, 13));
        std::string contracts = dd.parContracts;
        std::replace(contracts.begin(), contracts.end(), '\n', ' ');
        text += key + " " + tricks + " " + std::to_string(dd.parScore) + " " + contracts + "\n";
    }
    return text;
}

SiteContracts READTABLEJOURNAL(const std::string& text) {
    SiteContracts contracts;
    std::istringstream in(text);
    auto integer = [](const Json& j, const char* key, int& v) {
        const auto it = j.find(key);
        if (it == j.end() || !it->is_number_integer()) return false;
        const long long x = it->get<long long>();
        if (x < -1000000 || x > 1000000) return false;
        v = static_cast<int>(x);
        return true;
    };
    for (std::string line; std::getline(in, line);) {
        const Json j = Json::parse(line, nullptr, false);
        if (j.is_discarded() || !j.is_object()) continue;
        int board = 0, ns = 0, ew = 0;
        if (!integer(j, "board", board) || board < 1 || board > REPORTBOARDS()) continue;
        const auto c = j.find("contract");
        if (c == j.end() || !c->is_string()) continue;
        if (!(integer(j, "ns", ns) && integer(j, "ew", ew))) {
            const auto pairs = j.find("pairs");
            if (pairs == j.end() || !pairs->is_array() || pairs->size() != 2 || !(*pairs)[0].is_number_integer() ||
                !(*pairs)[1].is_number_integer())
                continue;
            ns = (*pairs)[0].get<int>();
            ew = (*pairs)[1].get<int>();
        }
        const int k = SETOFBOARD(board);
        int entry = 0;
        for (int i = 1; i <= REPORTENTRIES(k) && entry == 0; ++i)
            if ((Movement(k, i, 1) == ns && Movement(k, i, 2) == ew) ||
                (Movement(k, i, 1) == ew && Movement(k, i, 2) == ns))
                entry = i;
        if (entry == 0) continue;
        int nsScore = 0;
        if (integer(j, "nsScore", nsScore)) {
            const float v = RESULTAT(board, entry);
            const int stored = v < -500.0f ? static_cast<int>(10 * (v + 1000.0f)) : static_cast<int>(10 * v);
            if (v >= 1000.0f || stored != nsScore) {
                contracts.erase({board, entry});
                continue;
            }
        }
        SiteContract sc;
        sc.contract = c->get<std::string>().substr(0, 8);
        const auto d = j.find("declarer");
        if (d != j.end() && d->is_string()) sc.declarer = d->get<std::string>().substr(0, 2);
        int tricks = -1;
        if (integer(j, "tricks", tricks) && tricks >= 0 && tricks <= 13) sc.tricks = tricks;
        // Only text that is valid UTF-8 reaches the page.
        if (!ISUTF8(sc.contract) || !ISUTF8(sc.declarer)) continue;
        contracts[{board, entry}] = sc;
    }
    return contracts;
}

bool BUILDSITE(const std::string& folder, const std::string& out, SiteSummary& summary, std::string& error,
               const Progress& progress) {
    summary = SiteSummary{};
    error.clear();
    const fs::path in = UTF8PATH(folder), top = UTF8PATH(out);
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(in, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        std::error_code e2;
        if (ext == ".otr" && it->is_regular_file(e2)) files.push_back(it->path());
    }
    if (ec) {
        error = "The folder " + folder + " could not be read: " + ec.message() + ".";
        return false;
    }
    std::sort(files.begin(), files.end());
    fs::create_directories(top, ec);
    if (!fs::is_directory(top, ec)) {
        error = "The folder " + out + " could not be made.";
        return false;
    }

    const bool ratingList = RegisteredCount > 0;
    std::map<std::string, Made> old = readManifest(top / ManifestName);
    std::map<std::string, DoubleDummy> cache = READDEALCACHE((top / DealCacheName).string());
    const std::size_t cacheSize = cache.size();
    std::vector<Made> made;
    std::set<std::string> slugs;
    bool stopped = false;
    const int total = static_cast<int>(files.size());

    for (int n = 0; n < total && !stopped; ++n) {
        const fs::path& file = files[static_cast<std::size_t>(n)];
        const std::string fileName = file.filename().string();
        std::string slug = slugOf(file.stem().string());
        for (int k = 2; slugs.count(slug); ++k) slug = slugOf(file.stem().string()) + "-" + std::to_string(k);
        slugs.insert(slug);

        std::string otr, journal;
        if (!readFile(file, otr)) {
            summary.problems.push_back(fileName + ": the file could not be read");
            continue;
        }
        readFile(file.string() + ".tables", journal);
        const std::string date = dateOf(file);
        const std::string hash = hashOf(std::string(SiteGenerator) + '\0' + (ratingList ? "R" : "-") + date +
                                        '\0' + otr + '\0' + journal);

        const auto before = old.find(fileName);
        if (before != old.end() && before->second.hash == hash && before->second.whole &&
            before->second.evening.slug == slug &&
            std::all_of(before->second.pages.begin(), before->second.pages.end(),
                        [&](const std::string& p) { return safePage(p) && fs::is_regular_file(top / p, ec); })) {
            made.push_back(before->second);
            ++summary.evenings;
            if (progress && !progress(n + 1, total, fileName)) stopped = true;
            continue;
        }

        if (TournamentOpen) CLOSETOURNAMENT();
        if (!OPENNTRFILE(file.string())) {
            summary.problems.push_back(fileName + ": not a tournament file that can be opened");
            continue;
        }
        Made m;
        m.hash = hash;
        SiteEvening& e = m.evening;
        e.file = fileName;
        e.slug = slug;
        e.date = date;
        e.name = CP1250TOUTF8(TOURNAMENTNAMETEXT());
        e.movement = MovementType >= 1 && MovementType <= 4 ? MovementNames[MovementType] : "";
        e.calc = CalcType >= 1 && CalcType <= 3 ? CalcNames[CalcType] : "";
        e.pairs = REPORTPAIRS();
        e.boards = REPORTBOARDS();
        e.winners = winnersOf();

        std::map<int, DoubleDummy> tables;
        m.whole = true;
        if (ISTRUE(HasHands) && !dealTables(tables, cache, m.whole, summary, progress, fileName)) {
            stopped = true;
            break;
        }
        const SiteContracts contracts = READTABLEJOURNAL(journal);

        fs::create_directories(top / slug, ec);
        auto put = [&](const std::string& rel, const std::string& bytes) {
            m.pages.push_back(rel);
            return writeIfChanged(top / rel, bytes, summary, error);
        };
        bool ok = put(slug + "/index.html", SITEEVENINGPAGE(e, ratingList));
        for (int b = 1; ok && b <= REPORTBOARDS(); ++b) {
            if (SETOFBOARD(b) == 0) continue;
            const auto t = tables.find(b);
            ok = put(slug + "/board-" + std::to_string(b) + ".html",
                     SITEBOARDPAGE(e, b, contracts, t == tables.end() ? nullptr : &t->second, ratingList));
        }
        for (int p = 1; ok && p <= REPORTPAIRS(); ++p)
            ok = put(slug + "/pair-" + std::to_string(p) + ".html", SITEPAIRPAGE(e, p, contracts, ratingList));
        if (!ok) return false;
        if (before != old.end())
            removePages(top, before->second.pages, std::set<std::string>(m.pages.begin(), m.pages.end()));
        ++summary.evenings;
        ++summary.rebuilt;
        made.push_back(std::move(m));
        if (progress && !progress(n + 1, total, fileName)) stopped = true;
    }
    if (TournamentOpen) CLOSETOURNAMENT();

    // Evenings whose files are gone lose their pages (a stopped run keeps them).
    std::set<std::string> present;
    for (const fs::path& f : files) present.insert(f.filename().string());
    if (!stopped)
        for (const auto& [name, m] : old)
            if (!present.count(name)) removePages(top, m.pages, {});

    std::vector<SiteEvening> evenings;
    for (const Made& m : made) evenings.push_back(m.evening);
    std::stable_sort(evenings.begin(), evenings.end(), [](const SiteEvening& a, const SiteEvening& b) {
        return a.date != b.date ? a.date > b.date : a.file < b.file;
    });
    if (!writeIfChanged(top / "style.css", SITESTYLESHEET(), summary, error) ||
        !writeIfChanged(top / "index.html", SITEINDEXPAGE(evenings, ratingList), summary, error))
        return false;
    if (ratingList) {
        if (!writeIfChanged(top / "ratings.html", SITERATINGPAGE(), summary, error)) return false;
    } else {
        fs::remove(top / "ratings.html", ec);
    }

    Json manifest = {{"generator", SiteGenerator}, {"evenings", Json::array()}};
    // A stopped run keeps what the record said of the evenings it did not reach.
    std::set<std::string> recorded;
    for (const Made& m : made) {
        Json j = eveningJson(m.evening);
        j["hash"] = m.hash;
        j["pages"] = m.pages;
        j["whole"] = m.whole;
        manifest["evenings"].push_back(std::move(j));
        recorded.insert(m.evening.file);
    }
    if (stopped)
        for (const auto& [name, m] : old)
            if (!recorded.count(name) && present.count(name)) {
                Json j = eveningJson(m.evening);
                j["hash"] = "";
                j["pages"] = m.pages;
                j["whole"] = false;
                manifest["evenings"].push_back(std::move(j));
            }
    if (cache.size() != cacheSize && !writeIfChanged(top / DealCacheName, DEALCACHETEXT(cache), summary, error))
        return false;
    if (!writeIfChanged(top / ManifestName, manifest.dump(1, ' ', false, Json::error_handler_t::replace) + "\n",
                        summary, error))
        return false;
    if (stopped) error = "Stopped.";
    return !stopped;
}
