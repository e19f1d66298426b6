#pragma once
// A small open tournament for the hand tests, and deals to put into it.
#include "core/tournament.h"
#include "hands/hands.h"
#include "support/testsupport.h"

#include <algorithm>
#include <random>

class HandsTest : public OrlaTest {
protected:
    // Opens a tournament of `boards` boards, with or without hand diagrams.
    void open(int boards, bool hands = true) {
        DEFAULTHEADER();
        NumPairs = 8;
        NumBoards = boards;
        BoardsPerRound = 2;
        NumRounds = boards / 2;
        NumBoardSets = boards / 2;
        HasHands = TOLOGICAL(hands);
        ASSERT_TRUE(INITTOURNAMENT());
        SETSAVE(false);
    }
    // Deals board b at random from `seed`.
    static void deal(int board, unsigned seed) {
        std::vector<int> cards(52);
        for (int k = 0; k < 52; ++k) cards[k] = k + 1;
        std::mt19937 rng(seed);
        std::shuffle(cards.begin(), cards.end(), rng);
        for (int i = 0; i < 52; ++i) HandCards(cards[i], board) = static_cast<std::int8_t>(i / 13 + 1);
    }
    // Types `keys` into suit field f as the key filter would: returns the field's
    // text and how many keys were refused.
    static std::string type(int board, int f, const std::string& keys, int& refused) {
        std::string text = SUITTEXT(board, HANDOFFIELD(f), SUITOFFIELD(f));
        refused = 0;
        for (const char c : keys) {
            const HandKeyDecision d = HANDKEYFILTER(board, f, static_cast<unsigned char>(c));
            if (d.action == HANDKEY_REFUSE) ++refused;
            if (d.action != HANDKEY_ACCEPT) continue;
            text += d.letter;
            PARSEHANDTEXT(board, f, text);
        }
        return text;
    }
};
