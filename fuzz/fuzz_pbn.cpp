// The PBN hands import: whatever the text, reading and importing never go wrong;
// a file that imports is exported, and that export reads back to the same deals
// and imports to the same export.
#include "fuzzsupport.h"

#include "core/tournament.h"
#include "hands/hands.h"
#include "scoring/compute.h"

#include <algorithm>
#include <vector>

namespace {

// A Mitchell of 36 boards without hand diagrams, as the dialog makes it.
void openTournament() {
    DEFAULTHEADER();
    Header.NumPairs = 12;
    Header.NumBoards = 36;
    Header.NumRounds = 6;
    Header.BoardsPerRound = 6;
    FUZZCHECK(CREATETOURNAMENT(), "the tournament of the PBN fuzz target cannot be made");
    SETSAVE(false); // as if just saved
}

bool sameDeals(const std::vector<PbnDeal>& a, const std::vector<PbnDeal>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t n = 0; n < a.size(); ++n)
        if (a[n].board != b[n].board || a[n].cards != b[n].cards) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FUZZRESET();
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<PbnDeal> deals;
    std::string error;
    const bool read = READPBNDEALS(text, deals, error);
    FUZZCHECK(read == error.empty(), "READPBNDEALS's result and its error disagree");
    FUZZCHECK(read || deals.empty(), "a refused file left deals behind");
    for (const PbnDeal& d : deals) {
        int held[5] = {};
        for (const std::int8_t h : d.cards) {
            FUZZCHECK(h >= 1 && h <= 4, "a deal read gives a card to nobody");
            ++held[h];
        }
        FUZZCHECK(held[1] == 13 && held[2] == 13 && held[3] == 13 && held[4] == 13,
                  "a deal read does not give 13 cards to each hand");
    }

    openTournament();
    const Deal empty = BOARDDEAL(1);
    int count = 0;
    int leftOut = 0;
    const bool imported = IMPORTPBNHANDS(text, count, leftOut, error);
    FUZZCHECK(!imported || read, "IMPORTPBNHANDS takes a file READPBNDEALS refuses");
    if (!imported) {
        FUZZCHECK(!ISTRUE(HasHands) && !Modified && BOARDDEAL(1) == empty,
                  "a refused import changed the tournament");
        return 0;
    }
    FUZZCHECK(count + leftOut == static_cast<int>(deals.size()) && ISTRUE(HasHands), "an import counts wrong");
    // Deals of boards the tournament does not have are left out.
    deals.erase(std::remove_if(deals.begin(), deals.end(), [](const PbnDeal& d) { return d.board > NumBoards; }),
                deals.end());
    FUZZCHECK(count == static_cast<int>(deals.size()), "an import leaves out a board of the tournament");
    for (const PbnDeal& d : deals)
        FUZZCHECK(BOARDDEAL(d.board) == d.cards, "an imported board does not hold its deal");

    int exported = 0;
    const std::string out = PBNHANDSEXPORT(exported);
    FUZZCHECK(exported == count, "the export does not hold every imported deal");
    std::vector<PbnDeal> again;
    FUZZCHECK(READPBNDEALS(out, again, error), "the export of an import cannot be read");
    std::vector<PbnDeal> sorted = deals;
    std::sort(sorted.begin(), sorted.end(), [](const PbnDeal& a, const PbnDeal& b) { return a.board < b.board; });
    FUZZCHECK(sameDeals(again, sorted), "the export of an import reads back other deals");

    FUZZRESET();
    openTournament();
    FUZZCHECK(IMPORTPBNHANDS(out, count, leftOut, error) && leftOut == 0, "the export of an import does not import");
    FUZZCHECK(PBNHANDSEXPORT(exported) == out, "an export reimported exports differently");
    return 0;
}
