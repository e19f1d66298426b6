#pragma once
// Drawing of the views: every view draws into the off-screen picture of the main
// window first, and painting copies it to the screen.

#include <string>

// Draw routines of the views by ViewMode (index 1 pairs, 2 board lists,
// 3 frequency lists, 4 personal score lists); each view installs its own.
extern void (*ViewDrawers[5])();

// Draws the view shown (an empty area with no tournament open) into the
// off-screen picture and has the window repainted.
void REDRAWVIEW();

// The open tournament's name as the window shows it (UTF-8; the file keeps it in
// Windows-1250), or its file title when it has no name.
std::string TOURNAMENTTITLE();

// The open tournament's particulars, shown while its view cannot draw itself.
void DRAWTOURNAMENTSUMMARY();
