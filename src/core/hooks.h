#pragma once
// The few ways in which the Qt-free layers reach the user or the other layers.
// The GUI fills them with message boxes, the status bar and the menu; the command
// line and the tests with their own (stderr, capture). Every hook may be left
// empty; the defaults write messages to stderr and do nothing else.

#include <string>

// Buttons and icon of a message box.
// MSG_YESNOCANCEL_QUESTION adds Cancel (also Escape and the close box).
enum MessageKind {
    MSG_OK_ERROR,
    MSG_OK_WARNING,
    MSG_OK_INFO,
    MSG_YESNO_QUESTION,
    MSG_YESNOCANCEL_QUESTION
};
// What the user answered.
enum MessageAnswer { ANSWER_OK = 1, ANSWER_CANCEL = 2, ANSWER_YES = 6, ANSWER_NO = 7 };

struct UiHooks {
    // Shows a message box owned by the main window; returns the answer.
    MessageAnswer (*message)(const std::string& text, const std::string& caption, MessageKind kind);
    // Sets part 0, 1 or 2 of the status bar.
    void (*status)(int part, const std::string& text);
    // Enables (open) or grays (closed) the commands that need a tournament;
    // "&Hand Diagrams" follows hasHands.
    void (*tournamentMenus)(bool open, bool hasHands);
    // Builds and destroys the result- and name-entry windows of the main window.
    void (*createEntryWindows)();
    void (*destroyEntryWindows)();
    // Repaints the active view.
    void (*redraw)();
    // Shows the window title.
    void (*title)(const std::string& text);
    // A tournament file was read: switch to the pairs view sorted by placement
    // and add the file to the recent-file list.
    void (*fileOpened)(const std::string& name);
};

// Routines of the higher layers that the tournament file and the totals need. The
// program and the tests install them with INSTALLCOMPUTE (scoring/compute.h) and
// INSTALLRATING (players/rating.h).
struct ComputeHooks {
    void (*calculateMovement)();
    void (*calcAll)();
    void (*assignPairRating)();
    // The rating changes (mode -1) or masters points (mode 1) of the players.
    void (*calcRating)(int mode);
};

extern UiHooks Ui;
extern ComputeHooks Compute;

// Puts the default hooks back (messages to stderr, everything else silent).
void RESETHOOKS();

// Shorthands that go through the hooks.
MessageAnswer SHOWMESSAGE(const std::string& text, const std::string& caption,
                          MessageKind kind = MSG_OK_ERROR);
void SETSTATUS(int part, const std::string& text);
void REDRAW();
