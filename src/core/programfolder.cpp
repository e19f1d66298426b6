#include "core/programfolder.h"

#include "core/safefile.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string ProgramFolder;

void SETPROGRAMFOLDER(const std::string& executableFolder) {
    std::string folder = executableFolder;
    if (const char* env = std::getenv("ORLA_PROGRAM_FOLDER"); env && *env) {
        std::error_code ec;
        const std::filesystem::path p = std::filesystem::absolute(UTF8PATH(env), ec);
        const std::u8string s = (ec ? UTF8PATH(env) : p).lexically_normal().u8string();
        folder.assign(s.begin(), s.end());
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
