#pragma once
// The state of one game at the table, the six payout rules and the settling of a spin.

#include <cstdint>
#include <limits>
#include <string>

#include "betspots.h"
#include "money.h"

namespace spz {

// The bankroll a new game starts with; 0 until the player chooses one.
inline Money startingfunds = 0;

struct TableState {
    double seedvalue = 0;
    std::int16_t autoselect = 0;  // 1 while the refresh itself steps the chip down
    std::string lastcolor;        // "red", "black" or "green"
    Money chipvalue = 0;
    Money chipfactor = 0;         // 0 while "CLR" is in force
    Ledger ledger;
    // Gross return of the spin being settled. Wider than a stake: one spin can return
    // up to 36 times the table limit.
    std::int32_t payout = 0;
};

// Even a ledger of 50 maximal stakes, each paid 36 times, fits the accumulator.
static_assert(std::int64_t{kSpotCount} * 36 * 32768 < std::numeric_limits<std::int32_t>::max());

// Zeroes the ledger; the window hides the markers.
inline void cleartable(TableState& t) { t.ledger.clear(); }

// The six rules: each adds the gross return of its winning bet to payout.
void paycolor(TableState& t, Pocket pocket);
void paydozen(TableState& t, Pocket pocket);
void paycolumn(TableState& t, Pocket pocket);
void payparity(TableState& t, Pocket pocket);
void payhalf(TableState& t, Pocket pocket);
void paystraight(TableState& t, Pocket pocket);

// What a spin shows, worked out from the ledger and the drawn pocket.
struct Settlement {
    Pocket pocket = 0;
    std::string historyline;
    Money totalstaked = 0;
    std::int32_t payout = 0;
    bool won = false;
    std::string amountbet;  // captions of the "Prior Bet" labels
    std::string lblreturn;
    std::string gain;
    std::string loss;
    std::string prompt;     // "You Won $ 25", "You Lost $ 0"
};

// Runs the six rules in the spin's order (payout and lastcolor change) and forms the
// figures and texts. The ledger is left for the caller to clear.
Settlement settle(TableState& t, Pocket pocket);

// The history line of a pocket of the given colour.
std::string historyline(Pocket pocket, const std::string& colour);

// Balance after a spin, from the captions: (gain - loss) + balance.
std::string newbalance(std::string_view balance, std::string_view gain, std::string_view loss);

}  // namespace spz
