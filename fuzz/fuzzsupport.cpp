#include "fuzzsupport.h"

#include "core/hooks.h"
#include "core/programfolder.h"
#include "core/tournament.h"
#include "movement/custom.h"
#include "players/players.h"
#include "players/rating.h"
#include "scoring/compute.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

int messages = 0;

void removeFolder() {
    std::error_code ec;
    fs::remove_all(FUZZFOLDER(), ec);
}

} // namespace

const std::string& FUZZFOLDER() {
    static const std::string folder = [] {
        // Memory, where it is there: the saves sync every file they write.
        std::error_code ec;
        const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "orla-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        return pattern;
    }();
    static const bool cleanup = (std::atexit(removeFolder), true);
    (void)cleanup;
    return folder;
}

std::string FUZZFILE(const std::string& name) {
    return (fs::path(FUZZFOLDER()) / name).string();
}

void FUZZWRITE(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZCHECK(static_cast<bool>(out), "the fuzz folder cannot be written");
}

std::string FUZZREAD(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void FUZZRESET() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(FUZZFOLDER(), ec))
        fs::remove_all(entry.path(), ec);
    ProgramFolder = FUZZFOLDER();
    RESETTOURNAMENTSTATE();
    RESETHOOKS();
    Ui.message = [](const std::string&, const std::string&, MessageKind kind) {
        ++messages;
        return kind == MSG_YESNO_QUESTION ? ANSWER_NO : ANSWER_OK;
    };
    messages = 0;
    INSTALLCOMPUTE();
    INSTALLRATING();
    RESETPLAYERS();
    RESETCUSTOMMOVEMENT();
}

int FUZZMESSAGES() {
    return messages;
}

void FUZZCHECK(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}
