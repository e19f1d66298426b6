#pragma once
// Connects the Qt-free layers to the main window: their messages become message
// boxes owned by it, their status texts its status bar, and so on.

// Fills the Ui hooks with the main window's routines.
void INSTALLUIHOOKS();
