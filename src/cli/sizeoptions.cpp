#include "cli/sizeoptions.h"

#include "cli/commands.h"
#include "core/tournament.h"
#include "movement/movementsize.h"

#include <cstdint>
#include <vector>

namespace {

// The largest count the dialog's three-digit fields take.
constexpr int MaxCount = 999;

void needCount(const char* option, int value, int least) {
    if (value < least || value > MaxCount)
        CLIUSAGE(std::string(option) + " must be from " + std::to_string(least) + " to " +
                 std::to_string(MaxCount));
}

// Counts are read as the dialogs read them: plain decimal integers. The parser
// would take a leading 0 for octal and 0x for hexadecimal, so the text is checked
// here and handed on without its leading zeros.
const CLI::Validator Decimal(
    [](std::string& text) -> std::string {
        const bool sign = !text.empty() && (text[0] == '-' || text[0] == '+');
        const std::size_t start = sign ? 1 : 0;
        if (text.size() == start ||
            text.find_first_not_of("0123456789", start) != std::string::npos)
            return "'" + text + "' is not a whole number";
        const std::size_t first = text.find_first_not_of('0', start);
        const std::string digits = first == std::string::npos ? "0" : text.substr(first);
        text = (text[0] == '-' && digits != "0" ? "-" : "") + digits;
        return {};
    },
    "", "decimal");

} // namespace

void ADDSIZEOPTIONS(CLI::App* cmd, SizeOptions& o, const std::string& movementOption, bool custom,
                    bool optional) {
    const std::vector<std::string> types =
        custom ? std::vector<std::string>{"mitchell", "berger", "howell", "custom"}
               : std::vector<std::string>{"mitchell", "berger", "howell"};
    o.movementOption =
        cmd->add_option("--" + movementOption, o.movement,
                        custom ? "mitchell, berger, howell or custom" : "mitchell, berger or howell")
            ->required(!optional)
            ->check(CLI::IsMember(types));
    o.pairsOption = cmd->add_option("--pairs", o.pairs, "Number of pairs")
                        ->required(!optional)
                        ->transform(Decimal);
    o.perRoundOption = cmd->add_option("--boards-per-round", o.perRound, "Boards per round")
                           ->required(!optional)
                           ->transform(Decimal);
    o.roundsOption =
        cmd->add_option("--rounds", o.rounds, "Rounds (default as the dialog)")->transform(Decimal);
    o.boardsOption =
        cmd->add_option("--boards", o.boards,
                        "Total boards: the movement sets them; when given, the same count")
            ->transform(Decimal);
    o.skipAfterOption =
        cmd->add_option("--skip-after", o.skipAfter, "Mitchell skip after this round")
            ->transform(Decimal);
    cmd->add_option("--skip", o.skip, "What the skip moves: boards or players")
        ->check(CLI::IsMember({"boards", "players"}))
        ->needs(o.skipAfterOption);
    cmd->add_flag("--by-table", o.byTable, "Order of results by table number");
}

void SETHEADERSIZE(const SizeOptions& o) {
    const int movement = o.movement == "mitchell" ? MOVE_MITCHELL
                         : o.movement == "berger" ? MOVE_BERGER
                         : o.movement == "custom" ? MOVE_CUSTOM
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
    // As the dialog: with an odd number of tables a skip would make pairs meet a
    // board set twice.
    const int tables = (o.pairs + 1) / 2;
    if (skip && tables % 2 == 1)
        CLIUSAGE("--skip-after: " + std::to_string(o.pairs) + " pairs sit at " +
                 std::to_string(tables) +
                 " tables; a Mitchell with an odd number of tables needs no skip: with one, "
                 "pairs would meet a board set twice");

    const MovementSize size = DEFAULTMOVEMENTSIZE(movement, o.pairs, o.perRound, skip);
    int rounds = size.rounds, boards = size.boards;
    if (movement == MOVE_CUSTOM) {
        // One board set a round, as many rounds as asked for or as the file has.
        if (o.roundsOption->count() > 0) needCount("--rounds", o.rounds, 1);
        rounds = o.roundsOption->count() > 0 ? o.rounds
                 : o.customRounds > 0        ? o.customRounds
                                             : size.rounds;
        boards = rounds * o.perRound;
    } else if (o.roundsOption->count() > 0) {
        needCount("--rounds", o.rounds, 1);
        // More rounds than the movement has would make board sets nobody plays.
        if (o.rounds > size.rounds)
            CLIUSAGE("--rounds: a " + std::string(MovementNames[movement]) + " of " +
                     std::to_string(o.pairs) + " pairs has at most " +
                     std::to_string(size.rounds) + " rounds");
        // Typing the rounds changes the total only for a Berger, as in the dialog.
        if (movement == MOVE_BERGER && o.rounds != size.rounds) boards = o.rounds * o.perRound;
        rounds = o.rounds;
    }
    // The dialog works the total out for every standard movement; a different one
    // would make board sets that nobody plays, or leave boards without a set.
    if (o.boardsOption->count() > 0 && o.boards != boards)
        CLIUSAGE("--boards: a " + std::string(MovementNames[movement]) + " of " +
                 std::to_string(o.pairs) + " pairs with " + std::to_string(o.perRound) +
                 (o.perRound == 1 ? " board" : " boards") + " a round plays " +
                 std::to_string(boards) + " boards; leave --boards out or give " +
                 std::to_string(boards));
    if (rounds < 1 || rounds > MaxCount) CLIUSAGE("the tournament would have no rounds");
    if (skip && o.skipAfter > rounds)
        CLIUSAGE("--skip-after must be from 1 to " + std::to_string(rounds));
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
