#include "winamp/player_remote.h"

#include "core/runtime_error.h"
#include "core/text.h"

namespace tunebridge {
namespace {

constexpr int kCaptionBufferChars = 2048;

} // namespace

PlayerRemote::PlayerRemote(Desktop& desktop)
    : desktop_(&desktop), window_(FindPlayerWindow(desktop)) {
    if (window_.Known() == 0) throw RuntimeError(kErrWinampNotRunning, "Winamp is not running", "Winamp Class");
}

std::int32_t PlayerRemote::Send(PlayerOperation operation) {
    return desktop_->SendMessageA(window_.Live(*desktop_), kWM_COMMAND, Describe(operation).commandId, 0);
}

std::string PlayerRemote::Caption() { return CutAtNul(desktop_->GetWindowTextA(window_.Live(*desktop_), kCaptionBufferChars)); }

} // namespace tunebridge
