#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace tunebridge {

// The longest line the program types. The game runs at most 507 characters
// of a typed line and drops the rest, which would lose a track line's time.
inline constexpr std::size_t kLongestTypedLine = 500;

// Text of other programs (a title, a playlist entry, a sensor name) as the
// game's tokenizer reads it whole: letters outside ASCII, which it takes for
// blanks, become their plain letters, and "//" and "/*", which start a
// comment, get a colour code between their two characters. The console
// drops that code when it prints; `colour` is the digit the text is shown
// in, so the line's colours on screen stay as they were.
std::string ReadableByEngine(Desktop& desktop, std::string_view ansi, char colour);

// head + text + tail in at most kLongestTypedLine characters: when that is
// too long, the text is shortened and ends in "...", so the head and the
// end of the line (a state, a time, the closing colour) stay.
std::string FitLine(std::string_view head, std::string_view text, std::string_view tail);

} // namespace tunebridge
