#pragma once

#include <array>
#include <set>
#include <string>

#include "platform/desktop.h"
#include "platform/window_model.h"
#include "settings/settings.h"

namespace tunebridge {

inline constexpr int kVirtualKeyShift = 16;
inline constexpr int kVirtualKeyCtrl = 17;
inline constexpr int kVirtualKeyAlt = 18;
inline constexpr int kVirtualKeyEscape = 27;

// The indicators beside the key boxes, one per modifier.
enum class Modifier { Shift, Alt, Ctrl };

inline constexpr Rgb kModifierHeld = 0x00FF00;      // green
inline constexpr Rgb kModifierReleased = 0x0000FF;  // red

// The name a key box shows for the keys it names itself: "Home", "PrintScr"
// (code 42), "Numpad1" (the only keypad key named), "F1".."F12"; "" for
// every other key.
std::string KeyNameFromTable(int virtualKey);

// The seven key boxes of the settings dialog. A key that goes down in a box
// is written at once into that box's hotkey: Shift, Ctrl and Alt into the
// binding's modifiers, and every key, modifiers included, as the main key,
// so the last key down is the main key. A capture starts with the first key
// down after the box got the focus or after every key was released, and its
// start clears the binding's modifiers: F5 alone binds F5 without the
// modifiers of an older binding.
class KeyCapture {
public:
    // The boxes start with the bound key codes as decimal numbers.
    KeyCapture(Desktop& desktop, Settings& settings);

    const std::string& BoxText(HotkeySlot slot) const;
    // kSystemColor until the modifier first goes down, then green while it
    // is held and red after it is released.
    Rgb IndicatorColor(Modifier modifier) const;

    // A click empties the box and leaves the binding as it is.
    void Click(HotkeySlot slot);
    void Focus();
    // The dialog keeps Escape for closing and never passes it here.
    void KeyDown(HotkeySlot slot, int virtualKey);
    void KeyUp(int virtualKey);

private:
    // The table's name, else the keyboard layout's, else the code itself.
    std::string Label(int virtualKey);

    Desktop& desktop_;
    Settings& settings_;
    std::array<std::string, kHotkeySlotCount> boxTexts_;
    std::array<Rgb, 3> indicators_{kSystemColor, kSystemColor, kSystemColor};
    std::set<int> heldKeys_;
};

} // namespace tunebridge
