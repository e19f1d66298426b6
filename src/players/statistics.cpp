// The season's statistics: per registered player, the matchpoint and IMP
// tournaments played with the average percentage of each kind, and the rating
// against a snapshot of the register, written to a text file.
#include "players/update.h"

#include "core/hooks.h"
#include "core/safefile.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "players/players.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>

std::vector<PlayerStatistics> SeasonStatistics;

namespace {

// `v` right-justified in `width`, or asterisks when it does not fit.
std::string integerField(long long v, int width) {
    const std::string s = std::to_string(v);
    if (s.size() > static_cast<std::size_t>(width)) return std::string(static_cast<std::size_t>(width), '*');
    return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

// Each registered name's key, leading to the first registered player who has it.
using Keys = std::unordered_map<std::string, std::size_t>;

// Counts one tournament, open as the current one, for its registered players.
void countTournament(const Keys& keys) {
    const bool mp = CalcType == CALC_MATCHPOINTS;
    const bool imp = CalcType == CALC_IMPS || CalcType == CALC_CALCUTTA;
    if (!mp && !imp) return;
    const int pairs = std::min({NumPairs, PlayerNames.extent(1), PairPercent.extent(1)});
    for (int p = 1; p <= pairs; ++p) {
        const float percent = PairPercent(p);
        // A pair whose percentage is no number has no result to average.
        if (!std::isfinite(percent)) continue;
        for (int j = 1; j <= 2; ++j) {
            const auto k =
                keys.find(UPDATEKEY(std::string_view(PlayerNames(p, j).c, NameLength)));
            if (k == keys.end()) continue;
            PlayerStatistics& s = SeasonStatistics[k->second];
            if (mp) {
                ++s.mpCount;
                s.mpAverage += percent;
            } else {
                ++s.impCount;
                s.impAverage += percent;
            }
        }
    }
}

// The snapshot's ratings: records until the first one that cannot be read.
void readSnapshot(const std::string& file, const Keys& keys) {
    std::ifstream in(UTF8PATH(file), std::ios::binary);
    if (!in) return;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\n', at);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) end = bytes.size();
        std::string rec = bytes.substr(at, end - at);
        if (!rec.empty() && rec.back() == '\r') rec.pop_back();
        rec.resize(36, ' ');
        std::int32_t rating = 0;
        if (!REGFIELDVALUE(std::string_view(rec).substr(30, 6), rating)) break;
        const auto k = keys.find(UPDATEKEY(std::string_view(rec).substr(0, RegNameLength)));
        if (k != keys.end()) SeasonStatistics[k->second].snapshotRating = rating;
        at = next;
    }
}

// A snapshot or register that is there must be a file that can be read; none
// at all counts as empty.
bool readableOrAbsent(const std::string& file) {
    std::error_code ec;
    const auto status = std::filesystem::status(UTF8PATH(file), ec);
    if (!std::filesystem::exists(status)) return true;
    return std::filesystem::is_regular_file(status) &&
           static_cast<bool>(std::ifstream(UTF8PATH(file), std::ios::binary));
}

} // namespace

std::string STATISTICSLINE(int k, const PlayerStatistics& s) {
    std::string name = k >= 1 && k <= RegisteredCount ? std::string(RegName(k).c, 28) : std::string(28, ' ');
    const long long rating = k >= 1 && k <= RegisteredCount ? RegRating(k) : 0;
    return name + integerField(s.mpCount, 4) + FWRITE(s.mpAverage, 6, 2, true) +
           integerField(s.impCount, 4) + FWRITE(s.impAverage, 6, 2, true) +
           integerField(rating, 6) + integerField(s.snapshotRating, 6) +
           integerField(rating - s.snapshotRating, 6);
}

bool STATISTICS(const std::string& tournamentFolder, const std::string& snapshotFile,
                const std::string& statFile, int* read) {
    for (const auto& [file, what] : {std::pair<std::string, const char*>(snapshotFile, "register snapshot"),
                                     std::pair<std::string, const char*>(PlayersFile, "players register")})
        if (!file.empty() && !readableOrAbsent(file)) {
            SHOWMESSAGE(std::string("The ") + what + " " + file +
                            " cannot be read. The statistics were not made.",
                        "Error");
            return false;
        }
    // The statistics never replace what they are made from: the snapshot, the
    // register or a tournament file of the season (also through a link).
    std::string input;
    if (SAMEFILE(statFile, snapshotFile))
        input = "the register snapshot";
    else if (!PlayersFile.empty() && SAMEFILE(statFile, PlayersFile))
        input = "the players register";
    for (const std::string& name : TOURNAMENTFILES(tournamentFolder))
        if (input.empty() && SAMEFILE(statFile, FOLDERFILE(tournamentFolder, name)))
            input = "the tournament file " + name + " of the season";
    if (!input.empty()) {
        SHOWMESSAGE("The file " + statFile + " is " + input +
                        ": it is left as it was. Choose another file for the statistics.",
                    "Error");
        return false;
    }
    SeasonStatistics.assign(static_cast<std::size_t>(std::max(RegisteredCount, 0)),
                            PlayerStatistics{});
    Keys keys;
    keys.reserve(SeasonStatistics.size());
    for (int k = 1; k <= RegisteredCount; ++k)
        keys.emplace(UPDATEKEY(std::string_view(RegName(k).c, RegNameLength)),
                     static_cast<std::size_t>(k) - 1);

    // The files pass through the reader one after another; none of them is a
    // file the director opened, so none joins the recent files.
    const auto fileOpened = Ui.fileOpened;
    Ui.fileOpened = nullptr;
    int count = 0;
    for (const std::string& name : TOURNAMENTFILES(tournamentFolder)) {
        if (TournamentOpen) CLOSETOURNAMENT();
        if (!OPENNTRFILE(FOLDERFILE(tournamentFolder, name))) continue;
        ++count;
        countTournament(keys);
        CLOSETOURNAMENT();
    }
    Ui.fileOpened = fileOpened;
    HasFileName = false;
    TournamentFile.clear();
    TournamentFileTitle.clear();
    SETSAVE(false);
    if (read) *read = count;

    readSnapshot(snapshotFile, keys);
    std::string text;
    for (std::size_t k = 0; k < SeasonStatistics.size(); ++k) {
        PlayerStatistics& s = SeasonStatistics[k];
        if (s.mpCount > 0) s.mpAverage /= static_cast<float>(s.mpCount);
        if (s.impCount > 0) s.impAverage /= static_cast<float>(s.impCount);
        text += STATISTICSLINE(static_cast<int>(k) + 1, s) + "\r\n";
    }
    std::string reason;
    if (!SAFEWRITEFILE(statFile, text.data(), text.size(), reason)) {
        SHOWMESSAGE("The file " + statFile + " could not be written: " + reason + ".", "Error");
        return false;
    }
    return true;
}
