#pragma once
// Where the pockets come from: a seedable generator and the clock that seeds it.

#include <chrono>
#include <cstdint>
#include <functional>
#include <random>

namespace spz {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseed(double seed) = 0;
    // Uniform in [0, 1); never 1.
    virtual float next() = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point now() = 0;
};

class SystemClock final : public Clock {
public:
    std::chrono::system_clock::time_point now() override { return std::chrono::system_clock::now(); }
};

// The house wheel. The clock's seconds alone would give only 60 games; each reseed
// mixes them with fresh entropy so no two games replay the same pockets.
class WheelSource final : public RandomSource {
public:
    using Entropy = std::function<std::uint32_t()>;
    WheelSource();
    explicit WheelSource(Entropy entropy);
    void reseed(double seed) override;
    float next() override;

private:
    Entropy entropy_;
    std::mt19937 engine_;
};

// Seconds field (0..59) of the current UTC time.
double seedfromclock(Clock& clock);

// A whole number from lo to hi inclusive: floor(r * (hi - lo + 1) + lo).
std::int32_t randombetween(std::int32_t hi, std::int32_t lo, RandomSource& source);

}  // namespace spz
