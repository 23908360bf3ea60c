#include "money.h"

#include <charconv>
#include <cmath>

namespace spz {

std::string plainText(long long value) { return std::to_string(value); }

std::string plainText(double value) {
    if (value == 0) value = 0;  // never print "-0"
    char buf[400];
    // Fixed notation: a million must read "1000000", not "1e+06".
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (res.ec != std::errc{}) return "0";
    return std::string(buf, res.ptr);
}

std::string signedText(double value) {
    // Appended piece by piece: g++ 12 misreads a literal prepended to a temporary.
    std::string text = value >= 0 ? " " : "";
    text += plainText(value);
    return text;
}

double captionValue(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    double v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc{} || !std::isfinite(v)) return 0;
    return v;
}

}  // namespace spz
