#include "winamp/player_remote.h"

#include "core/runtime_error.h"
#include "core/text.h"

namespace tunebridge {
namespace {

constexpr int kCaptionBufferChars = 2048;

} // namespace

PlayerRemote::PlayerRemote(Desktop& desktop)
    : desktop_(&desktop), window_(desktop.FindWindowA(kPlayerWindowClass, "")) {
    if (window_ == 0) throw RuntimeError(kErrWinampNotRunning, "Winamp is not running", "Winamp Class");
}

Hwnd PlayerRemote::LiveWindow() {
    if (!desktop_->IsWindow(window_)) window_ = desktop_->FindWindowA(kPlayerWindowClass, "");
    return window_;
}

std::int32_t PlayerRemote::Send(PlayerOperation operation) {
    return desktop_->SendMessageA(LiveWindow(), kWM_COMMAND, Describe(operation).commandId, 0);
}

std::string PlayerRemote::Caption() { return CutAtNul(desktop_->GetWindowTextA(LiveWindow(), kCaptionBufferChars)); }

} // namespace tunebridge
