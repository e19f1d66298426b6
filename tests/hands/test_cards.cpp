// The cards of a board as the suit fields see them: the key filter, storing a
// suit, completing the last hand, the text of a suit.
#include "hands/handstest.h"

namespace {

const int NorthSpades = SUITFIELD(HAND_NORTH, 4), NorthHearts = SUITFIELD(HAND_NORTH, 3);
const int WestSpades = SUITFIELD(HAND_WEST, 4), SouthClubs = SUITFIELD(HAND_SOUTH, 1);

TEST_F(HandsTest, FieldsMapToHandsAndSuitsAsTheDialogLaysThemOut) {
    EXPECT_EQ(NorthSpades, 1000);
    EXPECT_EQ(SUITFIELD(HAND_NORTH, 1), 1003);
    EXPECT_EQ(WestSpades, 1004);
    EXPECT_EQ(SUITFIELD(HAND_EAST, 2), 1010);
    EXPECT_EQ(SouthClubs, 1015);
    for (int f = 1000; f <= 1015; ++f) EXPECT_EQ(SUITFIELD(HANDOFFIELD(f), SUITOFFIELD(f)), f);
    EXPECT_EQ(CARDNUMBER(4, 13), 52); // ace of spades
    EXPECT_EQ(CARDNUMBER(1, 1), 1);   // two of clubs
}

TEST_F(HandsTest, KeyFilterTypesTheCanonicalLetterOfEveryKey) {
    open(4);
    struct Row {
        char key;
        HandKeyAction action;
        char letter;
    };
    const Row rows[] = {
        {'1', HANDKEY_ACCEPT, 'A'}, {'a', HANDKEY_ACCEPT, 'A'}, {'A', HANDKEY_ACCEPT, 'A'},
        {'/', HANDKEY_ACCEPT, 'K'}, {'k', HANDKEY_ACCEPT, 'K'}, {'*', HANDKEY_ACCEPT, 'Q'},
        {'q', HANDKEY_ACCEPT, 'Q'}, {'-', HANDKEY_ACCEPT, 'J'}, {'j', HANDKEY_ACCEPT, 'J'},
        {'0', HANDKEY_ACCEPT, 'T'}, {'+', HANDKEY_ACCEPT, 'T'}, {'t', HANDKEY_ACCEPT, 'T'},
        {'9', HANDKEY_ACCEPT, '9'}, {'2', HANDKEY_ACCEPT, '2'}, {'x', HANDKEY_DROP, 0},
        {'B', HANDKEY_DROP, 0},     {' ', HANDKEY_DROP, 0},     {'\b', HANDKEY_PASS, 0},
        {'\x03', HANDKEY_PASS, 0},  {'\x16', HANDKEY_PASS, 0},  {'\x18', HANDKEY_PASS, 0},
    };
    for (const Row& r : rows) {
        const HandKeyDecision d = HANDKEYFILTER(1, NorthSpades, static_cast<unsigned char>(r.key));
        EXPECT_EQ(d.action, r.action) << "key " << r.key;
        EXPECT_EQ(d.letter, r.letter) << "key " << r.key;
    }
    int refused = 0;
    EXPECT_EQ(type(1, NorthSpades, "1/*-0", refused), "AKQJT");
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(HandCards(CARDNUMBER(4, 13), 1), HAND_NORTH);
    EXPECT_EQ(HandCards(CARDNUMBER(4, 9), 1), HAND_NORTH);
}

TEST_F(HandsTest, HeldCardAndFourteenthCardAreRefusedAndChangeNothing) {
    open(4);
    int refused = 0;
    type(1, NorthSpades, "AKQ", refused);
    const Deal before = BOARDDEAL(1);
    // The ace of spades is North's: West may not have it, nor North again.
    EXPECT_EQ(type(1, WestSpades, "A", refused), "");
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(type(1, NorthSpades, "1", refused), "AKQ");
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(BOARDDEAL(1), before);
    // Thirteen cards, then the fourteenth of another suit.
    type(1, NorthSpades, "JT98765432", refused);
    EXPECT_EQ(HANDCOUNT(1, HAND_NORTH), 13);
    EXPECT_EQ(type(1, NorthHearts, "A", refused), "");
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(HandCards(CARDNUMBER(3, 13), 1), 0);
    EXPECT_EQ(GETCARDSHAND(1, NorthHearts, 13), 1);
    EXPECT_EQ(GETCARDSHAND(1, WestSpades, 12), HAND_NORTH);
    EXPECT_EQ(GETCARDSHAND(1, SUITFIELD(HAND_WEST, 3), 13), 0); // the ace of hearts is free
}

TEST_F(HandsTest, StoringASuitReplacesItAndClearingItReturnsTheCardsToTheDeck) {
    open(4);
    EXPECT_TRUE(PARSEHANDTEXT(2, NorthSpades, "AQT2"));
    EXPECT_EQ(DECKTEXT(2, 4), "KJ9876543");
    EXPECT_FALSE(PARSEHANDTEXT(2, NorthSpades, "AQT2  ")); // the same cards: no change
    EXPECT_TRUE(PARSEHANDTEXT(2, NorthSpades, "AK"));
    EXPECT_EQ(SUITTEXT(2, HAND_NORTH, 4), "AK");
    EXPECT_EQ(DECKTEXT(2, 4), "QJT98765432");
    EXPECT_TRUE(PARSEHANDTEXT(2, NorthSpades, ""));
    for (int r = 1; r <= 13; ++r) EXPECT_EQ(HandCards(CARDNUMBER(4, r), 2), 0);
    EXPECT_EQ(DECKTEXT(2, 4), "AKQJT98765432");
    // Other boards and suits are not touched.
    EXPECT_EQ(HANDCOUNT(1, HAND_NORTH), 0);
}

TEST_F(HandsTest, StoringNeverTakesAnotherHandsCardNorAFourteenth) {
    open(4);
    PARSEHANDTEXT(1, WestSpades, "A");
    EXPECT_TRUE(PARSEHANDTEXT(1, NorthSpades, "AK"));
    EXPECT_EQ(HandCards(CARDNUMBER(4, 13), 1), HAND_WEST);
    EXPECT_EQ(HandCards(CARDNUMBER(4, 12), 1), HAND_NORTH);
    PARSEHANDTEXT(1, NorthHearts, "AKQJT98765432");
    EXPECT_EQ(HANDCOUNT(1, HAND_NORTH), 13);
    EXPECT_EQ(SUITTEXT(1, HAND_NORTH, 3), "AKQJT9876543");
}

TEST_F(HandsTest, CompleteDealsTheRestToTheOnlyIncompleteHand) {
    open(4);
    deal(3, 7);
    const Deal full = BOARDDEAL(3);
    EXPECT_TRUE(DEALCOMPLETE(3));
    EXPECT_EQ(CANCOMPLETE(3), 0); // nothing to complete
    for (int k = 1; k <= 52; ++k)
        if (HandCards(k, 3) == HAND_EAST) HandCards(k, 3) = 0;
    // Take two of South's cards away as well: two incomplete hands, no choice made.
    int taken = 0;
    for (int k = 1; k <= 52 && taken < 2; ++k)
        if (HandCards(k, 3) == HAND_SOUTH) HandCards(k, 3) = 0, ++taken;
    EXPECT_EQ(CANCOMPLETE(3), 0);
    EXPECT_EQ(COMPLETEHAND(3), 0);
    for (int k = 1; k <= 52; ++k)
        if (full[k - 1] == HAND_SOUTH) HandCards(k, 3) = HAND_SOUTH;
    EXPECT_EQ(CANCOMPLETE(3), HAND_EAST);
    EXPECT_EQ(COMPLETEHAND(3), HAND_EAST);
    EXPECT_EQ(BOARDDEAL(3), full);
    EXPECT_TRUE(DEALCOMPLETE(3));
}

TEST_F(HandsTest, HandStringListsRanksFromTheAceDownPaddedToThirteen) {
    open(4);
    PARSEHANDTEXT(1, SouthClubs, "2TQA");
    EXPECT_EQ(GETHANDSTRING(1, HAND_SOUTH, 1), "AQT2         ");
    EXPECT_EQ(GETHANDSTRING(1, HAND_SOUTH, 2), std::string(13, ' '));
    PARSEHANDTEXT(1, NorthSpades, "23456789TJQKA");
    EXPECT_EQ(GETHANDSTRING(1, HAND_NORTH, 4), "AKQJT98765432");
    // Outside the tournament: an empty suit, no crash.
    EXPECT_EQ(GETHANDSTRING(99, HAND_NORTH, 4), std::string(13, ' '));
    EXPECT_EQ(GETCARDSHAND(99, NorthSpades, 13), 1);
    EXPECT_FALSE(PARSEHANDTEXT(99, NorthSpades, "A"));
}

} // namespace
