#pragma once

#include <string>
#include <string_view>

#include "console/console_commands.h"
#include "platform/desktop.h"
#include "winamp/player_remote.h"
#include "winamp/player_requests.h"

namespace tunebridge {

// How a playlist line begins where the game prints it.
inline constexpr std::string_view kPlaylistLinePrinted = "Playlist : ";

// Lists the player's whole playlist in the game console and puts the player
// back on the entry and second it was playing. The answer of every command
// goes to `lastAnswer`, as the main window's buttons show theirs.
void EchoPlaylist(Desktop& desktop, ConsoleCommands& console, PlayerRemote& remote, PlayerRequests& requests,
                  std::string& lastAnswer);

} // namespace tunebridge
