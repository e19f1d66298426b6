// The players register: its arrays, its file, the name matching and the order
// of the list.
#include "players/players.h"

#include "core/clock.h"
#include "core/cp1250.h"
#include "core/filelock.h"
#include "core/hooks.h"
#include "core/programfolder.h"
#include "core/safefile.h"
#include "core/strings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace fs = std::filesystem;

std::int32_t RegisteredCount = 0;
std::int32_t RegCapacity = 0;
Array<PlayerName, 1> RegName;
Array<std::int32_t, 1> RegRating;
Array<std::int32_t, 1> RegDelta;
Array<std::int32_t, 1> RegOrder;
std::string PlayersFile;
std::string PlayersBackupFile;

namespace {

// Set when the load stopped at a line it could not read: the file holds players
// the register does not, so it is copied aside before it is first replaced, and
// an append must rewrite it (a record after the bad line would never be read).
bool loadStoppedEarly = false;
bool backupPending = false;

// The bytes of the file that the register in memory holds (as last read or
// written), so that a change under the lock re-reads only a file that another
// program changed meanwhile. imageKnown is false when the file could not be read.
std::string fileImage;
bool imageKnown = false;

PlayerName blankName() {
    PlayerName n;
    std::memset(n.c, ' ', sizeof n.c);
    return n;
}

// A name as it is compared: cut at a NUL (a tournament name also after 30
// characters), the letters A-Z as a-z; beyond its end it reads as blanks.
std::string_view nameKey(std::string_view s, bool cutTo30) {
    if (const auto z = s.find('\0'); z != std::string_view::npos) s = s.substr(0, z);
    if (cutTo30 && s.size() > RegNameLength) s = s.substr(0, RegNameLength);
    return s;
}

char keyAt(std::string_view s, std::size_t i) {
    const char c = i < s.size() ? s[i] : ' ';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string regNameText(int i) {
    return FIELDTEXT(RegName(i).c, RegNameLength);
}

// The text of a name for a message.
std::string shown(const std::string& name) {
    return "\"" + CP1250TOUTF8(FIELDTEXT(name.c_str(), static_cast<int>(name.size()))) + "\"";
}

// A number of a record: blanks ignored, nothing at all reads 0; false for
// anything but an optional sign and digits, and for a number no 32-bit value holds.
bool readField(std::string_view f, std::int32_t& value) {
    std::string digits;
    for (char c : f)
        if (c != ' ') digits += c;
    value = 0;
    if (digits.empty()) return true;
    std::size_t at = 0;
    bool negative = false;
    if (digits[0] == '+' || digits[0] == '-') {
        negative = digits[0] == '-';
        at = 1;
    }
    if (at == digits.size()) return false;
    std::int64_t v = 0;
    for (; at < digits.size(); ++at) {
        if (digits[at] < '0' || digits[at] > '9') return false;
        v = v * 10 + (digits[at] - '0');
        if (v > std::int64_t{INT32_MAX} + 1) return false;
    }
    if (!negative && v > INT32_MAX) return false;
    value = static_cast<std::int32_t>(negative ? -v : v);
    return true;
}

// One character as UTF-8, in quotes, with its code.
std::string utf8Char(char32_t c) {
    std::string s = UTF8OF(c);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    return "\"" + s + "\" (" + code + ")";
}

bool fits(std::int32_t v) {
    return v >= RegFieldMin && v <= RegFieldMax;
}

// One record of the file: name in 30 columns, rating and delta in 6 each, CR LF.
std::string record(int i) {
    return std::string(RegName(i).c, RegNameLength) + IWRITE(RegRating(i), 6, true) +
           IWRITE(RegDelta(i), 6, true) + "\r\n";
}

// The register file's bytes. A missing file reads as no bytes (`exists` false);
// false, with `reason`, for one that is there but cannot be read or is not a
// regular file (a pipe would never end).
bool readRegister(std::string& bytes, std::string& reason, bool* exists = nullptr) {
    bytes.clear();
    if (exists) *exists = false;
    std::error_code ec;
    const auto status = fs::symlink_status(UTF8PATH(PlayersFile), ec);
    if (ec || !fs::exists(status)) {
        if (ec && ec != std::errc::no_such_file_or_directory) {
            reason = ec.message();
            return false;
        }
        return true;
    }
    // A link that leads nowhere is a missing file as well.
    if (fs::is_symlink(status) && !fs::exists(UTF8PATH(PlayersFile), ec)) return true;
    if (exists) *exists = true;
    return READREGULARFILE(PlayersFile, bytes, reason);
}

bool folderKnown() {
    if (!PlayersFile.empty()) return true;
    SHOWMESSAGE("The players register cannot be saved: the program's folder is not known.",
                "Error");
    return false;
}

bool writeFailed(const std::string& reason) {
    SHOWMESSAGE("The players register " + PlayersFile + " could not be saved: " + reason +
                    ". The file is unchanged.",
                "Error");
    return false;
}

// "Players" + yyyymmdd + "-n.opd" beside the register, n the first number free,
// so that no earlier copy is ever replaced.
std::string freeBackupName() {
    const std::string date = TODAYSTAMP();
    for (int n = 1;; ++n) {
        const std::string name = PROGRAMFILE("Players" + date + "-" +
                                             std::to_string(n) + ".opd");
        std::error_code ec;
        if (!fs::exists(UTF8PATH(name), ec) && !ec) return name;
        if (n > 9999) return std::string();
    }
}

// An earlier dated copy ("Players" + yyyymmdd + "-n.opd") that holds exactly
// `bytes`, "" when there is none: a register is kept once per content, not at
// every start.
std::string sameBackup(const std::string& bytes) {
    std::error_code ec;
    const fs::path folder = UTF8PATH(PlayersFile).parent_path();
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::u8string u = it->path().filename().u8string();
        const std::string file(u.begin(), u.end());
        if (file.size() < 16 || file.rfind("Players", 0) != 0 || file[15] != '-' ||
            file.substr(file.size() - 4) != ".opd" ||
            file.find_first_not_of("0123456789", 7) != 15)
            continue;
        std::error_code e2;
        if (!it->is_regular_file(e2) || it->file_size(e2) != bytes.size() || e2) continue;
        const std::string name = PROGRAMFILE(file);
        std::string other, reason;
        if (READREGULARFILE(name, other, reason) && other == bytes) return name;
    }
    return std::string();
}

// Copies the register file as it was read (`bytes`) to a dated copy beside it,
// unless such a copy is there already. False, with the reason, when that cannot
// be done.
bool keepBackup(const std::string& bytes, std::string& reason) {
    if (const std::string same = sameBackup(bytes); !same.empty()) {
        PlayersBackupFile = same;
        backupPending = false;
        return true;
    }
    const std::string name = freeBackupName();
    if (name.empty()) {
        reason = "no free name for a copy";
        return false;
    }
    if (!SAFEWRITEFILE(name, bytes.data(), bytes.size(), reason)) return false;
    PlayersBackupFile = name;
    backupPending = false;
    return true;
}

// Before the file is first replaced after a load that stopped early, its
// original is kept. False, with a message, when the copy cannot be made.
bool backupBeforeRewrite() {
    if (!backupPending) return true;
    std::string reason;
    if (imageKnown && keepBackup(fileImage, reason)) return true;
    if (!imageKnown) reason = "it cannot be read";
    SHOWMESSAGE("The players register " + PlayersFile +
                    " was not read to its end, and a copy of it could not be kept (" + reason +
                    "), so it is not replaced. No player has been lost.",
                "Error");
    return false;
}

// The whole register, or false with a message when a number does not fit its field.
bool registerImage(std::string& image) {
    image.clear();
    image.reserve(static_cast<std::size_t>(RegisteredCount) * 44);
    for (int i = 1; i <= RegisteredCount; ++i) {
        if (!fits(RegRating(i)) || !fits(RegDelta(i))) {
            const bool rating = !fits(RegRating(i));
            SHOWMESSAGE("The players register is not saved: the " +
                            std::string(rating ? "rating" : "rating change") + " of " +
                            shown(regNameText(i)) + " is " +
                            std::to_string(rating ? RegRating(i) : RegDelta(i)) +
                            ", which its 6-character field cannot hold (-99999 to 999999).",
                        "Error");
            return false;
        }
        image += record(i);
    }
    return true;
}

// The register as it was before a change, to be put back when the change cannot
// be saved.
struct Snapshot {
    std::int32_t count;
    std::vector<PlayerName> names;
    std::vector<std::int32_t> ratings, deltas;
};

Snapshot snapshot() {
    Snapshot s{RegisteredCount, {}, {}, {}};
    for (int i = 1; i <= RegisteredCount; ++i) {
        s.names.push_back(RegName(i));
        s.ratings.push_back(RegRating(i));
        s.deltas.push_back(RegDelta(i));
    }
    return s;
}

void restore(const Snapshot& s) {
    RegisteredCount = s.count;
    for (int i = 1; i <= s.count; ++i) {
        RegName(i) = s.names[static_cast<std::size_t>(i - 1)];
        RegRating(i) = s.ratings[static_cast<std::size_t>(i - 1)];
        RegDelta(i) = s.deltas[static_cast<std::size_t>(i - 1)];
    }
}

// Puts `name` (first 30 characters) as a new last element. False, with a
// message, when the arrays cannot grow.
bool addElement(const std::string& name, int rating, int delta) {
    if (RegisteredCount + 1 > RegCapacity && !REGPLAYERREALLOC(RegisteredCount + 1)) {
        SHOWMESSAGE("There is not enough memory for another player.", "Error");
        return false;
    }
    ++RegisteredCount;
    PlayerName n = blankName();
    std::memcpy(n.c, name.data(), std::min<std::size_t>(name.size(), RegNameLength));
    RegName(RegisteredCount) = n;
    RegRating(RegisteredCount) = rating;
    RegDelta(RegisteredCount) = delta;
    return true;
}

bool nameLongEnough(const std::string& name) {
    const std::string text = FIELDTEXT(name.c_str(), static_cast<int>(name.size()));
    // A line break or any other control character would break the register's lines.
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b == 0x7F) {
            SHOWMESSAGE(CONTROLNAMEMESSAGE("Name", b), "Error");
            return false;
        }
    }
    if (text.size() >= 2) return true;
    SHOWMESSAGE("Name: type a name of at least 2 characters.", "Error");
    return false;
}

bool ratingFits(int rating) {
    if (fits(rating)) return true;
    SHOWMESSAGE("Rating: " + std::to_string(rating) +
                    " is not a rating the register can hold (-99999 to 999999).",
                "Error");
    return false;
}

// Rewrites the file; on failure the register goes back to `before`.
bool saveOrUndo(const Snapshot& before) {
    if (WRITEPLAYERSFILE()) return true;
    restore(before);
    return false;
}

} // namespace

void RESETPLAYERS() {
    RegisteredCount = 0;
    RegCapacity = 0;
    RegName.release();
    RegRating.release();
    RegDelta.release();
    RegOrder.release();
    if (RegName.allocate(RegStartCapacity) && RegRating.allocate(RegStartCapacity) &&
        RegDelta.allocate(RegStartCapacity) && RegOrder.allocate(RegStartCapacity)) {
        RegCapacity = RegStartCapacity;
        RegName.fill(blankName());
        for (int k = 1; k <= RegCapacity; ++k)
            RegOrder(k) = k;
    }
    PlayersFile = PROGRAMFILE("Players.opd");
    PlayersBackupFile.clear();
    loadStoppedEarly = false;
    backupPending = false;
    fileImage.clear();
    imageKnown = false;
}

namespace {
const bool playersReady = (RESETPLAYERS(), true);
} // namespace

bool REGPLAYERREALLOC(int count) {
    const int capacity = count + RegGrowth;
    if (capacity <= RegCapacity) return true;
    Array<PlayerName, 1> names;
    Array<std::int32_t, 1> ratings, deltas, order;
    if (!names.allocate(capacity) || !ratings.allocate(capacity) || !deltas.allocate(capacity) ||
        !order.allocate(capacity))
        return false;
    names.fill(blankName());
    for (int i = 1; i <= RegCapacity; ++i) {
        // Only the first 30 characters of a name are kept.
        PlayerName n = blankName();
        std::memcpy(n.c, RegName(i).c, RegNameLength);
        names(i) = n;
        ratings(i) = RegRating(i);
        deltas(i) = RegDelta(i);
        order(i) = RegOrder(i);
    }
    for (int i = RegCapacity + 1; i <= capacity; ++i)
        order(i) = i;
    RegName = std::move(names);
    RegRating = std::move(ratings);
    RegDelta = std::move(deltas);
    RegOrder = std::move(order);
    RegCapacity = capacity;
    return true;
}

namespace {

// Empties the arrays for a fresh read of the file; the file's name and the
// dated copy already made stay.
void clearRegister() {
    const std::string file = PlayersFile, backup = PlayersBackupFile;
    RESETPLAYERS();
    PlayersFile = file;
    PlayersBackupFile = backup;
}

// Fills the register from the file's bytes: records until the first that cannot
// be read; blank lines are passed over. When a line stops it, the user is told
// which, and the bytes are kept as a dated copy (once per content).
void fillRegister(const std::string& bytes) {
    clearRegister();
    // Room for every line at once, not 50 more at a time.
    std::size_t lineCount = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    if (!bytes.empty() && bytes.back() != '\n') ++lineCount;
    const auto lines = static_cast<int>(std::min<std::size_t>(lineCount, 100000000));
    if (lines > RegCapacity) REGPLAYERREALLOC(lines);

    std::size_t at = 0;
    int line = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\n', at);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) end = bytes.size();
        std::string_view text(bytes.data() + at, end - at);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        ++line;
        at = next;
        // A blank line holds no player (a file ended twice, an editor's last line).
        if (text.find_first_not_of(' ') == std::string_view::npos) continue;
        // A short line is blank padded; columns beyond 42 are not read.
        std::string rec(text.substr(0, 42));
        rec.resize(42, ' ');
        std::int32_t rating = 0, delta = 0;
        if (!readField(std::string_view(rec).substr(30, 6), rating) ||
            !readField(std::string_view(rec).substr(36, 6), delta)) {
            loadStoppedEarly = true;
            break;
        }
        if (!addElement(rec.substr(0, RegNameLength), rating, delta)) break;
    }
    fileImage = bytes;
    imageKnown = true;

    if (loadStoppedEarly) {
        std::string reason;
        const int loaded = RegisteredCount;
        backupPending = true;
        const bool kept = keepBackup(bytes, reason);
        SHOWMESSAGE("Line " + std::to_string(line) + " of the players register " + PlayersFile +
                        " could not be read. The register was loaded up to it (" +
                        std::to_string(loaded) + (loaded == 1 ? " player" : " players") + "). " +
                        (kept ? "The whole file was kept as " + PlayersBackupFile + "."
                              : "The whole file will be kept as a dated copy before the "
                                "register is next saved."),
                    "Players register", MSG_OK_WARNING);
    }
}

// The register's names in register order, to follow the players through a re-read.
std::vector<PlayerName> registerNames() {
    std::vector<PlayerName> names;
    names.reserve(static_cast<std::size_t>(RegisteredCount));
    for (int i = 1; i <= RegisteredCount; ++i)
        names.push_back(RegName(i));
    return names;
}

// For each entry of the register now, the index the same player had among
// `before` (the n-th of a name is the n-th of that name before), 0 for a player
// who was not there; element 0 unused.
std::vector<int> formerIndices(const std::vector<PlayerName>& before) {
    std::unordered_map<std::string, std::vector<int>> at;
    for (std::size_t i = before.size(); i-- > 0;)
        at[std::string(before[i].c, RegNameLength)].push_back(static_cast<int>(i) + 1);
    std::vector<int> was(static_cast<std::size_t>(RegisteredCount) + 1, 0);
    for (int k = 1; k <= RegisteredCount; ++k) {
        const auto it = at.find(std::string(RegName(k).c, RegNameLength));
        if (it == at.end() || it->second.empty()) continue;
        was[static_cast<std::size_t>(k)] = it->second.back();
        it->second.pop_back();
    }
    return was;
}

} // namespace

int LOADPLAYERS() {
    RESETPLAYERS();
    if (PlayersFile.empty()) return 0;
    std::string bytes, reason;
    if (!readRegister(bytes, reason)) {
        // A register that is there but cannot be read must not be replaced by
        // one made from nothing.
        loadStoppedEarly = true;
        backupPending = true;
        SHOWMESSAGE("The players register " + PlayersFile + " could not be read (" + reason +
                        "), so it starts empty; it is not replaced until it can be read.",
                    "Players register", MSG_OK_WARNING);
        return 0;
    }
    fillRegister(bytes);
    return RegisteredCount;
}

bool LOCKREGISTER(FileLock& lock, std::vector<int>* was) {
    if (!folderKnown()) return false;
    std::string reason;
    if (!LOCKFILE(PlayersFile, lock, reason)) {
        SHOWMESSAGE("The players register " + PlayersFile + " is not changed: " + reason + ".",
                    "Error");
        return false;
    }
    std::string bytes;
    bool exists = false;
    if (!readRegister(bytes, reason, &exists)) {
        UNLOCKFILE(lock);
        SHOWMESSAGE("The players register " + PlayersFile + " cannot be read (" + reason +
                        "), so it is not changed.",
                    "Error");
        return false;
    }
    // A register that was never read from a file, with no file now, has nothing
    // to take from the disk.
    const bool same = imageKnown ? bytes == fileImage : !exists;
    std::vector<PlayerName> before;
    if (was && !same) before = registerNames();
    if (!same) {
        loadStoppedEarly = false;
        backupPending = false;
        fillRegister(bytes);
    }
    if (was) {
        if (same) {
            was->resize(static_cast<std::size_t>(RegisteredCount) + 1);
            for (int k = 0; k <= RegisteredCount; ++k)
                (*was)[static_cast<std::size_t>(k)] = k;
        } else {
            *was = formerIndices(before);
        }
    }
    return true;
}

bool NameMatches(std::string_view tournamentName, std::string_view registeredName) {
    const std::string_view a = nameKey(tournamentName, true);
    const std::string_view b = nameKey(registeredName, false);
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (keyAt(a, i) != keyAt(b, i)) return false;
    return true;
}

bool NameMatches(const PlayerName& tournamentName, const PlayerName& registeredName) {
    return NameMatches(std::string_view(tournamentName.c, NameLength),
                       std::string_view(registeredName.c, NameLength));
}

std::string MATCHKEY(std::string_view name, bool tournamentName) {
    const std::string_view s = nameKey(name, tournamentName);
    std::string key(std::max<std::size_t>(s.size(), NameLength), ' ');
    for (std::size_t i = 0; i < key.size(); ++i)
        key[i] = keyAt(s, i);
    return key;
}

int FINDREGPLAYER(std::string_view name) {
    for (int k = 1; k <= RegisteredCount; ++k)
        if (NameMatches(name, std::string_view(RegName(k).c, NameLength))) return k;
    return 0;
}

void SORTPLAYERS(int key) {
    const int n = RegisteredCount;
    for (int k = 1; k <= n; ++k)
        RegOrder(k) = k;
    if (n < 2 || (key != SORT_NAME && key != SORT_RATING && key != SORT_DELTA)) return;
    std::int32_t* first = &RegOrder(1);
    // Stable: players that compare equal keep their register order.
    if (key == SORT_NAME)
        std::stable_sort(first, first + n, [](std::int32_t a, std::int32_t b) {
            return std::memcmp(RegName(a).c, RegName(b).c, NameLength) < 0;
        });
    else if (key == SORT_RATING)
        std::stable_sort(first, first + n,
                         [](std::int32_t a, std::int32_t b) { return RegRating(a) > RegRating(b); });
    else
        std::stable_sort(first, first + n,
                         [](std::int32_t a, std::int32_t b) { return RegDelta(a) > RegDelta(b); });
}

std::string PLAYERLISTROW(int k) {
    if (k < 1 || k > RegisteredCount) return std::string(50, ' ');
    int i = RegOrder(k);
    if (i < 1 || i > RegisteredCount) i = k;
    const auto number = [](int v) {
        const int width = std::max<int>(4, static_cast<int>(std::to_string(v).size()));
        return IWRITE(v, width, true);
    };
    std::string row = regNameText(i) + "\t" + number(RegRating(i)) + "\t" + number(RegDelta(i));
    row.resize(50, ' ');
    return row;
}

bool REGNAMEFROMUTF8(const std::string& utf8, const std::string& field, std::string& name) {
    char32_t bad = 0;
    if (FINDCONTROL(utf8, bad)) {
        SHOWMESSAGE(CONTROLNAMEMESSAGE(field, bad), "Error");
        return false;
    }
    if (!UTF8TOCP1250(utf8, name, &bad)) {
        SHOWMESSAGE(field + ": the character " + utf8Char(bad) +
                        " cannot be kept in the players register (it holds the letters of "
                        "Windows-1250).",
                    "Error");
        return false;
    }
    if (name.size() > RegNameLength) name.resize(RegNameLength);
    return true;
}

bool REGFIELDVALUE(std::string_view field, std::int32_t& value) {
    return readField(field, value);
}

int REGRATINGFROMTEXT(const std::string& text) {
    std::int32_t v = 0;
    return readField(std::string_view(text).substr(0, std::min<std::size_t>(text.size(), 6)), v)
               ? v
               : 0;
}

bool WRITEPLAYERSFILE() {
    if (!folderKnown()) return false;
    std::string bytes;
    if (!registerImage(bytes)) return false;
    if (!backupBeforeRewrite()) return false;
    std::string reason;
    if (!SAFEWRITEFILE(PlayersFile, bytes.data(), bytes.size(), reason))
        return writeFailed(reason);
    loadStoppedEarly = false;
    fileImage = std::move(bytes);
    imageKnown = true;
    return true;
}

bool REGISTERNEWPLAYER(const std::string& name) {
    if (!nameLongEnough(name)) return false;
    FileLock lock;
    if (!LOCKREGISTER(lock)) return false;
    if (FINDREGPLAYER(name)) {
        SHOWMESSAGE("Name: " + shown(name) + " is already registered.", "Error");
        return false;
    }
    const Snapshot before = snapshot();
    if (!addElement(name, 0, 0)) return false;
    return saveOrUndo(before);
}

bool APPENDREGPLAYER(const std::string& name, int rating) {
    if (!nameLongEnough(name) || !ratingFits(rating)) return false;
    FileLock lock;
    if (!LOCKREGISTER(lock)) return false;
    if (FINDREGPLAYER(name)) {
        SHOWMESSAGE("Name: " + shown(name) + " is already registered.", "Error");
        return false;
    }
    const Snapshot before = snapshot();
    if (!addElement(name, rating, rating)) return false;
    // After a load that stopped early the file is rewritten instead: a record
    // appended after the unreadable line would never be read again.
    if (loadStoppedEarly) return saveOrUndo(before);

    // The file as read under the lock, with the new record after its last line.
    std::string bytes = fileImage;
    if (!bytes.empty() && bytes.back() != '\n') bytes += "\r\n";
    bytes += record(RegisteredCount);
    std::string reason;
    if (!SAFEWRITEFILE(PlayersFile, bytes.data(), bytes.size(), reason)) {
        restore(before);
        return writeFailed(reason);
    }
    fileImage = std::move(bytes);
    return true;
}

// A refused removal or change writes nothing: the file stays as it is.
bool REMOVEREGPLAYER(const std::string& name) {
    FileLock lock;
    if (!LOCKREGISTER(lock)) return false;
    const int k = FINDREGPLAYER(name);
    if (!k) {
        SHOWMESSAGE("Name: " + shown(name) + " is not registered; nobody was removed.", "Error");
        return false;
    }
    const Snapshot before = snapshot();
    for (int i = k; i < RegisteredCount; ++i) {
        RegName(i) = RegName(i + 1);
        RegRating(i) = RegRating(i + 1);
        RegDelta(i) = RegDelta(i + 1);
    }
    --RegisteredCount;
    return saveOrUndo(before);
}

bool CHANGEREGRATING(const std::string& name, int rating) {
    if (!ratingFits(rating)) return false;
    FileLock lock;
    if (!LOCKREGISTER(lock)) return false;
    const int k = FINDREGPLAYER(name);
    if (!k) {
        SHOWMESSAGE("Name: " + shown(name) + " is not registered; no rating was changed.",
                    "Error");
        return false;
    }
    const Snapshot before = snapshot();
    RegRating(k) = rating;
    return saveOrUndo(before);
}

std::string TODAYSTAMP() {
    return TIMETEXT(LOCALTIME(std::time(nullptr)), "%Y%m%d");
}
