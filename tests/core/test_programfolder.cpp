// Where the program keeps its register: beside itself when it may write there,
// in the user's own data folder when installed, wherever ORLA_PROGRAM_FOLDER says.
#include "core/programfolder.h"
#include "support/testsupport.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts back what was there.
class EnvVar {
  public:
    EnvVar(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    }
    ~EnvVar() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

using ProgramFolderTest = OrlaTest;

TEST_F(ProgramFolderTest, AnInstalledProgramKeepsItsRegisterInTheUsersDataFolder) {
    const fs::path data = tempDir() / "data";
    const fs::path own = tempDir() / "bin";
    fs::create_directories(own);
    EnvVar xdg("XDG_DATA_HOME", data.string());
    EnvVar home("HOME", (tempDir() / "home").string());
    EnvVar portable("ORLA_PROGRAM_FOLDER", std::nullopt);

    // A folder the program may write: the register lives beside the program.
    SETPROGRAMFOLDER(own.string());
    EXPECT_EQ(ProgramFolder, own.string());

    // A folder it cannot write (gone, or read-only for an ordinary user): the
    // user's data folder, made on the way.
    SETPROGRAMFOLDER((tempDir() / "no such folder").string());
    EXPECT_EQ(ProgramFolder, (data / "ORLA").string());
    EXPECT_TRUE(fs::is_directory(data / "ORLA"));
    if (geteuid() != 0) { // root may write anywhere
        fs::permissions(own, fs::perms::owner_read | fs::perms::owner_exec);
        SETPROGRAMFOLDER(own.string());
        EXPECT_EQ(ProgramFolder, (data / "ORLA").string());
        fs::permissions(own, fs::perms::owner_all);
    }
    EXPECT_EQ(PROGRAMFILE("Players.opd"), (data / "ORLA" / "Players.opd").string());

    // Without XDG_DATA_HOME it is the home folder's ~/.local/share/ORLA.
    {
        EnvVar noXdg("XDG_DATA_HOME", std::nullopt);
        EXPECT_EQ(USERDATAFOLDER(), (tempDir() / "home" / ".local" / "share" / "ORLA").string());
    }

    // ORLA_PROGRAM_FOLDER wins, writable or not.
    EnvVar named("ORLA_PROGRAM_FOLDER", (tempDir() / "club").string());
    SETPROGRAMFOLDER((tempDir() / "no such folder").string());
    EXPECT_EQ(ProgramFolder, (tempDir() / "club").string());
    ProgramFolder.clear();
}

} // namespace
