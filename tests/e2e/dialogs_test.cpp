// The settings dialog and the about box of the real tunebridge.exe under Wine, used as a player uses them (keys
// pressed with SendInput, clicks, Escape), with the settings file read afterwards and screenshots kept as artifacts.
#include <windows.h>

#include <gtest/gtest.h>

#include "harness/keyboard.h"
#include "harness/peers.h"
#include "harness/product.h"

namespace tunebridge::e2e {
namespace {

namespace id = control_id;
using Entries = std::vector<std::pair<std::string, std::string>>;

// "major.minor.revision" from the version resource of `exe`.
std::string FileVersion(const std::filesystem::path& exe) {
    std::vector<char> data(GetFileVersionInfoSizeW(exe.c_str(), nullptr));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (data.empty() || !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &size)) {
        return "(no version resource)";
    }
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS));
}

// Text in the system code page, as the settings file holds it.
std::string Ansi(const std::wstring& text) {
    char bytes[64] = {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
    return std::string(bytes, static_cast<std::size_t>(size - 1));
}

// A unique word with a letter of Wine's default code page (1252), in a folder
// named in Cyrillic, which that code page lacks.
const std::string kWord = Ansi(L"R\u00f3n");
const std::string kIni = "[Text]\r\nText0=" + kWord + "\r\n";

// The player must be up first, or start-up stops at its Retry prompt. The
// pointer stays parked, so the keys a test holds are not let go.
class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ParkPointerAwayFromWindows();
        ASSERT_TRUE(player_.Start(folder_, {.titles = {"Artist - Song"}}));
        ASSERT_TRUE(product_.Start(folder_ / L"\u041f\u0430\u043f\u043a\u0430", kIni));
        main_ = product_.Window();
    }

    void TearDown() override {
        keyboard_.ReleaseAll();
        EXPECT_TRUE(!product_.Process().IsRunning() || product_.Close()) << "the program did not end";
        player_.Close();
    }

    // Clicks a main-window button; the dialog it opens must take the keyboard.
    void Open(int button) {
        ASSERT_TRUE(PressButton(main_, button));
        const auto over = [&](HWND window) { return GetWindow(window, GW_OWNER) == main_ && IsWindowVisible(window); };
        ASSERT_TRUE(WaitUntil([&] { return (dialog_ = FindTopLevel(over)) && GetForegroundWindow() == dialog_; },
                              kProductDeadline));
        EXPECT_FALSE(IsWindowEnabled(main_)) << "the main window takes input under its dialog";
    }

    HWND Control(int control) const { return GetDlgItem(dialog_, control); }

    // A click posted to a box gives it the focus; the pointer does not move.
    bool Focus(int control) const {
        PostMessageW(Control(control), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(Control(control), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        const auto focus = [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info) ? info.hwndFocus : nullptr;
        };
        return WaitUntil([&] { return focus() == Control(control); }, kProductDeadline);
    }

    // Holds `keys`, pressed in order in the key box `control`, until it shows `shown`.
    void Capture(int control, std::initializer_list<WORD> keys, const std::string& shown) {
        ASSERT_TRUE(Focus(control));
        for (const WORD key : keys) ASSERT_TRUE(keyboard_.Press(key));
        EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(control)) == shown; }, kProductDeadline))
            << "the box shows \"" << TextOf(Control(control)) << "\", not \"" << shown << "\"";
        keyboard_.ReleaseAll();
    }

    bool ClosedWithMainWindowBack() const {
        return WaitUntil([&] { return !IsWindow(dialog_) && IsWindowEnabled(main_); }, kProductDeadline);
    }

    void ExpectInFile(const Entries& expected) const {
        const auto entries = ReadIniEntries(product_.IniPath());
        ASSERT_TRUE(entries) << "no settings file";
        for (const auto& [key, value] : expected) {
            const auto found = entries->find(key);
            EXPECT_EQ(found != entries->end() ? found->second : "(missing)", value) << key;
        }
    }

    const std::filesystem::path folder_ = TestDir();
    Keyboard keyboard_;
    PlayerPeer player_;
    Product product_;
    HWND main_ = nullptr;
    HWND dialog_ = nullptr;
};

// The word from the file shows whole and keeps its letters when typed on; the display values missing
// from the file ("Winamp") open as "only on track change".
TEST_F(Dialogs, OkSavesCapturedKeysPickedColourAndTypedWord) {
    ASSERT_NO_FATAL_FAILURE(Open(id::kSettings));
    ASSERT_NO_FATAL_FAILURE(Capture(id::kKeyBoxFirst + 2, {VK_F5}, "F5"));
    ASSERT_NO_FATAL_FAILURE(Capture(id::kKeyBoxFirst + 0, {VK_CONTROL, VK_MENU, 'P'}, "P"));
    const int title = id::kPreviewLabelFirst + 3;
    SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(title, STN_CLICKED), reinterpret_cast<LPARAM>(Control(title)));
    ASSERT_TRUE(PressButton(dialog_, id::kColorButtonFirst + 7));
    ASSERT_TRUE(Focus(id::kUniqueWord));
    EXPECT_EQ(TextOf(Control(id::kUniqueWord)), kWord);
    SendMessageW(Control(id::kUniqueWord), EM_SETSEL, 3, 3);
    for (const WORD key : {'M', 'I', 'N', 'E'}) ASSERT_TRUE(keyboard_.Press(key) && keyboard_.Release(key));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(Control(id::kUniqueWord)) == kWord + "mine"; }, kProductDeadline));
    PostMessageW(Control(id::kUniqueWord), WM_CHAR, L'\u00e9', 1);  // as a layout with the letter types it
    const std::string hint = Ansi(L"bind x echo R\u00f3nmine\u00e9:Playlist");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(id::kBindHint)) == hint; }, kProductDeadline));
    EXPECT_TRUE(SaveArtifact(dialog_, "settings-dialog.bmp"));

    ASSERT_TRUE(PressButton(dialog_, id::kSettingsOk));
    EXPECT_TRUE(ClosedWithMainWindowBack());
    Entries expected = {
        {"[Keys] Key0", "80"},  {"[SKeys] Key0", "0"}, {"[CKeys] Key0", "17"}, {"[AKeys] Key0", "18"},
        {"[Keys] Key2", "116"}, {"[SKeys] Key2", "0"}, {"[CKeys] Key2", "0"},  {"[AKeys] Key2", "0"},
        {"[Text] Text0", Ansi(L"R\u00f3nmine\u00e9")}, {"[Text] Text1", "Winamp"}, {"[Text] Text2", "True"}, {"[Text] Text3", "False"},
    };
    for (int n = 0; n < 15; ++n) expected.emplace_back("[Color] Color" + std::to_string(n), n == 3 ? "7" : "1");
    ExpectInFile(expected);
}

// Escape is never captured: from a key box it closes the dialog unsaved, while a capture made before it stays in
// memory for the next save, which Windows ending the session makes as a close would; a log-off called off saves nothing.
TEST_F(Dialogs, EscapeFromAKeyBoxClosesUnsavedAndTheEndOfTheSessionSavesTheCapture) {
    ASSERT_NO_FATAL_FAILURE(Open(id::kSettings));
    SendMessageW(Control(id::kUniqueWord), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"lost"));
    ASSERT_NO_FATAL_FAILURE(Capture(id::kKeyBoxFirst + 1, {'K'}, "K"));
    // The click is posted after the character K typed, so that is handled when the focus moves.
    ASSERT_TRUE(Focus(id::kKeyBoxFirst + 6));
    EXPECT_EQ(TextOf(Control(id::kKeyBoxFirst + 1)), "K") << "the typed character landed in the box";
    ASSERT_TRUE(keyboard_.Press(VK_ESCAPE));
    EXPECT_TRUE(ClosedWithMainWindowBack());
    EXPECT_EQ(ReadFileBytes(product_.IniPath()), kIni) << "Escape saved the settings";

    EXPECT_TRUE(SendMessageW(main_, WM_QUERYENDSESSION, 0, 0)) << "the program refuses the log-off";
    SendMessageW(main_, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(ReadFileBytes(product_.IniPath()), kIni) << "a log-off called off saved the settings";
    EXPECT_TRUE(product_.Process().IsRunning() && IsWindowVisible(main_));
    PostMessageW(main_, WM_ENDSESSION, TRUE, 0);  // not sent: a box the save might show would hold the test up
    EXPECT_TRUE(WaitUntil([&] { return ReadIniEntries(product_.IniPath()).value().size() == 47; }, kProductDeadline));
    ExpectInFile({{"[Keys] Key1", "75"}, {"[SKeys] Key1", "0"}, {"[Text] Text0", kWord}});
}

TEST_F(Dialogs, AboutBoxShowsTheVersionOfTheExeAndClosesWithEscape) {
    ASSERT_NO_FATAL_FAILURE(Open(id::kAbout));
    wchar_t caption[64] = {};
    GetWindowTextW(dialog_, caption, 64);
    EXPECT_STREQ(caption, L"\u00dcber Tunebridge...");
    EXPECT_EQ(TextOf(Control(id::kVersion)), "Version " + FileVersion(BinDir() / "tunebridge.exe"));
    EXPECT_TRUE(SaveArtifact(dialog_, "about-box.bmp"));
    ASSERT_TRUE(keyboard_.Press(VK_ESCAPE));
    EXPECT_TRUE(ClosedWithMainWindowBack());
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_; }, kProductDeadline))
        << "the main window did not get the focus back";
}

}  // namespace
}  // namespace tunebridge::e2e
