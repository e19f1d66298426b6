#pragma once
// The program's own folder: where the players register, the trace files and the
// help live. The window and the command line set it once at start.

#include <string>

// The folder, without a trailing separator; empty until SETPROGRAMFOLDER ran.
// While it is empty no routine reads or writes a file in it.
extern std::string ProgramFolder;

// Sets ProgramFolder to the folder named by the environment variable
// ORLA_PROGRAM_FOLDER when it is set (made absolute), else to
// `executableFolder`, the folder of the running program file, when files can
// be written there, else to `userDataFolder` (made if missing), the user's own
// data folder where an installed program keeps its register.
void SETPROGRAMFOLDER(const std::string& executableFolder,
                      const std::string& userDataFolder = std::string());

// The user's data folder for ORLA by the XDG rule ($XDG_DATA_HOME/ORLA, else
// ~/.local/share/ORLA), the folder the window's application data location names.
std::string USERDATAFOLDER();

// ProgramFolder followed by a separator and `file` ("" while the folder is unknown).
std::string PROGRAMFILE(const std::string& file);
