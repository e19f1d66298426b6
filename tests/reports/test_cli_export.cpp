// orla-cli export run as the user runs it: the same bytes as the routines,
// to a file or standard output, and every refusal with its exit code.
#include "cli/clitest.h"
#include "reports/reportstest.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

class CliExport : public CliTest {};

std::string casefile(const std::string& name) {
    return QUOTED(UTF8OF(CASEDIR(name) / "input.otr"));
}

TEST_F(CliExport, WritesTheSameReportsAsTheRoutines) {
    struct Row {
        const char* args;
        const char* folder;
        const char* expected;
    };
    const Row rows[] = {
        {"--view ranking --format text", "mitchell_mp", "ranking.txt"},
        {"--view lines --format html", "mitchell_mp", "lines.htm"},
        {"--view boards --format text", "mitchell_mp", "boards.txt"},
        {"--view frequency --format html", "mitchell_mp", "frequency.htm"},
        {"--view personal --pair 9 --format text", "mitchell_mp", "personal9.txt"},
        {"--format pbn", "howell_imp", "results.pbn"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        const Run out = run("export " + casefile(r.folder) + " " + r.args + " -o -");
        EXPECT_EQ(out.code, 0) << out.err;
        EXPECT_EQ(out.out, READFILE(CASEDIR(r.folder) / r.expected));
        const Run file = run("export " + casefile(r.folder) + " " + r.args + " -o " + path("out"));
        EXPECT_EQ(file.code, 0) << file.err;
        EXPECT_EQ(READFILE(tempDir() / "out"), out.out);
    }
}

TEST_F(CliExport, RefusesWhatItCannotDo) {
    const std::string f = casefile("mitchell_mp");
    struct Row {
        std::string args;
        int code;
        const char* message;
    };
    const Row rows[] = {
#ifdef ORLA_CLI_HAS_PDF
        {"export " + f + " --format pdf -o -", 2, "give its name with -o"},
#else // a build without the printing layer says so first
        {"export " + f + " --format pdf -o x.pdf", 2, "has no printing"},
#endif
        {"export " + f + " --view personal --pair 11 --format text -o -", 2, "not a pair"},
        {"export " + f + " --view personal --pair 0 --format text -o -", 2, "not a pair"},
        {"export " + f + " --view ranking --pair 1 --format text -o -", 2, "--view personal only"},
        {"export " + f + " --view scores --format text -o -", 2, "--view"},
        {"export " + f + " --format text", 2, "--output"},
        {"export " + path("missing.otr") + " --format text -o -", 1, "deleted or moved"},
        {"export " + f + " --format text -o " + path("no/such/folder/x.txt"), 1, "could not be written"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        const Run out = run(r.args);
        EXPECT_EQ(out.code, r.code);
        EXPECT_NE(out.err.find(r.message), std::string::npos) << out.err;
        EXPECT_TRUE(out.out.empty());
    }
}

#ifdef ORLA_CLI_HAS_PDF
// The text of a PDF file as pdftotext lays it out, pages ended by form feeds.
std::string pdfText(const std::string& quotedPath) {
    FILE* pipe = popen(("pdftotext -layout " + quotedPath + " -").c_str(), "r");
    if (pipe == nullptr) return {};
    std::string all;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        all.append(buf, n);
    pclose(pipe);
    return all;
}

// The ranking of a big evening printed into a PDF: two pages, the title only on
// the first, every pair once; the document keeps the print job's name.
TEST_F(CliExport, PrintsTheRankingIntoAPdfOfTwoPages) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const Run made = run("new " + path("big.otr") +
                         " --movement mitchell --pairs 44 --boards-per-round 2 --name 'Big evening'");
    ASSERT_EQ(made.code, 0) << made.err;
    const Run out = run("export " + path("big.otr") + " --format pdf -o " + path("big.pdf"));
    ASSERT_EQ(out.code, 0) << out.err;
    EXPECT_TRUE(out.err.empty()) << out.err;
    const std::string all = pdfText(path("big.pdf"));
    char buf[4096];
    std::vector<std::string> pages;
    for (std::size_t at = 0, next; (next = all.find('\f', at)) != std::string::npos; at = next + 1)
        pages.push_back(all.substr(at, next - at));
    ASSERT_EQ(pages.size(), 2u) << all;
    EXPECT_NE(pages[0].find("Big evening"), std::string::npos);
    EXPECT_NE(pages[0].find("Poz."), std::string::npos);
    EXPECT_EQ(pages[1].find("Big evening"), std::string::npos);
    EXPECT_EQ(pages[1].find("Poz."), std::string::npos);
    for (int p = 1; p <= 22; ++p)
        for (const char* side : {"NS", "EW"}) {
            const std::string id = side + std::to_string(p) + " ";
            std::size_t n = 0;
            for (std::size_t at = 0; (at = all.find(id, at)) != std::string::npos; ++at)
                ++n;
            EXPECT_EQ(n, 1u) << id;
        }
    FILE* info = popen(("pdfinfo " + path("big.pdf")).c_str(), "r");
    ASSERT_NE(info, nullptr);
    std::string meta;
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, info)) > 0;)
        meta.append(buf, n);
    pclose(info);
    EXPECT_NE(meta.find("ORLA tournament"), std::string::npos) << meta;
}

// The board lists of an evening with four boards dealt (one suit in each hand:
// North spades, East hearts, South diamonds, West clubs), printed by orla-cli,
// which analyses the deals first: each dealt board has its dealer and
// vulnerability, the diagram, the double-dummy table and the par at that
// vulnerability; the boards without a deal print as before.
TEST_F(CliExport, PrintsTheDealsWithTheBoardLists) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const Run made = run("new " + path("hands.otr") +
                         " --movement mitchell --pairs 18 --boards-per-round 2 --name 'Hands'");
    ASSERT_EQ(made.code, 0) << made.err;
    {
        std::ofstream pbn(tempDir() / "deals.pbn");
        for (const int b : {1, 2, 16, 17})
            pbn << "[Board \"" << b << "\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. "
                << "..AKQJT98765432. ...AKQJT98765432\"]\n\n";
    }
    const Run imported = run("hands " + path("hands.otr") + " --import-pbn " + path("deals.pbn"));
    ASSERT_EQ(imported.code, 0) << imported.err;
    const Run out =
        run("export " + path("hands.otr") + " --view boards --format pdf -o " + path("hands.pdf"));
    ASSERT_EQ(out.code, 0) << out.err;
    EXPECT_TRUE(out.err.empty()) << out.err;

    // The text of each board, from its caption to the next, blanks run together.
    std::string all;
    for (const char c : pdfText(path("hands.pdf")))
        if (!std::isspace(static_cast<unsigned char>(c)) || (!all.empty() && all.back() != ' '))
            all += std::isspace(static_cast<unsigned char>(c)) ? ' ' : c;
    std::vector<std::string> boards(1);
    for (std::size_t at = 0, next; (next = all.find("Hands - Board ", at)) != std::string::npos;
         at = next + 1)
        boards.push_back(all.substr(next, all.find("Hands - Board ", next + 1) - next));
    ASSERT_EQ(boards.size(), 19u) << all;

    struct Row {
        int board;
        const char *dealer, *vulnerable, *par;
    };
    const Row rows[] = {{1, "Dealer: N", "Vul: None", "Par +1510 NS: 7S-NS"},
                        {2, "Dealer: E", "Vul: NS", "Par +2210 NS: 7S-NS"},
                        {16, "Dealer: W", "Vul: EW", "Par +1510 NS: 7S-NS"},
                        {17, "Dealer: N", "Vul: None", "Par +1510 NS: 7S-NS"}};
    for (const Row& r : rows) {
        const std::string& text = boards[r.board];
        SCOPED_TRACE(text);
        EXPECT_EQ(text.find("Hands - Board " + std::to_string(r.board) + " "), 0u);
        for (const char* words :
             {r.dealer, r.vulnerable, r.par, "\u2660 AKQJT98765432", "\u2665 AKQJT98765432",
              "\u2666 AKQJT98765432", "\u2663 AKQJT98765432", "NT \u2660 \u2665 \u2666 \u2663",
              "N 0 13 0 13 0", "S 0 13 0 13 0", "E 0 0 13 0 13", "W 0 0 13 0 13", "NS EW Score"})
            EXPECT_NE(text.find(words), std::string::npos) << words;
    }
    for (const int b : {3, 15, 18}) {
        SCOPED_TRACE(boards[b]);
        EXPECT_NE(boards[b].find("NS EW Score"), std::string::npos);
        EXPECT_EQ(boards[b].find("Dealer"), std::string::npos);
        EXPECT_EQ(boards[b].find("Par "), std::string::npos);
    }
}
#endif

TEST_F(CliExport, AFullDiskReportsAFailureNotSuccess) {
    if (!std::ifstream("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const Run out = run("export " + casefile("mitchell_mp") + " --format html -o - >/dev/full");
    EXPECT_EQ(out.code, 1);
    EXPECT_NE(out.err.find("standard output"), std::string::npos) << out.err;
}

// An output that is the same file as its input (by its name, a hard link or a
// symbolic link) is refused and the input stays as it was: the tournament for
// export and hands, the register for the rating list.
TEST_F(CliExport, AnOutputIsNeverItsOwnInput) {
    namespace fs = std::filesystem;
    ASSERT_EQ(run("new " + path("t.otr") + " --movement mitchell --pairs 8 --boards-per-round 2").code, 0);
    std::ofstream(tempDir() / "in.pbn")
        << "[Board \"1\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\n";
    ASSERT_EQ(run("hands " + path("t.otr") + " --import-pbn " + path("in.pbn")).code, 0);
    ASSERT_EQ(run("players add 'Mirko Mirkovic' 1500").code, 0);
    fs::create_hard_link(tempDir() / "t.otr", tempDir() / "hard.otr");
#ifdef _WIN32 // a symbolic link needs a privilege there: a second hard link instead
    fs::create_hard_link(tempDir() / "t.otr", tempDir() / "soft.otr");
#else
    fs::create_symlink(tempDir() / "t.otr", tempDir() / "soft.otr");
#endif
    const std::string tournament = READFILE(tempDir() / "t.otr");
    const std::string players = READFILE(tempDir() / "Players.opd");
    struct Row {
        std::string args;
        const char* message;
    };
    std::vector<Row> rows = {
        {"export " + path("t.otr") + " --format text -o " + path("t.otr"), "is the tournament file"},
        {"export " + path("t.otr") + " --format pbn -o " + path("hard.otr"), "is the tournament file"},
        {"export " + path("soft.otr") + " --format html -o " + path("t.otr"), "is the tournament file"},
        {"hands " + path("t.otr") + " --export-pbn " + path("t.otr"), "is the tournament file"},
        {"hands " + path("t.otr") + " --export-pbn " + path("soft.otr"), "is the tournament file"},
        {"players --export-html " + path("Players.opd"), "is the players register"},
        {"export " + path("t.otr") + " --format text -o " + path("Players.opd"), "is the players register"},
    };
#ifdef ORLA_CLI_HAS_PDF
    rows.push_back({"export " + path("t.otr") + " --format pdf -o " + path("hard.otr"), "is the tournament file"});
#endif
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        const Run out = run(r.args);
        EXPECT_EQ(out.code, 1);
        EXPECT_NE(out.err.find(r.message), std::string::npos) << out.err;
        EXPECT_EQ(READFILE(tempDir() / "t.otr"), tournament);
        EXPECT_EQ(READFILE(tempDir() / "Players.opd"), players);
    }
#ifndef _WIN32
    EXPECT_TRUE(fs::is_symlink(tempDir() / "soft.otr"));
    EXPECT_EQ(fs::hard_link_count(tempDir() / "t.otr"), 2u);
#endif
}

#ifndef _WIN32 // pipes, /dev/stdout and size limits of the POSIX systems

// A pipe, /dev/stdout and "-" are written into; a folder is refused. The deals
// of `hands --export-pbn -` go to standard output as export's -o - does.
TEST_F(CliExport, SpecialOutputsAreWrittenIntoAndAFolderIsRefused) {
    const std::string f = casefile("mitchell_mp");
    const std::string expected = READFILE(CASEDIR("mitchell_mp") / "ranking.txt");

    const Run toStdout = run("export " + f + " --format text -o /dev/stdout");
    EXPECT_EQ(toStdout.code, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, expected);

    std::string ignored;
    ASSERT_EQ(RUNCOMMAND("mkfifo " + path("pipe.txt"), ignored), 0);
    const int code = RUNCOMMAND("(timeout 20 cat " + path("pipe.txt") + " > " + path("got.txt") + " &) ; " +
                                    cli() + " export " + f + " --format text -o " + path("pipe.txt") +
                                    "; c=$?; sleep 0.2; exit $c",
                                ignored);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(std::filesystem::is_fifo(tempDir() / "pipe.txt"));
    EXPECT_EQ(READFILE(tempDir() / "got.txt"), expected);

    std::filesystem::create_directory(tempDir() / "folder.txt");
    const Run folder = run("export " + f + " --format text -o " + path("folder.txt"));
    EXPECT_EQ(folder.code, 1);
    EXPECT_NE(folder.err.find("could not be written: it is a folder."), std::string::npos) << folder.err;
    EXPECT_TRUE(std::filesystem::is_directory(tempDir() / "folder.txt"));

    ASSERT_EQ(run("new " + path("h.otr") + " --movement mitchell --pairs 8 --boards-per-round 2").code, 0);
    std::ofstream(tempDir() / "in.pbn")
        << "[Board \"1\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\n";
    ASSERT_EQ(run("hands " + path("h.otr") + " --import-pbn " + path("in.pbn")).code, 0);
    ASSERT_EQ(run("hands " + path("h.otr") + " --export-pbn " + path("out.pbn")).code, 0);
    const Run dash = run("hands " + path("h.otr") + " --export-pbn -");
    EXPECT_EQ(dash.code, 0) << dash.err;
    EXPECT_EQ(dash.out, READFILE(tempDir() / "out.pbn"));
    EXPECT_FALSE(std::filesystem::exists(tempDir() / "-"));
}

#ifdef ORLA_CLI_HAS_PDF
// A PDF cut short on the way (a temporary folder that fills up: here a limit on
// the size of the files the program may write) never replaces a good PDF, and
// the command fails.
TEST_F(CliExport, APdfCutShortNeverReplacesAGoodOne) {
    const std::string f = casefile("mitchell_mp");
    const Run good = run("export " + f + " --format pdf -o " + path("ranking.pdf"));
    ASSERT_EQ(good.code, 0) << good.err;
    const std::string whole = READFILE(tempDir() / "ranking.pdf");
    ASSERT_GT(whole.size(), 10000u);
    // 8 blocks: 4 KiB in the unit of 512 bytes of most shells, 8 KiB in bash's.
    std::string out;
    const int code = RUNCOMMAND("(trap '' XFSZ; ulimit -f 8; exec " + cli() + " export " + f +
                                    " --view lines --format pdf -o " + path("ranking.pdf") + ") 2>" +
                                    path("err.txt"),
                                out);
    EXPECT_EQ(code, 1);
    const std::string err = READFILE(tempDir() / "err.txt");
    EXPECT_NE(err.find("could not be written whole"), std::string::npos) << err;
    EXPECT_EQ(READFILE(tempDir() / "ranking.pdf"), whole);
}
#endif
#endif

} // namespace
