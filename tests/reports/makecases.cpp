// Writes the tournament files of the report cases under tests/data: run once
// by hand (`build/tests/reports/orla_make_report_cases`) when a case changes;
// the files are committed, and the expected reports beside them are checked by
// hand against them.
#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/results.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "scoring/compute.h"
#include "scoring/scoring.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

void names(int p, const char* a, const char* b) {
    std::string x, y;
    UTF8TOCP1250(a, x);
    UTF8TOCP1250(b, y);
    SETFIELD(PlayerNames(p, 1).c, NameLength, x);
    SETFIELD(PlayerNames(p, 2).c, NameLength, y);
}

bool open(int movement, int calc, int pairs, int rounds, int perRound, const char* name) {
    RESETTOURNAMENTSTATE();
    DEFAULTHEADER();
    MovementType = movement;
    CalcType = calc;
    NumPairs = pairs;
    NumRounds = rounds;
    BoardsPerRound = perRound;
    NumBoards = rounds * perRound;
    std::string n;
    UTF8TOCP1250(name, n);
    SETFIELD(Header.TournamentName, TournamentNameLength, n);
    return CREATETOURNAMENT();
}

bool save(const std::string& folder) {
    std::filesystem::create_directories(std::string(ORLA_TEST_DATA_DIR) + "/" + folder);
    CALCALL();
    TournamentFile = std::string(ORLA_TEST_DATA_DIR) + "/" + folder + "/input.otr";
    return WRITENTRFILE();
}

// Mitchell, 10 pairs, 5 rounds of 2 boards, matchpoints, with rating: ties on
// board 1, an adjusted score 6-4, an inverted and a missing result on board 2,
// two penalties (one of them negative, which the reports skip).
bool mitchellMatchpoints() {
    if (!open(MOVE_MITCHELL, CALC_MATCHPOINTS, 10, 5, 2, "Klub \"Đerdap\" <Ponedeljak> & prijatelji"))
        return false;
    RatingMode = -1;
    const char* const players[10][2] = {
        {"Đorđe Đorđević", "Ana Marić"},
        {"Petar <Pera> Perić", "Milan & Co"},
        {"Žaklina Šćepanović-Čolaković", "Ljiljana Savić"},
        {"Dragan \"Gaga\" Ilić", "Ćiril Ćosić"},
        {"Marko Marković", "Jovan Jovanović"},
        {"Nada Nadić", "Vesna Vesić"},
        {"Zoran Zorić", "Goran Gorić"},
        {"Bojan Bojić", "Dejan Dejić"},
        {"Ivan Ivić", "Stevan Stević"},
        {"Mira Mirić", "Lela Lelić"},
    };
    for (int p = 1; p <= 10; ++p) {
        names(p, players[p - 1][0], players[p - 1][1]);
        PlayerRating(p, 1) = 1400 + 20 * p;
        PlayerRating(p, 2) = 1401 + 10 * p;
        RatingChange(p, 1) = 0.26f * static_cast<float>(p) - 1.0f;
        RatingChange(p, 2) = 1.04f - 0.1f * static_cast<float>(p);
    }
    SETTOURNAMENTSTRENGTH();
    const int board1[5] = {42, 42, 45, -5, 17};
    for (int i = 1; i <= 5; ++i)
        Results(1, i) = ENCODEORDINARY(board1[i - 1]);
    Results(2, 1) = ENCODEADJUSTED(6, 4);
    Results(2, 2) = ENCODEINVERTED(42);
    Results(2, 3) = 0.0f;
    Results(2, 4) = ENCODEORDINARY(42);
    Results(2, 5) = ENCODEORDINARY(-10);
    PairPenalty(2) = 1.5f;
    PairPenalty(7) = -1.0f;
    return save("mitchell_mp");
}

// Howell, 8 pairs, 7 rounds of 2 boards, IMPs, no rating; results on board 1
// only, one of them missing; a penalty.
bool howellImps() {
    if (!open(MOVE_HOWELL, CALC_IMPS, 8, 7, 2, "Utorak IMP")) return false;
    const char* const players[8][2] = {
        {"Šime Šimić", "Čedomir Čolić"}, {"Ana", "Bora"},         {"Cica", "Dule"},
        {"Đurđa Đukić", "Ema"},          {"Fića", "Gaga"},        {"Hana", "Iva"},
        {"Jela", "Kića"},                {"Lale & Mare", "Nena"},
    };
    for (int p = 1; p <= 8; ++p)
        names(p, players[p - 1][0], players[p - 1][1]);
    const int board1[4] = {42, 45, -10, 0};
    for (int i = 1; i <= 4; ++i)
        Results(1, i) = ENCODEORDINARY(board1[i - 1]);
    PairPenalty(2) = 3.0f;
    return save("howell_imp");
}

// Calcutta, custom movement of 8 pairs, 4 rounds of 1 board: pairs 1 and 2 play
// the same scores on boards 2 and 3 in the other order, so their totals are the
// same thirds of an IMP summed in another order and differ only by rounding
// (12.333333 and 12.333334); so do those of their opponents 5 and 6.
bool calcuttaTie() {
    if (!open(MOVE_CUSTOM, CALC_CALCUTTA, 8, 4, 1, "Calcutta tie")) return false;
    const char* const players[8][2] = {
        {"Ana", "Bora"}, {"Cica", "Dule"}, {"Ema", "Fića"}, {"Gaga", "Hana"},
        {"Iva", "Jela"}, {"Kata", "Lale"}, {"Mare", "Nena"}, {"Olja", "Pera"},
    };
    for (int p = 1; p <= 8; ++p)
        names(p, players[p - 1][0], players[p - 1][1]);
    const int scores[4][4] = {{-10, -10, -20, -50}, {42, 40, 17, 14}, {40, 42, 17, 14}, {11, 11, 11, 11}};
    for (int s = 1; s <= 4; ++s) {
        SetEntries(s) = 4;
        for (int i = 1; i <= 4; ++i) {
            Movement(s, i, 1) = i;
            Movement(s, i, 2) = i + 4;
            Results(s, i) = ENCODEORDINARY(scores[s - 1][i - 1]);
        }
    }
    return save("calcutta_tie");
}

} // namespace

int main() {
    RESETHOOKS();
    INSTALLCOMPUTE();
    const bool ok = mitchellMatchpoints() && howellImps() && calcuttaTie();
    std::puts(ok ? "written" : "failed");
    return ok ? 0 : 1;
}
