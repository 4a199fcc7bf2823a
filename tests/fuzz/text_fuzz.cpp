#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "core/leading_number.h"
#include "core/runtime_error.h"
#include "core/text.h"
#include "fuzz.h"

using namespace tunebridge;
using fuzz::Expect;

// The text helpers over bytes as another program's window would hand them over.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::string clean = CleanString(text);
    Expect(text.find(clean) != std::string::npos && CleanString(clean) == clean, "CleanString: a piece, stable");
    Expect(std::ranges::none_of(clean, [](unsigned char c) { return c < 20; }), "CleanString: no code below 20");
    const auto bytes = ToAnsiBytes(text);
    Expect(bytes.size() == std::min<std::size_t>(size, 32767) + 1 && bytes.back() == 0 &&
               std::equal(bytes.begin(), bytes.end() - 1, data), "ToAnsiBytes: the input's bytes, terminated");
    Expect(NumberPartLength(text) - 1 <= size, "NumberPartLength: the title starts inside the caption");

    const double number = LeadingNumber(text);
    if (std::isfinite(number)) {
        char written[400];  // the fixed notation of the largest double has 309 digits
        const auto end = std::to_chars(written, std::end(written), number, std::chars_format::fixed).ptr;
        Expect(LeadingNumber({written, end}) == number, "LeadingNumber: reads back a number written out");
    }
    const double nearest = std::nearbyint(number);  // halves to even
    const bool fits = nearest >= -32768.0 && nearest <= 32767.0;
    try {
        Expect(RoundToInt16(number) == nearest, "RoundToInt16: the nearest integer, halves to even");
    } catch (const RuntimeError& error) {
        Expect(!fits && error.Number() == kErrOverflow, "RoundToInt16: overflow only outside the 16-bit range");
    }
    return 0;
}
