// The rating list of Edit Player List: its lines, the HTML page and the text
// file against expected files checked by hand, the printer's page breaks, and
// orla-cli players --export-html / --export-text.
#include "reports/reportstest.h"

#include "core/programfolder.h"
#include "players/players.h"
#include "reports/reports.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class PlayerListTest : public OrlaTest {
  protected:
    void SetUp() override {
        OrlaTest::SetUp();
        RESETREPORTS();
        ProgramFolder = tempDir().string();
        RESETPLAYERS();
    }
    void TearDown() override {
        ProgramFolder.clear();
        RESETPLAYERS();
        RESETREPORTS();
        OrlaTest::TearDown();
    }
    void loadCase() {
        fs::copy_file(CASEDIR("ratinglist") / "Players.opd", tempDir() / "Players.opd");
        ASSERT_EQ(LOADPLAYERS(), 5);
    }
    static void add(const std::string& name, int rating, int delta) {
        RegisteredCount += 1;
        std::string n = name;
        n.resize(NameLength, ' ');
        std::copy(n.begin(), n.end(), RegName(RegisteredCount).c);
        RegRating(RegisteredCount) = rating;
        RegDelta(RegisteredCount) = delta;
    }
};

TEST_F(PlayerListTest, PagesMatchTheExpectedFiles) {
    loadCase();
    SORTPLAYERS(SORT_RATING);
    EXPECT_EQ(PLAYERLISTTEXT(2), READFILE(CASEDIR("ratinglist") / "rating.txt"));
    EXPECT_EQ(PLAYERLISTHTML(2), READFILE(CASEDIR("ratinglist") / "rating.htm"));
    EXPECT_TRUE(ExportUnit.empty());
}

TEST_F(PlayerListTest, PlacesSignsAndColumns) {
    add("Ana", 900, 0);
    add("Mira", 900, -12);
    add("Zoran", 850, 7);
    struct Row {
        int sort, numbering;
        const char* places[3];
    };
    const Row rows[] = {{SORT_RATING, 2, {"  1.", "    ", "  3."}},
                        {SORT_NAME, 1, {"  1.", "  2.", "  3."}},
                        {SORT_RATING, 1, {"  1.", "  2.", "  3."}}};
    for (const Row& r : rows) {
        SORTPLAYERS(r.sort);
        for (int k = 1; k <= 3; ++k) {
            const std::string line = PLAYERLISTLINE(k, r.numbering);
            ASSERT_EQ(line.size(), 80u);
            EXPECT_EQ(line.substr(0, 4), r.places[k - 1]) << "row " << k << " sort " << r.sort;
            EXPECT_EQ(line.substr(50), std::string(30, ' '));
        }
    }
    SORTPLAYERS(SORT_NAME);
    EXPECT_EQ(PLAYERLISTLINE(1, 1).substr(0, 50),
              "  1. Ana" + std::string(28, ' ') + " 900    (  +0)");
    EXPECT_EQ(PLAYERLISTLINE(2, 1).substr(36, 14), " 900    ( -12)");
    EXPECT_EQ(PLAYERLISTLINE(3, 1).substr(44, 6), "(  +7)");

    // A name with a NUL in it shows a blank there; a name is cut to 31 characters.
    RegName(1).c[1] = '\0';
    EXPECT_EQ(PLAYERLISTLINE(1, 1).substr(5, 4), "A a ");
    std::copy_n("ABCDEFGHIJKLMNOPQRSTUVWXYZ123456", 32, RegName(2).c);
    EXPECT_EQ(PLAYERLISTLINE(2, 1).substr(5, 32), "ABCDEFGHIJKLMNOPQRSTUVWXYZ12345 ");
}

TEST_F(PlayerListTest, EmptyRegisterAndPrinterPages) {
    const std::string page = PLAYERLISTHTML(1);
    EXPECT_NE(page.find("<b>REJTING LISTA</b>"), std::string::npos);
    EXPECT_EQ(page.find("Courier New"), std::string::npos);
    EXPECT_EQ(page.substr(page.find("REJTING LISTA</b>")),
              "REJTING LISTA</b></font></p>\n\n\n\n</body>\n\n</html>\n\n");

    for (int i = 1; i <= 20; ++i)
        add("Player " + std::to_string(i), 1000 - i, i);
    RECORDPRINTER();
    Printer.pageHeight = 300; // seven lines (118 ... 226), then a new page at the top margin
    OUTPUTPLAYERLIST(OUTPUT_PRINTER, 1);
    const std::string firstLine = "50 118   1. Player 1" + std::string(23, ' ') + " 999    (  +1)\n";
    EXPECT_EQ(PrintedLines.substr(0, firstLine.size()), firstLine);
    std::size_t pages = 0;
    for (std::size_t at = 0; (at = PrintedLines.find("-- page --", at)) != std::string::npos; ++at)
        ++pages;
    EXPECT_EQ(pages, 2u);
    EXPECT_NE(PrintedLines.find("-- page --\n50 118   8. Player 8 "), std::string::npos) << PrintedLines;
}

// orla-cli writes the same two files from the register of its folder.
TEST_F(PlayerListTest, CommandLineExports) {
    loadCase();
    const std::string html = UTF8OF(tempDir() / "Rating.htm");
    const std::string text = UTF8OF(tempDir() / "Rating.txt");
    {
        EnvVar folder("ORLA_PROGRAM_FOLDER", UTF8OF(tempDir()));
        std::string out;
        EXPECT_EQ(RUNCOMMAND(QUOTED(UTF8OF(std::filesystem::absolute(ORLA_CLI).make_preferred())) +
                                 " players --sort rating --export-html " + QUOTED(html) +
                                 " --export-text " + QUOTED(text),
                             out),
                  0);
    }
    EXPECT_EQ(READFILE(html), READFILE(CASEDIR("ratinglist") / "rating.htm"));
    EXPECT_EQ(READFILE(text), READFILE(CASEDIR("ratinglist") / "rating.txt"));
}

} // namespace
