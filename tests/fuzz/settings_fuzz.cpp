#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "fuzz.h"
#include "settings/settings_store.h"

using namespace tunebridge;
using fuzz::Expect;

// Any values under the keys the program reads (and some it does not): it loads,
// or stops at an out-of-range number after telling the user.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    fake::FakeDesktop desktop;
    const char* sections[] = {"Keys", "SKeys", "CKeys", "AKeys", "Color", "Text", "Other"};
    while (input.remaining_bytes() > 0) {
        const std::string section = input.PickValueInArray(sections);
        const std::string stem = section == "Color" ? "Color" : section == "Text" ? "Text" : "Key";
        desktop.ini[section + "/" + stem + std::to_string(input.ConsumeIntegralInRange(0, 15))] =
            input.ConsumeRandomLengthString(24);
    }
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
    Settings reloaded;
    LoadSettings(desktop, reloaded);
    Expect(desktop.messageBoxes.empty() && numbers(reloaded) == numbers(loaded), "the numbers survive a save");
    return 0;
}
