#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "app/shared_state.h"
#include "platform/desktop.h"

namespace tunebridge {

// Empty, a number, or (mode 13) a string.
using WinampInfoValue = std::variant<std::monostate, std::int32_t, std::string>;

// WM_USER requests to the shared `hWinampWnd`, not to the remote's handle.
WinampInfoValue WinampInfo(Desktop& desktop, SharedState& state, std::uint8_t mode);
std::int32_t WinampSetPlaylistPos(Desktop& desktop, SharedState& state, std::int16_t index);
// Throws an overflow RuntimeError, sending nothing, when seconds x 1000 +
// milliseconds leaves the signed 32-bit range.
std::int32_t WinampJumpToTime(Desktop& desktop, SharedState& state, std::int32_t seconds, std::int32_t milliseconds);

} // namespace tunebridge
