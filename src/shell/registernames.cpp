// The names the name box offers while a player's name is typed.
#include "shell/entry.h"

// The registered players' names in UTF-8, in the register's order; the name
// box sorts them. Empty while the program keeps no register.
std::vector<std::string> REGISTEREDNAMES() {
    return {};
}
