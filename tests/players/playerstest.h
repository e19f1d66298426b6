#pragma once
// The register tests work in a folder of their own that stands for the
// program's folder; no test ever touches a real register.

#include "core/cp1250.h"
#include "core/filelock.h"
#include "core/programfolder.h"
#include "core/safefile.h"
#include "players/players.h"
#include "support/testsupport.h"

#include <fstream>
#include <iterator>
#include <string>

class PlayersTest : public OrlaTest {
  protected:
    void SetUp() override {
        OrlaTest::SetUp();
        ProgramFolder = tempDir().string();
        RESETPLAYERS();
        SafeWriteTest = SafeWriteFaults{};
        FileLockWaitMs = 5000;
    }
    void TearDown() override {
        SafeWriteTest = SafeWriteFaults{};
        FileLockWaitMs = 5000;
        ProgramFolder.clear();
        RESETPLAYERS();
        OrlaTest::TearDown();
    }

    static void writeFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string readFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // A record as the file holds it.
    static std::string rec(const std::string& name, int rating, int delta) {
        std::string r = name;
        r.resize(30, ' ');
        char numbers[16];
        std::snprintf(numbers, sizeof numbers, "%6d%6d", rating, delta);
        return r + numbers + "\r\n";
    }
    static std::string name(int i) { return FIELDTEXT(RegName(i).c, RegNameLength); }
    // A UTF-8 name as the register keeps it.
    static std::string cp(const std::string& utf8) {
        std::string out;
        UTF8TOCP1250(utf8, out);
        return out;
    }
};
