#pragma once
// The journal of table scoring, "<tournament file>.tables" beside the tournament:
// one JSON object a line, each line flushed to the disk before the table is told
// that its result is stored. It holds what the tournament file has no place for
// (contract, declarer, tricks, lead, table, time, device), the tables' rounds and
// their keys, and is read back whenever scoring at the tables starts on the file.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// The journal's name for the tournament file `tournamentFile` (UTF-8).
std::string JOURNALNAME(const std::string& tournamentFile);

// What READJOURNAL found.
struct JournalContents {
    std::vector<nlohmann::json> records; // the whole lines, in order
    std::size_t wholeBytes = 0;          // bytes up to the end of the last whole line
    int damagedLines = 0;                // whole lines that are not a JSON object
};

// Reads the journal `name`. Only whole lines count: a last line without its line
// end (a write that a crash or power cut stopped) is left out, and so is a whole
// line that is not a JSON object (counted). A missing journal is an empty one.
// False, with `reason`, when the file exists but cannot be read.
bool READJOURNAL(const std::string& name, JournalContents& out, std::string& reason);

// The same over the bytes of a journal.
void PARSEJOURNAL(const std::string& bytes, JournalContents& out);

// Appends `record` as one line to the journal `name` (created, readable by its
// owner only, when missing) and waits until it is on the disk. A cut-short last
// line is first cut away, so the new line never joins it. False, with `reason`,
// when the line cannot be written whole; the journal then ends as before.
bool APPENDJOURNAL(const std::string& name, const nlohmann::json& record, std::string& reason);
