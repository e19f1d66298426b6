#include "core/tournament.h"
#include "core/tournamentfile.h"

#include "core/hooks.h"

#include <cmath>
#include <cstring>

const char* const MovementNames[5] = {"", "Mitchell", "Berger", "Howell", "Custom"};
const char* const CalcNames[4] = {"", "Matchpoints", "IMPs", "Calcutta"};

TournamentHeader Header;

std::int32_t NumBoardSets = 0;
std::int32_t NumTables = 0;
std::int32_t TournamentStrength = 0;

Array<float, 2> Results;
Array<float, 3> BoardPoints;
Array<float, 3> BoardPercent;
Array<float, 3> MatchPoints;
Array<float, 3> MatchVP;
Array<std::int32_t, 3> Movement;
Array<std::int32_t, 1> SetEntries;
Array<float, 1> PairTotal;
Array<float, 1> PairPercent;
Array<float, 1> PairImpPerBoard;
Array<float, 1> PairPenalty;
Array<PlayerName, 2> PlayerNames;
Array<std::int32_t, 2> PlayerRating;
Array<float, 2> RatingChange;
Array<Logical, 1> BoardValid;
Array<std::int8_t, 2> HandCards;
Array<std::int32_t, 1> PlacementOrder;

bool TournamentOpen = false;
bool Modified = false;
bool HasFileName = false;
bool NeedsRecalc = false;
std::string TournamentFile;
std::string TournamentFileTitle;
std::int32_t ViewMode = 1;
std::int32_t SortByPlacement = 0;
std::int32_t VisibleRows = 0;
std::int32_t VisiblePairRows = 0;
std::int32_t EditEntry = 0;
std::int32_t EditPair = 0;
std::int32_t EditPlayer = 0;

namespace {

PlayerName blankName() {
    PlayerName n;
    std::memset(n.c, ' ', sizeof n.c);
    return n;
}

void releaseArrays() {
    Results.release();
    BoardPoints.release();
    BoardPercent.release();
    PairTotal.release();
    PairPercent.release();
    MatchPoints.release();
    MatchVP.release();
    PairPenalty.release();
    PlayerNames.release();
    PlayerRating.release();
    RatingChange.release();
    BoardValid.release();
    PairImpPerBoard.release();
    HandCards.release();
    PlacementOrder.release();
    Movement.release();
    SetEntries.release();
}

} // namespace

void SETFIELD(char* field, int length, const std::string& text) {
    std::memset(field, ' ', static_cast<std::size_t>(length));
    std::memcpy(field, text.data(), std::min<std::size_t>(text.size(), static_cast<std::size_t>(length)));
}

std::string FIELDTEXT(const char* field, int length) {
    int n = length;
    while (n > 0 && (field[n - 1] == ' ' || field[n - 1] == '\0')) --n;
    std::string s(field, static_cast<std::size_t>(n));
    // A field written by a C program may end early with a NUL.
    if (auto z = s.find('\0'); z != std::string::npos) s.resize(z);
    return s;
}

void DEFAULTHEADER() {
    std::memset(&Header, 0, sizeof Header);
    SETFIELD(Header.TournamentName, TournamentNameLength, "");
    CalcType = CALC_MATCHPOINTS;
    MovementType = MOVE_MITCHELL;
    NumPairs = 10;
    BoardsPerRound = 3;
    NumRounds = 5;
    NumBoards = 15;
    SkipOn = LFALSE;
    SkipBoards = LTRUE;
    RatingMode = 0;
    HighRated = LFALSE;
    OrderAsPlayed = LTRUE;
    UseNeuberg = LFALSE;
    HasHands = LFALSE;
    SkipAfterRound = static_cast<std::int16_t>((NumPairs + 1) / 4);
}

bool INITTOURNAMENT() {
    const int P = NumPairs, B = NumBoards, R = NumRounds, S = NumBoardSets;
    if (P < 1 || B < 1 || R < 1 || S < 1) {
        releaseArrays();
        TournamentOpen = false;
        SHOWMESSAGE("A tournament needs at least one pair, one round and at least as many "
                    "boards as are played in a round.",
                    "Error");
        return false;
    }
    // The chain stops at the first allocation that fails.
    bool ok = Results.allocate(B, R) && BoardPoints.allocate(B, R, 2) &&
              BoardPercent.allocate(B, R, 2) && PairTotal.allocate(P) &&
              PairPercent.allocate(P) && MatchPoints.allocate(S, R, 2) &&
              MatchVP.allocate(S, R, 2) && PairPenalty.allocate(P) &&
              PlayerNames.allocate(P, 2) && PlayerRating.allocate(P, 2) &&
              RatingChange.allocate(P, 2) && BoardValid.allocate(B) &&
              PairImpPerBoard.allocate(P) && HandCards.allocate(52, B) &&
              PlacementOrder.allocate(P);
    // An existing custom movement (loaded or edited before) survives.
    if (ok && !(Movement.allocated() && SetEntries.allocated())) {
        ok = Movement.allocate(S, R, 2) && SetEntries.allocate(S);
    }
    if (!ok) {
        releaseArrays();
        TournamentOpen = false;
        SHOWMESSAGE("There is not enough memory for a tournament of " + std::to_string(P) +
                        " pairs, " + std::to_string(B) + " boards and " + std::to_string(R) +
                        " rounds.",
                    "Error");
        return false;
    }

    HandCards.fill(0);
    PlayerNames.fill(blankName());
    PlayerRating.fill(-1);
    if (Ui.tournamentMenus) Ui.tournamentMenus(true, ISTRUE(HasHands));
    Results.fill(0.0f);
    BoardPoints.fill(0.0f);
    BoardPercent.fill(0.0f);
    PairTotal.fill(0.0f);
    PairImpPerBoard.fill(0.0f);
    PairPercent.fill(0.0f);
    MatchVP.fill(0.0f);
    MatchPoints.fill(0.0f);
    PairPenalty.fill(0.0f);
    if (MovementType != MOVE_CUSTOM) Movement.fill(0);
    RatingChange.fill(0.0f);
    BoardValid.fill(LTRUE);
    for (int p = 1; p <= P; ++p) PlacementOrder(p) = p;

    if (Ui.createEntryWindows) Ui.createEntryWindows();
    TournamentOpen = true;
    return true;
}

void CLOSETOURNAMENT() {
    TournamentOpen = false;
    TournamentStampFile.clear(); // a later save there is a save of another tournament
    EditEntry = 0;
    EditPair = 0;
    if (Ui.destroyEntryWindows) Ui.destroyEntryWindows();
    releaseArrays();
    if (Ui.tournamentMenus) Ui.tournamentMenus(false, false);
    REDRAW();
}

void SETSAVE(bool flag) {
    const std::string suffix = TournamentOpen ? " - " + TournamentFileTitle : TournamentFileTitle;
    Modified = flag;
    std::string title = "ORLA" + suffix;
    while (!title.empty() && title.back() == ' ') title.pop_back();
    if (flag) title += "*";
    if (Ui.title) Ui.title(title);
}

void SETTOURNAMENTSTRENGTH() {
    if (!PlayerRating.allocated() || NumPairs <= 0) {
        TournamentStrength = 0;
        return;
    }
    double sum = 0;
    for (int j = 1; j <= 2; ++j)
        for (int p = 1; p <= NumPairs; ++p) sum += PlayerRating(p, j);
    TournamentStrength = static_cast<std::int32_t>(std::lround(sum / (NumPairs * 2.0)));
}

void RESETTOURNAMENTSTATE() {
    releaseArrays();
    DEFAULTHEADER();
    NumBoardSets = NumBoards / BoardsPerRound;
    NumTables = 0;
    TournamentStrength = 0;
    TournamentOpen = false;
    Modified = false;
    HasFileName = false;
    NeedsRecalc = false;
    TournamentFile.clear();
    TournamentFileTitle.clear();
    ViewMode = 1;
    SortByPlacement = 0;
    VisibleRows = 0;
    VisiblePairRows = 0;
    EditEntry = 0;
    EditPair = 0;
    EditPlayer = 0;
}

namespace {
// The state holds its program-start values before main runs.
const bool stateReady = (RESETTOURNAMENTSTATE(), true);
} // namespace
