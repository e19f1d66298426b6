// orla-cli movement: generates a standard movement and prints it as JSON.
#include "cli/commands.h"
#include "core/hooks.h"
#include "core/tournament.h"
#include "movement/movement.h"
#include "movement/movementsize.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdint>
#include <iostream>
#include <map>
#include <memory>
#include <string>

namespace {

struct MovementOptions {
    std::string type;
    int pairs = 0;
    int perRound = 0;
    int rounds = 0;
    int boards = 0;
    int skipAfter = 0;
    std::string skip = "boards";
    bool byTable = false;
    CLI::Option* roundsOption = nullptr;
    CLI::Option* boardsOption = nullptr;
    CLI::Option* skipAfterOption = nullptr;
};

// Sizes beyond these are typing errors rather than tournaments; they would only
// make the program ask for gigabytes.
constexpr int MaxPairs = 1000;
constexpr int MaxRounds = 1000;
constexpr int MaxBoards = 10000;

std::array<std::string, 3> statusTexts;
std::string lastMessage;

// Checks the options, fills the header as the Tournament Properties dialog
// would, opens the tournament, generates the movement and prints it.
void RUNMOVEMENT(const MovementOptions& o) {
    static const std::map<std::string, int> types = {
        {"mitchell", MOVE_MITCHELL}, {"berger", MOVE_BERGER}, {"howell", MOVE_HOWELL}};
    const int type = types.at(o.type);
    const bool skip = o.skipAfterOption->count() > 0;

    if (o.pairs < 2) CLIUSAGE("a movement needs at least 2 pairs");
    if (o.pairs > MaxPairs) CLIUSAGE("at most " + std::to_string(MaxPairs) + " pairs");
    if (type == MOVE_HOWELL && (o.pairs < 5 || o.pairs > 14))
        CLIUSAGE("a Howell movement is for 5 to 14 pairs");
    if (o.perRound < 1) CLIUSAGE("boards per round must be at least 1");
    if (o.perRound > MaxBoards) CLIUSAGE("at most " + std::to_string(MaxBoards) + " boards");
    if (skip && type != MOVE_MITCHELL) CLIUSAGE("a skip belongs to a Mitchell movement");
    if (skip && (o.skipAfter < 0 || o.skipAfter > INT16_MAX))
        CLIUSAGE("--skip-after must lie between 0 and " + std::to_string(INT16_MAX));

    const MovementSize size = DEFAULTMOVEMENTSIZE(type, o.pairs, o.perRound, skip);
    const bool roundsGiven = o.roundsOption->count() > 0;
    const int rounds = roundsGiven ? o.rounds : size.rounds;
    if (rounds < 1) CLIUSAGE("the number of rounds must be at least 1");
    if (rounds > MaxRounds) CLIUSAGE("at most " + std::to_string(MaxRounds) + " rounds");
    // A Berger's typed rounds set its total boards, as in the dialog.
    std::int64_t boards = size.boards;
    if (o.boardsOption->count() > 0)
        boards = o.boards;
    else if (type == MOVE_BERGER && roundsGiven)
        boards = std::int64_t{rounds} * o.perRound;
    if (boards < o.perRound) CLIUSAGE("total boards must be at least the boards per round");
    if (boards > MaxBoards) CLIUSAGE("at most " + std::to_string(MaxBoards) + " boards");

    DEFAULTHEADER();
    MovementType = type;
    NumPairs = o.pairs;
    BoardsPerRound = o.perRound;
    NumRounds = rounds;
    NumBoards = static_cast<int>(boards);
    NumBoardSets = NumBoards / BoardsPerRound;
    SkipOn = TOLOGICAL(skip);
    SkipBoards = TOLOGICAL(o.skip == "boards");
    SkipAfterRound = static_cast<std::int16_t>(skip ? o.skipAfter : size.skipAfterRound);
    OrderAsPlayed = TOLOGICAL(!o.byTable);

    Ui.status = [](int part, const std::string& text) {
        if (part >= 0 && part < 3) statusTexts[static_cast<std::size_t>(part)] = text;
    };
    Ui.message = [](const std::string& text, const std::string&, MessageKind) {
        lastMessage = text;
        return ANSWER_OK;
    };
    if (!INITTOURNAMENT()) CLIUSAGE(lastMessage);
    CALCULATEMOVEMENT();

    nlohmann::ordered_json out;
    out["NumTables"] = NumTables;
    out["NumBoardSets"] = NumBoardSets;
    nlohmann::json entries = nlohmann::json::array();
    nlohmann::json sets = nlohmann::json::array();
    for (int s = 1; s <= NumBoardSets; ++s) {
        entries.push_back(SetEntries(s));
        nlohmann::json list = nlohmann::json::array();
        for (int i = 1; i <= SetEntries(s); ++i)
            list.push_back({Movement(s, i, 1), Movement(s, i, 2)});
        sets.push_back(std::move(list));
    }
    out["SetEntries"] = std::move(entries);
    out["Movement"] = std::move(sets);
    out["status"] = statusTexts;
    std::cout << out.dump() << "\n";
    CLOSETOURNAMENT();
    CliExitCode = EXIT_DONE;
}

} // namespace

void ADDMOVEMENTCOMMAND(CLI::App& app) {
    auto o = std::make_shared<MovementOptions>();
    CLI::App* cmd = app.add_subcommand("movement", "Print a standard movement as JSON");
    cmd->add_option("--type", o->type, "mitchell, berger or howell")
        ->required()
        ->check(CLI::IsMember({"mitchell", "berger", "howell"}));
    cmd->add_option("--pairs", o->pairs, "Number of pairs")->required();
    cmd->add_option("--boards-per-round", o->perRound, "Boards per round")->required();
    o->roundsOption = cmd->add_option("--rounds", o->rounds, "Rounds (default as the dialog)");
    o->boardsOption =
        cmd->add_option("--boards", o->boards, "Total boards (default as the dialog)");
    o->skipAfterOption =
        cmd->add_option("--skip-after", o->skipAfter, "Mitchell skip after this round");
    cmd->add_option("--skip", o->skip, "What the skip moves: boards or players")
        ->check(CLI::IsMember({"boards", "players"}))
        ->needs(o->skipAfterOption);
    cmd->add_flag("--by-table", o->byTable, "List each traveller by table number");
    cmd->callback([o] { RUNMOVEMENT(*o); });
}
