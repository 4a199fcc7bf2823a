#pragma once

#include <string>

#include "platform/desktop.h"

namespace tunebridge {

// The console style of the one engine console that keeps colour codes on screen.
inline constexpr const char* kColourStyle = "Quake3";

// The command path's lookup: the three console titles in order; `style`
// records the style of the last title tried. 0 when no console exists.
Hwnd FindConsoleWindow(Desktop& desktop, std::string& style);
// The poller's lookup: the same titles, the style untouched.
Hwnd FindConsoleForPoller(Desktop& desktop);
// The output pane: the console's fifth child, 0 when there is none.
Hwnd LocateOutputPane(Desktop& desktop, Hwnd console);
// The last 50 characters of the window text with its terminating NUL.
std::string ReadWindowTail(Desktop& desktop, Hwnd window);

} // namespace tunebridge
