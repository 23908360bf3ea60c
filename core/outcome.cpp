#include "outcome.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace spz {

WheelSource::WheelSource() : WheelSource([] {
    static std::random_device device;
    return static_cast<std::uint32_t>(device());
}) {}

WheelSource::WheelSource(Entropy entropy) : entropy_(std::move(entropy)) { reseed(0); }

void WheelSource::reseed(double seed) {
    auto bits = std::bit_cast<std::uint64_t>(seed);
    std::seed_seq seq{static_cast<std::uint32_t>(bits), static_cast<std::uint32_t>(bits >> 32), entropy_(),
                      entropy_(), entropy_(), entropy_()};
    engine_.seed(seq);
}

float WheelSource::next() {
    // 24 random bits fill a float's mantissa exactly: the largest value is 1 - 2^-24.
    return static_cast<float>(engine_() >> 8) * 0x1.0p-24f;
}

double seedfromclock(Clock& clock) {
    using namespace std::chrono;
    auto t = floor<seconds>(clock.now());
    auto intoDay = t - floor<days>(t);
    return static_cast<double>(hh_mm_ss<seconds>(intoDay).seconds().count());
}

std::int32_t randombetween(std::int32_t hi, std::int32_t lo, RandomSource& source) {
    const double r = static_cast<double>(source.next());
    const std::int64_t span = std::int64_t{hi} - lo + 1;  // cannot leave 64 bits
    const double x = r * static_cast<double>(span) + static_cast<double>(lo);
    const double v = std::floor(x);
    // A span beyond 32 bits has no meaning for the wheel; keep the result in range.
    return static_cast<std::int32_t>(std::clamp(v, static_cast<double>(std::min(lo, hi)),
                                                static_cast<double>(std::max(lo, hi))));
}

}  // namespace spz
