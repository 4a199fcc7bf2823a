#pragma once

#include <cstdint>
#include <string_view>

namespace tunebridge {

// Every player command of the remote, named by area and action.
enum class PlayerOperation {
    TrackPrev, TrackNext, TrackPlay, TrackPause, TrackStop, TrackFadeout, TrackStopAfter, TrackFForward,
    TrackFRewind, TrackOpenFile, TrackOpenURL, TrackInfo, ListStart, ListEnd, VisDispElapsed, VisDispRemaining,
    VisPlugInOptions, VisPlugInExec, ToggleScrPreferences, ToggleScrAbout, ToggleAutoscroll, ToggleAlwaysOnTop,
    ToggleWindowshadeMain, ToggleWindowshadeList, ToggleDoublesize, ToggleEq, ToggleList, ToggleMain,
    ToggleBrowser, ToggleEasyMove, ToggleRepeat, ToggleShuffle, VolRaise, VolLower, MiscJumpToTime,
    MiscJumpToFile, MiscSkinSelector, MiscSkinReload, MiscClose,
};

// The name the main window's last-action label shows for the operation, and
// the WM_COMMAND id the player knows it by.
struct PlayerOperationInfo {
    PlayerOperation operation;
    std::string_view name;
    std::uint32_t commandId;
};

const PlayerOperationInfo& Describe(PlayerOperation operation);

} // namespace tunebridge
