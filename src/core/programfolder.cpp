#include "core/programfolder.h"

#include "core/safefile.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string ProgramFolder;

namespace {

std::string normalFolder(const char* text) {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::absolute(UTF8PATH(text), ec);
    const std::u8string s = (ec ? UTF8PATH(text) : p).lexically_normal().u8string();
    return std::string(s.begin(), s.end());
}

// True when files can be made in `folder` (it exists and is writable).
bool writableFolder(const std::string& folder) {
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(UTF8PATH(folder), ec)) return false;
#ifdef _WIN32
    return true;
#else
    return ::access(folder.c_str(), W_OK) == 0;
#endif
}

} // namespace

std::string USERDATAFOLDER() {
    // The XDG rule, as Qt's application data folder has it for a program named ORLA.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return normalFolder(data) + "/ORLA";
    const char* home = std::getenv("HOME");
    if (!home || !*home) return std::string();
    return normalFolder(home) + "/.local/share/ORLA";
}

void SETPROGRAMFOLDER(const std::string& executableFolder, const std::string& userDataFolder) {
    std::string folder = executableFolder;
    if (const char* env = std::getenv("ORLA_PROGRAM_FOLDER"); env && *env) {
        folder = normalFolder(env);
    } else if (!writableFolder(folder) && !userDataFolder.empty()) {
        // An installed program's folder belongs to the system: the register
        // then lives in the user's own data folder, made when first needed.
        std::error_code ec;
        std::filesystem::create_directories(UTF8PATH(userDataFolder), ec);
        folder = userDataFolder;
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
