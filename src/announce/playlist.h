#pragma once

#include "app/form_controls.h"
#include "app/shared_state.h"
#include "platform/desktop.h"
#include "winamp/cls_winamp.h"

namespace tunebridge {

// Lists Winamp's whole playlist in the game console and puts Winamp back
// on the entry and second it was playing.
void Playlist(Desktop& desktop, SharedState& state, FormControls& form, clsWinamp& winamp);

} // namespace tunebridge
