// Start-up of the real tunebridge.exe under Wine: the questions it asks when
// the player is missing, the player launch from the Program Files folder, the
// refusal without a sound device, and the main window's held size.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "harness/ini_file.h"
#include "harness/main_window.h"
#include "harness/message_box.h"
#include "harness/peers.h"
#include "harness/process.h"
#include "harness/screenshot.h"
#include "harness/wait.h"

namespace tunebridge::e2e {
namespace {

namespace fs = std::filesystem;

constexpr std::chrono::milliseconds kProductDeadline = 30s;
constexpr char kPlayerClass[] = "Winamp v1.x";
constexpr char kProgramTitle[] = "Tunebridge";
constexpr char kPathMessage[] = "The winamp path provided is incorrect.  Please specify a correct path";
constexpr char kRetryTitle[] = "Error -2147221503:";
constexpr char kRetryText[] = "Winamp is not running\r\nPlease run Winamp and click 'Retry'.";

std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

fs::path ArtifactsFolder() {
    if (const char* configured = std::getenv("TUNEBRIDGE_ARTIFACTS"); configured != nullptr && *configured != '\0') {
        return configured;
    }
    return BinDir().parent_path() / "artifacts";
}

// Where the product looks for the player: the Program Files folder + "\winamp\winamp.exe".
fs::path DefaultPlayerExe() {
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return fs::path(folder) / "winamp" / "winamp.exe";
}

// The start-up questions depend on the state of the whole prefix: no player
// window and no player at the default path.
::testing::AssertionResult NoPlayerAnywhere() {
    if (FindWindowA(kPlayerClass, nullptr) != nullptr) {
        return ::testing::AssertionFailure() << "a \"Winamp v1.x\" window is left over from elsewhere";
    }
    if (std::error_code error; fs::exists(DefaultPlayerExe(), error)) {
        return ::testing::AssertionFailure() << DefaultPlayerExe().string() << " is left over from elsewhere";
    }
    return ::testing::AssertionSuccess();
}

// Both an answered box and the text on it.
struct Box {
    HWND window = nullptr;
    std::string text;
    std::vector<int> buttons;
};

Box WaitForBox(const ChildProcess& product, const std::string& title) {
    Box box;
    box.window = FindMessageBoxWithin(product.Pid(), title, kProductDeadline);
    if (box.window != nullptr) {
        box.text = MessageBoxText(box.window);
        box.buttons = MessageBoxButtons(box.window);
    }
    return box;
}

// Waits for the program to end, noting whether its main window showed meanwhile.
bool EndsWithoutShowingItsWindow(const ChildProcess& product, bool& shown) {
    shown = false;
    const bool ended = WaitUntil(
        [&] {
            const HWND window = product.FindOwnWindow("", kMainWindowCaption);
            if (window != nullptr && IsWindowVisible(window)) shown = true;
            return !product.IsRunning();
        },
        kProductDeadline);
    return ended;
}

// The product's start until the Retry box: the path message first, answered with OK.
void AnswerThePathMessage(const ChildProcess& product) {
    const Box path = WaitForBox(product, kProgramTitle);
    ASSERT_NE(path.window, nullptr) << "no path message";
    EXPECT_EQ(path.text, kPathMessage);
    EXPECT_EQ(path.buttons, std::vector<int>{IDOK});
    ASSERT_TRUE(PressMessageBoxButton(path.window, IDOK));
}

TEST(Startup, WithoutThePlayerAsksForItAndRetryBringsUpTheHeldWindow) {
    ASSERT_TRUE(NoPlayerAnywhere());
    const fs::path folder = TempDir(TestName());
    ChildProcess product;
    ASSERT_TRUE(product.Start(StageProduct(folder / "product"), {}, folder / "product"));
    ASSERT_NO_FATAL_FAILURE(AnswerThePathMessage(product));

    const Box retry = WaitForBox(product, kRetryTitle);
    ASSERT_NE(retry.window, nullptr) << "no Retry box";
    EXPECT_EQ(retry.text, kRetryText);
    EXPECT_EQ(retry.buttons, (std::vector<int>{IDRETRY, IDCANCEL}));
    const HWND hidden = product.FindOwnWindow("", kMainWindowCaption);
    EXPECT_TRUE(hidden == nullptr || !IsWindowVisible(hidden)) << "the window shows before start-up is done";

    PlayerPeer player;
    ASSERT_TRUE(player.Start(folder, {.titles = {"Artist - Song"}}));
    ASSERT_TRUE(PressMessageBoxButton(retry.window, IDRETRY));
    const HWND window = FindMainWindowWithin(product, kProductDeadline);
    ASSERT_NE(window, nullptr) << "no main window after Retry";
    EXPECT_EQ(AnyMessageBox(product.Pid()), nullptr);

    const int dpi = WindowDpi(window);
    const SIZE held = HeldOuterSize(dpi);
    if (dpi == 96) {
        EXPECT_EQ(held.cx, 458);
        EXPECT_EQ(held.cy, 130);
    }
    const auto isHeld = [&] {
        const SIZE size = OuterSize(window);
        return size.cx == held.cx && size.cy == held.cy;
    };
    EXPECT_TRUE(isHeld()) << "outer size " << OuterSize(window).cx << " x " << OuterSize(window).cy << " at " << dpi
                          << " DPI";

    // The player came after the launch check, so only the remote knows it;
    // the read-outs report the missing window once `Timer` runs.
    EXPECT_TRUE(WaitUntil([&] { return ControlText(window, control_id::kLastAnswer) == "EEP! Winamp not initialized"; },
                          kProductDeadline))
        << "lblretval: " << ControlText(window, control_id::kLastAnswer);

    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    const fs::path artifacts = ArtifactsFolder();
    fs::create_directories(artifacts);
    EXPECT_TRUE(SaveScreenshotPng((artifacts / "main-window.png").string()));

    // Dragging a border is a resize like this one; the window snaps back.
    for (const SIZE wanted : {SIZE{700, 400}, SIZE{200, 60}}) {
        SetWindowPos(window, nullptr, 0, 0, wanted.cx, wanted.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(WaitUntil(isHeld, kProductDeadline))
            << "after a resize to " << wanted.cx << " x " << wanted.cy << " the window is " << OuterSize(window).cx
            << " x " << OuterSize(window).cy;
    }

    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }, kProductDeadline));
    ShowWindow(window, SW_RESTORE);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(window) && isHeld(); }, kProductDeadline))
        << "after restoring the window is " << OuterSize(window).cx << " x " << OuterSize(window).cy;

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(product.WaitForExit(kProductDeadline)) << "closing the window did not end the program";
    EXPECT_EQ(product.ExitCode(), 0u);
    EXPECT_TRUE(player.Close());
}

TEST(Startup, CancelOnTheRetryBoxEndsWithoutTheWindowAndSavesTheLoadedSettings) {
    ASSERT_TRUE(NoPlayerAnywhere());
    const fs::path folder = TempDir(TestName());
    ChildProcess product;
    ASSERT_TRUE(product.Start(StageProduct(folder), {}, folder));
    ASSERT_NO_FATAL_FAILURE(AnswerThePathMessage(product));
    const Box retry = WaitForBox(product, kRetryTitle);
    ASSERT_NE(retry.window, nullptr) << "no Retry box";
    ASSERT_TRUE(PressMessageBoxButton(retry.window, IDCANCEL));

    bool shown = false;
    ASSERT_TRUE(EndsWithoutShowingItsWindow(product, shown)) << "the program did not end after Cancel";
    EXPECT_FALSE(shown) << "the main window showed after Cancel";
    // The load had finished, so the unload saved what it loaded: the defaults.
    EXPECT_EQ(ReadIniEntries(folder / "tunebridge.ini"), DefaultSettingsEntries());
}

TEST(Startup, WithThePlayerRunningThereIsNoPathMessage) {
    ASSERT_TRUE(NoPlayerAnywhere());
    const fs::path folder = TempDir(TestName());
    PlayerPeer player;
    ASSERT_TRUE(player.Start(folder, {.titles = {"Artist - Song"}}));
    ChildProcess product;
    ASSERT_TRUE(product.Start(StageProduct(folder / "product"), {}, folder / "product"));

    // A message box would hold start-up, so the window shows only without one.
    const HWND window = FindMainWindowWithin(product, kProductDeadline);
    ASSERT_NE(window, nullptr) << "no main window; the box shown says: " << MessageBoxText(AnyMessageBox(product.Pid()));
    // The launch check found the player, so the read-outs show its caption.
    EXPECT_TRUE(WaitUntil([&] { return ControlText(window, control_id::kPlayerCaption) == player.Caption(); }, kProductDeadline))
        << "song: " << ControlText(window, control_id::kPlayerCaption) << ", player: " << player.Caption();

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(product.WaitForExit(kProductDeadline));
    EXPECT_TRUE(player.Close());
}

// A player the product started: known only by its window, stopped by the test.
class LaunchedPlayer {
public:
    LaunchedPlayer() = default;
    LaunchedPlayer(const LaunchedPlayer&) = delete;
    LaunchedPlayer& operator=(const LaunchedPlayer&) = delete;
    ~LaunchedPlayer() { Stop(); }

    bool Adopt(HWND window) {
        window_ = window;
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
        return process_ != nullptr;
    }

    // WM_CLOSE, then the process must end; true when it ended by itself.
    bool Stop() {
        if (process_ == nullptr) return true;
        PostMessageA(window_, WM_CLOSE, 0, 0);
        const bool ended = WaitForSingleObject(process_, static_cast<DWORD>(kPeerDeadline.count())) == WAIT_OBJECT_0;
        if (!ended) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, static_cast<DWORD>(kPeerDeadline.count()));
        }
        CloseHandle(process_);
        process_ = nullptr;
        return ended;
    }

private:
    HWND window_ = nullptr;
    HANDLE process_ = nullptr;
};

// The player copied to the default path for one test; removed again, with the
// folder when the test made it, whatever the test's outcome.
class InstalledPlayer {
public:
    explicit InstalledPlayer(fs::path exe) : exe_(std::move(exe)) {}
    InstalledPlayer(const InstalledPlayer&) = delete;
    InstalledPlayer& operator=(const InstalledPlayer&) = delete;
    ~InstalledPlayer() {
        std::error_code ignored;
        fs::remove(exe_, ignored);
        if (madeFolder_) fs::remove(exe_.parent_path(), ignored);
    }

    bool Install(const fs::path& from) {
        std::error_code error;
        madeFolder_ = fs::create_directories(exe_.parent_path(), error);
        return !error && fs::copy_file(from, exe_, fs::copy_options::overwrite_existing, error) && !error;
    }

private:
    fs::path exe_;
    bool madeFolder_ = false;
};

TEST(Startup, StartsThePlayerFromProgramFilesMinimisedAndCarriesOn) {
    ASSERT_TRUE(NoPlayerAnywhere());
    const fs::path folder = TempDir(TestName());
    // Declared first, so the player is stopped before its file goes.
    InstalledPlayer installed(DefaultPlayerExe());
    ASSERT_TRUE(installed.Install(BinDir() / "fake_winamp.exe"));
    LaunchedPlayer launched;

    ChildProcess product;
    ASSERT_TRUE(product.Start(StageProduct(folder), {}, folder));
    const HWND playerWindow = FindWindowWithin(kPlayerClass, "", kProductDeadline);
    ASSERT_NE(playerWindow, nullptr) << "the product did not start the player";
    ASSERT_TRUE(launched.Adopt(playerWindow));

    const HWND window = FindMainWindowWithin(product, kProductDeadline);
    ASSERT_NE(window, nullptr) << "no main window after the launch";
    EXPECT_EQ(AnyMessageBox(product.Pid()), nullptr);
    EXPECT_TRUE(IsIconic(playerWindow)) << "the player was not started minimised";
    // The launch check waited for the player's window and kept it for the read-outs.
    char caption[512] = {};
    GetWindowTextA(playerWindow, caption, sizeof caption);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(window, control_id::kPlayerCaption) == caption; }, kProductDeadline))
        << "song: " << ControlText(window, control_id::kPlayerCaption) << ", player: " << caption;

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(product.WaitForExit(kProductDeadline));
    EXPECT_TRUE(launched.Stop());
}

// Wine gives a program the Unix HOME of the program that started it (not the
// Windows environment), so a HOME without ALSA's null device is set for the
// whole test program by a ctest entry of its own; in the usual session the
// device is there and every other test shows that the program starts.
std::optional<fs::path> HomeWithoutNullDevice() {
    const char* home = std::getenv("WINEHOMEDIR");  // "\??\Z:\..."
    if (home == nullptr) return std::nullopt;
    std::string path = home;
    if (path.rfind("\\??\\", 0) == 0) path.erase(0, 4);
    std::error_code error;
    if (fs::exists(fs::path(path) / ".asoundrc", error)) return std::nullopt;
    return fs::path(path);
}

TEST(DirectSoundGate, WithoutASoundDeviceTheProgramRefusesAndWritesNothing) {
    if (!HomeWithoutNullDevice()) {
        GTEST_SKIP() << "HOME has ALSA's null device; ctest runs this case as e2e_no_sound_device with an empty HOME";
    }
    ASSERT_TRUE(NoPlayerAnywhere());
    const fs::path folder = TempDir(TestName());
    ChildProcess product;
    ASSERT_TRUE(product.Start(StageProduct(folder), {}, folder));

    // Nothing comes before this box: not the path message, not the Retry box.
    const Box refusal = WaitForBox(product, kProgramTitle);
    ASSERT_NE(refusal.window, nullptr) << "no DirectSound message";
    EXPECT_EQ(refusal.text, "Gat ekki stillt DirectSound");
    EXPECT_EQ(refusal.buttons, std::vector<int>{IDOK});
    ASSERT_TRUE(PressMessageBoxButton(refusal.window, IDOK));

    bool shown = false;
    ASSERT_TRUE(EndsWithoutShowingItsWindow(product, shown)) << "the program did not end after OK";
    EXPECT_FALSE(shown);
    EXPECT_FALSE(fs::exists(folder / "tunebridge.ini")) << "settings were written after the refusal";
}

}  // namespace
}  // namespace tunebridge::e2e
