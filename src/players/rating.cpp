// The players' ratings in a tournament: the look-up in the register, the rating
// change of every player and the masters points.
#include "players/rating.h"

#include "core/hooks.h"
#include "core/programfolder.h"
#include "core/safefile.h"
#include "core/status.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "players/players.h"
#include "scoring/extents.h"
#include "scoring/scoring.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// The pairs whose ratings and changes the arrays hold, within the scoring's extents.
int ratedPairs(const ScoringExtents& x) {
    if (!x.usable || !PlayerRating.allocated() || !RatingChange.allocated()) return 0;
    return std::min({x.pairs, PlayerRating.extent(1), RatingChange.extent(1)});
}

// Valid boards pair p played, counted as the totals count them.
std::vector<int> boardsPlayed(const ScoringExtents& x) {
    std::vector<int> played(static_cast<std::size_t>(x.pairs) + 1, 0);
    std::vector<int> seenInSet(static_cast<std::size_t>(x.pairs) + 1, 0);
    for (int s = 1; s <= x.sets; ++s) {
        int valid = 0;
        for (int b = (s - 1) * x.perRound + 1; b <= s * x.perRound; ++b)
            if (ISTRUE(BoardValid(b))) ++valid;
        for (int i = 1; i <= SETENTRYCOUNT(x, s); ++i)
            for (int side = 1; side <= 2; ++side) {
                const int p = ENTRYPAIR(x, s, i, side);
                if (p == 0 || seenInSet[static_cast<std::size_t>(p)] == s) continue;
                seenInSet[static_cast<std::size_t>(p)] = s;
                played[static_cast<std::size_t>(p)] += valid;
            }
    }
    return played;
}

// Rounds a change to one decimal, halves away from zero, and moves it 0.00001
// away from zero, as the changes are stored.
float roundedChange(float x) {
    const float nudged = x >= 0.0f ? x + 0.00001f : x - 0.00001f;
    const float r = static_cast<float>(std::lround(nudged * 10.0f)) / 10.0f;
    return r >= 0.0f ? r + 0.00001f : r - 0.00001f;
}

// The share of a pair's change that goes to the player whose partner is rated
// `partner`: the weaker partner takes more, between a third and two thirds.
// With both partners and the whole field rated 0 each takes half.
float share(int partner, int r1, int r2, int strength) {
    const double whole = static_cast<double>(r1) + r2 + 2.0 * strength;
    if (whole == 0.0) return 0.5f;
    const double s = (static_cast<double>(partner) + strength) / whole;
    return static_cast<float>(std::clamp(s, 1.0 / 3.0, 2.0 / 3.0));
}

// Rating changes of every player (mode -1).
void ratingChanges() {
    const ScoringExtents x = SCORINGEXTENTS();
    const int n = ratedPairs(x);
    if (n == 0) return;
    const int N = NumPairs, S = TournamentStrength;
    const bool mp = CalcType == CALC_MATCHPOINTS;
    float K;
    if (ISTRUE(HighRated))
        K = mp ? 0.5f : 20.0f;
    else if (N < 10)
        K = mp ? 0.25f : 10.0f;
    else
        K = mp ? 0.375f : 15.0f;
    const std::vector<int> played = boardsPlayed(x);

    for (int i = 1; i <= n; ++i) {
        const int r1 = PlayerRating(i, 1), r2 = PlayerRating(i, 2);
        // A pair that played no valid board has no result to rate.
        if (played[static_cast<std::size_t>(i)] == 0) {
            RatingChange(i, 1) = 0.0f;
            RatingChange(i, 2) = 0.0f;
            continue;
        }
        const int rp = (r1 + r2 + 1) / 2;
        const int diff = rp - S;
        const int s = diff >= 0 ? 1 : -1;
        const int m = EXPECTEDSTEPS(diff >= 0 ? diff : -diff);
        float P = PairPercent(i);
        float v;
        if (mp) {
            v = P - (50.0f + 0.4f * static_cast<float>(s * m));
        } else {
            // In a Berger PairPercent sums the victory points of the matches; the
            // pair's IMPs over all its boards are rated instead, as elsewhere.
            if (MovementType == MOVE_BERGER)
                P = static_cast<float>(IVPRESULT(PairTotal(i), played[static_cast<std::size_t>(i)]));
            const float e = 0.5f + 0.01f * static_cast<float>(s * m);
            if (P < 25.0f) {
                v = P / 30.0f - e;
            } else {
                const int w = IVPRESULT(-PairTotal(i), PAIRBOARDS(i));
                v = P / static_cast<float>(w + 25) - e;
            }
        }
        float d = v * K;
        // A strong result never costs rating.
        if (d < 0.0f && P >= (mp ? 57.5f : 22.0f)) d = 0.0f;
        RatingChange(i, 1) = roundedChange(2.0f * d * share(r2, r1, r2, S));
        RatingChange(i, 2) = roundedChange(2.0f * d * share(r1, r1, r2, S));
    }
}

// The masters points of a pair with rating difference `diff` (limited to -5..5)
// that scored `percent` victory points over `boards` boards; false when it
// scores none.
bool impMasters(int diff, int boards, float percent, double& m) {
    if (boards <= 0) return false;
    diff = std::clamp(diff, -5, 5);
    const double F = 0.75 * std::log10(diff + 6.0) * std::pow(boards, 0.8) + 1.15;
    const double G = static_cast<double>(diff) * boards / 65.0 + 15.0;
    const double P = std::max(static_cast<double>(percent), 5.0);
    if (G == 5.0) return false;
    const double H = (G - P) / (5.0 - G);
    if (!(H > 0.0)) return false;
    const double L = std::log10(static_cast<double>(boards)) / 1.30103;
    m = F * std::pow(H, L);
    return std::isfinite(m);
}

int pairRating(int p) {
    return (PlayerRating(p, 1) + PlayerRating(p, 2)) / 2;
}

// A Berger with IMPs: masters points per match, and their trace in "Masters.txt".
void bergerMasters(const ScoringExtents& x, int n) {
    std::string trace;
    for (int k = 1; k <= x.sets; ++k) {
        trace += IWRITE(k, 2, true) + ". Kolo ==============\r\n";
        for (int i = 1; i <= SETENTRYCOUNT(x, k); ++i) {
            const int ns = ENTRYPAIR(x, k, i, 1), ew = ENTRYPAIR(x, k, i, 2);
            if (ns == 0 || ew == 0 || ns > n || ew > n) continue;
            for (int side = 1; side <= 2; ++side) {
                const int a = side == 1 ? ns : ew, b = side == 1 ? ew : ns;
                const float vp = MatchVP(k, i, side);
                double m = 0.0;
                if (impMasters(pairRating(a) - pairRating(b), x.perRound, vp, m)) {
                    RatingChange(a, 1) += static_cast<float>(m);
                    RatingChange(a, 2) += static_cast<float>(m);
                } else {
                    m = 0.0;
                }
                trace += IWRITE(a, 3, true) + FWRITE(vp, 6, 1, true) +
                         FWRITE(static_cast<float>(m), 10, 3, true) + "\r\n";
            }
            trace += "\r\n";
        }
    }
    const std::string file = PROGRAMFILE("Masters.txt");
    if (file.empty()) return;
    std::string reason;
    static bool reported = false;
    if (!SAFEWRITEFILE(file, trace.data(), trace.size(), reason) && !reported) {
        // Once a run is enough: the trace is written at every recalculation.
        reported = true;
        SHOWMESSAGE("The masters trace " + file + " could not be written: " + reason + ".",
                    "Error", MSG_OK_WARNING);
    }
}

// Masters points (mode 1) for the pairs placed in the top quarter of the field.
void masters() {
    const ScoringExtents x = SCORINGEXTENTS();
    const int n = ratedPairs(x);
    if (n == 0) return;
    RatingChange.fill(0.0f);
    const int N = NumPairs, S = TournamentStrength;
    if (CalcType != CALC_MATCHPOINTS && MovementType == MOVE_BERGER) {
        bergerMasters(x, n);
        return;
    }
    RANKPAIRS();
    const int limit = std::min((N + 3) / 4, n);
    const double A = S / 50.0 + 1.0, B = (N + 70) / 100.0;
    for (int place = 1; place <= limit; ++place) {
        const int i = PlacementOrder(place);
        if (i < 1 || i > n) continue;
        double m = 0.0;
        if (CalcType == CALC_MATCHPOINTS) {
            const double P = PairPercent(i);
            const double Q = (P * P / 10000.0 + 0.4) * 1.9;
            m = 20.0 * A * B * Q;
            if (!(m > 1.0)) continue;
        } else if (!impMasters(pairRating(i) - S, PAIRBOARDS(i), PairPercent(i), m)) {
            continue;
        }
        RatingChange(i, 1) = static_cast<float>(m);
        RatingChange(i, 2) = static_cast<float>(m);
    }
}

} // namespace

int EXPECTEDSTEPS(int d) {
    int m = 0;
    for (std::size_t k = 1; k < EloStepTable.size(); ++k)
        if (EloStepTable[k] <= d) ++m;
    return m;
}

int PAIRBOARDS(int p) {
    const ScoringExtents x = SCORINGEXTENTS();
    if (!x.usable) return 0;
    int count = 0;
    for (int s = 1; s <= x.sets; ++s)
        for (int i = 1; i <= SETENTRYCOUNT(x, s); ++i)
            if (Movement(s, i, 1) == p || Movement(s, i, 2) == p) ++count;
    return count * x.perRound;
}

void ASSIGNPAIRRATING() {
    if (!PlayerNames.allocated() || !PlayerRating.allocated()) return;
    const int n = std::min({NumPairs, PlayerNames.extent(1), PlayerRating.extent(1)});
    // Every name as it is compared, to the first registered player of that name:
    // one pass over the register instead of one per player.
    std::unordered_map<std::string, int> first;
    first.reserve(static_cast<std::size_t>(RegisteredCount) * 2);
    for (int k = RegisteredCount; k >= 1; --k)
        first[MATCHKEY(std::string_view(RegName(k).c, NameLength), false)] = k;
    for (int p = 1; p <= n; ++p)
        for (int j = 1; j <= 2; ++j) {
            const auto found =
                first.find(MATCHKEY(std::string_view(PlayerNames(p, j).c, NameLength), true));
            PlayerRating(p, j) = found != first.end() ? RegRating(found->second) : 0;
        }
    SETTOURNAMENTSTRENGTH();
    STATUSPARAMETERS();
}

void CALCRATING(int mode) {
    SETTOURNAMENTSTRENGTH();
    if (mode == -1)
        ratingChanges();
    else if (mode == 1)
        masters();
}

void RECALCULATENOW(int mode, bool highRated) {
    if (!TournamentOpen) return;
    const std::int32_t savedMode = RatingMode;
    const Logical savedHigh = HighRated;
    // The totals first, without a rating step of their own; then the step asked
    // for, whatever the tournament was told to keep, and the ranking after it.
    RatingMode = 0;
    CALCALL();
    RatingMode = mode;
    HighRated = TOLOGICAL(highRated);
    ASSIGNPAIRRATING();
    CALCRATING(mode);
    RANKPAIRS();
    RatingMode = savedMode;
    HighRated = savedHigh;
}

void INSTALLRATING() {
    Compute.assignPairRating = ASSIGNPAIRRATING;
    Compute.calcRating = CALCRATING;
}
