#pragma once
// Custom movements: the pair identifiers of the custom movement editor, reading a
// typed identifier back, and the movement file (".ocm") that keeps a movement.
//
// The movement file holds little-endian 32-bit integers and nothing else: R (the
// rounds), S (the board sets), SetEntries(1..S), then Movement(s, i, k) with s
// varying fastest, then i = 1..R, then k = 1 (NS), 2 (EW).

#include "core/tournament.h"

#include <cstdint>
#include <string>
#include <vector>

// How pairs of a custom movement are shown: as line numbers with a direction
// letter, in one or two sections, and how many pairs the first section holds
// (0: not set, taken as all of them).
extern Logical NsEwFormat;
extern Logical TwoSections;
extern std::int32_t SectionOnePairs;

// Puts the three back to their program-start values (plain numbers).
void RESETCUSTOMMOVEMENT();

// The identifier of `pair` as a text of at least 4 characters, blank-filled on
// the right. Plain: the number right-aligned in 4. NS/EW format, one section:
// "N" and the number right-aligned in 2 for pairs 1..NumPairs div 2, else "E"
// and the pair less NumPairs div 2 ("E 2" for pair 9 of 14). Two sections of
// SectionOnePairs and NumPairs - SectionOnePairs pairs: the section digit, the
// letter and the number within the line of the section ("2N 1" for pair 9 of
// 8 + 6). A line of 100 or more pairs has its numbers in three digits ("N  7",
// "N100"), so that no two pairs share an identifier.
std::string GETPAIRID(int pair);

// A pair as the views show it: in a custom movement its identifier without the
// padding ("E 2"), in the others its number.
std::string PAIRTEXT(int pair);

// Reads a typed identifier back into a pair number, in the form GETPAIRID writes
// under the current settings (blanks around and lower case accepted). Returns -1
// for a text that is no identifier: another first letter, a section digit other
// than 1 or 2, a missing or unreadable number, or 0 after a letter. The number
// is not checked against NumPairs: the caller refuses what lies outside.
int READPAIRID(const std::string& text);

// What a form of identifier looks like under the current settings, for messages:
// "a number", "N1..N7 or E1..E7", "1N1..1N4, 1E1..1E4, 2N1..2N3 or 2E1..2E3".
std::string PAIRIDFORMS();

// A custom movement as a movement file holds it.
struct StoredMovement {
    int rounds = 0, sets = 0;
    std::vector<std::int32_t> entries; // SetEntries(1..sets)
    std::vector<std::int32_t> pairs;   // (s, i, k), s fastest
    int pair(int s, int i, int k) const {
        return pairs[static_cast<std::size_t>((s - 1) + sets * ((i - 1) + rounds * (k - 1)))];
    }
};

// The three messages of the movement file, each shown under the title "Error".
extern const char* const MovementReadError;   // "Error reading file."
extern const char* const MovementWriteError;  // "Error writing file."
extern const char* const MovementIncompatible;

// The most rounds and board sets a movement file may name.
constexpr int MaxMovementCount = 999;

// Reads a movement file image. False when it is damaged: shorter than its counts
// say or longer, rounds or sets outside 1..MaxMovementCount, an entry count
// outside 0..rounds, or a pair number outside 0..maxPair.
bool DECODEMOVEMENTFILE(const std::string& bytes, int maxPair, StoredMovement& out);

// The movement file image of Movement and SetEntries for NumRounds rounds and
// NumBoardSets sets (elements the arrays do not hold are written as 0).
std::string ENCODEMOVEMENTFILE();

// Reads the movement file `name` (UTF-8) whole, refusing one of more bytes than
// any movement file has. False when it cannot be read.
bool READMOVEMENTBYTES(const std::string& name, std::string& bytes);

// Results of LOADMOVEMENTFILE.
enum MovementLoad { MOVEMENT_LOADED = 0, MOVEMENT_UNREADABLE = 1, MOVEMENT_MISMATCH = 2 };

// Loads the movement file `name` into Movement and SetEntries, which must be
// allocated for NumBoardSets sets of NumRounds entries. Only a whole, sound file
// of exactly NumRounds rounds and NumBoardSets sets whose pairs lie within
// 0..NumPairs is taken; otherwise nothing changes and the result says why
// (MOVEMENT_MISMATCH for other counts, MOVEMENT_UNREADABLE for the rest).
int LOADMOVEMENTFILE(const std::string& name);

// Writes the movement file `name` through a temporary file, so that a failed
// save leaves any previous file whole. False, with `reason`, when it fails.
bool SAVEMOVEMENTFILE(const std::string& name, std::string& reason);
