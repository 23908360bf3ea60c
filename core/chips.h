#pragma once
// The six chip options and the rule that steps the chip down to one the balance covers.

#include <array>
#include <string_view>

#include "money.h"

namespace spz {

struct ChipOption {
    int option;               // 1..6, the option button's number
    Money value;              // chipvalue it sets
    Money factor;             // chipfactor it sets
    std::string_view label;   // caption on the disc
};

inline constexpr std::array<ChipOption, 6> kChipOptions = {{
    {1, 1, 1, "$1"},
    {2, 5, 1, "$5"},
    {3, 25, 1, "$25"},
    {4, 100, 1, "$100"},
    {5, 500, 1, "$500"},
    {6, 0, 0, "CLR"},
}};

inline constexpr int kClearOption = 6;

// The chip in force is covered while the balance holds the table plus one more chip.
bool chipcovered(double balance, double ontable, Money chipvalue, Money chipfactor);

// The largest chip of $100, $25, $5 and $1 that the balance still covers, or "CLR".
// $500 is never chosen by a step-down.
int stepdownoption(double balance, double ontable);

// Whether option K's handler says "Insufficient Funds!" after stepping down.
constexpr bool messagemode(int option, int autoselect) {
    if (option == 4) return true;
    if (option == 5) return autoselect == 1;
    return autoselect == 0;
}

}  // namespace spz
