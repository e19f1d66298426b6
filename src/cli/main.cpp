// orla-cli: the tournament routines without a display.
#include "cli/commands.h"
#include "core/hooks.h"
#include "core/strings.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#endif

int CliExitCode = EXIT_DONE;

void CLIUSAGE(const std::string& message) {
    std::fprintf(stderr, "orla-cli: %s\n", CONTROLPICTURES(message, true).c_str());
    std::exit(EXIT_USAGE);
}

#ifdef _WIN32
namespace {

// The arguments as typed, in UTF-8: Windows hands main() the ones in the
// system's code page, where a letter outside it is lost.
std::vector<std::string> utf8Arguments() {
    std::vector<std::string> args;
    int n = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!wide) return args;
    for (int i = 0; i < n; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
        if (size > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), size, nullptr, nullptr);
        args.push_back(arg);
    }
    LocalFree(wide);
    return args;
}

} // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // What is printed are the bytes of the reports and files, as written to a
    // file with -o: no carriage returns added to the line ends.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args = utf8Arguments();
    std::vector<char*> pointers;
    for (std::string& a : args) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    if (!args.empty()) {
        argc = static_cast<int>(args.size());
        argv = pointers.data();
    }
#endif
    RESETHOOKS();
    CLI::App app{"ORLA Bridge Tournaments Editor, command line"};
    app.set_version_flag("--version", "orla-cli " ORLA_VERSION);
    app.require_subcommand(1);
    // Options are the same everywhere: on Windows too a word that starts with a
    // slash is a file ("/data/club.otr" on the current drive), not an option.
    app.allow_windows_style_options(false);
    // Each subcommand adds itself here.
    ADDFILECOMMANDS(app);
    ADDEXPORTCOMMAND(app);
    ADDMOVEMENTCOMMAND(app);
    ADDPLAYERSCOMMAND(app);
    ADDHANDSCOMMAND(app);
    ADDPERIODCOMMANDS(app);
    ADDSITECOMMAND(app);
#ifdef ORLA_CLI_SERVE
    ADDSERVECOMMAND(app);
#endif
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) { // --help, --version
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "orla-cli: %s\n", CONTROLPICTURES(e.what(), true).c_str());
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
