#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/runtime_error.h"
#include "fake/fake_desktop.h"
#include "winamp/winamp_requests.h"

namespace tunebridge {
namespace {

using fake::FakeDesktop;
using fake::Message;

// A player window that answers every request with wParam * 1000 + lParam,
// so a wrong argument shows in the answer too.
struct Requests : ::testing::Test {
    Requests() {
        player = desktop.CreateWindow("Winamp v1.x", "1. Song - Winamp");
        desktop.Window(player).handler = [](fake::FakeWindow&, const Message& m) -> std::optional<std::int32_t> {
            return static_cast<std::int32_t>(m.wParam * 1000 + static_cast<std::uint32_t>(m.lParam));
        };
        state.hWinampWnd = player;
    }
    FakeDesktop desktop;
    SharedState state;
    Hwnd player = 0;
};

TEST_F(Requests, InfoModesSendTheirRequestOrNothing) {
    struct Case {
        int mode;
        std::int32_t lParam;
        std::uint32_t wParam;
    };
    const Case sending[] = {{0, 0, 0},   {1, 101, 0},  {2, 104, 0},   {3, 105, 1},   {4, 105, 0},  {6, 120, 3},
                            {8, 124, 0}, {9, 125, 0},  {10, 126, 0},  {11, 126, 1},  {12, 126, 3}};
    for (const Case& c : sending) {
        SCOPED_TRACE(c.mode);
        desktop.ClearMessages();
        const WinampInfoValue answer = WinampInfo(desktop, state, static_cast<std::uint8_t>(c.mode));
        ASSERT_TRUE(std::holds_alternative<std::int32_t>(answer));
        EXPECT_EQ(std::get<std::int32_t>(answer), static_cast<std::int32_t>(c.wParam * 1000) + c.lParam);
        EXPECT_EQ(desktop.Messages(), (std::vector<Message>{{player, kWM_USER, c.wParam, c.lParam, "", true}}));
    }

    desktop.ClearMessages();
    for (int mode : {5, 7, 14, 200, 255}) {
        SCOPED_TRACE(mode);
        EXPECT_TRUE(std::holds_alternative<std::monostate>(WinampInfo(desktop, state, static_cast<std::uint8_t>(mode))));
    }
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(Requests, RequestsGoToTheSharedHandleNotToTheFirstPlayerWindow) {
    const Hwnd other = desktop.CreateWindow("Winamp v1.x", "");
    state.hWinampWnd = other;
    WinampInfo(desktop, state, 4);
    WinampSetPlaylistPos(desktop, state, 2);
    WinampJumpToTime(desktop, state, 1, 0);
    ASSERT_EQ(desktop.Messages().size(), 3u);
    for (const Message& m : desktop.Messages()) EXPECT_EQ(m.hwnd, other);
}

TEST_F(Requests, CleanTitleStripsNumberSuffixAndPausedMark) {
    struct Case {
        const char* caption;
        const char* title;
    };
    const Case cases[] = {
        {"12. Artist - Song - Winamp [Paused]", "Artist - Song"},
        {"3. Mr. Big - Winamp [PAUSED]", "Mr. Big"},  // only the first point ends the number
        {"No number - Winamp", "No number"},
        {"- Winamp", ""},
        {"4. Song - Winamp [Stopped]", "Song - Winamp ["},  // no rule for the stopped mark
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        desktop.Window(player).caption = c.caption;
        const WinampInfoValue answer = WinampInfo(desktop, state, 13);
        ASSERT_TRUE(std::holds_alternative<std::string>(answer));
        EXPECT_EQ(std::get<std::string>(answer), c.title);
    }
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(Requests, CleanTitleIsRememberedPerCaptionAndATooShortCaptionGivesEmptyEveryTime) {
    desktop.Window(player).caption = "12. Artist - Song - Winamp";
    WinampInfo(desktop, state, 13);
    // A changed remembered result proves the second call did not clean again.
    state.sInfoCleanTitle = "remembered";
    EXPECT_EQ(std::get<std::string>(WinampInfo(desktop, state, 13)), "remembered");
    for (const char* caption : {"Winamp", "[paused]"}) {
        desktop.Window(player).caption = caption;
        // Asked twice: the second is not answered with an older caption's title.
        for (int ask = 0; ask < 2; ++ask)
            EXPECT_TRUE(std::holds_alternative<std::monostate>(WinampInfo(desktop, state, 13))) << caption;
    }
    desktop.Window(player).caption = "13. Next - Winamp";
    EXPECT_EQ(std::get<std::string>(WinampInfo(desktop, state, 13)), "Next");
}

TEST_F(Requests, SetPlaylistPosWidensTheIndexWithItsSign) {
    const std::vector<std::pair<std::int16_t, std::uint32_t>> cases = {
        {-1, 0xFFFFFFFFu}, {0, 0}, {5, 5}, {32767, 32767}, {-32768, 0xFFFF8000u}};
    for (const auto& [index, wParam] : cases) {
        SCOPED_TRACE(index);
        desktop.ClearMessages();
        EXPECT_EQ(WinampSetPlaylistPos(desktop, state, index), static_cast<std::int32_t>(wParam * 1000 + 121));
        EXPECT_EQ(desktop.Messages(), (std::vector<Message>{{player, kWM_USER, wParam, 121, "", true}}));
    }
}

TEST_F(Requests, JumpToTimeSendsMillisecondsOrRaisesOverflowSendingNothing) {
    EXPECT_EQ(WinampJumpToTime(desktop, state, 83, 250), 83250 * 1000 + 106);
    EXPECT_EQ(desktop.Messages(), (std::vector<Message>{{player, kWM_USER, 83250, 106, "", true}}));
    desktop.ClearMessages();

    WinampJumpToTime(desktop, state, 2147483, 647);  // the largest position that fits
    EXPECT_EQ(desktop.Messages().back().wParam, 2147483647u);
    desktop.ClearMessages();

    for (const auto& [seconds, ms] : std::vector<std::pair<std::int32_t, std::int32_t>>{
             {2147484, 0}, {2147483, 648}, {-2147484, 0}, {0x7FFFFFFF, 0x7FFFFFFF}}) {
        SCOPED_TRACE(seconds);
        try {
            WinampJumpToTime(desktop, state, seconds, ms);
            ADD_FAILURE() << "no overflow";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), kErrOverflow);
        }
    }
    EXPECT_TRUE(desktop.Messages().empty());
}

}  // namespace
}  // namespace tunebridge
