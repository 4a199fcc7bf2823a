#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "console/console_commands.h"
#include "platform/desktop.h"

namespace tunebridge {

// What the poller shows on the main window.
struct ConsoleReadout {
    std::string newestText;  // the newest console text, up to its NUL
    std::string status;      // the game's state when no console runs
};

// Watches the game console's output pane: keeps the newest examined text,
// clears a console that grew too long, answers the renderer's start with
// "name" and notices the player's playlist marker.
class ConsolePoller {
public:
    ConsolePoller(Desktop& desktop, ConsoleCommands& commands) : desktop_(desktop), commands_(commands) {}

    // One tick. `uniqueWord` followed by ":Playlist" in the newest text
    // calls `onPlaylistRequest`. Yields to the message loop on the way.
    void Tick(const std::string& uniqueWord, ConsoleReadout& readout, const std::function<void()>& onPlaylistRequest);

    // Forgets the pane and what was seen of it; the console window stays.
    void ResetOutput();

private:
    Desktop& desktop_;
    ConsoleCommands& commands_;
    Hwnd console_ = 0;
    Hwnd outputPane_ = 0;
    std::int32_t length_ = 0;
    std::int32_t seenLength_ = 0;
    // At most 49 characters and the NUL that ended the pane's text.
    std::string tail_;
};

} // namespace tunebridge
