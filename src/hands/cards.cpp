// The cards of each board: who holds what, the text of a suit, the key filter of
// the suit fields and completing the last hand. Everything reads and writes
// HandCards of the open tournament; a board outside it holds no cards.
#include "core/tournament.h"
#include "hands/hands.h"

const char* const RankLetters = "23456789TJQKA";

namespace {

bool boardExists(int board) {
    return HandCards.contains(1, board);
}

} // namespace

int KEYRANK(char32_t c) {
    if (c >= '2' && c <= '9') return static_cast<int>(c - '2') + 1;
    switch (c) {
    case 'A': case 'a': case '1': return 13;
    case 'K': case 'k': case '/': return 12;
    case 'Q': case 'q': case '*': return 11;
    case 'J': case 'j': case '-': return 10;
    case 'T': case 't': case '+': case '0': return 9;
    default: return 0;
    }
}

HandKeyDecision HANDKEYFILTER(int board, int f, char32_t c) {
    if (c == KEY_BACKSPACE || c == KEY_CTRLC || c == KEY_CTRLV || c == KEY_CTRLX)
        return {HANDKEY_PASS, 0};
    const int rank = KEYRANK(c);
    if (rank == 0 || !ISSUITFIELD(f)) return {HANDKEY_DROP, 0};
    if (GETCARDSHAND(board, f, rank) != 0) return {HANDKEY_REFUSE, 0};
    return {HANDKEY_ACCEPT, RankLetters[rank - 1]};
}

int HANDCOUNT(int board, int hand) {
    if (!boardExists(board)) return 0;
    int n = 0;
    for (int k = 1; k <= 52; ++k) n += HandCards(k, board) == hand;
    return n;
}

int GETCARDSHAND(int board, int f, int rank) {
    if (!boardExists(board) || !ISSUITFIELD(f) || rank < 1 || rank > 13) return 1;
    if (HANDCOUNT(board, HANDOFFIELD(f)) >= 13) return 1;
    return HandCards(CARDNUMBER(SUITOFFIELD(f), rank), board);
}

bool PARSEHANDTEXT(int board, int f, const std::string& text) {
    if (!boardExists(board) || !ISSUITFIELD(f)) return false;
    const int hand = HANDOFFIELD(f), suit = SUITOFFIELD(f);
    std::int8_t before[13];
    for (int r = 1; r <= 13; ++r) {
        std::int8_t& card = HandCards(CARDNUMBER(suit, r), board);
        before[r - 1] = card;
        if (card == hand) card = 0;
    }
    int held = HANDCOUNT(board, hand);
    for (const char c : text) {
        const auto p = std::string(RankLetters).find(c);
        if (c == 0 || p == std::string::npos) continue;
        std::int8_t& card = HandCards(CARDNUMBER(suit, static_cast<int>(p) + 1), board);
        if (card != 0 || held >= 13) continue;
        card = static_cast<std::int8_t>(hand);
        ++held;
    }
    bool changed = false;
    for (int r = 1; r <= 13; ++r) changed |= HandCards(CARDNUMBER(suit, r), board) != before[r - 1];
    return changed;
}

std::string SUITTEXT(int board, int hand, int suit) {
    std::string s;
    if (!boardExists(board)) return s;
    for (int r = 13; r >= 1; --r)
        if (HandCards(CARDNUMBER(suit, r), board) == hand) s += RankLetters[r - 1];
    return s;
}

std::string GETHANDSTRING(int board, int hand, int suit) {
    std::string s = SUITTEXT(board, hand, suit);
    s.resize(13, ' ');
    return s;
}

std::string DECKTEXT(int board, int suit) {
    return SUITTEXT(board, 0, suit);
}

int CANCOMPLETE(int board) {
    if (!boardExists(board)) return 0;
    int incomplete = 0, found = 0;
    for (int h = 1; h <= 4; ++h) {
        const int n = HANDCOUNT(board, h);
        if (n > 13) return 0;
        if (n < 13) {
            ++found;
            incomplete = h;
        }
    }
    return found == 1 ? incomplete : 0;
}

int COMPLETEHAND(int board) {
    const int hand = CANCOMPLETE(board);
    if (hand == 0) return 0;
    for (int k = 1; k <= 52; ++k)
        if (HandCards(k, board) == 0) HandCards(k, board) = static_cast<std::int8_t>(hand);
    return hand;
}

bool DEALCOMPLETE(int board) {
    if (!boardExists(board)) return false;
    for (int h = 1; h <= 4; ++h)
        if (HANDCOUNT(board, h) != 13) return false;
    return true;
}

Deal BOARDDEAL(int board) {
    Deal d{};
    if (!boardExists(board)) return d;
    for (int k = 1; k <= 52; ++k) d[k - 1] = HandCards(k, board);
    return d;
}
