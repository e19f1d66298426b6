// orla-cli update-rating and statistics: the end of a period over a folder of
// tournament files, as Players > Update rating... and Statistics... do it.
#include "cli/commands.h"
#include "core/cp1250.h"
#include "core/safefile.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "players/players.h"
#include "players/update.h"
#include "scoring/compute.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

namespace {

bool isFolder(const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(UTF8PATH(folder), ec);
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
        const std::vector<std::string> items = FINDFILESINDIR(a->folder);
        std::vector<std::string> chosen;
        if (a->files.empty()) {
            for (const std::string& item : items)
                if (!item.empty()) chosen.push_back(item);
        } else {
            for (const std::string& file : a->files) {
                std::string found;
                for (const std::string& item : items)
                    if (ITEMFILENAME(item) == file) found = item;
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
        CliExitCode = !a->save || SAVERATINGUPDATE() ? EXIT_DONE : EXIT_FILE;
    });

    CLI::App* stats = app.add_subcommand(
        "statistics", "Per registered player: matchpoint and IMP tournaments of a folder with "
                      "their average percentage, and the rating against a register snapshot");
    stats->add_option("--folder", a->folder, "Folder of the season's tournament files")->required();
    stats->add_option("--snapshot", a->snapshot, "The register at the start of the season (.opd)")
        ->required();
    stats->add_option("-o,--output", a->out, "The statistics file to write (Stat.txt)")->required();
    stats->callback([a] {
        OPENREGISTER();
        INSTALLCOMPUTE();
        int read = 0;
        CliExitCode = STATISTICS(a->folder, a->snapshot, a->out, &read) ? EXIT_DONE : EXIT_FILE;
        if (CliExitCode == EXIT_DONE)
            std::cerr << read << (read == 1 ? " tournament" : " tournaments") << " read.\n";
    });
}
