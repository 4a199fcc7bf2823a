#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fake/fake_desktop.h"
#include "winamp/control_actions.h"

namespace tunebridge {
namespace {

using fake::FakeDesktop;
using fake::Message;

struct ActionCase {
    const char* action;
    void (*run)(FormControls&, clsWinamp&);
    const char* operation;  // what lblaction shows
    std::uint32_t commandId;
};

// Every action of the main window, with the remote operation it calls and
// the command id that operation sends.
const std::vector<ActionCase> kActions = {
    {"cmdTrackPrev_Click", cmdTrackPrev_Click, "TrackPrev", 40044},
    {"cmdTrackNext_Click", cmdTrackNext_Click, "TrackNext", 40048},
    {"cmdTrackPlay_Click", cmdTrackPlay_Click, "TrackPlay", 40045},
    {"cmdTrackPause_Click", cmdTrackPause_Click, "TrackPause", 40046},
    {"cmdTrackStop_Click", cmdTrackStop_Click, "TrackStop", 40047},
    {"cmdTrackFadeout_Click", cmdTrackFadeout_Click, "TrackFadeout", 40147},
    {"cmdTrackStopAfter_Click", cmdTrackStopAfter_Click, "TrackStopAfter", 40157},
    {"cmdFRewind_Click", cmdFRewind_Click, "TrackFRewind", 40144},
    {"cmdTrackFForward_Click", cmdTrackFForward_Click, "TrackFForward", 40148},
    {"cmdTrackOpenFile_Click", cmdTrackOpenFile_Click, "TrackOpenFile", 40029},
    {"cmdTrackOpenURL_Click", cmdTrackOpenURL_Click, "TrackOpenURL", 40155},
    {"DoVolRaise", DoVolRaise, "VolRaise", 40058},
    {"DoVolLower", DoVolLower, "VolLower", 40059},
};

TEST(ControlActions, EachShowsItsOperationSendsItsCommandAndShowsTheAnswer) {
    for (const ActionCase& c : kActions) {
        SCOPED_TRACE(c.action);
        FakeDesktop desktop;
        const Hwnd player = desktop.CreateWindow("Winamp v1.x", "1. Song - Winamp");
        FormControls form;
        std::string actionDuringSend;
        std::string retvalDuringSend;
        // A distinct answer per command, negative so that the sign must survive.
        desktop.Window(player).handler = [&](fake::FakeWindow&, const Message& m) -> std::optional<std::int32_t> {
            actionDuringSend = form.lblaction;
            retvalDuringSend = form.lblretval;
            return -static_cast<std::int32_t>(m.wParam);
        };
        clsWinamp winamp(desktop);

        c.run(form, winamp);

        EXPECT_EQ(desktop.Messages(), (std::vector<Message>{{player, kWM_COMMAND, c.commandId, 0, "", true}}));
        EXPECT_EQ(actionDuringSend, c.operation) << "the name is shown before the command goes out";
        EXPECT_EQ(retvalDuringSend, "Label3");
        EXPECT_EQ(form.lblaction, c.operation);
        EXPECT_EQ(form.lblretval, "-" + std::to_string(c.commandId));
    }
}

TEST(ControlActions, StillSetBothLabelsWhenThePlayerWindowIsGone) {
    FakeDesktop desktop;
    const Hwnd player = desktop.CreateWindow("Winamp v1.x", "1. Song - Winamp");
    desktop.Window(player).handler = [](fake::FakeWindow&, const Message&) { return std::optional<std::int32_t>{7}; };
    clsWinamp winamp(desktop);
    FormControls form;
    cmdTrackPlay_Click(form, winamp);
    ASSERT_EQ(form.lblretval, "7");

    desktop.DestroyWindow(player);
    DoVolLower(form, winamp);

    EXPECT_EQ(form.lblaction, "VolLower");
    EXPECT_EQ(form.lblretval, "0");
    ASSERT_EQ(desktop.Messages().size(), 2u);
    EXPECT_FALSE(desktop.Messages().back().delivered);
}

}  // namespace
}  // namespace tunebridge
