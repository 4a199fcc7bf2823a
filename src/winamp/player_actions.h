#pragma once

#include <string>

#include "winamp/player_operations.h"
#include "winamp/player_remote.h"

namespace tunebridge {

// The main window's two labels about the player: the last operation sent
// and the last answer from the player (also the playing position).
struct ActionReadout {
    std::string lastAction = "Startup";
    std::string lastAnswer = "Label3";
};

// A button's or hotkey's action: the operation's name on the last-action
// label, the command, and the player's answer on the last-answer label.
void RunPlayerAction(PlayerRemote& remote, PlayerOperation operation, ActionReadout& readout);

} // namespace tunebridge
