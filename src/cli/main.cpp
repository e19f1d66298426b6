// orla-cli: the tournament routines without a display.
#include "cli/commands.h"
#include "core/hooks.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

int CliExitCode = EXIT_DONE;

void CLIUSAGE(const std::string& message) {
    std::fprintf(stderr, "orla-cli: %s\n", message.c_str());
    std::exit(EXIT_USAGE);
}

int main(int argc, char** argv) {
    RESETHOOKS();
    CLI::App app{"ORLA Bridge Tournaments Editor, command line"};
    app.set_version_flag("--version", "orla-cli " ORLA_VERSION);
    app.require_subcommand(1);
    // Each subcommand adds itself here.
    ADDFILECOMMANDS(app);
    ADDEXPORTCOMMAND(app);
    ADDMOVEMENTCOMMAND(app);
    ADDPLAYERSCOMMAND(app);
    ADDHANDSCOMMAND(app);
    ADDPERIODCOMMANDS(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) { // --help, --version
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "orla-cli: %s\n", e.what());
        return EXIT_USAGE;
    }
    // What was printed is only known to be written once it has left the buffers:
    // a full disk or a closed pipe is an error, not a success.
    int error = 0;
    errno = 0;
    std::cout.flush();
    if (!std::cout.good() || std::fflush(stdout) != 0 || std::ferror(stdout))
        error = errno ? errno : EIO;
    errno = 0;
    if (std::fclose(stdout) != 0 && error == 0) error = errno ? errno : EIO;
    if (error != 0) {
        std::fprintf(stderr, "orla-cli: the output could not be written: %s\n",
                     std::strerror(error));
        return EXIT_FILE;
    }
    return CliExitCode;
}
