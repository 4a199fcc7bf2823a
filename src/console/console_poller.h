#pragma once

#include <functional>

#include "app/form_controls.h"
#include "app/shared_state.h"
#include "platform/desktop.h"

namespace tunebridge {

// One tick of the `Console` timer; `playlist` is the main window's Playlist.
void ConsolePoller(Desktop& desktop, SharedState& state, FormControls& form, const std::function<void()>& playlist);

} // namespace tunebridge
