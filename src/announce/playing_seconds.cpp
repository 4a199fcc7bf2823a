#include "announce/playing_seconds.h"

#include <variant>

#include "winamp/winamp_requests.h"

namespace tunebridge {
namespace {

constexpr std::uint8_t kInfoPositionMs = 4;

} // namespace

std::int32_t PlayingSeconds(Desktop& desktop, SharedState& state) {
    const WinampInfoValue answer = WinampInfo(desktop, state, kInfoPositionMs);
    const auto* ms = std::get_if<std::int32_t>(&answer);
    if (ms == nullptr) return 0;
    std::int32_t seconds = *ms / 1000;
    if (*ms % 1000 < 0) --seconds;
    return seconds;
}

} // namespace tunebridge
