#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "about/about_box.h"
#include "announce/track_announcer.h"
#include "app/shared_state.h"
#include "console/console_poller.h"
#include "mbm/sensor_announcer.h"
#include "core/runtime_error.h"
#include "platform/desktop.h"
#include "platform/window_model.h"
#include "settings_dialog/settings_dialog.h"
#include "winamp/player_actions.h"
#include "winamp/player_remote.h"

namespace tunebridge {

// The main window's timers, named after their work.
enum class MainTimer { ConsolePoll, PlayerReadout, TrackAnnounce, HotkeyPoll, SensorAnnounce };
inline constexpr std::size_t kMainTimerCount = 5;

struct TimerSetting {
    unsigned intervalMs;
    bool enabled;
};

// The main window's behaviour, free of Win32: start-up, the timers' work,
// the buttons and what the labels show.
class MainWindow final : public WindowModel {
public:
    MainWindow(Desktop& desktop, SharedState& shared);

    // The start-up sequence. False: start-up failed and the window is to be
    // closed without being shown.
    bool Load(Hwnd self);
    // Saves the settings, unless their load did not finish.
    void Unload();
    void Tick(MainTimer timer);
    const TimerSetting& Timer(MainTimer timer) const { return timers_[static_cast<std::size_t>(timer)]; }

    std::optional<ControlState> StateOf(int controlId) const override;
    void OnClick(int controlId) override;
    bool CloseRequested() const override { return closeRequested_; }

    // The in-game playlist request.
    void EchoPlaylist();

    // The dialog that "Settings ..." or the info button opened, while it is
    // open; null otherwise. One dialog at a time: the main window takes no
    // input while one is open.
    SettingsDialog* OpenSettingsDialog() { return settingsDialog_ ? &*settingsDialog_ : nullptr; }
    AboutBox* OpenAboutBox() { return aboutBox_ ? &*aboutBox_ : nullptr; }
    // The dialog's window is gone; the next opening starts afresh.
    void DialogClosed();

private:
    void RunTick(MainTimer timer);
    // The Retry box for a start-up failure; true to run the failed step again.
    bool AskRetry(const RuntimeError& error);
    TimerSetting& TimerOf(MainTimer timer) { return timers_[static_cast<std::size_t>(timer)]; }

    Desktop& desktop_;
    SharedState& shared_;
    std::string playerExe_;
    std::optional<PlayerRemote> remote_;
    ConsolePoller poller_;
    TrackAnnouncer announcer_;
    SensorAnnouncer sensorAnnouncer_;

    // What the labels show.
    std::string playerCaption_ = "00:00:00";
    ActionReadout actions_;
    ConsoleReadout consoleReadout_{"Label3", "Label3"};
    std::string trackLine_ = "Label3";

    std::optional<SettingsDialog> settingsDialog_;
    std::optional<AboutBox> aboutBox_;

    std::array<TimerSetting, kMainTimerCount> timers_{{{500, true}, {100, true}, {500, true}, {10, true}, {10000, true}}};
    std::array<bool, kMainTimerCount> ticking_{};
    bool settingsLoaded_ = false;
    bool closeRequested_ = false;
};

} // namespace tunebridge
