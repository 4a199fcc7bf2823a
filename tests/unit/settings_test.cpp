#include <gtest/gtest.h>

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

} // namespace
} // namespace tunebridge
