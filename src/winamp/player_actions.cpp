#include "winamp/player_actions.h"

namespace tunebridge {

void RunPlayerAction(PlayerRemote& remote, PlayerOperation operation, ActionReadout& readout) {
    readout.lastAction = Describe(operation).name;
    readout.lastAnswer = std::to_string(remote.Send(operation));
}

} // namespace tunebridge
