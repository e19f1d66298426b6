#pragma once
// Start-up and the process-wide state of the program's window.

#include "core/programfolder.h" // ProgramFolder

#include <string>
#include <vector>

class MainFrame;

extern MainFrame* MainWindow;     // the frame window; owner of every message box
extern std::string StartFolder;   // initial folder of the file dialogs
extern int DrawHeight;            // height of the drawing area (client less status bar)

// The file named by a Windows command line: a quote as first character becomes a
// blank, any later quote ends the name, and blanks around it go.
std::string COMMANDLINEFILE(const std::string& commandLine);

// The file named by the program's arguments, as given: on Windows the arguments
// joined by blanks and read by COMMANDLINEFILE; elsewhere the system has already
// split them, so a name is taken as it stands (quotes and all), and the words of
// an unquoted name with blanks are joined again.
std::string STARTFILE(const std::vector<std::string>& arguments);

// Starts the program without entering its event loop: reads the settings, sets
// the folders and the help language, installs the computing routines and the
// user-interface hooks, loads the players register, creates and shows the main
// window (kept on the screen's free area) and opens the file named by `arguments`
// (STARTFILE, made absolute) when there is one. Needs a QApplication. Returns
// MainWindow.
MainFrame* STARTUP(const std::vector<std::string>& arguments);

// Destroys the main window and its help window without asking anything, closes
// the tournament and puts the hooks and the shell's state back to their start
// values (tests call it between cases).
void SHUTDOWN();

// The whole program: QApplication, start-up, the event loop; returns its exit code.
int ORLAMAIN(int argc, char** argv);
