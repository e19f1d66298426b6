#pragma once
// What every test of the Qt-free layers starts from: a fresh tournament state and
// hooks that record what would have reached the user.

#include "core/hooks.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
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
