// Custom movements: pair identifiers in the editor's forms and the movement file.
#include "movement/custom.h"

#include "core/programfolder.h"
#include "core/safefile.h"
#include "core/strings.h"

#include <charconv>
#include <filesystem>
#include <fstream>

Logical NsEwFormat = LFALSE;
Logical TwoSections = LFALSE;
std::int32_t SectionOnePairs = 0;

const char* const MovementReadError = "Error reading file.";
const char* const MovementWriteError = "Error writing file.";
const char* const MovementIncompatible =
    "The stored movement is incompatible with current number of rounds and board sets";

void RESETCUSTOMMOVEMENT() {
    NsEwFormat = LFALSE;
    TwoSections = LFALSE;
    SectionOnePairs = 0;
}

namespace {

// Pairs of the first section: SectionOnePairs when it names a part of the field,
// otherwise every pair.
int sectionOne() {
    return SectionOnePairs >= 1 && SectionOnePairs <= NumPairs ? SectionOnePairs : NumPairs;
}

bool twoSections() {
    return ISTRUE(NsEwFormat) && ISTRUE(TwoSections);
}

// At least 4 characters; a longer identifier is kept whole.
std::string padded(std::string s) {
    if (s.size() < 4) s.resize(4, ' ');
    return s;
}

// The digits of the numbers of a line (one direction of a section) of n pairs:
// two, three from 100 pairs on, so that no two pairs of the line share a name.
int lineDigits(int n) {
    return n >= 100 ? 3 : 2;
}

// "N" + the number of the pair in its line of n pairs.
std::string inLine(const std::string& prefix, int number, int n) {
    return prefix + IWRITE(number, lineDigits(n), true);
}

// A whole decimal number of at most three digits, nothing else.
bool readNumber(const std::string& s, int& value) {
    if (s.empty() || s.size() > 3) return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size() && s[0] != '-' && s[0] != '+';
}

std::string trimmed(const std::string& s) {
    const auto a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

void putI32(std::string& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < 4; ++b) out += static_cast<char>((u >> (8 * b)) & 0xFF);
}

std::int32_t getI32(const std::string& in, std::size_t at) {
    std::uint32_t u = 0;
    for (int b = 0; b < 4; ++b)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + static_cast<std::size_t>(b)]))
             << (8 * b);
    return static_cast<std::int32_t>(u);
}

// Bytes of a movement file of r rounds and s sets.
std::uint64_t fileSize(std::uint64_t r, std::uint64_t s) {
    return 8 + 4 * s + 8 * s * r;
}

} // namespace

std::string GETPAIRID(int pair) {
    if (!ISTRUE(NsEwFormat)) return IWRITE(pair, 4, true);
    if (!twoSections()) {
        const int h = NumPairs / 2;
        return padded(pair <= h ? inLine("N", pair, h) : inLine("E", pair - h, NumPairs - h));
    }
    const int p1 = sectionOne();
    if (pair <= p1) {
        const int h1 = p1 / 2;
        return padded(pair <= h1 ? inLine("1N", pair, h1) : inLine("1E", pair - h1, p1 - h1));
    }
    const int h2 = (NumPairs - p1) / 2 + p1;
    return padded(pair <= h2 ? inLine("2N", pair - p1, h2 - p1) : inLine("2E", pair - h2, NumPairs - h2));
}

std::string PAIRTEXT(int pair) {
    if (MovementType != MOVE_CUSTOM) return std::to_string(pair);
    return trimmed(GETPAIRID(pair));
}

int READPAIRID(const std::string& typed) {
    const std::string text = TOUPPER(trimmed(typed));
    int n = 0;
    if (!ISTRUE(NsEwFormat)) return readNumber(text, n) ? n : -1;
    if (text.empty()) return -1;
    std::size_t at = 0;
    int base = 0, half = NumPairs / 2;
    if (twoSections()) {
        const int p1 = sectionOne();
        if (text[0] == '1') {
            half = p1 / 2;
        } else if (text[0] == '2') {
            base = p1;
            half = (NumPairs - p1) / 2;
        } else {
            return -1;
        }
        at = 1;
    }
    if (at >= text.size() || (text[at] != 'N' && text[at] != 'E')) return -1;
    if (text[at] == 'E') base += half;
    if (!readNumber(trimmed(text.substr(at + 1)), n) || n < 1) return -1;
    return base + n;
}

std::string PAIRIDFORMS() {
    if (!ISTRUE(NsEwFormat)) return "a pair number from 1 to " + std::to_string(NumPairs);
    auto line = [](const std::string& prefix, int n) {
        return n >= 1 ? prefix + "1.." + prefix + std::to_string(n) : std::string();
    };
    if (!twoSections()) {
        const int h = NumPairs / 2;
        return line("N", h) + " or " + line("E", NumPairs - h);
    }
    const int p1 = sectionOne(), h1 = p1 / 2, h2 = (NumPairs - p1) / 2;
    std::string out = line("1N", h1) + ", " + line("1E", p1 - h1);
    if (NumPairs > p1) out += ", " + line("2N", h2) + ", " + line("2E", NumPairs - p1 - h2);
    return out;
}

bool DECODEMOVEMENTFILE(const std::string& bytes, int maxPair, StoredMovement& out) {
    if (bytes.size() < 8) return false;
    const std::int32_t r = getI32(bytes, 0), s = getI32(bytes, 4);
    if (r < 1 || r > MaxMovementCount || s < 1 || s > MaxMovementCount) return false;
    if (bytes.size() != fileSize(static_cast<std::uint64_t>(r), static_cast<std::uint64_t>(s)))
        return false;
    StoredMovement m;
    m.rounds = r;
    m.sets = s;
    std::size_t at = 8;
    for (int k = 1; k <= s; ++k, at += 4) {
        const std::int32_t e = getI32(bytes, at);
        if (e < 0 || e > r) return false;
        m.entries.push_back(e);
    }
    const std::size_t cells = static_cast<std::size_t>(s) * static_cast<std::size_t>(r) * 2;
    m.pairs.reserve(cells);
    for (std::size_t c = 0; c < cells; ++c, at += 4) {
        const std::int32_t p = getI32(bytes, at);
        if (p < 0 || p > maxPair) return false;
        m.pairs.push_back(p);
    }
    out = std::move(m);
    return true;
}

std::string ENCODEMOVEMENTFILE() {
    const int r = NumRounds, s = NumBoardSets;
    std::string out;
    if (r < 1 || s < 1) return out;
    out.reserve(static_cast<std::size_t>(fileSize(static_cast<std::uint64_t>(r),
                                                  static_cast<std::uint64_t>(s))));
    putI32(out, r);
    putI32(out, s);
    for (int k = 1; k <= s; ++k) putI32(out, SetEntries.contains(k) ? SetEntries(k) : 0);
    for (int side = 1; side <= 2; ++side)
        for (int i = 1; i <= r; ++i)
            for (int k = 1; k <= s; ++k)
                putI32(out, Movement.contains(k, i, side) ? Movement(k, i, side) : 0);
    return out;
}

bool READMOVEMENTBYTES(const std::string& name, std::string& bytes) {
    namespace fs = std::filesystem;
    const fs::path path = UTF8PATH(name);
    std::error_code ec;
    if (name.empty() || !fs::is_regular_file(path, ec)) return false;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > fileSize(MaxMovementCount, MaxMovementCount)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    // A file that grew while it was read is not the one measured.
    return static_cast<std::uintmax_t>(in.gcount()) == size && in.peek() == EOF;
}

int LOADMOVEMENTFILE(const std::string& name) {
    std::string bytes;
    if (!READMOVEMENTBYTES(name, bytes) || bytes.size() < 8) return MOVEMENT_UNREADABLE;
    const std::int32_t r = getI32(bytes, 0), s = getI32(bytes, 4);
    if (r < 1 || r > MaxMovementCount || s < 1 || s > MaxMovementCount) return MOVEMENT_UNREADABLE;
    if (r != NumRounds || s != NumBoardSets) return MOVEMENT_MISMATCH;
    StoredMovement m;
    if (!DECODEMOVEMENTFILE(bytes, NumPairs, m)) return MOVEMENT_UNREADABLE;
    if (!Movement.allocated() || !SetEntries.allocated() || Movement.extent(1) < s ||
        Movement.extent(2) < r || Movement.extent(3) < 2 || SetEntries.extent(1) < s)
        return MOVEMENT_UNREADABLE;
    for (int k = 1; k <= s; ++k) SetEntries(k) = m.entries[static_cast<std::size_t>(k - 1)];
    for (int side = 1; side <= 2; ++side)
        for (int i = 1; i <= r; ++i)
            for (int k = 1; k <= s; ++k) Movement(k, i, side) = m.pair(k, i, side);
    return MOVEMENT_LOADED;
}

bool SAVEMOVEMENTFILE(const std::string& name, std::string& reason) {
    const std::string image = ENCODEMOVEMENTFILE();
    if (image.empty()) {
        reason = "there is no movement";
        return false;
    }
    // The players register is the program's own file: a movement never replaces it.
    if (const std::string reg = PROGRAMFILE("Players.opd"); !reg.empty() && SAMEFILE(name, reg)) {
        reason = "it is the players register, which is left as it was";
        return false;
    }
    return SAFEWRITEFILE(name, image.data(), image.size(), reason);
}
