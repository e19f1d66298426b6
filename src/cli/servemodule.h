#pragma once
// orla-cli's table server, a library of its own (orla-cli-serve.so) that only
// `orla-cli serve` loads: it holds the HTTP layer and the pages, and brings Qt's
// core, network and HTTP server libraries with it, which every other command goes
// without. It serves the open tournament of the program that loaded it.

#include <string>

struct ServeOptions {
    std::string file, address, lang = "en";
    int port = 8080;
    bool showResults = false;
    bool showTravellers = false;
};

// The library's file name (found as climodule.h says) and its one routine,
//   void ORLACLISERVE(const ServeOptions& o)
// which opens `o.file`, serves it until SIGINT or SIGTERM and sets CliExitCode.
inline constexpr const char* ServeModuleName = "orla-cli-serve.so";
inline constexpr const char* ServeModuleEntry = "ORLACLISERVE";
using ServeModuleRoutine = void (*)(const ServeOptions& o);
