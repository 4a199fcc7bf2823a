// The settings file "tunebridge.ini" as the real program under Wine reads and
// writes it with the platform's profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "harness/ini_file.h"
#include "harness/main_window.h"
#include "harness/message_box.h"
#include "harness/peers.h"
#include "harness/process.h"
#include "harness/wait.h"

namespace tunebridge::e2e {
namespace {

namespace fs = std::filesystem;

constexpr std::chrono::milliseconds kProductDeadline = 30s;

// A folder name: a parameterised test's name holds a "/".
std::string TestName() {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Each test runs the product beside its own player, so start-up asks nothing.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = TempDir(TestName());
        ASSERT_TRUE(player_.Start(folder_, {.titles = {"Artist - Song"}}));
    }
    void TearDown() override { EXPECT_TRUE(player_.Close()); }

    fs::path ProductFolder() const { return folder_ / "product"; }
    fs::path IniPath() const { return ProductFolder() / "tunebridge.ini"; }

    // Copies the product once: a copy over an existing one fails under Wine.
    void Stage(const std::optional<std::string>& ini = std::nullopt) { exe_ = StageProduct(ProductFolder(), ini); }

    // Starts the staged product, waits for its window and closes it normally.
    void RunAndClose() {
        ChildProcess product;
        ASSERT_TRUE(product.Start(exe_, {}, ProductFolder()));
        const HWND window = FindMainWindowWithin(product, kProductDeadline);
        ASSERT_NE(window, nullptr) << "no main window; the box shown says: "
                                   << MessageBoxText(AnyMessageBox(product.Pid()));
        PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(product.WaitForExit(kProductDeadline)) << "closing the window did not end the program";
    }

    fs::path folder_;
    fs::path exe_;
    PlayerPeer player_;
};

TEST_F(SettingsFile, AFreshFolderGetsTheDefaultsAndASecondRunKeepsTheBytes) {
    Stage();
    ASSERT_NO_FATAL_FAILURE(RunAndClose());
    EXPECT_EQ(ReadIniEntries(IniPath()), DefaultSettingsEntries());

    const auto first = ReadFileBytes(IniPath());
    ASSERT_TRUE(first);
    ASSERT_NO_FATAL_FAILURE(RunAndClose());
    EXPECT_EQ(ReadFileBytes(IniPath()), first);
}

// What the real profile reader makes of each stored value shows in what the
// unload writes back; entries the program does not know stay as they were.
TEST_F(SettingsFile, ANormalCloseWritesBackWhatWasLoadedAndKeepsForeignEntries) {
    const std::string ini =
        "[Keys]\r\nKey0=116\r\nKey3=12abc\r\nKey4=abc\r\nKey5= -7 \r\nPlugin=keep me\r\n"
        "[Color]\r\nColor3=7\r\nColor12=5\r\n"
        "[Text]\r\nText0=\r\nText1=  10  \r\nText2=ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n"
        "[Other]\r\nFoo=bar\r\n";
    Stage(ini);
    ASSERT_NO_FATAL_FAILURE(RunAndClose());
    const auto entries = ReadIniEntries(IniPath());
    ASSERT_TRUE(entries);

    struct Expected {
        const char* section;
        const char* key;
        const char* value;
    };
    const Expected table[] = {
        {"Keys", "Key0", "116"},
        {"Keys", "Key3", "12"},     // trailing text is ignored
        {"Keys", "Key4", "0"},      // no leading digits
        {"Keys", "Key5", "-7"},     // blanks around a signed number
        {"Keys", "Key6", "7"},      // missing key: its default
        {"AKeys", "Key2", "3"},     // missing section: the defaults
        {"Color", "Color3", "7"},
        {"Color", "Color12", "1"},  // never loaded, always written as 1
        {"Text", "Text0", ""},      // present but empty: not the default
        {"Text", "Text1", "10"},    // surrounding blanks removed
        {"Text", "Text2", "ABCDEFGHIJKLMNOPQRS"},  // 19 characters kept
        {"Text", "Text3", "Winamp"},
        {"Keys", "Plugin", "keep me"},
        {"Other", "Foo", "bar"},
    };
    for (const Expected& row : table) {
        const auto found = std::find_if(entries->begin(), entries->end(), [&](const IniEntry& entry) {
            return entry.section == row.section && entry.key == row.key;
        });
        if (found == entries->end()) {
            ADD_FAILURE() << "[" << row.section << "] " << row.key << " is missing";
            continue;
        }
        EXPECT_EQ(found->value, row.value) << "[" << row.section << "] " << row.key;
    }
    // Every key the program writes is there exactly once.
    EXPECT_EQ(entries->size(), DefaultSettingsEntries().size() + 2);
}

// A value outside -32768..32767 stops the start: the user is told which entry
// to mend, the window never shows, and the file is not overwritten.
struct OutOfRange {
    const char* name;
    const char* section;
    const char* key;
    const char* value;
};

void PrintTo(const OutOfRange& row, std::ostream* out) {
    *out << "[" << row.section << "] " << row.key << "=" << row.value;
}

class SettingsFileOutOfRange : public SettingsFile, public ::testing::WithParamInterface<OutOfRange> {};

TEST_P(SettingsFileOutOfRange, IsReportedAndTheFileStaysAsItWas) {
    const OutOfRange& row = GetParam();
    const std::string ini = "[Other]\r\nFoo=bar\r\n[" + std::string(row.section) + "]\r\n" + row.key + "=" + row.value +
                            "\r\n[Text]\r\nText0=Mine\r\n";
    Stage(ini);
    ChildProcess product;
    ASSERT_TRUE(product.Start(exe_, {}, ProductFolder()));

    const HWND box = FindMessageBoxWithin(product.Pid(), "Tunebridge", kProductDeadline);
    ASSERT_NE(box, nullptr) << "no message about the value";
    const std::string text = MessageBoxText(box);
    for (const std::string& named : {std::string(row.value), std::string(row.key), "[" + std::string(row.section) + "]",
                                     Lower(IniPath().string())}) {
        EXPECT_NE(Lower(text).find(Lower(named)), std::string::npos) << "\"" << named << "\" not in: " << text;
    }
    EXPECT_EQ(MessageBoxButtons(box), std::vector<int>{IDOK});
    ASSERT_TRUE(PressMessageBoxButton(box, IDOK));

    bool shown = false;
    EXPECT_TRUE(WaitUntil(
        [&] {
            const HWND window = product.FindOwnWindow("", kMainWindowCaption);
            shown = shown || (window != nullptr && IsWindowVisible(window));
            return !product.IsRunning();
        },
        kProductDeadline))
        << "the program did not end after the message";
    EXPECT_FALSE(shown) << "the main window showed";
    EXPECT_EQ(ReadFileBytes(IniPath()), ini);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsFileOutOfRange,
                         ::testing::Values(OutOfRange{"FirstKeyAbove", "Keys", "Key0", "70000"},
                                           OutOfRange{"LastColourBelow", "Color", "Color11", "-32769"}),
                         [](const ::testing::TestParamInfo<OutOfRange>& info) { return info.param.name; });

}  // namespace
}  // namespace tunebridge::e2e
