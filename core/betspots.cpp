#include "betspots.h"

namespace spz {

std::optional<Money> Ledger::place(int index, Money chipvalue, Money chipfactor) {
    if (index < 0 || index >= kSpotCount) return std::nullopt;
    Money& stake = stakes_[static_cast<std::size_t>(index)];
    auto sum = checkedAdd<Money>(chipvalue, stake);
    if (!sum) return std::nullopt;
    auto product = checkedMul<Money>(*sum, chipfactor);
    if (!product) return std::nullopt;
    // The rest of the table plus the new stake must stay within the limit too.
    long long others = 0;
    for (Money s : stakes_) others += s;
    others -= stake;
    if (others + *product > kTableLimit) return std::nullopt;
    stake = *product;
    return stake;
}

Money Ledger::total() const {
    // Within the limit by construction; the checked sum states it rather than trusts it.
    std::optional<Money> sum = checkedAdd<Money>(stakes_[1], stakes_[0]);
    for (std::size_t i = 2; sum && i < stakes_.size(); ++i) sum = checkedAdd<Money>(*sum, stakes_[i]);
    return sum.value_or(kTableLimit);
}

}  // namespace spz
