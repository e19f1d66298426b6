#pragma once
// The options that shape a tournament (movement, pairs, boards, rounds, skip,
// order of results), shared by the subcommands that create one.

#include <CLI/CLI.hpp>

#include <string>

struct SizeOptions {
    std::string movement;
    int pairs = 0;
    int perRound = 0;
    int rounds = 0;
    int boards = 0;
    int skipAfter = 0;
    std::string skip = "boards";
    bool byTable = false;
    // Rounds of a custom movement when --rounds is not given (those of its file).
    int customRounds = 0;
    CLI::Option* movementOption = nullptr;
    CLI::Option* pairsOption = nullptr;
    CLI::Option* perRoundOption = nullptr;
    CLI::Option* roundsOption = nullptr;
    CLI::Option* boardsOption = nullptr;
    CLI::Option* skipAfterOption = nullptr;
};

// Adds --<movementOption> mitchell|berger|howell (and custom when `custom`),
// --pairs, --boards-per-round, --rounds, --boards, --skip-after, --skip and
// --by-table to `cmd`. The movement, pairs and boards per round are required
// unless `optional`: the command then checks them itself.
void ADDSIZEOPTIONS(CLI::App* cmd, SizeOptions& o, const std::string& movementOption,
                    bool custom = false, bool optional = false);

// Checks the options as the Tournament Properties dialog would allow them and
// sets the header's movement, counts, skip and order; rounds and total boards
// default to what the dialog proposes (a custom movement's rounds to
// customRounds when that is set, its boards to rounds x boards per round). Impossible values end the program through
// CLIUSAGE. The rest of the header is left as it is.
void SETHEADERSIZE(const SizeOptions& o);
