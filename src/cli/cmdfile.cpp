// orla-cli new: creates a tournament as OK on the Tournament Properties dialog
// does and saves it. orla-cli dump: opens a tournament file as the program does
// and prints its whole state as one JSON object.
#include "cli/commands.h"
#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "movement/movementsize.h"
#include "scoring/compute.h"

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

// The largest count the dialog's three-digit fields take.
constexpr int MaxCount = 999;

MessageAnswer printMessage(const std::string& text, const std::string&, MessageKind kind) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return kind == MSG_YESNO_QUESTION ? ANSWER_NO : ANSWER_OK;
}

std::array<std::string, 3> StatusTexts;

void keepStatus(int part, const std::string& text) {
    if (part >= 0 && part < 3) StatusTexts[static_cast<std::size_t>(part)] = text;
}

struct NewOptions {
    std::string out, movement, calc = "mp", skip, name;
    int pairs = 0, perRound = 0, rounds = 0, boards = 0, skipAfter = 0;
    bool neuberg = false, byTable = false, rating = false, masters = false, highRated = false,
         hands = false;
    CLI::Option *roundsOpt = nullptr, *boardsOpt = nullptr, *skipAfterOpt = nullptr,
                *skipOpt = nullptr;
};

void needCount(const char* option, int value, int least) {
    if (value < least || value > MaxCount)
        CLIUSAGE(std::string(option) + " must be from " + std::to_string(least) + " to " +
                 std::to_string(MaxCount));
}

// Sets the header as the dialog's OK on a new tournament reads it, opens the
// tournament, builds the movement, computes it and writes the file.
void runNew(const NewOptions& o) {
    const int movement = o.movement == "mitchell" ? MOVE_MITCHELL
                         : o.movement == "berger" ? MOVE_BERGER
                                                  : MOVE_HOWELL;
    const int calc = o.calc == "mp"    ? CALC_MATCHPOINTS
                     : o.calc == "imp" ? CALC_IMPS
                                       : CALC_CALCUTTA;
    const bool skip = *o.skipAfterOpt || *o.skipOpt;

    if (movement == MOVE_HOWELL) {
        if (o.pairs < 5 || o.pairs > 14) CLIUSAGE("a Howell is played by 5 to 14 pairs");
    } else {
        needCount("--pairs", o.pairs, 2);
    }
    needCount("--boards-per-round", o.perRound, 1);
    if (skip && movement != MOVE_MITCHELL) CLIUSAGE("only a Mitchell has a skip");
    if (o.neuberg && calc != CALC_MATCHPOINTS) CLIUSAGE("--neuberg is for matchpoints only");
    if (o.highRated && !o.rating) CLIUSAGE("--high-rated needs --rating");
    std::string name;
    char32_t bad = 0;
    if (!UTF8TOCP1250(o.name, name, &bad)) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(bad));
        CLIUSAGE(std::string("--name: the character ") + code +
                 " cannot be kept in a tournament file");
    }
    if (name.size() > static_cast<std::size_t>(TournamentNameLength))
        CLIUSAGE("--name: at most " + std::to_string(TournamentNameLength) + " characters");

    const MovementSize size = DEFAULTMOVEMENTSIZE(movement, o.pairs, o.perRound, skip);
    int rounds = size.rounds, boards = size.boards;
    if (*o.roundsOpt) {
        needCount("--rounds", o.rounds, 1);
        // Typing the rounds changes the total only for a Berger.
        if (movement == MOVE_BERGER && o.rounds != size.rounds) boards = o.rounds * o.perRound;
        rounds = o.rounds;
    }
    if (*o.boardsOpt) {
        needCount("--boards", o.boards, 1);
        boards = o.boards;
    }
    if (*o.skipAfterOpt) needCount("--skip-after", o.skipAfter, 1);
    if (rounds < 1 || rounds > MaxCount) CLIUSAGE("the tournament would have no rounds");
    if (boards < o.perRound || boards > MaxCount)
        CLIUSAGE("the total boards must hold at least one round's boards and at most " +
                 std::to_string(MaxCount));

    NeedsRecalc = false;
    SETFIELD(Header.TournamentName, TournamentNameLength, name);
    NumPairs = o.pairs;
    NumBoards = boards;
    NumRounds = rounds;
    BoardsPerRound = o.perRound;
    NumBoardSets = NumBoards / BoardsPerRound;
    MovementType = movement;
    SkipOn = TOLOGICAL(skip);
    SkipAfterRound = static_cast<std::int16_t>(*o.skipAfterOpt ? o.skipAfter : size.skipAfterRound);
    if (o.rating) RatingMode = -1;
    if (o.masters) RatingMode = 1;
    HighRated = TOLOGICAL(o.highRated);
    SkipBoards = TOLOGICAL(o.skip != "players");
    UseNeuberg = TOLOGICAL(o.neuberg);
    CalcType = calc;
    OrderAsPlayed = TOLOGICAL(!o.byTable);
    HasHands = TOLOGICAL(o.hands);
    if (!INITTOURNAMENT()) {
        CliExitCode = EXIT_FILE;
        return;
    }
    SETSAVE(true);
    if (Compute.calculateMovement) Compute.calculateMovement();
    TournamentOpen = true;
    if (Compute.calcAll) Compute.calcAll();

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

void runDump(const std::string& file) {
    Ui.status = keepStatus;
    if (!OPENNTRFILE(file)) {
        CliExitCode = EXIT_FILE;
        return;
    }
    std::cout << tournamentJson().dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    CliExitCode = EXIT_DONE;
}

} // namespace

void ADDFILECOMMANDS(CLI::App& app) {
    auto o = std::make_shared<NewOptions>();
    CLI::App* create = app.add_subcommand(
        "new", "Create a tournament as the Tournament Properties dialog does and save it");
    create->add_option("OUT", o->out, "Tournament file to write (.otr)")->required();
    create->add_option("--movement", o->movement, "mitchell, berger or howell")
        ->required()
        ->check(CLI::IsMember({"mitchell", "berger", "howell"}));
    create->add_option("--pairs", o->pairs, "Number of pairs")->required();
    create->add_option("--boards-per-round", o->perRound, "Boards per round")->required();
    o->roundsOpt = create->add_option("--rounds", o->rounds, "Number of rounds");
    o->boardsOpt = create->add_option("--boards", o->boards, "Total boards");
    create->add_option("--calc", o->calc, "mp, imp or calcutta (default mp)")
        ->check(CLI::IsMember({"mp", "imp", "calcutta"}));
    create->add_flag("--neuberg", o->neuberg, "Neuberg formula");
    o->skipAfterOpt = create->add_option("--skip-after", o->skipAfter, "Skip after this round");
    o->skipOpt = create->add_option("--skip", o->skip, "The skip applies to boards or players")
                     ->check(CLI::IsMember({"boards", "players"}));
    create->add_flag("--by-table", o->byTable, "Order of results by table number");
    auto* rating = create->add_flag("--rating", o->rating, "Calculate rating");
    auto* masters = create->add_flag("--masters", o->masters, "Calculate masters");
    rating->excludes(masters);
    create->add_flag("--high-rated", o->highRated, "High rated tournament");
    create->add_flag("--hands", o->hands, "Include hand diagrams");
    create->add_option("--name", o->name, "Tournament name");
    create->callback([o] {
        Ui.message = printMessage;
        INSTALLCOMPUTE();
        runNew(*o);
    });

    auto file = std::make_shared<std::string>();
    CLI::App* dump = app.add_subcommand(
        "dump", "Open a tournament file as the program does and print it as JSON");
    dump->add_option("FILE", *file, "Tournament file (.otr)")->required();
    dump->callback([file] {
        Ui.message = printMessage;
        INSTALLCOMPUTE();
        runDump(*file);
    });
}
