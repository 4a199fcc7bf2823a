#pragma once

#include <cstdint>
#include <optional>
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

// How long any message to the console may wait for the game. A game loading
// a map answers nothing for seconds; the program's one thread must not wait
// that long, or the hotkeys stop working meanwhile.
inline constexpr unsigned kConsoleAnswerMs = 50;

// The pane's length, nothing when the console did not answer in time or is
// gone. A negative answer is an empty pane.
std::optional<std::int32_t> ReadTextLength(Desktop& desktop, Hwnd pane);
// The pane's whole text of `length` characters, up to its NUL; nothing when
// the console did not answer in time, empty for a length no pane can have.
std::optional<std::string> ReadWindowText(Desktop& desktop, Hwnd pane, std::int32_t length);

} // namespace tunebridge
