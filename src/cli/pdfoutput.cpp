// orla-cli-pdf.so: the PDF output of orla-cli (see pdfoutput.h). The tournament,
// the reports and the analysis it uses are orla-cli's own, found in the program
// that loads it; only the printing layer and the drawing on Qt live here.
#include "cli/pdfoutput.h"
#include "hands/analysis.h"
#include "printing/printing.h"
#include "winsupport/gwgdi.h"

#include <cstdio>
#include <vector>

extern "C" __attribute__((visibility("default"))) bool
ORLACLIPDF(int viewMode, int board, int pair, const std::string& file, std::string& reason) {
    GwStartHeadless();
    // The deals of the board lists are analysed first, for their double-dummy
    // tables; a failing solver leaves the tables out and the print goes on.
    std::vector<DdJob> jobs = PRINTANALYSISJOBS(viewMode, board);
    std::string error;
    if (!jobs.empty() && !ANALYSEDEALS(jobs, nullptr, error))
        std::fprintf(stderr,
                     "orla-cli: %s The deals are printed without their double-dummy tables.\n",
                     error.c_str());
    return PRINTVIEWTOPDF(viewMode, board, pair, file, reason);
}

// Checked by the compiler against the type orla-cli calls it through.
static_assert(std::is_same_v<decltype(&ORLACLIPDF), PdfModuleRoutine>);
