#pragma once

#include <string>
#include <string_view>

namespace tunebridge {

// The text in ASCII: characters below 0x80 as they are, letters with accents
// as their plain letters ("ó" is "o", "Æ" is "AE", "ß" is "ss", "þ" is "th"),
// common signs as their ASCII look-alikes ("–" is "-", "…" is "..."), and
// every other character as "?" (a surrogate pair as one).
std::string PlainLetters(std::u16string_view text);

} // namespace tunebridge
