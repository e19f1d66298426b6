#include "cli/sizeoptions.h"

#include "cli/commands.h"
#include "core/tournament.h"
#include "movement/movementsize.h"

#include <cstdint>

namespace {

// The largest count the dialog's three-digit fields take.
constexpr int MaxCount = 999;

void needCount(const char* option, int value, int least) {
    if (value < least || value > MaxCount)
        CLIUSAGE(std::string(option) + " must be from " + std::to_string(least) + " to " +
                 std::to_string(MaxCount));
}

} // namespace

void ADDSIZEOPTIONS(CLI::App* cmd, SizeOptions& o, const std::string& movementOption) {
    cmd->add_option("--" + movementOption, o.movement, "mitchell, berger or howell")
        ->required()
        ->check(CLI::IsMember({"mitchell", "berger", "howell"}));
    cmd->add_option("--pairs", o.pairs, "Number of pairs")->required();
    cmd->add_option("--boards-per-round", o.perRound, "Boards per round")->required();
    o.roundsOption = cmd->add_option("--rounds", o.rounds, "Rounds (default as the dialog)");
    o.boardsOption = cmd->add_option("--boards", o.boards, "Total boards (default as the dialog)");
    o.skipAfterOption =
        cmd->add_option("--skip-after", o.skipAfter, "Mitchell skip after this round");
    cmd->add_option("--skip", o.skip, "What the skip moves: boards or players")
        ->check(CLI::IsMember({"boards", "players"}))
        ->needs(o.skipAfterOption);
    cmd->add_flag("--by-table", o.byTable, "Order of results by table number");
}

void SETHEADERSIZE(const SizeOptions& o) {
    const int movement = o.movement == "mitchell" ? MOVE_MITCHELL
                         : o.movement == "berger" ? MOVE_BERGER
                                                  : MOVE_HOWELL;
    const bool skip = o.skipAfterOption->count() > 0;
    if (movement == MOVE_HOWELL) {
        if (o.pairs < 5 || o.pairs > 14) CLIUSAGE("a Howell is played by 5 to 14 pairs");
    } else {
        needCount("--pairs", o.pairs, 2);
    }
    needCount("--boards-per-round", o.perRound, 1);
    if (skip && movement != MOVE_MITCHELL) CLIUSAGE("only a Mitchell has a skip");
    // 0 would read back from the file as "not set".
    if (skip) needCount("--skip-after", o.skipAfter, 1);

    const MovementSize size = DEFAULTMOVEMENTSIZE(movement, o.pairs, o.perRound, skip);
    int rounds = size.rounds, boards = size.boards;
    if (o.roundsOption->count() > 0) {
        needCount("--rounds", o.rounds, 1);
        // Typing the rounds changes the total only for a Berger, as in the dialog.
        if (movement == MOVE_BERGER && o.rounds != size.rounds) boards = o.rounds * o.perRound;
        rounds = o.rounds;
    }
    if (o.boardsOption->count() > 0) {
        needCount("--boards", o.boards, 1);
        boards = o.boards;
    }
    if (rounds < 1 || rounds > MaxCount) CLIUSAGE("the tournament would have no rounds");
    if (boards < o.perRound || boards > MaxCount)
        CLIUSAGE("the total boards must hold at least one round's boards and at most " +
                 std::to_string(MaxCount));

    MovementType = movement;
    NumPairs = o.pairs;
    BoardsPerRound = o.perRound;
    NumRounds = rounds;
    NumBoards = boards;
    NumBoardSets = NumBoards / BoardsPerRound;
    SkipOn = TOLOGICAL(skip);
    SkipBoards = TOLOGICAL(o.skip != "players");
    SkipAfterRound = static_cast<std::int16_t>(skip ? o.skipAfter : size.skipAfterRound);
    OrderAsPlayed = TOLOGICAL(!o.byTable);
}
