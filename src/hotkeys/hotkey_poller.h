#pragma once

#include "app/form_controls.h"
#include "app/shared_state.h"
#include "platform/desktop.h"
#include "winamp/cls_winamp.h"

namespace tunebridge {

// One tick of `SupportTimer`. `winamp` is null until start-up has created
// the remote; a combination pressed before then runs nothing.
void HotkeyPoller(Desktop& desktop, SharedState& state, FormControls& form, clsWinamp* winamp);

} // namespace tunebridge
