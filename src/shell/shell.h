#pragma once
// Start-up and the process-wide state of the program's window.

#include "core/programfolder.h" // ProgramFolder

#include <string>
#include <vector>

class MainFrame;

extern MainFrame* MainWindow;     // the frame window; owner of every message box
extern std::string StartFolder;   // initial folder of the file dialogs
extern int DrawHeight;            // height of the drawing area (client less status bar)

// The file named by a command line: a quote as first character becomes a blank,
// any later quote ends the name, and blanks around it go.
std::string COMMANDLINEFILE(const std::string& commandLine);

// Starts the program without entering its event loop: reads the settings, sets
// the folders and the help language, installs the computing routines and the
// user-interface hooks, loads the players register, creates and shows the main window and opens the file
// named by `arguments` (joined by blanks) when there is one. Needs a
// QApplication. Returns MainWindow.
MainFrame* STARTUP(const std::vector<std::string>& arguments);

// Destroys the main window and its help window without asking anything, closes
// the tournament and puts the hooks and the shell's state back to their start
// values (tests call it between cases).
void SHUTDOWN();

// The whole program: QApplication, start-up, the event loop; returns its exit code.
int ORLAMAIN(int argc, char** argv);
