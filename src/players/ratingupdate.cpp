// The rating update at the end of a period: the tournament files of a folder,
// the sum of the rating changes they store for each registered player, and the
// save of the new ratings with a dated copy of the register.
#include "players/update.h"

#include "core/clock.h"
#include "core/cp1250.h"
#include "core/filelock.h"
#include "core/hooks.h"
#include "core/programfolder.h"
#include "core/safefile.h"
#include "core/strings.h"
#include "core/tournamentfile.h"
#include "players/players.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unordered_map>

namespace fs = std::filesystem;

Array<std::int64_t, 1> RatingSum;
std::vector<std::string> RatingFilesLeftOut;

namespace {

bool endsWithOtr(const std::string& name) {
    if (name.size() < 4) return false;
    return TOLOWER(name.substr(name.size() - 4)) == ".otr";
}

// "yyyy.mm.dd." of the file's last write, in coordinated universal time.
std::string writeDate(const fs::path& path) {
    std::time_t t = 0;
    return FILETIME(path, t) ? TIMETEXT(UTCTIME(t), "%Y.%m.%d.") : "0000.00.00.";
}

// The text of a 64-byte name field: NULs as blanks, no trailing blanks, UTF-8.
std::string tournamentTitle(const std::string& field) {
    std::string text = field;
    std::replace(text.begin(), text.end(), '\0', ' ');
    return CP1250TOUTF8(FIELDTEXT(text.c_str(), static_cast<int>(text.size())));
}

// Tenths to whole points, halves away from zero.
std::int64_t wholeOfTenths(std::int64_t tenths) {
    return tenths >= 0 ? (tenths + 5) / 10 : -((-tenths + 5) / 10);
}

// A stored change in whole tenths, as it was rounded when it was computed. A
// change that is no number, or beyond any rating, counts as none.
std::int64_t changeTenths(float change) {
    if (!std::isfinite(change) || std::fabs(change) > 1.0e9f) return 0;
    return std::llround(static_cast<double>(change) * 10.0);
}

std::int32_t toInt32(std::int64_t v) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// A sum of tenths with 2 decimals, right-justified in `width`; asterisks when
// it does not fit.
std::string tenthsField(std::int64_t tenths, int width) {
    const std::int64_t whole = (tenths < 0 ? -tenths : tenths) / 10;
    const int tenth = static_cast<int>((tenths < 0 ? -tenths : tenths) % 10);
    const std::string s = (tenths < 0 ? "-" : "") + std::to_string(whole) + "." +
                          std::to_string(tenth) + "0";
    if (s.size() > static_cast<std::size_t>(width)) return std::string(static_cast<std::size_t>(width), '*');
    return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
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
    // The stream buffer throws on a read error (a folder of that name), which
    // the iterators do not catch.
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        bytes.clear();
        return false;
    }
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
        // A file whose name cannot be read still has its item, without a name,
        // so that choosing it is heard of rather than passed over.
        std::string title;
        if (!READTOURNAMENTNAME(path, title)) title.clear();
        items[n] = writeDate(UTF8PATH(path)) + " " + tournamentTitle(title) + " [" + files[n] + "]";
    }
    return items;
}

std::string ITEMFILENAME(const std::string& item, const std::vector<std::string>& files) {
    if (item.empty() || item.back() != ']') return {};
    // The file name ends the item; the tournament's name before it may hold
    // brackets of its own, so every " [" is tried from the left, the longest
    // name that is one of the folder's files winning.
    for (auto open = item.find(" ["); open != std::string::npos; open = item.find(" [", open + 1)) {
        const std::string name = item.substr(open + 2, item.size() - open - 3);
        if (std::binary_search(files.begin(), files.end(), name)) return name;
    }
    return {};
}

std::string UPDATEKEY(std::string_view name) {
    // The key of the rating look-up, so that whoever got a rating from the
    // register is counted for the same registered player.
    return MATCHKEY(name, true);
}

int FINDUPDATEPLAYER(std::string_view name) {
    const std::string key = UPDATEKEY(name);
    for (int k = 1; k <= RegisteredCount; ++k)
        if (UPDATEKEY(std::string_view(RegName(k).c, RegNameLength)) == key) return k;
    return 0;
}

void RESETRATINGUPDATE() {
    RatingSum.release();
    RatingFilesLeftOut.clear();
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

    const std::vector<std::string> files = TOURNAMENTFILES(folder);
    const int total = static_cast<int>(items.size());
    RatingFilesLeftOut.clear();
    FileRatingChanges file;
    for (int n = 0; n < total; ++n) {
        const std::string& item = items[static_cast<std::size_t>(n)];
        const std::string name = ITEMFILENAME(item, files);
        if (!item.empty()) {
            if (name.empty() || !READRATINGCHANGES(FOLDERFILE(folder, name), file)) {
                // Left out, and said so: the director must not believe it counted.
                RatingFilesLeftOut.push_back(item);
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
                        if (at != keys.end()) RatingSum(at->second) += changeTenths(file.changes[i]);
                    }
                }
            }
        }
        if (progress && !progress(n + 1, total)) {
            RatingSum.release();
            RatingFilesLeftOut.clear();
            return false;
        }
    }
    return true;
}

std::int64_t RATINGSUMTENTHS(int k) {
    return RatingSum.contains(k) ? RatingSum(k) : 0;
}

int NEWRATING(int k) {
    const std::int64_t v = wholeOfTenths(static_cast<std::int64_t>(RegRating(k)) * 10 + RATINGSUMTENTHS(k));
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, INT32_MAX));
}

int NEWDELTA(int k) {
    return toInt32(wholeOfTenths(RATINGSUMTENTHS(k)));
}

std::string UPDATERESULTROW(int k) {
    if (k < 1 || k > RegisteredCount) return {};
    return std::string(RegName(k).c, NameLength) + "\t" + wholeNumber(RegRating(k), 4) + "\t" +
           tenthsField(RATINGSUMTENTHS(k), 6) + "\t" + wholeNumber(NEWRATING(k), 4);
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
        const int rating = NEWRATING(k);
        RegDelta(k) = NEWDELTA(k);
        RegRating(k) = rating;
    }
    if (WRITEPLAYERSFILE()) return true;
    for (int k = 1; k <= RegisteredCount; ++k) {
        RegRating(k) = ratings[static_cast<std::size_t>(k - 1)];
        RegDelta(k) = deltas[static_cast<std::size_t>(k - 1)];
    }
    return false;
}
