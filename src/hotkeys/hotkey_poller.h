#pragma once

#include <optional>

#include "platform/desktop.h"
#include "settings/settings.h"
#include "winamp/player_operations.h"

namespace tunebridge {

// One tick of the hotkey poll: yields to the message loop, then the slot
// whose combination was newly pressed, if any.
std::optional<HotkeySlot> PollHotkeys(Desktop& desktop, const Settings& settings);

// What each hotkey makes the player do.
PlayerOperation HotkeyOperation(HotkeySlot slot);

} // namespace tunebridge
