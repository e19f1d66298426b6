// The movement file (.ocm): whatever the bytes, decoding and loading never go
// wrong; a file that loads is written back byte for byte; the loader takes
// exactly what the decoder takes for the tournament's counts.
#include "fuzzsupport.h"

#include "core/tournament.h"
#include "movement/custom.h"

namespace {

std::int32_t i32At(const std::string& b, std::size_t at) {
    std::uint32_t u = 0;
    for (std::size_t k = 0; k < 4; ++k)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + k])) << (8 * k);
    return static_cast<std::int32_t>(u);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FUZZRESET();
    const std::string input(reinterpret_cast<const char*>(data), size);
    StoredMovement decoded;
    // The largest pair number of the file, so that the decoder may take it.
    int maxPair = 0;
    for (std::size_t at = 8; at + 4 <= size; at += 4)
        maxPair = std::max(maxPair, std::min(i32At(input, at), 2 * MaxMovementCount));
    const bool sound = DECODEMOVEMENTFILE(input, std::max(maxPair, 2), decoded);
    if (sound) {
        FUZZCHECK(decoded.rounds >= 1 && decoded.rounds <= MaxMovementCount &&
                      decoded.sets >= 1 && decoded.sets <= MaxMovementCount,
                  "a decoded movement has counts outside 1..999");
        FUZZCHECK(decoded.entries.size() == static_cast<std::size_t>(decoded.sets) &&
                      decoded.pairs.size() == 2u * static_cast<std::size_t>(decoded.sets) *
                                                  static_cast<std::size_t>(decoded.rounds),
                  "a decoded movement does not hold what its counts say");
    }

    const std::string path = FUZZFILE("given.ocm");
    FUZZWRITE(path, input);
    if (size < 8) {
        FUZZCHECK(LOADMOVEMENTFILE(path) == MOVEMENT_UNREADABLE, "a file without counts loads");
        return 0;
    }
    // A custom tournament of the counts the file names, when the file is of the
    // size those counts need (so memory stays within the input's size).
    const std::int32_t r = i32At(input, 0), s = i32At(input, 4);
    const bool countsSane = r >= 1 && r <= MaxMovementCount && s >= 1 && s <= MaxMovementCount;
    if (!countsSane || size != 8 + 4 * std::size_t(s) + 8 * std::size_t(s) * std::size_t(r)) {
        const int result = LOADMOVEMENTFILE(path);
        FUZZCHECK(result != MOVEMENT_LOADED, "a file of the wrong size loads");
        return 0;
    }
    Header.MovementType = MOVE_CUSTOM;
    Header.NumRounds = r;
    Header.NumBoards = s;
    Header.BoardsPerRound = 1;
    Header.NumPairs = std::max(maxPair, 2);
    NumBoardSets = s;
    FUZZCHECK(INITTOURNAMENT(), "a custom tournament of the file's counts cannot be made");
    const int result = LOADMOVEMENTFILE(path);
    FUZZCHECK((result == MOVEMENT_LOADED) == sound, "LOADMOVEMENTFILE and DECODEMOVEMENTFILE disagree");
    if (result != MOVEMENT_LOADED) return 0;
    FUZZCHECK(ENCODEMOVEMENTFILE() == input, "a loaded movement is not written back as it was read");
    std::string reason;
    const std::string saved = FUZZFILE("saved.ocm");
    FUZZCHECK(SAVEMOVEMENTFILE(saved, reason), "a loaded movement cannot be saved");
    FUZZCHECK(FUZZREAD(saved) == input, "a saved movement is not the file it was loaded from");

    // One pair fewer than the file names: the loader must refuse it and leave the
    // movement untouched. (The entry counts before the pairs are no pairs.)
    int lastPair = 0;
    for (std::size_t at = 8 + 4 * std::size_t(s); at + 4 <= size; at += 4)
        lastPair = std::max(lastPair, i32At(input, at));
    if (NumPairs > 1 && lastPair == NumPairs) {
        --Header.NumPairs;
        FUZZCHECK(LOADMOVEMENTFILE(path) == MOVEMENT_UNREADABLE,
                  "a movement with a pair beyond the tournament loads");
        FUZZCHECK(ENCODEMOVEMENTFILE() == input, "a refused load changed the movement");
    }
    return 0;
}
