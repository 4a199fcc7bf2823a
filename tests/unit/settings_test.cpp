#include <gtest/gtest.h>

#include <tuple>

#include "fake/fake_desktop.h"
#include "settings/settings_store.h"

namespace tunebridge {
namespace {

using namespace fake;

TEST(SettingsStore, AMissingFileLoadsTheDefaultsWhichASaveWritesAs47Keys) {
    FakeDesktop desktop;
    Settings settings;
    LoadSettings(desktop, settings);
    SaveSettings(desktop, settings);
    Lines expected;
    for (const std::string section : {"Keys", "SKeys", "CKeys", "AKeys"}) {
        for (int n = 0; n < 7; ++n) expected.push_back(section + "/Key" + std::to_string(n) + "=" + std::to_string(n + 1));
    }
    for (int n = 0; n < 15; ++n) expected.push_back("Color/Color" + std::to_string(n) + "=1");
    for (int n = 0; n < 4; ++n) expected.push_back("Text/Text" + std::to_string(n) + "=Winamp");
    EXPECT_EQ(desktop.iniWrites, expected);
    EXPECT_EQ(desktop.messageBoxes, Lines{});
}

TEST(SettingsStore, WhatIsSavedLoadsBackWithTextsCutTo19Characters) {
    FakeDesktop desktop;
    Settings saved;
    saved.Hotkey(HotkeySlot::Play) = {-1, 0, 17, 0};
    saved.Hotkey(HotkeySlot::Pause) = {116, 16, 0, 18};
    for (std::size_t n = 0; n < kStoredColorCount; ++n) saved.colors[n] = static_cast<std::int16_t>(9 - n % 10);
    saved.uniqueWord = "averyveryverylonguniqueword";
    saved.repeatSeconds = "10";
    saved.displayOnChangeOnly = "False";
    SaveSettings(desktop, saved);
    EXPECT_EQ(desktop.ini.at("Text/Text0"), "averyveryverylonguniqueword");

    Settings loaded;
    LoadSettings(desktop, loaded);
    const auto fields = [](const HotkeyBinding& b) { return std::tuple(b.key, b.shift, b.ctrl, b.alt); };
    for (std::size_t slot = 0; slot < kHotkeySlotCount; ++slot)
        EXPECT_EQ(fields(loaded.hotkeys[slot]), fields(saved.hotkeys[slot])) << "slot " << slot;
    // The three colours past the elements are written, never loaded.
    for (std::size_t n = 0; n < kStoredColorCount; ++n)
        EXPECT_EQ(loaded.colors[n], n < kColorElementCount ? saved.colors[n] : 1) << "colour " << n;
    EXPECT_EQ(std::tie(loaded.uniqueWord, loaded.repeatSeconds, loaded.displayOnChangeOnly, loaded.displayEvery),
              std::tuple("averyveryverylongun", "10", "False", ""));
}

TEST(SettingsStore, FailedWritesAreReportedOncePerSaveAfterTryingEveryKey) {
    FakeDesktop desktop;
    desktop.failWrites = true;
    SaveSettings(desktop, Settings{});
    EXPECT_EQ(desktop.iniWrites.size(), 47u);
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_NE(desktop.messageBoxes[0].find("C:\\Tunebridge\\tunebridge.ini"), std::string::npos) << desktop.messageBoxes[0];
}

} // namespace
} // namespace tunebridge
