// orla-cli serve: its options, and the table server's library (servemodule.h),
// loaded only by this command, which runs it.
#include "cli/climodule.h"
#include "cli/commands.h"
#include "cli/servemodule.h"
#include "players/rating.h"

#include <cstdio>
#include <memory>
#include <string>

void ADDSERVECOMMAND(CLI::App& app) {
    auto o = std::make_shared<ServeOptions>();
    CLI::App* cmd = app.add_subcommand(
        "serve", "Score at the tables: serve the table pages of a tournament on the club's network");
    cmd->add_option("file", o->file, "The tournament file (.otr)")->required();
    cmd->add_option("--port", o->port, "The port (default 8080)");
    cmd->add_option("--address", o->address,
                    "The address to serve on (default: every address of this computer)");
    cmd->add_option("--lang", o->lang, "The language of the pages: en or sr (default en)");
    cmd->add_flag("--show-results", o->showResults,
                  "Show places and totals on the ranking page while the evening is played");
    cmd->add_flag("--show-travellers", o->showTravellers,
                  "Once a table's round is complete, show the travellers of its boards so far");
    cmd->callback([o] {
        CliExitCode = EXIT_DONE;
        if (o->lang != "en" && o->lang != "sr") CLIUSAGE("--lang must be en or sr");
        if (o->port < 1 || o->port > 65535) CLIUSAGE("--port must be from 1 to 65535");
        // The tables' saves carry the rating step of a rated tournament.
        INSTALLRATING();
        std::string why;
        void* routine = LOADCLIMODULE(ServeModuleName, ServeModuleEntry, why);
        if (routine == nullptr) {
            std::fprintf(stderr, "orla-cli: the table server could not be loaded (%s)\n", why.c_str());
            CliExitCode = EXIT_FILE;
            return;
        }
        reinterpret_cast<ServeModuleRoutine>(routine)(*o);
    });
}
