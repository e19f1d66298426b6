#pragma once
// GwLogm: dialogs built from Qt Designer templates, their controls read, written and
// watched by control id, with every value kept in a record on the program's side so
// that it can still be read after the dialog has closed.
//
// Templates. A template is a .ui file compiled by uic; its controls are named after
// their numeric ids. uic needs C++ names, so a template writes "_1003"; DLGINIT
// renames the widget to "1003", which is the object name a test finds it by. Widgets
// whose name is not a number (labels without an id, layouts) are not controls. Each
// layer registers its templates in the file that shows the dialog (so the linker keeps
// the registration):
//     #include "ui_propertiesdlg.h"
//     GWREGISTERTEMPLATE(101, Ui::PropertiesDlg)
//
// Control kinds, from the widget class of the template:
//     QPushButton, QToolButton      push button (a checkable one is a check box)
//     QCheckBox, QRadioButton       check box, radio button
//     QGroupBox, QLabel             group box, static text
//     QLineEdit, QPlainTextEdit     edit
//     QListWidget                   list box (sortingEnabled: sorted style; a selection
//                                   mode other than single: several items selectable)
//     QComboBox                     drop-down list, or with "editable" a combo box with
//                                   an edit field (simple and drop-down alike)
//     QScrollBar, QProgressBar      scroll bar, progress bar
//     QSlider, QSpinBox             track bar, up-down (the spin box is the up-down with
//                                   its edit: its text is the edit's, its int the position)
//     QTabWidget, QTabBar           tab control (a QTabBar comes in as a promoted QWidget)
//
// Values. Setting a value writes the record and, while the dialog is shown, the window
// at once. Reading a value while the dialog is shown first takes it from the window.
// Callbacks run only for what the user does, never for values the program sets.

#include <string>
#include <vector>

class QDialog;
class QWidget;
struct DialogRecord;

// Control kinds (DlgControl::kind).
enum DlgKind {
    DLG_PUSHBUTTON = 1,
    DLG_CHECKBOX = 2,
    DLG_RADIO = 3,
    DLG_GROUPBOX = 4,
    DLG_STATIC = 5,
    DLG_EDIT = 6,
    DLG_LISTBOX = 7,
    DLG_COMBOBOX = 8,  // with an edit field
    DLG_COMBOLIST = 9, // drop-down list, no edit field
    DLG_SCROLLBAR = 10,
    DLG_PROGRESS = 11,
    DLG_TRACKBAR = 12,
    DLG_UPDOWN = 13,
    DLG_TAB = 14
};

// Which value of a control a Set/Get call means (the optional index). Also used by
// the controls of plain windows (gwctl.h).
enum DlgIndex {
    // Int/Log: check state (0, 1, 2 for a third state) of check boxes and radios;
    //   the selected item, 1-based, 0 for none, of lists, combos and tabs; the position
    //   of scroll bars, progress bars, track bars and up-downs; an edit's text read or
    //   written as a whole number (reading fails on text that is not one).
    // Char: the caption of buttons, group boxes and statics; the text of edits and
    //   up-downs; the text of the selected item of a list or tab ("" for none); the
    //   edit text of a combo box (of a drop-down list: its selected item).
    DLG_VALUE = 0,
    DLG_ENABLED = 1,   // Log, every kind
    DLG_VISIBLE = 2,   // Log, every kind
    DLG_COUNT = 3,     // Int: number of items of lists, combos and tabs (setting it adds
                       // empty items or drops the last ones)
    DLG_MIN = 4,       // Int: lowest position of scroll bars, progress, track bars, up-downs
    DLG_MAX = 5,       // Int: highest value of the range of those (see DLG_PAGE)
    DLG_PAGE = 6,      // Int: page size of scroll and track bars; a scroll bar's position
                       // then runs from DLG_MIN to DLG_MAX - page + 1
    DLG_READONLY = 7,  // Log: edits and combo boxes with an edit field
    DLG_FOCUS = 8,     // Log: whether the control has the keyboard focus; setting true
                       // gives it the focus (only while shown)
    DLG_SELCOUNT = 9,  // Int, read only: number of selected items of a list box
    DLG_ITEM = 1000,   // + n (n from 1): Char: text of item n of a list, combo or tab
    DLG_ITEMSEL = 2000 // + n: Log: whether item n of a list box is selected
};

// Callback types: which event a procedure registered with DLGSETSUB answers.
enum DlgCallback {
    DLG_CB_DEFAULT = 0,   // in DLGSETSUB: the natural event of the kind (click of buttons,
                          // selection change of lists and combos, text change of edits,
                          // scrolling of bars and up-downs, tab change of tabs)
    DLG_CB_CLICK = 1,     // push button, check box, radio
    DLG_CB_SELCHANGE = 2, // list box, combo box (a new item chosen)
    DLG_CB_CHANGE = 3,    // text of an edit or of a combo box's edit field changed
    DLG_CB_SCROLL = 4,    // scroll bar, track bar, up-down (after the position moved)
    DLG_CB_TABCHANGE = 5, // tab control
    DLG_CB_SETFOCUS = 6,  // the control got the keyboard focus
    DLG_CB_KILLFOCUS = 7, // the control lost it
    DLG_CB_KEY = 8,       // a key is pressed in the control: DialogRecord::key holds it;
                          // setting key.refused swallows it. On an edit with such a
                          // callback (registered before the dialog is shown), pasted
                          // text arrives one character at a time and there is no context
                          // menu or dropping to bring text in past it.
    DLG_CB_INIT = 9,      // dialog-level procedure: the window was made and filled,
                          // before it is shown (DialogRecord::initialising is set)
    DLG_CB_DESTROY = 10,  // dialog-level procedure: the window is about to go
    DLG_CB_COUNT = 11
};

// Raw messages of DLGSENDCTRLMESSAGE.
enum DlgMessage {
    DLG_MSG_SETSEL = 1,      // edit: select characters wparam .. lparam (0-based, lparam
                             // excluded; lparam -1 to the end)
    DLG_MSG_LIMITTEXT = 2,   // edit: accept at most wparam characters
    DLG_MSG_SETTABSTOPS = 3, // list box: wparam tab stops at the dialog units (a quarter of
                             // the average character width) in the int array lparam
    DLG_MSG_CHAR = 4,        // a character typed into the control (wparam, a Unicode code
                             // point), as if from the keyboard: key callbacks see it
    DLG_MSG_KEYDOWN = 5      // a key pressed in the control: wparam Qt::Key, lparam
                             // Qt::KeyboardModifiers
};

// Show states of DLGMODELESS.
enum DlgShow { DLG_HIDE = 0, DLG_SHOW = 1 };

// The key of a DLG_CB_KEY callback.
struct DlgKey {
    int key = 0;       // Qt::Key
    int modifiers = 0; // Qt::KeyboardModifiers (Qt::KeypadModifier for the number pad)
    std::string text;  // the character typed, UTF-8 ("" for keys that type none)
    bool refused = false;
};

// A callback: the dialog, the id of the control (the dialog's own id for the
// dialog-level procedure) and the callback type.
using DlgProc = void (*)(DialogRecord& dlg, int id, int callbackType);
// The help procedure: called on F1 and by a push button of id 9 without a callback of
// its own, with the id of the control that has the focus (0 when none does).
using DlgHelpProc = void (*)(DialogRecord& dlg, int focusId);

// One control of a dialog and every value it shows.
struct DlgControl {
    int id = 0;
    int kind = 0;     // DlgKind
    std::string text; // caption or edit text (see DLG_VALUE)
    int state = 0;    // check state, selected item or position
    bool enabled = true;
    bool visible = true;
    bool readOnly = false;
    bool sorted = false;                      // list box keeps its items sorted (no case)
    bool multiSelect = false;                 // list box with several selectable items
    int limit = 0;                            // edit: most characters accepted, 0 no limit
    std::vector<std::string> items;           // lists, combos, tabs
    std::vector<bool> selected;               // list box with multiSelect: one flag per item
    int minimum = 0, maximum = 100, page = 0; // ranges
    int group = 0; // radios: those with the same group exclude each other
    DlgProc procs[DLG_CB_COUNT] = {};
};

// One dialog: owned by the code that shows it, for as long as the dialog lives.
struct DialogRecord {
    int templateId = 0;        // resource id of the template
    QDialog* window = nullptr; // the window while it exists (shown or hidden)
    int returnValue = 0;       // what DLGMODAL returns
    bool initialising = false; // set while the DLG_CB_INIT procedure runs
    bool modal = false;        // shown by DLGMODAL
    DlgHelpProc helpProc = nullptr;
    DlgProc dialogProc = nullptr;     // registered under the dialog's own id
    std::string title;                // caption; the template's until DLGSETTITLE
    std::vector<DlgControl> controls; // in template order
    DlgKey key;                       // the key of the running DLG_CB_KEY callback
    struct TabChild {
        int tabId;
        int page;
        DialogRecord* child;
    };
    std::vector<TabChild> tabChildren; // child dialogs on the pages of tab controls
};

// Fills a template table entry: GWREGISTERTEMPLATE(101, Ui::PropertiesDlg).
using DlgTemplateFactory = void (*)(QDialog* dialog);
bool GwRegisterTemplate(int templateId, DlgTemplateFactory factory);
#define GWREGISTERTEMPLATE(ID, UICLASS)                                                            \
    static const bool GwTemplate##ID##Registered =                                                 \
        GwRegisterTemplate(ID, [](QDialog* d) { UICLASS().setupUi(d); });

// The window that owns dialogs and message boxes given no parent (the main window).
// Null restores "no owner".
void GwSetMainWindow(QWidget* window);
QWidget* GwMainWindow();

// Builds the record of template templateId: one control record per numbered widget
// of the template, in template order, with the template's texts, items, states and
// ranges. Returns false (record emptied) for an unknown id; for a template with a
// numbered widget of a class the layer does not know, also says so in a message box
// captioned "Unsupported Dialog Control Style" naming the class and the id.
bool DLGINIT(int templateId, DialogRecord& dlg);

// Index of control id in dlg.controls (0-based), -1 when the dialog has no such id.
int ID2INDEX(const DialogRecord& dlg, int id);

// Set and read values (see DlgIndex). False, and nothing changed, for an id the dialog
// does not hold, an index the kind does not support, or an item number out of range.
bool DLGSETINT(DialogRecord& dlg, int id, int value, int index = DLG_VALUE);
bool DLGSETLOG(DialogRecord& dlg, int id, bool value, int index = DLG_VALUE);
bool DLGSETCHAR(DialogRecord& dlg, int id, const std::string& text, int index = DLG_VALUE);
bool DLGGETINT(DialogRecord& dlg, int id, int& value, int index = DLG_VALUE);
bool DLGGETLOG(DialogRecord& dlg, int id, bool& value, int index = DLG_VALUE);
bool DLGGETCHAR(DialogRecord& dlg, int id, std::string& text, int index = DLG_VALUE);

// Registers proc for control id and callback type (DLG_CB_DEFAULT: the kind's natural
// event). Registered under the dialog's own id it is the dialog-level procedure,
// called with DLG_CB_INIT and DLG_CB_DESTROY. Null removes. False for an unknown id or
// a callback type the kind never produces.
bool DLGSETSUB(DialogRecord& dlg, int id, DlgProc proc, int callbackType = DLG_CB_DEFAULT);
// The procedure for F1 and the help button (id 9).
void DLGSETHELP(DialogRecord& dlg, DlgHelpProc proc);
// Sets the caption (at once when shown).
void DLGSETTITLE(DialogRecord& dlg, const std::string& title);

// Shows the dialog modally and returns its return value when it closes. Without a
// parent it is owned by the modal dialog already shown, else by GwMainWindow(). -1
// when it cannot be shown (record not initialised, or already shown). A push button
// without a callback ends the dialog with its id as return value; Escape and the
// window's close box act as the button of id 2 (Cancel), or end with 2 without one.
int DLGMODAL(DialogRecord& dlg, QWidget* parent = nullptr);
// Shows (DLG_SHOW) or hides (DLG_HIDE) the dialog without blocking; the window is made
// on the first call and kept until DLGEXIT. Qt routes the dialog's keys itself, so the
// main loop needs no dialog-message filter. False when the record is not initialised.
bool DLGMODELESS(DialogRecord& dlg, int show, QWidget* parent = nullptr);
// Sets what DLGMODAL will return.
void DLGSETRETURN(DialogRecord& dlg, int value);
// Closes the dialog: copies every control's value from the window into the record,
// runs the DLG_CB_DESTROY procedure and destroys the window. A modal run returns
// dlg.returnValue. False when the dialog is not shown.
bool DLGEXIT(DialogRecord& dlg);
// Copies every control record into the window (for code that changed the record's
// fields directly); nothing when not shown.
void DLGFLUSH(DialogRecord& dlg);
// Closes the dialog if it is shown and empties the record.
void DLGUNINIT(DialogRecord& dlg);

// Passes one of the DlgMessage messages to control id while the dialog is shown.
// False for an unknown id, a message the kind does not take, or a dialog not shown.
bool DLGSENDCTRLMESSAGE(DialogRecord& dlg, int id, int message, long long wparam = 0,
                        long long lparam = 0);

// Places the initialised child dialog on page `page` (from 1) of tab control tabId of
// the shown dialog dlg; the child's controls work as in any dialog and keep their
// values in child. False for an unknown tab or page, or dlg not shown.
bool DLGGETTABCHILD(DialogRecord& dlg, int tabId, int page, DialogRecord& child);
// Shows the child of the selected page of tab control tabId and hides the others (the
// layer does it by itself before a DLG_CB_TABCHANGE callback).
bool DLGTABSHOW(DialogRecord& dlg, int tabId);

// Item lists of lists, combos and tabs. CHANGENUMITEMS sets the number of items
// (adding empty ones); CHANGELISTBOXITEMS replaces the items of a list or combo (a
// sorted list sorts them) and CHANGETABITEMS the labels of a tab control; all three
// clear the selection. LISTADDSTRING adds one item to a list or combo (a sorted list
// inserts it in order) and returns its number from 1, 0 on failure.
bool CHANGENUMITEMS(DialogRecord& dlg, int id, int count);
bool CHANGELISTBOXITEMS(DialogRecord& dlg, int id, const std::vector<std::string>& items);
bool CHANGETABITEMS(DialogRecord& dlg, int id, const std::vector<std::string>& labels);
int LISTADDSTRING(DialogRecord& dlg, int id, const std::string& text);
