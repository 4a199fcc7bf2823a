#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tunebridge {

// The seven hotkeys, in the order of their slots in the settings file.
enum class HotkeySlot { Play, Stop, Next, Previous, VolumeUp, VolumeDown, Pause };
inline constexpr std::size_t kHotkeySlotCount = 7;

// One hotkey: the main key's virtual-key code and, for each modifier, the
// modifier's own virtual-key code (16 Shift, 17 Ctrl, 18 Alt) when it
// belongs to the combination, else 0. Any code above 0 must be down too.
struct HotkeyBinding {
    std::int16_t key = 0;
    std::int16_t shift = 0;
    std::int16_t ctrl = 0;
    std::int16_t alt = 0;
};

// The parts of the track line, each with a game colour digit of its own.
enum class ColorElement {
    Winamp,       // the word "Winamp"
    Separator,    // ": "
    TrackNumber,  // "12."
    Title,        // the title, re-applied after every blank in it
    StateOpen,    // "[" before "Paused" or "Stopped"
    StateWord,    // "Paused" or "Stopped"
    StateClose,   // "]" after it
    TimeOpen,     // "[" before the time; the line also closes the time with it
    Minutes,
    TimeColon,
    Seconds,
    TimeClose,    // previewed as the closing bracket of the time; the line does not read it
};
inline constexpr std::size_t kColorElementCount = 12;
// The file keeps three more colours than there are elements; nothing sets
// them, and they are written back as loaded.
inline constexpr std::size_t kStoredColorCount = 15;

// Everything the player sets, loaded from the settings file at start-up and
// written back at exit and by the settings dialog. One live object: the
// dialog's key captures and colour picks take effect at once.
struct Settings {
    std::array<HotkeyBinding, kHotkeySlotCount> hotkeys{};
    std::array<std::int16_t, kStoredColorCount> colors{};
    // The word the in-game bind prints in front of ":Playlist".
    std::string uniqueWord;
    // The repeat interval in seconds, as typed; its leading number counts.
    std::string repeatSeconds;
    // "True" or "False" for the options "Display only on track change" and
    // "Display every"; other texts are kept as they are.
    std::string displayOnChangeOnly;
    std::string displayEvery;

    HotkeyBinding& Hotkey(HotkeySlot slot) { return hotkeys[static_cast<std::size_t>(slot)]; }
    const HotkeyBinding& Hotkey(HotkeySlot slot) const { return hotkeys[static_cast<std::size_t>(slot)]; }
    std::int16_t& Color(ColorElement element) { return colors[static_cast<std::size_t>(element)]; }
    std::int16_t Color(ColorElement element) const { return colors[static_cast<std::size_t>(element)]; }

    // The track line is repeated every `repeatSeconds` only when the player
    // chose "Display every"; any other stored text means changes only.
    bool RepeatsTrackLine() const { return displayOnChangeOnly == "False"; }
};

} // namespace tunebridge
