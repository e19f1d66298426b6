#pragma once
// GwMenu: the menu bar of a main window, built from a table, and the changes the
// program makes to its items afterwards. Every command reaches one handler with its id.

#include <span>
#include <string>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

// Item states (or-ed). Qt has one disabled look: grayed and disabled are the same.
enum GwMenuState { GW_MF_ENABLED = 0, GW_MF_GRAYED = 1, GW_MF_DISABLED = 2, GW_MF_CHECKED = 8 };
// Item types.
enum GwMenuType { GW_MFT_STRING = 0, GW_MFT_SEPARATOR = 0x800 };

// One row of a menu table. level 0 is a popup of the menu bar, level 1 an item of the
// popup above it, level 2 an item of a submenu (a level-1 row with id 0 and a text).
// A row without text (null or "") is a separator. text marks the mnemonic with "&";
// what follows a tab is shown as the item's key without acting as one. key is the
// shortcut that is shown and active, in Qt's portable form ("Ctrl+N", "Alt+Return",
// "F1"), null or "" for none. A popup row takes only its text and whether it is
// grayed.
struct GwMenuItem {
    int level = 0;
    int id = 0;
    const char* text = nullptr;
    const char* key = nullptr;
    int state = GW_MF_ENABLED;
};

// Called with the id of the chosen item (menu or shortcut).
using GwCommandProc = void (*)(int id);

// Builds the menu bar of `window` from the table and sends every command to handler.
// Commands of disabled items, or of items in a disabled popup, never reach it; a click
// never changes an item's check mark (the program sets it).
QMenuBar* GwLoadMenu(QMainWindow* window, std::span<const GwMenuItem> table, GwCommandProc handler);
// Inserts an item (level ignored) into popup `popup` (0-based position in the menu bar)
// at 0-based position `position` (separators count; -1 or past the end appends).
// False for a missing popup or an id already in the menu.
bool GwInsertMi(QMenuBar* menu, int popup, int position, const GwMenuItem& item);
// The action of item id, null when the menu has none; popup and position (0-based)
// receive where it is when given.
QAction* FINDMIBYID(QMenuBar* menu, int id, QMenu** popup = nullptr, int* position = nullptr);
// Turns item id into a separator or back into a text item (GwMenuType).
bool GwModifyMiType(QMenuBar* menu, int id, int type);
// Sets the state of item id (GwMenuState, or-ed).
bool GwModifyMiState(QMenuBar* menu, int id, int state);
// Sets the text of item id (with "&" and an optional tab part as in the table).
bool GwModifyMiTitle(QMenuBar* menu, int id, const std::string& text);
// The state of item id, -1 when the menu has none.
int GwGetMiState(QMenuBar* menu, int id);
// Enables or grays a whole popup of the menu bar by 0-based position.
bool GwEnablePopup(QMenuBar* menu, int popup, bool enabled);
