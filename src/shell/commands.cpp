#include "shell/commands.h"
#include "shell/entry.h"

#include "core/hooks.h"
#include "core/tournament.h"
#include "shell/handdlg.h"
#include "shell/help.h"
#include "shell/lifecycle.h"
#include "shell/mainwindow.h"
#include "shell/pagesetup.h"
#include "shell/perioddlg.h"
#include "shell/playersdlg.h"
#include "shell/publishsite.h"
#include "shell/reportcmds.h"
#include "shell/scoringdlg.h"
#include "shell/settings.h"
#include "shell/shell.h"
#include "winsupport/gwmenu.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <vector>

namespace {

void onFileNew() {
    ONFILENEW();
}
void onFileOpen() {
    ONFILEOPEN();
}
void onFileSave() {
    ONFILESAVE();
}
void onFileSaveAs() {
    ONFILESAVEAS();
}
void onFileClose() {
    ONFILECLOSE();
}
// Leaving the program goes through the window's close, which asks about unsaved
// changes as Close does and stays when they were to be saved and were not.
void onPageSetup() {
    ONPAGESETUP();
}
void onExit() {
    if (MainWindow) MainWindow->close();
}

// Handlers stay nullptr until their part of the program exists; the command is
// gray until then. Every item has an access key of its own within its menu.
const Command StartTable[] = {
    {0, 0, "&File", nullptr, nullptr, true, false},
    {1, IDM_FILENEW, "&New...", "Ctrl+N", onFileNew, true, false},
    {1, IDM_FILEOPEN, "&Open...", "Ctrl+O", onFileOpen, true, false},
    {1, IDM_FILESAVE, "&Save...", "Ctrl+S", onFileSave, false, false},
    {1, IDM_FILESAVEAS, "Save &As...", nullptr, onFileSaveAs, false, false},
    {1, IDM_FILECLOSE, "&Close", nullptr, onFileClose, false, false},
    {1, 0, nullptr, nullptr, nullptr, true, false},
    {1, IDM_PRINT, "&Print...", "Ctrl+P", ONPRINTPLACEMENT, false, false},
    {1, IDM_PAGESETUP, "Page Set&up...", nullptr, onPageSetup, true, false},
    {1, 0, nullptr, nullptr, nullptr, true, false},
    {1, IDM_EXPORTTEXT, "&Export Text File...", nullptr, ONEXPORTTEXT, false, false},
    {1, IDM_EXPORTHTML, "Export H&TML...", nullptr, ONEXPORTHTML, false, false},
    {1, IDM_EXPORTPBN, "Export results (P&BN)...", nullptr, ONEXPORTPBN, false, false},
    {1, IDM_PUBLISHSITE, "Pub&lish site...", nullptr, ONPUBLISHSITE, false, false},
    {1, 0, nullptr, nullptr, nullptr, true, false},
    {1, IDM_IMPORTHANDS, "&Import hands (PBN)...", nullptr, ONIMPORTHANDS, false, false},
    {1, IDM_EXPORTHANDS, "Export &hands (PBN)...", nullptr, ONEXPORTHANDS, false, false},
    {1, 0, nullptr, nullptr, nullptr, true, false},
    // The recent files go here.
    {1, 0, nullptr, nullptr, nullptr, true, false},
    {1, IDM_EXIT, "E&xit", "Ctrl+Q", onExit, true, false},
    {0, 0, "&View", nullptr, nullptr, true, false},
    {1, IDM_SORTBYLINES, "Sort by &Lines", "Ctrl+L", ONPLAYERLIST, true, false},
    {1, IDM_SORTBYPLACEMENT, "Sort by &Placement", "Ctrl+R", ONPLAYERPLACEMENT, true, false},
    {1, IDM_BOARDLISTS, "&Board Lists", "Ctrl+B", ONVIEWBOARDLISTS, true, false},
    {1, IDM_FREQUENCY, "&Frequency Lists", "Ctrl+F", ONVIEWFREQUENCY, true, false},
    {1, IDM_PERSONAL, "Personal &Score Lists", "Ctrl+K", ONVIEWPERSONAL, true, false},
    {1, 0, nullptr, nullptr, nullptr, true, false},
    {1, IDM_PROPERTIES, "&Tournament Properties", "Alt+Return", ONVIEWPROPERTIES, true, false},
    {1, IDM_HANDDIAGRAMS, "&Hand Diagrams", "Ctrl+H", ONVIEWHANDS, false, false},
    {0, 0, "&Players", nullptr, nullptr, true, false},
    {1, IDM_CHECKNAMES, "&Check names...", nullptr, ONCHECKNAMES, false, false},
    {1, IDM_EDITPLAYERS, "&Edit player list...", nullptr, ONEDITPLAYERLIST, true, false},
    {1, IDM_UPDATERATING, "&Update rating...", nullptr, ONUPDATERATING, true, false},
    {1, IDM_STATISTICS, "&Statistics...", nullptr, ONSTATISTICS, true, false},
    {1, 0, nullptr, nullptr, nullptr, true, false},
    {1, IDM_SCORETABLES, "Score at the &tables...", nullptr, ONSCORETABLES, false, false},
    // These pass the keypad "*" and "/" on to the entry window that has the focus.
    {0, 0, "&Options", nullptr, nullptr, true, false},
    {1, IDM_ADJUSTED, "&Adjusted Score\t*", nullptr, ONADJUSTEDSCORE, false, false},
    {1, IDM_INVERSION, "&Inversion\t/", nullptr, ONINVERSION, false, false},
    {1, IDM_PENALTY, "&Penalty\t*", nullptr, ONPENALTYCOMMAND, false, false},
    {0, 0, "&Help", nullptr, nullptr, true, false},
    {1, IDM_HELPCONTENTS, "&Contents && Index", nullptr, ONHELPCONTENTS, true, false},
    {1, IDM_HELPCONTEXT, "Context &Help", "F1", ONHELPCONTEXT, true, false},
    {1, 0, nullptr, nullptr, nullptr, true, false},
    {1, IDM_SRPSKI, "&Srpski", nullptr, ONHELPSRPSKI, true, true},
    {1, IDM_ENGLISH, "&English", nullptr, ONHELPENGLISH, true, false},
    {1, 0, nullptr, nullptr, nullptr, true, false},
    {1, IDM_ABOUT, "&About...", nullptr, ONHELPABOUT, true, false},
};

constexpr int StartCount = sizeof StartTable / sizeof StartTable[0];

// Whether the View and Options popups are enabled (a tournament is open).
bool tournamentPopups = false;

QMenuBar* menuBar() {
    return MainWindow ? MainWindow->menuBar() : nullptr;
}

// The popup (position in the menu bar) that holds command id.
int popupOf(int id) {
    int popup = -1;
    for (int i = 0; i < CommandCount; ++i) {
        if (CommandTable[i].level == 0)
            ++popup;
        else if (CommandTable[i].id == id)
            return popup;
    }
    if (id >= IDM_RECENT1 && id < IDM_RECENT1 + RecentFileCount) return MENU_FILE;
    return -1;
}

// Shows the state of one command in the menu.
void applyState(const Command& c) {
    QMenuBar* menu = menuBar();
    if (!menu || c.id == 0) return;
    const bool on = c.enabled && c.handler;
    GwModifyMiState(menu, c.id,
                    (on ? GW_MF_ENABLED : GW_MF_GRAYED) | (c.checked ? GW_MF_CHECKED : 0));
}

void dispatch(int id) {
    ONCOMMAND(id);
}

} // namespace

Command CommandTable[StartCount];
const int CommandCount = StartCount;

void RESETCOMMANDS() {
    for (int i = 0; i < StartCount; ++i)
        CommandTable[i] = StartTable[i];
    tournamentPopups = false;
}

namespace {
const bool commandsReady = (RESETCOMMANDS(), true);
} // namespace

Command* FINDCOMMAND(int id) {
    if (id == 0) return nullptr;
    for (int i = 0; i < CommandCount; ++i)
        if (CommandTable[i].level == 1 && CommandTable[i].id == id) return &CommandTable[i];
    return nullptr;
}

QMenuBar* BUILDMENU(MainFrame* window) {
    std::vector<GwMenuItem> items;
    items.reserve(CommandCount);
    for (int i = 0; i < CommandCount; ++i) {
        const Command& c = CommandTable[i];
        GwMenuItem item;
        item.level = c.level;
        item.id = c.id;
        item.text = c.text;
        item.key = c.key;
        if (c.level == 1 && c.id != 0)
            item.state = (c.enabled && c.handler ? GW_MF_ENABLED : GW_MF_GRAYED) |
                         (c.checked ? GW_MF_CHECKED : 0);
        items.push_back(item);
    }
    QMenuBar* menu = GwLoadMenu(window, items, dispatch);
    GwEnablePopup(menu, MENU_VIEW, tournamentPopups);
    GwEnablePopup(menu, MENU_OPTIONS, tournamentPopups);
    return menu;
}

bool COMMANDENABLED(int id) {
    const int popup = popupOf(id);
    if (popup == MENU_VIEW || popup == MENU_OPTIONS) {
        if (!tournamentPopups) return false;
    }
    if (id >= IDM_RECENT1 && id < IDM_RECENT1 + RecentFileCount)
        return !RecentFiles[id - IDM_RECENT1].empty();
    const Command* c = FINDCOMMAND(id);
    return c && c->enabled && c->handler;
}

bool COMMANDCHECKED(int id) {
    const Command* c = FINDCOMMAND(id);
    return c && c->checked;
}

bool ONCOMMAND(int id) {
    if (!COMMANDENABLED(id)) return false;
    if (id >= IDM_RECENT1 && id < IDM_RECENT1 + RecentFileCount) {
        ONRECENTFILE(id - IDM_RECENT1 + 1);
        return true;
    }
    FINDCOMMAND(id)->handler();
    return true;
}

void SETCOMMANDSTATE(int id, bool enabled) {
    if (Command* c = FINDCOMMAND(id)) {
        c->enabled = enabled;
        applyState(*c);
    }
}

void SETCOMMANDCHECK(int id, bool checked) {
    if (Command* c = FINDCOMMAND(id)) {
        c->checked = checked;
        applyState(*c);
    }
}

void TOURNAMENTMENUS(bool open, bool hasHands) {
    tournamentPopups = open;
    if (QMenuBar* menu = menuBar()) {
        GwEnablePopup(menu, MENU_VIEW, open);
        GwEnablePopup(menu, MENU_OPTIONS, open);
    }
    for (int id : {IDM_FILESAVE, IDM_FILESAVEAS, IDM_FILECLOSE, IDM_PRINT, IDM_EXPORTTEXT,
                   IDM_EXPORTHTML, IDM_EXPORTPBN, IDM_PUBLISHSITE, IDM_IMPORTHANDS, IDM_CHECKNAMES,
                   IDM_SCORETABLES})
        SETCOMMANDSTATE(id, open);
    SETCOMMANDSTATE(IDM_HANDDIAGRAMS, open && hasHands);
    SETCOMMANDSTATE(IDM_EXPORTHANDS, open && hasHands);
    HANDSTOURNAMENTCHANGED(open, hasHands);
    SCORINGTOURNAMENTCHANGED(open);
}

void SETVIEWSTATE(int id) {
    // What each view allows: -1 leaves the command as it is, 0 grays it, 1 enables it.
    struct Row {
        int view;
        int html, text, print, adjusted, inversion, penalty;
    };
    static constexpr Row table[] = {
        {IDM_SORTBYLINES, 1, -1, -1, 0, 0, 1}, {IDM_SORTBYPLACEMENT, 1, -1, -1, 0, 0, 0},
        {IDM_BOARDLISTS, 0, 1, 1, 1, 1, 0},    {IDM_FREQUENCY, 1, 1, 1, 0, 0, 0},
        {IDM_PERSONAL, 0, 1, 1, 0, 0, 0},
    };
    const Row* row = nullptr;
    for (const Row& r : table)
        if (r.view == id) row = &r;
    if (!row) return;
    for (const Row& r : table)
        SETCOMMANDCHECK(r.view, r.view == id);
    const std::pair<int, int> states[] = {
        {IDM_EXPORTHTML, row->html},     {IDM_EXPORTTEXT, row->text},
        {IDM_PRINT, row->print},         {IDM_ADJUSTED, row->adjusted},
        {IDM_INVERSION, row->inversion}, {IDM_PENALTY, row->penalty}};
    for (const auto& [command, state] : states)
        if (state >= 0) SETCOMMANDSTATE(command, state == 1);
}

void SWITCHVIEW(int id) {
    const Command* c = FINDCOMMAND(id);
    if (c && c->handler) {
        c->handler();
        return;
    }
    switch (id) {
    case IDM_SORTBYLINES:
        ViewMode = 1, SortByPlacement = 0;
        break;
    case IDM_SORTBYPLACEMENT:
        ViewMode = 1, SortByPlacement = 1;
        break;
    case IDM_BOARDLISTS:
        ViewMode = 2;
        break;
    case IDM_FREQUENCY:
        ViewMode = 3;
        break;
    case IDM_PERSONAL:
        ViewMode = 4;
        break;
    default:
        return;
    }
    SETVIEWSTATE(id);
    REDRAW();
}

namespace {

QStringList pathParts(const std::string& path) {
    return QDir::fromNativeSeparators(QString::fromStdString(path)).split('/', Qt::SkipEmptyParts);
}

// How many folders the item of recent file n shows: none, unless another entry
// has the same name; then enough of them to tell the two apart.
int foldersShown(int n) {
    const QStringList mine = pathParts(RecentFiles[n - 1]);
    int need = 0;
    for (int m = 1; m <= RecentFileCount; ++m) {
        if (m == n || RecentFiles[m - 1].empty()) continue;
        const QStringList other = pathParts(RecentFiles[m - 1]);
        qsizetype same = 0;
        while (same < mine.size() && same < other.size() &&
               mine[mine.size() - 1 - same].compare(other[other.size() - 1 - same],
                                                    Qt::CaseInsensitive) == 0)
            ++same;
        need = std::max(need, static_cast<int>(std::min(same, mine.size() - 1)));
    }
    return need;
}

} // namespace

std::string RECENTFILETITLE(const std::string& path, int folders) {
    QString title = QString::fromStdString(FILETITLE(path));
    if (folders > 0) {
        const QStringList parts = pathParts(path);
        title = QDir::toNativeSeparators(parts.mid(std::max<qsizetype>(0, parts.size() - 1 - folders)).join('/'));
    }
    // A name too long for a menu keeps its start and its end.
    if (title.size() > RecentTitleLength) {
        const qsizetype tail = RecentTitleLength / 3;
        title = title.left(RecentTitleLength - tail - 1) + QChar(0x2026) + title.right(tail);
    }
    QString shown;
    for (const QChar ch : title) {
        if (ch == '&')
            shown += "&&"; // shown as itself, not as a mnemonic
        else if (ch.unicode() < 0x20)
            shown += QChar(0x2400 + ch.unicode()); // its picture: a tab is no key column
        else if (ch.unicode() == 0x7F)
            shown += QChar(0x2421);
        else if (ch.category() == QChar::Other_Control)
            shown += QChar(0xFFFD);
        else
            shown += ch;
    }
    return shown.toStdString();
}

void UPDATERECENTMENU() {
    QMenuBar* menu = menuBar();
    if (!menu) return;
    for (int n = 1; n <= RecentFileCount; ++n) {
        const int id = IDM_RECENT1 + n - 1;
        const std::string& path = RecentFiles[n - 1];
        QAction* action = FINDMIBYID(menu, id);
        if (path.empty()) {
            // The list ends here: no item for this entry or any later one.
            if (action) action->setVisible(false);
            continue;
        }
        const std::string text = "&" + std::to_string(n) + " " + RECENTFILETITLE(path, foldersShown(n));
        if (action) {
            GwModifyMiTitle(menu, id, text);
            action->setVisible(true);
        } else {
            GwMenuItem item;
            item.level = 1;
            item.id = id;
            item.text = text.c_str();
            GwInsertMi(menu, MENU_FILE, FileMenuFixedItems + n - 1, item);
        }
    }
}
