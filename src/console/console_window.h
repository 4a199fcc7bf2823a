#pragma once

#include <string>

#include "app/shared_state.h"
#include "platform/desktop.h"

namespace tunebridge {

// The command path's lookup: the three console titles in order; records
// `sConsoleStyle` as it goes. 0 when no console window exists.
Hwnd FindConsoleWindow(Desktop& desktop, SharedState& state);
// The poller's lookup: each attempt goes straight into `hConsoleWnd`,
// `sConsoleStyle` untouched.
void LookUpConsoleForPoller(Desktop& desktop, SharedState& state);
// The output pane: the console's fifth child, 0 when there is none.
Hwnd LocateOutputPane(Desktop& desktop, Hwnd console);
// The last 50 characters of the window text with its terminating NUL.
std::string ReadWindowTail(Desktop& desktop, Hwnd& window);

} // namespace tunebridge
