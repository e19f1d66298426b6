// orla-cli hands, run as a program: a hand record read into a tournament file
// without hand diagrams, written back out, analysed; a bad record changes nothing.
#include "cli/clitest.h"

#include <nlohmann/json.hpp>

namespace {

class CliHandsTest : public CliTest {};

std::string readFile(const std::filesystem::path& p) {
    std::ostringstream s;
    s << std::ifstream(p, std::ios::binary).rdbuf();
    return s.str();
}

const char* const Record =
    "% PBN 2.1\n\n"
    "[Board \"1\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\n\n"
    "[Board \"2\"]\n[Deal \"W:T5.K4.652.A98542 K6.QJT976.QT7.Q6 432.A.AKJ93.JT73 AQJ987.8532.84.K\"]\n";

TEST_F(CliHandsTest, ImportExportAndAnalyseATournamentFile) {
    ASSERT_EQ(run("new " + path("t.otr") + " --movement mitchell --pairs 8 --boards-per-round 2").code, 0);
    std::ofstream(tempDir() / "in.pbn") << Record;
    const Run in = run("hands " + path("t.otr") + " --import-pbn " + path("in.pbn"));
    ASSERT_EQ(in.code, 0) << in.err;
    EXPECT_EQ(in.out, "2 deals read from " + (tempDir() / "in.pbn").string() + " into " +
                          (tempDir() / "t.otr").string() + "\n");
    const auto dump = nlohmann::json::parse(run("dump " + path("t.otr")).out);
    EXPECT_TRUE(dump["header"]["HasHands"].get<bool>());

    const Run out = run("hands " + path("t.otr") + " --export-pbn " + path("out.pbn"));
    ASSERT_EQ(out.code, 0) << out.err;
    const std::string pbn = readFile(tempDir() / "out.pbn");
    EXPECT_NE(pbn.find("[Board \"2\"]\n[Dealer \"E\"]\n[Vulnerable \"NS\"]\n"
                       "[Deal \"N:K6.QJT976.QT7.Q6 432.A.AKJ93.JT73 AQJ987.8532.84.K T5.K4.652.A98542\"]"),
              std::string::npos)
        << pbn;

#ifndef ORLA_WITH_DDS
    const Run none = run("hands " + path("t.otr") + " --analyse");
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.err, "orla-cli: Double-dummy analysis is not available in this build.\n");
    GTEST_SKIP() << "this build has no double-dummy solver";
#endif
    const Run dd = run("hands " + path("t.otr") + " --analyse --json");
    ASSERT_EQ(dd.code, 0) << dd.err;
    const auto j = nlohmann::json::parse(dd.out);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["tricks"]["N"]["S"], 13);
    EXPECT_EQ(j[0]["tricks"]["E"]["NT"], 0);
    EXPECT_EQ(j[0]["par"], 1510);
    EXPECT_EQ(j[1]["board"], 2);
    EXPECT_EQ(j[1]["vulnerable"], "NS");
    const Run text = run("hands " + path("t.otr") + " --analyse");
    EXPECT_NE(text.out.find("Board 1  Dealer N  Vulnerable None\n      NT   S   H   D   C\n"
                            "  N    0  13   0  13   0\n"),
              std::string::npos)
        << text.out;
}

TEST_F(CliHandsTest, ABadRecordIsRefusedWithItsLineAndTheFileStaysAsItWas) {
    ASSERT_EQ(run("new " + path("t.otr") + " --movement mitchell --pairs 8 --boards-per-round 2").code, 0);
    const std::string before = readFile(tempDir() / "t.otr");
    std::ofstream(tempDir() / "bad.pbn") << "[Board \"1\"]\n[Deal \"N:AKQ... - - -\"]\n";
    const Run r = run("hands " + path("t.otr") + " --import-pbn " + path("bad.pbn"));
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Line 2: North holds 3 cards, not 13. Nothing was changed."), std::string::npos) << r.err;
    EXPECT_EQ(readFile(tempDir() / "t.otr"), before);
    // An empty record is read and holds no deals; a folder is no record.
    std::ofstream(tempDir() / "empty.pbn").close();
    const Run empty = run("hands " + path("t.otr") + " --import-pbn " + path("empty.pbn"));
    EXPECT_EQ(empty.code, 1);
    EXPECT_NE(empty.err.find("empty.pbn: The file holds no deals (no game with a Deal tag). Nothing was changed."),
              std::string::npos)
        << empty.err;
    std::filesystem::create_directory(tempDir() / "folder.pbn");
    const Run folder = run("hands " + path("t.otr") + " --import-pbn " + path("folder.pbn"));
    EXPECT_EQ(folder.code, 1);
    EXPECT_NE(folder.err.find("folder.pbn could not be read"), std::string::npos) << folder.err;
    EXPECT_EQ(readFile(tempDir() / "t.otr"), before);
    EXPECT_EQ(run("hands " + path("t.otr") + " --analyse").code, 1); // no hand diagrams
    EXPECT_EQ(run("hands " + path("t.otr")).code, 2);
    EXPECT_EQ(run("hands " + path("t.otr") + " --export-pbn " + path("x.pbn") + " --analyse").code, 2);
}

} // namespace

// A dealing machine's record longer than the evening: the evening's boards are
// read and the rest left out, said in the line that reports the import.
TEST_F(CliHandsTest, BoardsBeyondTheTournamentAreLeftOutAndCounted) {
    ASSERT_EQ(run("new " + path("t.otr") + " --movement mitchell --pairs 8 --boards-per-round 2").code, 0);
    std::ofstream(tempDir() / "long.pbn")
        << Record << "\n[Board \"99\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\n";
    const Run in = run("hands " + path("t.otr") + " --import-pbn " + path("long.pbn"));
    ASSERT_EQ(in.code, 0) << in.err;
    EXPECT_EQ(in.out.rfind("2 deals read from ", 0), 0u) << in.out;
    EXPECT_NE(in.out.find("; 1 deal of boards beyond "), std::string::npos) << in.out;
    EXPECT_TRUE(in.out.ends_with(" left out\n")) << in.out;
}
