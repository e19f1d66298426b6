// The journal of table scoring: only whole lines count, a journal cut at any
// byte gives back exactly the results of the lines before the cut, and starting
// again on a file that missed its last saves brings every accepted result back.
#include "servertest.h"

#include "core/filelock.h"
#include "core/results.h"
#include "players/rating.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <tuple>

namespace {

class JournalTest : public ServerTest {};

// What replaying the journal decides: every result, and each table's round,
// accepted boards and direction.
struct Image {
    std::vector<float> results;
    std::vector<std::tuple<int, std::size_t, bool>> tables;
    std::string director;
    bool operator==(const Image&) const = default;
};

Image image() {
    Image out;
    for (int i = 1; i <= NumRounds; ++i)
        for (int b = 1; b <= NumBoards; ++b) out.results.push_back(Results(b, i));
    for (const TableState& t : Tables) out.tables.emplace_back(t.round, t.accepted.size(), t.inverted);
    out.director = DirectorToken;
    return out;
}

TableResult result(const char* contract, char declarer, int tricks, int board) {
    TableResult r;
    EXPECT_TRUE(PARSECONTRACT(contract, r.contract));
    r.declarer = declarer;
    r.tricks = tricks;
    r.nsScore = TABLESCORE(r.contract, declarer, tricks, board);
    return r;
}

std::size_t linesIn(const std::string& bytes) {
    return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

TEST_F(JournalTest, ReplayAfterACutAtEveryByte) {
    openEvening(MOVE_MITCHELL, 10, 2); // 5 tables, 5 rounds of 2 boards
    std::string reason;
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    const std::string journal = JOURNALNAME(TournamentFile);
    // snapshots[k]: the state once the journal holds k lines.
    std::vector<Image> snapshots;
    auto note = [&] {
        const std::size_t lines = linesIn(readFile(journal));
        while (snapshots.size() <= lines) snapshots.push_back(image());
        snapshots[lines] = image();
    };
    note();
    ASSERT_EQ(snapshots.size(), 2u) << "the keys are the first line";
    snapshots[0] = snapshots[1];
    snapshots[0].director.clear();

    auto play = [&](int table, int board, const char* contract, char declarer, int tricks) {
        TableState& t = Tables[static_cast<std::size_t>(table - 1)];
        ASSERT_EQ(TABLEENTER(t, board, result(contract, declarer, tricks, board)).status, 200);
        ASSERT_EQ(TABLEACCEPT(t, board, 1.0, "test").status, 200);
        note();
    };
    // Table 1 plays its first round whole and starts its second; table 2's
    // pairs sit the wrong way round; table 3 corrects a board and passes one out.
    play(1, 1, "4S", 'N', 10);
    play(1, 2, "3NX", 'E', 7);
    ASSERT_EQ(Tables[0].round, 2);
    play(1, 3, "1C", 'S', 7); // round 2: set 2, against pair 10
    ASSERT_EQ(TABLESTART(Tables[1], Tables[1].seats[0].ew).status, 200);
    note();
    play(2, 3, "6HXX", 'W', 12);
    play(3, 5, "2D", 'N', 8);
    play(3, 5, "2D", 'N', 9);
    play(3, 6, "PASS", 'N', 0);
    const std::string bytes = readFile(journal);
    ASSERT_EQ(snapshots.size(), linesIn(bytes) + 1);
    ASSERT_EQ(linesIn(bytes), 9u);

    const std::string cutName = UTF8OF(tempDir() / "cut.tables");
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        SCOPED_TRACE("cut after " + std::to_string(cut) + " bytes");
        Results.fill(0.0f);
        SEATTABLES();
        DirectorToken.clear();
        JournalContents contents;
        // Every twentieth cut goes through a file, as after a real crash.
        if (cut % 20 == 0) {
            writeFile(cutName, bytes.substr(0, cut));
            ASSERT_TRUE(READJOURNAL(cutName, contents, reason)) << reason;
        } else {
            PARSEJOURNAL(bytes.substr(0, cut), contents);
        }
        const std::size_t lines = linesIn(bytes.substr(0, cut));
        ASSERT_EQ(contents.records.size(), lines);
        ASSERT_EQ(contents.wholeBytes, bytes.rfind('\n', cut == 0 ? 0 : cut - 1) == std::string::npos
                                           ? 0
                                           : bytes.rfind('\n', cut - 1) + 1);
        JournalFile.clear();
        REPLAYJOURNAL(contents.records);
        ASSERT_TRUE(image() == snapshots[lines]);
    }
}

TEST_F(JournalTest, AnAppendAfterACutStartsOnItsOwnLine) {
    const std::string name = UTF8OF(tempDir() / "j.tables");
    std::string reason;
    ASSERT_TRUE(APPENDJOURNAL(name, {{"kind", "a"}}, reason)) << reason;
    ASSERT_TRUE(APPENDJOURNAL(name, {{"kind", "b"}}, reason)) << reason;
    const std::string whole = readFile(name);
    writeFile(name, whole.substr(0, whole.size() - 3)); // the power went during "b"
    ASSERT_TRUE(APPENDJOURNAL(name, {{"kind", "c"}}, reason)) << reason;
    EXPECT_EQ(readFile(name), "{\"kind\":\"a\"}\n{\"kind\":\"c\"}\n");

    // A damaged whole line is left out and counted; the lines around it stay.
    writeFile(name, "{\"kind\":\"a\"}\nnot json\n[1]\n{\"kind\":\"c\"}\n{\"kind\":");
    JournalContents contents;
    ASSERT_TRUE(READJOURNAL(name, contents, reason));
    EXPECT_EQ(contents.records.size(), 2u);
    EXPECT_EQ(contents.damagedLines, 2);

    // No journal yet is an empty one; a folder in its place cannot be read.
    ASSERT_TRUE(READJOURNAL(UTF8OF(tempDir() / "none.tables"), contents, reason));
    EXPECT_TRUE(contents.records.empty());
    std::filesystem::create_directory(tempDir() / "dir.tables");
    EXPECT_FALSE(APPENDJOURNAL(UTF8OF(tempDir() / "dir.tables"), {{"kind", "a"}}, reason));
    reason.clear();
    EXPECT_FALSE(READJOURNAL(UTF8OF(tempDir() / "dir.tables"), contents, reason));
    EXPECT_EQ(reason, std::strerror(EISDIR)) << "says what is in the way";
}

// Next week's evening saved under last week's name (a new tournament, or Save
// As over that file) starts with a journal of its own: last week's results are
// not put into it, its tables start at round 1 with new keys, and last week's
// journal is kept aside under a free name. A save of the same tournament keeps
// its journal where it is.
TEST_F(JournalTest, AnotherTournamentUnderTheNameGetsAJournalOfItsOwn) {
    std::string reason;
    for (int week : {1, 2, 3}) {
        openEvening(MOVE_MITCHELL, 10, 2);
        ASSERT_TRUE(STARTTABLES(reason)) << reason;
        const std::string key = Tables[0].token;
        EXPECT_EQ(Results(1, Tables[0].seats[0].entry), 0.0f) << "week " << week;
        EXPECT_EQ(Tables[0].round, 1) << "week " << week;
        for (int board : {1, 2}) {
            ASSERT_EQ(TABLEENTER(Tables[0], board, result("4S", 'N', 10, board)).status, 200);
            ASSERT_EQ(TABLEACCEPT(Tables[0], board, 1.0, "test").status, 200);
        }
        ASSERT_EQ(Tables[0].round, 2);
        ASSERT_TRUE(WRITENTRFILE()); // the same tournament saved again
        const std::string journal = JournalFile;
        EXPECT_EQ(linesIn(readFile(journal)), 3u) << "week " << week;
        for (int old = 1; old < week; ++old)
            EXPECT_EQ(linesIn(readFile(journal + "." + std::to_string(old))), 3u)
                << "week " << week << ", journal of week " << old;
        EXPECT_FALSE(std::filesystem::exists(UTF8PATH(journal + "." + std::to_string(week))));
        CLOSETOURNAMENT();
        RESETTABLES();
        TablesLog = [](const std::string& text) { TablesLogged.push_back(text); };
        if (week == 1) {
            // Opened again, it is the same evening: the journal stays with it.
            ASSERT_TRUE(OPENNTRFILE(journal.substr(0, journal.size() - 7)));
            ASSERT_TRUE(WRITENTRFILE());
            ASSERT_TRUE(STARTTABLES(reason)) << reason;
            EXPECT_EQ(Tables[0].token, key);
            EXPECT_EQ(Tables[0].round, 2);
            CLOSETOURNAMENT();
            RESETTABLES();
        }
    }
    EXPECT_TRUE(TablesLogged.empty());
}

// Another tournament saved under the file's name while its tables are scored
// (orla-cli new over it) sets the journal aside: the running tables store
// nothing more, so the new tournament's first start gets none of their results.
TEST_F(JournalTest, AJournalSetAsideWhileScoringIsNotWrittenAgain) {
    openEvening(MOVE_MITCHELL, 10, 2);
    std::string reason;
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    const std::string journal = JournalFile;
    ASSERT_TRUE(SETJOURNALASIDE(TournamentFile, reason)) << reason;
    ASSERT_EQ(TABLEENTER(Tables[0], 1, result("3N", 'N', 9, 1)).status, 200);
    const TableOutcome refused = TABLEACCEPT(Tables[0], 1, 1.0, "test");
    EXPECT_EQ(refused.status, 503);
    EXPECT_NE(refused.reason.find("was set aside"), std::string::npos) << refused.reason;
    EXPECT_EQ(Results(1, Tables[0].seats[0].entry), 0.0f);
    EXPECT_FALSE(std::filesystem::exists(UTF8PATH(journal)));
}

// A power cut after the journal got a result but before the tournament was
// saved: starting again puts the result back and saves it; the keys stay those of
// the printed cards; a result the director typed since is not overwritten.
// One program scores at the tables of a file at a time: while another holds
// them (a window, or orla-cli serve), a start is refused and writes nothing;
// once they are let go, it starts.
TEST_F(JournalTest, OneProgramAtATimeScoresAtTheTablesOfAFile) {
    openEvening(MOVE_MITCHELL, 10, 2);
    const std::string journal = JOURNALNAME(TournamentFile);
    std::string reason;
    bool busy = false;
    {
        FileLock other; // the other program's
        ASSERT_TRUE(LOCKFILE(journal, other, reason, &busy, 0)) << reason;
        EXPECT_FALSE(STARTTABLES(reason));
        EXPECT_NE(reason.find("is already running in another program"), std::string::npos) << reason;
        EXPECT_FALSE(std::filesystem::exists(UTF8PATH(journal))) << "nothing written";
    }
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    FileLock other;
    EXPECT_FALSE(LOCKFILE(journal, other, reason, &busy, 0));
    EXPECT_TRUE(busy) << "held while the tables are started";
    ASSERT_TRUE(STARTTABLES(reason)) << "started again by the same program: " << reason;
    RESETTABLES();
    EXPECT_TRUE(LOCKFILE(journal, other, reason, &busy, 0)) << reason;
}

TEST_F(JournalTest, StartingAgainBringsBackWhatTheFileMissed) {
    openEvening(MOVE_MITCHELL, 10, 2);
    const std::string before = readFile(TournamentFile);
    std::string reason;
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    std::vector<std::string> keys;
    for (const TableState& t : Tables) keys.push_back(t.token);
    const std::string director = DirectorToken;
    for (int board : {1, 2}) {
        ASSERT_EQ(TABLEENTER(Tables[0], board, result("4S", 'N', 10, board)).status, 200);
        ASSERT_EQ(TABLEACCEPT(Tables[0], board, 1.0, "test").status, 200);
    }
    ASSERT_EQ(TABLEENTER(Tables[1], 3, result("3N", 'S', 9, 3)).status, 200);
    ASSERT_EQ(TABLEACCEPT(Tables[1], 3, 1.0, "test").status, 200);
    const std::string file = TournamentFile;
    CLOSETOURNAMENT();
    RESETTABLES();
    TablesLog = [](const std::string& text) { TablesLogged.push_back(text); };
    writeFile(file, before); // the saves were lost

    // The director opens the file and types another result for board 3 first.
    ASSERT_TRUE(OPENNTRFILE(file));
    EXPECT_EQ(Results(1, 1), 0.0f);
    SEATTABLES();
    const int entryOf3 = Tables[1].seats[0].entry;
    Results(3, entryOf3) = 45.0f;
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    EXPECT_EQ(Results(1, Tables[0].seats[0].entry), 42.0f); // +420, none vulnerable
    EXPECT_EQ(Results(2, Tables[0].seats[0].entry), 62.0f); // +620, NS vulnerable
    EXPECT_EQ(Results(3, entryOf3), 45.0f);
    ASSERT_EQ(TablesLogged.size(), 1u);
    EXPECT_EQ(TablesLogged[0], "Board 3: the director's result stays over the one table 2 accepted.");
    EXPECT_EQ(Tables[0].round, 2);
    for (std::size_t i = 0; i < Tables.size(); ++i) EXPECT_EQ(Tables[i].token, keys[i]);
    EXPECT_EQ(DirectorToken, director);
    EXPECT_FALSE(Modified) << "the results put back are saved at once";

    // Saved: the file opened afresh has them.
    CLOSETOURNAMENT();
    RESETTABLES();
    ASSERT_TRUE(OPENNTRFILE(file));
    EXPECT_EQ(Results(1, 1), 42.0f);
}

// A custom table that gave a wrong NS pair gives its own before it accepts a
// board, also after a restart; the pair it took first is free for its table.
TEST_F(JournalTest, ACustomTableMendsAWrongNSPair) {
    openEvening(MOVE_MITCHELL, 10, 2);
    MovementType = MOVE_CUSTOM; // the Mitchell's schedule, as a movement file gives it
    ASSERT_TRUE(WRITENTRFILE());
    std::string reason;
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    ASSERT_EQ(TABLESTART(Tables[1], 3).status, 200); // table 2 gives pair 3 by mistake
    EXPECT_EQ(TABLESTART(Tables[2], 3).status, 409);
    ASSERT_EQ(TABLESTART(Tables[1], 2).status, 200);
    EXPECT_EQ(CURRENTSEAT(Tables[1])->ns, 2);
    ASSERT_EQ(TABLESTART(Tables[2], 3).status, 200);

    const std::string file = TournamentFile;
    CLOSETOURNAMENT();
    RESETTABLES();
    TablesLog = [](const std::string& text) { TablesLogged.push_back(text); };
    ASSERT_TRUE(OPENNTRFILE(file));
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    ASSERT_NE(CURRENTSEAT(Tables[1]), nullptr);
    ASSERT_NE(CURRENTSEAT(Tables[2]), nullptr);
    EXPECT_EQ(CURRENTSEAT(Tables[1])->ns, 2);
    EXPECT_EQ(CURRENTSEAT(Tables[2])->ns, 3);

    // Once it has accepted a board it keeps its pair, also when the director
    // clears that board again.
    const int board = FIRSTBOARD(CURRENTSEAT(Tables[1])->set);
    const int entry = CURRENTSEAT(Tables[1])->entry;
    ASSERT_EQ(TABLEENTER(Tables[1], board, result("3N", 'N', 9, board)).status, 200);
    ASSERT_EQ(TABLEACCEPT(Tables[1], board, 1.0, "test").status, 200);
    EXPECT_EQ(TABLESTART(Tables[1], 4).status, 409);
    const float stored = Results(board, entry);
    ASSERT_NE(stored, 0.0f);
    Results(board, entry) = 0.0f;
    ASSERT_TRUE(DIRECTORTYPED(board, entry, stored, 0.0f, reason)) << reason;
    EXPECT_EQ(TABLESTART(Tables[1], 4).status, 409);
    EXPECT_EQ(CURRENTSEAT(Tables[1])->ns, 2);
}

TEST_F(JournalTest, KeysAreLongRandomAndComparedWhole) {
    const std::string a = NEWTOKEN(), b = NEWTOKEN();
    EXPECT_EQ(a.size(), 32u); // 128 bits
    EXPECT_NE(a, b);
    EXPECT_EQ(a.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_TRUE(TOKENEQUAL(a, a));
    EXPECT_FALSE(TOKENEQUAL(b, a));
    EXPECT_FALSE(TOKENEQUAL(a.substr(0, 31), a));
    EXPECT_FALSE(TOKENEQUAL(a + "0", a));
    EXPECT_FALSE(TOKENEQUAL("", ""));
}

// The director changes, in the window, a result a table accepted: the journal
// says so, and a replay after a lost save keeps the director's value, however
// many times it changed, not the table's.
TEST_F(JournalTest, TheDirectorsChangeOverATablesResultIsJournaled) {
    openEvening(MOVE_MITCHELL, 10, 2);
    const std::string before = readFile(TournamentFile);
    std::string reason;
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    const int entry = Tables[0].seats[0].entry;
    ASSERT_EQ(TABLEENTER(Tables[0], 1, result("4S", 'N', 10, 1)).status, 200);
    ASSERT_EQ(TABLEACCEPT(Tables[0], 1, 1.0, "test").status, 200);
    ASSERT_EQ(Results(1, entry), 42.0f);
    const std::string journaled = readFile(JournalFile);

    // Typing where no table has accepted anything writes nothing.
    Results(2, entry) = 11.0f;
    ASSERT_TRUE(DIRECTORTYPED(2, entry, 0.0f, 11.0f, reason)) << reason;
    Results(1, entry + 1) = 11.0f;
    ASSERT_TRUE(DIRECTORTYPED(1, entry + 1, 0.0f, 11.0f, reason)) << reason;
    EXPECT_EQ(readFile(JournalFile), journaled);

    // The director types -62, then the inversion of it.
    for (const auto& [from, to] : {std::pair{42.0f, -62.0f}, std::pair{-62.0f, -1062.0f}}) {
        Results(1, entry) = to;
        ASSERT_TRUE(DIRECTORTYPED(1, entry, from, to, reason)) << reason;
    }
    JournalContents contents;
    ASSERT_TRUE(READJOURNAL(JournalFile, contents, reason)) << reason;
    ASSERT_GE(contents.records.size(), 2u);
    const nlohmann::json& last = contents.records.back();
    EXPECT_EQ(last["kind"], "director");
    EXPECT_EQ(last["board"], 1);
    EXPECT_EQ(last["entry"], entry);
    EXPECT_EQ(last["value"], -1062.0f);
    EXPECT_EQ(last["replaces"], -62.0f);
    EXPECT_EQ(last["tableValue"], 42.0f);
    EXPECT_EQ(contents.records[contents.records.size() - 2]["replaces"], 42.0f);

    // The saves were lost: the journal alone brings the director's value back.
    const std::string file = TournamentFile;
    CLOSETOURNAMENT();
    RESETTABLES();
    TablesLog = [](const std::string& text) { TablesLogged.push_back(text); };
    writeFile(file, before);
    ASSERT_TRUE(OPENNTRFILE(file));
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    EXPECT_EQ(Results(1, entry), -1062.0f);

    // The file saved with a later value still: that one stays.
    Results(1, entry) = 30.0f;
    ASSERT_TRUE(WRITENTRFILE());
    CLOSETOURNAMENT();
    RESETTABLES();
    ASSERT_TRUE(OPENNTRFILE(file));
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    EXPECT_EQ(Results(1, entry), 30.0f);
}

// The director changed the movement or its size and saved the evening under
// the same name (or another file was copied over it): the journal of the old
// seating is kept aside byte for byte, nothing of it reaches the new evening,
// its tables get new keys and the director is told to print the cards again.
// The same seating re-created replays as before, and so does a journal written
// before its keys kept the seating.
TEST_F(JournalTest, AJournalOfAnotherSeatingIsKeptAside) {
    struct Row {
        const char* what;
        int type, pairs, perRound;
        bool skip;
        int skipAfter; // 0: the default
        bool noShape;  // the keys record written before it kept the seating
        bool replayed;
    };
    const Row rows[] = {
        {"more pairs", MOVE_MITCHELL, 14, 2, true, 0, false, false},
        {"Howell", MOVE_HOWELL, 12, 2, false, 0, false, false},
        {"boards a round", MOVE_MITCHELL, 12, 3, true, 0, false, false},
        {"skip after another round", MOVE_MITCHELL, 12, 2, true, 2, false, false},
        {"the same seating again", MOVE_MITCHELL, 12, 2, true, 0, false, true},
        {"an old journal", MOVE_MITCHELL, 12, 2, true, 2, true, true},
    };
    std::string reason;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (TournamentOpen) CLOSETOURNAMENT();
        RESETTABLES();
        std::filesystem::remove_all(tempDir());
        std::filesystem::create_directories(tempDir());
        openEvening(MOVE_MITCHELL, 12, 2, true);
        const nlohmann::json before = TABLESHAPE();
        ASSERT_TRUE(STARTTABLES(reason)) << reason;
        const std::string journal = JournalFile;
        const std::string oldKey = Tables[0].token, oldDirector = DirectorToken;
        for (int board : {1, 2}) {
            ASSERT_EQ(TABLEENTER(Tables[0], board, result("4S", 'N', 10, board)).status, 200);
            ASSERT_EQ(TABLEACCEPT(Tables[0], board, 1.0, "test").status, 200);
        }
        if (row.noShape) {
            JournalContents contents;
            ASSERT_TRUE(READJOURNAL(journal, contents, reason)) << reason;
            std::string bytes;
            for (nlohmann::json& r : contents.records) {
                r.erase("shape");
                bytes += r.dump() + "\n";
            }
            writeFile(journal, bytes);
        }
        const std::string old = readFile(journal);
        RESETTABLES();
        TablesLog = [](const std::string& text) { TablesLogged.push_back(text); };
        TablesLogged.clear();

        // The evening of the other seating reaches the file with the journal
        // still beside it (a copy over the file, or a save that kept it).
        const std::string file = TournamentFile;
        CLOSETOURNAMENT();
        std::filesystem::rename(UTF8PATH(journal), tempDir() / "hidden");
        openEvening(row.type, row.pairs, row.perRound, row.skip);
        if (row.skipAfter > 0) {
            SkipAfterRound = static_cast<std::int16_t>(row.skipAfter);
            ASSERT_TRUE(CREATETOURNAMENT());
            ASSERT_TRUE(WRITENTRFILE());
        }
        CLOSETOURNAMENT();
        std::filesystem::rename(tempDir() / "hidden", UTF8PATH(journal));
        ASSERT_TRUE(OPENNTRFILE(file));
        ASSERT_EQ(readFile(journal), old);
        EXPECT_EQ(TABLESHAPE() == before, std::string(row.what) == "the same seating again");
        const std::vector<float> typed(Results.data(), Results.data() + Results.size());
        ASSERT_TRUE(STARTTABLES(reason)) << reason;
        const std::vector<float> now(Results.data(), Results.data() + Results.size());

        if (row.replayed) {
            EXPECT_FALSE(std::filesystem::exists(UTF8PATH(journal + ".1")));
            EXPECT_EQ(Tables[0].token, oldKey);
            EXPECT_EQ(DirectorToken, oldDirector);
            EXPECT_NE(now, typed) << "the journal's results are put back";
            EXPECT_TRUE(TablesLogged.empty());
            continue;
        }
        EXPECT_EQ(readFile(journal + ".1"), old);
        EXPECT_EQ(now, typed);
        EXPECT_EQ(Tables[0].round, 1);
        EXPECT_NE(Tables[0].token, oldKey);
        EXPECT_NE(DirectorToken, oldDirector);
        JournalContents fresh;
        ASSERT_TRUE(READJOURNAL(journal, fresh, reason)) << reason;
        ASSERT_EQ(fresh.records.size(), 1u);
        EXPECT_EQ(fresh.records[0]["kind"], "keys");
        EXPECT_EQ(fresh.records[0]["director"], DirectorToken);
        EXPECT_EQ(fresh.records[0]["shape"], TABLESHAPE());
        ASSERT_EQ(TablesLogged.size(), 1u);
        EXPECT_EQ(TablesLogged[0],
                  "The table scoring journal " + journal +
                      " was written for another seating of the tables (the movement or its "
                      "size changed since); it is kept as " + journal +
                      ".1 and the tables start afresh with new keys: print the table cards again.");

        // Started again, the new evening keeps its own journal and keys.
        const std::string key = Tables[0].token;
        RESETTABLES();
        ASSERT_TRUE(STARTTABLES(reason)) << reason;
        EXPECT_EQ(Tables[0].token, key);
        EXPECT_FALSE(std::filesystem::exists(UTF8PATH(journal + ".2")));
    }
    RESETTABLES();
    TablesLog = [](const std::string& text) { TablesLogged.push_back(text); };
}

// A journal of another seating that cannot be kept aside (no free name beside
// a file whose name is at the system's limit): scoring does not start, the
// journal and the tournament stay as they were.
TEST_F(JournalTest, AJournalThatCannotBeKeptAsideStopsTheStart) {
    openEvening(MOVE_MITCHELL, 10, 2);
    // "<name>.tables" takes the longest name the folder allows; ".tables.1" is too long.
    TournamentFile = UTF8OF(tempDir() / (std::string(244, 'e') + ".otr"));
    ASSERT_TRUE(WRITENTRFILE());
    std::string reason;
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    const std::string journal = JournalFile;
    ASSERT_EQ(TABLEENTER(Tables[0], 1, result("4S", 'N', 10, 1)).status, 200);
    ASSERT_EQ(TABLEACCEPT(Tables[0], 1, 1.0, "test").status, 200);
    const std::string old = readFile(journal);
    RESETTABLES();
    TablesLog = [](const std::string& text) { TablesLogged.push_back(text); };

    MovementType = MOVE_HOWELL;
    NumRounds = DEFAULTMOVEMENTSIZE(MOVE_HOWELL, 10, 2, false).rounds;
    NumBoards = DEFAULTMOVEMENTSIZE(MOVE_HOWELL, 10, 2, false).boards;
    ASSERT_TRUE(CREATETOURNAMENT());
    ASSERT_TRUE(WRITENTRFILE());
    const std::string file = readFile(TournamentFile);
    EXPECT_FALSE(STARTTABLES(reason));
    EXPECT_NE(reason.find("was written for another seating of the tables and could not be kept "
                          "aside: "),
              std::string::npos)
        << reason;
    EXPECT_NE(reason.find("Scoring at the tables has not started."), std::string::npos) << reason;
    EXPECT_EQ(readFile(journal), old);
    EXPECT_TRUE(readFile(TournamentFile) == file) << "the tournament file is as it was";
    for (int b = 1; b <= NumBoards; ++b)
        for (int i = 1; i <= NumRounds; ++i) EXPECT_EQ(Results(b, i), 0.0f);
    EXPECT_TRUE(TablesLogged.empty());
}

// A result or a change of the director's that the journal holds for a table,
// round, board and entry that do not sit together under the plan is left out of
// the replay: it would land on another pair's board.
TEST_F(JournalTest, ReplayLeavesOutWhatDoesNotFitTheSeat) {
    openEvening(MOVE_MITCHELL, 10, 2);
    std::string reason;
    ASSERT_TRUE(STARTTABLES(reason)) << reason;
    const int entry = Tables[0].seats[0].entry;
    ASSERT_EQ(TABLEENTER(Tables[0], 1, result("4S", 'N', 10, 1)).status, 200);
    ASSERT_EQ(TABLEACCEPT(Tables[0], 1, 1.0, "test").status, 200);
    Results(1, entry) = 11.0f;
    ASSERT_TRUE(DIRECTORTYPED(1, entry, 42.0f, 11.0f, reason)) << reason;
    JournalContents contents;
    ASSERT_TRUE(READJOURNAL(JournalFile, contents, reason)) << reason;
    ASSERT_EQ(contents.records.size(), 3u);
    ASSERT_EQ(contents.records[1]["kind"], "result");
    ASSERT_EQ(contents.records[2]["kind"], "director");
    JournalFile.clear();

    struct Row {
        const char* what;
        std::size_t record;
        const char* key;
        int value;
        float stored; // Results(1, entry) after the replay
    };
    const Row rows[] = {
        {"as written", 0, "", 0, 11.0f},
        {"result of another entry", 1, "entry", entry + 1, 0.0f},
        {"result of a round the table plays other boards", 1, "round", 2, 0.0f},
        {"result without its entry", 1, "entry", -1, 0.0f},
        {"change at a table that plays other boards", 2, "table", 2, 42.0f},
        {"change in another round", 2, "round", 2, 42.0f},
        {"change at a table that does not exist", 2, "table", 9, 42.0f},
        {"change of another entry", 2, "entry", entry + 1, 42.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<nlohmann::json> records = contents.records;
        if (*row.key != '\0') {
            if (row.value < 0)
                records[row.record].erase(row.key);
            else
                records[row.record][row.key] = row.value;
        }
        Results.fill(0.0f);
        SEATTABLES();
        DirectorToken.clear();
        REPLAYJOURNAL(records);
        EXPECT_EQ(Results(1, entry), row.stored);
        for (int b = 1; b <= NumBoards; ++b)
            for (int i = 1; i <= NumRounds; ++i)
                if (b != 1 || i != entry) {
                    EXPECT_EQ(Results(b, i), 0.0f) << b << ", " << i;
                }
    }
}

} // namespace

// A rated tournament opened from its file keeps the rating changes it was saved
// with until a result comes: a table's accepted result saves the file with the
// changes of a whole recalculation, not the ones it was opened with.
TEST_F(JournalTest, AnAcceptedResultSavesCurrentRatingChanges) {
    INSTALLRATING();
    for (const int mode : {-1, 1}) {
        SCOPED_TRACE(mode);
        openEvening(MOVE_MITCHELL, 10, 2);
        RatingMode = mode;
        for (int p = 1; p <= NumPairs; ++p)
            for (int k = 1; k <= 2; ++k) PlayerRating(p, k) = 100 * p + 10 * k;
        ASSERT_TRUE(WRITENTRFILE());
        const std::string file = TournamentFile;
        CLOSETOURNAMENT();
        ASSERT_TRUE(OPENNTRFILE(file));
        ASSERT_TRUE(NeedsRecalc);
        FileRatingChanges opened;
        ASSERT_TRUE(READRATINGCHANGES(file, opened));

        std::string reason;
        ASSERT_TRUE(STARTTABLES(reason)) << reason;
        ASSERT_EQ(TABLEENTER(Tables[0], 1, result("6N", 'N', 13, 1)).status, 200);
        ASSERT_EQ(TABLEACCEPT(Tables[0], 1, 1.0, "test").status, 200);
        FileRatingChanges saved;
        ASSERT_TRUE(READRATINGCHANGES(file, saved));

        // What a whole recalculation of the same tournament gives.
        RECALCULATENOW(RatingMode, ISTRUE(HighRated));
        const std::vector<float> current(RatingChange.data(),
                                         RatingChange.data() + RatingChange.size());
        ASSERT_EQ(saved.changes.size(), current.size());
        EXPECT_EQ(saved.changes, current);
        EXPECT_NE(saved.changes, opened.changes) << "the result changes the ratings";
        CLOSETOURNAMENT();
        RESETTABLES();
        TablesLog = [](const std::string& text) { TablesLogged.push_back(text); };
    }
}
