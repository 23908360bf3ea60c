#pragma once
// Whole dollars, as the table keeps them: signed 16 bits. Every sum and product on
// them goes through these helpers, so nothing can wrap around unnoticed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace spz {

using Money = std::int16_t;

// The most a single spot, or the whole table, may hold.
inline constexpr Money kTableLimit = 32767;

template <class T, class A, class B>
constexpr std::optional<T> checkedAdd(A a, B b) {
    T r{};
    if (__builtin_add_overflow(a, b, &r)) return std::nullopt;
    return r;
}

template <class T, class A, class B>
constexpr std::optional<T> checkedMul(A a, B b) {
    T r{};
    if (__builtin_mul_overflow(a, b, &r)) return std::nullopt;
    return r;
}

// Captions hold plain decimal text: digits, "-" only when negative, no "$", no grouping.
std::string plainText(long long value);
std::string plainText(double value);
// History lines and result prompts put a blank before a number that is not negative.
std::string signedText(double value);
// Reads a number back from a caption the game wrote; text that is no number reads as 0.
double captionValue(std::string_view text);

}  // namespace spz
