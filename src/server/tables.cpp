// Scoring at the tables: the tables' state, their operations and the journal's replay.
#include "server/tables.h"

#include "core/clock.h"
#include "core/filelock.h"
#include "core/hooks.h"
#include "core/results.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "scoring/scoring.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>

std::vector<TableState> Tables;
std::string DirectorToken;
std::string JournalFile;
bool ShowResultsWhilePlaying = false;
bool ShowTravellers = false;

namespace {

void logToStderr(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

// The time of day in UTC, as the journal writes it.
std::string utcNow() {
    return TIMETEXT(UTCTIME(std::time(nullptr)), "%Y-%m-%dT%H:%M:%SZ");
}

// The entry of board set `set` that a seat names, checked against the arrays.
bool entryOf(const Seat& seat, int board) {
    return board >= FIRSTBOARD(seat.set) && board <= LASTBOARD(seat.set) && board <= NumBoards &&
           seat.entry >= 1 && seat.entry <= Results.extent(2);
}

} // namespace

// The director's result stands, so the table must not wait for it. An unseated
// custom table is in round 1.
void FINDROUND(TableState& t) {
    if (!t.seated) {
        t.round = 1;
        return;
    }
    const int before = t.round;
    // A round before one in which the table has accepted a board is behind it:
    // its pairs have moved on, so a result the director clears there is the
    // director's to enter again, and the table stays where it plays now.
    t.round = 0;
    for (const Seat& seat : t.seats) {
        if (seat.round < t.reached) continue;
        bool done = true;
        for (int b = FIRSTBOARD(seat.set); b <= LASTBOARD(seat.set); ++b)
            if (!t.accepted.count(b) &&
                !(entryOf(seat, b) && Results.allocated() && Results(b, seat.entry) != 0.0f))
                done = false;
        if (!done) {
            t.round = seat.round;
            break;
        }
    }
    if (t.round != before) {
        t.pending.clear();
        t.inverted = false;
    }
}

namespace {

TableState newTable(int table) {
    TableState t;
    t.table = table;
    return t;
}

} // namespace

void SEATTABLES() {
    Tables.clear();
    if (MovementType == MOVE_CUSTOM) {
        for (int t = 1; t <= NumTables; ++t) Tables.push_back(newTable(t));
    } else {
        const SeatingPlan plan = MAKESEATINGPLAN();
        for (int t = 1; t <= plan.tables; ++t) Tables.push_back(newTable(t));
        for (const Seat& seat : plan.seats)
            Tables[static_cast<std::size_t>(seat.table - 1)].seats.push_back(seat);
        for (TableState& t : Tables) t.seated = true;
    }
    for (TableState& t : Tables) FINDROUND(t);
}

namespace {

nlohmann::json resultJson(const TableState& t, const Seat& seat, int board, const TableResult& r,
                          const std::string& device) {
    nlohmann::json j = {{"kind", "result"},
                        {"table", t.table},
                        {"round", seat.round},
                        {"board", board},
                        {"entry", seat.entry},
                        {"contract", CONTRACTTEXT(r.contract)},
                        {"declarer", std::string(1, r.declarer)},
                        {"tricks", r.tricks},
                        {"nsScore", r.nsScore},
                        {"inverted", t.inverted},
                        {"value", r.stored},
                        {"time", utcNow()},
                        {"device", device}};
    if (!r.lead.empty()) j["lead"] = r.lead;
    return j;
}

// The journal as it was once the tables started. Another tournament saved
// under the file's name meanwhile (orla-cli new, Save As) sets it aside: the
// tables then write nothing, or the next start would put this evening's
// results into that tournament.
FileStamp JournalStamp;

bool journal(const nlohmann::json& record, std::string& reason) {
    if (JournalFile.empty()) return true; // tests of the operations alone
    const FileStamp now = FILESTAMP(JournalFile);
    if (JournalStamp.exists &&
        (!now.exists || now.device != JournalStamp.device || now.inode != JournalStamp.inode)) {
        reason = "the journal " + CONTROLPICTURES(JournalFile) +
                 " was set aside: another tournament was saved under the file's name";
        return false;
    }
    return APPENDJOURNAL(JournalFile, record, reason);
}

// Finds the rounds of a custom table from its NS pair; refused when another table
// has that pair already.
TableOutcome seatCustom(TableState& t, int nsPair) {
    for (const TableState& other : Tables)
        if (&other != &t && other.seated && !other.seats.empty() && other.seats[0].ns == nsPair)
            return {409, "Pair " + std::to_string(nsPair) + " sits NS at table " +
                             std::to_string(other.table) + "."};
    std::vector<Seat> seats;
    std::string reason;
    if (!CUSTOMTABLESEATS(t.table, nsPair, seats, reason)) return {409, reason};
    t.seats = seats;
    t.seated = true;
    return {};
}

// A custom table that gave a wrong NS pair gives another before it has
// accepted a board: it takes that pair's rounds, and the pair it gave first is
// free for its own table.
TableOutcome reseatCustom(TableState& t, int nsPair) {
    const std::vector<Seat> seats = t.seats;
    const int round = t.round;
    TableOutcome seated = seatCustom(t, nsPair);
    if (seated.status != 200) return seated;
    std::string reason;
    if (!journal({{"kind", "start"}, {"table", t.table}, {"round", round}, {"ns", nsPair},
                  {"inverted", false}, {"time", utcNow()}},
                 reason)) {
        t.seats = seats;
        return {503, "The table's pair could not be written down (" + reason +
                         "); ask the director."};
    }
    t.inverted = false;
    t.pending.clear();
    FINDROUND(t);
    return {};
}

// Why a board of one of the table's earlier rounds is refused: a page not yet
// reloaded since the round moved on (the director may have finished it). Empty
// for any other board.
std::string earlierRound(const TableState& t, int board) {
    if (const Seat* now = CURRENTSEAT(t); now != nullptr && entryOf(*now, board)) return {};
    for (const Seat& seat : t.seats) {
        if (seat.round == t.round || (t.round != 0 && seat.round > t.round) ||
            !entryOf(seat, board))
            continue;
        if (DIRECTORSRESULT(t, seat, board))
            return "The director has entered the result of board " + std::to_string(board) +
                   "; round " + std::to_string(seat.round) + " is complete.";
        return "Round " + std::to_string(seat.round) + " is complete: board " +
               std::to_string(board) + " is changed only by the director now.";
    }
    return {};
}

} // namespace

void (*TablesLog)(const std::string& text) = logToStderr;
void (*TablesChanged)() = nullptr;

namespace {
// Held from STARTTABLES until RESETTABLES.
FileLock TablesLock;
} // namespace

void RESETTABLES() {
    UNLOCKFILE(TablesLock);
    JournalStamp = FileStamp{};
    Tables.clear();
    DirectorToken.clear();
    JournalFile.clear();
    ShowResultsWhilePlaying = false;
    ShowTravellers = false;
    TablesLog = logToStderr;
    TablesChanged = nullptr;
}

void RELEASETABLES() {
    UNLOCKFILE(TablesLock);
}

std::string NEWTOKEN() {
    std::random_device device;
    static const char digits[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t word = device();
        for (int k = 0; k < 8; ++k) token += digits[(word >> (4 * k)) & 15];
    }
    return token;
}

bool TOKENEQUAL(const std::string& given, const std::string& expected) {
    if (given.size() != expected.size() || expected.empty()) return false;
    unsigned char diff = 0;
    for (std::size_t i = 0; i < expected.size(); ++i)
        diff |= static_cast<unsigned char>(given[i] ^ expected[i]);
    return diff == 0;
}

int FIRSTBOARD(int set) { return (set - 1) * BoardsPerRound + 1; }
int LASTBOARD(int set) { return set * BoardsPerRound; }

const Seat* CURRENTSEAT(const TableState& t) {
    if (!t.seated) return nullptr;
    for (const Seat& seat : t.seats)
        if (seat.round == t.round) return &seat;
    return nullptr;
}

bool DIRECTORSRESULT(const TableState& t, const Seat& seat, int board) {
    if (!entryOf(seat, board) || !Results.allocated()) return false;
    auto accepted = t.accepted.find(board);
    const float expected = accepted != t.accepted.end() ? accepted->second.stored : 0.0f;
    return Results(board, seat.entry) != expected;
}

TableOutcome TABLESTART(TableState& t, int nsPair) {
    if (!t.seated) {
        TableOutcome seated = seatCustom(t, nsPair);
        if (seated.status != 200) return seated;
        const int round = t.round;
        FINDROUND(t);
        std::string reason;
        if (!journal({{"kind", "start"}, {"table", t.table}, {"round", round}, {"ns", nsPair},
                      {"inverted", false}, {"time", utcNow()}},
                     reason)) {
            t.seated = false;
            t.seats.clear();
            t.round = round;
            return {503, "The table's pair could not be written down (" + reason +
                             "); ask the director."};
        }
        return {};
    }
    const Seat* seat = CURRENTSEAT(t);
    if (seat == nullptr) return {409, "Table " + std::to_string(t.table) + " has finished."};
    for (int b = FIRSTBOARD(seat->set); b <= LASTBOARD(seat->set); ++b)
        if (t.accepted.count(b))
            return {409, "Board " + std::to_string(b) +
                             " of this round is accepted already; ask the director."};
    bool inverted;
    if (nsPair == seat->ns)
        inverted = false;
    else if (nsPair == seat->ew)
        inverted = true;
    else if (MovementType == MOVE_CUSTOM && t.accepted.empty() && t.reached == 0)
        return reseatCustom(t, nsPair);
    else
        return {409, "Pair " + std::to_string(nsPair) + " does not play at table " +
                         std::to_string(t.table) + " in round " + std::to_string(t.round) +
                         " (pairs " + std::to_string(seat->ns) + " and " +
                         std::to_string(seat->ew) + " do)."};
    if (inverted == t.inverted) return {};
    std::string reason;
    if (!journal({{"kind", "start"}, {"table", t.table}, {"round", t.round}, {"ns", nsPair},
                  {"inverted", inverted}, {"time", utcNow()}},
                 reason))
        return {503, "The table's pair could not be written down (" + reason +
                         "); ask the director."};
    t.inverted = inverted;
    t.pending.clear();
    return {};
}

TableOutcome TABLEENTER(TableState& t, int board, const TableResult& r) {
    if (!t.seated) return {409, "Give the number of the NS pair first."};
    const Seat* seat = CURRENTSEAT(t);
    if (const std::string earlier = earlierRound(t, board); !earlier.empty())
        return {409, earlier};
    if (seat == nullptr) return {409, "Table " + std::to_string(t.table) + " has finished."};
    if (!entryOf(*seat, board))
        return {403, "Board " + std::to_string(board) + " is not played at table " +
                         std::to_string(t.table) + " in round " + std::to_string(t.round) + "."};
    if (DIRECTORSRESULT(t, *seat, board))
        return {409, "The director has entered the result of board " + std::to_string(board) +
                         "; ask the director to change it."};
    // The stored forms hold NS scores of -5000 to 9990 (to 4990 with the pairs
    // the wrong way round); the director enters the rare one beyond.
    const ResultLimits limits = RESULTLIMITS(false, CalcType == CALC_MATCHPOINTS, t.inverted);
    if (r.nsScore < limits.low1 || r.nsScore > limits.high1)
        return {400, "A score of " + std::to_string(r.nsScore * 10) +
                         " cannot be entered at the table; ask the director."};
    t.pending[board] = r;
    return {};
}

TableOutcome TABLEACCEPT(TableState& t, int board, double now, const std::string& device) {
    const Seat* seat = CURRENTSEAT(t);
    if (const std::string earlier = earlierRound(t, board); !earlier.empty())
        return {409, earlier};
    if (seat == nullptr) return {409, "Table " + std::to_string(t.table) + " has no round to play."};
    if (!entryOf(*seat, board))
        return {403, "Board " + std::to_string(board) + " is not played at table " +
                         std::to_string(t.table) + " in round " + std::to_string(t.round) + "."};
    auto pending = t.pending.find(board);
    if (pending == t.pending.end())
        return {409, "Board " + std::to_string(board) + " has no result waiting to be accepted."};
    // The director's own result wins: one typed in the window since (or before)
    // the table's stays, and the table is told.
    float& slot = Results(board, seat->entry);
    auto before = t.accepted.find(board);
    const float expected = before != t.accepted.end() ? before->second.stored : 0.0f;
    if (slot != expected) {
        std::string ignored;
        journal({{"kind", "director"}, {"table", t.table}, {"round", t.round}, {"board", board},
                 {"entry", seat->entry}, {"value", slot}, {"time", utcNow()}},
                ignored);
        t.pending.erase(board);
        FINDROUND(t); // the director's result may finish the round
        if (TablesChanged) TablesChanged();
        return {409, "The director has entered the result of board " + std::to_string(board) +
                         "."};
    }
    // The round's last board ends its corrections: one typed and waiting for
    // EW on another board of the round is accepted (or entered again) first,
    // so that it is not dropped when the table moves on.
    int waiting = 0;
    bool last = true;
    for (int b = FIRSTBOARD(seat->set); b <= LASTBOARD(seat->set); ++b) {
        if (b == board) continue;
        if (!t.accepted.count(b) && !DIRECTORSRESULT(t, *seat, b)) last = false;
        if (t.pending.count(b) && !DIRECTORSRESULT(t, *seat, b) && waiting == 0) waiting = b;
    }
    if (last && waiting != 0)
        return {409, "Board " + std::to_string(waiting) +
                         " has a corrected result waiting: accept it first."};
    TableResult r = pending->second;
    r.stored = t.inverted ? ENCODEINVERTED(r.nsScore) : ENCODEORDINARY(r.nsScore);
    std::string reason;
    if (!journal(resultJson(t, *seat, board, r, device), reason))
        return {503, "The result could not be written down (" + reason + "); ask the director."};
    slot = r.stored;
    SETSAVE(true);
    CALCULATEBOARD(board);
    // A new result: the figures the file was opened with are kept no longer, so
    // the rating step runs too (when installed) before the file is saved below.
    NeedsRecalc = false;
    CALCALL();
    t.accepted[board] = r;
    t.reached = std::max(t.reached, seat->round);
    t.pending.erase(board);
    t.lastContact = now;
    if (HasFileName && !WRITENTRFILE())
        TablesLog("The tournament could not be saved after board " + std::to_string(board) +
                  " of table " + std::to_string(t.table) + "; the journal " + JournalFile +
                  " holds the result.");
    FINDROUND(t);
    if (TablesChanged) TablesChanged();
    return {};
}

bool DIRECTORTYPED(int board, int entry, float before, float after, std::string& reason) {
    if (before == after || JournalFile.empty()) return true;
    bool written = true;
    for (TableState& t : Tables) {
        if (!t.accepted.count(board)) continue;
        for (const Seat& seat : t.seats) {
            if (seat.entry != entry || board < FIRSTBOARD(seat.set) || board > LASTBOARD(seat.set))
                continue;
            written = journal({{"kind", "director"}, {"table", t.table}, {"round", seat.round},
                               {"board", board}, {"entry", entry}, {"value", after},
                               {"replaces", before}, {"tableValue", t.accepted.at(board).stored},
                               {"time", utcNow()}},
                              reason);
            // A result cleared is no longer the table's: the table may enter the
            // board again while it plays that round.
            if (after == 0.0f) t.accepted.erase(board);
            break;
        }
    }
    // The director's results may finish a table's round (or, cleared, open it again).
    for (TableState& t : Tables) FINDROUND(t);
    return written;
}

int REPLAYJOURNAL(const std::vector<nlohmann::json>& records) {
    int restored = 0;
    std::map<std::pair<int, int>, float> journaled; // (board, entry) -> last value written
    auto number = [](const nlohmann::json& r, const char* key, int& out) {
        auto it = r.find(key);
        if (it == r.end() || !it->is_number_integer()) return false;
        const auto v = it->get<long long>();
        if (v < -1000000 || v > 1000000) return false;
        out = static_cast<int>(v);
        return true;
    };
    auto tableOf = [&](const nlohmann::json& r) -> TableState* {
        int t = 0;
        if (!number(r, "table", t) || t < 1 || t > static_cast<int>(Tables.size())) return nullptr;
        return &Tables[static_cast<std::size_t>(t - 1)];
    };
    for (const nlohmann::json& r : records) {
        auto kind = r.find("kind");
        if (kind == r.end() || !kind->is_string()) continue;
        if (*kind == "keys") {
            auto director = r.find("director");
            auto tables = r.find("tables");
            if (director == r.end() || !director->is_string() || tables == r.end() ||
                !tables->is_array() || tables->size() != Tables.size())
                continue;
            bool good = true;
            for (const auto& k : *tables) good = good && k.is_string() && k.get<std::string>().size() >= 24;
            if (!good || director->get<std::string>().size() < 24) continue;
            DirectorToken = director->get<std::string>();
            for (std::size_t i = 0; i < Tables.size(); ++i)
                Tables[i].token = (*tables)[i].get<std::string>();
        } else if (*kind == "start") {
            TableState* t = tableOf(r);
            int ns = 0, round = 0;
            if (t == nullptr || !number(r, "ns", ns) || !number(r, "round", round) ||
                round != t->round)
                continue;
            auto inverted = r.find("inverted");
            const Seat* seat = CURRENTSEAT(*t);
            if (!t->seated) {
                if (seatCustom(*t, ns).status == 200) FINDROUND(*t);
            } else if (MovementType == MOVE_CUSTOM && seat != nullptr && ns != seat->ns &&
                       ns != seat->ew) {
                if (seatCustom(*t, ns).status == 200) { // a custom table's other NS pair
                    t->inverted = false;
                    FINDROUND(*t);
                }
            } else if (inverted != r.end() && inverted->is_boolean()) {
                t->inverted = inverted->get<bool>();
            }
        } else if (*kind == "result") {
            TableState* t = tableOf(r);
            int round = 0, board = 0, entry = 0, tricks = 0, score = 0;
            auto contract = r.find("contract");
            auto declarer = r.find("declarer");
            auto value = r.find("value");
            auto inverted = r.find("inverted");
            TableResult result;
            if (t == nullptr || !t->seated || !number(r, "round", round) ||
                !number(r, "board", board) || !number(r, "entry", entry) ||
                !number(r, "tricks", tricks) || !number(r, "nsScore", score) ||
                contract == r.end() || !contract->is_string() ||
                !PARSECONTRACT(contract->get<std::string>(), result.contract) ||
                declarer == r.end() || !declarer->is_string() ||
                declarer->get<std::string>().size() != 1 || value == r.end() ||
                !value->is_number() || inverted == r.end() || !inverted->is_boolean())
                continue;
            // Only where the table sat in that round under this plan.
            const Seat* seat = FINDSEAT(t->seats, t->table, round);
            if (seat == nullptr || !entryOf(*seat, board) || entry != seat->entry) continue;
            result.declarer = declarer->get<std::string>()[0];
            result.tricks = tricks;
            result.nsScore = score;
            result.stored = inverted->get<bool>() ? ENCODEINVERTED(score) : ENCODEORDINARY(score);
            if (result.stored != value->get<float>()) continue;
            auto lead = r.find("lead");
            if (lead != r.end() && lead->is_string()) result.lead = lead->get<std::string>();
            float& slot = Results(board, seat->entry);
            const auto spot = std::make_pair(board, seat->entry);
            const auto last = journaled.find(spot);
            if (slot == result.stored) {
                // The file has it already.
            } else if (slot == 0.0f || (last != journaled.end() && slot == last->second)) {
                slot = result.stored;
                ++restored;
            } else {
                TablesLog("Board " + std::to_string(board) + ": the director's result stays "
                          "over the one table " + std::to_string(t->table) + " accepted.");
            }
            journaled[spot] = result.stored;
            t->accepted[board] = result;
            t->reached = std::max(t->reached, round);
            FINDROUND(*t);
        } else if (*kind == "director") {
            // The director's value replaced the one the journal knew: it stays,
            // unless the file holds a result typed later still.
            TableState* t = tableOf(r);
            int round = 0, board = 0, entry = 0;
            auto value = r.find("value");
            if (t == nullptr || !t->seated || !number(r, "round", round) ||
                !number(r, "board", board) || !number(r, "entry", entry) || value == r.end() ||
                !value->is_number())
                continue;
            const Seat* seat = FINDSEAT(t->seats, t->table, round);
            if (seat == nullptr || !entryOf(*seat, board) || entry != seat->entry) continue;
            const float v = value->get<float>();
            const DecodedResult d = DECODERESULT(v);
            if (v != 0.0f && d.form == RESULT_NONE) continue;
            if (v == 0.0f) t->accepted.erase(board); // cleared: no longer the table's
            const auto spot = std::make_pair(board, entry);
            const auto last = journaled.find(spot);
            if (last == journaled.end()) continue;
            float& slot = Results(board, entry);
            if (slot != v && slot == last->second) {
                slot = v;
                ++restored;
            }
            last->second = v;
        }
    }
    return restored;
}

namespace {

// 64-bit FNV-1a over numbers, each as its four bytes, lowest first.
struct Fingerprint {
    std::uint64_t value = 14695981039346656037ull;
    void add(std::int32_t number) {
        const auto bits = static_cast<std::uint32_t>(number);
        for (int k = 0; k < 4; ++k) {
            value ^= (bits >> (8 * k)) & 0xFFu;
            value *= 1099511628211ull;
        }
    }
    std::string text() const {
        static const char digits[] = "0123456789abcdef";
        std::string out(16, '0');
        for (int k = 0; k < 16; ++k)
            out[static_cast<std::size_t>(15 - k)] = digits[(value >> (4 * k)) & 15];
        return out;
    }
};

// True when a "keys" record of the journal was written for another seating
// than `shape`. Records written before the keys kept a shape tell nothing.
bool otherSeating(const std::vector<nlohmann::json>& records, const nlohmann::json& shape) {
    for (const nlohmann::json& r : records) {
        auto kind = r.find("kind");
        if (kind == r.end() || *kind != "keys") continue;
        auto written = r.find("shape");
        if (written != r.end() && *written != shape) return true;
    }
    return false;
}

} // namespace

nlohmann::json TABLESHAPE() {
    Fingerprint seating;
    int tables = 0;
    if (MovementType == MOVE_CUSTOM) {
        tables = NumTables;
        if (SetEntries.allocated())
            for (int k = 1; k <= SetEntries.extent(1); ++k) seating.add(SetEntries(k));
        if (Movement.allocated())
            for (int s = 1; s <= Movement.extent(3); ++s)
                for (int i = 1; i <= Movement.extent(2); ++i)
                    for (int k = 1; k <= Movement.extent(1); ++k) seating.add(Movement(k, i, s));
    } else {
        const SeatingPlan plan = MAKESEATINGPLAN();
        tables = plan.tables;
        for (const Seat& seat : plan.seats)
            for (int number : {seat.round, seat.table, seat.set, seat.entry, seat.ns, seat.ew})
                seating.add(number);
    }
    return {{"movement", MovementType}, {"pairs", NumPairs},          {"rounds", NumRounds},
            {"boards", NumBoards},      {"perRound", BoardsPerRound}, {"sets", NumBoardSets},
            {"tables", tables},         {"seating", seating.text()}};
}

bool STARTTABLES(std::string& reason) {
    if (!TournamentOpen || !HasFileName || TournamentFile.empty()) {
        reason = "The tournament must be saved in a file before scoring at the tables starts.";
        return false;
    }
    SEATTABLES();
    if (Tables.empty()) {
        reason = "The movement has no tables to score at.";
        return false;
    }
    DirectorToken.clear(); // the keys are the journal's, or new ones
    JournalFile = JOURNALNAME(TournamentFile);
    // One program scores at the tables of a file at a time: a second one would
    // take the same keys, and the results it stored would not reach the file.
    // Where no lock file can be made, scoring goes on as a save does (the
    // journal says whether it can be written).
    bool busy = false;
    if (!LOCKFILE(JournalFile, TablesLock, reason, &busy, 0) && busy) {
        reason = "Scoring at the tables of " + CONTROLPICTURES(TournamentFile) +
                 " is already running in another program (a window or orla-cli serve). Stop "
                 "it there first.";
        return false;
    }
    JournalContents contents;
    if (!READJOURNAL(JournalFile, contents, reason)) {
        UNLOCKFILE(TablesLock);
        reason = JournalFile + ": " + reason;
        return false;
    }
    // A journal of another seating of the tables (the movement or its size was
    // changed and saved under the same name) would put its results on other
    // boards and pairs: it is kept aside and this evening starts its own.
    const nlohmann::json shape = TABLESHAPE();
    if (otherSeating(contents.records, shape)) {
        std::string aside;
        if (!SETJOURNALASIDE(TournamentFile, reason, &aside)) {
            reason = "The table scoring journal " + CONTROLPICTURES(JournalFile) +
                     " was written for another seating of the tables and could not be kept "
                     "aside: " + reason + ". Scoring at the tables has not started.";
            UNLOCKFILE(TablesLock);
            return false;
        }
        TablesLog("The table scoring journal " + CONTROLPICTURES(JournalFile) +
                  " was written for another seating of the tables (the movement or its size "
                  "changed since); it is kept as " + CONTROLPICTURES(aside) +
                  " and the tables start afresh with new keys: print the table cards again.");
        contents = JournalContents{};
    }
    const int restored = REPLAYJOURNAL(contents.records);
    if (contents.damagedLines > 0)
        TablesLog(JournalFile + ": " + std::to_string(contents.damagedLines) +
                  (contents.damagedLines == 1 ? " damaged line was" : " damaged lines were") +
                  " left out.");
    if (DirectorToken.empty()) {
        DirectorToken = NEWTOKEN();
        nlohmann::json keys = nlohmann::json::array();
        for (TableState& t : Tables) {
            t.token = NEWTOKEN();
            keys.push_back(t.token);
        }
        if (!APPENDJOURNAL(JournalFile, {{"kind", "keys"}, {"director", DirectorToken},
                                         {"tables", keys}, {"shape", shape}, {"time", utcNow()}},
                           reason)) {
            UNLOCKFILE(TablesLock);
            reason = JournalFile + ": " + reason;
            return false;
        }
    }
    JournalStamp = FILESTAMP(JournalFile);
    if (restored > 0) {
        SETSAVE(true);
        NeedsRecalc = false; // results the file missed: its figures are stale too
        CALCALL();
        if (!WRITENTRFILE())
            TablesLog("The tournament could not be saved with the " + std::to_string(restored) +
                      " results put back from " + JournalFile + ".");
    }
    return true;
}
