#pragma once
// Runs orla-cli as the user does, from a test.

#include "core/safefile.h"
#include "support/testsupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class CliTest : public OrlaTest {
  protected:
    // The program's folder of every run is the test's own, never a real one.
    void SetUp() override {
        OrlaTest::SetUp();
        SETENVVAR("ORLA_PROGRAM_FOLDER", UTF8OF(tempDir()));
    }
    void TearDown() override {
        SETENVVAR("ORLA_PROGRAM_FOLDER", std::nullopt);
        OrlaTest::TearDown();
    }

    struct Run {
        int code;
        std::string out, err;
    };

    // orla-cli, quoted for the shell.
    static std::string cli() {
        return QUOTED(UTF8OF(std::filesystem::absolute(ORLA_CLI).make_preferred()));
    }

    // Runs orla-cli with `args` (shell words), collecting stdout, stderr and the exit code.
    Run run(const std::string& args) {
        const std::filesystem::path errFile = tempDir() / "stderr.txt";
        Run r{-1, {}, {}};
        r.code = RUNCOMMAND(cli() + " " + args + " 2>" + QUOTED(UTF8OF(errFile)), r.out);
        std::ostringstream err;
        err << std::ifstream(errFile, std::ios::binary).rdbuf();
        r.err = err.str();
        return r;
    }

    // A file of the test's own folder (its name in UTF-8), quoted for the shell.
    std::string path(const std::string& name) {
        return QUOTED(UTF8OF(tempDir() / UTF8PATH(name)));
    }
};
