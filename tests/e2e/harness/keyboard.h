// Keys pressed and released with SendInput, as a keyboard would: the
// system-wide key state of every program on the desktop sees them.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace tunebridge::e2e {

// Under Wine, keys pressed with SendInput live only in Wine's key state. When
// an X window gets the focus or the pointer, Wine syncs with the X server and
// lets go of every injected key still held. So a test that holds keys starts
// its programs without activating them (SW_SHOWNOACTIVATE) and first parks
// the pointer in the bottom-left corner, where no program under test is.
inline void ParkPointerAwayFromWindows() { SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1); }

// Releases every key it still holds when it goes, so a failing test leaves no
// key down. A test must never ask GetAsyncKeyState about the keys it presses:
// the "pressed since the last query" bit is shared with the program under test.
class Keyboard {
public:
    Keyboard() = default;
    ~Keyboard() { ReleaseAll(); }
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // True when the system took the event. Extended keys (right-hand modifiers, arrows) are not supported.
    bool Press(WORD virtualKey) {
        if (!Send(virtualKey, 0)) return false;
        if (std::ranges::find(held_, virtualKey) == held_.end()) held_.push_back(virtualKey);
        return true;
    }
    bool Release(WORD virtualKey) {
        std::erase(held_, virtualKey);
        return Send(virtualKey, KEYEVENTF_KEYUP);
    }
    void ReleaseAll() {
        while (!held_.empty()) Release(held_.back());
    }

private:
    // The scan code tells left from right Shift when the generic code is sent.
    static bool Send(WORD virtualKey, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        return SendInput(1, &input, sizeof input) == 1;
    }

    std::vector<WORD> held_;
};

}  // namespace tunebridge::e2e
