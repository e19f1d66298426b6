// What orla-cli loads as it starts, run as a program under the dynamic loader's
// own report (LD_DEBUG=libs): the double-dummy solver only for a command that
// analyses, Qt only for the PDF output, which is a library of its own; and a PDF
// output that cannot be found is said.
#include "cli/clitest.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class CliStartup : public CliTest {
  protected:
    // The libraries (file names) the run of orla-cli with `args` set up, each
    // once; the run's code and output in `r`.
    std::set<std::string> loadedBy(const std::string& args, Run& r) {
        const std::filesystem::path logs = tempDir() / ("ld" + std::to_string(++runs));
        std::filesystem::create_directory(logs);
        {
            EnvVar debug("LD_DEBUG", "libs");
            EnvVar output("LD_DEBUG_OUTPUT", UTF8OF(logs / "log"));
            r = run(args);
        }
        std::set<std::string> loaded;
        for (const auto& log : std::filesystem::directory_iterator(logs)) {
            std::ifstream in(log.path());
            for (std::string line; std::getline(in, line);) {
                const std::size_t at = line.find("calling init: ");
                if (at == std::string::npos) continue;
                const std::string file = line.substr(at + 14);
                loaded.insert(file.substr(file.find_last_of('/') + 1));
            }
        }
        return loaded;
    }
    int runs = 0;
};

bool anyStartsWith(const std::set<std::string>& files, const std::string& prefix) {
    for (const std::string& f : files)
        if (f.rfind(prefix, 0) == 0) return true;
    return false;
}

TEST_F(CliStartup, TheSolverAndQtAreLoadedOnlyByTheCommandsThatUseThem) {
    const std::string t = path("t.otr");
    ASSERT_EQ(run("new " + t + " --movement mitchell --pairs 8 --boards-per-round 2").code, 0);
    std::ofstream(tempDir() / "deal.pbn")
        << "[Board \"1\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. "
           "...AKQJT98765432\"]\n";
    ASSERT_EQ(run("hands " + t + " --import-pbn " + path("deal.pbn")).code, 0);
    struct Row {
        std::string args;
        bool solver, qt;
    };
    bool withSolver = false, withPdf = false;
#ifdef ORLA_WITH_DDS
    withSolver = true;
#endif
#ifdef ORLA_CLI_PDF
    withPdf = true;
#endif
    std::vector<Row> rows = {
        {"--version", false, false},
        {"dump " + t, false, false},
        {"export " + t + " --view boards --format text -o -", false, false},
        {"hands " + t + " --analyse", withSolver, false},
    };
    if (withPdf) rows.push_back({"export " + t + " --view boards --format pdf -o " + path("t.pdf"), withSolver, true});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        Run r;
        const std::set<std::string> loaded = loadedBy(row.args, r);
        EXPECT_EQ(r.code, 0) << r.err;
        // The report itself is seen: every run sets up the C library.
        EXPECT_TRUE(anyStartsWith(loaded, "libc.so")) << ::testing::PrintToString(loaded);
        EXPECT_EQ(anyStartsWith(loaded, "libdds."), row.solver) << ::testing::PrintToString(loaded);
        EXPECT_EQ(anyStartsWith(loaded, "libQt6Widgets."), row.qt) << ::testing::PrintToString(loaded);
        EXPECT_EQ(anyStartsWith(loaded, "libQt6PrintSupport."), row.qt);
        EXPECT_EQ(anyStartsWith(loaded, "libQt6Svg."), row.qt);
        EXPECT_EQ(anyStartsWith(loaded, "libQt6Core."), row.qt);
    }
}

#ifdef ORLA_CLI_PDF
// orla-cli copied away from its PDF output says so for --format pdf, writes no
// file, and still writes the text.
TEST_F(CliStartup, APdfOutputThatCannotBeFoundIsSaid) {
    const std::filesystem::path alone = tempDir() / "alone";
    std::filesystem::create_directory(alone);
    std::filesystem::copy_file(ORLA_CLI, alone / "orla-cli");
    const std::string cli = QUOTED(UTF8OF(alone / "orla-cli"));
    const std::string t = path("t.otr");
    ASSERT_EQ(run("new " + t + " --movement mitchell --pairs 8 --boards-per-round 2").code, 0);
    std::string out;
    const std::string err = UTF8OF(tempDir() / "err.txt");
    EXPECT_EQ(RUNCOMMAND(cli + " export " + t + " --format pdf -o " + path("t.pdf") + " 2>" +
                             QUOTED(err), out),
              1);
    std::ostringstream read;
    read << std::ifstream(tempDir() / "err.txt", std::ios::binary).rdbuf();
    const std::string said = read.str();
    EXPECT_EQ(said.rfind("orla-cli: the PDF output could not be loaded (", 0), 0u) << said;
    EXPECT_NE(said.find("orla-cli-pdf.so: cannot open shared object file"), std::string::npos) << said;
    EXPECT_NE(said.find("); text, html and pbn still work\n"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(tempDir() / "t.pdf"));
    EXPECT_EQ(RUNCOMMAND(cli + " export " + t + " --format text -o -", out), 0);
    EXPECT_NE(out.find("Top"), std::string::npos) << out;
}
#endif

} // namespace
