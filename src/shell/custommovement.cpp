// The Custom Movement dialog (119): the NS and EW pair of every entry of every
// board set, typed with the keyboard as results are, kept in a movement file and
// read back from one.
#include "shell/custommovement.h"

#include "core/hooks.h"
#include "core/programfolder.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "movement/custom.h"
#include "movement/movement.h"
#include "winsupport/gwfile.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwmessage.h"

#include <QDialog>
#include <QtCore/qnamespace.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

bool CUSTOMMOVEMENTDIALOGREADY();

namespace {

enum {
    ID_OK = 1,
    ID_CANCEL = 2,
    ID_OPEN = 3,
    ID_SAVEAS = 4,
    ID_SECTION = 1000,
    ID_NEXT = 1023,
    ID_SCROLL = 1025,
    ID_TABS = 1026,
    ID_NSEW = 1033,
    ID_TWOSECTIONS = 1034,
    ID_MESSAGE = 1035,
    ID_FIRSTPAIR = 1100,
    ID_LASTPAIR = 1115,
    ID_ENTRIES = 1116,
    ID_FIRSTNUMBER = 1200,
};

constexpr int Rows = 8;
constexpr const char* Filter = "ORLA Custom Movements (*.ocm)";

// The board set shown and the entry in the first visible row, less one.
int ShownSet = 1;
int ScrollPos = 0;
// The pairs the movement held since the last OK was made for (0: none).
int EditedPairs = 0;

bool isPairField(int id) {
    return id >= ID_FIRSTPAIR && id <= ID_LASTPAIR;
}
int rowOf(int id) {
    return (id - ID_FIRSTPAIR) / 2 + 1;
}
int sideOf(int id) {
    return (id - ID_FIRSTPAIR) % 2 + 1;
}
int fieldOf(int row, int side) {
    return ID_FIRSTPAIR + 2 * (row - 1) + side - 1;
}

std::string trimmed(const std::string& s) {
    const auto a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// A pair as its field shows it: the identifier without its padding; nobody empty.
std::string shown(int pair) {
    return pair >= 1 ? trimmed(GETPAIRID(pair)) : std::string();
}

std::string sideName(int side) {
    return side == 1 ? "NS" : "EW";
}

void say(DialogRecord& dlg, const std::string& text) {
    DLGSETCHAR(dlg, ID_MESSAGE, text);
}

void focus(DialogRecord& dlg, int id) {
    DLGSETLOG(dlg, id, true, DLG_FOCUS);
    DLGSENDCTRLMESSAGE(dlg, id, DLG_MSG_SETSEL, 0, -1);
}

// The pair that occurs more than once in the entries of the shown set, 0 when
// none does. Empty places are nobody and do not count.
int duplicatedPair() {
    std::vector<int> seen(static_cast<std::size_t>(std::max(NumPairs, 0)) + 1, 0);
    for (int i = 1; i <= SetEntries(ShownSet); ++i)
        for (int side = 1; side <= 2; ++side) {
            const int p = Movement(ShownSet, i, side);
            if (p < 1 || p > NumPairs) continue;
            if (++seen[static_cast<std::size_t>(p)] > 1) return p;
        }
    return 0;
}

// Shows "Duplicated " and the pair while a pair repeats in the shown set, and
// keeps OK, Save As and the tabs disabled until it no longer does.
bool checkDuplicates(DialogRecord& dlg) {
    const int p = duplicatedPair();
    for (int id : {ID_OK, ID_SAVEAS, ID_TABS}) DLGSETLOG(dlg, id, p == 0, DLG_ENABLED);
    say(dlg, p ? "Duplicated " + GETPAIRID(p) : std::string());
    return p == 0;
}

// Puts the shown set into the rows, the entry count and the scroll bar.
void fillRows(DialogRecord& dlg) {
    const int entries = SetEntries(ShownSet);
    ScrollPos = std::clamp(ScrollPos, 0, std::max(0, entries - Rows));
    DLGSETCHAR(dlg, ID_ENTRIES, std::to_string(entries));
    DLGSETINT(dlg, ID_TABS, ShownSet);
    DLGSETLOG(dlg, ID_SCROLL, entries > Rows, DLG_VISIBLE);
    DLGSETINT(dlg, ID_SCROLL, 0, DLG_MIN);
    DLGSETINT(dlg, ID_SCROLL, std::max(entries - 1, 0), DLG_MAX);
    DLGSETINT(dlg, ID_SCROLL, Rows, DLG_PAGE);
    DLGSETINT(dlg, ID_SCROLL, ScrollPos);
    for (int r = 1; r <= Rows; ++r) {
        const int e = ScrollPos + r;
        const bool used = e <= entries;
        DLGSETCHAR(dlg, ID_FIRSTNUMBER + r - 1, std::to_string(e));
        for (int side = 1; side <= 2; ++side) {
            DLGSETCHAR(dlg, fieldOf(r, side), used ? shown(Movement(ShownSet, e, side)) : "");
            DLGSETLOG(dlg, fieldOf(r, side), used, DLG_ENABLED);
        }
    }
    checkDuplicates(dlg);
}

// What committing a field came to.
enum Commit { KEPT, STORED, REFUSED };

// Stores the pair typed in field `id` of the shown set. An empty field leaves the
// place empty; a text that is no pair of the tournament is not stored, and the
// message line says which field and why. The text stays as typed either way.
Commit commitPair(DialogRecord& dlg, int id) {
    const int row = rowOf(id), side = sideOf(id), entry = ScrollPos + row;
    if (entry > SetEntries(ShownSet)) return KEPT;
    std::string text;
    DLGGETCHAR(dlg, id, text);
    int& stored = Movement(ShownSet, entry, side);
    if (TOUPPER(trimmed(text)) == shown(stored)) return KEPT;
    const std::string where = "Entry " + std::to_string(entry) + " " + sideName(side) + ": ";
    int pair = 0;
    if (!trimmed(text).empty()) {
        pair = READPAIRID(text);
        if (pair < 0) {
            say(dlg, where + "\"" + trimmed(text) + "\" is no pair; type " + PAIRIDFORMS() + ".");
            return REFUSED;
        }
        if (pair < 1 || pair > NumPairs) {
            say(dlg, where + "there is no pair " + trimmed(text) + " in a field of " +
                         std::to_string(NumPairs) + " pairs; type " + PAIRIDFORMS() + ".");
            return REFUSED;
        }
    }
    stored = pair;
    checkDuplicates(dlg);
    return STORED;
}

// A whole number typed in edit `id`; false for anything else.
bool readCount(DialogRecord& dlg, int id, int& value) {
    std::string text;
    DLGGETCHAR(dlg, id, text);
    text = trimmed(text);
    if (text.empty() || text.size() > 3) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// "Number of entries": 0 up to the rounds; the rows follow it.
Commit commitEntries(DialogRecord& dlg) {
    int n = 0;
    if (!readCount(dlg, ID_ENTRIES, n) || n < 0 || n > NumRounds) {
        say(dlg, "\"Number of entries\" must be a number from 0 to " + std::to_string(NumRounds) +
                     ": every round plays the set at most once.");
        return REFUSED;
    }
    if (n == SetEntries(ShownSet)) return KEPT;
    SetEntries(ShownSet) = n;
    fillRows(dlg);
    return STORED;
}

// "Pairs in section 1": 1 up to the pairs; the rows show the new sections.
Commit commitSection(DialogRecord& dlg) {
    int n = 0;
    if (!readCount(dlg, ID_SECTION, n) || n < 1 || n > NumPairs) {
        say(dlg, "\"Pairs in section 1\" must be a number from 1 to " + std::to_string(NumPairs) +
                     ".");
        return REFUSED;
    }
    if (n == SectionOnePairs) return KEPT;
    SectionOnePairs = n;
    fillRows(dlg);
    return STORED;
}

Commit commitField(DialogRecord& dlg, int id) {
    if (isPairField(id)) return commitPair(dlg, id);
    if (id == ID_ENTRIES) return commitEntries(dlg);
    if (id == ID_SECTION) return commitSection(dlg);
    return KEPT;
}

// Commits every field (the rows under the settings they were typed in). False,
// with the first refused field focused, when one holds what cannot be stored.
bool commitAll(DialogRecord& dlg) {
    bool ok = true;
    int refused = 0;
    for (int id = ID_FIRSTPAIR; id <= ID_LASTPAIR; ++id)
        if (commitPair(dlg, id) == REFUSED && ok) ok = false, refused = id;
    if (ok && commitEntries(dlg) == REFUSED) ok = false, refused = ID_ENTRIES;
    bool enabled = false;
    DLGGETLOG(dlg, ID_SECTION, enabled, DLG_ENABLED);
    if (ok && enabled && commitSection(dlg) == REFUSED) ok = false, refused = ID_SECTION;
    if (!ok) focus(dlg, refused);
    return ok;
}

// The two check boxes and the section edit follow the settings.
void showTreatment(DialogRecord& dlg) {
    DLGSETLOG(dlg, ID_NSEW, ISTRUE(NsEwFormat));
    DLGSETLOG(dlg, ID_TWOSECTIONS, ISTRUE(TwoSections));
    DLGSETLOG(dlg, ID_TWOSECTIONS, ISTRUE(NsEwFormat), DLG_ENABLED);
    DLGSETLOG(dlg, ID_SECTION, ISTRUE(NsEwFormat) && ISTRUE(TwoSections), DLG_ENABLED);
    DLGSETCHAR(dlg, ID_SECTION, std::to_string(SectionOnePairs));
}

// A field reached by the keyboard is typed over.
void onFocus(DialogRecord& dlg, int id, int) {
    DLGSENDCTRLMESSAGE(dlg, id, DLG_MSG_SETSEL, 0, -1);
}

void onPairKilled(DialogRecord& dlg, int id, int) {
    if (dlg.window) commitField(dlg, id);
}

// Enter in an edit moves on; the count edits take digits only.
void onKey(DialogRecord& dlg, int id, int) {
    const int key = dlg.key.key;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        dlg.key.refused = true;
        ONMOVEMENTNEXT(dlg, id, DLG_CB_CLICK);
        return;
    }
    if (id != ID_ENTRIES && id != ID_SECTION) return;
    if (dlg.key.modifiers & (Qt::ControlModifier | Qt::AltModifier)) return;
    const std::string& t = dlg.key.text;
    if (t.size() == 1 && (t[0] < '0' || t[0] > '9') && static_cast<unsigned char>(t[0]) >= 32)
        dlg.key.refused = true;
}

// Shows set s from its first entry, the focus on its first NS field (on the
// entry count when the set has no entries).
void showSet(DialogRecord& dlg, int s) {
    ShownSet = s;
    ScrollPos = 0;
    fillRows(dlg);
    focus(dlg, SetEntries(ShownSet) > 0 ? ID_FIRSTPAIR : ID_ENTRIES);
}

void onOk(DialogRecord& dlg, int, int) {
    if (!commitAll(dlg) || !checkDuplicates(dlg)) return;
    DLGSETRETURN(dlg, ID_OK);
    DLGEXIT(dlg);
}

// The movement and the settings as they were when the dialog opened.
Array<std::int32_t, 3> SavedMovement;
Array<std::int32_t, 1> SavedEntries;
Logical SavedNsEw = LFALSE, SavedTwo = LFALSE;
std::int32_t SavedSection = 0;

void onCancel(DialogRecord& dlg, int, int) {
    DLGSETRETURN(dlg, ID_CANCEL);
    DLGEXIT(dlg);
}

void onInit(DialogRecord& dlg, int, int type) {
    if (type != DLG_CB_INIT) return;
    std::vector<std::string> labels;
    for (int s = 1; s <= NumBoardSets; ++s) labels.push_back(std::to_string(s));
    CHANGETABITEMS(dlg, ID_TABS, labels);
    DLGSENDCTRLMESSAGE(dlg, ID_ENTRIES, DLG_MSG_LIMITTEXT, 3);
    DLGSENDCTRLMESSAGE(dlg, ID_SECTION, DLG_MSG_LIMITTEXT, 3);
    showTreatment(dlg);
    ShownSet = 1;
    ScrollPos = 0;
    fillRows(dlg);
    // Typing starts in the first NS field as soon as the dialog shows.
    if (QWidget* first = dlg.window->findChild<QWidget*>(QString::number(ID_FIRSTPAIR)))
        first->setFocus();
}

} // namespace

void ONMOVEMENTEDIT(DialogRecord& dlg, int id, int) {
    commitField(dlg, id);
}

void ONMOVEMENTSCROLL(DialogRecord& dlg, int, int) {
    int pos = 0;
    DLGGETINT(dlg, ID_SCROLL, pos);
    const int wanted = pos;
    DLGSETINT(dlg, ID_SCROLL, ScrollPos);
    // What the rows hold is stored under the rows it was typed in.
    if (!commitAll(dlg)) return;
    ScrollPos = wanted;
    fillRows(dlg);
}

void ONMOVEMENTTAB(DialogRecord& dlg, int, int) {
    int s = ShownSet;
    DLGGETINT(dlg, ID_TABS, s);
    DLGSETINT(dlg, ID_TABS, ShownSet);
    if (s < 1 || s > NumBoardSets || !commitAll(dlg) || !checkDuplicates(dlg)) return;
    ShownSet = s;
    ScrollPos = 0;
    fillRows(dlg);
}

void ONMOVEMENTNEXT(DialogRecord& dlg, int id, int) {
    if (id == ID_NEXT) {
        for (int f = ID_FIRSTPAIR; f <= ID_LASTPAIR; ++f) {
            bool has = false;
            DLGGETLOG(dlg, f, has, DLG_FOCUS);
            if (has) id = f;
        }
        for (int f : {ID_ENTRIES, ID_SECTION}) {
            bool has = false;
            DLGGETLOG(dlg, f, has, DLG_FOCUS);
            if (has) id = f;
        }
    }
    if (id == ID_ENTRIES || id == ID_SECTION) {
        if (commitField(dlg, id) == REFUSED) return focus(dlg, id);
        return focus(dlg, SetEntries(ShownSet) > 0 ? ID_FIRSTPAIR : ID_ENTRIES);
    }
    if (!isPairField(id)) return;
    if (commitPair(dlg, id) == REFUSED) return focus(dlg, id);
    const int row = rowOf(id), entry = ScrollPos + row;
    if (sideOf(id) == 1) return focus(dlg, id + 1);
    const int entries = SetEntries(ShownSet);
    if (entry >= entries) {
        // The set is complete: on to the next one (after the last, the first).
        if (!checkDuplicates(dlg)) return focus(dlg, id);
        return showSet(dlg, ShownSet % NumBoardSets + 1);
    }
    if (row < Rows) return focus(dlg, fieldOf(row + 1, 1));
    ScrollPos = std::min(ScrollPos + Rows, entries - Rows);
    fillRows(dlg);
    focus(dlg, fieldOf(entry + 1 - ScrollPos, 1));
}

void ONTREATMENTCHANGE(DialogRecord& dlg, int id, int) {
    bool on = false;
    DLGGETLOG(dlg, id, on);
    // Rows typed under the old settings are read under them.
    DLGSETLOG(dlg, id, !on);
    if (!commitAll(dlg)) return;
    DLGSETLOG(dlg, id, on);
    if (id == ID_NSEW) NsEwFormat = TOLOGICAL(on);
    if (id == ID_TWOSECTIONS) TwoSections = TOLOGICAL(on);
    showTreatment(dlg);
    fillRows(dlg);
}

void ONMOVEMENTSAVE(DialogRecord& dlg, int, int) {
    if (!commitAll(dlg) || !checkDuplicates(dlg)) return;
    std::string name = ProgramFolder.empty() ? std::string() : ProgramFolder + "/";
    if (!GwGetSaveFile(dlg.window, {{Filter, "*.ocm"}}, "ocm", name)) return;
    std::string reason;
    if (!SAVEMOVEMENTFILE(name, reason))
        GwMessageBox(dlg.window, MovementWriteError, "Error", GW_MB_ERROR);
}

namespace {

// The highest pair number of a sound movement file that names pairs beyond the
// tournament's; 0 when the file is damaged (or within the tournament).
int pairsOfMovementFile(const std::string& name) {
    std::string bytes;
    StoredMovement m;
    if (!READMOVEMENTBYTES(name, bytes) || !DECODEMOVEMENTFILE(bytes, INT32_MAX, m)) return 0;
    int most = 0;
    for (const std::int32_t p : m.pairs) most = std::max(most, static_cast<int>(p));
    return most > NumPairs ? most : 0;
}

} // namespace

void ONMOVEMENTOPEN(DialogRecord& dlg, int, int) {
    std::string name = ProgramFolder.empty() ? std::string() : ProgramFolder + "/";
    if (!GwGetOpenFile(dlg.window, {{Filter, "*.ocm"}}, "ocm", name)) return;
    switch (LOADMOVEMENTFILE(name)) {
    case MOVEMENT_LOADED:
        ScrollPos = 0;
        fillRows(dlg);
        return;
    case MOVEMENT_MISMATCH:
        GwMessageBox(dlg.window, MovementIncompatible, "Error", GW_MB_ERROR);
        return;
    default:
        // A sound movement made for a larger field says so, with the numbers.
        if (const int pairs = pairsOfMovementFile(name))
            GwMessageBox(dlg.window,
                         "The movement in " + name + " is for " + std::to_string(pairs) +
                             " pairs; this tournament has " + std::to_string(NumPairs) + " pairs.",
                         "Error", GW_MB_ERROR);
        else
            GwMessageBox(dlg.window, MovementReadError, "Error", GW_MB_ERROR);
        return;
    }
}

bool CUSTOMMOVEMENTFITS(const TournamentHeader& shape) {
    const int r = shape.NumRounds;
    if (!Movement.allocated() || !SetEntries.allocated()) return true;
    return EditedPairs == shape.NumPairs && Movement.extent(1) == r && Movement.extent(2) == r &&
           SetEntries.extent(1) == r;
}

void FORGETCUSTOMMOVEMENT() {
    if (TournamentOpen) return;
    Movement.release();
    SetEntries.release();
    EditedPairs = 0;
}

bool EDITMOVEMENT(const TournamentHeader& shape) {
    const TournamentHeader savedHeader = Header;
    const std::int32_t savedSets = NumBoardSets, savedTables = NumTables;
    NumPairs = shape.NumPairs;
    NumBoards = shape.NumBoards;
    NumRounds = shape.NumRounds;
    BoardsPerRound = shape.BoardsPerRound;
    SkipOn = shape.SkipOn;
    SkipBoards = shape.SkipBoards;
    SkipAfterRound = shape.SkipAfterRound;
    OrderAsPlayed = shape.OrderAsPlayed;
    // A custom movement plays one board set a round.
    NumBoardSets = NumRounds;

    SavedMovement = Movement;
    SavedEntries = SetEntries;
    SavedNsEw = NsEwFormat;
    SavedTwo = TwoSections;
    SavedSection = SectionOnePairs;
    const int savedEdited = EditedPairs;

    // A movement typed for these numbers is shown again; otherwise the editor
    // starts from the Mitchell of the numbers.
    bool ok = true;
    if (!(Movement.allocated() && CUSTOMMOVEMENTFITS(Header))) {
        ok = Movement.allocate(NumBoardSets, NumRounds, 2) && SetEntries.allocate(NumBoardSets);
        if (ok) {
            MovementType = MOVE_MITCHELL;
            SkipOn = LFALSE;
            auto status = Ui.status;
            Ui.status = nullptr; // the status bar is the open tournament's
            CALCULATEMOVEMENT();
            Ui.status = status;
        }
    }
    MovementType = MOVE_CUSTOM;
    if (SectionOnePairs < 1 || SectionOnePairs > NumPairs) SectionOnePairs = NumPairs;

    int result = ID_CANCEL;
    DialogRecord dlg;
    if (ok && CUSTOMMOVEMENTDIALOGREADY() && DLGINIT(119, dlg)) {
        DLGSETSUB(dlg, 119, onInit);
        DLGSETSUB(dlg, ID_OK, onOk);
        DLGSETSUB(dlg, ID_CANCEL, onCancel);
        DLGSETSUB(dlg, ID_OPEN, ONMOVEMENTOPEN);
        DLGSETSUB(dlg, ID_SAVEAS, ONMOVEMENTSAVE);
        DLGSETSUB(dlg, ID_NEXT, ONMOVEMENTNEXT);
        DLGSETSUB(dlg, ID_SCROLL, ONMOVEMENTSCROLL);
        DLGSETSUB(dlg, ID_TABS, ONMOVEMENTTAB);
        DLGSETSUB(dlg, ID_NSEW, ONTREATMENTCHANGE);
        DLGSETSUB(dlg, ID_TWOSECTIONS, ONTREATMENTCHANGE);
        for (int id = ID_FIRSTPAIR; id <= ID_LASTPAIR; ++id) {
            DLGSETSUB(dlg, id, onPairKilled, DLG_CB_KILLFOCUS);
            DLGSETSUB(dlg, id, onKey, DLG_CB_KEY);
            DLGSETSUB(dlg, id, onFocus, DLG_CB_SETFOCUS);
        }
        for (int id : {ID_ENTRIES, ID_SECTION}) {
            DLGSETSUB(dlg, id, ONMOVEMENTEDIT, DLG_CB_KILLFOCUS);
            DLGSETSUB(dlg, id, onKey, DLG_CB_KEY);
            DLGSETSUB(dlg, id, onFocus, DLG_CB_SETFOCUS);
        }
        result = DLGMODAL(dlg);
        DLGUNINIT(dlg);
    } else if (!ok) {
        SHOWMESSAGE("There is not enough memory for a movement of " + std::to_string(NumRounds) +
                        " rounds.",
                    "Error");
    }

    if (result == ID_OK) {
        EditedPairs = shape.NumPairs;
    } else {
        // Cancel: the movement and the settings as they were.
        Movement = SavedMovement;
        SetEntries = SavedEntries;
        NsEwFormat = SavedNsEw;
        TwoSections = SavedTwo;
        SectionOnePairs = SavedSection;
        EditedPairs = savedEdited;
    }
    SavedMovement.release();
    SavedEntries.release();
    Header = savedHeader;
    NumBoardSets = savedSets;
    NumTables = savedTables;
    return result == ID_OK;
}
