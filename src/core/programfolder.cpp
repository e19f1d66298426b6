#include "core/programfolder.h"

#include "core/safefile.h"

#include <cstdlib>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif
#include <filesystem>
#include <system_error>

std::string ProgramFolder;

namespace {

std::string utf8(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

// True when files can be made in `folder`.
bool writableFolder(const std::string& folder) {
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(UTF8PATH(folder), ec)) return false;
#ifdef _WIN32
    return _waccess(UTF8PATH(folder).c_str(), 2) == 0;
#else
    return access(folder.c_str(), W_OK) == 0;
#endif
}

// The environment variable `name` in UTF-8; empty when it is not set. Windows
// gives getenv() the value in the system's code page, where the letters of a
// user's name outside it are lost.
std::string envText(const char* name) {
#ifdef _WIN32
    std::wstring wname;
    for (const char* c = name; *c; ++c) wname += static_cast<wchar_t>(*c);
    const wchar_t* value = _wgetenv(wname.c_str());
    if (!value) return std::string();
    return utf8(std::filesystem::path(value));
#else
    const char* value = std::getenv(name);
    return value ? value : std::string();
#endif
}

} // namespace

std::string USERDATAFOLDER() {
#ifdef _WIN32
    const std::string base = envText("APPDATA");
    if (base.empty()) return std::string();
    return utf8(UTF8PATH(base) / "ORLA");
#else
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".local" / "share";
    else
        return std::string();
    return utf8(base / "ORLA");
#endif
}

void SETPROGRAMFOLDER(const std::string& executableFolder) {
    std::string folder = executableFolder;
    if (const std::string env = envText("ORLA_PROGRAM_FOLDER"); !env.empty()) {
        std::error_code ec;
        const std::filesystem::path p = std::filesystem::absolute(UTF8PATH(env), ec);
        folder = utf8((ec ? UTF8PATH(env) : p).lexically_normal());
    } else if (!writableFolder(executableFolder)) {
        // An installed program may not write beside itself: the register lives
        // in the user's own data folder instead.
        const std::string own = USERDATAFOLDER();
        std::error_code ec;
        if (!own.empty()) {
            std::filesystem::create_directories(UTF8PATH(own), ec);
            folder = own;
        }
    }
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    ProgramFolder = folder;
}

std::string PROGRAMFILE(const std::string& file) {
    if (ProgramFolder.empty()) return std::string();
#ifdef _WIN32
    return ProgramFolder + "\\" + file;
#else
    return ProgramFolder + "/" + file;
#endif
}
