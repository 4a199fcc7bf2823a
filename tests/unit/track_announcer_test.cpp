#include "announce/track_announcer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "fake/fake_console.h"
#include "fake/fake_desktop.h"
#include "fake/fake_player.h"

namespace tunebridge {
namespace {

using namespace std::chrono_literals;
using fake::FakeConsole;
using fake::FakeDesktop;
using fake::FakePlayer;
using Lines = std::vector<std::string>;

constexpr const char* kWorkedCaption = "12. Artist - Song - Winamp [Paused]";

// The colours of the announcer's worked example: C0..C10.
void UseExampleColours(SharedState& state) {
    const std::int16_t colours[] = {1, 7, 3, 2, 4, 1, 4, 7, 5, 7, 5};
    for (std::size_t k = 0; k < std::size(colours); ++k) state.ColorCode[k] = colours[k];
}

// A player whose position the announcer reads, a console of the given kind,
// and the settings of "Display only on track change".
struct AnnouncerRig {
    explicit AnnouncerRig(const std::string& consoleTitle = "Quake 3 Console") : console(desktop, consoleTitle) {
        UseExampleColours(state);
        state.hWinampWnd = player.Window();
        state.TextSetting[1] = "10";
        state.TextSetting[2] = "True";
    }

    void Tick(const std::string& caption) {
        form.song = caption;
        TrackAnnouncerTick(desktop, state, form);
    }
    // The lines the console received since the last call.
    std::vector<std::string> NewLines() {
        const auto& typed = console.TypedLines();
        std::vector<std::string> fresh(typed.begin() + static_cast<std::ptrdiff_t>(seen), typed.end());
        seen = typed.size();
        return fresh;
    }

    FakeDesktop desktop;
    SharedState state;
    FormControls form;
    FakePlayer player{desktop, {"Song"}};
    FakeConsole console;
    std::size_t seen = 0;
};

TEST(FormatTime, PlainAndColouredMinutesAndSeconds) {
    struct Row {
        std::int16_t seconds;
        const char* style;
        const char* text;
        std::int16_t after;
    };
    const Row rows[] = {
        {-1, "PlainText", "0:00", 0},       {-32768, "", "0:00", 0},         {59, "PlainText", "0:59", 59},
        {60, "PlainText", "1:00", 60},      {4000, "PlainText", "66:40", 4000}, {32767, "", "546:07", 32767},
        {83, "Quake3", "^51^7:^523", 83},   {-5, "Quake3", "^50^7:^500", 0},  {600, "quake3", "10:00", 600},
    };
    for (const Row& row : rows) {
        SharedState state;
        UseExampleColours(state);
        state.sConsoleStyle = row.style;
        std::int16_t seconds = row.seconds;
        EXPECT_EQ(FormatTime(state, seconds), row.text) << row.seconds << " " << row.style;
        EXPECT_EQ(seconds, row.after) << row.seconds;
    }
}

TEST(TrackAnnouncer, WorkedExampleInColourStyle) {
    AnnouncerRig rig("Wolf Console");
    rig.state.sConsoleStyle = "Quake3";
    rig.player.SetPosition(83500);

    rig.Tick(kWorkedCaption);

    EXPECT_EQ(rig.form.quakec, "12.  ^2Artist ^2- ^2Song ^2^4[^1Paused^4] ^7[^51^7:^523^7]^7");
    EXPECT_EQ(rig.NewLines(),
              Lines{"echo ^1Winamp ^7: ^312.  ^2Artist ^2- ^2Song ^2^4[^1Paused^4] ^7[^51^7:^523^7]^7"});
}

TEST(TrackAnnouncer, WorkedExampleInPlainStyleRepeatsPlainAfterTenSecondBoundaries) {
    AnnouncerRig rig;
    rig.state.TextSetting[2] = "False";
    rig.player.SetPosition(83500);
    // 0.9 s into a second: the announcement counts from that whole second.
    rig.desktop.SetNow(std::chrono::sys_seconds{1767225600s});
    rig.desktop.AdvanceClock(900ms);

    rig.Tick(kWorkedCaption);
    EXPECT_EQ(rig.NewLines(),
              Lines{"echo ^1Winamp ^7: ^312.  ^2Artist ^2- ^2Song ^2^4[^1Paused^4] ^7[1:23^7]^7"});

    rig.desktop.AdvanceClock(9000ms);  // 9.9 s later, nine boundaries
    rig.Tick(kWorkedCaption);
    EXPECT_TRUE(rig.NewLines().empty());

    rig.desktop.AdvanceClock(100ms);  // 10.0 s later, ten boundaries
    rig.Tick(kWorkedCaption);
    EXPECT_EQ(rig.NewLines(), Lines{"echo Winamp : 12. Artist - Song [Paused] [1:23]"});

    rig.desktop.AdvanceClock(9500ms);  // the repeat restarts the count
    rig.Tick(kWorkedCaption);
    EXPECT_TRUE(rig.NewLines().empty());
}

TEST(TrackAnnouncer, CaptionsBecomeTrackLines) {
    struct Row {
        const char* caption;
        const char* line;
    };
    const Row rows[] = {
        {"Song - Winamp", "S ^2Song ^7[0:00^7]^7"},
        {"3. Band - Winamp Live - Winamp", "3.  ^2Band ^2Live ^7[0:00^7]^7"},
        {"4. Song - Winamp [paused]", "4.  ^2Song ^2[paused] ^7[0:00^7]^7"},
        {"5. Song - Winamp [Stopped]", "5.  ^2Song ^2^4[^1Stopped^4] ^7[0:00^7]^7"},
        {"6.   Wide  Gap   - Winamp", "6.  ^2Wide ^2 ^2Gap ^7[0:00^7]^7"},
        // Equal to the empty text of "no track yet": no change to announce.
        {"", " ^2 ^7[0:00^7]^7"},
    };
    for (const Row& row : rows) {
        AnnouncerRig rig;
        rig.Tick(row.caption);
        EXPECT_EQ(rig.form.quakec, row.line) << row.caption;
        const auto expected = *row.caption == '\0' ? Lines{}
                                                    : Lines{std::string("echo ^1Winamp ^7: ^3") + row.line};
        EXPECT_EQ(rig.NewLines(), expected) << row.caption;
    }
}

TEST(TrackAnnouncer, RepeatSettingsDecideHowOftenTheLineIsSent) {
    struct Row {
        const char* onlyOnChange;  // TextSetting 2
        const char* interval;      // TextSetting 1
        std::vector<std::size_t> linesPerTick;
    };
    // Ticks 500 ms apart: a new caption, the same caption, another caption.
    const Row rows[] = {
        {"False", "0", {2, 1, 2}},
        {"False", "abc", {2, 1, 2}},
        {"False", "-5", {2, 1, 2}},
        {"False", "10", {1, 0, 1}},
        {"True", "0", {1, 0, 1}},
        {"Winamp", "0", {1, 0, 1}},
        {"false", "0", {1, 0, 1}},
    };
    for (const Row& row : rows) {
        AnnouncerRig rig;
        rig.state.TextSetting[2] = row.onlyOnChange;
        rig.state.TextSetting[1] = row.interval;
        std::vector<std::size_t> counts;
        for (const char* caption : {"1. A - Winamp", "1. A - Winamp", "2. B - Winamp"}) {
            rig.Tick(caption);
            counts.push_back(rig.NewLines().size());
            rig.desktop.AdvanceClock(500ms);
        }
        EXPECT_EQ(counts, row.linesPerTick) << row.onlyOnChange << " / " << row.interval;
    }
}

TEST(TrackAnnouncer, AChangeWithoutAConsoleIsNotAnnouncedLater) {
    FakeDesktop desktop;
    SharedState state;
    FormControls form;
    state.TextSetting[2] = "True";
    form.song = "1. A - Winamp";
    TrackAnnouncerTick(desktop, state, form);

    FakeConsole console(desktop);
    TrackAnnouncerTick(desktop, state, form);
    EXPECT_TRUE(console.TypedLines().empty());
}

TEST(TrackAnnouncer, APositionBeyondSixteenBitsKeepsTheLastTimeAndTheRestRuns) {
    AnnouncerRig rig;
    rig.state.TextSetting[2] = "False";
    rig.state.TextSetting[1] = "0";
    rig.player.SetPosition(83500);
    rig.Tick("1. A - Winamp");
    rig.NewLines();

    rig.player.SetPosition(32768 * 1000);
    rig.Tick("2. B - Winamp");
    EXPECT_EQ(rig.NewLines(), (Lines{"echo ^1Winamp ^7: ^32.  ^2B ^7[1:23^7]^7", "echo Winamp : 2. B [1:23]"}));
    EXPECT_EQ(rig.state.sLastTrackTitle, "2. B");

    // In the very first tick there is no earlier time to keep.
    AnnouncerRig fresh;
    fresh.player.SetPosition(40000 * 1000);
    fresh.Tick("1. A - Winamp");
    EXPECT_EQ(fresh.NewLines(), Lines{"echo ^1Winamp ^7: ^31.  ^2A "});
}

TEST(TrackAnnouncer, NegativeOrMissingPositionShowsZero) {
    AnnouncerRig rig;
    rig.player.SetPosition(-1);
    rig.Tick("1. A - Winamp");
    EXPECT_EQ(rig.form.quakec, "1.  ^2A ^7[0:00^7]^7");

    rig.state.hWinampWnd = 0;
    rig.player.SetPosition(83500);
    rig.Tick("2. B - Winamp");
    EXPECT_EQ(rig.form.quakec, "2.  ^2B ^7[0:00^7]^7");
}

TEST(TrackAnnouncer, YieldsOnceBetweenBuildingTheLineAndSendingIt) {
    AnnouncerRig rig;
    std::vector<std::string> atYield;
    rig.desktop.onYield = [&] {
        atYield.push_back(rig.form.quakec);
        EXPECT_TRUE(rig.console.TypedLines().empty());
        rig.form.song = "9. Other - Winamp";  // the caption refresh runs meanwhile
    };
    rig.Tick("1. A - Winamp");

    EXPECT_EQ(rig.desktop.yields, 1);
    EXPECT_EQ(atYield, Lines{"1.  ^2A ^7[0:00^7]^7"});
    EXPECT_EQ(rig.NewLines(), Lines{"echo ^1Winamp ^7: ^31.  ^2A ^7[0:00^7]^7"});
    EXPECT_EQ(rig.state.sLastTrackTitle, "1. A");
}

TEST(WinampReadout, CaptionAndWholeSecondsThenAYieldOrOnlyTheWarningWithoutTheSharedHandle) {
    struct Row {
        std::int32_t positionMs;
        const char* shown;  // nullptr: hWinampWnd left at 0
    };
    for (const Row& row : {Row{83999, "83"}, Row{0, "0"}, Row{-1, "-1"}, Row{-1000, "-1"}, Row{-1001, "-2"}, Row{5000, nullptr}}) {
        FakeDesktop desktop;
        SharedState state;
        FormControls form;
        FakePlayer player(desktop, {"One", "Two"}, 1, fake::PlayerState::paused, row.positionMs);
        clsWinamp winamp(desktop);
        if (row.shown) state.hWinampWnd = player.Window();

        WinampReadoutTick(desktop, state, form, winamp);
        EXPECT_EQ(form.song, row.shown ? "2. Two - Winamp [Paused]" : "00:00:00");
        EXPECT_EQ(form.lblretval, row.shown ? row.shown : "EEP! Winamp not initialized") << row.positionMs;
        EXPECT_EQ(desktop.yields, row.shown ? 1 : 0);
        EXPECT_EQ(player.Received().empty(), !row.shown);
    }
}

} // namespace
} // namespace tunebridge
