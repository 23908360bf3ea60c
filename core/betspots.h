#pragma once
// The 50 betting positions of the American layout, in ledger order.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "money.h"

namespace spz {

// A drawn pocket: 1..36 the numbers, 0 zero, -1 double zero.
using Pocket = std::int16_t;
inline constexpr Pocket kDoubleZeroPocket = -1;

enum class Family { Straight, Colour, Parity, Dozen, Half, Column };

// Gross return per dollar staked, stake included (35 to 1 returns 36).
constexpr int multiplier(Family f) {
    switch (f) {
        case Family::Straight: return 36;
        case Family::Dozen:
        case Family::Column: return 3;
        default: return 2;
    }
}

// What a win pays the player on top of the stake, as the table says it.
constexpr std::string_view paysText(Family f) {
    switch (f) {
        case Family::Straight: return "pays 35 to 1";
        case Family::Dozen:
        case Family::Column: return "pays 2 to 1";
        default: return "pays 1 to 1";
    }
}

inline constexpr std::array<int, 18> kRedNumbers = {1,  3,  5,  7,  9,  12, 14, 16, 18,
                                                    19, 21, 23, 25, 27, 30, 32, 34, 36};

constexpr bool isRed(int pocket) {
    for (int n : kRedNumbers)
        if (n == pocket) return true;
    return false;
}
constexpr bool isNumber(int pocket) { return pocket >= 1 && pocket <= 36; }
constexpr bool isBlack(int pocket) { return isNumber(pocket) && !isRed(pocket); }

// Pockets as a bit set: bit (pocket + 1), so 00 is bit 0 and 36 is bit 37.
using PocketSet = std::uint64_t;
constexpr PocketSet pocketBit(int pocket) { return PocketSet{1} << (pocket + 1); }
constexpr bool contains(PocketSet set, int pocket) {
    return pocket >= -1 && pocket <= 36 && (set & pocketBit(pocket)) != 0;
}
template <class Pred>
constexpr PocketSet pocketsWhere(Pred pred) {
    PocketSet s = 0;
    for (int p = -1; p <= 36; ++p)
        if (pred(p)) s |= pocketBit(p);
    return s;
}

struct BetSpot {
    int row;                  // 1-based position in the ledger
    std::string_view spot;    // what the player bets on
    std::string_view button;  // the spot's bet button
    std::string_view caption; // the button's caption; empty for the two colour spots
    std::string_view marker;  // the chip marker that shows the stake
    Family family;
    PocketSet covers;         // the pockets that win for this spot
};

inline constexpr int kSpotCount = 50;

namespace cover {
constexpr PocketSet straight(int n) { return pocketBit(n); }
constexpr PocketSet red() { return pocketsWhere(isRed); }
constexpr PocketSet black() { return pocketsWhere(isBlack); }
// 0 counts as even and 00 as odd: halving -1 leaves a fraction.
constexpr PocketSet even() { return pocketsWhere([](int p) { return p >= 0 && p % 2 == 0; }); }
constexpr PocketSet odd() { return pocketsWhere([](int p) { return p == -1 || p % 2 != 0; }); }
constexpr PocketSet dozen(int k) {
    return pocketsWhere([k](int p) { return p >= 12 * k - 11 && p <= 12 * k; });
}
constexpr PocketSet half(int k) {
    return pocketsWhere([k](int p) { return p >= 18 * k - 17 && p <= 18 * k; });
}
constexpr PocketSet column(int k) {
    return pocketsWhere([k](int p) { return isNumber(p) && (p - 1) % 3 == k - 1; });
}
}  // namespace cover

#define SPZ_NUMBER(n, colour) \
    {n, #n " (" #colour ")", #colour #n, #n, "chip" #colour #n, Family::Straight, cover::straight(n)}

inline constexpr std::array<BetSpot, kSpotCount> kBetSpots = {{
    SPZ_NUMBER(1, red),    SPZ_NUMBER(2, black),  SPZ_NUMBER(3, red),    SPZ_NUMBER(4, black),
    SPZ_NUMBER(5, red),    SPZ_NUMBER(6, black),  SPZ_NUMBER(7, red),    SPZ_NUMBER(8, black),
    SPZ_NUMBER(9, red),    SPZ_NUMBER(10, black), SPZ_NUMBER(11, black), SPZ_NUMBER(12, red),
    SPZ_NUMBER(13, black), SPZ_NUMBER(14, red),   SPZ_NUMBER(15, black), SPZ_NUMBER(16, red),
    SPZ_NUMBER(17, black), SPZ_NUMBER(18, red),   SPZ_NUMBER(19, red),   SPZ_NUMBER(20, black),
    SPZ_NUMBER(21, red),   SPZ_NUMBER(22, black), SPZ_NUMBER(23, red),   SPZ_NUMBER(24, black),
    SPZ_NUMBER(25, red),   SPZ_NUMBER(26, black), SPZ_NUMBER(27, red),   SPZ_NUMBER(28, black),
    SPZ_NUMBER(29, black), SPZ_NUMBER(30, red),   SPZ_NUMBER(31, black), SPZ_NUMBER(32, red),
    SPZ_NUMBER(33, black), SPZ_NUMBER(34, red),   SPZ_NUMBER(35, black), SPZ_NUMBER(36, red),
    {37, "black", "black", "", "chipblack", Family::Colour, cover::black()},
    {38, "red", "red", "", "chipred", Family::Colour, cover::red()},
    {39, "odd", "odd", "ODD", "chipodd", Family::Parity, cover::odd()},
    {40, "even", "even", "EVEN", "chipeven", Family::Parity, cover::even()},
    {41, "0 (green)", "zero", "0", "chipzero", Family::Straight, cover::straight(0)},
    {42, "00 (green)", "doublezero", "00", "chipdoublezero", Family::Straight, cover::straight(-1)},
    {43, "first dozen", "firstthird", "1st 12", "chipfirstthird", Family::Dozen, cover::dozen(1)},
    {44, "second dozen", "secondthird", "2nd 12", "chipsecondthird", Family::Dozen, cover::dozen(2)},
    {45, "third dozen", "thirdthird", "3rd 12", "chipthirdthird", Family::Dozen, cover::dozen(3)},
    {46, "low half", "firsthalf", "1-18", "chipfirsthalf", Family::Half, cover::half(1)},
    {47, "high half", "secondhalf", "19-36", "chipsecondhalf", Family::Half, cover::half(2)},
    {48, "first column", "twotoone1", "2 To 1", "chiptwotoone1", Family::Column, cover::column(1)},
    {49, "second column", "twotoone2", "2 To 1", "chiptwotoone2", Family::Column, cover::column(2)},
    {50, "third column", "twotoone3", "2 To 1", "chiptwotoone3", Family::Column, cover::column(3)},
}};

#undef SPZ_NUMBER

// Ledger index (0-based) of a bet button, if there is such a spot.
constexpr std::optional<int> spotIndex(std::string_view button) {
    for (int i = 0; i < kSpotCount; ++i)
        if (kBetSpots[i].button == button) return i;
    return std::nullopt;
}

// The stakes on the 50 spots. Its only ways to change are a bet that keeps within
// the table limit and a clear, so the total always fits in 16 bits.
class Ledger {
public:
    Money operator[](int index) const { return stakes_[static_cast<std::size_t>(index)]; }

    // Stake := (stake + chipvalue) x chipfactor. Refused, nothing changed, when the
    // spot or the table would pass the limit; returns the new stake otherwise.
    std::optional<Money> place(int index, Money chipvalue, Money chipfactor);
    void clear() { stakes_.fill(0); }
    // Number 2 and number 1 first, then the rest in ledger order.
    Money total() const;

private:
    std::array<Money, kSpotCount> stakes_{};
};

}  // namespace spz
