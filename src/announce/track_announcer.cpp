#include "announce/track_announcer.h"
namespace tunebridge {
std::string FormatTime(const SharedState&, std::int16_t&) { return {}; }
void WinampReadoutTick(Desktop&, SharedState&, FormControls&, clsWinamp&) {}
void TrackAnnouncerTick(Desktop&, SharedState&, FormControls&) {}
}  // namespace tunebridge
