#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/form_controls.h"
#include "app/runtime_error.h"
#include "app/shared_state.h"
#include "mbm/sensor_announcer.h"
#include "platform/desktop.h"
#include "winamp/cls_winamp.h"

namespace tunebridge {

enum class ButtonId {
    cmdEnd, cmdInfo, cmdSettings, cmdSetOSPDefaults, Command1,
    cmdTrackPrev, cmdTrackNext, cmdTrackPlay, cmdTrackPause, cmdTrackStop, cmdTrackFadeout,
    cmdTrackStopAfter, cmdFRewind, cmdTrackFForward, cmdTrackOpenFile, cmdTrackOpenURL,
};

// The main window's behaviour, free of Win32: the view forwards its events
// here and shows `controls` afterwards.
class MainForm {
public:
    MainForm(Desktop& desktop, SharedState& state);

    // Load handler, the start-up sequence. False: start-up failed and the
    // window is to be unloaded without being shown.
    bool Load(Hwnd self);
    // Unload handler: saves the settings unless their load did not finish.
    void Unload();
    void Tick(TimerId timer);
    void Click(ButtonId button);
    // Set by cmdEnd: the view closes the window.
    bool UnloadRequested() const { return unloadRequested_; }

    // The playlist echo, the window's public routine.
    void Playlist();

    FormControls controls;
    std::optional<clsWinamp> objWinamp;

private:
    void RunTick(TimerId timer);
    // The Retry box for a start-up failure; true to run the failed step again.
    bool AskRetry(const RuntimeError& error);

    Desktop& desktop_;
    SharedState& state_;
    Hwnd self_ = 0;
    bool settingsLoaded_ = false;
    bool unloadRequested_ = false;
    bool ticking_[5] = {};
    SensorAnnouncer sensorAnnouncer_;
};

} // namespace tunebridge
