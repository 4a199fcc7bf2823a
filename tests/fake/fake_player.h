#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fake/fake_desktop.h"
#include "engine/player_engine.h"

namespace tunebridge::fake {

using peers::PlayerState;

// The music player's main window on the fake desktop: class "Winamp v1.x",
// its caption kept equal to the player's after every message it handles.
class FakePlayer {
public:
    FakePlayer(FakeDesktop& desktop, std::vector<std::string> titles, int index = 0,
               PlayerState state = PlayerState::playing, std::int32_t positionMs = 0);
    ~FakePlayer();
    FakePlayer(const FakePlayer&) = delete;
    FakePlayer& operator=(const FakePlayer&) = delete;

    Hwnd Window() const { return window_; }

    PlayerState State() const { return engine_.State(); }
    void SetState(PlayerState state);
    int Index() const { return engine_.Index(); }
    void SetIndex(int index);
    std::int32_t Position() const { return engine_.Position(); }
    void SetPosition(std::int32_t positionMs) { engine_.SetPosition(positionMs); }
    void SetPlaylist(std::vector<std::string> titles);
    std::string Caption() const { return engine_.Caption(); }
    int Volume() const { return engine_.Volume(); }

    // Every message the window received, in order.
    std::vector<Message> Received() const { return received_; }
    void ClearReceived() { received_.clear(); }

    const peers::PlayerEngine& Engine() const { return engine_; }

private:
    void ShowCaption();

    FakeDesktop& desktop_;
    peers::PlayerEngine engine_;
    Hwnd window_ = 0;
    std::vector<Message> received_;
};

} // namespace tunebridge::fake
