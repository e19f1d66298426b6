#include "shell/recalc.h"

#include "core/hooks.h"
#include "core/tournament.h"
#include "players/players.h"
#include "scoring/scoring.h"
#include "shell/entry.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Fingerprint of what the figures were last computed from; 0 when unknown.
std::uint64_t FiguresFrom = 0;

void mix(std::uint64_t& h, const void* data, std::size_t bytes) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < bytes; ++i) {
        h ^= p[i];
        h *= 1099511628211ull;
    }
}

template <class A> void mixArray(std::uint64_t& h, const A& a) {
    const std::uint64_t n = a.allocated() ? a.size() : 0;
    mix(h, &n, sizeof n);
    if (n) mix(h, a.data(), a.bytes());
}

// A 64-bit FNV-1a hash of everything the figures depend on.
std::uint64_t figuresInput() {
    std::uint64_t h = 14695981039346656037ull;
    mix(h, &Header, sizeof Header);
    mixArray(h, Results);
    mixArray(h, PairPenalty);
    mixArray(h, BoardValid);
    mixArray(h, PlayerNames);
    mixArray(h, Movement);
    mixArray(h, SetEntries);
    mix(h, &RegisteredCount, sizeof RegisteredCount);
    for (int k = 1; k <= RegisteredCount && RegRating.allocated() && k <= RegRating.extent(1); ++k) {
        mix(h, &RegRating(k), sizeof(std::int32_t));
        mix(h, RegName(k).c, sizeof RegName(k).c);
    }
    return h == 0 ? 1 : h;
}

// The figures the file stores.
struct Stored {
    std::vector<float> changes;
    std::vector<std::int32_t> ratings;
    bool operator==(const Stored&) const = default;
};

Stored stored() {
    Stored s;
    if (RatingChange.allocated())
        s.changes.assign(RatingChange.data(), RatingChange.data() + RatingChange.size());
    if (PlayerRating.allocated())
        s.ratings.assign(PlayerRating.data(), PlayerRating.data() + PlayerRating.size());
    return s;
}

} // namespace

void RECALCULATE() {
    if (!TournamentOpen) return;
    const Stored before = stored();
    NeedsRecalc = false;
    CALCALL();
    FiguresFrom = figuresInput();
    if (!(stored() == before)) SETSAVE(true);
}

bool RECALCIFCHANGED() {
    if (!TournamentOpen) return true;
    if (!COMMITENTRY()) return false;
    const std::uint64_t input = figuresInput();
    if (input == FiguresFrom) return true;
    RECALCULATE();
    REDRAW();
    return true;
}

void FIGURESTAKEN() {
    FiguresFrom = TournamentOpen ? figuresInput() : 0;
}
