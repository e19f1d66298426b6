// Every HTML export opened in a real browser (headless Chromium): the page the
// browser builds holds every player's name as typed, "<", "&" and Serbian
// letters included. Skipped where Chromium is not installed.
#include "reports/reportstest.h"

#include "core/cp1250.h"
#include "core/tournament.h"
#include "reports/reports.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

std::string findChromium() {
#ifdef _WIN32
    return {}; // the check drives the browser of a Linux machine
#endif
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/snap/bin"})
        for (const char* name : {"chromium", "chromium-browser"}) {
            const std::string p = std::string(dir) + "/" + name;
            if (std::ifstream(p)) return p;
        }
    return {};
}

// The page's DOM as the browser serialises it, its text references decoded.
std::string renderedText(const std::string& chromium, const std::filesystem::path& page,
                         const std::filesystem::path& profile) {
    const std::string cmd = "timeout 120 '" + chromium +
                            "' --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
                            "--disable-background-networking --disable-component-update "
                            "--disable-sync --user-data-dir='" +
                            profile.string() + "' --dump-dom 'file://" + page.string() +
                            "' 2>/dev/null";
    std::string dom;
    if (FILE* pipe = popen(cmd.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
            dom.append(buf, n);
        pclose(pipe);
    }
    const std::pair<std::string, std::string> refs[] = {
        {"&nbsp;", " "}, {"\xC2\xA0", " "}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto& [from, to] : refs)
        for (std::size_t at = 0; (at = dom.find(from, at)) != std::string::npos; at += to.size())
            dom.replace(at, from.size(), to);
    return dom;
}

class BrowserShowsNames : public OrlaTest {};

TEST_F(BrowserShowsNames, InEveryHtmlExport) {
    const std::string chromium = findChromium();
    if (chromium.empty()) GTEST_SKIP() << "chromium is not installed (make deps installs it)";
    struct Page {
        const char* folder;
        const char* view;
        int width; // the names as the report cuts them; 0: whole pairs
    };
    const Page pages[] = {
        {"mitchell_mp", "ranking", 22}, {"mitchell_mp", "lines", 25}, {"mitchell_mp", "personal", 0},
        {"mitchell_mp", "frequency", -1}, {"mitchell_mp", "boards", -1}, {"howell_imp", "ranking", 22},
    };
    for (const Page& p : pages) {
        SCOPED_TRACE(std::string(p.folder) + " " + p.view);
        ASSERT_TRUE(OPENCASE(p.folder, p.view, 0));
        const auto file = tempDir() / (std::string(p.folder) + "-" + p.view + ".htm");
        const std::string html = HTMLEXPORT();
        std::ofstream(file, std::ios::binary) << html;
        const std::string text = renderedText(chromium, file, tempDir() / "profile");
        ASSERT_FALSE(text.empty()) << "the browser gave no page";

        EXPECT_NE(text.find(CP1250TOUTF8(FIELDTEXT(Header.TournamentName, TournamentNameLength))),
                  std::string::npos);
        for (int pair = 1; pair <= NumPairs && p.width >= 0; ++pair) {
            std::string names[2];
            for (int j = 1; j <= 2; ++j) {
                names[j - 1] = FIELDTEXT(PlayerNames(pair, j).c, NameLength);
                if (p.width > 0) names[j - 1].resize(std::min<std::size_t>(names[j - 1].size(), static_cast<std::size_t>(p.width)));
            }
            if (p.width > 0) {
                for (const std::string& name : names) {
                    EXPECT_NE(text.find(CP1250TOUTF8(name)), std::string::npos) << CP1250TOUTF8(name);
                }
            } else {
                const std::string both = CP1250TOUTF8(names[0] + " - " + names[1]);
                EXPECT_NE(text.find(both), std::string::npos) << both;
            }
        }
        RESETTOURNAMENTSTATE();
    }
}

} // namespace
