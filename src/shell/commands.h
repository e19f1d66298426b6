#pragma once
// The commands of the main window: their ids, menu texts, keys and states, the
// dispatch of a command to its handler, and the menu states that follow the open
// tournament and the view shown.

#include <string>

class MainFrame;
class QMenuBar;

// Command ids of the menu and the keys.
enum CommandId {
    IDM_FILENEW = 40013,
    IDM_FILEOPEN = 40014,
    IDM_FILESAVE = 40015,
    IDM_FILESAVEAS = 40004,
    IDM_FILECLOSE = 40039,
    IDM_EXIT = 40040,
    IDM_PRINT = 40016,
    IDM_PAGESETUP = 40024,
    IDM_EXPORTTEXT = 40006,
    IDM_EXPORTHTML = 40025,
    IDM_EXPORTPBN = 40041,
    IDM_IMPORTHANDS = 40042,
    IDM_EXPORTHANDS = 40043,
    IDM_PUBLISHSITE = 40061,
    IDM_RECENT1 = 40026, // ... IDM_RECENT1 + 3: recent files 1 to 4
    IDM_SORTBYLINES = 40007,
    IDM_SORTBYPLACEMENT = 40008,
    IDM_BOARDLISTS = 40009,
    IDM_FREQUENCY = 40030,
    IDM_PERSONAL = 40031,
    IDM_PROPERTIES = 40010,
    IDM_HANDDIAGRAMS = 40036,
    IDM_CHECKNAMES = 40012,
    IDM_EDITPLAYERS = 40011,
    IDM_UPDATERATING = 40017,
    IDM_STATISTICS = 40051,
    IDM_SCORETABLES = 40060,
    IDM_ADJUSTED = 40018,
    IDM_INVERSION = 40020,
    IDM_PENALTY = 40019,
    IDM_SRPSKI = 40032,
    IDM_ENGLISH = 40034,
    IDM_HELPCONTENTS = 40037,
    IDM_HELPCONTEXT = 40038,
    IDM_ABOUT = 40035,
};

// Positions of the popups in the menu bar.
enum MenuPosition {
    MENU_FILE = 0,
    MENU_VIEW = 1,
    MENU_PLAYERS = 2,
    MENU_OPTIONS = 3,
    MENU_HELP = 4
};

// Number of File menu items before the recent files (after the separator that
// follows the exports); the separator and "E&xit" come after them.
constexpr int FileMenuFixedItems = 16;

// One row of the menu: a popup of the menu bar (level 0) or one of its items
// (level 1; no text = separator), its id, text with its "&" mnemonic (after a
// tab: a key that is only shown), key, handler (nullptr while the part of the
// program it belongs to is missing: the command then stays gray) and whether it
// is enabled and checked (its state as the program wants it).
struct Command {
    int level;
    int id;
    const char* text;
    const char* key;
    void (*handler)();
    bool enabled;
    bool checked;
};

// The menu, in menu order.
extern Command CommandTable[];
extern const int CommandCount;

// The command of `id` in CommandTable, or nullptr.
Command* FINDCOMMAND(int id);

// Builds the menu bar of the main window from CommandTable, every command going
// to ONCOMMAND.
QMenuBar* BUILDMENU(MainFrame* window);

// Runs the command `id` (menu item or key) when it is enabled; recent files
// open their entry. Returns false for an id that does nothing or is gray.
bool ONCOMMAND(int id);

// Enables or grays a command; a command without handler stays gray whatever is
// asked, and is enabled again once a handler exists and it is enabled.
void SETCOMMANDSTATE(int id, bool enabled);
// Checks or unchecks a command.
void SETCOMMANDCHECK(int id, bool checked);
// Whether the command can be chosen now (its popup enabled too) and whether it
// is checked, as the menu shows it.
bool COMMANDENABLED(int id);
bool COMMANDCHECKED(int id);

// Enables (open) or grays the commands and popups that need a tournament;
// "&Hand Diagrams" follows hasHands.
void TOURNAMENTMENUS(bool open, bool hasHands);

// Checks the view command `id` (one of the five view commands), unchecks the
// other four and sets the export, print and entry commands the view allows.
void SETVIEWSTATE(int id);

// Shows the view of command `id` through its handler, or, while the view has no
// handler yet, sets ViewMode and SortByPlacement and the menu states of that
// view and redraws.
void SWITCHVIEW(int id);

// Rebuilds the recent-file items of the File menu from RecentFiles.
void UPDATERECENTMENU();

// Longest file name a recent-file item shows whole, in characters.
constexpr int RecentTitleLength = 64;
// The menu text of a recent file's name: at most RecentTitleLength characters
// (a longer name keeps its start and end around an ellipsis), "&" doubled, and
// control characters shown as their pictures, so that none acts on the menu.
// With `folders` > 0 the name comes with that many folders above it
// ("club/r1.otr"), so that files of the same name tell apart.
std::string RECENTFILETITLE(const std::string& path, int folders = 0);

// Puts the command table back to its start states.
void RESETCOMMANDS();
