#pragma once

#include "platform/desktop.h"

namespace tunebridge {

// Winamp's main window is known by its class alone.
inline constexpr const char* kPlayerWindowClass = "Winamp v1.x";

// The player window, 0 when no player runs.
inline Hwnd FindPlayerWindow(Desktop& desktop) { return desktop.FindWindowA(kPlayerWindowClass, ""); }

// A player window as one part of the program knows it: the one it was given
// or found, found again by its class once that one is gone (the player was
// closed and started again).
class PlayerWindow {
public:
    explicit PlayerWindow(Hwnd window = 0) : window_(window) {}
    Hwnd Known() const { return window_; }
    Hwnd Live(Desktop& desktop) {
        if (!desktop.IsWindow(window_)) window_ = FindPlayerWindow(desktop);
        return window_;
    }

private:
    Hwnd window_;
};

} // namespace tunebridge
