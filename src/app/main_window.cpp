#include "app/main_window.h"

#include <functional>

#include "announce/playlist.h"
#include "app/startup_services.h"
#include "hotkeys/hotkey_poller.h"
#include "resources/control_ids.h"
#include "settings/settings_store.h"

namespace tunebridge {
namespace {

namespace id = control_id;

constexpr unsigned kConsolePollMs = 1;

struct TransportButton {
    int controlId;
    PlayerOperation operation;
};

constexpr TransportButton kTransportButtons[] = {
    {id::kTrackPrev, PlayerOperation::TrackPrev},
    {id::kTrackNext, PlayerOperation::TrackNext},
    {id::kTrackPlay, PlayerOperation::TrackPlay},
    {id::kTrackPause, PlayerOperation::TrackPause},
    {id::kTrackStop, PlayerOperation::TrackStop},
    {id::kTrackFadeout, PlayerOperation::TrackFadeout},
    {id::kTrackStopAfter, PlayerOperation::TrackStopAfter},
    {id::kTrackRewind, PlayerOperation::TrackFRewind},
    {id::kTrackForward, PlayerOperation::TrackFForward},
    {id::kTrackOpenFile, PlayerOperation::TrackOpenFile},
    {id::kTrackOpenUrl, PlayerOperation::TrackOpenURL},
};

} // namespace

MainWindow::MainWindow(Desktop& desktop, SharedState& shared)
    : desktop_(desktop), shared_(shared),
      poller_(desktop, shared.console,
              {std::string(kTrackLinePrinted), std::string(kPlaylistLinePrinted), std::string(kSensorLinePrinted)}),
      announcer_(desktop, shared.console, shared.player, shared.settings), sensorAnnouncer_(desktop) {}

bool MainWindow::Load(Hwnd self) {
    // Ends the program itself when there is no sound device.
    InitDirectSound(desktop_, self);

    // From here on a failure goes to the start-up failure handling; Retry
    // runs the failed step again and goes on from there.
    const std::function<void()> steps[] = {
        [this] { playerExe_ = FindSystemFolder(desktop_, kCsidlPlayerFolder) + "\\winamp\\winamp.exe"; },
        [this] { TimerOf(MainTimer::PlayerReadout).enabled = false; },
        // Only a completed load may be saved back at unload.
        [this] {
            LoadSettings(desktop_, shared_.settings);
            settingsLoaded_ = true;
        },
        [this] { CheckWinamp(desktop_, playerExe_, shared_.player); },
        // A player started by hand after the Retry prompt was not there for
        // the launch check; the requests follow the remote's window then.
        [this] {
            remote_.emplace(desktop_);
            if (shared_.player.Window() == 0) shared_.player.SetWindow(remote_->Window());
        },
        // The poller may already have run during the launch wait.
        [this] { poller_.ResetOutput(); },
        [this] { TimerOf(MainTimer::PlayerReadout).enabled = true; },
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

bool MainWindow::AskRetry(const RuntimeError& error) {
    if (error.Number() != kErrWinampNotRunning) return false;
    const int answer = desktop_.MessageBoxA(error.Description() + "\r\nPlease run Winamp and click 'Retry'.",
                                            "Error " + std::to_string(error.Number()) + ":",
                                            kMB_RETRYCANCEL | kMB_ICONEXCLAMATION);
    return answer == kIDRETRY;
}

void MainWindow::Unload() {
    if (settingsLoaded_) SaveSettings(desktop_, shared_.settings);
}

// Handlers yield to the message loop halfway through their work, and the
// view delivers timer ticks inside that yield. A tick of the same timer
// started there would run over its own unfinished tick (the console poller
// would examine the same text twice and type the same line twice), so it is
// skipped; the timer simply ticks again later.
void MainWindow::Tick(MainTimer timer) {
    if (!Timer(timer).enabled) return;
    bool& running = ticking_[static_cast<std::size_t>(timer)];
    if (running) return;
    running = true;
    struct Finished {
        bool& flag;
        ~Finished() { flag = false; }
    } finished{running};
    RunTick(timer);
}

void MainWindow::RunTick(MainTimer timer) {
    switch (timer) {
    case MainTimer::ConsolePoll:
        TimerOf(MainTimer::ConsolePoll).intervalMs = kConsolePollMs;
        poller_.Tick(shared_.settings.uniqueWord, consoleReadout_, [this] { EchoPlaylist(); });
        break;
    case MainTimer::PlayerReadout:
        if (remote_) ReadOutPlayer(desktop_, shared_.player, *remote_, playerCaption_, actions_.lastAnswer);
        break;
    case MainTimer::TrackAnnounce:
        announcer_.Tick(playerCaption_, trackLine_);
        break;
    case MainTimer::HotkeyPoll:
        // A combination pressed before start-up made the remote runs nothing.
        if (const auto slot = PollHotkeys(desktop_, shared_.settings); slot && remote_)
            RunPlayerAction(*remote_, HotkeyOperation(*slot), actions_);
        break;
    case MainTimer::SensorAnnounce: {
        // The sensor line has no colours of its own: it borrows the track
        // line's state tag and minutes.
        const Settings& settings = shared_.settings;
        const SensorColours colours{settings.Color(ColorElement::StateOpen), settings.Color(ColorElement::StateWord),
                                    settings.Color(ColorElement::StateClose), settings.Color(ColorElement::Minutes)};
        if (const auto line = sensorAnnouncer_.Tick(colours, shared_.console.ShowsColours()))
            shared_.console.Send(*line);
        break;
    }
    }
}

void MainWindow::OnClick(int controlId) {
    if (controlId == id::kQuit) {
        closeRequested_ = true;
        return;
    }
    const bool dialogOpen = settingsDialog_ || aboutBox_;
    if (controlId == id::kSettings && !dialogOpen) settingsDialog_.emplace(desktop_, shared_.settings);
    if (controlId == id::kAbout && !dialogOpen) aboutBox_.emplace(desktop_);
    for (const TransportButton& button : kTransportButtons) {
        if (button.controlId == controlId && remote_) RunPlayerAction(*remote_, button.operation, actions_);
    }
}

void MainWindow::DialogClosed() {
    settingsDialog_.reset();
    aboutBox_.reset();
}

void MainWindow::EchoPlaylist() {
    if (remote_) tunebridge::EchoPlaylist(desktop_, shared_.console, *remote_, shared_.player, actions_.lastAnswer);
}

std::optional<ControlState> MainWindow::StateOf(int controlId) const {
    const std::string* caption = nullptr;
    switch (controlId) {
    case id::kPlayerCaption: caption = &playerCaption_; break;
    case id::kLastAction: caption = &actions_.lastAction; break;
    case id::kLastAnswer: caption = &actions_.lastAnswer; break;
    case id::kConsoleText: caption = &consoleReadout_.newestText; break;
    case id::kConsoleStatus: caption = &consoleReadout_.status; break;
    case id::kTrackLine: caption = &trackLine_; break;
    default: return std::nullopt;
    }
    // Every label the logic writes shows text of other programs or plain ASCII.
    return ControlState{.caption = *caption, .ansiCaption = true};
}

} // namespace tunebridge
