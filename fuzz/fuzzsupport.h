#pragma once
// What every fuzz target starts each input from: a fresh program state, hooks
// that keep quiet, and a folder of its own for the files a reader needs.

#include <cstddef>
#include <cstdint>
#include <string>

// Puts the tournament, the register, the custom-movement settings and the hooks
// back to their program-start values, installs the scoring and rating routines
// as the program does, and empties the folder of this process (which is also the
// program's folder, so the register lives there).
void FUZZRESET();

// The folder of this process, made on first use and removed at exit.
const std::string& FUZZFOLDER();

// A file of that folder, written with `bytes`, and read back whole.
std::string FUZZFILE(const std::string& name);
void FUZZWRITE(const std::string& path, const std::string& bytes);
std::string FUZZREAD(const std::string& path);

// Messages the hooks were given since the last FUZZRESET.
int FUZZMESSAGES();

// Stops the run with `what` when `ok` is false: a broken invariant is reported
// by libFuzzer as a crash, with the input that caused it.
void FUZZCHECK(bool ok, const char* what);
