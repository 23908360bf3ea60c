#include "game.h"

#include <cmath>

namespace spz {
namespace {

// Adds the return of every spot of the family that the pocket wins. The families
// cover each pocket at most once, so each rule adds at most one bet.
void payFamily(TableState& t, Family family, Pocket pocket) {
    for (const BetSpot& s : kBetSpots) {
        if (s.family != family || !contains(s.covers, pocket)) continue;
        t.payout += std::int32_t{t.ledger[s.row - 1]} * multiplier(family);
    }
}

}  // namespace

void paycolor(TableState& t, Pocket pocket) {
    payFamily(t, Family::Colour, pocket);
    t.lastcolor = isRed(pocket) ? "red" : isNumber(pocket) ? "black" : "green";
}
void paydozen(TableState& t, Pocket pocket) { payFamily(t, Family::Dozen, pocket); }
void paycolumn(TableState& t, Pocket pocket) { payFamily(t, Family::Column, pocket); }
void payparity(TableState& t, Pocket pocket) { payFamily(t, Family::Parity, pocket); }
void payhalf(TableState& t, Pocket pocket) { payFamily(t, Family::Half, pocket); }
void paystraight(TableState& t, Pocket pocket) { payFamily(t, Family::Straight, pocket); }

std::string historyline(Pocket pocket, const std::string& colour) {
    if (pocket == kDoubleZeroPocket) return "00";
    // Red numbers in one indented column, black ones in a deeper one.
    if (colour == "red" || colour == "black") {
        std::string line(colour == "red" ? 4 : 10, ' ');
        line += signedText(pocket);
        return line;
    }
    return plainText(static_cast<long long>(pocket));
}

Settlement settle(TableState& t, Pocket pocket) {
    paycolor(t, pocket);
    paydozen(t, pocket);
    paycolumn(t, pocket);
    payparity(t, pocket);
    payhalf(t, pocket);
    paystraight(t, pocket);

    Settlement s;
    s.pocket = pocket;
    s.historyline = historyline(pocket, t.lastcolor);
    s.totalstaked = t.ledger.total();
    s.payout = t.payout;
    s.amountbet = plainText(static_cast<long long>(s.totalstaked));
    s.lblreturn = plainText(static_cast<long long>(s.payout));

    const double staked = captionValue(s.amountbet);
    const double returned = s.payout;
    s.won = staked < returned;
    if (s.won) {
        s.gain = plainText(returned - staked);
        s.loss = '0';  // a char: g++ 12 misreads a one-letter literal here
        s.prompt = "You Won $";
        s.prompt += signedText(captionValue(s.gain));
    } else {
        s.loss = plainText(staked - returned);
        s.gain = '0';
        s.prompt = "You Lost $";
        s.prompt += signedText(captionValue(s.loss));
    }
    return s;
}

std::string newbalance(std::string_view balance, std::string_view gain, std::string_view loss) {
    return plainText((captionValue(gain) - captionValue(loss)) + captionValue(balance));
}

}  // namespace spz
