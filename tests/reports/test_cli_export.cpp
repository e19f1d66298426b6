// orla-cli export run as the user runs it: the same bytes as the routines,
// to a file or standard output, and every refusal with its exit code.
#include "cli/clitest.h"
#include "reports/reportstest.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class CliExport : public CliTest {};

std::string casefile(const std::string& name) {
    return "'" + (CASEDIR(name) / "input.otr").string() + "'";
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
        {"export " + f + " --format pdf -o -", 2, "give its name with -o"},
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

TEST_F(CliExport, AFullDiskReportsAFailureNotSuccess) {
    if (!std::ifstream("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const Run out = run("export " + casefile("mitchell_mp") + " --format html -o - >/dev/full");
    EXPECT_EQ(out.code, 1);
    EXPECT_NE(out.err.find("standard output"), std::string::npos) << out.err;
}

} // namespace
