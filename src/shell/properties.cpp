// The Tournament Properties dialog (101).
#include "shell/properties.h"

#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/status.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "movement/movementsize.h"
#include "players/rating.h"
#include "scoring/compute.h"
#include "scoring/scoring.h"
#include "shell/commands.h"
#include "shell/custommovement.h"
#include "shell/entry.h"
#include "shell/help.h"
#include "winsupport/gwlogm.h"

#include <QDialog>
#include <QLabel>
#include <QtCore/qnamespace.h>

#include <algorithm>
#include <charconv>
#include <string>

bool ENTRYDIALOGSREADY();

namespace {

enum {
    ID_OK = 1,
    ID_CANCEL = 2,
    ID_EDIT = 3,
    ID_RECALC = 4,
    ID_NAME = 1000,
    ID_MOVEMENT = 1001,
    ID_CALC = 1002,
    ID_PAIRS = 1003,
    ID_ROUNDS = 1004,
    ID_TOTAL = 1005,
    ID_BOARDS = 1006,
    ID_SKIP = 1007,
    ID_RATING = 1008,
    ID_HIGHRATED = 1009,
    ID_NEUBERG = 1010,
    ID_HANDS = 1011,
    ID_AFTER = 1012,
    ID_MASTERS = 1013,
    ID_SKIPBOARDS = 1019,
    ID_SKIPPLAYERS = 1020,
    ID_ASPLAYED = 1021,
    ID_BYTABLE = 1022,
    ID_HOWELL = 1036,
};

constexpr int HowellFirst = 5, HowellLast = 14;
// Board numbers have three digits.
constexpr int MaxBoards = 999;
constexpr const char* Caption = "Tournament Properties";

// Whether the dialog shapes a new tournament (no tournament open when it opened).
bool NewTournament = false;

bool checked(DialogRecord& dlg, int id) {
    bool on = false;
    DLGGETLOG(dlg, id, on);
    return on;
}

// The whole number typed in an edit; false for empty or other text.
bool readNumber(DialogRecord& dlg, int id, int& value) {
    std::string text;
    DLGGETCHAR(dlg, id, text);
    return READWHOLE(text, value);
}

int numberOr(DialogRecord& dlg, int id, int fallback) {
    int v = 0;
    return readNumber(dlg, id, v) ? v : fallback;
}

void writeNumber(DialogRecord& dlg, int id, int value) {
    DLGSETCHAR(dlg, id, std::to_string(value));
}

int movementOf(DialogRecord& dlg) {
    int m = MOVE_MITCHELL;
    DLGGETINT(dlg, ID_MOVEMENT, m);
    return m >= MOVE_MITCHELL && m <= MOVE_CUSTOM ? m : MOVE_MITCHELL;
}

// Refuses a value: says which field and why, then puts the cursor on the field
// with its text selected. The dialog stays open with everything typed.
bool refuse(DialogRecord& dlg, int id, const std::string& text) {
    SHOWMESSAGE(text, Caption, MSG_OK_WARNING);
    DLGSETLOG(dlg, id, true, DLG_FOCUS);
    DLGSENDCTRLMESSAGE(dlg, id, DLG_MSG_SETSEL, 0, -1);
    return false;
}

// Digits only in the numeric edits; control keys pass.
void digitsOnly(DialogRecord& dlg, int, int) {
    if (dlg.key.modifiers & (Qt::ControlModifier | Qt::AltModifier)) return; // commands
    const std::string& t = dlg.key.text;
    if (t.size() == 1 && (t[0] < '0' || t[0] > '9') && static_cast<unsigned char>(t[0]) >= 32)
        dlg.key.refused = true;
}

// Shows the Howell combo or the pairs edit, whichever the movement uses.
// "Number of &pairs:" (Alt+P) leads to the one shown, so that the access key
// never leaves the focus on the movement, where the next arrow would change it.
void showPairsControl(DialogRecord& dlg, bool howell) {
    DLGSETLOG(dlg, ID_HOWELL, howell, DLG_VISIBLE);
    DLGSETLOG(dlg, ID_PAIRS, !howell, DLG_VISIBLE);
    if (!dlg.window) return;
    auto* label = dlg.window->findChild<QLabel*>("pairsLabel");
    QWidget* shown = dlg.window->findChild<QWidget*>(QString::number(howell ? ID_HOWELL : ID_PAIRS));
    if (label && shown) label->setBuddy(shown);
}

// Checks what was typed for a new tournament; on success `out` holds the header.
bool validateShape(DialogRecord& dlg, TournamentHeader& out) {
    const int movement = movementOf(dlg);
    int pairs = 0, boardsPerRound = 0, rounds = 0, total = 0, after = 0;
    if (movement == MOVE_HOWELL) {
        int item = 0;
        DLGGETINT(dlg, ID_HOWELL, item);
        pairs = item + 4;
        if (pairs < HowellFirst || pairs > HowellLast)
            return refuse(dlg, ID_HOWELL, "A Howell movement is made for 5 to 14 pairs: choose "
                                          "one in \"Number of pairs\".");
    } else if (!readNumber(dlg, ID_PAIRS, pairs)) {
        return refuse(dlg, ID_PAIRS, "Type a whole number in \"Number of pairs\".");
    }
    if (pairs < 2)
        return refuse(dlg, movement == MOVE_HOWELL ? ID_HOWELL : ID_PAIRS,
                      "A tournament needs at least 2 pairs (\"Number of pairs\").");
    if (!readNumber(dlg, ID_BOARDS, boardsPerRound))
        return refuse(dlg, ID_BOARDS, "Type a whole number in \"Boards per round\".");
    if (boardsPerRound < 1)
        return refuse(dlg, ID_BOARDS, "\"Boards per round\" must be at least 1.");
    if (!readNumber(dlg, ID_ROUNDS, rounds))
        return refuse(dlg, ID_ROUNDS, "Type a whole number in \"Number of rounds\".");
    if (rounds < 1) return refuse(dlg, ID_ROUNDS, "\"Number of rounds\" must be at least 1.");
    if (!readNumber(dlg, ID_TOTAL, total))
        return refuse(dlg, ID_TOTAL, "Type a whole number in \"Total boards\".");
    if (total < boardsPerRound || total % boardsPerRound != 0)
        return refuse(dlg, ID_TOTAL,
                      "\"Total boards\" (" + std::to_string(total) +
                          ") must be a multiple of \"Boards per round\" (" +
                          std::to_string(boardsPerRound) + ").");
    const int tables = (pairs + 1) / 2;
    const bool skip = movement == MOVE_MITCHELL && checked(dlg, ID_SKIP);
    if (skip && tables % 2 == 1)
        return refuse(dlg, ID_SKIP,
                      std::to_string(pairs) + " pairs sit at " + std::to_string(tables) +
                          " tables. A Mitchell with an odd number of tables needs no skip: with "
                          "one, pairs would meet a board set twice. Uncheck \"Skip\".");
    if (skip) {
        if (!readNumber(dlg, ID_AFTER, after))
            return refuse(dlg, ID_AFTER, "Type a whole number in \"after round\".");
        if (after < 1 || after > rounds)
            return refuse(dlg, ID_AFTER,
                          "\"after round\" must be from 1 to " + std::to_string(rounds) + ".");
    } else {
        after = numberOr(dlg, ID_AFTER, (pairs + 1) / 4);
    }
    // The numbers must be those of the movement chosen: a total the edit could
    // not show in full would otherwise give pairs tables without boards.
    if (movement != MOVE_CUSTOM) {
        static const char* const names[] = {"", "Mitchell", "Berger", "Howell"};
        const MovementSize size = DEFAULTMOVEMENTSIZE(movement, pairs, boardsPerRound, skip);
        if (rounds > size.rounds)
            return refuse(dlg, ID_ROUNDS,
                          "A " + std::string(names[movement]) + " of " + std::to_string(pairs) +
                              " pairs has at most " + std::to_string(size.rounds) +
                              " rounds: lower \"Number of rounds\".");
        const int needed = movement == MOVE_BERGER ? rounds * boardsPerRound : size.boards;
        if (needed > MaxBoards)
            return refuse(dlg, ID_BOARDS,
                          "A " + std::string(names[movement]) + " of " + std::to_string(pairs) +
                              " pairs with " + std::to_string(boardsPerRound) +
                              " boards a round needs " + std::to_string(needed) +
                              " boards; a tournament holds at most " + std::to_string(MaxBoards) +
                              ". Lower \"Boards per round\" or \"Number of pairs\".");
        if (total != needed)
            return refuse(dlg, ID_TOTAL,
                          "\"Total boards\" must be " + std::to_string(needed) + " for a " +
                              names[movement] + " of " + std::to_string(pairs) + " pairs with " +
                              std::to_string(boardsPerRound) + " boards a round.");
    }
    if (total > MaxBoards)
        return refuse(dlg, ID_TOTAL,
                      "\"Total boards\" must be at most " + std::to_string(MaxBoards) + ".");
    if (movement == MOVE_CUSTOM && total != rounds * boardsPerRound)
        return refuse(dlg, ID_TOTAL,
                      "A Custom movement plays \"Boards per round\" boards in every round: "
                      "\"Total boards\" must be " +
                          std::to_string(rounds) + " x " + std::to_string(boardsPerRound) +
                          " = " + std::to_string(rounds * boardsPerRound) + ".");
    out.MovementType = movement;
    out.NumPairs = pairs;
    out.BoardsPerRound = boardsPerRound;
    out.NumRounds = rounds;
    out.NumBoards = total;
    out.SkipOn = TOLOGICAL(skip);
    out.SkipAfterRound = static_cast<std::int16_t>(after);
    out.SkipBoards = TOLOGICAL(checked(dlg, ID_SKIPBOARDS));
    out.OrderAsPlayed = TOLOGICAL(checked(dlg, ID_ASPLAYED));
    return true;
}

// The name, checked against what the tournament file can hold.
bool validateName(DialogRecord& dlg, std::string& bytes) {
    std::string name;
    DLGGETCHAR(dlg, ID_NAME, name);
    char32_t bad = 0;
    if (FINDCONTROL(name, bad)) return refuse(dlg, ID_NAME, CONTROLNAMEMESSAGE("Tournament name", bad));
    if (!UTF8TOCP1250(name, bytes, &bad)) {
        return refuse(dlg, ID_NAME,
                      "The character \"" + UTF8OF(bad) +
                          "\" cannot be kept in \"Tournament name\": the tournament file "
                          "holds only Central European letters. Replace it.");
    }
    return true;
}

// The rating mode the two boxes ask for: -1 rating, 1 masters, 0 none.
int ratingModeOf(DialogRecord& dlg) {
    if (checked(dlg, ID_RATING)) return -1;
    if (checked(dlg, ID_MASTERS)) return 1;
    return 0;
}

// OK: checks everything, stores it and closes the dialog; a refusal keeps it open.
void onOk(DialogRecord& dlg, int, int) {
    std::string name;
    if (!validateName(dlg, name)) return;
    TournamentHeader shape = Header;
    if (NewTournament && !validateShape(dlg, shape)) return;
    if (NewTournament && shape.MovementType == MOVE_CUSTOM && !CUSTOMMOVEMENTFITS(shape)) {
        refuse(dlg, ID_EDIT,
               "The custom movement was typed for other numbers of pairs or rounds. Open "
               "\"Edit...\" to make it for " +
                   std::to_string(shape.NumPairs) + " pairs and " +
                   std::to_string(shape.NumRounds) + " rounds.");
        return;
    }
    int calc = CALC_MATCHPOINTS;
    DLGGETINT(dlg, ID_CALC, calc);
    if (calc < CALC_MATCHPOINTS || calc > CALC_CALCUTTA) calc = CALC_MATCHPOINTS;
    const int rating = ratingModeOf(dlg);
    const Logical high = TOLOGICAL(checked(dlg, ID_HIGHRATED));
    const Logical neuberg = TOLOGICAL(checked(dlg, ID_NEUBERG));
    const Logical hands = TOLOGICAL(checked(dlg, ID_HANDS));

    if (NewTournament) {
        NeedsRecalc = false;
        Header = shape;
        SETFIELD(Header.TournamentName, TournamentNameLength, name);
        RatingMode = rating;
        HighRated = high;
        UseNeuberg = neuberg;
        CalcType = calc;
        HasHands = hands;
        DLGSETRETURN(dlg, ID_OK);
        DLGEXIT(dlg);
        // Only a Custom tournament keeps the movement typed in the editor.
        if (MovementType != MOVE_CUSTOM) FORGETCUSTOMMOVEMENT();
        CREATETOURNAMENT();
        return;
    }
    const bool changed = FIELDTEXT(Header.TournamentName, TournamentNameLength) != name ||
                         CalcType != calc || RatingMode != rating || HighRated != high ||
                         UseNeuberg != neuberg || HasHands != hands;
    SETFIELD(Header.TournamentName, TournamentNameLength, name);
    CalcType = calc;
    RatingMode = rating;
    HighRated = high;
    UseNeuberg = neuberg;
    HasHands = hands;
    NeedsRecalc = RatingMode != 0;
    SETSAVE(changed || Modified);
    DLGSETRETURN(dlg, ID_OK);
    DLGEXIT(dlg);
}

// Fills the controls from the tournament and sets what can be changed.
void onInit(DialogRecord& dlg, int, int callbackType) {
    if (callbackType != DLG_CB_INIT) return;
    DLGSETCHAR(dlg, ID_NAME, CP1250TOUTF8(FIELDTEXT(Header.TournamentName, TournamentNameLength)));
    DLGSETINT(dlg, ID_CALC, CalcType);
    DLGSETLOG(dlg, ID_NEUBERG, ISTRUE(UseNeuberg));
    DLGSETLOG(dlg, ID_HANDS, ISTRUE(HasHands));
    DLGSETLOG(dlg, ID_RATING, RatingMode == -1);
    DLGSETLOG(dlg, ID_MASTERS, RatingMode == 1);
    DLGSETLOG(dlg, ID_HIGHRATED, ISTRUE(HighRated));
    DLGSETINT(dlg, ID_MOVEMENT, MovementType);
    writeNumber(dlg, ID_PAIRS, NumPairs);
    DLGSETINT(dlg, ID_HOWELL,
              NumPairs >= HowellFirst && NumPairs <= HowellLast ? NumPairs - 4 : 0);
    writeNumber(dlg, ID_BOARDS, BoardsPerRound);
    writeNumber(dlg, ID_ROUNDS, NumRounds);
    writeNumber(dlg, ID_TOTAL, NumBoards);
    DLGSETLOG(dlg, ID_SKIP, ISTRUE(SkipOn));
    DLGSETLOG(dlg, ISTRUE(SkipBoards) ? ID_SKIPBOARDS : ID_SKIPPLAYERS, true);
    writeNumber(dlg, ID_AFTER, SkipAfterRound);
    DLGSETLOG(dlg, ISTRUE(OrderAsPlayed) ? ID_ASPLAYED : ID_BYTABLE, true);

    DLGSETLOG(dlg, ID_RECALC, !NewTournament && RatingMode != 0, DLG_ENABLED);
    DLGSETLOG(dlg, ID_HIGHRATED, RatingMode == -1, DLG_ENABLED);
    // The movement of an open tournament is fixed; a new Custom one is typed.
    DLGSETLOG(dlg, ID_EDIT, false, DLG_ENABLED);
    if (NewTournament) {
        ONCALCCHANGE(dlg, ID_CALC, DLG_CB_SELCHANGE);
        ONMOVEMENTCHANGE(dlg, ID_MOVEMENT, DLG_CB_SELCHANGE);
        const bool skip = checked(dlg, ID_SKIP);
        for (int id : {ID_SKIPBOARDS, ID_SKIPPLAYERS, ID_AFTER})
            DLGSETLOG(dlg, id, skip && MovementType == MOVE_MITCHELL, DLG_ENABLED);
    } else {
        for (int id : {ID_MOVEMENT, ID_PAIRS, ID_HOWELL, ID_ROUNDS, ID_TOTAL, ID_BOARDS, ID_SKIP,
                       ID_SKIPBOARDS, ID_SKIPPLAYERS, ID_AFTER, ID_ASPLAYED, ID_BYTABLE})
            DLGSETLOG(dlg, id, false, DLG_ENABLED);
        showPairsControl(dlg, MovementType == MOVE_HOWELL);
        // Hand diagrams can be added to a tournament, not taken away.
        DLGSETLOG(dlg, ID_HANDS, !ISTRUE(HasHands), DLG_ENABLED);
        ONCALCCHANGE(dlg, ID_CALC, DLG_CB_SELCHANGE);
    }
}

// "Edit...": the custom movement of the numbers as they stand.
void onEdit(DialogRecord& dlg, int, int) {
    TournamentHeader shape = Header;
    if (!NewTournament || !validateShape(dlg, shape) || shape.MovementType != MOVE_CUSTOM) return;
    EDITMOVEMENT(shape);
}

void onHelp(DialogRecord&, int) {
    ONDIALOGHELP(101);
}

} // namespace

void ONCALCCHANGE(DialogRecord& dlg, int, int) {
    int calc = CALC_MATCHPOINTS;
    DLGGETINT(dlg, ID_CALC, calc);
    DLGSETLOG(dlg, ID_NEUBERG, calc == CALC_MATCHPOINTS, DLG_ENABLED);
}

void ONMOVEMENTCHANGE(DialogRecord& dlg, int, int) {
    const int movement = movementOf(dlg);
    if (NewTournament) {
        const bool mitchell = movement == MOVE_MITCHELL;
        DLGSETLOG(dlg, ID_SKIP, mitchell, DLG_ENABLED);
        DLGSETLOG(dlg, ID_EDIT, movement == MOVE_CUSTOM, DLG_ENABLED);
        const bool skip = mitchell && checked(dlg, ID_SKIP);
        for (int id : {ID_SKIPBOARDS, ID_SKIPPLAYERS, ID_AFTER})
            DLGSETLOG(dlg, id, skip, DLG_ENABLED);
    }
    const bool howell = movement == MOVE_HOWELL;
    showPairsControl(dlg, howell);
    if (howell) {
        const int pairs = std::clamp(numberOr(dlg, ID_PAIRS, HowellFirst), HowellFirst, HowellLast);
        DLGSETINT(dlg, ID_HOWELL, pairs - 4);
        writeNumber(dlg, ID_PAIRS, pairs);
    }
    DLGSETLOG(dlg, ID_TOTAL, movement != MOVE_CUSTOM, DLG_READONLY);
    ONNUMBERCHANGE(dlg, ID_MOVEMENT, DLG_CB_CHANGE);
}

void ONNUMBERCHANGE(DialogRecord& dlg, int id, int) {
    const int movement = movementOf(dlg);
    const int pairs = numberOr(dlg, ID_PAIRS, 0);
    const int boards = numberOr(dlg, ID_BOARDS, 0);
    const int tables = (pairs + 1) / 2;
    int rounds = 0, total = 0;
    switch (movement) {
    case MOVE_BERGER:
        rounds = 2 * tables - 1;
        total = rounds * boards;
        break;
    case MOVE_HOWELL:
        rounds = pairs == 11 || pairs == 12 ? 9 : 2 * tables - 1;
        total = rounds * boards;
        break;
    default: // Mitchell and Custom
        rounds = checked(dlg, ID_SKIP) && movement == MOVE_MITCHELL ? tables - 1 : tables;
        total = boards * tables;
        break;
    }
    if (id == ID_ROUNDS) {
        // A Berger may be cut short: the typed rounds decide its boards.
        int typed = 0;
        if (movement == MOVE_BERGER && readNumber(dlg, ID_ROUNDS, typed) && typed != rounds)
            writeNumber(dlg, ID_TOTAL, typed * boards);
        return;
    }
    writeNumber(dlg, ID_ROUNDS, std::max(rounds, 0));
    writeNumber(dlg, ID_TOTAL, std::max(total, 0));
    writeNumber(dlg, ID_AFTER, (pairs + 1) / 4);
}

void ONHOWELLCOMBOCHANGE(DialogRecord& dlg, int, int) {
    int item = 0;
    DLGGETINT(dlg, ID_HOWELL, item);
    if (item < 1) return;
    writeNumber(dlg, ID_PAIRS, item + 4);
    ONNUMBERCHANGE(dlg, ID_HOWELL, DLG_CB_SELCHANGE);
}

void ONJUMPONOFF(DialogRecord& dlg, int, int) {
    const bool skip = checked(dlg, ID_SKIP);
    if (skip) {
        const int tables = (numberOr(dlg, ID_PAIRS, 0) + 1) / 2;
        int rounds = 0;
        if (readNumber(dlg, ID_ROUNDS, rounds) && rounds > tables - 1)
            writeNumber(dlg, ID_ROUNDS, std::max(tables - 1, 0));
    } else if (movementOf(dlg) == MOVE_MITCHELL) {
        // Without the skip every table's board set is played again.
        writeNumber(dlg, ID_ROUNDS, (numberOr(dlg, ID_PAIRS, 0) + 1) / 2);
    }
    for (int id : {ID_SKIPBOARDS, ID_SKIPPLAYERS, ID_AFTER})
        DLGSETLOG(dlg, id, skip, DLG_ENABLED);
}

void ONRATINGONOFF(DialogRecord& dlg, int id, int) {
    const bool on = checked(dlg, id);
    if (on) DLGSETLOG(dlg, id == ID_RATING ? ID_MASTERS : ID_RATING, false);
    DLGSETLOG(dlg, ID_RECALC, on && !NewTournament, DLG_ENABLED);
    DLGSETLOG(dlg, ID_HIGHRATED, checked(dlg, ID_RATING), DLG_ENABLED);
}

void ONRECALCULATENOW(DialogRecord& dlg, int, int) {
    if (!TournamentOpen) return;
    // Under the boxes as they stand now, whatever the tournament keeps.
    RECALCULATENOW(ratingModeOf(dlg), checked(dlg, ID_HIGHRATED));
    REDRAW();
    SETSAVE(true);
}

bool TOURNAMENTPROPERTIES() {
    NewTournament = !TournamentOpen;
    DialogRecord dlg;
    if (!ENTRYDIALOGSREADY() || !DLGINIT(101, dlg)) return false;
    DLGSETSUB(dlg, 101, onInit);
    DLGSETSUB(dlg, ID_OK, onOk);
    DLGSETSUB(dlg, ID_CALC, ONCALCCHANGE);
    DLGSETSUB(dlg, ID_MOVEMENT, ONMOVEMENTCHANGE);
    DLGSETSUB(dlg, ID_PAIRS, ONNUMBERCHANGE);
    DLGSETSUB(dlg, ID_BOARDS, ONNUMBERCHANGE);
    DLGSETSUB(dlg, ID_ROUNDS, ONNUMBERCHANGE);
    DLGSETSUB(dlg, ID_HOWELL, ONHOWELLCOMBOCHANGE);
    DLGSETSUB(dlg, ID_SKIP, ONJUMPONOFF);
    DLGSETSUB(dlg, ID_RATING, ONRATINGONOFF);
    DLGSETSUB(dlg, ID_MASTERS, ONRATINGONOFF);
    DLGSETSUB(dlg, ID_RECALC, ONRECALCULATENOW);
    DLGSETSUB(dlg, ID_EDIT, onEdit);
    for (int id : {ID_PAIRS, ID_BOARDS, ID_ROUNDS, ID_TOTAL, ID_AFTER})
        DLGSETSUB(dlg, id, digitsOnly, DLG_CB_KEY);
    DLGSETHELP(dlg, onHelp);
    const bool ok = DLGMODAL(dlg) == ID_OK;
    DLGUNINIT(dlg);
    if (!ok) FORGETCUSTOMMOVEMENT(); // typed for a tournament never made
    if (!ok || !TournamentOpen) return false;
    TournamentOpen = true;
    CALCALL();
    STATUSPARAMETERS(); // the top follows the calculation at once
    REDRAW();
    SETCOMMANDSTATE(IDM_HANDDIAGRAMS, ISTRUE(HasHands));
    return true;
}
