// Start-up of the real tunebridge.exe under Wine: the questions it asks when
// the player is missing, the player started from the 32-bit Program Files
// folder, and the refusal without a sound device.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "harness/peers.h"
#include "harness/product.h"

namespace tunebridge::e2e {
namespace {

namespace fs = std::filesystem;

constexpr char kPlayerClass[] = "Winamp v1.x";

// Where the product looks for the player, which installs as a 32-bit program:
// the 32-bit Program Files folder + "\winamp\winamp.exe". That folder may not
// exist yet in a prefix of a 64-bit-only Wine.
fs::path DefaultPlayerExe() {
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILESX86 | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, folder);
    return fs::path(folder) / "winamp" / "winamp.exe";
}

// The start-up questions depend on the state of the whole prefix: no player
// window and no player at the default path.
bool NoPlayerAnywhere() {
    std::error_code error;
    return FindWindowA(kPlayerClass, nullptr) == nullptr && !fs::exists(DefaultPlayerExe(), error);
}

std::pair<LONG, LONG> OuterSize(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

TEST(Startup, WithoutThePlayerAsksAndAfterRetryFollowsTheOneStartedByHandInAFixedSizeWindow) {
    ASSERT_TRUE(NoPlayerAnywhere()) << "a player is left over from elsewhere";
    const fs::path folder = TestDir();
    Product product;
    ASSERT_TRUE(product.Launch(folder));
    const MessageBoxSeen path = product.WaitForMessageBox("Tunebridge");
    ASSERT_NE(path.window, nullptr) << "no path message";
    EXPECT_EQ(path.text, "The winamp path provided is incorrect.  Please specify a correct path");
    EXPECT_EQ(path.buttons, std::vector<int>{IDOK});
    ASSERT_TRUE(PressButton(path.window, IDOK));

    const MessageBoxSeen retry = product.WaitForMessageBox("Error -2147221503:");
    ASSERT_NE(retry.window, nullptr) << "no Retry box";
    EXPECT_EQ(retry.text, "Winamp is not running\r\nPlease run Winamp and click 'Retry'.");
    EXPECT_EQ(retry.buttons, (std::vector<int>{IDRETRY, IDCANCEL}));
    EXPECT_EQ(product.Process().FindOwnWindow("", kMainWindowCaption), nullptr) << "the window shows before start-up";

    ConsolePeer console;
    ASSERT_TRUE(console.Start(folder));
    PlayerPeer player;
    ASSERT_TRUE(player.Start(folder, {.titles = {"Artist - Song"}}));
    ASSERT_TRUE(PressButton(retry.window, IDRETRY));
    const HWND window = product.WaitForWindow();
    ASSERT_NE(window, nullptr) << "no main window after Retry";
    EXPECT_EQ(product.WaitForMessageBox("", 0ms).window, nullptr);
    // The player found after Retry is the one the track line follows.
    EXPECT_TRUE(console.WaitForOut("1. Artist - Song", kProductDeadline)) << "no track line in the console";
    EXPECT_TRUE(SaveArtifact(window, "main-window.bmp"));

    // Dragging a border is a resize like these; the window snaps back, and
    // comes back from the task bar at the same size.
    const auto held = OuterSize(window);
    const auto isHeld = [&] { return OuterSize(window) == held; };
    for (const auto& [width, height] : {std::pair{700, 400}, {200, 60}}) {
        SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(WaitUntil(isHeld, kProductDeadline)) << "not held after a resize to " << width << " x " << height;
    }
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }, kProductDeadline));
    ShowWindow(window, SW_RESTORE);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(window) && isHeld(); }, kProductDeadline));

    EXPECT_TRUE(product.Close()) << "closing the window did not end the program";
    EXPECT_TRUE(player.Close());
}

// Removes the player copied to the default path, and the folder when the
// test made it, whatever the test's outcome.
struct Uninstall {
    fs::path exe;
    bool madeFolder;
    ~Uninstall() {
        std::error_code ignored;
        fs::remove(exe, ignored);
        if (madeFolder) fs::remove(exe.parent_path(), ignored);
    }
};

TEST(Startup, StartsThePlayerFromProgramFilesX86MinimisedAndCarriesOn) {
    ASSERT_TRUE(NoPlayerAnywhere()) << "a player is left over from elsewhere";
    // Made first, so the player is stopped before its file goes.
    const Uninstall installed{DefaultPlayerExe(), fs::create_directories(DefaultPlayerExe().parent_path())};
    ASSERT_TRUE(fs::copy_file(BinDir() / "fake_winamp.exe", installed.exe));
    ChildProcess launched;
    Product product;
    ASSERT_TRUE(product.Launch(TestDir()));

    HWND player = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (player = FindWindowA(kPlayerClass, nullptr)) != nullptr; }, kProductDeadline))
        << "the product did not start the player";
    ASSERT_TRUE(launched.Adopt(player));
    ASSERT_NE(product.WaitForWindow(), nullptr) << "no main window after the launch";
    EXPECT_EQ(product.WaitForMessageBox("", 0ms).window, nullptr);
    EXPECT_TRUE(IsIconic(player)) << "the player was not started minimised";
    // The launch check waited for the player's window and kept it for the read-outs.
    const std::string caption = TextOf(player);
    std::string shown;
    EXPECT_TRUE(product.WaitForControlText(control_id::kPlayerCaption,
                                           [&](const std::string& text) { return text == caption; }, shown))
        << "song: " << shown << ", player: " << caption;

    EXPECT_TRUE(product.Close());
    EXPECT_TRUE(launched.Close(kPeerDeadline));
}

// Wine gives a program the Unix HOME of the program that started it (not the
// Windows environment), so a HOME without ALSA's null device is set for the
// whole test program by a ctest entry of its own; in the usual session the
// device is there and every other test shows that the program starts.
bool HomeWithoutNullDevice() {
    const char* home = std::getenv("WINEHOMEDIR");  // "\??\Z:\..."
    std::string path = home == nullptr ? "" : home;
    if (path.starts_with("\\??\\")) path.erase(0, 4);
    std::error_code error;
    return home != nullptr && !fs::exists(fs::path(path) / ".asoundrc", error);
}

TEST(DirectSoundGate, WithoutASoundDeviceTheProgramRefusesAndWritesNothing) {
    if (!HomeWithoutNullDevice()) {
        GTEST_SKIP() << "HOME has ALSA's null device; ctest runs this case as e2e_no_sound_device with an empty HOME";
    }
    ASSERT_TRUE(NoPlayerAnywhere()) << "a player is left over from elsewhere";
    Product product;
    ASSERT_TRUE(product.Launch(TestDir()));

    // Nothing comes before this box: not the path message, not the Retry box.
    const MessageBoxSeen refusal = product.WaitForMessageBox("Tunebridge");
    ASSERT_NE(refusal.window, nullptr) << "no DirectSound message";
    EXPECT_EQ(refusal.text, "Gat ekki stillt DirectSound");
    EXPECT_EQ(refusal.buttons, std::vector<int>{IDOK});
    ASSERT_TRUE(PressButton(refusal.window, IDOK));

    bool shown = false;
    ASSERT_TRUE(product.WaitForEnd(shown)) << "the program did not end after OK";
    EXPECT_FALSE(shown);
    EXPECT_FALSE(fs::exists(product.IniPath())) << "settings were written after the refusal";
}

}  // namespace
}  // namespace tunebridge::e2e
