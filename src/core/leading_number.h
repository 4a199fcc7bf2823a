#pragma once

#include <cstdint>
#include <string_view>

namespace tunebridge {

// The number a decimal reader finds at the start of `text`, after leading
// blanks: an optional sign, digits and an optional fraction, reading up to
// the first character that cannot continue it. 0 when there is none.
double LeadingNumber(std::string_view text);

// `value` rounded to the nearest integer, halves to even. Throws an overflow
// RuntimeError when the result does not fit a signed 16-bit number.
std::int16_t RoundToInt16(double value);

} // namespace tunebridge
