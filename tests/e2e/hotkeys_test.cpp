// The real tunebridge.exe under Wine beside the simulated player: keys pressed
// with SendInput reach the program through the system-wide key state, and a
// bound combination sends its command to the player once per press.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "harness/keyboard.h"
#include "harness/peers.h"
#include "harness/product.h"

namespace tunebridge::e2e {
namespace {

namespace command = peers::player_command;

// How long one readiness attempt waits for the witness key's command.
constexpr std::chrono::milliseconds kReadinessAttempt = 3s;
constexpr int kReadinessAttempts = 5;
// A held key's state stays "already reported" however long it is held; each
// witness round is at least one more poll that must not fire again.
constexpr int kHeldRounds = 10;

// Shift+F5 on slot 0 (Play). The witness F6 is bound to slot 1 (Stop) without
// modifiers; its command arriving proves that a poll has run and, slots
// being polled in order, has judged F5 first. The other slots keep the
// defaults of a fresh settings file, which never fire.
constexpr WORD kBoundKey = VK_F5;
constexpr WORD kWitnessKey = VK_F6;
constexpr char kIni[] =
    "[Keys]\r\nKey0=116\r\nKey1=117\r\n[SKeys]\r\nKey0=16\r\nKey1=0\r\n"
    "[CKeys]\r\nKey0=0\r\nKey1=0\r\n[AKeys]\r\nKey0=0\r\nKey1=0\r\n";

class Hotkeys : public ::testing::Test {
protected:
    // Starts the player, then the program, and waits until a held witness
    // key reaches the program's poll.
    void SetUp() override {
        ParkPointerAwayFromWindows();
        ASSERT_TRUE(player_.Start(folder_, {.titles = {"Artist One - First Song", "Artist Two - Second Song"}}));
        // Not activated, as beside a game that keeps the foreground; the window
        // shows once start-up has made the remote that the hotkeys run.
        ASSERT_TRUE(product_.Start(folder_, kIni, SW_SHOWNOACTIVATE));
        // A window that appears may make Wine let go of the keys held then
        // (see ParkPointerAwayFromWindows): the first witness press is retried.
        bool ready = false;
        for (int attempt = 0; attempt < kReadinessAttempts && !ready; ++attempt) ready = WitnessPoll(kReadinessAttempt);
        ASSERT_TRUE(ready) << "the witness key never reached the program";
    }

    void TearDown() override {
        keyboard_.ReleaseAll();
        EXPECT_TRUE(product_.Window() == nullptr || product_.Close()) << "the program did not end";
        player_.Close();
    }

    // How many WM_COMMANDs with this id the player has received.
    int Received(std::uint32_t id) const {
        const std::string record = std::to_string(peers::kPlayerWmCommand) + " " + std::to_string(id) + " 0";
        return static_cast<int>(std::ranges::count(player_.Messages(), record));
    }

    // Holds the witness key until its slot's command arrives, then lets go.
    // Commands reach the player in the order the program sends them, so
    // anything the keys pressed before would fire is in the log by then.
    ::testing::AssertionResult WitnessPoll(std::chrono::milliseconds deadline = kProductDeadline) {
        const int before = Received(command::kStop);
        if (!keyboard_.Press(kWitnessKey)) return ::testing::AssertionFailure() << "SendInput refused the witness key";
        const bool seen = WaitUntil([&] { return Received(command::kStop) > before; }, deadline);
        keyboard_.Release(kWitnessKey);
        if (!seen) return ::testing::AssertionFailure() << "the witness key's Stop never came";
        return ::testing::AssertionSuccess();
    }

    const std::filesystem::path folder_ = TestDir();
    Keyboard keyboard_;
    PlayerPeer player_;
    Product product_;
};

// The program's query of the generic code 16 must see a Shift sent as that
// code, although under Wine the generic code never reports a press as new.
TEST_F(Hotkeys, GenericShiftFiresOnlyWhenPressedBeforeTheKeyAndOncePerPress) {
    // F5 alone is judged (the witness fires after it) and sends nothing.
    ASSERT_TRUE(keyboard_.Press(kBoundKey));
    ASSERT_TRUE(WitnessPoll());
    ASSERT_TRUE(keyboard_.Release(kBoundKey));
    EXPECT_EQ(Received(command::kPlay), 0) << "F5 without Shift fired";

    ASSERT_TRUE(keyboard_.Press(VK_SHIFT));
    ASSERT_TRUE(keyboard_.Press(kBoundKey));
    ASSERT_TRUE(WaitUntil([&] { return Received(command::kPlay) >= 1; }, kProductDeadline)) << "Shift, F5: no Play";
    EXPECT_TRUE(WaitUntil([&] { return product_.ControlText(control_id::kLastAction) == "TrackPlay"; },
                          kProductDeadline))
        << "the last action shows \"" << product_.ControlText(control_id::kLastAction) << "\"";
    for (int round = 0; round < kHeldRounds; ++round) ASSERT_TRUE(WitnessPoll());
    EXPECT_EQ(Received(command::kPlay), 1) << "holding Shift+F5 fired again";

    // Shift held across a second press of F5 was already reported: no fire.
    ASSERT_TRUE(keyboard_.Release(kBoundKey));
    ASSERT_TRUE(keyboard_.Press(kBoundKey));
    ASSERT_TRUE(WitnessPoll());
    EXPECT_EQ(Received(command::kPlay), 1) << "a Shift held since the last press counted as new";

    // Both let go and pressed again in order: it fires again.
    keyboard_.ReleaseAll();
    ASSERT_TRUE(keyboard_.Press(VK_SHIFT));
    ASSERT_TRUE(keyboard_.Press(kBoundKey));
    ASSERT_TRUE(WaitUntil([&] { return Received(command::kPlay) >= 2; }, kProductDeadline)) << "new Shift+F5: no Play";
    keyboard_.ReleaseAll();
    ASSERT_TRUE(WitnessPoll());
    EXPECT_EQ(Received(command::kPlay), 2);
}

// A game loading a map answers no message for seconds: the hotkeys go on
// meanwhile, and the track line of the stop reaches the console once after.
TEST_F(Hotkeys, DuringAFourSecondFrameOfTheGameTheHotkeysWorkAndTheLineArrivesAfterwards) {
    ConsolePeer console;
    ASSERT_TRUE(console.Start(folder_));
    ASSERT_TRUE(WaitUntil([&] { return std::ranges::count(console.Typed(), "name") == 1; }, kProductDeadline));
    ASSERT_EQ(console.Send("stall 4000"), 1);
    ASSERT_TRUE(WaitUntil([&] { return std::ranges::count(console.Log(), "STALL 4000") == 1; }, kPeerDeadline));
    ASSERT_TRUE(WitnessPoll(3s));
    EXPECT_EQ(std::ranges::count(console.Log(), "AWAKE"), 0) << "the hotkey waited for the game";
    ASSERT_TRUE(console.WaitForOut("Winamp : 1. Artist One - First Song [Stopped] ", kProductDeadline));
    const auto stopped = [](const std::string& line) { return line.find("Stopped") != std::string::npos; };
    EXPECT_EQ(std::ranges::count_if(console.Typed(), stopped), 1);
    console.Close();
}

}  // namespace
}  // namespace tunebridge::e2e
