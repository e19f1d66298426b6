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
    CLI::Option* roundsOption = nullptr;
    CLI::Option* boardsOption = nullptr;
    CLI::Option* skipAfterOption = nullptr;
};

// Adds --<movementOption> mitchell|berger|howell, --pairs, --boards-per-round,
// --rounds, --boards, --skip-after, --skip and --by-table to `cmd`.
void ADDSIZEOPTIONS(CLI::App* cmd, SizeOptions& o, const std::string& movementOption);

// Checks the options as the Tournament Properties dialog would allow them and
// sets the header's movement, counts, skip and order; rounds and total boards
// default to what the dialog proposes. Impossible values end the program through
// CLIUSAGE. The rest of the header is left as it is.
void SETHEADERSIZE(const SizeOptions& o);
