// The players register (Players.opd): whatever the bytes, loading never goes
// wrong; a register that loads whole is saved and loaded back the same; one that
// stops at a bad line is kept whole as a dated copy; the list, its sorts and the
// name look-up stay within the register.
#include "fuzzsupport.h"

#include "core/programfolder.h"
#include "players/players.h"

#include <cstring>
#include <vector>

namespace {

struct Register {
    std::vector<std::string> names;
    std::vector<std::int32_t> ratings, deltas;
    bool operator==(const Register&) const = default;
};

Register current() {
    Register r;
    for (int i = 1; i <= RegisteredCount; ++i) {
        r.names.emplace_back(RegName(i).c, RegNameLength);
        r.ratings.push_back(RegRating(i));
        r.deltas.push_back(RegDelta(i));
    }
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FUZZRESET();
    const std::string input(reinterpret_cast<const char*>(data), size);
    FUZZWRITE(PROGRAMFILE("Players.opd"), input);
    const int loaded = LOADPLAYERS();
    FUZZCHECK(loaded == RegisteredCount && loaded >= 0 && loaded <= RegCapacity,
              "LOADPLAYERS's count is not the register's");
    for (int i = 1; i <= RegisteredCount; ++i) {
        FUZZCHECK(RegName(i).c[30] == ' ' && RegName(i).c[31] == ' ',
                  "a registered name is longer than 30 characters");
        FUZZCHECK(RegRating(i) >= RegFieldMin && RegRating(i) <= RegFieldMax &&
                      RegDelta(i) >= RegFieldMin && RegDelta(i) <= RegFieldMax,
                  "a number read from a 6-character field is outside what one holds");
        const int k = FINDREGPLAYER(std::string_view(RegName(i).c, NameLength));
        FUZZCHECK(k >= 1 && k <= i, "a registered name is not found");
    }
    for (int key : {SORT_NAME, SORT_RATING, SORT_DELTA}) {
        SORTPLAYERS(key);
        std::vector<bool> seen(static_cast<std::size_t>(RegisteredCount) + 1, false);
        for (int k = 1; k <= RegisteredCount; ++k) {
            const int i = RegOrder(k);
            FUZZCHECK(i >= 1 && i <= RegisteredCount && !seen[static_cast<std::size_t>(i)],
                      "a sort of the list is not an order of the register");
            seen[static_cast<std::size_t>(i)] = true;
            FUZZCHECK(PLAYERLISTROW(k).size() == 50, "a list row is not 50 characters");
        }
    }

    if (!PlayersBackupFile.empty() || FUZZMESSAGES() > 0) {
        // The load stopped early: the whole file is kept beside the register.
        FUZZCHECK(!PlayersBackupFile.empty(), "a register read in part was not kept as a copy");
        FUZZCHECK(FUZZREAD(PlayersBackupFile) == input, "the copy of a register is not the file");
        return 0;
    }
    const Register before = current();
    FUZZCHECK(WRITEPLAYERSFILE(), "a register that loaded cannot be saved");
    const std::string saved = FUZZREAD(PlayersFile);
    FUZZCHECK(LOADPLAYERS() == static_cast<int>(before.names.size()) && current() == before,
              "a saved register does not load back the same");
    FUZZCHECK(FUZZMESSAGES() == 0 && PlayersBackupFile.empty(), "a saved register loads with a complaint");
    FUZZCHECK(WRITEPLAYERSFILE() && FUZZREAD(PlayersFile) == saved,
              "a register saved twice is not the same file");
    return 0;
}
