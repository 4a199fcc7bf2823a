#include "app/main_form.h"

#include <functional>

#include "announce/playlist.h"
#include "announce/track_announcer.h"
#include "app/runtime_error.h"
#include "app/startup_services.h"
#include "console/console_command.h"
#include "console/console_poller.h"
#include "hotkeys/hotkey_poller.h"
#include "settings/settings_store.h"
#include "winamp/control_actions.h"

namespace tunebridge {

MainForm::MainForm(Desktop& desktop, SharedState& state) : desktop_(desktop), state_(state), sensorAnnouncer_(desktop) {}

bool MainForm::Load(Hwnd self) {
    self_ = self;

    // 1. Ends the program itself when there is no sound device.
    InitDirectSound(desktop_, self_);

    // 2. From here on a failure goes to the start-up failure handling; Retry
    //    runs the failed step again and goes on from there.
    const std::function<void()> steps[] = {
        // 3.
        [this] { state_.sWinampExe = FindSystemFolder(desktop_, kCSIDL_PROGRAM_FILES) + "\\winamp\\winamp.exe"; },
        // 4.
        [this] { controls.Timer.enabled = false; },
        // 5. Only a completed load may be saved back at unload.
        [this] {
            LoadSettings(desktop_, state_);
            settingsLoaded_ = true;
        },
        // 6.
        [this] { CheckWinamp(desktop_, state_); },
        // 7.
        [this] { objWinamp.emplace(desktop_); },
        // 8. The poller may already have run during the launch wait.
        [this] {
            state_.hConsoleOutput = 0;
            state_.lConsoleSeenLen = 0;
            state_.lConsoleLen = 0;
        },
        // 9.
        [this] { controls.Timer.enabled = true; },
    };
    for (const auto& step : steps) {
        for (;;) {
            try {
                step();
                break;
            } catch (const RuntimeError& error) {
                if (!AskRetry(error)) return false;
            }
        }
    }
    return true;
}

bool MainForm::AskRetry(const RuntimeError& error) {
    if (error.Number() != kErrWinampNotRunning) return false;
    const int answer = desktop_.MessageBoxA(error.Description() + "\r\nPlease run Winamp and click 'Retry'.",
                                            "Error " + std::to_string(error.Number()) + ":",
                                            kMB_RETRYCANCEL | kMB_ICONEXCLAMATION);
    return answer == kIDRETRY;
}

void MainForm::Unload() {
    if (settingsLoaded_) SaveSettings(desktop_, state_);
}

// Handlers yield to the message loop halfway through their work, and the
// view delivers timer ticks inside that yield. A tick of the same timer
// started there would run over its own unfinished tick (the console poller
// would examine the same text twice and type the same line twice), so it is
// skipped; the timer simply ticks again later.
void MainForm::Tick(TimerId timer) {
    if (!controls.TimerOf(timer).enabled) return;
    bool& running = ticking_[static_cast<int>(timer)];
    if (running) return;
    running = true;
    struct Finished {
        bool& flag;
        ~Finished() { flag = false; }
    } finished{running};
    RunTick(timer);
}

void MainForm::RunTick(TimerId timer) {
    switch (timer) {
    case TimerId::Console:
        ConsolePoller(desktop_, state_, controls, [this] { Playlist(); });
        break;
    case TimerId::Timer:
        if (objWinamp) WinampReadoutTick(desktop_, state_, controls, *objWinamp);
        break;
    case TimerId::Timer1:
        TrackAnnouncerTick(desktop_, state_, controls);
        break;
    case TimerId::SupportTimer:
        HotkeyPoller(desktop_, state_, controls, objWinamp ? &*objWinamp : nullptr);
        break;
    case TimerId::tmrMBMMonitor: {
        const auto& colours = state_.ColorCode;
        const auto line = sensorAnnouncer_.Tick({colours[4], colours[5], colours[6], colours[8]}, state_.sConsoleStyle == "Quake3");
        if (line) SendConsoleCommand(desktop_, state_, *line);
        break;
    }
    }
}

void MainForm::Click(ButtonId button) {
    using Action = void (*)(FormControls&, clsWinamp&);
    Action action = nullptr;
    switch (button) {
    case ButtonId::cmdEnd:
        unloadRequested_ = true;
        return;
    case ButtonId::cmdInfo:
    case ButtonId::cmdSettings:
    case ButtonId::cmdSetOSPDefaults:
    case ButtonId::Command1:
        return;
    case ButtonId::cmdTrackPrev: action = cmdTrackPrev_Click; break;
    case ButtonId::cmdTrackNext: action = cmdTrackNext_Click; break;
    case ButtonId::cmdTrackPlay: action = cmdTrackPlay_Click; break;
    case ButtonId::cmdTrackPause: action = cmdTrackPause_Click; break;
    case ButtonId::cmdTrackStop: action = cmdTrackStop_Click; break;
    case ButtonId::cmdTrackFadeout: action = cmdTrackFadeout_Click; break;
    case ButtonId::cmdTrackStopAfter: action = cmdTrackStopAfter_Click; break;
    case ButtonId::cmdFRewind: action = cmdFRewind_Click; break;
    case ButtonId::cmdTrackFForward: action = cmdTrackFForward_Click; break;
    case ButtonId::cmdTrackOpenFile: action = cmdTrackOpenFile_Click; break;
    case ButtonId::cmdTrackOpenURL: action = cmdTrackOpenURL_Click; break;
    }
    if (action && objWinamp) action(controls, *objWinamp);
}

void MainForm::Playlist() {
    if (objWinamp) tunebridge::Playlist(desktop_, state_, controls, *objWinamp);
}

}  // namespace tunebridge
