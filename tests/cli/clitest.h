#pragma once
// Runs orla-cli as the user does, from a test.

#include "support/testsupport.h"

#include <sys/wait.h>

#include <cstdlib>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

class CliTest : public OrlaTest {
  protected:
    // The program's folder of every run is the test's own, never a real one.
    void SetUp() override {
        OrlaTest::SetUp();
        setenv("ORLA_PROGRAM_FOLDER", tempDir().c_str(), 1);
    }
    void TearDown() override {
        unsetenv("ORLA_PROGRAM_FOLDER");
        OrlaTest::TearDown();
    }

    struct Run {
        int code;
        std::string out, err;
    };

    // Runs orla-cli with `args` (shell words), collecting stdout, stderr and the exit code.
    Run run(const std::string& args) {
        const std::string errFile = (tempDir() / "stderr.txt").string();
        Run r{-1, {}, {}};
        FILE* pipe = popen(("'" ORLA_CLI "' " + args + " 2>'" + errFile + "'").c_str(), "r");
        if (!pipe) return r;
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
            r.out.append(buf, n);
        const int status = pclose(pipe);
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ostringstream err;
        err << std::ifstream(errFile).rdbuf();
        r.err = err.str();
        return r;
    }

    // A file of the test's own folder, quoted for the shell.
    std::string path(const std::string& name) { return "'" + (tempDir() / name).string() + "'"; }
};
