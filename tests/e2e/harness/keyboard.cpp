#include "harness/keyboard.h"

#include <algorithm>

namespace tunebridge::e2e {
namespace {

// The scan code goes along with the virtual key: the system tells left from
// right Shift by it when the generic code is sent.
bool SendKey(WORD virtualKey, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    return SendInput(1, &input, sizeof input) == 1;
}

}  // namespace

void ParkPointerAwayFromWindows() { SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1); }

bool Keyboard::Press(WORD virtualKey) {
    if (!SendKey(virtualKey, true)) return false;
    if (std::find(held_.begin(), held_.end(), virtualKey) == held_.end()) held_.push_back(virtualKey);
    return true;
}

bool Keyboard::Release(WORD virtualKey) {
    std::erase(held_, virtualKey);
    return SendKey(virtualKey, false);
}

void Keyboard::ReleaseAll() {
    while (!held_.empty()) Release(held_.back());
}

}  // namespace tunebridge::e2e
