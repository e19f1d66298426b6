#pragma once
// Opens the tournament of a report case and runs its reports.

#include "support/testsupport.h"

#include <string>

// The folder of a case under tests/data.
std::filesystem::path CASEDIR(const std::string& name);

// Opens <case>/input.otr as the program does (scored; the ratings as the file
// holds them) and chooses the view: ranking, lines, boards, frequency, personal.
bool OPENCASE(const std::string& name, const std::string& view, int pair = 0);

// The whole contents of a file ("" when it cannot be read).
std::string READFILE(const std::filesystem::path& file);

// Starts recording the printer: every line drawn as "x y text", every new page
// as "-- page --", into PrintedLines.
void RECORDPRINTER();
extern std::string PrintedLines;
