#include "core/plain_letters.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tunebridge {
namespace {

constexpr char16_t kFirstTabled = 0x00A0;

// U+00A0 to U+017F (Latin-1 Supplement and Latin Extended-A), one entry each.
constexpr std::array<const char*, 0x180 - kFirstTabled> kLatin = {
    // U+00A0: signs
    " ", "!", "c", "L", "?", "Y", "|", "S", "\"", "(c)", "a", "<<", "-", "-", "(R)", "-",
    "o", "+-", "2", "3", "'", "u", "P", ".", ",", "1", "o", ">>", "1/4", "1/2", "3/4", "?",
    // U+00C0: capitals
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", "x", "O", "U", "U", "U", "U", "Y", "Th", "ss",
    // U+00E0: small letters
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", "/", "o", "u", "u", "u", "u", "y", "th", "y",
    // U+0100: Latin Extended-A
    "A", "a", "A", "a", "A", "a", "C", "c", "C", "c", "C", "c", "C", "c", "D", "d",
    "D", "d", "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "G", "g", "G", "g",
    "G", "g", "G", "g", "H", "h", "H", "h", "I", "i", "I", "i", "I", "i", "I", "i",
    "I", "i", "IJ", "ij", "J", "j", "K", "k", "k", "L", "l", "L", "l", "L", "l", "L",
    "l", "L", "l", "N", "n", "N", "n", "N", "n", "n", "N", "n", "O", "o", "O", "o",
    "O", "o", "OE", "oe", "R", "r", "R", "r", "R", "r", "S", "s", "S", "s", "S", "s",
    "S", "s", "T", "t", "T", "t", "T", "t", "U", "u", "U", "u", "U", "u", "U", "u",
    "U", "u", "U", "u", "W", "w", "Y", "y", "Y", "Z", "z", "Z", "z", "Z", "z", "s",
};

static_assert(std::ranges::none_of(kLatin, [](const char* plain) { return plain == nullptr; }),
              "one entry for every character of the table");

struct Sign {
    char16_t code;
    const char* plain;
};

// Outside the table: what code page 1252 shows in 0x80-0x9F, and a few
// more signs that titles use.
constexpr Sign kSigns[] = {
    {0x0192, "f"},   {0x02C6, "?"},  {0x02DC, "~"},  {0x2013, "-"},  {0x2014, "-"},  {0x2018, "'"},
    {0x2019, "'"},   {0x201A, ","},  {0x201C, "\""}, {0x201D, "\""}, {0x201E, "\""}, {0x2020, "+"},
    {0x2021, "+"},   {0x2022, "*"},  {0x2026, "..."}, {0x2030, "%o"}, {0x2039, "<"}, {0x203A, ">"},
    {0x20AC, "EUR"}, {0x2122, "TM"},
};

constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string PlainLetters(std::u16string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            plain.push_back(static_cast<char>(c));
        } else if (c >= kFirstTabled && c - kFirstTabled < static_cast<int>(kLatin.size())) {
            plain += kLatin[c - kFirstTabled];
        } else if (const auto* sign = std::ranges::find(kSigns, c, &Sign::code); sign != std::end(kSigns)) {
            plain += sign->plain;
        } else {
            if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
            plain.push_back('?');
        }
    }
    return plain;
}

}  // namespace tunebridge
