#include "hotkeys/hotkey_poller.h"

#include <array>
#include <cstdint>

#include "winamp/control_actions.h"

namespace tunebridge {
namespace {

constexpr int kSlotCount = 7;

// Down now and pressed since the previous query; a held key (0x8000) or a
// press that is already over (0x0001) does not count.
constexpr std::uint16_t kNewlyPressed = 0x8001;

constexpr int kShiftWeight = 1;
constexpr int kCtrlWeight = 10;
constexpr int kAltWeight = 100;

using SlotAction = void (*)(FormControls&, clsWinamp&);

// Slots 0 Play, 1 Stop, 2 Next, 3 Prev, 4 Vol+, 5 Vol-, 6 Pause.
constexpr std::array<SlotAction, kSlotCount> kSlotActions = {
    cmdTrackPlay_Click, cmdTrackStop_Click, cmdTrackNext_Click, cmdTrackPrev_Click,
    DoVolRaise,         DoVolLower,         cmdTrackPause_Click,
};

bool IsNewlyPressed(Desktop& desktop, int virtualKey) {
    return desktop.GetAsyncKeyState(virtualKey) == kNewlyPressed;
}

// Every modifier of the combination is queried, also after one has failed:
// each query clears that key's "pressed since" bit, whatever the outcome.
bool ModifiersMatch(Desktop& desktop, const SharedState& state, int slot) {
    int required = 0;
    int pressed = 0;
    const auto check = [&](std::int16_t virtualKey, int weight) {
        if (virtualKey <= 0) return;
        required += weight;
        if (IsNewlyPressed(desktop, virtualKey)) pressed += weight;
    };
    check(state.HotkeyShift[slot], kShiftWeight);
    check(state.HotkeyCtrl[slot], kCtrlWeight);
    check(state.HotkeyAlt[slot], kAltWeight);
    return pressed == required;
}

}  // namespace

void HotkeyPoller(Desktop& desktop, SharedState& state, FormControls& form, clsWinamp* winamp) {
    desktop.DoEvents();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!IsNewlyPressed(desktop, state.HotkeyCode[slot])) continue;
        // The first newly pressed main key is the tick's only candidate: its
        // press is used up here whether or not the combination matches.
        // Before start-up has created the remote there is nothing to run.
        if (ModifiersMatch(desktop, state, slot) && winamp != nullptr) kSlotActions[slot](form, *winamp);
        return;
    }
}

}  // namespace tunebridge
