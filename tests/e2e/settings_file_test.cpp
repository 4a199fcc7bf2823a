// The settings file "tunebridge.ini" as the real program under Wine reads and
// writes it with the platform's profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>

#include "harness/peers.h"
#include "harness/product.h"

namespace tunebridge::e2e {
namespace {

// Each test runs the program beside its own player, so start-up asks nothing.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(player_.Start(folder_, {.titles = {"Artist - Song"}})); }
    void TearDown() override { EXPECT_TRUE(player_.Close()); }

    const std::filesystem::path folder_ = TestDir();
    PlayerPeer player_;
    Product product_;
};

// What the real profile reader makes of each stored value shows in what the
// unload writes back; entries the program does not know stay as they were.
TEST_F(SettingsFile, ANormalCloseWritesBackWhatWasLoadedAndKeepsForeignEntries) {
    const std::string ini =
        "[Keys]\r\nKey0=116\r\nKey3=12abc\r\nKey4=abc\r\nKey5= -7 \r\nPlugin=keep me\r\n"
        "[Color]\r\nColor3=7\r\nColor12=5\r\n"
        "[Text]\r\nText0=\r\nText1=  10  \r\nText2=ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n"
        "[Other]\r\nFoo=bar\r\n";
    ASSERT_TRUE(product_.Start(folder_, ini));
    ASSERT_TRUE(product_.Close()) << "closing the window did not end the program";
    const auto entries = ReadIniEntries(product_.IniPath());
    ASSERT_TRUE(entries);

    const std::vector<std::pair<std::string, std::string>> table = {
        {"[Keys] Key0", "116"},
        {"[Keys] Key3", "12"},     // trailing text is ignored
        {"[Keys] Key4", "0"},      // no leading digits
        {"[Keys] Key5", "-7"},     // blanks around a signed number
        {"[Keys] Key6", "7"},      // missing key: its default
        {"[AKeys] Key2", "3"},     // missing section: the defaults
        {"[Color] Color3", "7"},
        {"[Color] Color12", "1"},  // never loaded, always written as 1
        {"[Text] Text0", ""},      // present but empty: not the default
        {"[Text] Text1", "10"},    // surrounding blanks removed
        {"[Text] Text2", "ABCDEFGHIJKLMNOPQRS"},  // 19 characters kept
        {"[Text] Text3", "Winamp"},
        {"[Keys] Plugin", "keep me"},
        {"[Other] Foo", "bar"},
    };
    for (const auto& [key, value] : table) {
        EXPECT_EQ(entries->count(key), 1u) << key;
        const auto found = entries->find(key);
        EXPECT_EQ(found != entries->end() ? found->second : "(missing)", value) << key;
    }
    // The 47 entries the program writes, each once, and the two foreign ones.
    EXPECT_EQ(entries->size(), 47u + 2u);
}

std::string Lower(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// A value outside -32768..32767 stops the start: the user is told which entry
// to mend, the window never shows, and the file is not overwritten.
TEST_F(SettingsFile, AValueOutOfRangeIsReportedAndTheFileStaysAsItWas) {
    const std::array<std::string, 3> rows[] = {{"Keys", "Key0", "70000"}, {"Color", "Color11", "-32769"}};
    for (const auto& [section, key, value] : rows) {
        SCOPED_TRACE(key);
        const std::string ini =
            "[Other]\r\nFoo=bar\r\n[" + section + "]\r\n" + key + "=" + value + "\r\n[Text]\r\nText0=Mine\r\n";
        Product product;
        ASSERT_TRUE(product.Launch(folder_ / key, ini));
        const MessageBoxSeen box = product.WaitForMessageBox("Tunebridge");
        ASSERT_NE(box.window, nullptr) << "no message about the value";
        for (const std::string& named : {value, key, "[" + section + "]", product.IniPath().string()}) {
            EXPECT_NE(Lower(box.text).find(Lower(named)), std::string::npos) << named << " not in: " << box.text;
        }
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        ASSERT_TRUE(PressButton(box.window, IDOK));
        bool shown = false;
        EXPECT_TRUE(product.WaitForEnd(shown)) << "the program did not end after the message";
        EXPECT_FALSE(shown) << "the main window showed";
        EXPECT_EQ(ReadFileBytes(product.IniPath()), ini);
    }
}

}  // namespace
}  // namespace tunebridge::e2e
