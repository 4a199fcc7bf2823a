// The real tunebridge.exe under Wine announces Winamp's track in the game
// console and lists the playlist on the in-game marker, beside the simulated
// player and console.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "harness/peers.h"
#include "harness/process.h"
#include "harness/product.h"
#include "harness/wait.h"

namespace tunebridge::e2e {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using peers::PlayerState;

// The colours of the worked example of the track line.
constexpr const char* kExampleColours =
    "[Color]\r\n"
    "Color0=1\r\nColor1=7\r\nColor2=3\r\nColor3=2\r\nColor4=4\r\nColor5=1\r\n"
    "Color6=4\r\nColor7=7\r\nColor8=5\r\nColor9=7\r\nColor10=5\r\n";

// The example track is entry 12 of this list, paused at 1:23.5.
std::vector<std::string> ExamplePlaylist() {
    std::vector<std::string> titles;
    for (int n = 1; n <= 11; ++n) titles.push_back("Song " + std::to_string(n));
    titles.push_back("Artist - Song");
    return titles;
}
constexpr std::int32_t kExamplePositionMs = 83500;

// The announcement of the label's design-time caption, which a first
// announcer tick sees when it comes before the first caption readout.
constexpr const char* kDesignTimeLine = "echo ^1Winamp ^7: ^30 ^200:00:00 ^7[1:23^7]^7";

std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

// The typed lines without announcements of the design-time caption; tells
// whether there was one.
Lines WithoutDesignTime(const Lines& typed, bool& hadDesignTime) {
    Lines kept;
    hadDesignTime = false;
    for (const std::string& line : typed) {
        if (line.find("00:00:00") != std::string::npos) {
            hadDesignTime = true;
        } else {
            kept.push_back(line);
        }
    }
    return kept;
}

TEST(Announcer, TrackChangeTypesTheColouredLineIntoAWolfConsole) {
    const fs::path folder = TempDir(TestName());
    PlayerPeer player;
    ASSERT_TRUE(player.Start(folder, {ExamplePlaylist(), 0, kExamplePositionMs, PlayerState::paused, false}));
    ConsolePeer console;
    ASSERT_TRUE(console.Start(folder, {"Wolf Console", std::nullopt, std::nullopt}));
    Product product;
    ASSERT_TRUE(product.Start(folder, kExampleColours));

    // The first announcement is built before any console lookup has told the
    // console's style, so its time is plain; once a line has gone to the
    // "Wolf Console" the time takes the colours C8..C10. Only a line about
    // the label's design-time caption can come before it, and then the
    // first track's line is already fully coloured.
    const std::string firstPlainTime = "echo ^1Winamp ^7: ^31.  ^2Song ^21 ^2^4[^1Paused^4] ^7[1:23^7]^7";
    const std::string firstColoured = "echo ^1Winamp ^7: ^31.  ^2Song ^21 ^2^4[^1Paused^4] ^7[^51^7:^523^7]^7";
    bool hadDesignTime = false;
    ASSERT_TRUE(console.WaitForLog(
        [&](const Lines&) { return !WithoutDesignTime(console.Typed(), hadDesignTime).empty(); }, kProductDeadline))
        << "no track line typed";
    EXPECT_EQ(WithoutDesignTime(console.Typed(), hadDesignTime).front(), hadDesignTime ? firstColoured : firstPlainTime);
    if (hadDesignTime) {
        EXPECT_EQ(console.Typed().front(), kDesignTimeLine);
    }

    const std::string worked = "echo ^1Winamp ^7: ^312.  ^2Artist ^2- ^2Song ^2^4[^1Paused^4] ^7[^51^7:^523^7]^7";
    ASSERT_EQ(player.Send("index 11"), 1);
    ASSERT_EQ(player.Caption(), "12. Artist - Song - Winamp [Paused]");
    ASSERT_TRUE(console.WaitForLog(
        [&](const Lines&) {
            const Lines typed = console.Typed();
            return std::find(typed.begin(), typed.end(), worked) != typed.end();
        },
        kProductDeadline))
        << "the track change was not announced";

    // Resuming changes the state tag, so it is announced at once; with
    // "Display only on track change" nothing is typed in between.
    const std::string resumed = "echo ^1Winamp ^7: ^312.  ^2Artist ^2- ^2Song ^7[^51^7:^523^7]^7";
    ASSERT_EQ(player.Send("state playing"), 1);
    ASSERT_TRUE(console.WaitForLog(
        [&](const Lines&) {
            const Lines typed = console.Typed();
            return std::find(typed.begin(), typed.end(), resumed) != typed.end();
        },
        kProductDeadline))
        << "resuming was not announced";
    const Lines typed = WithoutDesignTime(console.Typed(), hadDesignTime);
    EXPECT_EQ(Lines(typed.begin() + 1, typed.end()), (Lines{worked, resumed}));
    // The game ran each line as one echo command.
    const Lines executed = console.Executed();
    EXPECT_NE(std::find(executed.begin(), executed.end(), worked), executed.end());

    EXPECT_TRUE(product.Close());
    EXPECT_TRUE(console.Close());
    EXPECT_TRUE(player.Close());
}

TEST(Announcer, DisplayEveryRepeatsThePlainLineInAQuake3Console) {
    const fs::path folder = TempDir(TestName());
    PlayerPeer player;
    ASSERT_TRUE(player.Start(folder, {ExamplePlaylist(), 11, kExamplePositionMs, PlayerState::paused, false}));
    ConsolePeer console;
    ASSERT_TRUE(console.Start(folder, {"Quake 3 Console", std::nullopt, std::nullopt}));
    Product product;
    ASSERT_TRUE(product.Start(folder, std::string(kExampleColours) + "[Text]\r\nText1=1\r\nText2=False\r\n"));

    bool hadDesignTime = false;
    ASSERT_TRUE(console.WaitForLog(
        [&](const Lines&) { return WithoutDesignTime(console.Typed(), hadDesignTime).size() >= 3; }, kProductDeadline))
        << "fewer than two repeats after the change announcement";
    const Lines typed = WithoutDesignTime(console.Typed(), hadDesignTime);
    // The change announcement is coloured whatever the style; its time
    // follows the style, plain here.
    EXPECT_EQ(typed[0], "echo ^1Winamp ^7: ^312.  ^2Artist ^2- ^2Song ^2^4[^1Paused^4] ^7[1:23^7]^7");
    for (std::size_t i = 1; i < typed.size(); ++i) {
        EXPECT_EQ(typed[i], "echo Winamp : 12. Artist - Song [Paused] [1:23]") << "line " << i;
    }
    const Lines out = console.Out();
    EXPECT_NE(std::find(out.begin(), out.end(), "Winamp : 12. Artist - Song [Paused] [1:23]"), out.end());

    EXPECT_TRUE(product.Close());
    EXPECT_TRUE(console.Close());
    EXPECT_TRUE(player.Close());
}

TEST(Announcer, PlaylistMarkerListsEveryEntryAndPutsThePlayerBack) {
    const fs::path folder = TempDir(TestName());
    const std::vector<std::string> titles = {"Alpha - One", "Bravo - Two", "Charlie - Three", "Delta - Four",
                                             "Echo - Five"};
    PlayerPeer player;
    ASSERT_TRUE(player.Start(folder, {titles, 2, 61500, PlayerState::playing, false}));
    ConsolePeer console;
    ASSERT_TRUE(console.Start(folder, {"Quake 3 Console", std::nullopt, std::nullopt}));
    Product product;
    ASSERT_TRUE(product.Start(folder, "[Text]\r\nText0=Mywinamp\r\n"));
    // Once the track is announced the program's timers run and it sees the console.
    ASSERT_TRUE(console.WaitForLog([&](const Lines&) { return !console.Typed().empty(); }, kProductDeadline));

    const std::string prefix = "echo ^1Playlist ^7: ^1";
    auto listed = [&] {
        Lines lines;
        for (const std::string& line : console.Typed()) {
            if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
        }
        return lines;
    };
    ASSERT_TRUE(console.Print("Mywinamp:Playlist"));
    ASSERT_TRUE(console.WaitForLog([&](const Lines&) { return listed().size() >= titles.size(); }, kProductDeadline))
        << "the playlist was not listed";

    // Each entry as the player's caption shows it while it plays, in list
    // order, typed one after the other; the colours stay in a plain console.
    Lines expected;
    for (std::size_t i = 0; i < titles.size(); ++i) expected.push_back(prefix + std::to_string(i + 1) + ". " + titles[i]);
    const Lines typed = console.Typed();
    const auto first = std::find(typed.begin(), typed.end(), expected.front());
    ASSERT_NE(first, typed.end());
    ASSERT_GE(typed.end() - first, static_cast<std::ptrdiff_t>(expected.size()));
    EXPECT_EQ(Lines(first, first + static_cast<std::ptrdiff_t>(expected.size())), expected);
    EXPECT_EQ(listed(), expected) << "listed once";

    // The walk: the position saved, stop, list end, each entry set and
    // played, back to the list start and two entries on, the saved whole
    // second, pause twice. The caption and position readouts of the timers
    // may come before and after it, never inside.
    constexpr unsigned kCommand = WM_COMMAND;
    constexpr unsigned kUser = WM_USER;
    std::vector<PeerMessage> walk = {{kUser, 0, 105}, {kCommand, 40047, 0}, {kCommand, 40158, 0}};
    for (std::uint32_t i = 0; i < titles.size(); ++i) {
        walk.push_back({kUser, i, 121});
        walk.push_back({kCommand, 40045, 0});
    }
    walk.insert(walk.end(), {{kCommand, 40154, 0}, {kCommand, 40048, 0}, {kCommand, 40048, 0}, {kUser, 61000, 106},
                             {kCommand, 40046, 0}, {kCommand, 40046, 0}});
    const std::vector<PeerMessage> messages = player.Messages();
    const auto stop = std::find(messages.begin(), messages.end(), PeerMessage{kCommand, 40047, 0});
    ASSERT_NE(stop, messages.end()) << "the player was never stopped";
    ASSERT_NE(stop, messages.begin());
    ASSERT_GE(messages.end() - (stop - 1), static_cast<std::ptrdiff_t>(walk.size()));
    EXPECT_EQ(std::vector<PeerMessage>(stop - 1, stop - 1 + static_cast<std::ptrdiff_t>(walk.size())), walk);
    const auto commands = std::count_if(messages.begin(), messages.end(),
                                        [](const PeerMessage& m) { return m.msg == kCommand; });
    EXPECT_EQ(commands, 2 + 5 + 1 + 2 + 2) << "the walk ran once";

    // Back on the starting entry at the saved second; the second pause resumes.
    EXPECT_EQ(player.Caption(), "3. Charlie - Three - Winamp");
    EXPECT_EQ(SendMessageA(player.Window(), WM_USER, 0, 104), 1);
    EXPECT_EQ(SendMessageA(player.Window(), WM_USER, 0, 105), 61000);

    EXPECT_TRUE(product.Close());
    EXPECT_TRUE(console.Close());
    EXPECT_TRUE(player.Close());
}

}  // namespace
}  // namespace tunebridge::e2e
