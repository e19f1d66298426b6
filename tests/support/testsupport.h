#pragma once
// What every test of the Qt-free layers starts from: a fresh tournament state and
// hooks that record what would have reached the user.

#include "core/hooks.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct CapturedMessage {
    std::string text;
    std::string caption;
    MessageKind kind;
};

// What the hooks saw since the last INSTALLTESTHOOKS.
extern std::vector<CapturedMessage> CapturedMessages;
extern std::array<std::string, 3> CapturedStatus;
extern int CapturedRedraws;
// The answer the next Yes/No question gets (then it falls back to No).
extern MessageAnswer NextAnswer;

// Resets the hooks to recording ones and clears what they saw.
void INSTALLTESTHOOKS();

// A file of tests/data.
std::filesystem::path TESTDATA(const std::string& name);

// A fresh, empty folder for one test, removed by the fixture.
std::filesystem::path MAKETEMPDIR();

// A path as UTF-8 text, whatever the system's code page.
std::string UTF8OF(const std::filesystem::path& p);

// Sets the environment variable `name` of this process (and of the programs it
// starts) to `value`, UTF-8; removes it when `value` is empty.
void SETENVVAR(const std::string& name, const std::optional<std::string>& value);

// Sets an environment variable for one test and puts back what was there.
class EnvVar {
  public:
    EnvVar(const std::string& name, const std::optional<std::string>& value);
    ~EnvVar();
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// `word` as one word of the system's command shell (sh, or cmd on Windows).
std::string QUOTED(const std::string& word);

// Runs `command` (UTF-8) in the system's command shell and collects its standard
// output; returns the exit code, -1 when it could not be run or did not exit.
int RUNCOMMAND(const std::string& command, std::string& out);

// Resets the tournament state and the hooks before each case.
class OrlaTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::filesystem::path tempDir() {
        if (temp_.empty()) temp_ = MAKETEMPDIR();
        return temp_;
    }

private:
    std::filesystem::path temp_;
};
