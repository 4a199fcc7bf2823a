// Keys pressed and released with SendInput, as a keyboard would: the system-wide
// asynchronous key state of every program on the desktop sees them.
#pragma once

#include <windows.h>

#include <vector>

namespace tunebridge::e2e {

// Under Wine, keys pressed with SendInput exist only in Wine's own key state,
// not in the X server's. Whenever an X window of the desktop receives the
// focus or has the pointer enter it, Wine makes its key state agree with the
// X server's again and so lets go of every injected key still held. A test
// that holds keys therefore starts its programs without activating them
// (SW_SHOWNOACTIVATE) and first moves the pointer here, to the bottom-left
// corner of the screen, where no program under test puts a window.
void ParkPointerAwayFromWindows();

// A keyboard driven by a test. Every key it still holds is released when it
// goes, so a failing test leaves no key down for the next one.
//
// The "pressed since the last query" bit of a key is shared by every program
// on the desktop: a test that presses keys for another program to see must
// never ask GetAsyncKeyState about those keys itself.
class Keyboard {
public:
    Keyboard() = default;
    ~Keyboard() { ReleaseAll(); }
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // True when the system took the event. Keys on the extended part of the
    // keyboard (right-hand modifiers, arrows) are not supported.
    bool Press(WORD virtualKey);
    bool Release(WORD virtualKey);
    // Releases every key this keyboard holds, the last pressed first.
    void ReleaseAll();

private:
    std::vector<WORD> held_;
};

}  // namespace tunebridge::e2e
