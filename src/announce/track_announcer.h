#pragma once

#include <cstdint>
#include <string>

#include "app/form_controls.h"
#include "app/shared_state.h"
#include "platform/desktop.h"
#include "winamp/cls_winamp.h"

namespace tunebridge {

// Minutes and seconds of the play time; negative seconds become 0, also in
// the caller's variable.
std::string FormatTime(const SharedState& state, std::int16_t& seconds);
// The `Timer` tick: Winamp's caption into `song`, the position into `lblretval`.
void WinampReadoutTick(Desktop& desktop, SharedState& state, FormControls& form, clsWinamp& winamp);
// The `Timer1` tick: the track announcer.
void TrackAnnouncerTick(Desktop& desktop, SharedState& state, FormControls& form);

} // namespace tunebridge
