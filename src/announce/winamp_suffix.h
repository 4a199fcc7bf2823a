#pragma once

#include <string_view>

namespace tunebridge {

// What Winamp puts after the track in its caption; removed wherever it stands.
inline constexpr std::string_view kWinampSuffix = " - Winamp";

} // namespace tunebridge
