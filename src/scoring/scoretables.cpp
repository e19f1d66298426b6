// The scores that the laws of duplicate bridge allow, worked out from the
// scoring table when the program is compiled: every undertrick penalty and
// every made contract, not vulnerable and vulnerable, in units of 10 points.
#include "scoring/scoring.h"

#include <algorithm>
#include <array>

namespace {

// 7 levels x 5 strains x 3 doublings x (the overtricks each level leaves room for).
constexpr int MaxMade = 5 * 3 * (7 + 6 + 5 + 4 + 3 + 2 + 1);
constexpr int MaxUndertricks = 13 * 3;

template <int Capacity> struct ScoreList {
    std::array<int, Capacity> value{};
    int count = 0;

    constexpr void add(int points) { value[static_cast<std::size_t>(count++)] = points / 10; }
    // Ascending, each score once.
    constexpr void finish() {
        std::sort(value.begin(), value.begin() + count);
        count = static_cast<int>(std::unique(value.begin(), value.begin() + count) - value.begin());
    }
};

// Points for making `level` in `strain` (0 clubs, 1 diamonds, 2 hearts, 3 spades,
// 4 notrump), `doubling` 0 undoubled, 1 doubled, 2 redoubled, with `overtricks`.
constexpr int madeScore(int level, int strain, int doubling, int overtricks, bool vulnerable) {
    const int trickValue = strain <= 1 ? 20 : 30;
    const int factor = doubling == 0 ? 1 : 2 * doubling;
    const int contractPoints = (level * trickValue + (strain == 4 ? 10 : 0)) * factor;
    int points = contractPoints;
    if (contractPoints >= 100)
        points += vulnerable ? 500 : 300; // game
    else
        points += 50; // part score
    if (level == 6) points += vulnerable ? 750 : 500;
    if (level == 7) points += vulnerable ? 1500 : 1000;
    points += 50 * doubling; // for making a doubled or redoubled contract
    if (doubling == 0)
        points += overtricks * trickValue;
    else
        points += overtricks * (vulnerable ? 200 : 100) * doubling;
    return points;
}

// Points for going `down` tricks.
constexpr int undertrickPenalty(int down, int doubling, bool vulnerable) {
    if (doubling == 0) return down * (vulnerable ? 100 : 50);
    int points = 0;
    for (int trick = 1; trick <= down; ++trick) {
        if (vulnerable)
            points += trick == 1 ? 200 : 300;
        else
            points += trick == 1 ? 100 : trick <= 3 ? 200 : 300;
    }
    return points * doubling;
}

constexpr ScoreList<MaxMade> madeScores(bool vulnerable) {
    ScoreList<MaxMade> list;
    for (int level = 1; level <= 7; ++level)
        for (int strain = 0; strain <= 4; ++strain)
            for (int doubling = 0; doubling <= 2; ++doubling)
                for (int over = 0; level + over <= 7; ++over)
                    list.add(madeScore(level, strain, doubling, over, vulnerable));
    list.finish();
    return list;
}

constexpr ScoreList<MaxUndertricks> undertrickScores(bool vulnerable) {
    ScoreList<MaxUndertricks> list;
    for (int down = 1; down <= 13; ++down)
        for (int doubling = 0; doubling <= 2; ++doubling)
            list.add(undertrickPenalty(down, doubling, vulnerable));
    list.finish();
    return list;
}

constexpr auto MadeNotVulnerable = madeScores(false);
constexpr auto MadeVulnerable = madeScores(true);
constexpr auto UndertricksNotVulnerable = undertrickScores(false);
constexpr auto UndertricksVulnerable = undertrickScores(true);

template <int Capacity> std::span<const int> asSpan(const ScoreList<Capacity>& list) {
    return {list.value.data(), static_cast<std::size_t>(list.count)};
}

} // namespace

std::span<const int> MADESCORES(bool vulnerable) {
    return vulnerable ? asSpan(MadeVulnerable) : asSpan(MadeNotVulnerable);
}

std::span<const int> UNDERTRICKSCORES(bool vulnerable) {
    return vulnerable ? asSpan(UndertricksVulnerable) : asSpan(UndertricksNotVulnerable);
}
