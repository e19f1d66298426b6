#pragma once
// The parts of orla-cli that bring Qt with them (the PDF output, the table server)
// are libraries of their own, loaded only by the commands that use them, so that
// every other command starts without Qt. They use orla-cli's own routines and
// data, exported to them, never a second copy.

#include <string>

// Loads the library `file` (found in the installed library folder, else beside
// orla-cli in the build) and returns its routine `entry`; null with `error` (the
// loader's reason) when neither place gives it.
void* LOADCLIMODULE(const char* file, const char* entry, std::string& error);
