#pragma once
// The deals of the boards: which hand holds each of the 52 cards (HandCards), the
// text of a suit as the Hand Diagram dialog shows it, the key filter of its suit
// fields, completing the last hand, and the deals in PBN.
//
// Numbering, shared with the tournament file:
//   hand 1 North, 2 West, 3 East, 4 South (the order of the dialog's groups);
//   suit 1 clubs, 2 diamonds, 3 hearts, 4 spades;
//   rank 1..13 for 2, 3, ..., 9, T, J, Q, K, A;
//   card k = 13 x (suit - 1) + rank.
// The dialog's suit field f (1000..1015) belongs to hand (f - 1000) / 4 + 1 and
// shows row (f - 1000) mod 4 + 1 of it, spades in row 1 down to clubs in row 4.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int HAND_NORTH = 1, HAND_WEST = 2, HAND_EAST = 3, HAND_SOUTH = 4;
constexpr int FirstSuitField = 1000, LastSuitField = 1015;

// The rank characters, rank r is character r.
extern const char* const RankLetters; // "23456789TJQKA"

constexpr int CARDNUMBER(int suit, int rank) { return 13 * (suit - 1) + rank; }
constexpr int SUITOFCARD(int card) { return (card - 1) / 13 + 1; }
constexpr int RANKOFCARD(int card) { return (card - 1) % 13 + 1; }
constexpr bool ISSUITFIELD(int f) { return f >= FirstSuitField && f <= LastSuitField; }
constexpr int HANDOFFIELD(int f) { return (f - FirstSuitField) / 4 + 1; }
constexpr int SUITOFFIELD(int f) { return 4 - (f - FirstSuitField) % 4; }
constexpr int SUITFIELD(int hand, int suit) { return FirstSuitField + 4 * (hand - 1) + (4 - suit); }

// The rank a character stands for in a suit field: "2".."9" themselves, A/a/1 an
// ace, K/k// a king, Q/q/* a queen, J/j/- a jack, T/t/+/0 a ten; 0 for any other.
int KEYRANK(char32_t c);

// What the suit fields' key filter does with one typed or pasted character.
enum HandKeyAction {
    HANDKEY_DROP = 0,   // not a card: dropped silently
    HANDKEY_PASS = 1,   // Backspace, Ctrl+C, Ctrl+V, Ctrl+X: the field handles it
    HANDKEY_ACCEPT = 2, // a card that is free: the field receives `letter`
    HANDKEY_REFUSE = 3  // a card held already, or the hand full: beep
};
struct HandKeyDecision {
    HandKeyAction action = HANDKEY_DROP;
    char letter = 0; // the canonical rank letter of an accepted card
};
constexpr char32_t KEY_BACKSPACE = 8, KEY_CTRLC = 3, KEY_CTRLV = 22, KEY_CTRLX = 24;
// The filter's decision on board b for character c typed into suit field f.
// Reads HandCards.
HandKeyDecision HANDKEYFILTER(int board, int f, char32_t c);

// Number of cards hand h holds on board b.
int HANDCOUNT(int board, int hand);

// For suit field f and rank r on board b: 1 when the hand of f holds 13 cards
// already, otherwise the hand that holds the card (0 when it is free).
int GETCARDSHAND(int board, int f, int rank);

// Stores the text of suit field f as the cards of that suit held by the field's
// hand on board b: the hand's cards of the suit are cleared, then every rank letter
// of the text is given to the hand. A card that another hand holds stays with that
// hand, and no hand takes a 14th card. Returns true when the suit changed.
bool PARSEHANDTEXT(int board, int f, const std::string& text);

// The ranks of one suit held by a hand, ace first, blank padded to 13 characters.
std::string GETHANDSTRING(int board, int hand, int suit);
// The same without the padding ("" for a void).
std::string SUITTEXT(int board, int hand, int suit);
// The ranks of a suit that no hand holds yet, ace first.
std::string DECKTEXT(int board, int suit);

// The hand that "Complete" would fill: the only hand with fewer than 13 cards when
// the other three hold 13 each; 0 otherwise.
int CANCOMPLETE(int board);
// Gives every undealt card of board b to the hand CANCOMPLETE finds; returns that
// hand, 0 (nothing changed) when there is none.
int COMPLETEHAND(int board);

// True when every card of board b is dealt and each hand holds 13.
bool DEALCOMPLETE(int board);

// A deal as 52 hand numbers, card k at index k - 1.
using Deal = std::array<std::int8_t, 52>;
Deal BOARDDEAL(int board);

// ---- PBN -----------------------------------------------------------------------

// A deal as the value of a PBN Deal tag, "N:" and the hands clockwise from North,
// each "spades.hearts.diamonds.clubs". The deal must be complete.
std::string PBNDEALTEXT(const Deal& deal);

// One deal read from a PBN file.
struct PbnDeal {
    int board = 0;
    int line = 0; // line of the Deal tag
    Deal cards{};
};

// Reads the Board and Deal tags of every game of a PBN file. A deal must hold 52
// different cards, 13 in each hand. Returns false with `error` naming the line and
// the fault ("Line 12: ..."), and `deals` empty, for a malformed file.
bool READPBNDEALS(const std::string& text, std::vector<PbnDeal>& deals, std::string& error);

// The complete deals of the open tournament as a PBN 2.1 file: one game per board
// with Event, Site, Date, Board, Dealer, Vulnerable and Deal. `count` is set to the
// number of boards written.
std::string PBNHANDSEXPORT(int& count);

// Puts the deals of a PBN file into the open tournament. Every deal is checked
// first: a malformed file, a deal that is not 52 different cards or a file with no
// deal of the tournament's boards leaves everything as it was and returns false
// with `error` ("Line 12: ..."). Deals of boards beyond the tournament's are left
// out and counted in `leftOut`. Otherwise turns the hand diagrams on when they were
// off, replaces the deals of the boards the file holds, marks the tournament
// modified and returns true with `count` the boards read.
bool IMPORTPBNHANDS(const std::string& text, int& count, int& leftOut, std::string& error);
// "9 deals of boards beyond 27 left out", or "" when none were.
std::string PBNLEFTOUTTEXT(int leftOut);
