#pragma once
// What the tests of scoring at the tables start from: a fresh tournament state,
// no tables, and an evening saved in the test's own folder.

#include "core/safefile.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "movement/movementsize.h"
#include "scoring/compute.h"
#include "server/http.h"
#include "server/tables.h"
#include "support/testsupport.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> TablesLogged;

class ServerTest : public OrlaTest {
  protected:
    void SetUp() override {
        OrlaTest::SetUp();
        INSTALLCOMPUTE();
        RESETTABLES();
        RESETHTTPSTATE();
        TablesLogged.clear();
        TablesLog = [](const std::string& text) { TablesLogged.push_back(text); };
    }
    void TearDown() override {
        RESETTABLES();
        RESETHTTPSTATE();
        OrlaTest::TearDown();
    }

    // A new tournament of `pairs` pairs, `perRound` boards a round, the default
    // rounds of the movement, saved as evening.otr in the test's folder.
    void openEvening(int type, int pairs, int perRound, bool skip = false) {
        DEFAULTHEADER();
        MovementType = type;
        NumPairs = pairs;
        BoardsPerRound = perRound;
        const MovementSize size = DEFAULTMOVEMENTSIZE(type, pairs, perRound, skip);
        NumRounds = size.rounds;
        NumBoards = size.boards;
        SkipOn = TOLOGICAL(skip);
        SkipAfterRound = static_cast<std::int16_t>(size.skipAfterRound);
        ASSERT_TRUE(CREATETOURNAMENT());
        TournamentFile = UTF8OF(tempDir() / "evening.otr");
        HasFileName = true;
        ASSERT_TRUE(WRITENTRFILE());
    }

    std::string readFile(const std::string& name) {
        std::ostringstream all;
        all << std::ifstream(UTF8PATH(name), std::ios::binary).rdbuf();
        return all.str();
    }
    void writeFile(const std::string& name, const std::string& bytes) {
        std::ofstream(UTF8PATH(name), std::ios::binary | std::ios::trunc) << bytes;
    }
};
