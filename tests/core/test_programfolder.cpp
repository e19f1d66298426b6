// Where the program keeps its register: beside itself when it may write there,
// in the user's own data folder when installed, wherever ORLA_PROGRAM_FOLDER says.
#include "core/programfolder.h"
#include "support/testsupport.h"

#include <filesystem>
#include <optional>
#include <string>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

using ProgramFolderTest = OrlaTest;

// The variable that names the folder the user's own data folder is made in.
#ifdef _WIN32
const char* const DataHome = "APPDATA";
#else
const char* const DataHome = "XDG_DATA_HOME";
#endif

TEST_F(ProgramFolderTest, AnInstalledProgramKeepsItsRegisterInTheUsersDataFolder) {
    // A user whose name is not ASCII has such a data folder.
    const fs::path data = tempDir() / u8"Đurđa data";
    const fs::path own = tempDir() / "bin";
    fs::create_directories(own);
    EnvVar dataHome(DataHome, UTF8OF(data));
    EnvVar home("HOME", UTF8OF(tempDir() / "home"));
    EnvVar portable("ORLA_PROGRAM_FOLDER", std::nullopt);

    // A folder the program may write: the register lives beside the program.
    SETPROGRAMFOLDER(UTF8OF(own));
    EXPECT_EQ(ProgramFolder, UTF8OF(own));

    // A folder it cannot write (gone, or read-only for an ordinary user): the
    // user's data folder, made on the way.
    SETPROGRAMFOLDER(UTF8OF(tempDir() / "no such folder"));
    EXPECT_EQ(ProgramFolder, UTF8OF(data / "ORLA"));
    EXPECT_TRUE(fs::is_directory(data / "ORLA"));
#ifndef _WIN32 // a Windows folder marked read-only can still be written
    if (geteuid() != 0) { // root may write anywhere
        fs::permissions(own, fs::perms::owner_read | fs::perms::owner_exec);
        SETPROGRAMFOLDER(UTF8OF(own));
        EXPECT_EQ(ProgramFolder, UTF8OF(data / "ORLA"));
        fs::permissions(own, fs::perms::owner_all);
    }
#endif
    EXPECT_EQ(PROGRAMFILE("Players.opd"), UTF8OF(data / "ORLA" / "Players.opd"));

#ifndef _WIN32
    // Without XDG_DATA_HOME it is the home folder's ~/.local/share/ORLA.
    {
        EnvVar noXdg("XDG_DATA_HOME", std::nullopt);
        EXPECT_EQ(USERDATAFOLDER(), UTF8OF(tempDir() / "home" / ".local" / "share" / "ORLA"));
    }
#endif

    // ORLA_PROGRAM_FOLDER wins, writable or not, and may be named in any letters.
    EnvVar named("ORLA_PROGRAM_FOLDER", UTF8OF(tempDir() / u8"klub Čačak"));
    SETPROGRAMFOLDER(UTF8OF(tempDir() / "no such folder"));
    EXPECT_EQ(ProgramFolder, UTF8OF(tempDir() / u8"klub Čačak"));
    ProgramFolder.clear();
}

} // namespace
