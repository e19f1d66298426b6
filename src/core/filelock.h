#pragma once
// Two programs (two windows, or a window and orla-cli) may change the same file
// at the same moment. A change that reads a file, changes it and writes it back
// holds the file's lock meanwhile: a lock file beside it ("<name>.lock"), locked
// by the system (flock, or an exclusive open on Windows), so a program that ends
// without unlocking, even killed, leaves no lock behind. The lock file is
// removed again when the lock is let go.
//
// A file that another program changed since it was read is told by its stamp
// (size, last write, identity on the disk).

#include <cstdint>
#include <string>

// A held lock; released when it goes out of scope or by UNLOCKFILE.
struct FileLock {
    std::string path; // the lock file, "" when nothing is held
#ifdef _WIN32
    void* handle = nullptr;
#else
    int fd = -1;
#endif
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();
};

// How long LOCKFILE waits for a lock another program holds, in milliseconds.
// Tests shorten it.
extern int FileLockWaitMs;

// Takes the lock of the file `name` (UTF-8), waiting up to `waitMs` (FileLockWaitMs
// when negative) while another program holds it. False, with `reason` saying why,
// when it is not had; `busy` (when given) then tells whether another program
// holds it (else the lock file could not be made, as in a folder that may not be
// written).
bool LOCKFILE(const std::string& name, FileLock& lock, std::string& reason,
              bool* busy = nullptr, int waitMs = -1);

// Lets the lock go (nothing when none is held).
void UNLOCKFILE(FileLock& lock);

// What tells one version of a file from another on the disk.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // last write, in the system's finest unit
    std::uint64_t device = 0, inode = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file `name` (UTF-8) as it is now; exists is false when there
// is no such file.
FileStamp FILESTAMP(const std::string& name);

// Reads the whole file `name` (UTF-8) into `bytes`, only when it is a regular file
// (a pipe or a device would never end or never answer). False, with `reason`
// ("it is not a regular file", or the system's reason), otherwise.
bool READREGULARFILE(const std::string& name, std::string& bytes, std::string& reason);
