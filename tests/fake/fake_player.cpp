#include "fake/fake_player.h"

namespace tunebridge::fake {

FakePlayer::FakePlayer(FakeDesktop& desktop, std::vector<std::string> titles, int index, PlayerState state,
                       std::int32_t positionMs)
    : desktop_(desktop), engine_(std::move(titles), index, state, positionMs) {
    window_ = desktop_.CreateWindow("Winamp v1.x", engine_.Caption());
    desktop_.Window(window_).handler = [this](FakeWindow& window, const Message& message) -> std::optional<std::int32_t> {
        received_.push_back(message);
        if (message.msg != kWM_COMMAND && message.msg != kWM_USER) return std::nullopt;
        const std::int32_t answer = engine_.Receive(message.msg, message.wParam, message.lParam);
        window.caption = engine_.Caption();
        return answer;
    };
}

FakePlayer::~FakePlayer() {
    if (desktop_.Exists(window_)) desktop_.DestroyWindow(window_);
}

void FakePlayer::ShowCaption() {
    if (desktop_.Exists(window_)) desktop_.Window(window_).caption = engine_.Caption();
}

void FakePlayer::SetState(PlayerState state) {
    engine_.SetState(state);
    ShowCaption();
}

void FakePlayer::SetIndex(int index) {
    engine_.SetIndex(index);
    ShowCaption();
}

void FakePlayer::SetPlaylist(std::vector<std::string> titles) {
    engine_.SetPlaylist(std::move(titles));
    ShowCaption();
}

}  // namespace tunebridge::fake
