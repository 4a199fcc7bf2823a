#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "fuzz.h"
#include "settings/settings_store.h"

using namespace tunebridge;
using fuzz::Expect;

// Any text as tunebridge.ini: it loads, or stops at an out-of-range number after telling the user.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzDesktop desktop;
    const std::string path = desktop.moduleFolder + "\\tunebridge.ini";
    desktop.SetFileText(path, std::string(reinterpret_cast<const char*>(data), size));
    Settings loaded;
    try {
        LoadSettings(desktop, loaded);
    } catch (const RuntimeError& error) {
        Expect(error.Number() == kErrOverflow && desktop.messageBoxes.size() == 1, "only an overflow stops, told once");
        return 0;
    }
    const auto numbers = [](const Settings& settings) {
        std::vector<std::int16_t> all(settings.colors.begin(), settings.colors.end());
        for (const HotkeyBinding& b : settings.hotkeys) all.insert(all.end(), {b.key, b.shift, b.ctrl, b.alt});
        return all;
    };
    // Saved and loaded again, as at the next start, every number comes back.
    SaveSettings(desktop, loaded);
    desktop.SetFileText(path, desktop.FileText(path));
    Settings reloaded;
    LoadSettings(desktop, reloaded);
    Expect(desktop.messageBoxes.empty() && numbers(reloaded) == numbers(loaded), "the numbers survive a save");
    return 0;
}
