// Loading orla-cli's libraries (climodule.h).
#include "cli/climodule.h"

#include <dlfcn.h>
#include <unistd.h>

void* LOADCLIMODULE(const char* file, const char* entry, std::string& error) {
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string();
    folder = folder.substr(0, folder.find_last_of('/') + 1);
    std::string why;
    for (const std::string& path :
         {folder + ORLA_CLI_MODULE_DIR + "/" + file, folder + file}) {
        dlerror();
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            const char* e = dlerror();
            // A missing file is said only when no place holds the library.
            if (why.empty() || access(path.c_str(), F_OK) == 0) why = e != nullptr ? e : path;
            continue;
        }
        if (void* routine = dlsym(module, entry)) return routine;
        why = path + ": it has no routine " + entry;
    }
    error = why;
    return nullptr;
}
