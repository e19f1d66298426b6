// The names the name box offers while a player's name is typed.
#include "core/cp1250.h"
#include "core/tournament.h"
#include "players/players.h"
#include "shell/entry.h"

// The registered players' names in UTF-8, in the register's order; the name
// box sorts them. Empty while the program keeps no register.
std::vector<std::string> REGISTEREDNAMES() {
    std::vector<std::string> names;
    names.reserve(RegisteredCount);
    for (int i = 1; i <= RegisteredCount; ++i) {
        const std::string name = FIELDTEXT(RegName(i).c, NameLength);
        if (!name.empty()) names.push_back(CP1250TOUTF8(name));
    }
    return names;
}
