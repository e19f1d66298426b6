// The text of the Hand Diagram dialog's suit fields: whatever is typed or pasted,
// on whatever deal a file may hold, a suit field changes only its own hand's
// cards of its own suit, gives only free cards, never a 14th one, and the key
// filter accepts only what the field then keeps.
#include "fuzzsupport.h"

#include "core/tournament.h"
#include "hands/hands.h"

#include <algorithm>
#include <array>

namespace {

struct Reader {
    const std::uint8_t* p;
    std::size_t n;
    bool more() const { return n > 0; }
    std::uint8_t byte() {
        if (!n) return 0;
        --n;
        return *p++;
    }
};

std::array<std::int8_t, 52> cardsOf(int board) {
    std::array<std::int8_t, 52> a{};
    for (int k = 1; k <= 52; ++k) a[static_cast<std::size_t>(k - 1)] = HandCards(k, board);
    return a;
}

void checkParse(int f, const std::string& text) {
    const int hand = HANDOFFIELD(f), suit = SUITOFFIELD(f);
    const auto before = cardsOf(1);
    const int heldBefore = HANDCOUNT(1, hand);
    const bool changed = PARSEHANDTEXT(1, f, text);
    const auto after = cardsOf(1);
    FUZZCHECK(changed == (before != after), "PARSEHANDTEXT says wrongly whether the suit changed");
    for (int k = 1; k <= 52; ++k) {
        const std::int8_t b = before[static_cast<std::size_t>(k - 1)], a = after[static_cast<std::size_t>(k - 1)];
        if (a == b) continue;
        FUZZCHECK(SUITOFCARD(k) == suit, "a suit field changed a card of another suit");
        FUZZCHECK((b == hand && a == 0) || (b == 0 && a == hand),
                  "a suit field moved a card another hand holds");
        if (a == hand)
            FUZZCHECK(text.find(RankLetters[RANKOFCARD(k) - 1]) != std::string::npos,
                      "a suit field gave a card its text does not name");
    }
    FUZZCHECK(HANDCOUNT(1, hand) <= std::max(13, heldBefore), "a suit field gave a 14th card");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FUZZRESET();
    Header.NumPairs = 4;
    Header.NumBoards = 2;
    Header.NumRounds = 1;
    Header.BoardsPerRound = 2;
    Header.HasHands = LTRUE;
    NumBoardSets = 1;
    FUZZCHECK(INITTOURNAMENT(), "the tournament of the hand-text fuzz target cannot be made");
    Reader in{data, size};
    // Any holder 0..4 of each card, as a tournament file may hold them.
    if (in.byte() & 1)
        for (int k = 1; k <= 52; ++k) HandCards(k, 1) = static_cast<std::int8_t>(in.byte() % 5);

    while (in.more()) {
        const std::uint8_t op = in.byte();
        const int f = FirstSuitField + (op >> 2) % 16;
        switch (op & 3) {
        case 0: { // text typed or pasted into a field
            std::string text;
            for (int n = in.byte() % 24; n > 0 && in.more(); --n) text += static_cast<char>(in.byte());
            checkParse(f, text);
            break;
        }
        case 1: { // one key: the filter decides, the field then holds the new text
            char32_t c = in.byte();
            if (c >= 0x80) c = (c << 8 | in.byte()) & 0x10FFFF;
            const HandKeyDecision d = HANDKEYFILTER(1, f, c);
            if (d.action == HANDKEY_ACCEPT) {
                FUZZCHECK(KEYRANK(c) != 0 && d.letter == RankLetters[KEYRANK(c) - 1],
                          "the key filter accepts a key as another card");
                const int before = HANDCOUNT(1, HANDOFFIELD(f));
                checkParse(f, SUITTEXT(1, HANDOFFIELD(f), SUITOFFIELD(f)) + d.letter);
                FUZZCHECK(HANDCOUNT(1, HANDOFFIELD(f)) == before + 1,
                          "a card the key filter accepts is not given");
            } else if (d.action == HANDKEY_PASS) {
                FUZZCHECK(c == KEY_BACKSPACE || c == KEY_CTRLC || c == KEY_CTRLV || c == KEY_CTRLX,
                          "the key filter passes a key that is no edit key");
            }
            break;
        }
        case 2: { // Complete
            const int hand = CANCOMPLETE(1);
            FUZZCHECK(COMPLETEHAND(1) == hand, "COMPLETEHAND fills another hand than CANCOMPLETE names");
            if (hand) FUZZCHECK(DEALCOMPLETE(1), "a completed deal is not complete");
            break;
        }
        default: // what the dialog shows
            for (int h = 1; h <= 4; ++h)
                for (int s = 1; s <= 4; ++s) {
                    FUZZCHECK(GETHANDSTRING(1, h, s).size() == 13, "a suit is not shown in 13 characters");
                    FUZZCHECK(SUITTEXT(1, h, s).size() + DECKTEXT(1, s).size() <= 13,
                              "a suit shows more than 13 cards");
                }
            break;
        }
    }
    return 0;
}
