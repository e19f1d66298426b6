#pragma once
// Replacing a file so that it always holds either its old contents or all of the
// new ones, never a mixture or a stump: the bytes go to a temporary file in the
// same folder, which is flushed to the disk and then renamed over the old file.

#include <cstddef>
#include <filesystem>
#include <string>

// The path of a file named in UTF-8, as the platform wants it.
std::filesystem::path UTF8PATH(const std::string& name);

// Writes `size` bytes to the file `name` (UTF-8) through a temporary file beside
// it. Symbolic links are followed to the end of their chain, so the file they
// point to is replaced; a file that existed keeps its permissions (and its owner
// when the user may give it). The temporary file has a short name of its own, so
// a name near the system's limit can be saved, and a temporary file that a killed
// save of the same target left behind is removed. A file that exists but may not
// be written (read-only) is refused with ReadOnlyReason. Returns false, with the
// temporary file removed, `name` untouched and `reason` saying why (e.g. "No
// space left on device"), when anything fails.
//
// A target that exists and is no regular file (a pipe, a terminal, a device such
// as /dev/null, or /dev/stdout and the other open descriptors of the process) is
// opened and written directly, with no temporary file and no rename, as a file
// can only be written into there; a folder is refused with FolderReason.
bool SAFEWRITEFILE(const std::string& name, const void* data, std::size_t size,
                   std::string& reason);

// The reason given for a target that is a folder.
extern const char* const FolderReason;

// True when the files `a` and `b` (UTF-8) both exist and are the same file (the
// same device and inode, reached through links or not): an output that is its
// own input would destroy it.
bool SAMEFILE(const std::string& a, const std::string& b);

// The name that every temporary file of a save of `name` (UTF-8) begins with, in
// the folder of the file really written (the end of a chain of links): such a
// file is never the target itself and is removed by the next save of the same
// target. Empty when the chain of links cannot be followed.
std::string SAFETEMPPREFIX(const std::string& name);

// The reason given for a file that exists but may not be written.
extern const char* const ReadOnlyReason;

// Faults that tests can make SAFEWRITEFILE meet.
struct SafeWriteFaults {
    // Writing the temporary file fails, as on a full disk, once this many bytes
    // are in it; negative: never.
    long long failAfterBytes = -1;
    // Stop once the temporary file is complete and closed but before the rename,
    // as if the program were killed there: the temporary file is left behind, as
    // it would be, and the call returns false.
    bool stopBeforeRename = false;
};
extern SafeWriteFaults SafeWriteTest;
