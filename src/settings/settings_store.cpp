#include "settings/settings_store.h"

#include <array>
#include <cstdint>

#include "app/program_name.h"
#include "app/runtime_error.h"
#include "app/trim_spaces.h"

namespace tunebridge {
namespace {

constexpr int kHotkeySlots = 7;
constexpr int kColorsLoaded = 12;
constexpr int kColorsStored = 15;
constexpr int kColorsPrefilled = 16;
constexpr int kTextSlots = 4;
constexpr int kTextBufferChars = 20;
constexpr const char* kDefaultText = "Winamp";

// Rebuilt on every load and save; the separator is appended even to a drive
// root, which the file system accepts.
std::string SettingsPath(Desktop& desktop) { return desktop.ModuleFolder() + "\\tunebridge.ini"; }

struct HotkeySection {
    const char* name;
    std::array<std::int16_t, 11> SharedState::*slots;
};

constexpr HotkeySection kHotkeySections[] = {
    {"Keys", &SharedState::HotkeyCode},
    {"SKeys", &SharedState::HotkeyShift},
    {"CKeys", &SharedState::HotkeyCtrl},
    {"AKeys", &SharedState::HotkeyAlt},
};

// A value the 16-bit arrays cannot hold stops the load. The user is told
// which entry to mend, since the bare overflow names neither file nor key.
std::int16_t Narrow(Desktop& desktop, std::int32_t value, const std::string& section, const std::string& key,
                    const std::string& path) {
    if (value < INT16_MIN || value > INT16_MAX) {
        desktop.MessageBoxA("The value " + std::to_string(value) + " of the key " + key + " in the section [" + section +
                                "] of the settings file " + path + " is outside -32768..32767.  Please correct it "
                                "and start the program again.",
                            kProgramName, kMB_OK | kMB_ICONERROR);
        throw OverflowError("LoadSettings");
    }
    return static_cast<std::int16_t>(value);
}

std::int16_t ReadInt(Desktop& desktop, const std::string& section, const std::string& key, std::int32_t defaultValue,
                     const std::string& path) {
    return Narrow(desktop, desktop.GetPrivateProfileIntA(section, key, defaultValue, path), section, key, path);
}

}  // namespace

void LoadSettings(Desktop& desktop, SharedState& state) {
    for (int i = 0; i < kColorsPrefilled; ++i) state.ColorCode[i] = 1;
    const std::string path = SettingsPath(desktop);

    for (const HotkeySection& section : kHotkeySections) {
        auto& slots = state.*section.slots;
        for (int n = 0; n < kHotkeySlots; ++n)
            slots[n] = ReadInt(desktop, section.name, "Key" + std::to_string(n), n + 1, path);
    }
    for (int n = 0; n < kColorsLoaded; ++n)
        state.ColorCode[n] = ReadInt(desktop, "Color", "Color" + std::to_string(n), 1, path);
    for (int n = 0; n < kTextSlots; ++n)
        state.TextSetting[n] = desktop.GetPrivateProfileStringA("Text", "Text" + std::to_string(n), kDefaultText,
                                                                kTextBufferChars, path);
}

void SaveSettings(Desktop& desktop, SharedState& state) {
    const std::string path = SettingsPath(desktop);
    bool allWritten = true;
    const auto write = [&](const std::string& section, const std::string& key, const std::string& value) {
        // Every key is still tried after a failure, so whatever can be kept is.
        if (!desktop.WritePrivateProfileStringA(section, key, value, path)) allWritten = false;
    };

    for (const HotkeySection& section : kHotkeySections) {
        const auto& slots = state.*section.slots;
        for (int n = 0; n < kHotkeySlots; ++n) write(section.name, "Key" + std::to_string(n), std::to_string(slots[n]));
    }
    for (int n = 0; n < kColorsStored; ++n)
        write("Color", "Color" + std::to_string(n), std::to_string(state.ColorCode[n]));
    for (int n = 0; n < kTextSlots; ++n) write("Text", "Text" + std::to_string(n), state.TextSetting[n]);

    if (!allWritten) {
        desktop.MessageBoxA("The settings could not be saved to " + path + ".  The program goes on with the "
                            "settings it has in memory.",
                            kProgramName, kMB_OK | kMB_ICONEXCLAMATION);
    }
}

std::string FindSystemFolder(Desktop& desktop, std::int16_t csidl) {
    try {
        std::optional<std::string> buffer = desktop.GetSpecialFolderPath(csidl);
        if (!buffer) return {};
        if (const auto nul = buffer->find('\0'); nul != std::string::npos) buffer->resize(nul);
        return TrimSpaces(*buffer);
    } catch (const RuntimeError& error) {
        throw error.RaisedAgainBy("FindSystemFolder");
    }
}

}  // namespace tunebridge
