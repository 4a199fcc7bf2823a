#include "core/leading_number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "core/runtime_error.h"

namespace tunebridge {
namespace {

// Run-time errors carry the program's name as their source.
constexpr const char* kRuntimeSource = "Tunebridge";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

double LeadingNumber(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ') ++at;

    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    bool hasDigits = at > start;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fraction = ++at;
        while (at < text.size() && IsDigit(text[at])) ++at;
        hasDigits = hasDigits || at > fraction;
    }
    if (!hasDigits) return 0.0;

    // The span holds only digits and at most one point, so the fixed format
    // reads all of it; a value beyond the double range reads as infinite.
    double magnitude = 0.0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + at, magnitude, std::chars_format::fixed);
    (void)end;
    if (error == std::errc::result_out_of_range) magnitude = std::numeric_limits<double>::infinity();
    return negative ? -magnitude : magnitude;
}

std::int16_t RoundToInt16(double value) {
    if (!std::isfinite(value) || value < -32769.0 || value > 32768.0) throw OverflowError(kRuntimeSource);
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) rounded = below + 1.0;
    if (rounded < -32768.0 || rounded > 32767.0) throw OverflowError(kRuntimeSource);
    return static_cast<std::int16_t>(rounded);
}

} // namespace tunebridge
