#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "outcome.h"

using namespace spz;

namespace {

struct FixedSource final : RandomSource {
    float value = 0;
    void reseed(double) override {}
    float next() override { return value; }
};

struct FixedClock final : Clock {
    std::chrono::system_clock::time_point at;
    std::chrono::system_clock::time_point now() override { return at; }
};

WheelSource fixedWheel() {
    return WheelSource([] { return std::uint32_t{0x5eed}; });
}

}  // namespace

TEST(Draw, FloorAtEveryPocketEdge) {
    FixedSource src;
    src.value = 0;
    EXPECT_EQ(randombetween(36, -1, src), -1);
    src.value = std::nextafter(1.0f, 0.0f);
    EXPECT_EQ(randombetween(36, -1, src), 36);
    // For each edge k/38, the smallest float at or above it starts pocket k - 1, and
    // the float just below it still belongs to pocket k - 2 (00 below 1/38).
    for (int k = 1; k < 38; ++k) {
        float f = static_cast<float>(k) / 38.0f;
        while (static_cast<double>(f) * 38.0 < k) f = std::nextafter(f, 1.0f);
        while (static_cast<double>(std::nextafter(f, 0.0f)) * 38.0 >= k) f = std::nextafter(f, 0.0f);
        src.value = f;
        EXPECT_EQ(randombetween(36, -1, src), k - 1) << "edge " << k;
        src.value = std::nextafter(f, 0.0f);
        EXPECT_EQ(randombetween(36, -1, src), k - 2) << "below edge " << k;
    }
    src.value = 0.7f;
    EXPECT_EQ(randombetween(5, 5, src), 5);
}

TEST(Draw, WheelIsUniformOverThe38Pockets) {
    WheelSource wheel = fixedWheel();
    wheel.reseed(17);
    constexpr int kDraws = 380000;
    std::vector<int> counts(38);
    float largest = 0;
    for (int i = 0; i < kDraws; ++i) {
        float r = wheel.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        largest = std::max(largest, r);
        int p = randombetween(36, -1, wheel);
        ASSERT_GE(p, -1);
        ASSERT_LE(p, 36);
        ++counts[static_cast<std::size_t>(p + 1)];
    }
    double chi2 = 0;
    const double expected = kDraws / 38.0;
    for (int c : counts) chi2 += (c - expected) * (c - expected) / expected;
    // 37 degrees of freedom: 69.35 is the 0.1 % critical value.
    EXPECT_LT(chi2, 69.35);
    EXPECT_GT(largest, 0.999f);
}

TEST(Draw, ReseedingDoesNotReplayAGame) {
    WheelSource a = fixedWheel(), b = fixedWheel();
    a.reseed(42);
    b.reseed(42);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(a.next(), b.next());  // same seed and entropy

    WheelSource c, d;  // the house wheels draw on fresh entropy
    c.reseed(42);
    d.reseed(42);
    int same = 0;
    for (int i = 0; i < 8; ++i) same += c.next() == d.next();
    EXPECT_LT(same, 8);
}

TEST(Draw, SeedIsTheClockSecond) {
    using namespace std::chrono;
    FixedClock clock;
    clock.at = sys_days{2026y / 12 / 8} + 12h + 34min + 56s + 789ms;
    EXPECT_EQ(seedfromclock(clock), 56.0);
    clock.at = sys_days{1969y / 12 / 31} + 23h + 59min + 7s + 500ms;  // before 1970 too
    EXPECT_EQ(seedfromclock(clock), 7.0);
}
