// orla-cli new: creates a tournament as OK on the Tournament Properties dialog
// does and saves it. orla-cli dump: opens a tournament file as the program does
// and prints its whole state as one JSON object.
#include "cli/commands.h"
#include "cli/sizeoptions.h"
#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "movement/custom.h"
#include "players/rating.h"
#include "scoring/compute.h"
#include "scoring/scoring.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>

using Json = nlohmann::ordered_json;

namespace {

MessageAnswer printMessage(const std::string& text, const std::string&, MessageKind kind) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return kind == MSG_YESNO_QUESTION ? ANSWER_NO : ANSWER_OK;
}

std::array<std::string, 3> StatusTexts;

void keepStatus(int part, const std::string& text) {
    if (part >= 0 && part < 3) StatusTexts[static_cast<std::size_t>(part)] = text;
}

struct NewOptions {
    SizeOptions size;
    std::string out, calc = "mp", name, ocm;
    bool neuberg = false, rating = false, masters = false, highRated = false, hands = false;
};

// Sets the header as the dialog's OK on a new tournament reads it, opens the
// tournament, builds the movement, computes it and writes the file.
void runNew(const NewOptions& o) {
    const int calc = o.calc == "mp"    ? CALC_MATCHPOINTS
                     : o.calc == "imp" ? CALC_IMPS
                                       : CALC_CALCUTTA;
    if (o.neuberg && calc != CALC_MATCHPOINTS) CLIUSAGE("--neuberg is for matchpoints only");
    if (o.highRated && !o.rating) CLIUSAGE("--high-rated needs --rating");
    std::string name;
    char32_t bad = 0;
    if (!ISUTF8(o.name)) CLIUSAGE("--name: the argument is not valid UTF-8 text");
    if (FINDCONTROL(o.name, bad)) CLIUSAGE(CONTROLNAMEMESSAGE("--name", bad));
    if (!UTF8TOCP1250(o.name, name, &bad)) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(bad));
        CLIUSAGE(std::string("--name: the character ") + code +
                 " cannot be kept in a tournament file");
    }
    if (name.size() > static_cast<std::size_t>(TournamentNameLength))
        CLIUSAGE("--name: at most " + std::to_string(TournamentNameLength) + " characters");

    if (o.size.movement == "custom" && o.ocm.empty())
        CLIUSAGE("--movement custom needs --ocm FILE, the movement file it plays");
    if (o.size.movement != "custom" && !o.ocm.empty())
        CLIUSAGE("--ocm is for --movement custom only");
    SizeOptions size = o.size;
    StoredMovement stored;
    if (!o.ocm.empty()) {
        std::string bytes;
        if (!READMOVEMENTBYTES(o.ocm, bytes) || !DECODEMOVEMENTFILE(bytes, MaxMovementCount, stored)) {
            std::fprintf(stderr, "orla-cli: %s: %s\n", CONTROLPICTURES(o.ocm).c_str(), MovementReadError);
            CliExitCode = EXIT_FILE;
            return;
        }
        size.customRounds = stored.rounds;
    }

    DEFAULTHEADER();
    SETHEADERSIZE(size);
    if (!o.ocm.empty()) {
        // The movement is read into arrays of the new tournament's shape, which
        // the tournament then keeps; a file of other counts or pairs is refused.
        if (!Movement.allocate(NumBoardSets, NumRounds, 2) || !SetEntries.allocate(NumBoardSets)) {
            std::fprintf(stderr, "orla-cli: not enough memory for the movement\n");
            CliExitCode = EXIT_FILE;
            return;
        }
        const int loaded = LOADMOVEMENTFILE(o.ocm);
        if (loaded != MOVEMENT_LOADED) {
            std::fprintf(stderr, "orla-cli: %s: %s\n", CONTROLPICTURES(o.ocm).c_str(),
                         loaded == MOVEMENT_MISMATCH ? MovementIncompatible : MovementReadError);
            Movement.release();
            SetEntries.release();
            CliExitCode = EXIT_FILE;
            return;
        }
    }
    NeedsRecalc = false;
    SETFIELD(Header.TournamentName, TournamentNameLength, name);
    if (o.rating) RatingMode = -1;
    if (o.masters) RatingMode = 1;
    HighRated = TOLOGICAL(o.highRated);
    UseNeuberg = TOLOGICAL(o.neuberg);
    CalcType = calc;
    HasHands = TOLOGICAL(o.hands);
    if (!CREATETOURNAMENT()) {
        CliExitCode = EXIT_FILE;
        return;
    }
    TournamentFile = o.out;
    CliExitCode = WRITENTRFILE() ? EXIT_DONE : EXIT_FILE;
}

// A float as the shortest decimal that reads back to the same 32-bit value.
Json number(float v) {
    if (!std::isfinite(v)) return nullptr;
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    double d = 0;
    std::from_chars(text, end, d);
    return d;
}

std::string nameText(const char* field, int length) {
    return CP1250TOUTF8(FIELDTEXT(field, length));
}

// The entries listed for board set k that the arrays really hold.
int entriesOf(int set) {
    if (!SetEntries.contains(set)) return 0;
    return std::clamp(SetEntries(set), 0, NumRounds);
}

int setOfBoard(int board) {
    return (board - 1) / BoardsPerRound + 1;
}

Json pairFloats(const Array<float, 1>& a) {
    Json j = Json::array();
    for (int p = 1; p <= NumPairs; ++p)
        j.push_back(number(a.contains(p) ? a(p) : 0.0f));
    return j;
}

// Per board, per entry of its set: [side 1, side 2].
Json boardSides(const Array<float, 3>& a) {
    Json j = Json::array();
    for (int b = 1; b <= NumBoards; ++b) {
        Json row = Json::array();
        for (int i = 1; i <= entriesOf(setOfBoard(b)); ++i)
            if (a.contains(b, i, 2)) row.push_back({number(a(b, i, 1)), number(a(b, i, 2))});
        j.push_back(std::move(row));
    }
    return j;
}

// Per board set, per entry: [side 1, side 2].
Json setSides(const Array<float, 3>& a) {
    Json j = Json::array();
    for (int k = 1; k <= NumBoardSets; ++k) {
        Json row = Json::array();
        for (int i = 1; i <= entriesOf(k); ++i)
            if (a.contains(k, i, 2)) row.push_back({number(a(k, i, 1)), number(a(k, i, 2))});
        j.push_back(std::move(row));
    }
    return j;
}

Json tournamentJson() {
    Json h;
    h["TournamentName"] = nameText(Header.TournamentName, TournamentNameLength);
    h["CalcType"] = CalcType;
    h["MovementType"] = MovementType;
    h["NumPairs"] = NumPairs;
    h["NumBoards"] = NumBoards;
    h["NumRounds"] = NumRounds;
    h["BoardsPerRound"] = BoardsPerRound;
    h["SkipOn"] = ISTRUE(SkipOn);
    h["SkipBoards"] = ISTRUE(SkipBoards);
    h["RatingMode"] = RatingMode;
    h["HighRated"] = ISTRUE(HighRated);
    h["OrderAsPlayed"] = ISTRUE(OrderAsPlayed);
    h["UseNeuberg"] = ISTRUE(UseNeuberg);
    h["HasHands"] = ISTRUE(HasHands);
    h["SkipAfterRound"] = SkipAfterRound;

    Json j;
    j["header"] = std::move(h);
    j["NumBoardSets"] = NumBoardSets;
    j["NumTables"] = NumTables;
    j["TournamentStrength"] = TournamentStrength;

    Json sets = Json::array(), movement = Json::array();
    for (int k = 1; k <= NumBoardSets; ++k) {
        sets.push_back(SetEntries.contains(k) ? SetEntries(k) : 0);
        Json row = Json::array();
        for (int i = 1; i <= entriesOf(k); ++i)
            if (Movement.contains(k, i, 2)) row.push_back({Movement(k, i, 1), Movement(k, i, 2)});
        movement.push_back(std::move(row));
    }
    j["SetEntries"] = std::move(sets);
    j["Movement"] = std::move(movement);

    Json results = Json::array(), valid = Json::array();
    for (int b = 1; b <= NumBoards; ++b) {
        Json row = Json::array();
        for (int i = 1; i <= entriesOf(setOfBoard(b)); ++i)
            if (Results.contains(b, i)) row.push_back(number(Results(b, i)));
        results.push_back(std::move(row));
        valid.push_back(BoardValid.contains(b) && ISTRUE(BoardValid(b)));
    }
    j["Results"] = std::move(results);
    j["BoardValid"] = std::move(valid);
    j["BoardPoints"] = boardSides(BoardPoints);
    j["BoardPercent"] = boardSides(BoardPercent);
    j["MatchPoints"] = setSides(MatchPoints);
    j["MatchVP"] = setSides(MatchVP);
    j["PairTotal"] = pairFloats(PairTotal);
    j["PairPercent"] = pairFloats(PairPercent);
    j["PairImpPerBoard"] = pairFloats(PairImpPerBoard);
    j["PairPenalty"] = pairFloats(PairPenalty);

    Json names = Json::array(), rating = Json::array(), change = Json::array(),
         order = Json::array();
    for (int p = 1; p <= NumPairs; ++p) {
        names.push_back(
            {nameText(PlayerNames(p, 1).c, NameLength), nameText(PlayerNames(p, 2).c, NameLength)});
        rating.push_back({PlayerRating(p, 1), PlayerRating(p, 2)});
        change.push_back({number(RatingChange(p, 1)), number(RatingChange(p, 2))});
        order.push_back(PlacementOrder.contains(p) ? PlacementOrder(p) : 0);
    }
    j["PlayerNames"] = std::move(names);
    j["PlayerRating"] = std::move(rating);
    j["RatingChange"] = std::move(change);
    j["PlacementOrder"] = std::move(order);
    // The place of each pair as every report numbers it (tied pairs share one).
    const std::vector<int> places = PAIRPLACES();
    Json place = Json::array();
    for (int p = 1; p <= NumPairs; ++p)
        place.push_back(static_cast<std::size_t>(p) < places.size() ? places[static_cast<std::size_t>(p)] : 0);
    j["PairPlace"] = std::move(place);
    j["status"] = {StatusTexts[0], StatusTexts[1], StatusTexts[2]};

    if (ISTRUE(HasHands)) {
        Json hands = Json::array();
        for (int b = 1; b <= NumBoards; ++b) {
            Json cards = Json::array();
            for (int c = 1; c <= 52; ++c)
                cards.push_back(HandCards(c, b));
            hands.push_back(std::move(cards));
        }
        j["HandCards"] = std::move(hands);
    }
    return j;
}

// Opens `file`; with `recalculate`, recalculates it as "Recalculate now" does
// under its own rating boxes: ratings from the register, every total and the
// rating or masters step, instead of keeping the changes the file stores.
bool openTournament(const std::string& file, bool recalculate) {
    Ui.status = keepStatus;
    if (!OPENNTRFILE(file)) {
        CliExitCode = EXIT_FILE;
        return false;
    }
    if (recalculate) RECALCULATENOW(RatingMode, ISTRUE(HighRated));
    return true;
}

void runDump(const std::string& file, bool recalculate) {
    if (!openTournament(file, recalculate)) return;
    std::cout << tournamentJson().dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    CliExitCode = EXIT_DONE;
}

// Recalculates `file` and saves it in its place; one line says what it holds.
void runScore(const std::string& file) {
    if (!openTournament(file, true)) return;
    if (!WRITENTRFILE()) {
        CliExitCode = EXIT_FILE;
        return;
    }
    const char* kind = RatingMode == -1 ? "; rating changes calculated"
                       : RatingMode == 1 ? "; masters points calculated"
                                         : "";
    std::cout << file << ": " << NumPairs << (NumPairs == 1 ? " pair" : " pairs")
              << ", strength " << TournamentStrength << kind << "; saved.\n";
    CliExitCode = EXIT_DONE;
}

} // namespace

void ADDFILECOMMANDS(CLI::App& app) {
    auto o = std::make_shared<NewOptions>();
    CLI::App* create = app.add_subcommand(
        "new", "Create a tournament as the Tournament Properties dialog does and save it");
    create->add_option("OUT", o->out, "Tournament file to write (.otr)")->required();
    ADDSIZEOPTIONS(create, o->size, "movement", true);
    create->add_option("--ocm", o->ocm, "Movement file (.ocm) of a custom movement");
    create->add_option("--calc", o->calc, "mp, imp or calcutta (default mp)")
        ->check(CLI::IsMember({"mp", "imp", "calcutta"}));
    create->add_flag("--neuberg", o->neuberg, "Neuberg formula");
    auto* rating = create->add_flag("--rating", o->rating, "Calculate rating");
    auto* masters = create->add_flag("--masters", o->masters, "Calculate masters");
    rating->excludes(masters);
    create->add_flag("--high-rated", o->highRated, "High rated tournament");
    create->add_flag("--hands", o->hands, "Include hand diagrams");
    create->add_option("--name", o->name, "Tournament name");
    create->callback([o] {
        Ui.message = printMessage;
        INSTALLCOMPUTE();
        OPENREGISTER();
        runNew(*o);
    });

    auto file = std::make_shared<std::string>();
    auto recalculate = std::make_shared<bool>(false);
    CLI::App* dump = app.add_subcommand(
        "dump", "Open a tournament file as the program does and print it as JSON");
    dump->add_option("FILE", *file, "Tournament file (.otr)")->required();
    dump->add_flag("--recalculate", *recalculate,
                   "Recalculate as \"Recalculate now\" does (ratings from the register, the "
                   "rating or masters step) instead of keeping the changes the file stores");
    dump->callback([file, recalculate] {
        Ui.message = printMessage;
        INSTALLCOMPUTE();
        OPENREGISTER();
        runDump(*file, *recalculate);
    });

    CLI::App* score = app.add_subcommand(
        "score", "Recalculate a tournament file as \"Recalculate now\" does and save it");
    score->add_option("FILE", *file, "Tournament file (.otr)")->required();
    score->callback([file] {
        Ui.message = printMessage;
        INSTALLCOMPUTE();
        OPENREGISTER();
        runScore(*file);
    });
}
