#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/main_window.h"
#include "app/main_window_layout.h"
#include "app/startup_services.h"
#include "settings/settings_store.h"
#include "fake/fake_peers.h"
#include "resources/control_ids.h"

namespace tunebridge {
namespace {

using namespace fake;
namespace id = control_id;

constexpr Hwnd kSelf = 0x2000;
const std::string kExe = "C:\\Program Files\\winamp\\winamp.exe";

// A machine with the player installed at its default path.
struct App : ::testing::Test {
    App() {
        desktop.specialFolders[kCsidlPlayerFolder] = " C:\\Program Files ";  // with blanks to trim
        desktop.files.insert(kExe);
    }
    std::string Shown(int controlId) const { return window.StateOf(controlId).value().caption; }

    FakeDesktop desktop;
    SharedState shared{desktop};
    MainWindow window{desktop, shared};
};

TEST_F(App, AfterACompletedStartUpThePlayerIsReadOutAndTheUnloadSaves) {
    FakePlayer player(desktop, {"One", "Two"}, 1, 83999);
    window.Unload();
    EXPECT_EQ(desktop.iniWrites, Lines{}) << "settings that were never loaded are not saved";

    ASSERT_TRUE(window.Load(kSelf));
    window.Tick(MainTimer::PlayerReadout);
    EXPECT_EQ(Shown(id::kPlayerCaption), "2. Two - Winamp");
    EXPECT_TRUE(window.StateOf(id::kPlayerCaption)->ansiCaption) << "text of another program";
    EXPECT_EQ(Shown(id::kLastAnswer), "83");
    EXPECT_EQ(desktop.processStarts.size(), 0u) << "the player was running";
    window.Unload();
    EXPECT_EQ(std::pair(desktop.iniWrites.size(), desktop.iniWrites.back()),
              std::pair(std::size_t{47}, std::string("Text/Text3=Winamp")));
}

// The entry's title holds the marker: the program's own line is no request.
TEST_F(App, TimersRunAtTheirIntervalsAndTheConsolePollAnswersTheMarkerEveryMillisecond) {
    FakePlayer player(desktop, {"Winamp:Playlist"});
    FakeConsole console(desktop);
    ASSERT_TRUE(window.Load(kSelf));
    console.engine.ReplaceBuffer("Winamp:Playlist\r\n");
    const auto intervals = [&] {  // console, readout, track line, hotkeys, sensor line; 0 when stopped
        std::vector<unsigned> all;
        for (std::size_t t = 0; t < kMainTimerCount; ++t) {
            const TimerSetting& timer = window.Timer(MainTimer(t));
            all.push_back(timer.enabled ? timer.intervalMs : 0);
        }
        return all;
    };
    EXPECT_EQ(intervals(), (std::vector<unsigned>{500, 100, 500, 10, 10000}));
    window.Tick(MainTimer::ConsolePoll);
    EXPECT_EQ(intervals(), (std::vector<unsigned>{1, 100, 500, 10, 10000}));
    desktop.onYield = [&] { console.Frame(); };
    for (int i = 0; i < 5; ++i) window.Tick(MainTimer::ConsolePoll);
    EXPECT_EQ(console.engine.TypedLines(), Lines{"echo ^1Playlist ^7: ^11. Winamp:Playlist"});
}

TEST_F(App, ButtonsAndHotkeysRunTheirPlayerOperation) {
    FakePlayer player(desktop, {"Song"});
    ASSERT_TRUE(window.Load(kSelf));
    window.OnClick(id::kTrackPlay);
    EXPECT_FALSE(window.OpenAboutBox() || window.OpenSettingsDialog());
    window.OnClick(id::kSettings);
    EXPECT_TRUE(window.OpenSettingsDialog());
    shared.settings.Hotkey(HotkeySlot::VolumeUp) = {116, 0, 0, 0};  // F5
    window.Tick(MainTimer::HotkeyPoll);  // nothing pressed yet
    desktop.PressKey(116);
    window.Tick(MainTimer::HotkeyPoll);
    EXPECT_EQ(Shown(id::kLastAction), "VolRaise");
    EXPECT_EQ(desktop.messages,
              (std::vector<Message>{{player.window, kCommand, 40045, 0, ""}, {player.window, kCommand, 40058, 0, ""}}));
    window.OnClick(id::kQuit);
    EXPECT_TRUE(window.CloseRequested());
}

TEST_F(App, APlayerNotRunningIsStartedAndWaitedForWithTheReadoutOff) {
    std::optional<FakePlayer> player;
    bool readoutOff = true;
    desktop.onYield = [&] {
        readoutOff = readoutOff && !window.Timer(MainTimer::PlayerReadout).enabled;
        if (desktop.TickCountMs() >= 250 && !player) player.emplace(desktop, Lines{"Song"});
    };
    ASSERT_TRUE(window.Load(kSelf));
    EXPECT_EQ(desktop.processStarts, (std::vector<std::pair<std::string, int>>{{kExe, 2}}));
    EXPECT_TRUE(readoutOff);
    EXPECT_TRUE(window.Timer(MainTimer::PlayerReadout).enabled);
    EXPECT_EQ(desktop.messageBoxes, Lines{});
}

TEST_F(App, APlayerThatNeverAppearsEndsTheProgramAfterAMinute) {
    desktop.AdvanceClock(std::chrono::hours{1});  // the minute counts from the launch, not from boot
    EXPECT_THROW(window.Load(kSelf), ProgramEnded);
    EXPECT_GE(desktop.TickCountMs(), 3660000u);
    EXPECT_LT(desktop.TickCountMs(), 3661000u);
    EXPECT_EQ(desktop.messageBoxes, Lines{"Tunebridge|Winamp failed to open in the time given.  Please contact the "
                                          "program creator for more information|0"});
}

TEST_F(App, OnlyAMissingPlayerWindowIsAnsweredWithTheRetryPrompt) {
    desktop.files.clear();  // nothing to start, so no player window
    EXPECT_FALSE(window.Load(kSelf));
    EXPECT_EQ(desktop.messageBoxes.back(), "Error -2147221503:|Winamp is not running\r\nPlease run Winamp and click 'Retry'.|53");
    desktop.ini["Keys/Key0"] = "70000";
    EXPECT_FALSE(window.Load(kSelf));
    EXPECT_EQ(desktop.messageBoxes.size(), 3u) << "the overflow's own message and nothing more";
}

TEST_F(App, AFailedLaunchIsSwallowed) {
    desktop.onCreateProcess = [] { throw RuntimeError(53, "File not found", "CheckWinamp"); };
    EXPECT_NO_THROW(CheckWinamp(desktop, kExe, shared.player));
}

TEST_F(App, ATickDoesNotStartInsideItsOwnUnfinishedTick) {
    int depth = 0, deepest = 0;
    MainTimer nested = MainTimer::ConsolePoll;
    desktop.onYield = [&] {
        deepest = std::max(deepest, ++depth);
        if (depth == 1) window.Tick(nested);
        --depth;
    };
    window.Tick(MainTimer::ConsolePoll);
    EXPECT_EQ(deepest, 1);

    nested = MainTimer::HotkeyPoll;  // the guard is per timer
    window.Tick(MainTimer::ConsolePoll);
    EXPECT_EQ(deepest, 2);

    nested = MainTimer::ConsolePoll;  // a finished tick lets the timer tick again
    deepest = 0;
    window.Tick(MainTimer::ConsolePoll);
    EXPECT_EQ(deepest, 1);
}

TEST(MainWindowLayout, NoButtonOrTextBoxOverlapsAnotherControlInTheVisibleArea) {
    const WindowLayout& layout = MainWindowLayout();
    const auto overlapInView = [&](const TwipRect& a, const TwipRect& b) {
        return std::max(a.left, b.left) < std::min({a.left + a.width, b.left + b.width, layout.clientWidthTwips}) &&
               std::max(a.top, b.top) < std::min({a.top + a.height, b.top + b.height, layout.clientHeightTwips});
    };
    for (const ControlLayout& control : layout.controls) {
        if (control.kind != ControlKind::Button && control.kind != ControlKind::TextBox) continue;
        for (const ControlLayout& other : layout.controls) {
            if (other.id == control.id || other.id == control.container) continue;
            EXPECT_FALSE(overlapInView(PositionInWindow(layout, control), PositionInWindow(layout, other)))
                << control.designName << " overlaps " << other.designName;
        }
    }
}

TEST(MainWindowLayout, TwipsAndPointsBecomePixelsAtTheScreensDpiRoundedAsMulDivRounds) {
    for (const auto& [dpi, width, height, font] : {std::tuple{96, 458, 130, -11}, {120, 573, 163, -14}, {144, 687, 195, -17}})
        EXPECT_EQ(std::tuple(TwipsToPixels(kMainWindowWidthTwips, dpi), TwipsToPixels(kMainWindowHeightTwips, dpi),
                             FontHeightPixels(8.25, dpi)), std::tuple(width, height, font)) << dpi;
}

} // namespace
} // namespace tunebridge
