// The real tunebridge.exe under Wine beside the simulated player: keys pressed
// with SendInput reach the program through the system-wide key state, and a
// bound combination sends its command to the player once per press.
//
// Nothing here may ask GetAsyncKeyState about the keys it presses: the
// "pressed since the last query" bit is shared with the program under test.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "harness/keyboard.h"
#include "harness/peers.h"
#include "harness/product.h"
#include "harness/wait.h"

namespace tunebridge::e2e {
namespace {

namespace fs = std::filesystem;
namespace command = peers::player_command;

constexpr std::chrono::milliseconds kProgramDeadline = 60s;
// How long one readiness attempt waits for the witness key's command.
constexpr std::chrono::milliseconds kReadinessAttempt = 3s;
constexpr int kReadinessAttempts = 5;

// The key whose press the product must judge: F5. The witness key F6 is bound
// to a later slot without modifiers; its command arriving proves that a poll
// has run (and, slots being polled in order, has looked at F5 first).
constexpr WORD kBoundKey = VK_F5;
constexpr WORD kWitnessKey = VK_F6;

// A held key's state stays "already reported" however long it is held; each
// witness round is at least one more poll that must not fire again.
constexpr int kHeldRounds = 10;

struct Slot {
    int key = 0;
    int shift = 0;
    int ctrl = 0;
    int alt = 0;
};

// The slots given are written; every other slot keeps its default of the
// settings file (key and modifiers i+1, which can never fire).
std::string HotkeyIni(const std::map<int, Slot>& slots) {
    const auto section = [&](const char* name, int Slot::*field) {
        std::string text = std::string("[") + name + "]\r\n";
        for (const auto& [index, slot] : slots) {
            text += "Key" + std::to_string(index) + "=" + std::to_string(slot.*field) + "\r\n";
        }
        return text;
    };
    return section("Keys", &Slot::key) + section("SKeys", &Slot::shift) + section("CKeys", &Slot::ctrl) +
           section("AKeys", &Slot::alt);
}

std::string TestName() {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) c = (c == '/') ? '-' : c;
    return name;
}

class HotkeysTest : public ::testing::Test {
protected:
    // Starts the player, then the program with these slots, and waits until
    // a held witness key reaches the program's poll.
    ::testing::AssertionResult Start(const std::map<int, Slot>& slots, std::uint32_t witnessCommand) {
        const fs::path folder = TempDir("hotkeys-" + TestName());
        ParkPointerAwayFromWindows();
        PlayerPeer::Options options;
        options.titles = {"Artist One - First Song", "Artist Two - Second Song", "Artist Three - Third Song"};
        if (auto started = player_.Start(folder, options); !started) return started;
        // Not activated, as beside a game that keeps the foreground. The
        // window shows once start-up has made the remote, so the hotkeys
        // have something to run from then on.
        if (auto started = product_.Start(folder, HotkeyIni(slots), SW_SHOWNOACTIVATE); !started) return started;
        // A window that appears may still make Wine let go of the keys held
        // at that moment (see ParkPointerAwayFromWindows); the first witness
        // press is therefore tried again until one gets through.
        for (int attempt = 0; attempt < kReadinessAttempts; ++attempt) {
            if (WitnessPoll(witnessCommand, kReadinessAttempt)) return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "the witness key never reached the program";
    }

    void TearDown() override {
        keyboard_.ReleaseAll();
        if (product_.Window() != nullptr) {
            EXPECT_TRUE(product_.Close(kProgramDeadline)) << "the program did not end after its window was closed";
        }
        player_.Close();
    }

    // How many WM_COMMANDs with this id the player has received.
    int Received(std::uint32_t id) const {
        int count = 0;
        for (const PeerMessage& message : player_.Messages()) {
            count += message.msg == peers::kPlayerWmCommand && message.wParam == id ? 1 : 0;
        }
        return count;
    }

    bool WaitForReceived(std::uint32_t id, int count,
                         std::chrono::milliseconds deadline = kProgramDeadline) const {
        return WaitUntil([&] { return Received(id) >= count; }, deadline);
    }

    // Holds the witness key until its slot's command arrives, then lets go.
    // Commands reach the player in the order the program sends them, so
    // anything the keys pressed before would fire is in the log by then.
    ::testing::AssertionResult WitnessPoll(std::uint32_t witnessCommand,
                                           std::chrono::milliseconds deadline = kProgramDeadline) {
        const int before = Received(witnessCommand);
        if (!keyboard_.Press(kWitnessKey)) return ::testing::AssertionFailure() << "SendInput refused the witness key";
        const bool seen = WaitForReceived(witnessCommand, before + 1, deadline);
        keyboard_.Release(kWitnessKey);
        if (!seen) return ::testing::AssertionFailure() << "the witness key's command " << witnessCommand << " never came";
        return ::testing::AssertionSuccess();
    }

    std::string LastAction() const { return product_.ControlText(control_id::kLastAction); }

    Keyboard keyboard_;
    PlayerPeer player_;
    Product product_;
};

// F5 on slot 2 (Next) without modifiers; the witness F6 on slot 3 (Prev).
TEST_F(HotkeysTest, PlainKeyFiresOncePerPressHowLongEverItIsHeld) {
    ASSERT_TRUE(Start({{2, Slot{kBoundKey, 0, 0, 0}}, {3, Slot{kWitnessKey, 0, 0, 0}}}, command::kPrevious));

    ASSERT_TRUE(keyboard_.Press(kBoundKey));
    ASSERT_TRUE(WaitForReceived(command::kNext, 1)) << "F5 did not send Next";
    EXPECT_TRUE(WaitUntil([&] { return LastAction() == "TrackNext"; }, kProgramDeadline))
        << "the last action shows \"" << LastAction() << "\"";

    for (int round = 0; round < kHeldRounds; ++round) ASSERT_TRUE(WitnessPoll(command::kPrevious));
    EXPECT_EQ(Received(command::kNext), 1) << "a held key fired again";

    ASSERT_TRUE(keyboard_.Release(kBoundKey));
    ASSERT_TRUE(keyboard_.Press(kBoundKey));
    ASSERT_TRUE(WaitForReceived(command::kNext, 2)) << "a second press did not send Next again";
    ASSERT_TRUE(keyboard_.Release(kBoundKey));
    ASSERT_TRUE(WitnessPoll(command::kPrevious));
    EXPECT_EQ(Received(command::kNext), 2);
}

// Shift+F5 on slot 0 (Play); the witness F6 on slot 1 (Stop). Shift is sent
// both as the generic code and as the left-hand code: the program's query of
// the generic code 16 must see a press sent either way, although the system's
// own state of code 16 never reports one as new here.
class ShiftHotkeyTest : public HotkeysTest, public ::testing::WithParamInterface<WORD> {};

TEST_P(ShiftHotkeyTest, FiresOnlyWhenShiftIsPressedBeforeTheKey) {
    const WORD shift = GetParam();
    ASSERT_TRUE(Start({{0, Slot{kBoundKey, VK_SHIFT, 0, 0}}, {1, Slot{kWitnessKey, 0, 0, 0}}}, command::kStop));

    // F5 alone is judged (the witness fires after it) and sends nothing.
    ASSERT_TRUE(keyboard_.Press(kBoundKey));
    ASSERT_TRUE(WitnessPoll(command::kStop));
    ASSERT_TRUE(keyboard_.Release(kBoundKey));
    EXPECT_EQ(Received(command::kPlay), 0) << "F5 without Shift fired";

    ASSERT_TRUE(keyboard_.Press(shift));
    ASSERT_TRUE(keyboard_.Press(kBoundKey));
    ASSERT_TRUE(WaitForReceived(command::kPlay, 1)) << "Shift, then F5 did not send Play";
    for (int round = 0; round < kHeldRounds; ++round) ASSERT_TRUE(WitnessPoll(command::kStop));
    EXPECT_EQ(Received(command::kPlay), 1) << "holding Shift+F5 fired again";

    // Shift held across a second press of F5 was already reported: no fire.
    ASSERT_TRUE(keyboard_.Release(kBoundKey));
    ASSERT_TRUE(keyboard_.Press(kBoundKey));
    ASSERT_TRUE(WitnessPoll(command::kStop));
    EXPECT_EQ(Received(command::kPlay), 1) << "a Shift held since the last press counted as new";

    // Both let go and pressed again in order: it fires again.
    keyboard_.ReleaseAll();
    ASSERT_TRUE(keyboard_.Press(shift));
    ASSERT_TRUE(keyboard_.Press(kBoundKey));
    ASSERT_TRUE(WaitForReceived(command::kPlay, 2)) << "a new Shift+F5 did not send Play again";
    keyboard_.ReleaseAll();
    ASSERT_TRUE(WitnessPoll(command::kStop));
    EXPECT_EQ(Received(command::kPlay), 2);
}

INSTANTIATE_TEST_SUITE_P(Hotkeys, ShiftHotkeyTest, ::testing::Values(WORD{VK_SHIFT}, WORD{VK_LSHIFT}),
                         [](const ::testing::TestParamInfo<WORD>& info) {
                             return info.param == VK_SHIFT ? std::string("GenericShift") : std::string("LeftShift");
                         });

}  // namespace
}  // namespace tunebridge::e2e
