#include "hotkeys/hotkey_poller.h"
namespace tunebridge {
void HotkeyPoller(Desktop&, SharedState&, FormControls&, clsWinamp*) {}
}  // namespace tunebridge
