#pragma once
// The score of a contract: what a table enters (contract, declarer, tricks) gives
// the NS score by the duplicate scoring table, vulnerability from the board number.

#include <string>

// A contract: level 1..7 (0: passed out), strain 0 clubs, 1 diamonds, 2 hearts,
// 3 spades, 4 notrump, doubling 0 none, 1 doubled, 2 redoubled.
struct Contract {
    int level = 0, strain = 0, doubling = 0;
};

// Reads a contract written as the tables send it: "PASS", or the level, the
// strain letter (C, D, H, S, N; "NT" too) and "X" or "XX" ("4SX", "3N", "7NTXX").
// Upper case only, no blanks. False for anything else.
bool PARSECONTRACT(const std::string& text, Contract& out);

// The contract in that form ("4SX", "3N", "PASS").
std::string CONTRACTTEXT(const Contract& c);

// The declarer's points for `tricks` (0..13) taken: positive when the contract is
// made, negative when it goes down; 0 for a passed-out board.
int CONTRACTPOINTS(const Contract& c, int tricks, bool vulnerable);

// Whether the side of `declarer` ('N', 'E', 'S', 'W') is vulnerable on `board`.
bool DECLARERVULNERABLE(char declarer, int board);

// The NS score of board `board`, in units of 10 points as the result entry
// stores it: the declarer's points, negated when EW declared; 0 when passed out.
int TABLESCORE(const Contract& c, char declarer, int tricks, int board);
