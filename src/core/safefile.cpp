#include "core/safefile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

SafeWriteFaults SafeWriteTest;
const char* const ReadOnlyReason = "the file is read-only";
const char* const FolderReason = "it is a folder";

fs::path UTF8PATH(const std::string& name) {
    const std::u8string s(reinterpret_cast<const char8_t*>(name.data()), name.size());
    return fs::path(s);
}

namespace {

std::string errnoText(int e) {
    return std::strerror(e);
}

// Links followed before the chain is taken for a loop, as the system does.
constexpr int MaxLinks = 40;

// The file that is really written: the end of a chain of symbolic links, else `p`
// itself. False when the chain loops or a link cannot be read.
bool realTarget(const fs::path& p, fs::path& target, std::string& reason) {
    target = p;
    for (int n = 0; n <= MaxLinks; ++n) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) return true;
        const fs::path t = fs::read_symlink(target, ec);
        if (ec) {
            reason = ec.message();
            return false;
        }
        target = t.is_absolute() ? t : target.parent_path() / t;
    }
    reason = errnoText(ELOOP);
    return false;
}

// The temporary files of a target share a short name made from the target's
// name, so that a name near the system's limit still leaves room, and so that the
// leftovers of a save that was killed can be found and removed.
std::string tempPrefix(const fs::path& target) {
    // FNV-1a of the name's bytes: stable from one run to the next.
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : target.filename().string()) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    char text[40];
    std::snprintf(text, sizeof text, "~orla-%016llx.tmp-", static_cast<unsigned long long>(h));
    return text;
}

// Removes the temporary files a killed save of `target` left in its folder.
void removeLeftovers(const fs::path& dir, const std::string& prefix) {
    std::error_code ec;
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code e2;
        if (name.rfind(prefix, 0) == 0 && it->is_regular_file(e2) && !it->is_symlink(e2))
            stale.push_back(it->path());
    }
    for (const fs::path& p : stale)
        fs::remove(p, ec);
}

} // namespace

bool SAMEFILE(const std::string& a, const std::string& b) {
    std::error_code ec;
    const bool same = fs::equivalent(UTF8PATH(a), UTF8PATH(b), ec);
    return !ec && same;
}

std::string SAFETEMPPREFIX(const std::string& name) {
    fs::path target;
    std::string reason;
    if (!realTarget(UTF8PATH(name), target, reason)) return std::string();
    return tempPrefix(target);
}

#ifndef _WIN32

namespace {

// Writes all bytes to `fd`, obeying the test's disk-full fault.
bool writeAll(int fd, const char* data, std::size_t size, std::string& reason) {
    std::size_t done = 0;
    while (done < size) {
        std::size_t chunk = size - done;
        bool full = false;
        if (SafeWriteTest.failAfterBytes >= 0) {
            const auto room = static_cast<std::size_t>(SafeWriteTest.failAfterBytes);
            if (done >= room) {
                full = true;
                chunk = 0;
            } else if (chunk > room - done) {
                chunk = room - done;
            }
        }
        if (full) {
            reason = errnoText(ENOSPC);
            return false;
        }
        const ssize_t n = ::write(fd, data + done, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            reason = errnoText(errno);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes a rename within `dir` durable; failures are of no consequence.
void syncFolder(const fs::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

} // namespace

namespace {

// The open descriptor a name reaches through /dev/fd or /proc/self/fd (as
// /dev/stdout does), else -1. Those links name the descriptor, not a file.
int selfDescriptor(const fs::path& p) {
    fs::path at = p;
    for (int n = 0; n <= MaxLinks; ++n) {
        const fs::path dir = at.parent_path();
        if (dir == "/dev/fd" || dir == "/proc/self/fd" ||
            dir == "/proc/" + std::to_string(::getpid()) + "/fd") {
            const std::string digits = at.filename().string();
            if (digits.empty() || digits.size() > 9 ||
                digits.find_first_not_of("0123456789") != std::string::npos)
                return -1;
            return std::stoi(digits);
        }
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(at, ec))) return -1;
        const fs::path t = fs::read_symlink(at, ec);
        if (ec) return -1;
        at = t.is_absolute() ? t : at.parent_path() / t;
    }
    return -1;
}

// Writes into a target that is no regular file (or an open descriptor of the
// process): there is nothing to replace, only something to write into.
bool writeInto(const std::string& name, int descriptor, const void* data, std::size_t size,
               std::string& reason) {
    const int fd = descriptor >= 0 ? ::dup(descriptor)
                                   : ::open(UTF8PATH(name).c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reason = errnoText(errno);
        return false;
    }
    bool ok = writeAll(fd, static_cast<const char*>(data), size, reason);
    if (::close(fd) != 0 && ok) {
        reason = errnoText(errno);
        ok = false;
    }
    return ok;
}

} // namespace

bool SAFEWRITEFILE(const std::string& name, const void* data, std::size_t size,
                   std::string& reason) {
    // A folder is no output; a pipe, a device or an open descriptor is written
    // into where it is, never replaced by a file of the same name.
    struct stat given {};
    const int descriptor = selfDescriptor(UTF8PATH(name));
    if (::stat(UTF8PATH(name).c_str(), &given) == 0) {
        if (S_ISDIR(given.st_mode)) {
            reason = FolderReason;
            return false;
        }
        if (descriptor >= 0 || !S_ISREG(given.st_mode))
            return writeInto(name, descriptor, data, size, reason);
    }

    fs::path target;
    if (!realTarget(UTF8PATH(name), target, reason)) return false;
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";

    // A file that may not be written is not replaced behind its owner's back.
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && S_ISREG(old.st_mode) &&
        ((old.st_mode & 0222) == 0 || (::access(target.c_str(), W_OK) != 0 && errno == EACCES))) {
        reason = ReadOnlyReason;
        return false;
    }

    const std::string prefix = tempPrefix(target);
    removeLeftovers(dir, prefix);
    std::string pattern = (dir / prefix).string() + "XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        reason = errnoText(errno);
        return false;
    }
    const std::string temp = pattern;

    // The new file gets the old one's owner and permissions (as far as the user
    // may give them), or the usual permissions of a new file.
    if (existed) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Someone else's file: it becomes the user's own, as with any editor.
        }
        (void)::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        (void)::fchmod(fd, 0666 & ~mask);
    }

    bool ok = writeAll(fd, static_cast<const char*>(data), size, reason);
    if (ok && ::fsync(fd) != 0) {
        reason = errnoText(errno);
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        reason = errnoText(errno);
        ok = false;
    }
    if (ok && SafeWriteTest.stopBeforeRename) {
        reason = "the program stopped before the file was replaced";
        return false;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        reason = errnoText(errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(dir);
    return true;
}

#else // _WIN32

bool SAFEWRITEFILE(const std::string& name, const void* data, std::size_t size,
                   std::string& reason) {
    fs::path target;
    if (!realTarget(UTF8PATH(name), target, reason)) return false;
    std::error_code ec;
    const auto status = fs::status(target, ec);
    if (!ec && fs::is_directory(status)) {
        reason = FolderReason;
        return false;
    }
    if (!ec && fs::is_regular_file(status) &&
        (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        reason = ReadOnlyReason;
        return false;
    }
    fs::path dir = target.parent_path();
    const std::string prefix = tempPrefix(target);
    removeLeftovers(dir.empty() ? fs::path(".") : dir, prefix);
    fs::path temp = dir / (prefix + "0");
    for (int n = 1; fs::exists(temp); ++n)
        temp = dir / (prefix + std::to_string(n));
    std::FILE* f = ::_wfopen(temp.c_str(), L"wb");
    if (!f) {
        reason = errnoText(errno);
        return false;
    }
    std::size_t n = size;
    if (SafeWriteTest.failAfterBytes >= 0 &&
        static_cast<unsigned long long>(SafeWriteTest.failAfterBytes) < size)
        n = static_cast<std::size_t>(SafeWriteTest.failAfterBytes);
    bool ok = std::fwrite(data, 1, n, f) == n && n == size;
    if (!ok) reason = errnoText(ENOSPC);
    if (ok && (std::fflush(f) != 0 || ::_commit(::_fileno(f)) != 0)) {
        reason = errnoText(errno);
        ok = false;
    }
    if (std::fclose(f) != 0 && ok) {
        reason = errnoText(errno);
        ok = false;
    }
    if (ok && SafeWriteTest.stopBeforeRename) {
        reason = "the program stopped before the file was replaced";
        return false;
    }
    if (ok) {
        fs::rename(temp, target, ec);
        if (ec) {
            reason = ec.message();
            ok = false;
        }
    }
    if (!ok) fs::remove(temp, ec);
    return ok;
}

#endif
