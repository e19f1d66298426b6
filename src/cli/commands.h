#pragma once
// The subcommands of orla-cli. Each one adds itself to the parser and runs when
// chosen; its callback sets the exit code through CLIEXIT.

#include <CLI/CLI.hpp>

// Exit codes: 0 done, 1 the file could not be opened or written, 2 bad usage.
enum { EXIT_DONE = 0, EXIT_FILE = 1, EXIT_USAGE = 2 };

// The code main returns; a subcommand's callback sets it.
extern int CliExitCode;

// A bad option or an impossible value: prints one line on stderr and ends with 2.
[[noreturn]] void CLIUSAGE(const std::string& message);

// Subcommands, each in a file of its own.
// movement: prints a standard movement as JSON (cmdmovement.cpp).
void ADDMOVEMENTCOMMAND(CLI::App& app);
// new, dump, score: creates a tournament file; prints one as JSON; recalculates
// one and saves it (cmdfile.cpp).
void ADDFILECOMMANDS(CLI::App& app);
// players [add|remove|set-rating]: the players register (cmdplayers.cpp).
void ADDPLAYERSCOMMAND(CLI::App& app);

// Sets the program's folder (ORLA_PROGRAM_FOLDER or the program's own), loads the
// players register from it and installs the rating routines; messages go to stderr.
void OPENREGISTER();
// Sets the program's folder only, for a command that must know where the
// register is without reading it.
void FINDPROGRAMFOLDER();

// hands: PBN hand records in and out, double-dummy analysis (cmdhands.cpp).
void ADDHANDSCOMMAND(CLI::App& app);

// export: writes a report or the results of a tournament file (cmdexport.cpp).
void ADDEXPORTCOMMAND(CLI::App& app);
// Writes an output of a command to the file `name`, or to standard output when
// `name` is "-"; false, with the reason on stderr, when it cannot be written.
bool WRITEOUTPUT(const std::string& name, const std::string& bytes);

// update-rating, statistics: the end of a period over a folder (cmdperiod.cpp).
void ADDPERIODCOMMANDS(CLI::App& app);
// site: the results site of a folder of tournament files (cmdsite.cpp).
void ADDSITECOMMAND(CLI::App& app);

// serve: scoring at the tables over the club's network (cmdserve.cpp; only in a
// build with Qt HTTP Server).
void ADDSERVECOMMAND(CLI::App& app);
