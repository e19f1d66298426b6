// orla-cli site: the results site of every tournament file of a folder, as
// File > Publish site... makes it.
#include "cli/commands.h"
#include "core/hooks.h"
#include "core/strings.h"
#include "players/players.h"
#include "scoring/compute.h"
#include "site/site.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

struct SiteOptions {
    std::string folder, out;
    bool progress = false;
};

MessageAnswer printMessage(const std::string& text, const std::string&, MessageKind kind) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return kind == MSG_YESNO_QUESTION ? ANSWER_NO : ANSWER_OK;
}

void runSite(const SiteOptions& o) {
    SiteSummary summary;
    std::string error;
    // With --progress each step is one line, "progress DONE TOTAL TEXT", for the
    // window; a line break in a file's name must not break the line.
    auto progress = [&o](int done, int total, const std::string& text) {
        if (o.progress) {
            std::printf("progress %d %d %s\n", done, total, CONTROLPICTURES(text).c_str());
            std::fflush(stdout);
        }
        return true;
    };
    const bool ok = BUILDSITE(o.folder, o.out, summary, error, progress);
    // The problems and the error name files and folders: their control
    // characters are shown as pictures, never sent to the terminal raw.
    for (const std::string& p : summary.problems)
        std::fprintf(stderr, "orla-cli: %s\n", CONTROLPICTURES(p).c_str());
    if (!ok) {
        std::fprintf(stderr, "orla-cli: %s\n", CONTROLPICTURES(error).c_str());
        CliExitCode = EXIT_FILE;
        return;
    }
    std::printf("%d evenings (%d made again): %d files written, %d unchanged; %d deals solved, %d from "
                "the cache\n",
                summary.evenings, summary.rebuilt, summary.written, summary.unchanged, summary.solved,
                summary.cachedDeals);
    CliExitCode = summary.problems.empty() ? EXIT_DONE : EXIT_FILE;
}

} // namespace

void ADDSITECOMMAND(CLI::App& app) {
    auto o = std::make_shared<SiteOptions>();
    CLI::App* cmd = app.add_subcommand(
        "site", "Build the results site of every tournament file of a folder (pages written only where they changed)");
    cmd->add_option("FOLDER", o->folder, "Folder of the tournament files (.otr)")->required();
    cmd->add_option("-o,--output", o->out, "Folder of the site")->required();
    cmd->add_flag("--progress", o->progress, "Print a line after each evening and group of deals");
    cmd->callback([o] {
        Ui.message = printMessage;
        INSTALLCOMPUTE();
        OPENREGISTER();
        runSite(*o);
    });
}
