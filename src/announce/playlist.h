#pragma once

#include <string>

#include "console/console_commands.h"
#include "winamp/player_remote.h"
#include "winamp/player_requests.h"

namespace tunebridge {

// Lists the player's whole playlist in the game console and puts the player
// back on the entry and second it was playing. The answer of every command
// goes to `lastAnswer`, as the main window's buttons show theirs.
void EchoPlaylist(ConsoleCommands& console, PlayerRemote& remote, PlayerRequests& requests, std::string& lastAnswer);

} // namespace tunebridge
