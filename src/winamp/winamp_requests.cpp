#include "winamp/winamp_requests.h"
namespace tunebridge {
WinampInfoValue WinampInfo(Desktop&, SharedState&, std::uint8_t) { return {}; }
std::int32_t WinampSetPlaylistPos(Desktop&, SharedState&, std::int16_t) { return 0; }
std::int32_t WinampJumpToTime(Desktop&, SharedState&, std::int32_t, std::int32_t) { return 0; }
}  // namespace tunebridge
