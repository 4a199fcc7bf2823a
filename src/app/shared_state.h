#pragma once

#include "console/console_commands.h"
#include "platform/desktop.h"
#include "settings/settings.h"
#include "winamp/player_requests.h"

namespace tunebridge {

// What the subsystems share, owned by the application for the whole run:
// the settings, the console's command path (whose style the announcers
// follow) and the player window that the start-up launch check found.
struct SharedState {
    explicit SharedState(Desktop& desktop) : console(desktop), player(desktop) {}

    Settings settings;
    ConsoleCommands console;
    PlayerRequests player;
};

} // namespace tunebridge
