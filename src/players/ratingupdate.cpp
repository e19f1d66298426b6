// The rating update at the end of a period: the tournament files of a folder,
// the sum of the rating changes they store for each registered player, and the
// save of the new ratings with a dated copy of the register.
#include "players/update.h"

#include "core/cp1250.h"
#include "core/filelock.h"
#include "core/hooks.h"
#include "core/programfolder.h"
#include "core/safefile.h"
#include "core/strings.h"
#include "core/tournamentfile.h"
#include "players/players.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unordered_map>

namespace fs = std::filesystem;

Array<float, 1> RatingSum;

namespace {

bool endsWithOtr(const std::string& name) {
    if (name.size() < 4) return false;
    return TOLOWER(name.substr(name.size() - 4)) == ".otr";
}

// "yyyy.mm.dd." of the file's last write, in coordinated universal time.
std::string writeDate(const fs::path& path) {
    std::error_code ec;
    const auto stamp = fs::last_write_time(path, ec);
    if (ec) return "0000.00.00.";
    const auto sys = std::chrono::file_clock::to_sys(stamp);
    const std::time_t t = std::chrono::system_clock::to_time_t(sys);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &t);
#else
    gmtime_r(&t, &utc);
#endif
    char text[32];
    std::snprintf(text, sizeof text, "%04d.%02d.%02d.", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday);
    return text;
}

// The text of a 64-byte name field: NULs as blanks, no trailing blanks, UTF-8.
std::string tournamentTitle(const std::string& field) {
    std::string text = field;
    std::replace(text.begin(), text.end(), '\0', ' ');
    return CP1250TOUTF8(FIELDTEXT(text.c_str(), static_cast<int>(text.size())));
}

// Halves away from zero.
long nearest(double v) {
    return std::lround(v);
}

// `v` right-justified in `width`; a wider number is shown whole.
std::string wholeNumber(long v, int width) {
    const std::string s = std::to_string(v);
    return s.size() >= static_cast<std::size_t>(width)
               ? s
               : std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

std::string trimmedItem(const std::string& item) {
    const auto end = item.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : item.substr(0, end + 1);
}

void suspicious(const std::string& item) {
    SHOWMESSAGE("Suspicious file:" + trimmedItem(item), "Error", MSG_OK_INFO);
}

bool readWhole(const std::string& name, std::string& bytes) {
    std::ifstream in(UTF8PATH(name), std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

std::vector<std::string> TOURNAMENTFILES(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(UTF8PATH(folder), ec);
    if (ec) return names;
    for (const fs::directory_entry& e : it) {
        std::error_code fec;
        if (!e.is_regular_file(fec)) continue;
        const std::u8string u = e.path().filename().u8string();
        std::string name(u.begin(), u.end());
        if (endsWithOtr(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string FOLDERFILE(const std::string& folder, const std::string& file) {
    if (folder.empty()) return file;
    if (folder.back() == '/' || folder.back() == '\\') return folder + file;
    return folder + "/" + file;
}

std::vector<std::string> FINDFILESINDIR(const std::string& folder) {
    const std::vector<std::string> files = TOURNAMENTFILES(folder);
    std::vector<std::string> items(files.size());
    for (std::size_t n = 0; n < files.size(); ++n) {
        const std::string path = FOLDERFILE(folder, files[n]);
        std::string title;
        if (!READTOURNAMENTNAME(path, title)) continue;
        items[n] = writeDate(UTF8PATH(path)) + " " + tournamentTitle(title) + " [" + files[n] + "]";
    }
    return items;
}

std::string ITEMFILENAME(const std::string& item) {
    const auto open = item.find('[');
    const auto close = item.rfind(']');
    if (open == std::string::npos || close == std::string::npos || close <= open) return {};
    return item.substr(open + 1, close - open - 1);
}

std::string UPDATEKEY(std::string_view name) {
    if (const auto z = name.find('\0'); z != std::string_view::npos) {
        name = name.substr(0, z);
    } else {
        const auto end = name.find_last_not_of(' ');
        name = end == std::string_view::npos ? std::string_view() : name.substr(0, end + 1);
    }
    return TOLOWER(std::string(name));
}

int FINDUPDATEPLAYER(std::string_view name) {
    const std::string key = UPDATEKEY(name);
    for (int k = 1; k <= RegisteredCount; ++k)
        if (UPDATEKEY(std::string_view(RegName(k).c, RegNameLength)) == key) return k;
    return 0;
}

void RESETRATINGUPDATE() {
    RatingSum.release();
}

bool SUMRATINGCHANGES(const std::string& folder, const std::vector<std::string>& items,
                      const UpdateProgress& progress) {
    RatingSum.release();
    if (RegisteredCount > 0) RatingSum.allocate(RegisteredCount);
    // The registered names' keys once, each leading to the first player that
    // has it, not a search of the register per player of every file.
    std::unordered_map<std::string, int> keys;
    keys.reserve(static_cast<std::size_t>(RegisteredCount));
    for (int k = 1; k <= RegisteredCount; ++k)
        keys.emplace(UPDATEKEY(std::string_view(RegName(k).c, RegNameLength)), k);

    const int total = static_cast<int>(items.size());
    FileRatingChanges file;
    for (int n = 0; n < total; ++n) {
        const std::string& item = items[static_cast<std::size_t>(n)];
        const std::string name = ITEMFILENAME(item);
        if (!name.empty()) {
            if (!READRATINGCHANGES(FOLDERFILE(folder, name), file)) {
                // Left out, and said so: the director must not believe it counted.
                suspicious(item);
            } else {
                if (!file.current &&
                    std::all_of(file.changes.begin(), file.changes.end(),
                                [](float c) { return c == 0.0f; }))
                    suspicious(item);
                if (file.ratingMode == -1 && RatingSum.allocated()) {
                    for (std::size_t i = 0; i < file.names.size(); ++i) {
                        const std::string key =
                            UPDATEKEY(std::string_view(file.names[i].c, NameLength));
                        const auto at = keys.find(key);
                        if (at != keys.end()) RatingSum(at->second) += file.changes[i];
                    }
                }
            }
        }
        if (progress && !progress(n + 1, total)) {
            RatingSum.release();
            return false;
        }
    }
    return true;
}

int NEWRATING(int k) {
    const float sum = RatingSum.contains(k) ? RatingSum(k) : 0.0f;
    const long v = nearest(static_cast<double>(RegRating(k)) + static_cast<double>(sum));
    return static_cast<int>(std::clamp<long>(v, 0, 2147483647L));
}

std::string UPDATERESULTROW(int k) {
    if (k < 1 || k > RegisteredCount) return {};
    const float sum = RatingSum.contains(k) ? RatingSum(k) : 0.0f;
    return std::string(RegName(k).c, NameLength) + "\t" + wholeNumber(RegRating(k), 4) + "\t" +
           FWRITE(sum, 6, 2, true) + "\t" + wholeNumber(NEWRATING(k), 4);
}

std::string RATINGBACKUPNAME() {
    return PROGRAMFILE("Players" + TODAYSTAMP() + ".opd");
}

bool SAVERATINGUPDATE() {
    if (PlayersFile.empty()) {
        SHOWMESSAGE("The players register cannot be saved: the program's folder is not known.",
                    "Error");
        return false;
    }
    // Under the register's lock, on the register as the file holds it now: a
    // player another program added meanwhile keeps his rating and delta, and the
    // sums follow their players to where they are now.
    FileLock lock;
    std::vector<int> was;
    if (!LOCKREGISTER(lock, &was)) return false;
    {
        auto summed = std::move(RatingSum);
        RatingSum.release();
        if (RegisteredCount > 0) RatingSum.allocate(RegisteredCount);
        for (int k = 1; k <= RegisteredCount; ++k) {
            const int w = was[static_cast<std::size_t>(k)];
            if (RatingSum.contains(k)) RatingSum(k) = summed.contains(w) ? summed(w) : 0;
        }
    }
    std::vector<std::int32_t> ratings, deltas;
    for (int k = 1; k <= RegisteredCount; ++k) {
        ratings.push_back(RegRating(k));
        deltas.push_back(RegDelta(k));
    }

    // The register as it is on the disk before the update, kept under the day's name.
    std::error_code ec;
    if (fs::exists(UTF8PATH(PlayersFile), ec)) {
        std::string bytes, reason;
        const std::string backup = RATINGBACKUPNAME();
        if (!readWhole(PlayersFile, bytes))
            reason = "the register cannot be read";
        else if (!SAFEWRITEFILE(backup, bytes.data(), bytes.size(), reason) && reason.empty())
            reason = "it could not be written";
        if (!reason.empty())
            SHOWMESSAGE("The copy " + backup + " of the players register could not be made: " +
                            reason + ". The new ratings are saved without it.",
                        "Players register", MSG_OK_WARNING);
    }

    for (int k = 1; k <= RegisteredCount; ++k) {
        if (!was[static_cast<std::size_t>(k)]) continue;
        const float sum = RatingSum.contains(k) ? RatingSum(k) : 0.0f;
        const int rating = NEWRATING(k);
        RegDelta(k) = static_cast<std::int32_t>(nearest(sum));
        RegRating(k) = rating;
    }
    if (WRITEPLAYERSFILE()) return true;
    for (int k = 1; k <= RegisteredCount; ++k) {
        RegRating(k) = ratings[static_cast<std::size_t>(k - 1)];
        RegDelta(k) = deltas[static_cast<std::size_t>(k - 1)];
    }
    return false;
}
