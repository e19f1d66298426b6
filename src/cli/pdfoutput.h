#pragma once
// orla-cli's PDF output, a library of its own (orla-cli-pdf.so) that orla-cli loads
// only when a command draws: it holds the printing layer and brings Qt's widget,
// printing and SVG libraries with it, which every other command goes without. It
// draws the open tournament of the program that loaded it.

#include <string>

// The library's file name, beside orla-cli in the build and in the installed
// library folder (ORLA_PDF_MODULE_DIR, relative to orla-cli's folder).
inline constexpr const char* PdfModuleName = "orla-cli-pdf.so";
// The name of its one routine:
//   bool ORLACLIPDF(int viewMode, int board, int pair, const std::string& file,
//                   std::string& reason)
// prints view `viewMode` into the PDF file `file` as PRINTVIEWTOPDF does, the deals
// of the board lists analysed first (a failing solver is said on standard error
// and the deals print without their tables); false with `reason` when the file
// cannot be written.
inline constexpr const char* PdfModuleEntry = "ORLACLIPDF";
using PdfModuleRoutine = bool (*)(int viewMode, int board, int pair, const std::string& file,
                                  std::string& reason);
