#pragma once
// GwCtl: controls placed in plain (non-dialog) windows, such as the panes of the main
// window, read and written like dialog controls (the indexes of DlgIndex) and watched
// through callbacks. Every control gets the one shared font: the platform's default
// sans face at the size of an 8-point dialog font.

#include "winsupport/gwlogm.h"

#include <string>

class QWidget;
struct GwCtlRecord;

// Kinds of GwCtlInit.
enum GwCtlKind {
    GWCTL_LABEL = 1,
    GWCTL_GROUPBOX = 2,
    GWCTL_BUTTON = 3,
    GWCTL_CHECKBOX = 4,
    GWCTL_RADIO = 5,
    GWCTL_EDIT = 6,
    GWCTL_LISTBOX = 7,
    GWCTL_DROPLIST = 8,
    GWCTL_CLICKBUTTON = 9, // a flat button that does not take the focus; clicks as kind 3
    GWCTL_TAB = 10,
    GWCTL_SCROLLBAR = 11,
    GWCTL_COMBOBOX = 12 // with an edit field: GwCtlGetEdit
};

// Styles of GwCtlInit (or-ed); a style that a kind does not know is ignored.
enum GwCtlStyle {
    GWS_HIDDEN = 1,   // created hidden (otherwise shown)
    GWS_VERTICAL = 2, // scroll bar: vertical (otherwise horizontal)
    GWS_NUMBER = 4,   // edit: digits only
    GWS_READONLY = 8, // edit
    GWS_RIGHT = 16,   // label, edit: right-aligned text
    GWS_CENTER = 32,  // label, edit: centred text
    GWS_SORT = 64     // list box, drop-down list, combo box: items kept sorted (no case)
};

// Callback slots of GwCtlSetSub/GwCtlGetSub.
enum GwCtlSub {
    GWSUB_GENERAL = 1, // click (3, 4, 5, 9), selection change (7, 8), text change (6, and
                       // the edit of 12), tab change (10), scrolling (11), selection
                       // change or text change (12)
    GWSUB_KEY = 3,     // a key pressed in the control (edits, combo boxes and buttons);
                       // return true to swallow it (Tab and Enter arrive here too)
    GWSUB_FOCUS = 4    // the control got or lost the keyboard focus
};

// What happened: the slot that fires and its details.
struct GwCtlEvent {
    int sub = GWSUB_GENERAL;
    int key = 0;          // GWSUB_KEY: Qt::Key
    int modifiers = 0;    // GWSUB_KEY: Qt::KeyboardModifiers (Qt::KeypadModifier: number pad)
    std::string text;     // GWSUB_KEY: the character typed, UTF-8
    bool focusIn = false; // GWSUB_FOCUS: true when the focus came, false when it left
};

// A callback receives a copy of the control's record and the event; its result counts
// only for GWSUB_KEY (true: the key is swallowed).
using GwCtlProc = bool (*)(GwCtlRecord ctl, const GwCtlEvent& event);

// A control of a plain window.
struct GwCtlRecord {
    int kind = 0;                  // GwCtlKind
    int id = 0;                    // the caller's id; also the widget's object name
    QWidget* hwnd = nullptr;       // set by GwCtlInit
    GwCtlProc proc = nullptr;      // GWSUB_GENERAL
    GwCtlProc keyProc = nullptr;   // GWSUB_KEY
    GwCtlProc focusProc = nullptr; // GWSUB_FOCUS
    int textColor = -1;            // 0x00BBGGRR, -1 the platform's
    int backColor = -1;            // 0x00BBGGRR, -1 the platform's
};

// Creates a control of `kind` in `parent` with the record's id, colours and
// callbacks, registers it and stores its window in ctl.hwnd. Null for an unknown kind
// or no parent.
QWidget* GwCtlInit(QWidget* parent, int kind, int style, GwCtlRecord& ctl);

// Values with an index as in the dialog layer (DLG_VALUE, DLG_ENABLED, DLG_VISIBLE,
// DLG_COUNT, DLG_MIN, DLG_MAX, DLG_PAGE, DLG_READONLY, DLG_FOCUS, DLG_ITEM + n). A
// scroll bar's position runs from DLG_MIN to DLG_MAX - DLG_PAGE + 1. False, nothing
// changed, for a window that is no control of the layer or an index the kind lacks.
bool GwCtlSetChar(QWidget* ctl, const std::string& text, int index = DLG_VALUE);
bool GwCtlGetChar(QWidget* ctl, std::string& text, int index = DLG_VALUE);
bool GwCtlSetInt(QWidget* ctl, int value, int index = DLG_VALUE);
bool GwCtlGetInt(QWidget* ctl, int& value, int index = DLG_VALUE);
bool GwCtlSetLog(QWidget* ctl, bool value, int index = DLG_VALUE);
bool GwCtlGetLog(QWidget* ctl, bool& value, int index = DLG_VALUE);
// Adds an item to a list box, drop-down list or combo box (in order when sorted);
// returns its number from 1, 0 on failure.
int CONTROLADDSTRING(QWidget* ctl, const std::string& text);

// Sets or reads the callback of a slot (GwCtlSub); false for no control or a slot 2.
bool GwCtlSetSub(QWidget* ctl, GwCtlProc proc, int index = GWSUB_GENERAL);
GwCtlProc GwCtlGetSub(QWidget* ctl, int index = GWSUB_GENERAL);

// Moves and shows or hides one control. Between GwBeginCtlMove and GwEndCtlMove the
// moves are collected and applied together at GwEndCtlMove.
bool GwCtlMove(QWidget* ctl, int x, int y, int width, int height, bool visible);
void GwBeginCtlMove();
void GwEndCtlMove();

// The record of a control (null when the window is none of the layer's), and its
// number in the layer's table (from 1; 0 when none). A combo box's edit finds the
// combo box.
const GwCtlRecord* GwCtlByHandle(const QWidget* window);
int IndexByHwnd(const QWidget* window);
// The edit field of a combo box (kind 12); null for anything else.
QWidget* GwCtlGetEdit(QWidget* combo);

// Destroys one control (false when it is none of the layer's), or every control.
bool GwCtlDestroy(QWidget* ctl);
void GwCtlDestroyAll();
