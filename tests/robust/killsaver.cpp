// The saver of the kill test: from the generations now on the disk, saves the
// tournament, the players register and the movement file of the folder named by
// ORLA_PROGRAM_FOLDER one after another, each time as the next generation, until
// it is killed (or its reader goes away), telling on its standard output what it
// is doing. It starts the round with the file `first` names (0 the tournament,
// 1 the register, 2 the movement), so that kills find each file's save early.
//   killsaver <tournament gen.> <register gen.> <movement gen.> <first>
#include "killsave.h"

#include "core/programfolder.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

using namespace killsave;

namespace {

// One line to the test, unbuffered so that a kill loses none of it.
void tell(char what, char file, long gen) {
    char line[48];
    const int n = std::snprintf(line, sizeof line, "%c %c %ld\n", what, file, gen);
    if (::write(STDOUT_FILENO, line, static_cast<std::size_t>(n)) != n) std::_Exit(3);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: killsaver <tournament> <register> <movement> <first>\n");
        return 2;
    }
    long gen[3] = {std::atol(argv[1]), std::atol(argv[2]), std::atol(argv[3])};
    const int first = std::atoi(argv[4]);
    if (first < 0 || first > 2) return 2;
    SETPROGRAMFOLDER(std::string());
    if (ProgramFolder.empty()) return 2;
    if (LOADPLAYERS() != static_cast<int>(EXPECTEDREGISTER(gen[1]).size())) return 2;
    // The movement file is made from the custom movement of the tournament.
    if (first != 0) MAKETOURNAMENT(gen[0]);
    tell('R', '0', 0);

    // A saver whose test has gone stops at its next line (SIGPIPE); this is
    // only a bound for one that is never killed.
    for (int round = 0; round < 100000; ++round) {
        for (int step = 0; step < 3; ++step) {
            const int f = (first + step) % 3;
            const long g = ++gen[f];
            bool saved = false;
            std::string reason;
            switch (Files[f]) {
            case 'T':
                MAKETOURNAMENT(g);
                TournamentFile = PROGRAMFILE(TournamentFileName);
                tell('B', 'T', g);
                saved = WRITENTRFILE();
                break;
            case 'P':
                tell('B', 'P', g);
                saved = REGISTERSTEP(g);
                break;
            default:
                FILLMOVEMENT(g);
                tell('B', 'M', g);
                saved = SAVEMOVEMENTFILE(PROGRAMFILE(MovementFileName), reason);
                if (!saved) std::fprintf(stderr, "%s\n", reason.c_str());
                break;
            }
            tell(saved ? 'D' : 'F', Files[f], g);
            if (!saved) return 1;
        }
    }
    return 0;
}
