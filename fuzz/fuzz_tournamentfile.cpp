// The tournament file, both formats: whatever the bytes, opening never goes wrong;
// the quick readers of a folder agree with the full one; and a file that opens,
// saved and opened again, is saved byte for byte the same.
#include "fuzzsupport.h"

#include "core/tournament.h"
#include "core/tournamentfile.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FUZZRESET();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string given = FUZZFILE("given.otr");
    FUZZWRITE(given, input);

    std::string name;
    const bool named = READTOURNAMENTNAME(given, name);
    FileRatingChanges changes;
    const bool counted = READRATINGCHANGES(given, changes);
    const bool opened = OPENNTRFILE(given);
    FUZZCHECK(opened == counted, "READRATINGCHANGES and OPENNTRFILE disagree on a file");
    FUZZCHECK(opened || FUZZMESSAGES() > 0, "a refused file was refused without a message");
    FUZZCHECK(opened == TournamentOpen, "OPENNTRFILE's result is not the tournament's state");
    if (!opened) return 0;
    FUZZCHECK(named && name == std::string(Header.TournamentName, TournamentNameLength),
              "READTOURNAMENTNAME does not give the name of a file that opens");
    FUZZCHECK(changes.numPairs == NumPairs &&
                  static_cast<int>(changes.names.size()) == 2 * NumPairs,
              "READRATINGCHANGES counts other pairs than the file holds");
    for (int n = 0; n < 2 * NumPairs; ++n)
        FUZZCHECK(std::memcmp(changes.names[static_cast<std::size_t>(n)].c,
                              PlayerNames.data()[n].c, NameLength) == 0,
                  "READRATINGCHANGES reads other names than OPENNTRFILE");

    TournamentFile = FUZZFILE("first.otr");
    FUZZCHECK(WRITENTRFILE(), "a tournament that opened cannot be saved");
    const std::string first = FUZZREAD(TournamentFile);
    const TournamentHeader header = Header;

    CLOSETOURNAMENT();
    RESETTOURNAMENTSTATE();
    FUZZCHECK(OPENNTRFILE(FUZZFILE("first.otr")), "a saved tournament does not open again");
    FUZZCHECK(std::memcmp(&header, &Header, sizeof header) == 0,
              "the header changed through a save and an open");
    TournamentFile = FUZZFILE("second.otr");
    FUZZCHECK(WRITENTRFILE(), "a reopened tournament cannot be saved");
    FUZZCHECK(FUZZREAD(TournamentFile) == first,
              "a tournament saved, opened and saved again is not the same file");
    return 0;
}
