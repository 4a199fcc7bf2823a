#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tunebridge {

// `text` without the blanks at either end (only blanks, as the old string
// functions trimmed them: tabs and line breaks stay).
std::string TrimSpaces(std::string_view text);

// Every occurrence of `from` (exact, left to right, not overlapping) replaced
// by `to`; the inserted text is not searched again.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// ASCII letters in lower case, every other byte as it is: the words the
// program looks for are ASCII, and which letters of the system code page
// pair up is not known here.
constexpr char FoldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The text before its first NUL, as a C string would read it.
std::string CutAtNul(std::string_view text);

// The NUL-terminated ANSI bytes of a command line. The program's text already
// holds ANSI bytes of the system code page, one per character, so this is
// byte for byte; the text is cut at 32,767 characters, the longest line an
// input line counts in its signed 16-bit length.
std::vector<std::uint8_t> ToAnsiBytes(std::string_view text);

// The text before the first character whose code is below 20, blanks trimmed.
std::string CleanString(std::string_view text);

// Winamp's caption starts with the entry number and a full stop ("12. Song").
// The number part is the caption's first NumberPartLength characters: up to
// and including the character after the first ".", or the first character
// when there is no ".". The title starts one character earlier.
std::size_t NumberPartLength(std::string_view caption);

} // namespace tunebridge
