#include "core/safefile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

SafeWriteFaults SafeWriteTest;

fs::path UTF8PATH(const std::string& name) {
    const std::u8string s(reinterpret_cast<const char8_t*>(name.data()), name.size());
    return fs::path(s);
}

namespace {

std::string errnoText(int e) {
    return std::strerror(e);
}

// The file that is really written: the target of a symbolic link, else `p` itself.
fs::path realTarget(const fs::path& p) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(p, ec))) return p;
    const fs::path t = fs::read_symlink(p, ec);
    if (ec) return p;
    return t.is_absolute() ? t : p.parent_path() / t;
}

} // namespace

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

bool SAFEWRITEFILE(const std::string& name, const void* data, std::size_t size,
                   std::string& reason) {
    const fs::path target = realTarget(UTF8PATH(name));
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";

    std::string pattern = target.string() + ".tmp-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        reason = errnoText(errno);
        return false;
    }
    const std::string temp = pattern;

    // The new file gets the old one's permissions, or the usual ones for a new file.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
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
    const fs::path target = realTarget(UTF8PATH(name));
    fs::path temp = target;
    temp += L".tmp";
    for (int n = 0; fs::exists(temp); ++n) {
        temp = target;
        temp += L".tmp" + std::to_wstring(n);
    }
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
    std::error_code ec;
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
