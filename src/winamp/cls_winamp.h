#pragma once

#include <cstdint>
#include <string>

#include "platform/desktop.h"

namespace tunebridge {

// Winamp's main window is known by its class alone.
inline constexpr const char* kWinampClass = "Winamp v1.x";

// The Winamp remote: one WM_COMMAND per player command to the window of
// class "Winamp v1.x" found once, at construction.
class clsWinamp {
public:
    // Throws RuntimeError 0x80040001 "Winamp is not running" (source
    // "Winamp Class") when no Winamp window exists.
    explicit clsWinamp(Desktop& desktop);

    Hwnd hwnd() const { return hwnd_; }

    std::int32_t TrackPrev();
    std::int32_t TrackNext();
    std::int32_t TrackPlay();
    std::int32_t TrackPause();
    std::int32_t TrackStop();
    std::int32_t TrackFadeout();
    std::int32_t TrackStopAfter();
    std::int32_t TrackFForward();
    std::int32_t TrackFRewind();
    std::int32_t TrackOpenFile();
    std::int32_t TrackOpenURL();
    std::int32_t TrackInfo();
    std::int32_t ListStart();
    std::int32_t ListEnd();
    std::int32_t VisDispElapsed();
    std::int32_t VisDispRemaining();
    std::int32_t VisPlugInOptions();
    std::int32_t VisPlugInExec();
    std::int32_t ToggleScrPreferences();
    std::int32_t ToggleScrAbout();
    std::int32_t ToggleAutoscroll();
    std::int32_t ToggleAlwaysOnTop();
    std::int32_t ToggleWindowshadeMain();
    std::int32_t ToggleWindowshadeList();
    std::int32_t ToggleDoublesize();
    std::int32_t ToggleEq();
    std::int32_t ToggleList();
    std::int32_t ToggleMain();
    std::int32_t ToggleBrowser();
    std::int32_t ToggleEasyMove();
    std::int32_t ToggleRepeat();
    std::int32_t ToggleShuffle();
    std::int32_t VolRaise();
    std::int32_t VolLower();
    std::int32_t MiscJumpToTime();
    std::int32_t MiscJumpToFile();
    std::int32_t MiscSkinSelector();
    std::int32_t MiscSkinReload();
    std::int32_t MiscClose();

    // The window caption: up to 2047 characters, cut at the first NUL.
    std::string GetWinampTitle();

private:
    std::int32_t Command(std::uint32_t id);

    Desktop* desktop_;
    Hwnd hwnd_;
};

} // namespace tunebridge
