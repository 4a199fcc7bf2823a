#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/desktop.h"
#include "winamp/player_window.h"

namespace tunebridge {

// Empty, a number, or (mode 13) a string.
using PlayerInfoValue = std::variant<std::monostate, std::int32_t, std::string>;

// WM_USER requests to the player window that the start-up launch check
// found, which is not necessarily the remote's window.
class PlayerRequests {
public:
    explicit PlayerRequests(Desktop& desktop) : desktop_(desktop) {}

    Hwnd Window() const { return window_.Known(); }
    void SetWindow(Hwnd window) { window_ = PlayerWindow(window); }
    // The player window, found again by its class when the one known is
    // gone (the player was closed and started again); 0 when none runs.
    Hwnd LiveWindow() { return window_.Live(desktop_); }

    // Information request `mode` (0..255); failures answer empty.
    PlayerInfoValue Info(std::uint8_t mode);
    // Selects the 0-based playlist entry; failures answer 0.
    std::int32_t SetPlaylistPos(std::int16_t index);
    // Throws an overflow RuntimeError, sending nothing, when seconds x 1000
    // + milliseconds leaves the signed 32-bit range.
    std::int32_t JumpToTime(std::int32_t seconds, std::int32_t milliseconds);
    // The playing position in whole seconds, rounded down (-1 ms gives -1);
    // 0 when the request brings no number back.
    std::int32_t PlayingSeconds();

private:
    // "12. Artist - Song - Winamp [Paused]" -> "Artist - Song".
    std::string CleanTitle();

    Desktop& desktop_;
    PlayerWindow window_;
    // The raw caption cleaned last and the result.
    std::string cleanedCaption_;
    std::string cleanTitle_;
};

} // namespace tunebridge
