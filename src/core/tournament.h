#pragma once
// The one open tournament: its settings record, the counts derived from it, the
// arrays sized by it and the flags that describe the user-interface state.
// Every layer reads and writes these variables directly.

#include "core/array.h"

#include <cstdint>
#include <string>

// A 32-bit logical: true is stored as -1, false as 0, and only the lowest bit counts.
using Logical = std::int32_t;
constexpr Logical LTRUE = -1;
constexpr Logical LFALSE = 0;
constexpr bool ISTRUE(Logical v) { return (v & 1) != 0; }
constexpr Logical TOLOGICAL(bool b) { return b ? LTRUE : LFALSE; }

// Calculation methods (`CalcType`) and movement types (`MovementType`).
enum : std::int32_t { CALC_MATCHPOINTS = 1, CALC_IMPS = 2, CALC_CALCUTTA = 3 };
enum : std::int32_t { MOVE_MITCHELL = 1, MOVE_BERGER = 2, MOVE_HOWELL = 3, MOVE_CUSTOM = 4 };

// The texts of the two lists, 1-based by `MovementType` and `CalcType`.
extern const char* const MovementNames[5];
extern const char* const CalcNames[4];

constexpr int NameLength = 32;             // a player's name, blank padded
constexpr int TournamentNameLength = 64;   // the tournament's name, blank padded

// The settings record, stored as one 124-byte block in the tournament file
// (little-endian, no padding).
struct TournamentHeader {
    char TournamentName[TournamentNameLength];
    std::int32_t CalcType;
    std::int32_t MovementType;
    std::int32_t NumPairs;
    std::int32_t NumBoards;
    std::int32_t NumRounds;
    std::int32_t BoardsPerRound;
    Logical SkipOn;
    Logical SkipBoards;
    std::int32_t RatingMode; // 0 none, -1 rating, 1 masters
    Logical HighRated;
    Logical OrderAsPlayed;
    Logical UseNeuberg;
    Logical HasHands;
    std::int16_t SkipAfterRound;
    char Reserved[6];
};
static_assert(sizeof(TournamentHeader) == 124, "the header is a 124-byte file block");

// A player's name: 32 single-byte characters (Windows-1250), blank padded.
struct PlayerName {
    char c[NameLength];
};
static_assert(sizeof(PlayerName) == NameLength);

extern TournamentHeader Header;

// The header's fields under their own names.
inline std::int32_t& CalcType = Header.CalcType;
inline std::int32_t& MovementType = Header.MovementType;
inline std::int32_t& NumPairs = Header.NumPairs;
inline std::int32_t& NumBoards = Header.NumBoards;
inline std::int32_t& NumRounds = Header.NumRounds;
inline std::int32_t& BoardsPerRound = Header.BoardsPerRound;
inline Logical& SkipOn = Header.SkipOn;
inline Logical& SkipBoards = Header.SkipBoards;
inline std::int32_t& RatingMode = Header.RatingMode;
inline Logical& HighRated = Header.HighRated;
inline Logical& OrderAsPlayed = Header.OrderAsPlayed;
inline Logical& UseNeuberg = Header.UseNeuberg;
inline Logical& HasHands = Header.HasHands;
inline std::int16_t& SkipAfterRound = Header.SkipAfterRound;

// Derived counts.
extern std::int32_t NumBoardSets;       // NumBoards / BoardsPerRound
extern std::int32_t NumTables;          // NumPairs / 2, set by the movement
extern std::int32_t TournamentStrength; // mean player rating

// Arrays sized by the header (1-based, column-major).
extern Array<float, 2> Results;          // (board, entry)
extern Array<float, 3> BoardPoints;      // (board, entry, side)
extern Array<float, 3> BoardPercent;     // (board, entry, side)
extern Array<float, 3> MatchPoints;      // (set, entry, side)
extern Array<float, 3> MatchVP;          // (set, entry, side)
extern Array<std::int32_t, 3> Movement;  // (set, entry, side): pair number, 0 = nobody
extern Array<std::int32_t, 1> SetEntries; // (set)
extern Array<float, 1> PairTotal;        // (pair)
extern Array<float, 1> PairPercent;      // (pair)
extern Array<float, 1> PairImpPerBoard;  // (pair)
extern Array<float, 1> PairPenalty;      // (pair)
extern Array<PlayerName, 2> PlayerNames; // (pair, player)
extern Array<std::int32_t, 2> PlayerRating; // (pair, player)
extern Array<float, 2> RatingChange;     // (pair, player)
extern Array<Logical, 1> BoardValid;     // (board)
extern Array<std::int8_t, 2> HandCards;  // (card 1..52, board)
extern Array<std::int32_t, 1> PlacementOrder; // pair numbers in ranking order

// User-interface state of the open tournament.
extern bool TournamentOpen;
extern bool Modified;
extern bool HasFileName;
extern bool NeedsRecalc;
extern std::string TournamentFile;      // full path (UTF-8)
extern std::string TournamentFileTitle; // file-name part shown in the title
extern std::int32_t ViewMode;           // 1 pairs, 2 board lists, 3 frequency, 4 personal
extern std::int32_t SortByPlacement;    // 0 by lines, 1 by placement
extern std::int32_t VisibleRows;
extern std::int32_t VisiblePairRows;
extern std::int32_t EditEntry;
extern std::int32_t EditPair;
extern std::int32_t EditPlayer;

// Allocates and initialises every array for the current header and NumBoardSets,
// builds the entry windows (through the hooks) and marks the tournament open. A
// custom Movement/SetEntries allocated before the call survives it. Returns false,
// with every array released and a message shown, when a count (pairs, boards,
// rounds, board sets) is not positive or the memory cannot be had.
bool INITTOURNAMENT();

// Releases every array (custom movement included), destroys the entry windows,
// grays the tournament commands and redraws.
void CLOSETOURNAMENT();

// Sets or clears the modified flag and shows the window title: "ORLA - name",
// with "*" after it while there are unsaved changes.
void SETSAVE(bool flag);

// Sets TournamentStrength to the mean of PlayerRating over all players.
void SETTOURNAMENTSTRENGTH();

// Puts the whole tournament state back to its program-start values (no tournament,
// default header, PlacementOrder empty). Tests call it before each case.
void RESETTOURNAMENTSTATE();

// Sets the header to the values a new tournament starts from.
void DEFAULTHEADER();

// Blank-padded copy of `text` into a fixed field, and the field back without its
// trailing blanks.
void SETFIELD(char* field, int length, const std::string& text);
std::string FIELDTEXT(const char* field, int length);
