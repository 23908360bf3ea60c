// Payout rules checked against an oracle written from the table's own lists, not
// from the core's tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "game.h"
#include "payout_oracle.h"

using namespace spz;

namespace {

std::int32_t returnOf(int index, Money stake, Pocket pocket) {
    TableState t;
    EXPECT_TRUE(t.ledger.place(index, stake, 1));
    settle(t, pocket);
    return t.payout;
}

}  // namespace

TEST(BetSpots, LedgerOrderAndNames) {
    ASSERT_EQ(kBetSpots.size(), 50u);
    std::set<std::string_view> buttons, markers;
    for (int i = 0; i < kSpotCount; ++i) {
        const BetSpot& s = kBetSpots[i];
        EXPECT_EQ(s.row, i + 1);
        EXPECT_EQ(std::string("chip") + std::string(s.button), s.marker);
        buttons.insert(s.button);
        markers.insert(s.marker);
        if (i < 36) {
            EXPECT_EQ(s.caption, std::to_string(i + 1));
        }
    }
    EXPECT_EQ(buttons.size(), 50u);
    EXPECT_EQ(markers.size(), 50u);
    const char* tail[] = {"black",      "red",       "odd",        "even",      "zero",
                          "doublezero", "firstthird", "secondthird", "thirdthird", "firsthalf",
                          "secondhalf", "twotoone1", "twotoone2",  "twotoone3"};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(kBetSpots[36 + i].button, tail[i]);
    EXPECT_EQ(spotIndex("black"), 36);
    EXPECT_EQ(spotIndex("nothing"), std::nullopt);
}

TEST(PayoutRules, EveryPocketAgainstEverySpot) {
    for (int p = -1; p <= 36; ++p)
        for (int i = 0; i < kSpotCount; ++i)
            EXPECT_EQ(returnOf(i, 1, static_cast<Pocket>(p)), oracle::grossReturn(std::string(kBetSpots[i].button), p))
                << "pocket " << p << " spot " << kBetSpots[i].button;
}

TEST(PayoutRules, ReturnToPlayerOverTheWheel) {
    // Straight, colour, dozen, column and half return 36 of every 38 dollars staked;
    // parity counts 0 as even and 00 as odd, so it returns all 38.
    std::map<Family, std::set<std::int64_t>> perFamily;
    for (int i = 0; i < kSpotCount; ++i) {
        std::int64_t total = 0;
        for (int p = -1; p <= 36; ++p) total += returnOf(i, 1, static_cast<Pocket>(p));
        perFamily[kBetSpots[i].family].insert(total);
    }
    for (auto& [family, totals] : perFamily) {
        ASSERT_EQ(totals.size(), 1u);
        EXPECT_EQ(*totals.begin(), family == Family::Parity ? 38 : 36);
    }
}

TEST(PayoutRules, ColourAndAccumulation) {
    TableState t;
    for (Pocket p : {0, -1}) {
        paycolor(t, p);
        EXPECT_EQ(t.lastcolor, "green");
    }
    paycolor(t, 2);
    EXPECT_EQ(t.lastcolor, "black");
    paycolor(t, 36);
    EXPECT_EQ(t.lastcolor, "red");

    // $10 on red, pocket 1: payout grows by 20. Two pockets without a reset add up.
    t.ledger.place(*spotIndex("red"), 10, 1);
    t.payout = 0;
    paycolor(t, 1);
    EXPECT_EQ(t.payout, 20);
    paycolor(t, 3);
    EXPECT_EQ(t.payout, 40);
    paycolor(t, 2);
    EXPECT_EQ(t.payout, 40);
}

TEST(Settlement, EmptyTable) {
    TableState t;
    Settlement s = settle(t, 7);
    EXPECT_EQ(s.amountbet, "0");
    EXPECT_EQ(s.lblreturn, "0");
    EXPECT_EQ(s.gain, "0");
    EXPECT_EQ(s.loss, "0");
    EXPECT_FALSE(s.won);
    EXPECT_EQ(s.prompt, "You Lost $ 0");
    EXPECT_EQ(s.historyline, "     7");
}

TEST(Settlement, BreakEvenIsALossOfNothing) {
    TableState t;
    t.ledger.place(*spotIndex("red"), 10, 1);
    t.ledger.place(*spotIndex("black"), 10, 1);
    Settlement s = settle(t, 1);
    EXPECT_EQ(s.amountbet, "20");
    EXPECT_EQ(s.lblreturn, "20");
    EXPECT_FALSE(s.won);
    EXPECT_EQ(s.loss, "0");
    EXPECT_EQ(s.prompt, "You Lost $ 0");
}

TEST(Settlement, WinAndLoss) {
    TableState t;
    t.ledger.place(*spotIndex("red"), 25, 1);
    Settlement win = settle(t, 3);
    EXPECT_TRUE(win.won);
    EXPECT_EQ(win.gain, "25");
    EXPECT_EQ(win.loss, "0");
    EXPECT_EQ(win.prompt, "You Won $ 25");
    EXPECT_EQ(newbalance("100", win.gain, win.loss), "125");

    TableState l;
    l.ledger.place(0, 5, 1);
    l.ledger.place(*spotIndex("firstthird"), 20, 1);
    Settlement loss = settle(l, 8);  // black 8: first dozen pays 60 of 25 staked
    EXPECT_EQ(loss.historyline, std::string(11, ' ') + "8");
    EXPECT_TRUE(loss.won);
    EXPECT_EQ(loss.gain, "35");
    TableState m;
    m.ledger.place(0, 5, 1);
    Settlement lost = settle(m, 2);
    EXPECT_EQ(lost.prompt, "You Lost $ 5");
    EXPECT_EQ(newbalance("3", lost.gain, lost.loss), "-2");
}

TEST(Settlement, ZeroAndDoubleZero) {
    TableState t;
    t.ledger.place(*spotIndex("even"), 10, 1);
    Settlement zero = settle(t, 0);
    EXPECT_EQ(zero.historyline, "0");
    EXPECT_EQ(zero.payout, 20);
    EXPECT_EQ(zero.prompt, "You Won $ 10");

    TableState u;
    u.ledger.place(*spotIndex("odd"), 10, 1);
    u.ledger.place(*spotIndex("doublezero"), 1, 1);
    Settlement dz = settle(u, -1);
    EXPECT_EQ(dz.historyline, "00");
    EXPECT_EQ(dz.payout, 20 + 36);
    EXPECT_EQ(u.lastcolor, "green");
}

TEST(Settlement, TableLimitReturnFitsTheAccumulator) {
    TableState t;
    for (int i = 0; i < 65; ++i) ASSERT_TRUE(t.ledger.place(16, 500, 1));
    EXPECT_EQ(t.ledger[16], 32500);
    EXPECT_FALSE(t.ledger.place(16, 500, 1));  // 33000 would pass the limit
    EXPECT_EQ(t.ledger[16], 32500);
    for (int i = 0; i < 267; ++i) ASSERT_TRUE(t.ledger.place(16, 1, 1));
    EXPECT_FALSE(t.ledger.place(16, 1, 1));
    Settlement s = settle(t, 17);
    EXPECT_EQ(s.amountbet, "32767");
    EXPECT_EQ(s.lblreturn, "1179612");
    EXPECT_EQ(s.gain, "1146845");
    EXPECT_EQ(newbalance("500", s.gain, s.loss), "1147345");
}
