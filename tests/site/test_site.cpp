// orla-cli site over a folder of evenings of every movement and calculation,
// each page read back and checked against orla-cli dump of its file; the pages
// checked by tidy, their links followed; a rebuild that writes nothing.
#include "cli/clitest.h"
#include "site/sitetest.h"

#include "movement/custom.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <set>

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

const char* const Hostile[4][2] = {
    {"Đorđe <b>Đorđević</b>", "Ana & Marić"},
    {"Petar \"Pera\" Perić", "Žaklina Šćepanović"},
    {"Ljiljana 'Lela' Savić", "Ćiril Čolić"},
    {"Marko </td>Marković", "Jovan &amp; Jović"},
};

// A figure as the reports write it: rounded half away from zero.
std::string fixed2(double v, int decimals = 2) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(v * scale) / scale;
    char t[64];
    std::snprintf(t, sizeof t, "%.*f", decimals, rounded == 0 && v < 0 ? -0.0 : rounded);
    return t;
}

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class Site : public CliTest {
  protected:
    fs::path folder() { return tempDir() / "season"; }
    fs::path out() { return tempDir() / "www"; }

    // Five evenings: a rated Mitchell with hostile names, a tie, an adjusted
    // score, an inversion, missing results and a penalty; a Howell of IMPs with
    // deals and a faulty board; a Berger of IMPs; a custom movement of Calcutta where every pair ties;
    // a Howell of matchpoints with deals and the table scoring's journal.
    void makeSeason() {
        fs::create_directories(folder());
        INSTALLTESTHOOKS();
        INSTALLCOMPUTE();
        Compute.assignPairRating = nullptr;

        ASSERT_TRUE(NEWEVENING(MOVE_MITCHELL, CALC_MATCHPOINTS, 10, 5, 2, "Klub \"Đerdap\" <Ponedeljak> & co"));
        RatingMode = -1;
        for (int p = 1; p <= 10; ++p) {
            if (p <= 4) SETNAMES(p, Hostile[p - 1][0], Hostile[p - 1][1]);
            else SETNAMES(p, "Igrač " + std::to_string(p), "Šef " + std::to_string(p));
            PlayerRating(p, 1) = 1400 + 20 * p;
            PlayerRating(p, 2) = 1401 + 10 * p;
            RatingChange(p, 1) = 0.25f * static_cast<float>(p) - 1.0f;
            RatingChange(p, 2) = 1.0f - 0.125f * static_cast<float>(p);
        }
        SETTOURNAMENTSTRENGTH();
        const int board1[5] = {42, 42, 45, -5, 17};
        for (int i = 1; i <= 5; ++i) Results(1, i) = ENCODEORDINARY(board1[i - 1]);
        Results(2, 1) = ENCODEADJUSTED(6, 4);
        Results(2, 2) = ENCODEINVERTED(42);
        Results(2, 4) = ENCODEORDINARY(42);
        Results(2, 5) = ENCODEORDINARY(-10);
        PairPenalty(2) = 1.5f;
        ASSERT_TRUE(SAVEEVENING((folder() / "2024-01-08 Mitchell.otr").string()));

        ASSERT_TRUE(NEWEVENING(MOVE_HOWELL, CALC_IMPS, 8, 7, 2, "Utorak IMP"));
        for (int p = 1; p <= 8; ++p) SETNAMES(p, "Ana " + std::to_string(p), "Bora " + std::to_string(p));
        FILLRESULTS(7);
        DEALBOARDS(2, 11);
        BoardValid(3) = LFALSE;
        ASSERT_TRUE(SAVEEVENING((folder() / "howell.otr").string()));

        ASSERT_TRUE(NEWEVENING(MOVE_BERGER, CALC_IMPS, 6, 5, 3, "Berger"));
        for (int p = 1; p <= 6; ++p) SETNAMES(p, "Cica " + std::to_string(p), "Dule " + std::to_string(p));
        FILLRESULTS(3);
        ASSERT_TRUE(SAVEEVENING((folder() / "berger.otr").string()));

        ASSERT_TRUE(NEWEVENING(MOVE_CUSTOM, CALC_CALCUTTA, 4, 3, 2, "Custom", 3));
        const int entries[3][2][2] = {{{1, 2}, {3, 4}}, {{1, 3}, {4, 2}}, {{1, 4}, {2, 3}}};
        for (int k = 1; k <= 3; ++k) {
            SetEntries(k) = 2;
            for (int i = 1; i <= 2; ++i)
                for (int s = 1; s <= 2; ++s) Movement(k, i, s) = entries[k - 1][i - 1][s - 1];
        }
        for (int p = 1; p <= 4; ++p) SETNAMES(p, "Ema " + std::to_string(p), "Fića " + std::to_string(p));
        // Every table the same score: every pair ties.
        for (int b = 1; b <= 6; ++b)
            for (int i = 1; i <= 2; ++i) Results(b, i) = ENCODEORDINARY(42);
        ASSERT_TRUE(SAVEEVENING((folder() / "custom.otr").string()));

        ASSERT_TRUE(NEWEVENING(MOVE_HOWELL, CALC_MATCHPOINTS, 6, 5, 2, "Journal"));
        for (int p = 1; p <= 6; ++p) SETNAMES(p, "Gaga " + std::to_string(p), "Hana " + std::to_string(p));
        FILLRESULTS(9);
        Results(1, 1) = ENCODEORDINARY(42);
        DEALBOARDS(1, 5);
        const int ns = Movement(1, 1, 1), ew = Movement(1, 1, 2);
        const int ns3 = Movement(2, 1, 1), ew3 = Movement(2, 1, 2);
        Results(3, 1) = 0.0f; // passed out at the table
        ASSERT_TRUE(SAVEEVENING((folder() / "journal.otr").string()));
        std::ofstream(folder() / "journal.otr.tables")
            << "{\"board\":1,\"ns\":" << ns << ",\"ew\":" << ew
            << ",\"contract\":\"4HX\",\"declarer\":\"S\",\"tricks\":10,\"nsScore\":420}\n"
            << "not json at all\n{\"board\":\"1\"}\n"
            << "{\"board\":3,\"ns\":" << ns3 << ",\"ew\":" << ew3 << ",\"contract\":\"PASS\",\"nsScore\":0}\n"
            << "{\"board\":2,\"pairs\":[" << ns << "," << ew << "],\"contract\":\"<script>\",\"declarer\":\"N\",\"nsScore\":99990}\n";
        RESETTOURNAMENTSTATE();
    }

    Json dump(const fs::path& file) {
        const Run r = run("dump " + QUOTED(UTF8OF(file)));
        EXPECT_EQ(r.code, 0) << r.err;
        return Json::parse(r.out, nullptr, false);
    }

    std::vector<fs::path> pages() {
        std::vector<fs::path> all;
        for (const auto& e : fs::recursive_directory_iterator(out()))
            if (e.path().extension() == ".html") all.push_back(e.path());
        std::sort(all.begin(), all.end());
        return all;
    }
};

// Place of each ranking line: a pair within 1e-3 of the line above in both
// figures shares its place.
std::vector<int> placesOf(const Json& d) {
    const Json& order = d["PlacementOrder"];
    std::vector<int> places;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int p = order[i].get<int>() - 1;
        bool tied = false;
        if (i > 0) {
            const int q = order[i - 1].get<int>() - 1;
            tied = std::fabs(d["PairTotal"][p].get<double>() - d["PairTotal"][q].get<double>()) <= 1e-3 &&
                   std::fabs(d["PairPercent"][p].get<double>() - d["PairPercent"][q].get<double>()) <= 1e-3;
        }
        places.push_back(tied ? places.back() : static_cast<int>(i) + 1);
    }
    return places;
}

// A stored result as the traveller's "Score NS" shows it.
std::string scoreOf(double v) {
    if (v == 0) return "no result";
    if (v >= 10000) return "adjusted";
    return std::to_string(static_cast<long long>(std::lround(10 * (v < -500 ? v + 1000 : v))));
}

TEST_F(Site, EveryPageHoldsWhatDumpHolds) {
    makeSeason();
    const Run built = run("site " + QUOTED(UTF8OF(folder())) + " -o " + QUOTED(UTF8OF(out())));
    ASSERT_EQ(built.code, 0) << built.err << built.out;
    const std::string index = readAll(out() / "index.html");
    bool sawTie = false, sawAdjusted = false, sawInverted = false, sawFaulty = false, sawDeal = false,
         sawRating = false, sawVp = false, sawContract = false;

    const std::map<std::string, std::string> slugs = {{"2024-01-08 Mitchell.otr", "2024-01-08-mitchell"},
                                                      {"howell.otr", "howell"}, {"berger.otr", "berger"},
                                                      {"custom.otr", "custom"}, {"journal.otr", "journal"}};
    for (const auto& [file, slug] : slugs) {
        SCOPED_TRACE(file);
        const Json d = dump(folder() / file);
        ASSERT_TRUE(d.is_object());
        EXPECT_NE(index.find("href=\"" + slug + "/index.html\""), std::string::npos);
        const int pairs = d["header"]["NumPairs"], boards = d["header"]["NumBoards"], perRound = d["header"]["BoardsPerRound"];
        const bool mp = d["header"]["CalcType"] == 1;
        const std::string pts = mp ? "MP" : "IMP";

        // The ranking: place, pair, total, percentage or VP, rating columns.
        const std::string evening = readAll(out() / slug / "index.html");
        const PageTable ranking = PAGETABLE(evening, "Ranking");
        ASSERT_EQ(ranking.rows.size(), static_cast<std::size_t>(pairs));
        const std::vector<int> places = placesOf(d);
        for (int i = 0; i < pairs; ++i) {
            const int p = d["PlacementOrder"][i].get<int>() - 1;
            const auto r = static_cast<std::size_t>(i);
            EXPECT_EQ(ranking.at(r, "Place"), std::to_string(places[r]) + ".") << i;
            sawTie = sawTie || (i > 0 && places[r] == places[r - 1]);
            EXPECT_NE(ranking.rows[r][1].find("pair-" + std::to_string(p + 1) + ".html"), std::string::npos);
            EXPECT_EQ(ranking.at(r, pts), fixed2(d["PairTotal"][p].get<double>()));
            EXPECT_EQ(ranking.at(r, mp ? "%" : "VP"), fixed2(d["PairPercent"][p].get<double>()));
            if (d["header"]["RatingMode"] != 0) {
                sawRating = true;
                const int r1 = d["PlayerRating"][p][0], r2 = d["PlayerRating"][p][1];
                EXPECT_EQ(ranking.at(r, "Rating"), std::to_string((r1 + r2 + 1) / 2));
                EXPECT_EQ(ranking.at(r, "Rating change"), fixed2(d["RatingChange"][p][0].get<double>(), 1) + " / " +
                                                              fixed2(d["RatingChange"][p][1].get<double>(), 1));
            }
        }
        if (d["header"]["MovementType"] == 4) {
            RESETTOURNAMENTSTATE();
            NumPairs = pairs;
            std::string id = GETPAIRID(3);
            id.erase(0, id.find_first_not_of(' '));
            id.erase(id.find_last_not_of(' ') + 1);
            EXPECT_NE(evening.find(">" + id + "</a>"), std::string::npos) << id;
        }
        if (d["header"]["MovementType"] == 2) {
            const PageTable matches = PAGETABLE(evening, "Matches");
            std::size_t row = 0;
            for (std::size_t k = 0; k < d["MatchVP"].size(); ++k)
                for (std::size_t i = 0; i < d["MatchVP"][k].size(); ++i, ++row) {
                    EXPECT_EQ(matches.at(row, "VP NS"), fixed2(d["MatchVP"][k][i][0].get<double>(), 0));
                    EXPECT_EQ(matches.at(row, "IMP EW"), fixed2(d["MatchPoints"][k][i][1].get<double>()));
                    sawVp = true;
                }
        }

        // Every board's traveller: the pairs as seated, the score, the points of both sides.
        for (int b = 1; b <= boards; ++b) {
            SCOPED_TRACE("board " + std::to_string(b));
            const std::string html = readAll(out() / slug / ("board-" + std::to_string(b) + ".html"));
            const PageTable t = PAGETABLE(html, "Traveller of board");
            const Json& results = d["Results"][b - 1];
            ASSERT_EQ(t.rows.size(), results.size());
            const bool valid = d["BoardValid"][b - 1];
            const int k = (b - 1) / perRound;
            for (std::size_t i = 0; i < results.size(); ++i) {
                const double v = results[i];
                const int seatNS = v < -500 ? 1 : 0;
                const bool passed = slug == "journal" && b == 3 && i == 0;
                EXPECT_EQ(t.at(i, "Score NS"), passed ? "0" : scoreOf(v)) << i;
                if (passed) {
                    EXPECT_EQ(t.at(i, "Contract"), "Pass");
                    EXPECT_EQ(t.at(i, "Note"), "Passed out");
                }
                EXPECT_NE(t.rows[i][0].find("pair-" + std::to_string(d["Movement"][k][i][seatNS].get<int>()) + ".html"),
                          std::string::npos);
                for (int s = 0; s < 2; ++s) {
                    const std::string side = s == 0 ? " NS" : " EW";
                    const int movementSide = s == 0 ? seatNS : 1 - seatNS;
                    EXPECT_EQ(t.at(i, pts + side),
                              valid ? fixed2(d["BoardPoints"][b - 1][i][movementSide].get<double>()) : "not scored");
                    if (mp && valid) {
                        EXPECT_EQ(t.at(i, "%" + side),
                                  fixed2(100 * d["BoardPercent"][b - 1][i][movementSide].get<double>(), 0));
                    }
                }
                sawAdjusted = sawAdjusted || (v >= 10000 && t.at(i, "Note").find("Adjusted score: 60% \u2013 40%") == 0);
                sawInverted = sawInverted || (v < -500 && t.at(i, "Note").find("Inverted") == 0);
            }
            if (!valid) sawFaulty = sawFaulty || html.find("Faulty board") != std::string::npos;
            if (d["header"]["HasHands"] && b <= 2 && slug == "howell") {
                const PageTable dd = PAGETABLE(html, "Double-dummy tricks");
                EXPECT_EQ(dd.rows.size(), 4u);
                sawDeal = sawDeal || (dd.rows.size() == 4 && html.find("class=\"red\"") != std::string::npos &&
                                      html.find("Par ") != std::string::npos);
            }
            if (slug == "journal" && b == 1) {
                EXPECT_EQ(t.at(0, "Contract"), "4\u2665X");
                EXPECT_EQ(t.at(0, "By"), "S");
                EXPECT_EQ(t.at(0, "Tricks"), "=");
                sawContract = true;
            }
            if (slug == "journal" && b == 2) {
                EXPECT_EQ(html.find("script"), std::string::npos);
            }
        }

        // Every score card: the boards of the pair, its score and points, the running total.
        for (int p = 1; p <= pairs; ++p) {
            SCOPED_TRACE("pair " + std::to_string(p));
            const std::string html = readAll(out() / slug / ("pair-" + std::to_string(p) + ".html"));
            const PageTable t = PAGETABLE(html, "Score card of pair");
            std::size_t row = 0;
            double running = 0;
            for (int b = 1; b <= boards; ++b) {
                const int k = (b - 1) / perRound;
                const bool valid = d["BoardValid"][b - 1];
                for (std::size_t i = 0; i < d["Movement"][k].size(); ++i) {
                    const int side = d["Movement"][k][i][0] == p ? 0 : d["Movement"][k][i][1] == p ? 1 : -1;
                    if (side < 0) continue;
                    const double v = d["Results"][b - 1][i];
                    std::string score = slug == "journal" && b == 3 && i == 0 ? "0" : scoreOf(v);
                    const bool ownSeatNS = (v < -500) == (side == 1);
                    if (score != "no result" && score != "adjusted" && !ownSeatNS)
                        score = std::to_string(-std::stoll(score));
                    EXPECT_EQ(t.at(row, "Score"), score) << b;
                    const double points = d["BoardPoints"][b - 1][i][side];
                    if (valid) running += points;
                    EXPECT_EQ(t.at(row, pts), valid ? fixed2(points) : "not scored") << b;
                    EXPECT_EQ(t.at(row, "Running total"), fixed2(running)) << b;
                    ++row;
                }
            }
            EXPECT_EQ(row, t.rows.size());
            EXPECT_NE(html.find("Total: " + fixed2(d["PairTotal"][p - 1].get<double>()) + " " + pts),
                      std::string::npos);
        }
    }
    EXPECT_TRUE(sawTie);
    EXPECT_TRUE(sawAdjusted);
    EXPECT_TRUE(sawInverted);
    EXPECT_TRUE(sawFaulty);
#ifdef ORLA_WITH_DDS
    EXPECT_TRUE(sawDeal);
#endif
    EXPECT_TRUE(sawRating);
    EXPECT_TRUE(sawVp);
    EXPECT_TRUE(sawContract);

    // Names come back as typed, whatever markup they hold.
    const std::string mitchell = readAll(out() / "2024-01-08-mitchell" / "index.html");
    const std::string text = HTMLTEXTOF(mitchell);
    for (const auto& pair : Hostile)
        EXPECT_NE(text.find(std::string(pair[0]) + " \u2013 " + pair[1]), std::string::npos) << pair[0];
    EXPECT_EQ(mitchell.find("<b>"), std::string::npos);
    EXPECT_NE(text.find("Klub \"Đerdap\" <Ponedeljak> & co"), std::string::npos);
}

TEST_F(Site, PagesAreValidSelfContainedAndLinkedInside) {
    makeSeason();
    // A register: the site gets its rating list.
    fs::copy_file(TESTDATA("ratinglist/Players.opd"), tempDir() / "Players.opd");
    const Run built = run("site " + QUOTED(UTF8OF(folder())) + " -o " + QUOTED(UTF8OF(out())));
    ASSERT_EQ(built.code, 0) << built.err;
    ASSERT_TRUE(fs::exists(out() / "ratings.html"));
    EXPECT_GT(PAGETABLE(readAll(out() / "ratings.html"), "Players by rating").rows.size(), 1u);

    const bool tidy = fs::exists("/usr/bin/tidy");
    const std::regex ref("(href|src)=\"([^\"]*)\"");
    int checked = 0;
    for (const fs::path& page : pages()) {
        SCOPED_TRACE(page.string());
        const std::string html = readAll(page);
        EXPECT_TRUE(ISUTF8(html));
        EXPECT_EQ(html.find("<script"), std::string::npos);
        EXPECT_EQ(html.find("http"), std::string::npos) << "nothing from outside the site";
        EXPECT_EQ(html.find("//"), std::string::npos);
        for (std::sregex_iterator it(html.begin(), html.end(), ref), end; it != end; ++it) {
            const std::string target = (*it)[2];
            ASSERT_FALSE(target.empty());
            EXPECT_TRUE(fs::is_regular_file(page.parent_path() / target)) << target;
            const fs::path resolved = fs::weakly_canonical(page.parent_path() / target);
            EXPECT_EQ(resolved.string().rfind(fs::canonical(out()).string(), 0), 0u) << target;
        }
        if (tidy) {
            std::string report;
            const int rc = RUNCOMMAND("tidy -q -e " + QUOTED(UTF8OF(page)) + " 2>&1", report);
            EXPECT_LT(rc, 2) << report;
            EXPECT_EQ(report.find("Error"), std::string::npos) << report;
        }
        ++checked;
    }
    EXPECT_GT(checked, 90);
    const std::string css = readAll(out() / "style.css");
    EXPECT_EQ(css.find("url("), std::string::npos);
    EXPECT_EQ(css.find("@import"), std::string::npos);
    if (!tidy) GTEST_SKIP() << "tidy is not installed (make deps installs it)";
}

TEST_F(Site, ARebuildWritesOnlyWhatChangedAndSolvesNothingAgain) {
    makeSeason();
    const std::string args = "site " + QUOTED(UTF8OF(folder())) + " -o " + QUOTED(UTF8OF(out()));
    Run first = run(args);
    ASSERT_EQ(first.code, 0) << first.err;
    std::map<fs::path, std::string> before;
    for (const auto& e : fs::recursive_directory_iterator(out()))
        if (e.is_regular_file()) before[e.path()] = readAll(e.path());
#ifdef ORLA_WITH_DDS
    EXPECT_NE(first.out.find(" 3 deals solved"), std::string::npos) << first.out;
#endif

    // The same files: nothing written, every byte the same.
    const Run again = run(args);
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_NE(again.out.find("5 evenings (0 made again): 0 files written"), std::string::npos) << again.out;
    for (const auto& [file, bytes] : before) EXPECT_EQ(readAll(file), bytes) << file;

    // One evening's pages lost and one evening changed: those are made again,
    // the deals come from the cache, the other evenings' pages stay untouched.
    fs::remove_all(out() / "howell");
    INSTALLCOMPUTE();
    Compute.assignPairRating = nullptr;
    ASSERT_TRUE(OPENNTRFILE((folder() / "berger.otr").string()));
    Results(1, 1) = ENCODEORDINARY(143);
    ASSERT_TRUE(SAVEEVENING((folder() / "berger.otr").string()));
    RESETTOURNAMENTSTATE();
    const auto untouched = fs::last_write_time(out() / "custom" / "pair-1.html");
    const Run changed = run(args);
    ASSERT_EQ(changed.code, 0) << changed.err;
    EXPECT_NE(changed.out.find("5 evenings (2 made again)"), std::string::npos) << changed.out;
#ifdef ORLA_WITH_DDS
    EXPECT_NE(changed.out.find(" 0 deals solved, 2 from the cache"), std::string::npos) << changed.out;
#endif
    EXPECT_EQ(fs::last_write_time(out() / "custom" / "pair-1.html"), untouched);
    for (const auto& [file, bytes] : before) {
        if (file.string().find("/berger/") == std::string::npos && file.filename() != ".orla-site") {
            EXPECT_EQ(readAll(file), bytes) << file;
        }
    }
    EXPECT_NE(readAll(out() / "berger" / "board-1.html"), before[out() / "berger" / "board-1.html"]);

    // An evening whose file is gone loses its pages; a damaged file is named and left out.
    fs::remove(folder() / "custom.otr");
    std::ofstream(folder() / "damaged.otr") << "not a tournament";
    const Run gone = run(args);
    EXPECT_EQ(gone.code, 1);
    EXPECT_NE(gone.err.find("damaged.otr"), std::string::npos) << gone.err;
    EXPECT_FALSE(fs::exists(out() / "custom" / "index.html"));
    EXPECT_EQ(readAll(out() / "index.html").find("custom/"), std::string::npos);

    // Bad usage and an unreadable folder say so.
    EXPECT_EQ(run("site " + QUOTED(UTF8OF(tempDir() / "nowhere")) + " -o " + QUOTED(UTF8OF(out()))).code, 1);
    EXPECT_EQ(run("site " + QUOTED(UTF8OF(folder()))).code, 2);
}

} // namespace

namespace {

std::string findChromium() {
    for (const char* p : {"/usr/bin/chromium", "/usr/bin/chromium-browser", "/usr/local/bin/chromium"})
        if (fs::exists(p)) return p;
    return {};
}

// The pages of docs/: an evening, a board with its deal and a score card, at a
// phone's width and a desktop's, as headless Chromium draws them.
TEST_F(Site, ScreenshotsForTheReadme) {
    const std::string chromium = findChromium();
    if (chromium.empty()) GTEST_SKIP() << "chromium is not installed (make deps installs it)";
    makeSeason();
    const Run built = run("site " + QUOTED(UTF8OF(folder())) + " -o " + QUOTED(UTF8OF(out())));
    ASSERT_EQ(built.code, 0) << built.err;
    struct Shot {
        const char* page;
        const char* name;
    };
    const Shot shots[] = {{"howell/index.html", "site-evening"},
                          {"howell/board-1.html", "site-board"},
                          {"howell/pair-1.html", "site-scorecard"}};
    for (const Shot& s : shots)
        for (const int width : {390, 1280}) {
            SCOPED_TRACE(std::string(s.name) + " " + std::to_string(width));
            const fs::path png = fs::path(ORLA_DOCS_DIR) / (std::string(s.name) + "-" + std::to_string(width) + ".png");
            const fs::path profile = tempDir() / ("profile-" + std::to_string(width) + s.name);
            fs::remove(png);
            const std::string cmd =
                "timeout 120 " + QUOTED(chromium) +
                " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
                " --disable-background-networking --disable-component-update --disable-sync"
                " --hide-scrollbars --user-data-dir=" + QUOTED(UTF8OF(profile)) + " --screenshot=" + QUOTED(UTF8OF(png)) +
                " --window-size=" + std::to_string(width) + "," + (width == 390 ? "844" : "900") + " " +
                QUOTED("file://" + UTF8OF(out() / s.page)) + " >/dev/null 2>&1";
            std::string ignored;
            RUNCOMMAND(cmd, ignored);
            ASSERT_TRUE(fs::exists(png));
            EXPECT_GT(fs::file_size(png), 5000u);
        }
}

// A name read from a file may hold control characters (an older file, a damaged
// one): the pages show them as their pictures, never as raw bytes, which HTML
// does not allow.
TEST_F(Site, ControlCharactersOfNamesAreShownAsPictures) {
    std::ifstream in(TESTDATA("mitchell_mp/input.otr"), std::ios::binary);
    std::string otr((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t at = otr.find("Ana");
    ASSERT_NE(at, std::string::npos);
    otr[at + 1] = '\x1b'; // "A", ESC, BEL
    otr[at + 2] = '\x07';
    fs::create_directories(tempDir() / "season");
    std::ofstream(tempDir() / "season" / "ev.otr", std::ios::binary) << otr;
    const Run r = run("site " + path("season") + " -o " + path("site"));
    ASSERT_EQ(r.code, 0) << r.err;
    int pages = 0, named = 0;
    for (const auto& entry : fs::recursive_directory_iterator(tempDir() / "site")) {
        if (entry.path().extension() != ".html") continue;
        ++pages;
        std::ifstream page(entry.path(), std::ios::binary);
        const std::string html((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
        for (const char c : html)
            EXPECT_FALSE((static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\r' && c != '\t') ||
                         c == '\x7f')
                << entry.path() << " holds the control character " << static_cast<int>(c);
        if (html.find("A\u241B\u2407") != std::string::npos) ++named;
    }
    EXPECT_GT(pages, 20);
    EXPECT_GT(named, 1);
}

} // namespace
