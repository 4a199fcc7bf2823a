#include "hotkeys/hotkey_poller.h"

#include <array>
#include <cstdint>

#include "hotkeys/key_state.h"

namespace tunebridge {
namespace {

// Down now and pressed since the previous query; a held key (0x8000) or a
// press that is already over (0x0001) does not count.
constexpr std::uint16_t kNewlyPressed = 0x8001;

constexpr int kShiftWeight = 1;
constexpr int kCtrlWeight = 10;
constexpr int kAltWeight = 100;

// In slot order: Play, Stop, Next, Previous, VolumeUp, VolumeDown, Pause.
constexpr std::array<PlayerOperation, kHotkeySlotCount> kSlotOperations = {
    PlayerOperation::TrackPlay, PlayerOperation::TrackStop, PlayerOperation::TrackNext, PlayerOperation::TrackPrev,
    PlayerOperation::VolRaise,  PlayerOperation::VolLower,  PlayerOperation::TrackPause,
};

bool IsNewlyPressed(Desktop& desktop, int virtualKey) { return KeyState(desktop, virtualKey) == kNewlyPressed; }

// Every modifier of the combination is queried, also after one has failed:
// each query clears that key's "pressed since" bit, whatever the outcome.
bool ModifiersMatch(Desktop& desktop, const HotkeyBinding& binding) {
    int required = 0;
    int pressed = 0;
    const auto check = [&](std::int16_t virtualKey, int weight) {
        if (virtualKey <= 0) return;
        required += weight;
        if (IsNewlyPressed(desktop, virtualKey)) pressed += weight;
    };
    check(binding.shift, kShiftWeight);
    check(binding.ctrl, kCtrlWeight);
    check(binding.alt, kAltWeight);
    return pressed == required;
}

} // namespace

std::optional<HotkeySlot> PollHotkeys(Desktop& desktop, const Settings& settings) {
    desktop.DoEvents();
    for (std::size_t slot = 0; slot < kHotkeySlotCount; ++slot) {
        const HotkeyBinding& binding = settings.hotkeys[slot];
        if (!IsNewlyPressed(desktop, binding.key)) continue;
        // The first newly pressed main key is the tick's only candidate: its
        // press is used up here whether or not the combination matches.
        if (!ModifiersMatch(desktop, binding)) return std::nullopt;
        return static_cast<HotkeySlot>(slot);
    }
    return std::nullopt;
}

PlayerOperation HotkeyOperation(HotkeySlot slot) { return kSlotOperations[static_cast<std::size_t>(slot)]; }

} // namespace tunebridge
