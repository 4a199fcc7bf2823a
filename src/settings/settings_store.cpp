#include "settings/settings_store.h"

#include <array>
#include <cstdint>

#include "core/program_name.h"
#include "core/runtime_error.h"
#include "core/text.h"

namespace tunebridge {
namespace {

constexpr std::size_t kLoadedColorCount = kColorElementCount;
constexpr int kTextBufferChars = 20;
constexpr const char* kDefaultText = "Winamp";

// Rebuilt on every load and save; the separator is appended even to a drive
// root, which the file system accepts.
std::string SettingsPath(Desktop& desktop) { return desktop.ModuleFolder() + "\\tunebridge.ini"; }

// The four hotkey sections, each holding one field of every binding.
struct HotkeySection {
    const char* name;
    std::int16_t HotkeyBinding::*field;
};

constexpr HotkeySection kHotkeySections[] = {
    {"Keys", &HotkeyBinding::key},
    {"SKeys", &HotkeyBinding::shift},
    {"CKeys", &HotkeyBinding::ctrl},
    {"AKeys", &HotkeyBinding::alt},
};

struct TextKey {
    const char* name;
    std::string Settings::*field;
};

constexpr TextKey kTextKeys[] = {
    {"Text0", &Settings::uniqueWord},
    {"Text1", &Settings::repeatSeconds},
    {"Text2", &Settings::displayOnChangeOnly},
    {"Text3", &Settings::displayEvery},
};

std::string NumberedKey(const char* stem, std::size_t n) { return stem + std::to_string(n); }

// A value the 16-bit settings cannot hold stops the load. The user is told
// which entry to mend, since the bare overflow names neither file nor key.
std::int16_t ReadInt(Desktop& desktop, const std::string& section, const std::string& key, std::int32_t defaultValue,
                     const std::string& path) {
    const std::int32_t value = desktop.GetPrivateProfileIntA(section, key, defaultValue, path);
    if (value < INT16_MIN || value > INT16_MAX) {
        desktop.MessageBoxA("The value " + std::to_string(value) + " of the key " + key + " in the section [" + section +
                                "] of the settings file " + path + " is outside -32768..32767.  Please correct it "
                                "and start the program again.",
                            kProgramName, kMB_OK | kMB_ICONERROR);
        throw OverflowError("LoadSettings");
    }
    return static_cast<std::int16_t>(value);
}

} // namespace

void LoadSettings(Desktop& desktop, Settings& settings) {
    settings.colors.fill(1);
    const std::string path = SettingsPath(desktop);

    for (const HotkeySection& section : kHotkeySections) {
        for (std::size_t n = 0; n < kHotkeySlotCount; ++n) {
            settings.hotkeys[n].*section.field =
                ReadInt(desktop, section.name, NumberedKey("Key", n), static_cast<std::int32_t>(n + 1), path);
        }
    }
    for (std::size_t n = 0; n < kLoadedColorCount; ++n)
        settings.colors[n] = ReadInt(desktop, "Color", NumberedKey("Color", n), 1, path);
    for (const TextKey& text : kTextKeys)
        settings.*text.field = desktop.GetPrivateProfileStringA("Text", text.name, kDefaultText, kTextBufferChars, path);
}

void SaveSettings(Desktop& desktop, const Settings& settings) {
    const std::string path = SettingsPath(desktop);
    bool allWritten = true;
    const auto write = [&](const char* section, const std::string& key, const std::string& value) {
        // Every key is still tried after a failure, so whatever can be kept is.
        if (!desktop.WritePrivateProfileStringA(section, key, value, path)) allWritten = false;
    };

    for (const HotkeySection& section : kHotkeySections) {
        for (std::size_t n = 0; n < kHotkeySlotCount; ++n)
            write(section.name, NumberedKey("Key", n), std::to_string(settings.hotkeys[n].*section.field));
    }
    for (std::size_t n = 0; n < kStoredColorCount; ++n)
        write("Color", NumberedKey("Color", n), std::to_string(settings.colors[n]));
    for (const TextKey& text : kTextKeys) write("Text", text.name, settings.*text.field);

    if (!allWritten) {
        desktop.MessageBoxA("The settings could not be saved to " + path + ".  The program goes on with the "
                            "settings it has in memory.",
                            kProgramName, kMB_OK | kMB_ICONEXCLAMATION);
    }
}

std::string FindSystemFolder(Desktop& desktop, std::int16_t csidl) {
    try {
        const std::optional<std::string> buffer = desktop.GetSpecialFolderPath(csidl);
        if (!buffer) return {};
        return TrimSpaces(CutAtNul(*buffer));
    } catch (const RuntimeError& error) {
        throw error.RaisedAgainBy("FindSystemFolder");
    }
}

} // namespace tunebridge
