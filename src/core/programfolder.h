#pragma once
// The program's own folder: where the players register, the trace files and the
// help live. The window and the command line set it once at start.

#include <string>

// The folder, without a trailing separator; empty until SETPROGRAMFOLDER ran.
// While it is empty no routine reads or writes a file in it.
extern std::string ProgramFolder;

// Sets ProgramFolder to the folder named by the environment variable
// ORLA_PROGRAM_FOLDER when it is set (made absolute), else to
// `executableFolder`, the folder of the running program file, when the program
// may write there, else (an installed program) to USERDATAFOLDER(), made if
// it is missing.
void SETPROGRAMFOLDER(const std::string& executableFolder);

// The user's own data folder of ORLA, where the window's Qt puts application
// data: $XDG_DATA_HOME/ORLA (by default ~/.local/share/ORLA), on Windows
// %APPDATA%\ORLA. Empty when neither the variable nor a home folder is known.
std::string USERDATAFOLDER();

// ProgramFolder followed by a separator and `file` ("" while the folder is unknown).
std::string PROGRAMFILE(const std::string& file);
