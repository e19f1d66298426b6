// orla-cli and movement files: a standard movement written as one, read back,
// and a custom tournament created from it; every refusal with its exit code.
#include "cli/clitest.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>

namespace {

using CliOcmTest = CliTest;

TEST_F(CliOcmTest, StandardMovementGoesThroughTheFileIntoACustomTournament) {
    const Run made = run("movement --type mitchell --pairs 14 --boards-per-round 2 --export-ocm " +
                         path("m14.ocm"));
    ASSERT_EQ(made.code, 0) << made.err;
    EXPECT_TRUE(made.err.empty()) << made.err;
    const auto standard = nlohmann::json::parse(made.out);
    EXPECT_EQ(std::filesystem::file_size(tempDir() / "m14.ocm"), 8u + 4 * 7 + 8 * 7 * 7);

    // The file prints as the movement command prints the movement.
    const Run read = run("movement --import-ocm " + path("m14.ocm"));
    ASSERT_EQ(read.code, 0) << read.err;
    const auto stored = nlohmann::json::parse(read.out);
    EXPECT_EQ(stored["NumRounds"], 7);
    EXPECT_EQ(stored["NumBoardSets"], 7);
    EXPECT_EQ(stored["HighestPair"], 14);
    EXPECT_EQ(stored["SetEntries"], standard["SetEntries"]);
    EXPECT_EQ(stored["Movement"], standard["Movement"]);

    // A custom tournament plays it; its rounds come from the file.
    const Run created = run("new " + path("c.otr") +
                            " --movement custom --ocm " + path("m14.ocm") +
                            " --pairs 14 --boards-per-round 2");
    ASSERT_EQ(created.code, 0) << created.err;
    const Run dump = run("dump " + path("c.otr"));
    ASSERT_EQ(dump.code, 0) << dump.err;
    const auto t = nlohmann::json::parse(dump.out);
    EXPECT_EQ(t["header"]["MovementType"], 4);
    EXPECT_EQ(t["header"]["NumRounds"], 7);
    EXPECT_EQ(t["header"]["NumBoards"], 14);
    EXPECT_EQ(t["Movement"], standard["Movement"]);

    // Read and written again, the file is the same file.
    ASSERT_EQ(run("movement --import-ocm " + path("m14.ocm") + " --export-ocm " + path("again.ocm")).code, 0);
    std::ifstream a(tempDir() / "m14.ocm", std::ios::binary), b(tempDir() / "again.ocm", std::ios::binary);
    EXPECT_TRUE(std::equal(std::istreambuf_iterator<char>(a), {}, std::istreambuf_iterator<char>(b)));
}

TEST_F(CliOcmTest, RefusalsSayWhyAndWriteNothing) {
    ASSERT_EQ(run("movement --type mitchell --pairs 14 --boards-per-round 2 --export-ocm " +
                  path("m14.ocm")).code, 0);
    {
        std::ofstream(tempDir() / "short.ocm", std::ios::binary) << "\x07\0\0\0";
        std::ifstream in(tempDir() / "m14.ocm", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        bytes[8] = 9; // set 1 lists more entries than the 7 rounds
        std::ofstream(tempDir() / "bad.ocm", std::ios::binary) << bytes;
    }
    struct Row {
        std::string args;
        int code;
        std::string err; // a part of the message
    };
    const std::string custom = "new " + path("c.otr") + " --movement custom --boards-per-round 2 ";
    const Row rows[] = {
        {"movement --import-ocm " + path("short.ocm"), 1, "Error reading file."},
        {"movement --import-ocm " + path("bad.ocm"), 1, "Error reading file."},
        {"movement --import-ocm " + path("missing.ocm"), 1, "Error reading file."},
        {"movement --import-ocm " + path("m14.ocm") + " --pairs 14", 2, "--pairs is not used"},
        {"movement --pairs 14 --boards-per-round 2", 2, "--type is required"},
        {custom + "--pairs 14 --ocm " + path("m14.ocm") + " --rounds 6", 1,
         "The stored movement is incompatible with current number of rounds and board sets"},
        // Pair 14 of the file does not exist among 12 pairs.
        {custom + "--pairs 12 --ocm " + path("m14.ocm"), 1, "Error reading file."},
        {custom + "--pairs 14 --ocm " + path("bad.ocm"), 1, "Error reading file."},
        {custom + "--pairs 14", 2, "needs --ocm"},
        {"new " + path("c.otr") + " --movement mitchell --pairs 14 --boards-per-round 2 --ocm " +
             path("m14.ocm"),
         2, "--ocm is for --movement custom only"},
    };
    for (const Row& r : rows) {
        const Run x = run(r.args);
        EXPECT_EQ(x.code, r.code) << r.args << "\n" << x.err;
        EXPECT_NE(x.err.find(r.err), std::string::npos) << r.args << "\n" << x.err;
        EXPECT_TRUE(x.out.empty()) << r.args;
        EXPECT_FALSE(std::filesystem::exists(tempDir() / "c.otr")) << r.args;
    }

    // A Mitchell with a skip plays more sets than rounds: written, with a note.
    const Run skip = run("movement --type mitchell --pairs 16 --boards-per-round 2 --skip-after 4 "
                         "--export-ocm " + path("skip.ocm"));
    EXPECT_EQ(skip.code, 0) << skip.err;
    EXPECT_NE(skip.err.find("8 board sets in 7 rounds"), std::string::npos) << skip.err;
}

} // namespace
