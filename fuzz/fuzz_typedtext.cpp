// What is typed in the fields: the two result fields, the whole and decimal
// numbers of the dialogs, pair identifiers of a custom movement, and the number
// fields and names of the players register. The first byte picks the reader and
// its settings; the rest is the text.
#include "fuzzsupport.h"

#include "core/cp1250.h"
#include "core/results.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "movement/custom.h"
#include "players/players.h"

#include <cmath>
#include <cstdio>

namespace {

bool blank(const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
}

// The value of a result field as READRESULTFIELDS must take it, or false.
bool fieldValue(const std::string& s, int low, int high, int& v) {
    v = 0;
    if (!blank(s) && !READWHOLE(s, v)) return false;
    return v >= low && v <= high;
}

void resultFields(std::uint8_t flags, const std::string& text) {
    const bool adjusted = flags & 1, mp = flags & 2, inverted = !adjusted && (flags & 4);
    const auto cut = text.find('\n');
    const std::string f1 = text.substr(0, cut);
    const std::string f2 = cut == std::string::npos ? std::string() : text.substr(cut + 1);
    float value = 12345.0f;
    const int refused = READRESULTFIELDS(f1, f2, adjusted, mp, inverted, value);
    const ResultLimits l = RESULTLIMITS(adjusted, mp, inverted);
    int x = 0, y = 0;
    const bool ok1 = fieldValue(f1, l.low1, l.high1, x);
    const bool ok2 = !adjusted || fieldValue(f2, l.low2, l.high2, y);
    FUZZCHECK(refused == (!ok1 ? 1 : !ok2 ? 2 : 0), "READRESULTFIELDS refuses another field");
    if (refused) {
        FUZZCHECK(value == 12345.0f, "a refused result changed the stored value");
        return;
    }
    // What is stored reads back as what was typed, in the form it was typed in.
    const DecodedResult r = DECODERESULT(value);
    if (adjusted) {
        FUZZCHECK(r.form == RESULT_ADJUSTED && r.adjustedNS == x && r.adjustedEW == y,
                  "an adjusted score does not read back as typed");
    } else if (inverted) {
        FUZZCHECK(r.form == RESULT_INVERTED && r.score == x, "an inverted score does not read back");
    } else if (x == 0) {
        FUZZCHECK(r.form == RESULT_NONE, "a score of 0 reads back as a result");
    } else {
        FUZZCHECK(r.form == RESULT_ORDINARY && r.score == x, "a score does not read back as typed");
    }
}

void wholeAndDecimal(const std::string& text) {
    int v = 0;
    if (READWHOLE(text, v)) {
        int again = 0;
        FUZZCHECK(READWHOLE(std::to_string(v), again) && again == v,
                  "a whole number does not read back from its digits");
        FUZZCHECK(!blank(text), "blank text reads as a whole number");
    }
    float f = 0;
    if (READDECIMAL(text, f)) {
        FUZZCHECK(std::isfinite(f) && std::fabs(f) <= 9999.0f, "a decimal outside +-9999 is taken");
        char shown[32];
        std::snprintf(shown, sizeof shown, "%.1f", static_cast<double>(f));
        float again = 0;
        FUZZCHECK(READDECIMAL(shown, again) && std::fabs(again - f) <= 0.05f + 1e-3f * std::fabs(f),
                  "a decimal does not read back from its one-decimal text");
    }
}

void pairIds(std::uint8_t flags, const std::string& text) {
    // Settings of the custom movement editor; the pairs as the text's first bytes say.
    Header.MovementType = MOVE_CUSTOM;
    NsEwFormat = TOLOGICAL(flags & 1);
    TwoSections = TOLOGICAL(flags & 2);
    const unsigned char a = text.size() > 0 ? static_cast<unsigned char>(text[0]) : 0;
    const unsigned char b = text.size() > 1 ? static_cast<unsigned char>(text[1]) : 0;
    Header.NumPairs = 2 + a % 197;
    SectionOnePairs = b % (Header.NumPairs + 2);
    const std::string typed = text.size() > 2 ? text.substr(2) : std::string();
    FUZZCHECK(!PAIRIDFORMS().empty(), "no form of identifier is named");
    for (int p = 1; p <= NumPairs; ++p) {
        const std::string id = GETPAIRID(p);
        FUZZCHECK(id.size() == 4, "an identifier is not 4 characters");
        FUZZCHECK(READPAIRID(id) == p, "an identifier does not read back as its pair");
        FUZZCHECK(READPAIRID(PAIRTEXT(p)) == p, "a pair as the views show it does not read back");
    }
    const int p = READPAIRID(typed);
    FUZZCHECK(p == -1 || p >= 0, "READPAIRID gives a negative pair");
}

void registerFields(const std::string& text) {
    std::int32_t v = 0;
    if (REGFIELDVALUE(text, v) && text.size() <= 6)
        FUZZCHECK(v >= RegFieldMin && v <= RegFieldMax, "a 6-character field reads beyond what it holds");
    const int rating = REGRATINGFROMTEXT(text);
    FUZZCHECK(rating >= RegFieldMin && rating <= RegFieldMax, "a rating field reads beyond 6 characters");
    std::string name;
    if (REGNAMEFROMUTF8(text, "Name", name)) {
        FUZZCHECK(name.size() <= RegNameLength, "a register name is longer than 30 characters");
        FUZZCHECK(ISUTF8(text), "text that is not UTF-8 is taken as a name");
    } else {
        FUZZCHECK(FUZZMESSAGES() > 0, "a name refused without a message");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    FUZZRESET();
    const std::uint8_t pick = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (pick % 4) {
    case 0: resultFields(static_cast<std::uint8_t>(pick >> 2), text); break;
    case 1: wholeAndDecimal(text); break;
    case 2: pairIds(static_cast<std::uint8_t>(pick >> 2), text); break;
    default: registerFields(text); break;
    }
    return 0;
}
