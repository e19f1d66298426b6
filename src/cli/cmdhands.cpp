// orla-cli hands: the deals of a tournament file. Reads a PBN hand record into
// the file (turning the hand diagrams on), writes the file's deals as PBN, or
// prints the double-dummy table and par of every complete deal.
#include "cli/commands.h"
#include "core/hooks.h"
#include "core/safefile.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "hands/analysis.h"
#include "reports/reports.h"
#include "scoring/compute.h"
#include "scoring/scoring.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

using Json = nlohmann::ordered_json;

namespace {

struct HandsOptions {
    std::string file, importPbn, exportPbn;
    bool analyse = false, json = false;
};

MessageAnswer printMessage(const std::string& text, const std::string&, MessageKind kind) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return kind == MSG_YESNO_QUESTION ? ANSWER_NO : ANSWER_OK;
}

const char* const Seats[5] = {"", "N", "W", "E", "S"};

void runImport(const HandsOptions& o) {
    // An empty file is read (and then refused for holding no deals); a folder is not.
    const auto path = UTF8PATH(o.importPbn);
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    const bool isFile = in && std::filesystem::is_regular_file(path, ec);
    std::string bytes;
    if (isFile) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!isFile || in.bad()) {
        std::fprintf(stderr, "orla-cli: %s could not be read\n", CONTROLPICTURES(o.importPbn).c_str());
        CliExitCode = EXIT_FILE;
        return;
    }
    int count = 0;
    int leftOut = 0;
    std::string error;
    if (!IMPORTPBNHANDS(bytes, count, leftOut, error)) {
        std::fprintf(stderr, "orla-cli: %s: %s Nothing was changed.\n", CONTROLPICTURES(o.importPbn).c_str(),
                     error.c_str());
        CliExitCode = EXIT_FILE;
        return;
    }
    if (!WRITENTRFILE()) {
        CliExitCode = EXIT_FILE;
        return;
    }
    const std::string leftOutText = PBNLEFTOUTTEXT(leftOut);
    std::printf("%d deal%s read from %s into %s%s\n", count, count == 1 ? "" : "s",
                CONTROLPICTURES(o.importPbn).c_str(), CONTROLPICTURES(o.file).c_str(), leftOutText.empty() ? "" : ("; " + leftOutText).c_str());
}

void runExportPbn(const HandsOptions& o) {
    int count = 0;
    const std::string bytes = PBNHANDSEXPORT(count);
    if (count == 0) {
        std::fprintf(stderr, "orla-cli: %s holds no complete deal to export\n", CONTROLPICTURES(o.file).c_str());
        CliExitCode = EXIT_FILE;
        return;
    }
    if (!WRITEOUTPUT(o.exportPbn, bytes)) {
        CliExitCode = EXIT_FILE;
        return;
    }
    // Deals written to standard output are the whole output.
    if (o.exportPbn == "-" || SAMEFILE(o.exportPbn, "/dev/stdout")) return;
    std::printf("%d deal%s written to %s\n", count, count == 1 ? "" : "s", CONTROLPICTURES(o.exportPbn).c_str());
}

void runAnalyse(const HandsOptions& o) {
    std::vector<DdJob> jobs;
    std::vector<int> boards;
    for (int b = 1; b <= NumBoards; ++b)
        if (DEALCOMPLETE(b)) {
            jobs.push_back(DDJOBOFBOARD(b));
            boards.push_back(b);
        }
    std::string error;
    if (!ANALYSEDEALS(jobs, nullptr, error)) {
        std::fprintf(stderr, "orla-cli: %s\n", error.c_str());
        CliExitCode = EXIT_FILE;
        return;
    }
    static const char* const zones[] = {"None", "NS", "EW", "All"};
    static const char* const dealers = "NESW";
    if (o.json) {
        Json all = Json::array();
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            const DoubleDummy& dd = jobs[i].result;
            Json tricks = Json::object();
            for (const int h : {HAND_NORTH, HAND_SOUTH, HAND_EAST, HAND_WEST}) {
                Json row = Json::object();
                for (int s = STRAIN_NT; s >= 1; --s) row[StrainLetters[s]] = dd.tricks[h][s];
                tricks[Seats[h]] = row;
            }
            all.push_back({{"board", boards[i]},
                           {"dealer", std::string(1, dealers[jobs[i].dealer])},
                           {"vulnerable", zones[jobs[i].zone]},
                           {"deal", PBNDEALTEXT(jobs[i].cards)},
                           {"tricks", tricks},
                           {"par", dd.parScore},
                           {"parContracts", dd.parContracts}});
        }
        std::cout << all.dump(2) << "\n";
        return;
    }
    if (jobs.empty()) std::printf("%s holds no complete deal\n", CONTROLPICTURES(o.file).c_str());
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const DoubleDummy& dd = jobs[i].result;
        std::printf("Board %d  Dealer %c  Vulnerable %s\n", boards[i], dealers[jobs[i].dealer], zones[jobs[i].zone]);
        std::printf("      NT   S   H   D   C\n");
        for (const int h : {HAND_NORTH, HAND_SOUTH, HAND_EAST, HAND_WEST}) {
            std::printf("  %s ", Seats[h]);
            for (int s = STRAIN_NT; s >= 1; --s) std::printf("%4d", dd.tricks[h][s]);
            std::printf("\n");
        }
        std::printf("  %s\n\n", PARTEXT(dd).c_str());
    }
}

void runHands(const HandsOptions& o) {
    const int chosen = !o.importPbn.empty() + !o.exportPbn.empty() + o.analyse;
    if (chosen != 1) CLIUSAGE("hands: give one of --import-pbn, --export-pbn and --analyse");
    if (o.json && !o.analyse) CLIUSAGE("--json is for --analyse only");
    if (!OPENNTRFILE(o.file)) {
        CliExitCode = EXIT_FILE;
        return;
    }
    if (!o.importPbn.empty()) return runImport(o);
    if (!ISTRUE(HasHands)) {
        std::fprintf(stderr, "orla-cli: %s has no hand diagrams\n", CONTROLPICTURES(o.file).c_str());
        CliExitCode = EXIT_FILE;
        return;
    }
    if (!o.exportPbn.empty()) return runExportPbn(o);
    runAnalyse(o);
}

} // namespace

void ADDHANDSCOMMAND(CLI::App& app) {
    auto o = std::make_shared<HandsOptions>();
    CLI::App* cmd = app.add_subcommand(
        "hands", "Read deals from a PBN hand record into a tournament file, write its deals as PBN, "
                 "or analyse them double dummy");
    cmd->add_option("FILE", o->file, "Tournament file (.otr)")->required();
    cmd->add_option("--import-pbn", o->importPbn,
                    "Read the Board and Deal tags of this PBN file into FILE (hand diagrams are turned on)");
    cmd->add_option("--export-pbn", o->exportPbn,
                    "Write the complete deals of FILE to this PBN file, or - for standard output");
    cmd->add_flag("--analyse", o->analyse, "Print the double-dummy tricks and par of every complete deal");
    cmd->add_flag("--json", o->json, "With --analyse: print JSON");
    cmd->callback([o] {
        Ui.message = printMessage;
        INSTALLCOMPUTE();
        OPENREGISTER();
        runHands(*o);
    });
}
