// orla-cli: the tournament routines without a display.
#include "cli/commands.h"
#include "core/hooks.h"

#include <cstdio>
#include <cstdlib>

int CliExitCode = EXIT_DONE;

void CLIUSAGE(const std::string& message) {
    std::fprintf(stderr, "orla-cli: %s\n", message.c_str());
    std::exit(EXIT_USAGE);
}

int main(int argc, char** argv) {
    RESETHOOKS();
    CLI::App app{"ORLA Bridge Tournaments Editor, command line"};
    app.require_subcommand(1);
    // Each subcommand adds itself here.
    ADDFILECOMMANDS(app);
    ADDEXPORTCOMMAND(app);
    ADDMOVEMENTCOMMAND(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "orla-cli: %s\n", e.what());
        return EXIT_USAGE;
    }
    return CliExitCode;
}
