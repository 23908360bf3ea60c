#include "chips.h"

namespace spz {

bool chipcovered(double balance, double ontable, Money chipvalue, Money chipfactor) {
    // Chip values are at most 500 and the factor 0 or 1, so the product always fits.
    const auto inForce = checkedMul<Money>(chipvalue, chipfactor).value_or(kTableLimit);
    return balance >= ontable + inForce;
}

int stepdownoption(double balance, double ontable) {
    for (int option : {4, 3, 2, 1})
        if (balance >= ontable + kChipOptions[static_cast<std::size_t>(option - 1)].value) return option;
    return kClearOption;
}

}  // namespace spz
