#include <gtest/gtest.h>

#include "fake/fake_console.h"
#include "fake/fake_mbm.h"
#include "fake/fake_player.h"
#include "engine/console_engine.h"
#include "engine/mbm_layout.h"
#include "engine/player_engine.h"

namespace tunebridge {
namespace {

using peers::ConsoleEngine;
using peers::PlayerEngine;
using peers::PlayerState;
namespace cmd = peers::player_command;
namespace req = peers::player_request;

using Lines = std::vector<std::string>;
using namespace std::string_literals;

TEST(ConsoleEngine, SplitsAtSemicolonsOutsideQuotesAndAtLineBreaks) {
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"echo a; quit", {"echo a", "quit"}},
        {"echo \"a;b\";clear", {"echo \"a;b\"", "clear"}},
        {"echo \"open; quit", {"echo \"open; quit"}},
        {"echo a\nquit", {"echo a", "quit"}},
        {"echo \"a\r\nquit\"", {"echo \"a", "quit\""}},
        {" ;; echo x ;", {"echo x"}},
    };
    for (const auto& [line, commands] : cases) EXPECT_EQ(peers::SplitCommands(line), commands) << line;
}

TEST(ConsoleEngine, EchoDropsColourCodesAndQuotesAndJoinsWordsWithOneBlank) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"echo ^3x^^y", "xy"}, {"echo end^", "end^"}, {"echo \"a;  b\"  c", "a;  b c"}, {"ECHO loud", "loud"},
    };
    for (const auto& [command, printed] : cases) {
        ConsoleEngine console;
        console.Execute(command);
        EXPECT_EQ(console.PrintedLines(), Lines{printed}) << command;
    }
}

TEST(ConsoleEngine, EnterEchoesTheLineThenRunsEachCommand) {
    ConsoleEngine console("Player");
    console.SetInput("echo ^1A - B;bogus x;name");
    console.TypeChar('\r');
    EXPECT_EQ(console.Input(), "");
    EXPECT_EQ(console.ExecutedCommands(), (Lines{"echo ^1A - B", "bogus x", "name"}));
    EXPECT_EQ(console.Buffer(),
              "]echo A - B;bogus x;name\r\nA - B\r\nUnknown command: bogus\r\n"
              "\"name\" is:\"Player\" default:\"UnnamedPlayer\"\r\n");

    // A console that never answers still runs what it is given.
    ConsoleEngine silent;
    silent.SetAnswering(false);
    silent.SetInput("name;echo x");
    silent.Enter();
    EXPECT_EQ(silent.Buffer(), "");
    EXPECT_EQ(silent.ExecutedCommands(), (Lines{"name", "echo x"}));
}

TEST(ConsoleEngine, ClearEmptiesTheBufferAndQuitStopsTheRestOfTheLine) {
    ConsoleEngine console;
    Lines log;
    console.onLog = [&](const std::string& record) { log.push_back(record); };
    console.Prefill(1000);
    console.SetInput("clear;echo after;quit;echo never");
    console.Enter();
    EXPECT_EQ(console.Buffer(), "after\r\n");
    EXPECT_TRUE(console.Quit());
    EXPECT_EQ(log, (Lines{"PREFILL 1000", "TYPED clear;echo after;quit;echo never",
                          "OUT ]clear;echo after;quit;echo never", "EXEC clear", "CLEAR", "EXEC echo after",
                          "OUT after", "EXEC quit"}));

    ConsoleEngine printer;
    printer.Print("a\nb\r\nc\n");
    EXPECT_EQ(printer.Buffer(), "a\r\nb\r\nc\r\n");
}

TEST(PlayerEngine, CaptionFollowsEntryAndState) {
    PlayerEngine player({"Artist - One", "Two", "Three"}, 1, PlayerState::playing);
    const std::vector<std::pair<std::uint32_t, std::string>> steps = {
        {cmd::kPause, "2. Two - Winamp [Paused]"}, {cmd::kPause, "2. Two - Winamp"},
        {cmd::kStop, "2. Two - Winamp [Stopped]"}, {cmd::kPause, "2. Two - Winamp [Stopped]"},
        {cmd::kListStart, "1. Artist - One - Winamp [Stopped]"}, {cmd::kPlay, "1. Artist - One - Winamp"},
    };
    for (const auto& [command, caption] : steps) {
        player.Receive(peers::kPlayerWmCommand, command, 0);
        EXPECT_EQ(player.Caption(), caption) << command;
    }
}

TEST(PlayerEngine, CommandsMoveStateAndPosition) {
    struct Case {
        PlayerState state;
        int index;
        std::int32_t position;
        std::uint32_t command;
        PlayerState wantState;
        int wantIndex;
        std::int32_t wantPosition;
    };
    using S = PlayerState;
    // The playlist echo's commands are checked through the product's own tests.
    const Case cases[] = {
        {S::playing, 1, 9000, cmd::kFadeOut, S::stopped, 1, 0},
        {S::playing, 1, 178000, cmd::kFastForward, S::playing, 1, 180000},
        {S::playing, 1, INT32_MAX, cmd::kFastForward, S::playing, 1, INT32_MAX},
        {S::playing, 1, 3000, cmd::kFastRewind, S::playing, 1, 0},
    };
    for (const Case& c : cases) {
        PlayerEngine player({"a", "b", "c", "d"}, c.index, c.state, c.position);
        player.Receive(peers::kPlayerWmCommand, c.command, 0);
        EXPECT_EQ(player.State(), c.wantState) << c.command;
        EXPECT_EQ(player.Index(), c.wantIndex) << c.command;
        EXPECT_EQ(player.Position(), c.wantPosition) << c.command;
    }
    PlayerEngine player({"a", "b"}, 1, PlayerState::paused, 1000);
    player.Advance(5000);
    EXPECT_EQ(player.Position(), 1000) << "the clock runs only while playing";
    player.SetState(PlayerState::playing);
    player.Advance(peers::kEntryLengthSeconds * 1000);
    EXPECT_EQ(player.Index(), 0) << "the list wraps around";
}

TEST(PlayerEngine, AnswersRequestsWithSignedArgumentsAndLogsThem) {
    PlayerEngine player({"a", "b", "c", "d"}, 2, PlayerState::paused, 61500);
    Lines log;
    player.onLog = [&](const std::string& record) { log.push_back(record); };
    const std::vector<std::tuple<std::uint32_t, std::int32_t, std::int32_t>> cases = {
        {0, req::kVersion, 0x5010}, {0, req::kState, 3}, {0, req::kPositionOrLength, 61500},
        {1, req::kPositionOrLength, 180}, {0, req::kCount, 4}, {0, req::kIndex, 2}, {7, 126, 0},
    };
    for (const auto& [wParam, request, answer] : cases)
        EXPECT_EQ(player.Receive(peers::kPlayerWmUser, wParam, request), answer) << request;

    log.clear();
    player.Receive(0x000D, 10, 0);  // not the player's business: not logged
    player.Receive(peers::kPlayerWmUser, 0xFFFFFFFFu, req::kSetIndex);
    player.Receive(peers::kPlayerWmUser, 4, req::kSetIndex);
    EXPECT_EQ(player.Index(), 2);
    player.Receive(peers::kPlayerWmUser, static_cast<std::uint32_t>(-1000), req::kSeek);
    EXPECT_EQ(player.Position(), -1000);
    EXPECT_EQ(log, (Lines{"MSG 1024 4294967295 121", "MSG 1024 4 121", "MSG 1024 4294966296 106"}));
}

TEST(MbmLayout, PutsValuesNamesAndVersionAtTheReadersOffsets) {
    const peers::MbmReadings readings{-3, 4500, "CPU", "Fan of the case", "5.1.8.0"};
    const auto data = peers::MbmDataRegion(readings);
    const auto names = peers::MbmNamesRegion(readings);
    const auto info = peers::MbmInfoRegion(readings);
    ASSERT_EQ((std::vector<std::size_t>{data.size(), names.size(), info.size()}), (std::vector<std::size_t>{197, 352, 70}));
    EXPECT_EQ(std::string(data.begin(), data.begin() + 4) + std::string(data.begin() + 120, data.begin() + 124),
              "\xFD\xFF\xFF\xFF\x94\x11"s + '\0' + '\0');
    EXPECT_EQ(std::string(names.begin(), names.begin() + 12), "CPU        "s + '\0');
    EXPECT_EQ(std::string(names.begin() + 220, names.begin() + 231), "Fan of the ");
    EXPECT_EQ(std::string(info.begin(), info.begin() + 8), "5.1.8.0"s + '\0');
}

TEST(FakeConsole, TypedLinesRunThroughTheInputLineAndTheBufferIsTheFifthChild) {
    fake::FakeDesktop desktop;
    auto console = std::make_unique<fake::FakeConsole>(desktop, "Wolf Console");
    const Hwnd top = desktop.FindWindowA("", "Wolf Console");
    ASSERT_EQ(top, console->Window());
    EXPECT_EQ(desktop.Window(top).className, "Q3 WinConsole");
    Lines captions;
    for (Hwnd child = desktop.GetWindow(top, kGW_CHILD); child != 0; child = desktop.GetWindow(child, kGW_HWNDNEXT))
        captions.push_back(desktop.GetWindowTextA(child, 260));
    EXPECT_EQ(captions, (Lines{"", "copy", "clear", "quit", ""}));
    EXPECT_EQ(desktop.GetWindow(top, kGW_CHILD), console->InputLine());

    desktop.SendSetText(console->InputLine(), {'e', 'c', 'h', 'o', ' ', '^', '2', 'h', 'i', 0});
    desktop.SendMessageA(console->InputLine(), kWM_CHAR, 13, 1);
    EXPECT_EQ(desktop.SendMessageA(console->Output(), kWM_GETTEXTLENGTH, 0, 0), 14);
    EXPECT_EQ(desktop.SendGetText(console->Output(), 15), std::string("]echo hi\r\nhi\r\n") + '\0');

    desktop.SendSetText(console->InputLine(), {'q', 'u', 'i', 't', 0});
    desktop.SendMessageA(console->InputLine(), kWM_CHAR, 13, 1);
    EXPECT_EQ(desktop.FindWindowA("", "Wolf Console"), 0u) << "quit takes the window away";
    console.reset();
}

TEST(FakePeers, PlayerCaptionFollowsItsMessagesAndSensorRegionsComeAndGo) {
    fake::FakeDesktop desktop;
    fake::FakePlayer player(desktop, {"One", "Two"}, 0, PlayerState::stopped);
    const Hwnd window = desktop.FindWindowA("Winamp v1.x", "");
    ASSERT_EQ(window, player.Window());
    EXPECT_EQ(desktop.GetWindowTextA(window, 2048), "1. One - Winamp [Stopped]");
    desktop.SendMessageA(window, kWM_COMMAND, cmd::kNext, 0);
    desktop.SendMessageA(window, kWM_COMMAND, cmd::kPlay, 0);
    EXPECT_EQ(desktop.GetWindowTextA(window, 2048), "2. Two - Winamp");
    player.SetState(PlayerState::paused);
    EXPECT_EQ(desktop.GetWindowTextA(window, 2048), "2. Two - Winamp [Paused]");
    EXPECT_EQ(player.Received(), (std::vector<fake::Message>{{window, kWM_COMMAND, cmd::kNext, 0, "", true},
                                                             {window, kWM_COMMAND, cmd::kPlay, 0, "", true}}));

    fake::PublishMbm(desktop, {42, 3000, "CPU", "Fan", "v5"});
    for (const char* region : {peers::kMbmNamesRegion, peers::kMbmInfoRegion})
        EXPECT_TRUE(desktop.ReadSharedMemory(region, 11).has_value()) << region;
    EXPECT_EQ(desktop.ReadSharedMemory(peers::kMbmDataRegion, 1)->at(0), 42);
    fake::RemoveMbm(desktop);
    EXPECT_FALSE(desktop.ReadSharedMemory(peers::kMbmInfoRegion, 70).has_value());
}

}  // namespace
}  // namespace tunebridge
