// The two dialogs of the Players menu: Check Names, which registers the players
// of the open tournament that the register does not know, and Edit Player List,
// the register itself. Both change the register only through players/players.h,
// which saves every change at once.
#include "shell/playersdlg.h"

#include "core/cp1250.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "players/players.h"
#include "shell/entry.h"
#include "shell/help.h"
#include "shell/perioddlg.h"
#include "ui_checknamesdlg.h"
#include "ui_editplayersdlg.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwmessage.h"

#include <QDialog>
#include <QKeyEvent>

#include <algorithm>
#include <vector>

GWREGISTERTEMPLATE(104, Ui::CheckNamesDlg)
GWREGISTERTEMPLATE(105, Ui::EditPlayersDlg)

namespace {

enum {
    ID_NAME = 1000,
    ID_RATING = 1016,
    ID_LIST = 1008,
    ID_ADD = 3,
    ID_REMOVE = 1010,
    ID_CHANGE = 1011,
    ID_EXPORTHTML = 4,
    ID_PRINT = 5,
};

// The players of the tournament the register does not know, while Check Names
// is open: pair and player.
struct Pending {
    int pair, player;
};
std::vector<Pending> pendingNames;

std::string tournamentName(const Pending& n) {
    return FIELDTEXT(PlayerNames(n.pair, n.player).c, NameLength);
}

bool isEnter(const DialogRecord& dlg) {
    return dlg.key.key == Qt::Key_Return || dlg.key.key == Qt::Key_Enter;
}

void focus(DialogRecord& dlg, int id) {
    DLGSETLOG(dlg, id, true, DLG_FOCUS);
}

// Check Names -------------------------------------------------------------

// The Add button: registers the selected name with rating 0, then lists the
// rest, the selection staying on the same row.
void ONPLAYERADD(DialogRecord& dlg, int, int) {
    int row = 0;
    std::string text;
    DLGGETINT(dlg, ID_LIST, row);
    if (row < 1 || !DLGGETCHAR(dlg, ID_LIST, text)) return;
    // The list shows the names in Unicode; the register takes the tournament's own bytes.
    std::string name;
    bool found = false;
    for (const Pending& n : pendingNames) {
        if (CP1250TOUTF8(tournamentName(n)) == text) {
            name = tournamentName(n);
            found = true;
            break;
        }
    }
    if (!found || !REGISTERNEWPLAYER(name)) return;
    UPDATENAMELIST(dlg);
    int count = 0;
    DLGGETINT(dlg, ID_LIST, count, DLG_COUNT);
    if (count > 0) DLGSETINT(dlg, ID_LIST, std::min(row, count));
}

void checkNamesInit(DialogRecord& dlg, int, int callbackType) {
    if (callbackType != DLG_CB_INIT) return;
    UPDATENAMELIST(dlg);
    int count = 0;
    DLGGETINT(dlg, ID_LIST, count, DLG_COUNT);
    if (count > 0) DLGSETINT(dlg, ID_LIST, 1);
    focus(dlg, ID_LIST);
}

// Edit Player List ----------------------------------------------------------

// The name field in the register's letters; false (said why) when it holds a
// character the register cannot keep.
bool nameField(DialogRecord& dlg, std::string& name) {
    std::string text;
    DLGGETCHAR(dlg, ID_NAME, text);
    if (REGNAMEFROMUTF8(text, "Name", name)) return true;
    focus(dlg, ID_NAME);
    return false;
}

// The rating field as a whole number 0-9999 (blanks around it ignored; empty is
// 0 when `emptyIsZero`, for a new player). Anything else is refused: the
// message names the field, the text stays and the cursor goes back there.
bool ratingField(DialogRecord& dlg, bool emptyIsZero, int& rating) {
    std::string text;
    DLGGETCHAR(dlg, ID_RATING, text);
    const std::size_t from = text.find_first_not_of(' '), to = text.find_last_not_of(' ');
    const std::string digits = from == std::string::npos ? "" : text.substr(from, to - from + 1);
    bool whole = !digits.empty() && digits.size() <= 4;
    for (const char c : digits)
        whole = whole && c >= '0' && c <= '9';
    if (whole || (digits.empty() && emptyIsZero)) {
        rating = digits.empty() ? 0 : std::stoi(digits);
        return true;
    }
    GwMessageBox(dlg.window,
                 "Rating: type a whole number from 0 to 9999" +
                     std::string(digits.empty() ? "." : ", not \"" + text + "\"."),
                 "Error", GW_MB_ERROR);
    focus(dlg, ID_RATING);
    return false;
}

// After a change: the list again, the player's row chosen when he is still
// registered, the name field ready for the next one.
void showChanged(DialogRecord& dlg, const std::string& name, bool clear) {
    UPDATEPLAYERLIST(dlg);
    if (const int i = FINDREGPLAYER(name)) {
        for (int k = 1; k <= RegisteredCount; ++k)
            if (RegOrder(k) == i) DLGSETINT(dlg, ID_LIST, k);
    }
    if (clear) {
        DLGSETCHAR(dlg, ID_NAME, "");
        DLGSETCHAR(dlg, ID_RATING, "");
    }
    focus(dlg, ID_NAME);
}

void ONADDREGPLAYER(DialogRecord& dlg, int, int) {
    std::string name;
    int rating = 0;
    if (!nameField(dlg, name) || !ratingField(dlg, true, rating)) return;
    if (!APPENDREGPLAYER(name, rating)) {
        focus(dlg, ID_NAME);
        return;
    }
    showChanged(dlg, name, true);
}

void ONREMOVEREGPLAYER(DialogRecord& dlg, int, int) {
    std::string name;
    if (!nameField(dlg, name)) return;
    const bool removed = REMOVEREGPLAYER(name);
    UPDATEPLAYERLIST(dlg);
    if (removed) {
        DLGSETCHAR(dlg, ID_NAME, "");
        DLGSETCHAR(dlg, ID_RATING, "");
    }
    focus(dlg, ID_NAME);
}

void ONCHANGEREGPLAYER(DialogRecord& dlg, int, int) {
    std::string name;
    int rating = 0;
    if (!nameField(dlg, name) || !ratingField(dlg, false, rating)) return;
    if (CHANGEREGRATING(name, rating))
        showChanged(dlg, name, false);
    else
        UPDATEPLAYERLIST(dlg);
}

void ONSORTCHANGE(DialogRecord& dlg, int, int) {
    UPDATEPLAYERLIST(dlg);
}

// A row chosen: its player into the two fields.
void ONSELCHANGE(DialogRecord& dlg, int, int) {
    int k = 0;
    DLGGETINT(dlg, ID_LIST, k);
    if (k < 1 || k > RegisteredCount) return;
    const int i = RegOrder(k);
    DLGSETCHAR(dlg, ID_NAME, CP1250TOUTF8(FIELDTEXT(RegName(i).c, RegNameLength)));
    const int width = std::max<int>(4, static_cast<int>(std::to_string(RegRating(i)).size()));
    DLGSETCHAR(dlg, ID_RATING, IWRITE(RegRating(i), width));
}

// Enter in the name field goes on to the rating, in the rating field to Add.
void fieldKey(DialogRecord& dlg, int id, int) {
    if (!isEnter(dlg)) return;
    dlg.key.refused = true;
    focus(dlg, id == ID_NAME ? ID_RATING : ID_ADD);
}

void ONDLGVIEWINIT(DialogRecord& dlg, int, int callbackType) {
    if (callbackType != DLG_CB_INIT) return;
    static const int stops[] = {125, 155, 185};
    DLGSENDCTRLMESSAGE(dlg, ID_LIST, DLG_MSG_SETTABSTOPS, 3, reinterpret_cast<long long>(stops));
    UPDATEPLAYERLIST(dlg);
    focus(dlg, ID_NAME);
}

} // namespace

void UPDATENAMELIST(DialogRecord& dlg) {
    pendingNames.clear();
    std::vector<std::string> items;
    if (TournamentOpen && PlayerNames.allocated()) {
        const int pairs = std::min(NumPairs, PlayerNames.extent(1));
        for (int p = 1; p <= pairs; ++p)
            for (int j = 1; j <= 2; ++j)
                if (!FINDREGPLAYER(std::string_view(PlayerNames(p, j).c, NameLength))) {
                    pendingNames.push_back({p, j});
                    items.push_back(CP1250TOUTF8(tournamentName(pendingNames.back())));
                }
    }
    CHANGELISTBOXITEMS(dlg, ID_LIST, items);
}

void UPDATEPLAYERLIST(DialogRecord& dlg) {
    for (int key : {SORT_NAME, SORT_RATING, SORT_DELTA}) {
        bool pressed = false;
        if (DLGGETLOG(dlg, key, pressed) && pressed) {
            SORTPLAYERS(key);
            break;
        }
    }
    std::vector<std::string> rows;
    rows.reserve(static_cast<std::size_t>(RegisteredCount));
    for (int k = 1; k <= RegisteredCount; ++k)
        rows.push_back(CP1250TOUTF8(PLAYERLISTROW(k)));
    CHANGELISTBOXITEMS(dlg, ID_LIST, rows);
}

void ONCHECKNAMES() {
    DialogRecord dlg;
    if (!DLGINIT(104, dlg)) return;
    DLGSETSUB(dlg, 104, checkNamesInit);
    DLGSETSUB(dlg, ID_ADD, ONPLAYERADD);
    DLGSETHELP(dlg, [](DialogRecord&, int) { ONDIALOGHELP(104); });
    DLGMODAL(dlg);
    DLGUNINIT(dlg);
    pendingNames.clear();
    FILLNAMEBOX(); // the names just registered are offered at once
}

void ONEDITPLAYERLIST() {
    DialogRecord dlg;
    if (!DLGINIT(105, dlg)) return;
    DLGSETLOG(dlg, SORT_NAME, true);
    SORTPLAYERS(SORT_NAME);
    DLGSETSUB(dlg, 105, ONDLGVIEWINIT);
    DLGSETSUB(dlg, ID_ADD, ONADDREGPLAYER);
    DLGSETSUB(dlg, ID_REMOVE, ONREMOVEREGPLAYER);
    DLGSETSUB(dlg, ID_CHANGE, ONCHANGEREGPLAYER);
    for (int key : {SORT_NAME, SORT_RATING, SORT_DELTA})
        DLGSETSUB(dlg, key, ONSORTCHANGE);
    DLGSETSUB(dlg, ID_LIST, ONSELCHANGE);
    DLGSETLOG(dlg, ID_EXPORTHTML, true, DLG_ENABLED);
    DLGSETLOG(dlg, ID_PRINT, true, DLG_ENABLED);
    DLGSETSUB(dlg, ID_EXPORTHTML, ONEXPORTHTMLLIST);
    DLGSETSUB(dlg, ID_PRINT, ONPRINTLIST);
    DLGSETSUB(dlg, ID_NAME, fieldKey, DLG_CB_KEY);
    DLGSETSUB(dlg, ID_RATING, fieldKey, DLG_CB_KEY);
    DLGSETHELP(dlg, [](DialogRecord&, int) { ONDIALOGHELP(105); });
    DLGMODAL(dlg);
    DLGUNINIT(dlg);
    FILLNAMEBOX();
}
