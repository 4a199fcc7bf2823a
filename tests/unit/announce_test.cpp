#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "announce/playlist.h"
#include "announce/track_announcer.h"
#include "console/engine_text.h"
#include "fake/fake_peers.h"

namespace tunebridge {
namespace {

using namespace fake;
using namespace std::chrono_literals;

constexpr const char* kQuake = "Quake 3 Console";
constexpr const char* kWorkedCaption = "12. Artist - Song - Winamp [Paused]";

// The colours of the announcer's worked example, elements 0 to 10.
Settings ExampleSettings(const char* displayOnChangeOnly = "True", const char* repeatSeconds = "10") {
    Settings settings;
    const std::int16_t colours[] = {1, 7, 3, 2, 4, 1, 4, 7, 5, 7, 5};
    std::copy(std::begin(colours), std::end(colours), settings.colors.begin());
    settings.displayOnChangeOnly = displayOnChangeOnly;
    settings.repeatSeconds = repeatSeconds;
    return settings;
}

// "Title 1" ... or, as listed, "echo ^1Playlist ^7: ^11. Title 1" ...
Lines Titles(int count, bool listed = false) {
    Lines titles;
    for (int n = 1; n <= count; ++n)
        titles.push_back((listed ? "echo ^1Playlist ^7: ^1" + std::to_string(n) + ". " : "") + "Title " + std::to_string(n));
    return titles;
}

// The announcers between a player, whose position they read, and a console.
struct Rig {
    explicit Rig(const std::string& consoleTitle = kQuake, Settings chosen = ExampleSettings(), Lines titles = {"Song"},
                 int index = 0)
        : console(desktop, consoleTitle), player(desktop, std::move(titles), index), settings(std::move(chosen)) {
        requests.SetWindow(player.window);
    }
    // One tick of the track announcer: the lines the console received.
    Lines Tick(const std::string& caption) {
        announcer.Tick(caption, trackLine);
        TypeAll();
        const Lines& typed = console.engine.TypedLines();
        return Lines(typed.begin() + static_cast<std::ptrdiff_t>(std::exchange(seen, typed.size())), typed.end());
    }
    const Lines& Echo() {
        EchoPlaylist(desktop, commands, remote, requests, lastAnswer);
        TypeAll();
        return console.engine.TypedLines();
    }
    // The queued lines typed, the game running a frame after each.
    void TypeAll() {
        while (commands.Waiting() > 0) {
            commands.TypeNext(console.output);
            console.Frame();
        }
    }

    FakeDesktop desktop;
    FakeConsole console;
    FakePlayer player;
    Settings settings;
    ConsoleCommands commands{desktop};
    PlayerRemote remote{desktop};
    PlayerRequests requests{desktop};
    TrackAnnouncer announcer{desktop, commands, requests, settings};
    std::string trackLine;
    std::string lastAnswer;
    std::size_t seen = 0;
};

TEST(FormatTime, MinutesAndTwoDigitSecondsPlainOrColoured) {
    const std::tuple<std::int16_t, bool, const char*, std::int16_t> rows[] = {  // seconds before and after
        {-1, false, "0:00", 0},  {9, false, "0:09", 9},          {10, false, "0:10", 10},
        {59, false, "0:59", 59}, {60, false, "1:00", 60},        {70, false, "1:10", 70},
        {32767, false, "546:07", 32767}, {83, true, "^51^7:^623", 83}, {-5, true, "^50^7:^600", 0},
    };
    Settings settings = ExampleSettings();
    settings.Color(ColorElement::Seconds) = 6;
    for (const auto& [before, colours, text, after] : rows) {
        std::int16_t seconds = before;
        EXPECT_EQ(FormatTime(seconds, colours, settings), text) << before;
        EXPECT_EQ(seconds, after) << before;
    }
}

TEST(TrackAnnouncer, WorkedExampleInAConsoleThatShowsColours) {
    Rig rig("Wolf Console");
    rig.Tick("1. Other - Winamp");  // the first line teaches the command path the console's style
    rig.player.engine.SetPosition(83500);
    EXPECT_EQ(rig.Tick(kWorkedCaption),
              Lines{"echo ^1Winamp ^7: ^312.  ^2Artist ^2- ^2Song ^2^4[^1Paused^4] ^7[^51^7:^523^7]^7"});
}

TEST(TrackAnnouncer, WorkedExampleInAPlainConsoleRepeatsPlainAfterTenSecondBoundaries) {
    Rig rig(kQuake, ExampleSettings("False", "10"));
    rig.player.engine.SetPosition(83500);
    // The clock before each tick: 0.9 s into a second, then 9.9, 10.0 and 19.5 s later.
    const std::pair<std::chrono::milliseconds, Lines> ticks[] = {
        {900ms, {"echo ^1Winamp ^7: ^312.  ^2Artist ^2- ^2Song ^2^4[^1Paused^4] ^7[1:23^7]^7"}},
        {9000ms, {}}, {100ms, {"echo Winamp : 12. Artist - Song [Paused] [1:23]"}}, {9500ms, {}}};
    for (const auto& [advance, lines] : ticks) {
        rig.desktop.AdvanceClock(advance);
        EXPECT_EQ(rig.Tick(kWorkedCaption), lines) << advance.count();
    }
}

TEST(TrackAnnouncer, CaptionsBecomeTrackLines) {
    const std::pair<const char*, const char*> rows[] = {
        {"Song - Winamp", "S ^2Song ^7[0:00^7]^7"},
        {"3. Band - Winamp Live - Winamp", "3.  ^2Band ^2Live ^7[0:00^7]^7"},
        {"4. Song - Winamp [paused]", "4.  ^2Song ^2[paused] ^7[0:00^7]^7"},
        {"5. Song - Winamp [Stopped]", "5.  ^2Song ^2^4[^1Stopped^4] ^7[0:00^7]^7"},
        {"7.  - Winamp", "7.  ^2 ^7[0:00^7]^7"},
        {"8. AC//DC R\xF3s - Winamp", "8.  ^2AC/^2/DC ^2Ros ^7[0:00^7]^7"},
    };
    for (const auto& [caption, line] : rows) {
        Rig rig;
        EXPECT_EQ(rig.Tick(caption), Lines{std::string("echo ^1Winamp ^7: ^3") + line});
        rig.desktop.AdvanceClock(20s);
        EXPECT_EQ(rig.Tick(caption), Lines{}) << "only a change is announced, however long after";
    }
}

// The game runs no more than 507 characters of a line: the title gives way.
TEST(TrackAnnouncer, ALongTitleIsShortenedSoTheLineEndsWithItsStateAndTime) {
    Rig rig;
    const Lines typed = rig.Tick("9. " + std::string(600, 'x') + " - Winamp [Paused]");
    ASSERT_EQ(typed.size(), 1u);
    EXPECT_EQ(typed[0].size(), kLongestTypedLine);
    EXPECT_TRUE(typed[0].ends_with("x... ^2^4[^1Paused^4] ^7[0:00^7]^7")) << typed[0];
}

TEST(TrackAnnouncer, APositionBeyondSixteenBitsKeepsTheLastTime) {
    Rig rig(kQuake, ExampleSettings("False", "0"));
    rig.player.engine.SetPosition(83500);
    rig.Tick("1. A - Winamp");
    rig.player.engine.SetPosition(32768 * 1000);
    EXPECT_EQ(rig.Tick("2. B - Winamp"), (Lines{"echo ^1Winamp ^7: ^32.  ^2B ^7[1:23^7]^7", "echo Winamp : 2. B [1:23]"}));
}

// Started on entry 5 of 1000, the last entry number still reads 1000.
TEST(EchoPlaylist, ListsEveryEntryAfterPuttingThePlayerBack) {
    Rig rig(kQuake, ExampleSettings(), Titles(1000), 4);
    rig.player.engine.SetPosition(61500);
    EXPECT_EQ(rig.Echo(), Titles(1000, true));
    EXPECT_EQ(rig.player.engine.Index(), 4);
    EXPECT_EQ(rig.player.engine.Position(), 61000);
    EXPECT_EQ(rig.player.engine.State(), peers::PlayerState::playing) << "paused twice";
    EXPECT_TRUE(std::is_partitioned(rig.desktop.messages.begin(), rig.desktop.messages.end(),
                                    [&](const Message& m) { return m.hwnd == rig.player.window; }))
        << "a console line went out before the player was back";
}

// With shuffle on, "next" lands anywhere: the entry is then selected and played.
TEST(EchoPlaylist, PutsAShufflingPlayerBackOnItsEntry) {
    for (const bool shuffle : {false, true}) {
        Rig rig(kQuake, ExampleSettings(), Titles(20), 6);
        rig.player.engine.SetShuffle(shuffle);
        rig.player.engine.SetPosition(5000);
        rig.Echo();
        EXPECT_EQ(rig.player.engine.Index(), 6) << shuffle;
        EXPECT_EQ(rig.player.engine.Position(), 5000) << shuffle;
        const auto& received = rig.player.engine.Received();
        EXPECT_EQ(std::count_if(received.begin(), received.end(), [](const auto& m) { return m.wParam == 40045; }),
                  shuffle ? 21 : 20) << "a play command only when the walk back went astray";
    }
}

// Gone before the walk, the player lists nothing; closed while entry 3 is
// asked for, it shows no caption any more and the entries read before are listed.
TEST(EchoPlaylist, APlayerThatWentAwayListsWhatWasReadBefore) {
    Rig before(kQuake, ExampleSettings(), Titles(3), 1);
    before.desktop.DestroyWindow(before.player.window);
    EXPECT_EQ(before.Echo(), Lines{});
    EXPECT_EQ(before.lastAnswer, "0");
    Rig halfway(kQuake, ExampleSettings(), Titles(4), 1);
    auto& handler = halfway.desktop.Window(halfway.player.window).handler;
    handler = [gone = false, walk = handler](FakeWindow& self, const Message& m) mutable {
        const auto answer = walk(self, m);
        if ((gone = gone || (m.lParam == 121 && m.wParam == 2))) self.caption.clear();
        return answer;
    };
    EXPECT_EQ(halfway.Echo(), Titles(2, true));
}

TEST(EchoPlaylist, EntryNumbersBeyondSixteenBitsAreReportedInsteadOfListed) {
    // Starting beyond 16 bits the player is left alone; ending beyond, it is put back.
    for (const auto& [start, untouched] : {std::pair{39999, true}, {9999, false}}) {
        Rig rig(kQuake, ExampleSettings(), Titles(40000), start);
        EXPECT_EQ(rig.Echo(), Lines{"echo ^1Playlist ^7: ^1The playlist has too many entries to list."}) << start;
        EXPECT_EQ(rig.player.engine.Received().empty(), untouched) << start;
        EXPECT_EQ(rig.player.engine.Index(), start);
    }
}

} // namespace
} // namespace tunebridge
