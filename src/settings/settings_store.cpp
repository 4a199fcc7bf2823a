#include "settings/settings_store.h"

#include <array>
#include <cstdint>

#include "core/leading_number.h"
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

// Room for every digit of a 64-bit number; enough for the user to recognise
// the entry in the message.
constexpr int kNumberTextChars = 32;

// A value the 16-bit settings cannot hold stops the load. The platform reader
// wraps a number beyond 32 bits into its range (4294967296 reads as 0), which
// would load and then be saved over the user's entry, so the number as stored
// is checked too. The user is told which entry to mend, since the bare
// overflow names neither file nor key.
std::int16_t ReadInt(Desktop& desktop, const std::string& section, const std::string& key, std::int32_t defaultValue,
                     const std::string& path) {
    const std::int32_t value = desktop.GetPrivateProfileIntA(section, key, defaultValue, path);
    const std::string stored = desktop.GetPrivateProfileStringA(section, key, "", kNumberTextChars, path);
    const double storedNumber = LeadingNumber(stored);
    // The reader drops a fraction, so -32768.5 and 32767.5 still fit.
    if (value < INT16_MIN || value > INT16_MAX || storedNumber <= INT16_MIN - 1.0 || storedNumber >= INT16_MAX + 1.0) {
        desktop.MessageBoxA("The value " + stored + " of the key " + key + " in the section [" + section +
                                "] of the settings file " + desktop.PathToAnsi(path) +
                                " is outside -32768..32767.  Please correct it and start the program again.",
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
        desktop.MessageBoxA("The settings could not be saved to " + desktop.PathToAnsi(path) +
                                ".  The program goes on with the settings it has in memory.",
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
