// Hand records in PBN: a whole set written and read back, a file as a dealing
// program writes it, and the files that must be refused with nothing changed.
#include "hands/handstest.h"

namespace {

TEST_F(HandsTest, ThirtyTwoBoardsRoundTripThroughPbn) {
    open(32);
    for (int b = 1; b <= 32; ++b) deal(b, 1000u + static_cast<unsigned>(b));
    SETFIELD(Header.TournamentName, TournamentNameLength, "Club \"Pairs\"");
    Array<std::int8_t, 2> dealt = HandCards;
    int count = 0;
    const std::string pbn = PBNHANDSEXPORT(count);
    EXPECT_EQ(count, 32);
    EXPECT_NE(pbn.find("[Event \"Club \\\"Pairs\\\"\"]"), std::string::npos);
    EXPECT_NE(pbn.find("[Board \"6\"]\n[Dealer \"E\"]\n[Vulnerable \"EW\"]\n[Deal \"N:"), std::string::npos);

    // Into a tournament without hand diagrams: they are turned on.
    RESETTOURNAMENTSTATE();
    open(32, false);
    static bool menuHands;
    menuHands = false;
    Ui.tournamentMenus = [](bool, bool h) { menuHands = h; };
    SETFIELD(Header.TournamentName, TournamentNameLength, "Club \"Pairs\"");
    std::string error;
    int leftOut = -1;
    ASSERT_TRUE(IMPORTPBNHANDS(pbn, count, leftOut, error)) << error;
    EXPECT_EQ(count, 32);
    EXPECT_EQ(leftOut, 0);
    EXPECT_TRUE(ISTRUE(HasHands));
    EXPECT_TRUE(menuHands);
    EXPECT_TRUE(Modified);
    for (int b = 1; b <= 32; ++b)
        for (int k = 1; k <= 52; ++k) ASSERT_EQ(HandCards(k, b), dealt(k, b)) << "board " << b << " card " << k;
    int again = 0;
    EXPECT_EQ(PBNHANDSEXPORT(again), pbn);

    // The dealing machine's 32 boards into an evening of 27: the rest are left out.
    RESETTOURNAMENTSTATE();
    open(27, false);
    ASSERT_TRUE(IMPORTPBNHANDS(pbn, count, leftOut, error)) << error;
    EXPECT_EQ(count, 27);
    EXPECT_EQ(leftOut, 5);
    EXPECT_EQ(PBNLEFTOUTTEXT(leftOut), "5 deals of boards beyond 27 left out");
    for (int k = 1; k <= 52; ++k) ASSERT_EQ(HandCards(k, 27), dealt(k, 27)) << "card " << k;
}

TEST_F(HandsTest, ReadsADealingProgramsFileWithCommentsAndAnyFirstHand) {
    open(4, false);
    const std::string file =
        "\xEF\xBB\xBF% PBN 2.1\r\n% EXPORT\r\n\r\n"
        "{ Dealt by a machine;\r\n  two lines of commentary }\r\n"
        "[Event \"Monday\"]\r\n[Deal \"W:T5.K4.652.A98542 K6.QJT976.QT7.Q6 432.A.AKJ93.JT73 AQJ987.8532.84.K\"]\r\n"
        "[Board \"3\"]\r\n[Dealer \"S\"]\r\n[Auction \"S\"]\r\n1S Pass 2S Pass\r\n; a comment\r\n\r\n"
        "[Board \"4\"]\r\n[Deal \"n:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\r\n";
    int count = 0;
    int leftOut = 0;
    std::string error;
    ASSERT_TRUE(IMPORTPBNHANDS(file, count, leftOut, error)) << error;
    EXPECT_EQ(count, 2);
    // West holds T5 of spades, K4 of hearts, 652 of diamonds and A98542 of clubs.
    EXPECT_EQ(SUITTEXT(3, HAND_WEST, 4), "T5");
    EXPECT_EQ(SUITTEXT(3, HAND_WEST, 1), "A98542");
    EXPECT_EQ(SUITTEXT(3, HAND_NORTH, 3), "QJT976");
    EXPECT_EQ(SUITTEXT(3, HAND_EAST, 2), "AKJ93");
    EXPECT_EQ(SUITTEXT(3, HAND_SOUTH, 4), "AQJ987");
    EXPECT_EQ(SUITTEXT(4, HAND_EAST, 3), "AKQJT98765432");
    EXPECT_EQ(SUITTEXT(4, HAND_WEST, 1), "AKQJT98765432");
    EXPECT_FALSE(DEALCOMPLETE(1));
    EXPECT_EQ(PBNDEALTEXT(BOARDDEAL(3)), "N:K6.QJT976.QT7.Q6 432.A.AKJ93.JT73 AQJ987.8532.84.K T5.K4.652.A98542");
}

TEST_F(HandsTest, MalformedFilesAreRefusedWithTheLineAndNothingChanges) {
    open(8);
    deal(2, 5);
    SETSAVE(false);
    const Array<std::int8_t, 2> before = HandCards;
    const std::string good = "[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\n";
    struct Row {
        std::string file, error;
    };
    const Row rows[] = {
        {"[Board \"1\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT9876543\"]\n",
         "Line 2: West holds 12 cards, not 13."},
        {"[Board \"1\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. A..AKQJT9876543\"]\n",
         "Line 2: the deal gives the ace of spades twice."},
        {"[Board \"1\"]\n[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. -\"]\n",
         "Line 2: the deal does not give the cards of West."},
        {"[Board \"1\"]\n[Deal \"N:AKQJT9876543X... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\n",
         "Line 2: the hand of North holds \"X\", which is not a card."},
        {"[Board \"1\"]\n[Deal \"AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\n",
         "Line 2: the deal \"AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\" does "
         "not start with the first hand (N:, E:, S: or W:)."},
        {"[Board \"1\"]\n[Deal \"N:AKQJT98765432.... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\n",
         "Line 2: the hand of North has more than four suits."},
        {"\n[Board \"1\"\n" + good, "Line 2: \"[Board \"1\"\" is not a tag of the form [Name \"value\"]."},
        {"[Board \"one\"]\n" + good, "Line 1: \"one\" is not a board number."},
        {good, "Line 1: the deal has no board number (a Board tag)."},
        {"[Board \"2\"]\n" + good + "\n[Board \"2\"]\n" + good, "Line 5: board 2 is dealt a second time (first at line 2)."},
        {"[Board \"9\"]\n" + good, "The file holds no deal of a board of this tournament (1 to 8)."},
        {"[Board \"0\"]\n" + good, "Line 1: \"0\" is not a board number."},
        {"[Board \"1\"]\n{ never closed\n" + good, "Line 2: the comment that starts here is never closed with }."},
        {"% nothing but a header\n", "The file holds no deals (no game with a Deal tag)."},
        {std::string("[Board \"1\"]\n\0\n", 14) + good, "Line 2: the file holds a NUL character; it is not a PBN text file."},
        // A line of any length is quoted short, cut between two characters.
        {"[Board \"1\"]\n" + good + "[Note \"" + std::string(100000, 'y') + "\n",
         "Line 3: \"[Note \"" + std::string(73, 'y') + "...\" is not a tag of the form [Name \"value\"]."},
        {"[Board \"1\"]\n[Deal \"" + std::string(79, 'x') + "\xC5\xA1" + std::string(100000, 'x') + "\"]\n",
         "Line 2: the deal \"" + std::string(79, 'x') + "...\" does not start with the first hand (N:, E:, S: or W:)."},
    };
    for (const Row& r : rows) {
        int count = -1;
        int leftOut = -1;
        std::string error;
        EXPECT_FALSE(IMPORTPBNHANDS(r.file, count, leftOut, error)) << r.file;
        EXPECT_EQ(error, r.error);
        EXPECT_EQ(count, 0);
        EXPECT_FALSE(Modified);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(HandCards.data()), HandCards.bytes()),
                  std::string(reinterpret_cast<const char*>(before.data()), before.bytes()));
    }
}

TEST_F(HandsTest, OnlyCompleteDealsAreExported) {
    open(4);
    deal(2, 9);
    deal(4, 10);
    HandCards(1, 4) = 0;
    int count = 0;
    const std::string pbn = PBNHANDSEXPORT(count);
    EXPECT_EQ(count, 1);
    EXPECT_NE(pbn.find("[Board \"2\"]"), std::string::npos);
    EXPECT_EQ(pbn.find("[Board \"4\"]"), std::string::npos);
}

} // namespace
