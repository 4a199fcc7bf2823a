#pragma once

#include "app/shared_state.h"
#include "platform/desktop.h"

namespace tunebridge {

// Binds the default DirectSound device to the main window; ends the program
// with a message when that is impossible.
void InitDirectSound(Desktop& desktop, Hwnd mainWindow);
// Starts Winamp from `sWinampExe` when no Winamp window exists and waits for
// its window; sets `hWinampWnd`.
void CheckWinamp(Desktop& desktop, SharedState& state);

} // namespace tunebridge
