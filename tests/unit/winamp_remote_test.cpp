#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "app/runtime_error.h"
#include "fake/fake_desktop.h"
#include "winamp/cls_winamp.h"
#include "winamp/control_actions.h"

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
#define OPERATION(name, id) {#name, &clsWinamp::name, id}
const CommandCase kCommands[] = {
    OPERATION(TrackPrev, 40044), OPERATION(TrackNext, 40048), OPERATION(TrackPlay, 40045),
    OPERATION(TrackPause, 40046), OPERATION(TrackStop, 40047), OPERATION(TrackFadeout, 40147),
    OPERATION(TrackStopAfter, 40157), OPERATION(TrackFForward, 40148), OPERATION(TrackFRewind, 40144),
    OPERATION(TrackOpenFile, 40029), OPERATION(TrackOpenURL, 40155), OPERATION(TrackInfo, 40188),
    OPERATION(ListStart, 40154), OPERATION(ListEnd, 40158), OPERATION(VisDispElapsed, 40037),
    OPERATION(VisDispRemaining, 40038), OPERATION(VisPlugInOptions, 40191), OPERATION(VisPlugInExec, 40192),
    OPERATION(ToggleScrPreferences, 40012), OPERATION(ToggleScrAbout, 40041), OPERATION(ToggleAutoscroll, 40189),
    OPERATION(ToggleAlwaysOnTop, 40019), OPERATION(ToggleWindowshadeMain, 40064),
    OPERATION(ToggleWindowshadeList, 40266), OPERATION(ToggleDoublesize, 40165), OPERATION(ToggleEq, 40036),
    OPERATION(ToggleList, 40040), OPERATION(ToggleMain, 40258), OPERATION(ToggleBrowser, 40298),
    OPERATION(ToggleEasyMove, 40186), OPERATION(ToggleRepeat, 40022), OPERATION(ToggleShuffle, 40023),
    OPERATION(VolRaise, 40058), OPERATION(VolLower, 40059), OPERATION(MiscJumpToTime, 40193),
    OPERATION(MiscJumpToFile, 40194), OPERATION(MiscSkinSelector, 40219), OPERATION(MiscSkinReload, 40291),
    OPERATION(MiscClose, 40001),
};
#undef OPERATION

std::uint32_t CommandId(const std::string& operation) {
    for (const CommandCase& c : kCommands)
        if (operation == c.name) return c.id;
    return 0;
}

// A player window (behind another top-level window) whose answers differ per
// command and are negative, so that a result passed on unchanged is told from
// a constant and its sign must survive.
struct Remote : ::testing::Test {
    Remote() {
        desktop.CreateWindow("Other", "Winamp v1.x");
        player = desktop.CreateWindow("Winamp v1.x", "1. Song - Winamp");
        desktop.Window(player).handler = [this](fake::FakeWindow&, const Message& m) -> std::optional<std::int32_t> {
            labelsDuringSend = {form.lblaction, form.lblretval};
            return -static_cast<std::int32_t>(m.wParam);
        };
    }
    FakeDesktop desktop;
    Hwnd player = 0;
    FormControls form;
    std::pair<std::string, std::string> labelsDuringSend;
};

TEST_F(Remote, EachOperationSendsOneCommandWithItsIdAndReturnsTheAnswer) {
    static_assert(std::size(kCommands) == 39);
    clsWinamp remote(desktop);
    ASSERT_EQ(remote.hwnd(), player);
    for (const CommandCase& c : kCommands) {
        SCOPED_TRACE(c.name);
        desktop.ClearMessages();
        EXPECT_EQ((remote.*c.operation)(), -static_cast<std::int32_t>(c.id));
        EXPECT_EQ(desktop.Messages(), (std::vector<Message>{{player, kWM_COMMAND, c.id, 0, "", true}}));
    }

    // The handle is found once: a restarted player is not followed.
    desktop.DestroyWindow(player);
    desktop.CreateWindow("Winamp v1.x", "1. Song - Winamp");
    desktop.ClearMessages();
    EXPECT_EQ(remote.TrackPlay(), 0);
    EXPECT_EQ(remote.GetWinampTitle(), "");
    EXPECT_EQ(desktop.Messages().at(0).hwnd, player);
}

TEST_F(Remote, EachActionShowsItsOperationSendsItsCommandAndShowsTheAnswer) {
    struct ActionCase {
        void (*run)(FormControls&, clsWinamp&);
        const char* operation;
    };
    const ActionCase actions[] = {
        {cmdTrackPrev_Click, "TrackPrev"},         {cmdTrackNext_Click, "TrackNext"},
        {cmdTrackPlay_Click, "TrackPlay"},         {cmdTrackPause_Click, "TrackPause"},
        {cmdTrackStop_Click, "TrackStop"},         {cmdTrackFadeout_Click, "TrackFadeout"},
        {cmdTrackStopAfter_Click, "TrackStopAfter"}, {cmdFRewind_Click, "TrackFRewind"},
        {cmdTrackFForward_Click, "TrackFForward"}, {cmdTrackOpenFile_Click, "TrackOpenFile"},
        {cmdTrackOpenURL_Click, "TrackOpenURL"},   {DoVolRaise, "VolRaise"},
        {DoVolLower, "VolLower"},
    };
    clsWinamp winamp(desktop);
    for (const ActionCase& c : actions) {
        SCOPED_TRACE(c.operation);
        desktop.ClearMessages();
        form = FormControls{};
        c.run(form, winamp);
        const std::uint32_t id = CommandId(c.operation);
        EXPECT_EQ(desktop.Messages(), (std::vector<Message>{{player, kWM_COMMAND, id, 0, "", true}}));
        EXPECT_EQ(labelsDuringSend, std::make_pair(std::string(c.operation), std::string("Label3")))
            << "the name is shown before the command goes out";
        EXPECT_EQ(form.lblaction, c.operation);
        EXPECT_EQ(form.lblretval, "-" + std::to_string(id));
    }

    desktop.DestroyWindow(player);
    DoVolLower(form, winamp);
    EXPECT_EQ(form.lblaction, "VolLower");
    EXPECT_EQ(form.lblretval, "0") << "a gone player still sets both labels";
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
    std::string longCaption;
    for (std::size_t i = 0; i < 3000; ++i) longCaption.push_back(static_cast<char>('a' + i % 26));
    desktop.Window(player).caption = longCaption;
    EXPECT_EQ(remote.GetWinampTitle(), longCaption.substr(0, 2047));
    desktop.Window(player).caption = std::string("7. Song - Winamp\0junk", 21);
    EXPECT_EQ(remote.GetWinampTitle(), "7. Song - Winamp");
}

}  // namespace
}  // namespace tunebridge
