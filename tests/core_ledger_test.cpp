#include <gtest/gtest.h>

#include "chips.h"
#include "game.h"

using namespace spz;

TEST(Ledger, StakesAccumulateAndClear) {
    Ledger l;
    EXPECT_EQ(l.place(0, 25, 1), 25);
    EXPECT_EQ(l.place(0, 100, 1), 125);
    EXPECT_EQ(l.place(0, 0, 0), 0);   // "CLR" wipes the spot
    EXPECT_EQ(l.place(5, 0, 0), 0);   // and is harmless on an empty one
    EXPECT_EQ(l.place(50, 1, 1), std::nullopt);
    EXPECT_EQ(l.place(-1, 1, 1), std::nullopt);
    l.place(49, 7, 1);
    l.place(36, 3, 1);
    EXPECT_EQ(l.total(), 10);
    TableState t;
    t.ledger = l;
    t.payout = 99;
    cleartable(t);
    EXPECT_EQ(t.ledger.total(), 0);
    for (int i = 0; i < kSpotCount; ++i) EXPECT_EQ(t.ledger[i], 0);
    EXPECT_EQ(t.payout, 99);
}

TEST(Ledger, TheWholeTableKeepsToTheLimit) {
    Ledger l;
    for (int i = 0; i < 32; ++i) ASSERT_TRUE(l.place(i, 500, 1) && l.place(i, 500, 1));
    EXPECT_EQ(l.total(), 32000);
    EXPECT_EQ(l.place(40, 500, 1), 500);
    EXPECT_EQ(l.place(41, 500, 1), std::nullopt);  // 33000 on the table
    EXPECT_EQ(l.place(41, 267, 1), 267);
    EXPECT_EQ(l.total(), 32767);
    EXPECT_EQ(l.place(42, 1, 1), std::nullopt);
    EXPECT_EQ(l.place(0, 0, 0), 0);  // taking chips off is always allowed
    EXPECT_EQ(l.total(), 31767);
}

TEST(Money, CheckedArithmeticReportsOverflow) {
    EXPECT_EQ(checkedAdd<Money>(Money{32767}, Money{0}), 32767);
    EXPECT_EQ(checkedAdd<Money>(Money{32767}, Money{1}), std::nullopt);
    EXPECT_EQ(checkedAdd<Money>(Money{-32768}, Money{-1}), std::nullopt);
    EXPECT_EQ(checkedMul<Money>(Money{16384}, Money{2}), std::nullopt);
    EXPECT_EQ(checkedMul<Money>(Money{-32768}, Money{1}), -32768);
}

TEST(Money, CaptionTexts) {
    EXPECT_EQ(plainText(1000000.0), "1000000");
    EXPECT_EQ(plainText(-0.0), "0");
    EXPECT_EQ(plainText(-5.0), "-5");
    EXPECT_EQ(plainText(2.5), "2.5");
    EXPECT_EQ(signedText(25), " 25");
    EXPECT_EQ(signedText(0), " 0");
    EXPECT_EQ(signedText(-3), "-3");
    EXPECT_EQ(captionValue("125"), 125);
    EXPECT_EQ(captionValue("-5"), -5);
    EXPECT_EQ(captionValue(""), 0);
    EXPECT_EQ(captionValue("abc"), 0);
}

TEST(ChipRule, StepDownThresholdsAreInclusive) {
    EXPECT_EQ(stepdownoption(125, 25), 4);
    EXPECT_EQ(stepdownoption(124, 25), 3);
    EXPECT_EQ(stepdownoption(100, 80), 2);
    EXPECT_EQ(stepdownoption(30, 0), 3);
    EXPECT_EQ(stepdownoption(1, 0), 1);
    EXPECT_EQ(stepdownoption(0, 0), kClearOption);
    EXPECT_EQ(stepdownoption(100000, 0), 4);  // never $500
    EXPECT_TRUE(chipcovered(105, 80, 25, 1));
    EXPECT_FALSE(chipcovered(104, 80, 25, 1));
    EXPECT_TRUE(chipcovered(0, 0, 0, 0));
    EXPECT_FALSE(chipcovered(-1, 0, 0, 0));
}
