#pragma once
// What one dollar on a spot brings back for a pocket, written from the table's own
// lists (red numbers, columns, dozens, halves), independent of the core's tables.

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace oracle {

inline const std::set<int> kRed = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};
inline const std::set<int> kCol1 = {1, 4, 7, 10, 13, 16, 19, 22, 25, 28, 31, 34};
inline const std::set<int> kCol2 = {2, 5, 8, 11, 14, 17, 20, 23, 26, 29, 32, 35};

// Gross return of one dollar on the spot named by its button, for the pocket.
inline int grossReturn(const std::string& button, int p) {
    const bool number = p >= 1 && p <= 36;
    if (button == "zero") return p == 0 ? 36 : 0;
    if (button == "doublezero") return p == -1 ? 36 : 0;
    if (button == "red") return kRed.count(p) ? 2 : 0;
    if (button == "black") return number && !kRed.count(p) ? 2 : 0;
    // Parity by halving: 0 is even, 00 (-1) is odd.
    if (button == "even") return (p % 2 == 0) ? 2 : 0;
    if (button == "odd") return (p % 2 != 0) ? 2 : 0;
    if (button == "firstthird") return p >= 1 && p <= 12 ? 3 : 0;
    if (button == "secondthird") return p >= 13 && p <= 24 ? 3 : 0;
    if (button == "thirdthird") return p >= 25 && p <= 36 ? 3 : 0;
    if (button == "firsthalf") return p >= 1 && p <= 18 ? 2 : 0;
    if (button == "secondhalf") return p >= 19 && p <= 36 ? 2 : 0;
    if (button == "twotoone1") return kCol1.count(p) ? 3 : 0;
    if (button == "twotoone2") return kCol2.count(p) ? 3 : 0;
    if (button == "twotoone3") return number && !kCol1.count(p) && !kCol2.count(p) ? 3 : 0;
    for (const char* colour : {"red", "black"}) {
        if (button.rfind(colour, 0) == 0) {
            int n = std::stoi(button.substr(std::string(colour).size()));
            EXPECT_EQ(kRed.count(n) == 1, std::string(colour) == "red") << button;
            return p == n ? 36 : 0;
        }
    }
    ADD_FAILURE() << "no oracle for " << button;
    return 0;
}

}  // namespace oracle
