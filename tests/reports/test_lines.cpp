// The pieces under the reports: grouping a board's results, the HTML text of
// names, the export name and writing an export.
#include "reports/reportstest.h"

#include "core/safefile.h"
#include "core/tournament.h"
#include "movement/custom.h"
#include "reports/reports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

class ReportLines : public OrlaTest {
protected:
    void SetUp() override {
        OrlaTest::SetUp();
        RESETREPORTS();
        RESETCUSTOMMOVEMENT();
    }
    void TearDown() override {
        RESETCUSTOMMOVEMENT();
        OrlaTest::TearDown();
    }
};

TEST_F(ReportLines, FrequenciesGroupByStoredCodeLargestFirst) {
    struct Row {
        std::vector<float> values;
        std::vector<int> count, first;
    };
    const Row rows[] = {
        // +420 three times and +450 once.
        {{42, 42, 45, 42}, {3, 1}, {1, 3}},
        // Counts 1, 1, 2 in order of appearance: the selection sort swaps the first and third.
        {{17, 45, 42, 42}, {2, 1, 1}, {3, 2, 1}},
        // No result anywhere: one group of every entry.
        {{0, 0, 0}, {3}, {1}},
        // Inverted and adjusted codes are groups of their own, apart from the same score.
        {{42, -958, 10604, 42, -958}, {2, 2, 1}, {1, 2, 3}},
    };
    for (const Row& r : rows) {
        std::vector<int> count, first;
        int m = 0;
        GETFREQUENCIES(static_cast<int>(r.values.size()), r.values, count, first, m);
        EXPECT_EQ(m, static_cast<int>(r.count.size()));
        EXPECT_EQ(count, r.count);
        EXPECT_EQ(first, r.first);
    }
}

TEST_F(ReportLines, HtmlKeepsEveryCharacterOfANameAsTyped) {
    // Windows-1250 bytes: Đ 0xD0, đ 0xF0, ć 0xE6, Š 0x8A, ž 0x9E, € 0x80.
    EXPECT_EQ(HTMLTEXT("\xD0or\xF0" "e"), "&#272;or&#273;e");
    EXPECT_EQ(HTMLTEXT("Ili\xE6"), "Ili&#263;");
    // Š, ž and € are in windows-1252 and go out as its bytes.
    EXPECT_EQ(HTMLTEXT("\x8A\x9E\x80"), "\x8A\x9E\x80");
    EXPECT_EQ(HTMLTEXT("<b> & \"x\""), "&lt;b&gt; &amp; &quot;x&quot;");
    // A control character cannot stand in a page.
    EXPECT_EQ(HTMLTEXT("a\x01z"), "a&#65533;z");

    ExportUnit.clear();
    PARSEANDWRITELINE("  a  <b>   ", false);
    EXPECT_EQ(ExportUnit, "<p class=\"MsoNormal\" align=\"left\" style=\"margin-top: 0; margin-bottom: "
                          "0\"><font size=\"2\" face=\"Courier New\">&nbsp;&nbsp;a&nbsp;&nbsp;&lt;b&gt;"
                          "</font></p>\n");
    ExportUnit.clear();
    PARSEANDWRITELINE("    ", true);
    EXPECT_EQ(ExportUnit,
              "<p class=\"MsoNormal\" align=\"left\"><font size=\"2\" face=\"Courier New\"></font></p>\n");
}

TEST_F(ReportLines, ExportNameIsTheFileNameOrTournament) {
    const std::pair<const char*, const char*> rows[] = {
        {"", "Tournament"},          {"ponedeljak", "Tournament"}, {".otr", "Tournament"},
        {"pon.otr", "pon"},          {"a.b.otr", "a.b"},
    };
    for (const auto& [title, name] : rows) {
        TournamentFileTitle = title;
        EXPECT_EQ(DEFAULTEXPORTNAME(), name) << title;
    }
}

TEST_F(ReportLines, AFailedExportLeavesTheEarlierFileAndSaysWhy) {
    const auto file = tempDir() / "ranking.txt";
    std::ofstream(file) << "earlier";
    SafeWriteTest.failAfterBytes = 3;
    EXPECT_FALSE(WRITEEXPORT(file.string(), std::string(100, 'x')));
    SafeWriteTest = SafeWriteFaults{};
    EXPECT_EQ(READFILE(file), "earlier");
    ASSERT_EQ(CapturedMessages.size(), 1u);
    EXPECT_EQ(CapturedMessages[0].caption, "Error");
    EXPECT_NE(CapturedMessages[0].text.find("could not be written"), std::string::npos);

    EXPECT_TRUE(WRITEEXPORT(file.string(), "new\n"));
    EXPECT_EQ(READFILE(file), "new\n");
}

TEST_F(ReportLines, ABoardSetCountsItsOwnEntriesInTheBoardsLine) {
    // Set 1 is played twice, set 2 once more by pair 1: the boards line counts
    // the entries each set lists, not set 1's count for every set.
    ASSERT_TRUE(OPENCASE("howell_imp", "ranking"));
    for (int k = 1; k <= NumBoardSets; ++k)
        SetEntries(k) = 1;
    SetEntries(2) = 2;
    Movement(2, 2, 1) = NumPairs;
    Movement(2, 2, 2) = 1;
    const std::string text = TEXTEXPORT();
    // Every set's first entry, plus the second entry of set 2 that pair 1 and
    // the last pair play: counted by set 1's entries alone they would be missed.
    int first = 0, last = 0;
    for (int k = 1; k <= NumBoardSets; ++k) {
        first += (Movement(k, 1, 1) == 1) + (Movement(k, 1, 2) == 1);
        last += (Movement(k, 1, 1) == NumPairs) + (Movement(k, 1, 2) == NumPairs);
    }
    const std::string line = std::to_string((first + 1) * BoardsPerRound) + "/" +
                             std::to_string((last + 1) * BoardsPerRound) + " ";
    EXPECT_NE(text.find("\n" + line), std::string::npos) << text;
}

TEST_F(ReportLines, CustomPairsCarryTheEditorsIdentifiersIntoEveryReport) {
    // The pairs shown as line numbers with a direction: the last pair is an EW
    // pair, which a plain number would never show as a letter.
    for (const char* view : {"ranking", "lines", "boards", "personal"}) {
        ASSERT_TRUE(OPENCASE("howell_imp", view, 0));
        MovementType = MOVE_CUSTOM;
        NsEwFormat = LTRUE;
        const int last = NumPairs;
        PersonalPair = last;
        std::string id = GETPAIRID(last);
        id.erase(id.find_last_not_of(' ') + 1); // "E 4"
        ASSERT_EQ(id[0], 'E');
        const std::string text = TEXTEXPORT(), html = HTMLEXPORT();
        // The text export of the board lists is a data file of pair numbers.
        if (std::string(view) != "boards") {
            EXPECT_NE(text.find(id), std::string::npos) << view << "\n" << text;
        }
        EXPECT_NE(html.find(id.substr(0, 1) + "&nbsp;" + id.substr(2)), std::string::npos) << view;
        if (std::string(view) == "personal") {
            EXPECT_NE(text.find("For pair: " + id), std::string::npos) << text;
        }
    }
    // PBN fields are one word each: "E 4" becomes "E4".
    const std::string pbn = PBNEXPORT();
    std::string id = GETPAIRID(NumPairs);
    id.erase(std::remove(id.begin(), id.end(), ' '), id.end());
    EXPECT_NE(pbn.find(" " + id + " "), std::string::npos) << pbn;
    EXPECT_EQ(pbn.find(GETPAIRID(NumPairs).substr(0, 3) + " "), std::string::npos);
}

} // namespace
