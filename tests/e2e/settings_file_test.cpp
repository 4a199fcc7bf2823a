// The settings file "tunebridge.ini" as the real program under Wine reads and
// writes it with the platform's profile functions, sound or damaged.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "harness/peers.h"
#include "harness/product.h"

namespace tunebridge::e2e {
namespace {

// CannotSave: a read-only file, which the close cannot write.
enum class Outcome { Runs, Refuses, CannotSave };
using Values = std::vector<std::string>;  // every value of one "[Section] Key", in file order

struct FileCase {
    std::string name;
    std::string ini;
    Outcome outcome;
    Values named = {};         // what its message names, besides the file
    std::size_t entries = 0;   // entries after the close; 0: the bytes as they were
    std::vector<std::pair<std::string, Values>> after = {};
};
void PrintTo(const FileCase& row, std::ostream* out) { *out << row.name; }

std::vector<FileCase> Rows() {
    const std::string line(1 << 20, 'x');
    std::string junk;  // every byte but '=' and '[', NULs and line breaks included
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>(i * 7 % 256);
    std::erase_if(junk, [](char c) { return c == '=' || c == '['; });
    const auto refused = [](const std::string& section, const std::string& key, const std::string& value) {
        return FileCase{key, "[Other]\r\nFoo=bar\r\n[" + section + "]\r\n" + key + "=" + value + "\r\n[Text]\r\n"
                        "Text0=Mine\r\n", Outcome::Refuses, {value, key, "[" + section + "]"}};
    };
    return {
        // What the real profile reader makes of each stored value shows in
        // what the close writes back; entries the program does not know stay.
        {"Quirks",
         "[Keys]\r\nKey0=116\r\nKey0=117\r\nKey3=32767abc\r\nKey4=abc\r\nKey5= -32768 \r\nPlugin=keep me\r\n"
         "[Color]\r\nColor3=7\r\nColor12=5\r\n[Keys]\r\nKey0=118\r\n"
         "[Text]\r\nText0=\r\nText1=  10  \r\nText2=ABCDEFGHIJKLMNOPQRS" + line + "\r\n[Other]\r\nFoo=" + line + "\r\n",
         Outcome::Runs, {}, 47 + 4,
         {
             {"[Keys] Key0", {"116", "117", "118"}},  // the first one counts; the duplicates stay
             {"[Keys] Key3", {"32767"}},  // trailing text is ignored; the top of the range
             {"[Keys] Key4", {"0"}},      // no leading digits
             {"[Keys] Key5", {"-32768"}}, // blanks around a signed number; the bottom of the range
             {"[Keys] Key6", {"7"}},      // missing key: its default
             {"[AKeys] Key2", {"3"}},     // missing section: the defaults
             {"[Color] Color3", {"7"}},
             {"[Color] Color12", {"1"}},  // never loaded, always written as 1
             {"[Text] Text0", {""}},      // present but empty: not the default
             {"[Text] Text1", {"10"}},    // surrounding blanks removed
             {"[Text] Text2", {"ABCDEFGHIJKLMNOPQRS"}},  // 19 characters of a 1 MB line kept
             {"[Text] Text3", {"Winamp"}},
             {"[Keys] Plugin", {"keep me"}},
             {"[Other] Foo", {line}},
         }},
        // Nothing readable: the defaults, written at the close.
        {"Junk", junk, Outcome::Runs, {}, 47,
         {{"[Keys] Key0", {"1"}}, {"[AKeys] Key6", {"7"}}, {"[Color] Color14", {"1"}}, {"[Text] Text3", {"Winamp"}}}},
        // A value outside -32768..32767 stops the start before the window shows.
        refused("Keys", "Key0", "70000"),
        refused("Color", "Color11", "-32769"),
        refused("SKeys", "Key6", "4294967296"),  // the platform reader wraps it to 0
        {"ReadOnly", "[Keys]\r\nKey0=116\r\n", Outcome::CannotSave, {"could not be saved"}},
    };
}

std::string Lower(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Each row runs the program beside its own player, so start-up asks nothing.
class SettingsFile : public ::testing::TestWithParam<FileCase> {
protected:
    void SetUp() override { ASSERT_TRUE(player_.Start(folder_, {.titles = {"Artist - Song"}})); }
    void TearDown() override { EXPECT_TRUE(player_.Close()); }

    const std::filesystem::path folder_ = TestDir();
    PlayerPeer player_;
    Product product_;
};

// The program starts or refuses as the file calls for; the file is written
// only by a close after a complete load, and never when that write fails.
TEST_P(SettingsFile, StartsOrRefusesAndKeepsTheFile) {
    const FileCase& row = GetParam();
    ASSERT_TRUE(product_.Launch(folder_, row.ini));
    const std::string path = product_.IniPath().string();
    std::unique_ptr<void, decltype(&CloseHandle)> lock(nullptr, &CloseHandle);
    if (row.outcome == Outcome::CannotSave) {
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        // Wine lets root write a read-only file; a handle that shares reading
        // only keeps the writes out all the same.
        lock.reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    }
    if (row.outcome != Outcome::Refuses) {
        ASSERT_NE(product_.WaitForWindow(), nullptr) << "the program did not start";
        PostMessageA(product_.Window(), WM_CLOSE, 0, 0);
    }
    if (row.outcome != Outcome::Runs) {
        const MessageBoxSeen box = product_.WaitForMessageBox("Tunebridge");
        ASSERT_NE(box.window, nullptr) << "no message";
        Values named = row.named;
        named.push_back(path);
        for (const std::string& part : named) {
            EXPECT_NE(Lower(box.text).find(Lower(part)), std::string::npos) << part << " not in: " << box.text;
        }
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        ASSERT_TRUE(PressButton(box.window, IDOK));
    }
    bool shown = false;
    EXPECT_TRUE(product_.WaitForEnd(shown)) << "the program did not end";
    EXPECT_FALSE(shown && row.outcome == Outcome::Refuses) << "the main window showed";
    if (row.entries == 0) {
        EXPECT_EQ(ReadFileBytes(product_.IniPath()), row.ini);
        return;
    }
    const auto entries = ReadIniEntries(product_.IniPath());
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->size(), row.entries);
    for (const auto& [key, values] : row.after) {
        Values found;
        for (auto [at, end] = entries->equal_range(key); at != end; ++at) found.push_back(at->second);
        EXPECT_EQ(found, values) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsFile, ::testing::ValuesIn(Rows()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tunebridge::e2e
