// The journal of table scoring: whole lines of JSON, flushed line by line.
#include "server/journal.h"

#include "core/safefile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A folder in the journal's place reads as nothing on some systems: it is said
// instead of being taken for an empty journal.
bool folderInTheWay(const std::filesystem::path& path, std::string& reason) {
    std::error_code ec;
    if (!std::filesystem::is_directory(path, ec)) return false;
    reason = std::strerror(EISDIR);
    return true;
}

// Reads the whole file; false when it exists but cannot be read.
bool readAll(const std::string& name, std::string& bytes, std::string& reason) {
    std::error_code ec;
    const auto path = UTF8PATH(name);
    if (!std::filesystem::exists(path, ec)) {
        bytes.clear();
        return true;
    }
    if (folderInTheWay(path, reason)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reason = std::strerror(errno);
        return false;
    }
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad()) {
        reason = "read error";
        return false;
    }
    bytes = all.str();
    return true;
}

#ifdef _WIN32
int openForAppend(const std::filesystem::path& path) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
}
bool cutTo(int fd, std::size_t size) { return _chsize_s(fd, static_cast<long long>(size)) == 0; }
bool seekEnd(int fd) { return _lseeki64(fd, 0, SEEK_END) >= 0; }
long long writeSome(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(size));
}
bool flushToDisk(int fd) { return _commit(fd) == 0; }
void closeFile(int fd) { _close(fd); }
#else
int openForAppend(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
}
bool cutTo(int fd, std::size_t size) { return ::ftruncate(fd, static_cast<off_t>(size)) == 0; }
bool seekEnd(int fd) { return ::lseek(fd, 0, SEEK_END) >= 0; }
long long writeSome(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}
bool flushToDisk(int fd) { return ::fsync(fd) == 0; }
void closeFile(int fd) { ::close(fd); }
#endif

} // namespace

std::string JOURNALNAME(const std::string& tournamentFile) { return tournamentFile + ".tables"; }

bool READJOURNAL(const std::string& name, JournalContents& out, std::string& reason) {
    std::string bytes;
    if (!readAll(name, bytes, reason)) return false;
    PARSEJOURNAL(bytes, out);
    return true;
}

void PARSEJOURNAL(const std::string& bytes, JournalContents& out) {
    out = JournalContents{};
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) break;
        nlohmann::json record =
            nlohmann::json::parse(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                                  bytes.begin() + static_cast<std::ptrdiff_t>(end), nullptr,
                                  false);
        if (record.is_object())
            out.records.push_back(std::move(record));
        else
            ++out.damagedLines;
        start = end + 1;
    }
    out.wholeBytes = start;
}

namespace {

// The bytes of the journal up to the end of its last whole line: its size when
// it ends with a line end (as it does unless a write was cut short).
bool wholeLength(const std::string& name, std::size_t& whole, std::string& reason) {
    std::error_code ec;
    const auto path = UTF8PATH(name);
    if (!std::filesystem::exists(path, ec)) {
        whole = 0;
        return true;
    }
    if (folderInTheWay(path, reason)) return false;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        reason = std::strerror(errno);
        return false;
    }
    const auto size = static_cast<std::size_t>(in.tellg());
    char last = '\n';
    if (size > 0) {
        in.seekg(-1, std::ios::end);
        in.get(last);
    }
    if (!in) {
        reason = "read error";
        return false;
    }
    if (last == '\n') {
        whole = size;
        return true;
    }
    std::string bytes;
    if (!readAll(name, bytes, reason)) return false;
    const std::size_t end = bytes.rfind('\n');
    whole = end == std::string::npos ? 0 : end + 1;
    return true;
}

} // namespace

bool APPENDJOURNAL(const std::string& name, const nlohmann::json& record, std::string& reason) {
    JournalContents now;
    if (!wholeLength(name, now.wholeBytes, reason)) return false;
    const std::string line = record.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
                             "\n";
    const int fd = openForAppend(UTF8PATH(name));
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    bool ok = cutTo(fd, now.wholeBytes) && seekEnd(fd);
    std::size_t written = 0;
    while (ok && written < line.size()) {
        const long long n = writeSome(fd, line.data() + written, line.size() - written);
        if (n <= 0) {
            ok = false;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    if (ok) ok = flushToDisk(fd);
    if (!ok) {
        reason = std::strerror(errno);
        // Leave the journal as it was: a line only half written is cut away.
        cutTo(fd, now.wholeBytes);
        flushToDisk(fd);
    }
    closeFile(fd);
    return ok;
}
