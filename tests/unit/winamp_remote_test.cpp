#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "app/runtime_error.h"
#include "fake/fake_desktop.h"
#include "winamp/cls_winamp.h"

namespace tunebridge {
namespace {

using fake::FakeDesktop;
using fake::Message;

struct CommandCase {
    const char* name;
    std::int32_t (clsWinamp::*operation)();
    std::uint32_t id;
};

// The player's command table, in the remote's order.
const CommandCase kCommands[] = {
    {"TrackPrev", &clsWinamp::TrackPrev, 40044},
    {"TrackNext", &clsWinamp::TrackNext, 40048},
    {"TrackPlay", &clsWinamp::TrackPlay, 40045},
    {"TrackPause", &clsWinamp::TrackPause, 40046},
    {"TrackStop", &clsWinamp::TrackStop, 40047},
    {"TrackFadeout", &clsWinamp::TrackFadeout, 40147},
    {"TrackStopAfter", &clsWinamp::TrackStopAfter, 40157},
    {"TrackFForward", &clsWinamp::TrackFForward, 40148},
    {"TrackFRewind", &clsWinamp::TrackFRewind, 40144},
    {"TrackOpenFile", &clsWinamp::TrackOpenFile, 40029},
    {"TrackOpenURL", &clsWinamp::TrackOpenURL, 40155},
    {"TrackInfo", &clsWinamp::TrackInfo, 40188},
    {"ListStart", &clsWinamp::ListStart, 40154},
    {"ListEnd", &clsWinamp::ListEnd, 40158},
    {"VisDispElapsed", &clsWinamp::VisDispElapsed, 40037},
    {"VisDispRemaining", &clsWinamp::VisDispRemaining, 40038},
    {"VisPlugInOptions", &clsWinamp::VisPlugInOptions, 40191},
    {"VisPlugInExec", &clsWinamp::VisPlugInExec, 40192},
    {"ToggleScrPreferences", &clsWinamp::ToggleScrPreferences, 40012},
    {"ToggleScrAbout", &clsWinamp::ToggleScrAbout, 40041},
    {"ToggleAutoscroll", &clsWinamp::ToggleAutoscroll, 40189},
    {"ToggleAlwaysOnTop", &clsWinamp::ToggleAlwaysOnTop, 40019},
    {"ToggleWindowshadeMain", &clsWinamp::ToggleWindowshadeMain, 40064},
    {"ToggleWindowshadeList", &clsWinamp::ToggleWindowshadeList, 40266},
    {"ToggleDoublesize", &clsWinamp::ToggleDoublesize, 40165},
    {"ToggleEq", &clsWinamp::ToggleEq, 40036},
    {"ToggleList", &clsWinamp::ToggleList, 40040},
    {"ToggleMain", &clsWinamp::ToggleMain, 40258},
    {"ToggleBrowser", &clsWinamp::ToggleBrowser, 40298},
    {"ToggleEasyMove", &clsWinamp::ToggleEasyMove, 40186},
    {"ToggleRepeat", &clsWinamp::ToggleRepeat, 40022},
    {"ToggleShuffle", &clsWinamp::ToggleShuffle, 40023},
    {"VolRaise", &clsWinamp::VolRaise, 40058},
    {"VolLower", &clsWinamp::VolLower, 40059},
    {"MiscJumpToTime", &clsWinamp::MiscJumpToTime, 40193},
    {"MiscJumpToFile", &clsWinamp::MiscJumpToFile, 40194},
    {"MiscSkinSelector", &clsWinamp::MiscSkinSelector, 40219},
    {"MiscSkinReload", &clsWinamp::MiscSkinReload, 40291},
    {"MiscClose", &clsWinamp::MiscClose, 40001},
};

TEST(WinampRemote, EachOperationSendsOneCommandWithItsIdAndReturnsTheAnswer) {
    static_assert(std::size(kCommands) == 39);
    FakeDesktop desktop;
    desktop.CreateWindow("Other", "");  // the remote must pick the player's window, not the first one
    const Hwnd player = desktop.CreateWindow("Winamp v1.x", "1. Song - Winamp");
    // Answers differ per command, so a result passed on unchanged is told from a constant.
    desktop.Window(player).handler = [](fake::FakeWindow&, const Message& m) -> std::optional<std::int32_t> {
        return static_cast<std::int32_t>(m.wParam) - 50000;
    };
    clsWinamp remote(desktop);
    ASSERT_EQ(remote.hwnd(), player);

    for (const CommandCase& c : kCommands) {
        SCOPED_TRACE(c.name);
        desktop.ClearMessages();
        EXPECT_EQ((remote.*c.operation)(), static_cast<std::int32_t>(c.id) - 50000);
        EXPECT_EQ(desktop.Messages(), (std::vector<Message>{{player, kWM_COMMAND, c.id, 0, "", true}}));
    }
}

TEST(WinampRemote, KeepsItsHandleAfterThePlayerWindowIsGone) {
    FakeDesktop desktop;
    const Hwnd first = desktop.CreateWindow("Winamp v1.x", "1. Song - Winamp");
    desktop.Window(first).handler = [](fake::FakeWindow&, const Message&) -> std::optional<std::int32_t> { return 1; };
    clsWinamp remote(desktop);
    desktop.DestroyWindow(first);
    desktop.CreateWindow("Winamp v1.x", "1. Song - Winamp");  // the player started again

    for (const CommandCase& c : kCommands) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ((remote.*c.operation)(), 0);
    }
    EXPECT_EQ(remote.GetWinampTitle(), "");
    for (const Message& m : desktop.Messages()) EXPECT_EQ(m.hwnd, first);
}

TEST(WinampRemote, ConstructionWithoutAPlayerWindowFailsWithWinampNotRunning) {
    FakeDesktop desktop;
    desktop.CreateWindow("Other", "Winamp v1.x");  // a title is not the class
    try {
        clsWinamp remote(desktop);
        FAIL() << "constructed without a player window";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(static_cast<std::uint32_t>(error.Number()), 0x80040001u);
        EXPECT_EQ(error.Description(), "Winamp is not running");
        EXPECT_EQ(error.Source(), "Winamp Class");
    }
}

TEST(WinampRemote, TitleIsReadThroughA2048CharacterBufferAndCutAtTheFirstNul) {
    FakeDesktop desktop;
    const Hwnd player = desktop.CreateWindow("Winamp v1.x", "");
    clsWinamp remote(desktop);
    EXPECT_EQ(remote.GetWinampTitle(), "");

    std::string longCaption(3000, 'x');
    for (std::size_t i = 0; i < longCaption.size(); ++i) longCaption[i] = static_cast<char>('a' + i % 26);
    desktop.Window(player).caption = longCaption;
    EXPECT_EQ(remote.GetWinampTitle(), longCaption.substr(0, 2047));

    desktop.Window(player).caption = std::string("7. Song - Winamp\0junk", 21);
    EXPECT_EQ(remote.GetWinampTitle(), "7. Song - Winamp");
}

}  // namespace
}  // namespace tunebridge
