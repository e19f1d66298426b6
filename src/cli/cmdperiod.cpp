// orla-cli update-rating and statistics: the end of a period over a folder of
// tournament files, as Players > Update rating... and Statistics... do it.
#include "cli/commands.h"
#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/safefile.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "players/players.h"
#include "players/update.h"
#include "scoring/compute.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

namespace {

bool isFolder(const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(UTF8PATH(folder), ec);
}

// The register, when there is one, must be a file that was read: a folder or a
// special file of its name is said, and the command changes nothing.
bool registerReadable() {
    std::error_code ec;
    const auto status = std::filesystem::status(UTF8PATH(PlayersFile), ec);
    if (PlayersFile.empty() || !std::filesystem::exists(status) ||
        std::filesystem::is_regular_file(status))
        return true;
    std::cerr << "The players register " << PlayersFile << " cannot be read: it is not a file.\n";
    CliExitCode = EXIT_FILE;
    return false;
}

// What was printed, out of the buffers; false, said on stderr, when it could
// not be written (a full disk, a closed pipe).
bool listingWritten() {
    errno = 0;
    std::cout.flush();
    if (std::cout.good() && std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    const int error = errno ? errno : EIO;
    std::cerr << "orla-cli: the listing could not be written: " << std::strerror(error) << ".\n";
    return false;
}

} // namespace

void ADDPERIODCOMMANDS(CLI::App& app) {
    struct Args {
        std::string folder, snapshot, out;
        std::vector<std::string> files;
        bool save = false;
    };
    auto a = std::make_shared<Args>();

    CLI::App* update = app.add_subcommand(
        "update-rating",
        "Sum the rating changes of tournament files per registered player; print old rating, "
        "increment and new rating; with --save write them to the register (a dated copy is kept)");
    update->add_option("--folder", a->folder, "Folder of the tournament files")->required();
    update->add_option("FILE", a->files, "Files of the folder to count (default: all of them)");
    update->add_flag("--save", a->save, "Write the new ratings and deltas to the register");
    update->callback([a] {
        if (!isFolder(a->folder)) CLIUSAGE("--folder: \"" + a->folder + "\" is not a folder");
        OPENREGISTER();
        if (!registerReadable()) return;
        // The items and the files of the folder go together, one by one.
        const std::vector<std::string> names = TOURNAMENTFILES(a->folder);
        const std::vector<std::string> items = FINDFILESINDIR(a->folder);
        std::vector<std::string> chosen;
        if (a->files.empty()) {
            for (const std::string& item : items)
                if (!item.empty()) chosen.push_back(item);
        } else {
            for (const std::string& file : a->files) {
                std::string found;
                for (std::size_t n = 0; n < names.size() && n < items.size(); ++n)
                    if (names[n] == file) found = items[n];
                if (found.empty()) {
                    std::cerr << "File " << CONTROLPICTURES(file) << " is not a tournament file of "
                              << CONTROLPICTURES(a->folder) << ".\n";
                    CliExitCode = EXIT_FILE;
                    return;
                }
                chosen.push_back(found);
            }
        }
        SUMRATINGCHANGES(a->folder, chosen);
        for (int k = 1; k <= RegisteredCount; ++k)
            std::cout << CP1250TOUTF8(UPDATERESULTROW(k)) << '\n';
        // The listing is out before anything is saved: a listing that cannot be
        // written leaves the register as it was, so that the command can be run
        // again without counting any file twice.
        const bool listed = listingWritten();
        const std::size_t leftOut = RatingFilesLeftOut.size();
        if (leftOut > 0)
            std::cerr << leftOut << (leftOut == 1 ? " file" : " files")
                      << " could not be read and " << (leftOut == 1 ? "was" : "were")
                      << " left out.\n";
        if (!a->save) {
            CliExitCode = listed && leftOut == 0 ? EXIT_DONE : EXIT_FILE;
            return;
        }
        if (!listed || leftOut > 0) {
            std::cerr << "The register was not saved.\n";
            CliExitCode = EXIT_FILE;
            return;
        }
        if (!SAVERATINGUPDATE()) {
            std::cerr << "The register was not saved.\n";
            CliExitCode = EXIT_FILE;
            return;
        }
        std::cerr << "The new ratings of " << RegisteredCount
                  << (RegisteredCount == 1 ? " player are" : " players are") << " saved in "
                  << PlayersFile << ".\n";
        CliExitCode = EXIT_DONE;
    });

    CLI::App* stats = app.add_subcommand(
        "statistics", "Per registered player: matchpoint and IMP tournaments of a folder with "
                      "their average percentage, and the rating against a register snapshot");
    stats->add_option("--folder", a->folder, "Folder of the season's tournament files")->required();
    stats->add_option("--snapshot", a->snapshot, "The register at the start of the season (.opd)")
        ->required();
    stats->add_option("-o,--output", a->out, "The statistics file to write (Stat.txt)")->required();
    stats->callback([a] {
        // A folder or a snapshot that is not there would give a table of zeros.
        if (!isFolder(a->folder)) CLIUSAGE("--folder: \"" + a->folder + "\" is not a folder");
        std::error_code ec;
        if (!std::filesystem::exists(UTF8PATH(a->snapshot), ec))
            CLIUSAGE("--snapshot: \"" + a->snapshot + "\" does not exist");
        OPENREGISTER();
        if (!registerReadable()) return;
        INSTALLCOMPUTE();
        int read = 0;
        CliExitCode = STATISTICS(a->folder, a->snapshot, a->out, &read) ? EXIT_DONE : EXIT_FILE;
        if (CliExitCode == EXIT_DONE)
            std::cerr << read << (read == 1 ? " tournament" : " tournaments") << " read.\n";
    });
}
