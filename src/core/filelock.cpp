#include "core/filelock.h"

#include "core/safefile.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>
#include <thread>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

int FileLockWaitMs = 5000;

namespace {

using Clock = std::chrono::steady_clock;

// A short pause before the next try, varied so that two waiting programs do
// not keep meeting.
void waitAWhile() {
    thread_local std::minstd_rand random(static_cast<unsigned>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 20));
}

std::string busy(const std::string& holder) {
    return "another program is changing it" + (holder.empty() ? "" : " (process " + holder + ")") +
           "; try again when it has finished";
}

} // namespace

FileLock::~FileLock() {
    UNLOCKFILE(*this);
}

#ifndef _WIN32

namespace {

// The process number the holder wrote into the lock file, "" when none.
std::string holderOf(int fd) {
    char text[32] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    if (n <= 0) return {};
    std::string s(text, static_cast<std::size_t>(n));
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s.find_first_not_of("0123456789") == std::string::npos ? s : std::string();
}

} // namespace

bool LOCKFILE(const std::string& name, FileLock& lock, std::string& reason, bool* busyNow,
              int waitMs) {
    UNLOCKFILE(lock);
    if (busyNow) *busyNow = false;
    const std::string path = name + ".lock";
    const fs::path p = UTF8PATH(path);
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs < 0 ? FileLockWaitMs : waitMs);
    for (;;) {
        int fd = ::open(p.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        // Another user's lock file can still be locked through reading.
        if (fd < 0 && errno == EACCES) fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            reason = "its lock file " + path + " cannot be made: " + std::strerror(errno);
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The holder before may have removed the file between our open and our
            // lock: then the lock is on a file nobody else will see.
            struct stat mine {}, there {};
            if (::fstat(fd, &mine) == 0 && ::stat(p.c_str(), &there) == 0 &&
                mine.st_dev == there.st_dev && mine.st_ino == there.st_ino) {
                const std::string pid = std::to_string(::getpid()) + "\n";
                if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, pid.data(), pid.size(), 0) < 0) {
                    // The number is only a courtesy to the next one who waits.
                }
                lock.fd = fd;
                lock.path = path;
                return true;
            }
            ::close(fd);
            continue;
        }
        const int e = errno;
        if (e != EWOULDBLOCK && e != EINTR) {
            ::close(fd);
            reason = "its lock file " + path + " cannot be locked: " + std::strerror(e);
            return false;
        }
        const std::string holder = holderOf(fd);
        ::close(fd);
        if (Clock::now() >= deadline) {
            reason = busy(holder);
            if (busyNow) *busyNow = true;
            return false;
        }
        waitAWhile();
    }
}

void UNLOCKFILE(FileLock& lock) {
    if (lock.fd < 0) return;
    // Removed while still locked, so that no one locks the old file meanwhile.
    ::unlink(UTF8PATH(lock.path).c_str());
    ::close(lock.fd);
    lock.fd = -1;
    lock.path.clear();
}

FileStamp FILESTAMP(const std::string& name) {
    FileStamp s;
    struct stat st {};
    if (::stat(UTF8PATH(name).c_str(), &st) != 0) return s;
    s.exists = true;
    s.size = static_cast<std::uint64_t>(st.st_size);
    s.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    return s;
}

bool READREGULARFILE(const std::string& name, std::string& bytes, std::string& reason) {
    bytes.clear();
    // Opened without waiting, so that a pipe with no writer does not hold us.
    const int fd = ::open(UTF8PATH(name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = S_ISDIR(st.st_mode) ? "it is a folder, not a file" : "it is not a regular file";
        ::close(fd);
        return false;
    }
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            reason = std::strerror(errno);
            ::close(fd);
            bytes.clear();
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

#else // _WIN32

bool LOCKFILE(const std::string& name, FileLock& lock, std::string& reason, bool* busyNow,
              int waitMs) {
    UNLOCKFILE(lock);
    if (busyNow) *busyNow = false;
    const std::string path = name + ".lock";
    const fs::path p = UTF8PATH(path);
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs < 0 ? FileLockWaitMs : waitMs);
    for (;;) {
        // Opened by one program at a time, and gone when its handle closes, also
        // when the program is ended.
        HANDLE h = ::CreateFileW(p.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE,
                                 nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            lock.handle = h;
            lock.path = path;
            return true;
        }
        const DWORD e = ::GetLastError();
        // Access is denied to a lock file being removed by its holder, but also in
        // a folder that may not be written, where there is no lock file at all.
        const bool held = e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION ||
                          (e == ERROR_ACCESS_DENIED &&
                           ::GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES);
        if (!held) {
            reason = "its lock file " + path + " cannot be made: " +
                     std::system_category().message(static_cast<int>(e));
            return false;
        }
        if (Clock::now() >= deadline) {
            reason = busy("");
            if (busyNow) *busyNow = true;
            return false;
        }
        waitAWhile();
    }
}

void UNLOCKFILE(FileLock& lock) {
    if (!lock.handle) return;
    ::CloseHandle(static_cast<HANDLE>(lock.handle));
    lock.handle = nullptr;
    lock.path.clear();
}

FileStamp FILESTAMP(const std::string& name) {
    FileStamp s;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(UTF8PATH(name).c_str(), GetFileExInfoStandard, &data)) return s;
    s.exists = true;
    s.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    s.modified = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime);
    s.device = (static_cast<std::uint64_t>(data.ftCreationTime.dwHighDateTime) << 32) |
               data.ftCreationTime.dwLowDateTime;
    return s;
}

bool READREGULARFILE(const std::string& name, std::string& bytes, std::string& reason) {
    bytes.clear();
    const fs::path p = UTF8PATH(name);
    std::error_code ec;
    const auto status = fs::status(p, ec);
    if (ec) {
        reason = ec.message();
        return false;
    }
    if (!fs::is_regular_file(status)) {
        reason = fs::is_directory(status) ? "it is a folder, not a file" : "it is not a regular file";
        return false;
    }
    std::ifstream in(p, std::ios::binary);
    if (!in) {
        reason = std::strerror(errno);
        return false;
    }
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        bytes.clear();
        reason = "it cannot be read";
        return false;
    }
    if (in.bad()) {
        bytes.clear();
        reason = "it cannot be read";
        return false;
    }
    return true;
}

#endif
