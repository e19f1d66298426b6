// orla-cli movement: generates a standard movement and prints it as JSON, or
// prints the movement a movement file (.ocm) holds; writes either as a movement
// file.
#include "cli/commands.h"
#include "cli/sizeoptions.h"
#include "core/hooks.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "movement/custom.h"
#include "movement/seating.h"
#include "scoring/compute.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

std::array<std::string, 3> statusTexts;
std::string lastMessage;

struct MovementOptions {
    SizeOptions size;
    std::string importFile, exportFile;
    CLI::Option* importOption = nullptr;
    CLI::Option* exportOption = nullptr;
    bool plan = false;
};

// The counts and lists of Movement and SetEntries for NumBoardSets sets.
nlohmann::ordered_json listsJson() {
    nlohmann::ordered_json out;
    nlohmann::json entries = nlohmann::json::array();
    nlohmann::json sets = nlohmann::json::array();
    for (int s = 1; s <= NumBoardSets; ++s) {
        entries.push_back(SetEntries(s));
        nlohmann::json list = nlohmann::json::array();
        for (int i = 1; i <= SetEntries(s); ++i)
            list.push_back({Movement(s, i, 1), Movement(s, i, 2)});
        sets.push_back(std::move(list));
    }
    out["SetEntries"] = std::move(entries);
    out["Movement"] = std::move(sets);
    return out;
}

// The seating plan as JSON: tables, rounds and one object per seat, by round and
// table, with the first and last board of the set played.
nlohmann::ordered_json planJson(const std::vector<Seat>& seats) {
    nlohmann::ordered_json out;
    int tables = 0, rounds = 0;
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Seat& seat : seats) {
        tables = std::max(tables, seat.table);
        rounds = std::max(rounds, seat.round);
        nlohmann::ordered_json one;
        one["round"] = seat.round;
        one["table"] = seat.table;
        one["set"] = seat.set;
        one["entry"] = seat.entry;
        one["boards"] = {(seat.set - 1) * BoardsPerRound + 1, seat.set * BoardsPerRound};
        one["ns"] = seat.ns;
        one["ew"] = seat.ew;
        list.push_back(std::move(one));
    }
    out["tables"] = tables;
    out["rounds"] = rounds;
    out["plan"] = std::move(list);
    return out;
}

// The plan of a custom movement: its tables are those of the NS pairs of the
// first round, in the order of the sets. False, with the reason on stderr, when
// a table cannot be found.
bool customPlan(const std::string& file, std::vector<Seat>& seats) {
    int table = 0;
    for (int s = 1; s <= NumBoardSets; ++s) {
        if (SetEntries(s) < 1 || Movement(s, 1, 1) < 1) continue;
        std::vector<Seat> one;
        std::string reason;
        ++table;
        if (!CUSTOMTABLESEATS(table, Movement(s, 1, 1), one, reason)) {
            std::fprintf(stderr, "orla-cli: %s: table %d: %s\n", file.c_str(), table,
                         reason.c_str());
            return false;
        }
        seats.insert(seats.end(), one.begin(), one.end());
    }
    std::sort(seats.begin(), seats.end(), [](const Seat& a, const Seat& b) {
        return a.round != b.round ? a.round < b.round : a.table < b.table;
    });
    return true;
}

// Writes the movement held as a movement file; a failure ends with 1.
void exportMovement(const std::string& file) {
    FINDPROGRAMFOLDER(); // so that the players register is never written over
    std::string reason;
    if (!SAVEMOVEMENTFILE(file, reason)) {
        std::fprintf(stderr, "orla-cli: %s: %s %s.\n", CONTROLPICTURES(file).c_str(), MovementWriteError,
                     reason.c_str());
        CliExitCode = EXIT_FILE;
        return;
    }
    // A custom movement plays one board set a round; a file with more sets than
    // rounds fits no custom tournament.
    if (NumBoardSets != NumRounds)
        std::fprintf(stderr,
                     "orla-cli: note: %s holds %d board sets in %d rounds; a Custom tournament "
                     "plays one set a round and will not open it.\n",
                     CONTROLPICTURES(file).c_str(), NumBoardSets, NumRounds);
}

// Prints the movement of a movement file: its rounds and sets, the highest pair
// it names and the lists; with --export-ocm also writes it out again.
void importMovement(const MovementOptions& o) {
    std::string bytes;
    StoredMovement m;
    if (!READMOVEMENTBYTES(o.importFile, bytes) ||
        !DECODEMOVEMENTFILE(bytes, MaxMovementCount, m)) {
        std::fprintf(stderr, "orla-cli: %s: %s\n", CONTROLPICTURES(o.importFile).c_str(), MovementReadError);
        CliExitCode = EXIT_FILE;
        return;
    }
    NumRounds = m.rounds;
    NumBoardSets = m.sets;
    if (!Movement.allocate(m.sets, m.rounds, 2) || !SetEntries.allocate(m.sets)) {
        std::fprintf(stderr, "orla-cli: %s: not enough memory\n", CONTROLPICTURES(o.importFile).c_str());
        CliExitCode = EXIT_FILE;
        return;
    }
    int highest = 0;
    for (int k = 1; k <= m.sets; ++k) {
        SetEntries(k) = m.entries[static_cast<std::size_t>(k - 1)];
        for (int i = 1; i <= m.rounds; ++i)
            for (int side = 1; side <= 2; ++side) {
                Movement(k, i, side) = m.pair(k, i, side);
                if (i <= SetEntries(k)) highest = std::max(highest, Movement(k, i, side));
            }
    }
    nlohmann::ordered_json out;
    out["NumRounds"] = m.rounds;
    out["NumBoardSets"] = m.sets;
    out["HighestPair"] = highest;
    if (o.plan) {
        std::vector<Seat> seats;
        MovementType = MOVE_CUSTOM;
        NumPairs = highest;
        BoardsPerRound = 1;
        if (!customPlan(o.importFile, seats)) CliExitCode = EXIT_FILE;
        out.update(planJson(seats));
    } else {
        out.update(listsJson());
    }
    if (!o.exportFile.empty()) exportMovement(o.exportFile);
    if (CliExitCode == EXIT_DONE) std::cout << out.dump() << "\n";
    Movement.release();
    SetEntries.release();
}

// Shapes the tournament as the Tournament Properties dialog would, opens it,
// generates the movement and prints it; with --export-ocm also writes it.
void RUNMOVEMENT(const MovementOptions& o) {
    CliExitCode = EXIT_DONE;
    if (o.importOption->count() > 0) {
        for (const CLI::Option* opt :
             {o.size.movementOption, o.size.pairsOption, o.size.perRoundOption,
              o.size.roundsOption, o.size.boardsOption, o.size.skipAfterOption})
            if (opt->count() > 0)
                CLIUSAGE(opt->get_name() + " is not used with --import-ocm: the file has the "
                                           "movement");
        importMovement(o);
        return;
    }
    for (const CLI::Option* opt :
         {o.size.movementOption, o.size.pairsOption, o.size.perRoundOption})
        if (opt->count() == 0) CLIUSAGE(opt->get_name() + " is required");
    DEFAULTHEADER();
    SETHEADERSIZE(o.size);
    Ui.status = [](int part, const std::string& text) {
        if (part >= 0 && part < 3) statusTexts[static_cast<std::size_t>(part)] = text;
    };
    Ui.message = [](const std::string& text, const std::string&, MessageKind) {
        lastMessage = text;
        return ANSWER_OK;
    };
    if (!CREATETOURNAMENT()) CLIUSAGE(lastMessage);

    nlohmann::ordered_json out;
    out["NumTables"] = NumTables;
    out["NumBoardSets"] = NumBoardSets;
    if (o.plan) {
        out.update(planJson(MAKESEATINGPLAN().seats));
    } else {
        out.update(listsJson());
        out["status"] = statusTexts;
    }
    if (!o.exportFile.empty()) exportMovement(o.exportFile);
    if (CliExitCode == EXIT_DONE) std::cout << out.dump() << "\n";
    CLOSETOURNAMENT();
}

} // namespace

void ADDMOVEMENTCOMMAND(CLI::App& app) {
    auto o = std::make_shared<MovementOptions>();
    CLI::App* cmd = app.add_subcommand(
        "movement", "Print a standard movement, or that of a movement file, as JSON");
    ADDSIZEOPTIONS(cmd, o->size, "type", false, true);
    o->importOption = cmd->add_option("--import-ocm", o->importFile,
                                      "Print the movement stored in this movement file (.ocm)");
    o->exportOption = cmd->add_option("--export-ocm", o->exportFile,
                                      "Also write the movement as this movement file (.ocm)");
    cmd->add_flag("--plan", o->plan,
                  "Print the seating plan instead: the table, board set and pairs of every "
                  "round (a movement file's tables are its first round's NS pairs)");
    cmd->callback([o] { RUNMOVEMENT(*o); });
}
