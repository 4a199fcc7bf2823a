#pragma once

#include <cstdint>
#include <string>

#include "platform/desktop.h"
#include "winamp/player_operations.h"
#include "winamp/player_window.h"

namespace tunebridge {

// The player's remote: one WM_COMMAND per operation to the player window
// found when the remote was made, or found again when that window is gone
// (the player was closed and started again).
class PlayerRemote {
public:
    // Throws RuntimeError 0x80040001 "Winamp is not running" (source
    // "Winamp Class") when no player window exists.
    explicit PlayerRemote(Desktop& desktop);

    Hwnd Window() const { return window_.Known(); }

    // The player's answer to the command.
    std::int32_t Send(PlayerOperation operation);

    // The window caption: up to 2047 characters, cut at the first NUL.
    std::string Caption();

private:
    Desktop* desktop_;
    PlayerWindow window_;
};

} // namespace tunebridge
