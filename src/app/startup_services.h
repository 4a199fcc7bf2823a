#pragma once

#include <string>

#include "platform/desktop.h"
#include "winamp/player_requests.h"

namespace tunebridge {

// Binds the default DirectSound device to the main window; ends the program
// with a message when that is impossible.
void InitDirectSound(Desktop& desktop, Hwnd mainWindow);
// Starts the player from `playerExe` when no player window exists and waits
// for its window, which `requests` then address.
void CheckWinamp(Desktop& desktop, const std::string& playerExe, PlayerRequests& requests);

} // namespace tunebridge
