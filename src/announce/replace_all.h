#pragma once

#include <string>
#include <string_view>

namespace tunebridge {

// Every occurrence of `from` (exact, left to right, not overlapping) replaced
// by `to`; the inserted text is not searched again.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

} // namespace tunebridge
