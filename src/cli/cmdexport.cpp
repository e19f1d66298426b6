// orla-cli export: opens a tournament file as the program does and writes one
// of its reports (the ranking, the pairs in line order, the board lists, the
// frequency lists, the personal score cards) as text or HTML, or its results
// as PBN, through the same routines as the File menu's export commands.
#include "cli/commands.h"
#include "core/hooks.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "reports/reports.h"
#include "scoring/compute.h"
#ifdef ORLA_CLI_PDF
#include "cli/climodule.h"
#include "cli/pdfoutput.h"
#endif

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ExportOptions {
    std::string file, view = "ranking", format, out;
    int pair = 0;
    CLI::Option* pairOption = nullptr;
};

MessageAnswer printMessage(const std::string& text, const std::string&, MessageKind kind) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return kind == MSG_YESNO_QUESTION ? ANSWER_NO : ANSWER_OK;
}

// Sets the view and order the menu commands would have chosen.
void chooseView(const ExportOptions& o) {
    ViewMode = 1;
    SortByPlacement = 1;
    if (o.view == "lines") SortByPlacement = 0;
    if (o.view == "boards") ViewMode = 2;
    if (o.view == "frequency") ViewMode = 3;
    if (o.view == "personal") ViewMode = 4;
    PersonalPair = o.pair;
}

// Writes `bytes` to standard output; false when the stream fails.
bool writeStdout(const std::string& bytes) {
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

} // namespace

bool WRITEOUTPUT(const std::string& name, const std::string& bytes) {
    if (name != "-") return WRITEEXPORT(name, bytes);
    if (writeStdout(bytes)) return true;
    std::fprintf(stderr, "orla-cli: the output could not be written to standard output\n");
    return false;
}

namespace {

#ifdef ORLA_CLI_PDF
// The PDF output's routine, its library loaded. Null with `error` when it cannot
// be loaded.
PdfModuleRoutine loadPdfOutput(std::string& error) {
    std::string why;
    if (void* routine = LOADCLIMODULE(PdfModuleName, PdfModuleEntry, why))
        return reinterpret_cast<PdfModuleRoutine>(routine);
    error = "the PDF output could not be loaded (" + why + "); text, html and pbn still work";
    return nullptr;
}
#endif

// Prints the view into the PDF file `o.out` through the program's printing
// routine, without a display.
void runPdf(const ExportOptions& o) {
#ifdef ORLA_CLI_PDF
    std::string reason;
    const PdfModuleRoutine printPdf = loadPdfOutput(reason);
    if (printPdf == nullptr) {
        std::fprintf(stderr, "orla-cli: %s\n", reason.c_str());
        CliExitCode = EXIT_FILE;
        return;
    }
    if (printPdf(ViewMode, 0, PersonalPair, o.out, reason)) return;
    std::fprintf(stderr, "orla-cli: %s: %s\n", CONTROLPICTURES(o.out).c_str(), reason.c_str());
    CliExitCode = EXIT_FILE;
#else
    (void)o;
#endif
}

void runExport(const ExportOptions& o) {
#ifndef ORLA_CLI_PDF
    if (o.format == "pdf")
        CLIUSAGE("--format pdf: this build of orla-cli has no printing; use text, html or pbn");
#endif
    if (o.format == "pdf" && o.out == "-")
        CLIUSAGE("--format pdf writes a file: give its name with -o");
    if (o.pairOption->count() > 0 && o.view != "personal")
        CLIUSAGE("--pair is for --view personal only");
    if (!OPENNTRFILE(o.file)) {
        CliExitCode = EXIT_FILE;
        return;
    }
    if (o.pairOption->count() > 0 && (o.pair < 1 || o.pair > NumPairs))
        CLIUSAGE("--pair: " + std::to_string(o.pair) + " is not a pair of this tournament (1 to " +
                 std::to_string(NumPairs) + ")");
    chooseView(o);
    if (o.format == "pdf") {
        if (EXPORTTARGETOK(o.out))
            runPdf(o);
        else
            CliExitCode = EXIT_FILE;
        return;
    }
    const std::string bytes = o.format == "text"   ? TEXTEXPORT()
                              : o.format == "html" ? HTMLEXPORT()
                                                   : PBNEXPORT();
    CliExitCode = WRITEOUTPUT(o.out, bytes) ? EXIT_DONE : EXIT_FILE;
}

} // namespace

void ADDEXPORTCOMMAND(CLI::App& app) {
    auto o = std::make_shared<ExportOptions>();
    CLI::App* cmd = app.add_subcommand(
        "export", "Open a tournament file and write a report as text, HTML or PDF, or the results as PBN");
    cmd->add_option("FILE", o->file, "Tournament file (.otr)")->required();
    cmd->add_option("--view", o->view,
                    "ranking, lines, boards, frequency or personal (default ranking; PBN holds "
                    "the results whatever the view)")
        ->check(CLI::IsMember({"ranking", "lines", "boards", "frequency", "personal"}));
    o->pairOption =
        cmd->add_option("--pair", o->pair, "The pair whose score card to write (default: every pair)");
    cmd->add_option("--format", o->format, "text, html, pdf or pbn")
        ->required()
        ->check(CLI::IsMember({"text", "html", "pdf", "pbn"}));
    cmd->add_option("-o,--output", o->out, "File to write, or - for standard output")->required();
    cmd->callback([o] {
        Ui.message = printMessage;
        INSTALLCOMPUTE();
        OPENREGISTER();
        runExport(*o);
    });
}
