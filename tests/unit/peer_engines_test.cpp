#include <gtest/gtest.h>

#include "fake/fake_console.h"
#include "fake/fake_mbm.h"
#include "fake/fake_player.h"
#include "peers/engine/console_engine.h"
#include "peers/engine/mbm_layout.h"
#include "peers/engine/peer_control.h"
#include "peers/engine/player_engine.h"

namespace tunebridge {
namespace {

using peers::ConsoleEngine;
using peers::PlayerEngine;
using peers::PlayerState;
namespace cmd = peers::player_command;
namespace req = peers::player_request;

using Lines = std::vector<std::string>;

TEST(ConsoleEngine, SplitsAtSemicolonsOutsideQuotesAndAtLineBreaks) {
    struct Case {
        std::string line;
        Lines commands;
    };
    const std::vector<Case> cases = {
        {"echo a; quit", {"echo a", "quit"}},
        {"echo \"a; quit\"", {"echo \"a; quit\""}},
        {"echo \"a;b\";clear", {"echo \"a;b\"", "clear"}},
        {"echo \"open; quit", {"echo \"open; quit"}},
        {"echo a\nquit", {"echo a", "quit"}},
        {"echo \"a\r\nquit\"", {"echo \"a", "quit\""}},
        {" ;; echo x ;", {"echo x"}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(peers::SplitCommands(c.line), c.commands) << c.line;
}

TEST(ConsoleEngine, EnterEchoesTheLineThenRunsEachCommand) {
    ConsoleEngine console("Player");
    console.SetInput("echo ^1Playlist ^7: ^1A - B;bogus x;name");
    console.TypeChar('\r');

    EXPECT_EQ(console.Input(), "");
    EXPECT_EQ(console.TypedLines(), Lines{"echo ^1Playlist ^7: ^1A - B;bogus x;name"});
    EXPECT_EQ(console.ExecutedCommands(), (Lines{"echo ^1Playlist ^7: ^1A - B", "bogus x", "name"}));
    EXPECT_EQ(console.Buffer(),
              "]echo Playlist : A - B;bogus x;name\r\n"
              "Playlist : A - B\r\n"
              "Unknown command: bogus\r\n"
              "\"name\" is:\"Player\" default:\"UnnamedPlayer\"\r\n");
}

TEST(ConsoleEngine, EchoDropsColourCodesAndQuotesAndJoinsWordsWithOneBlank) {
    struct Case {
        std::string command;
        std::string printed;
    };
    const std::vector<Case> cases = {
        {"echo ^3x^^y", "xy"},
        {"echo end^", "end^"},
        {"echo \"a;  b\"  c", "a;  b c"},
        {"ECHO loud", "loud"},
        {"echo", ""},
    };
    for (const Case& c : cases) {
        ConsoleEngine console;
        console.Execute(c.command);
        EXPECT_EQ(console.PrintedLines(), Lines{c.printed}) << c.command;
    }
}

TEST(ConsoleEngine, ClearEmptiesTheBufferAndQuitStopsTheRestOfTheLine) {
    ConsoleEngine console;
    std::vector<std::string> log;
    console.onLog = [&](const std::string& record) { log.push_back(record); };
    console.Prefill(1000);
    EXPECT_GE(console.Buffer().size(), 1000u);
    console.SetInput("clear;echo after;quit;echo never");
    console.Enter();

    EXPECT_EQ(console.Buffer(), "after\r\n");
    EXPECT_TRUE(console.Quit());
    EXPECT_EQ(log, (Lines{"PREFILL 1000", "TYPED clear;echo after;quit;echo never",
                          "OUT ]clear;echo after;quit;echo never", "EXEC clear", "CLEAR", "EXEC echo after",
                          "OUT after", "EXEC quit"}));
}

TEST(ConsoleEngine, PrefillAddsWholeLinesOfAtLeastTheGivenLength) {
    for (std::size_t chars : {1u, 2u, 79u, 80u, 81u, 300000u}) {
        ConsoleEngine console;
        console.Prefill(chars);
        const std::string& buffer = console.Buffer();
        EXPECT_GE(buffer.size(), chars);
        EXPECT_LE(buffer.size(), chars + 1);
        EXPECT_EQ(buffer.substr(buffer.size() - 2), "\r\n") << chars;
        EXPECT_TRUE(console.PrintedLines().empty());
    }
}

TEST(ConsoleEngine, ASilentConsoleRunsCommandsButPrintsNothing) {
    ConsoleEngine console;
    console.SetAnswering(false);
    console.SetInput("name;echo x");
    console.Enter();
    EXPECT_EQ(console.Buffer(), "");
    EXPECT_EQ(console.ExecutedCommands(), (Lines{"name", "echo x"}));
    console.Print("finished R_Init");
    EXPECT_EQ(console.Buffer(), "finished R_Init\r\n");
}

TEST(ConsoleEngine, PrintedLineBreaksBecomeSeparateLines) {
    ConsoleEngine console;
    console.Print("a\nb\r\nc\n");
    EXPECT_EQ(console.Buffer(), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(console.PrintedLines(), (Lines{"a", "b", "c"}));
}

TEST(PlayerEngine, CaptionFollowsEntryAndState) {
    PlayerEngine player({"Artist - One", "Two", "Three"}, 1, PlayerState::playing);
    EXPECT_EQ(player.Caption(), "2. Two - Winamp");
    player.Receive(peers::kPlayerWmCommand, cmd::kPause, 0);
    EXPECT_EQ(player.Caption(), "2. Two - Winamp [Paused]");
    player.Receive(peers::kPlayerWmCommand, cmd::kPause, 0);
    EXPECT_EQ(player.Caption(), "2. Two - Winamp");
    player.Receive(peers::kPlayerWmCommand, cmd::kStop, 0);
    EXPECT_EQ(player.Caption(), "2. Two - Winamp [Stopped]");
    player.Receive(peers::kPlayerWmCommand, cmd::kPause, 0);
    EXPECT_EQ(player.Caption(), "2. Two - Winamp [Stopped]");
    player.Receive(peers::kPlayerWmCommand, cmd::kListStart, 0);
    player.Receive(peers::kPlayerWmCommand, cmd::kPlay, 0);
    EXPECT_EQ(player.Caption(), "1. Artist - One - Winamp");
}

TEST(PlayerEngine, CommandsMoveStateAndPosition) {
    struct Case {
        const char* name;
        PlayerState state;
        int index;
        std::int32_t position;
        std::uint32_t command;
        PlayerState wantState;
        int wantIndex;
        std::int32_t wantPosition;
    };
    using S = PlayerState;
    const std::vector<Case> cases = {
        {"play restarts", S::paused, 1, 9000, cmd::kPlay, S::playing, 1, 0},
        {"stop rewinds", S::playing, 1, 9000, cmd::kStop, S::stopped, 1, 0},
        {"fade-out stops", S::playing, 1, 9000, cmd::kFadeOut, S::stopped, 1, 0},
        {"next while playing", S::playing, 1, 9000, cmd::kNext, S::playing, 2, 0},
        {"next at the end stays", S::playing, 3, 9000, cmd::kNext, S::playing, 3, 0},
        {"previous while stopped", S::stopped, 1, 0, cmd::kPrevious, S::stopped, 0, 0},
        {"previous at the start", S::paused, 0, 0, cmd::kPrevious, S::paused, 0, 0},
        {"list end", S::paused, 0, 0, cmd::kListEnd, S::paused, 3, 0},
        {"list start", S::playing, 2, 7, cmd::kListStart, S::playing, 0, 0},
        {"fast-forward", S::playing, 1, 1000, cmd::kFastForward, S::playing, 1, 6000},
        {"fast-forward stops at the end", S::playing, 1, 178000, cmd::kFastForward, S::playing, 1, 180000},
        {"fast-forward near the 32-bit limit", S::playing, 1, INT32_MAX, cmd::kFastForward, S::playing, 1, INT32_MAX},
        {"fast-rewind", S::playing, 1, 7000, cmd::kFastRewind, S::playing, 1, 2000},
        {"fast-rewind stops at 0", S::playing, 1, 3000, cmd::kFastRewind, S::playing, 1, 0},
        {"unknown id", S::playing, 1, 3000, 40999, S::playing, 1, 3000},
    };
    for (const Case& c : cases) {
        PlayerEngine player({"a", "b", "c", "d"}, c.index, c.state, c.position);
        EXPECT_EQ(player.Receive(peers::kPlayerWmCommand, c.command, 0), 0) << c.name;
        EXPECT_EQ(player.State(), c.wantState) << c.name;
        EXPECT_EQ(player.Index(), c.wantIndex) << c.name;
        EXPECT_EQ(player.Position(), c.wantPosition) << c.name;
    }
}

TEST(PlayerEngine, AnswersTheRequests) {
    struct Case {
        std::uint32_t wParam;
        std::int32_t request;
        std::int32_t answer;
    };
    const std::vector<Case> cases = {
        {0, req::kVersion, 0x5010},   {0, req::kState, 3},        {0, req::kPositionOrLength, 61500},
        {1, req::kPositionOrLength, 180}, {0, req::kCount, 4},     {0, req::kIndex, 2},
        {0, 101, 0},                   {7, 126, 0},
    };
    for (const Case& c : cases) {
        PlayerEngine player({"a", "b", "c", "d"}, 2, PlayerState::paused, 61500);
        EXPECT_EQ(player.Receive(peers::kPlayerWmUser, c.wParam, c.request), c.answer) << c.request;
    }
    PlayerEngine stopped({"a"}, 0, PlayerState::stopped);
    EXPECT_EQ(stopped.Receive(peers::kPlayerWmUser, 0, req::kState), 0);
    PlayerEngine playing({"a"}, 0, PlayerState::playing);
    EXPECT_EQ(playing.Receive(peers::kPlayerWmUser, 0, req::kState), 1);
}

TEST(PlayerEngine, SeekAndIndexRequestsTakeSignedArguments) {
    PlayerEngine player({"a", "b", "c"}, 1, PlayerState::playing, 5000);
    player.Receive(peers::kPlayerWmUser, 83250, req::kSeek);
    EXPECT_EQ(player.Position(), 83250);
    player.Receive(peers::kPlayerWmUser, 0xFFFFFFFFu, req::kSetIndex);
    EXPECT_EQ(player.Index(), 1);
    player.Receive(peers::kPlayerWmUser, 3, req::kSetIndex);
    EXPECT_EQ(player.Index(), 1);
    player.Receive(peers::kPlayerWmUser, 2, req::kSetIndex);
    EXPECT_EQ(player.Index(), 2);
    EXPECT_EQ(player.Caption(), "3. c - Winamp");
    player.Receive(peers::kPlayerWmUser, static_cast<std::uint32_t>(-1000), req::kSeek);
    EXPECT_EQ(player.Position(), -1000);
}

TEST(PlayerEngine, RecordsEveryCommandAndRequestInOrder) {
    PlayerEngine player({"a"});
    std::vector<std::string> log;
    player.onLog = [&](const std::string& record) { log.push_back(record); };
    player.Receive(peers::kPlayerWmCommand, cmd::kStop, 0);
    player.Receive(0x000D, 10, 0);
    player.Receive(peers::kPlayerWmUser, 0xFFFFFFFFu, req::kSetIndex);
    player.Receive(peers::kPlayerWmUser, 0, -5);
    EXPECT_EQ(log, (Lines{"MSG 273 40047 0", "MSG 1024 4294967295 121", "MSG 1024 0 -5"}));
    EXPECT_EQ(player.Received().size(), 3u);
}

TEST(PlayerEngine, ClockAdvancesOnlyWhilePlayingAndWrapsTheList) {
    PlayerEngine player({"a", "b"}, 1, PlayerState::paused, 1000);
    player.Advance(5000);
    EXPECT_EQ(player.Position(), 1000);
    player.SetState(PlayerState::playing);
    player.Advance(peers::kEntryLengthSeconds * 1000);
    EXPECT_EQ(player.Index(), 0);
    EXPECT_EQ(player.Position(), 1000);
}

TEST(MbmLayout, PutsValuesNamesAndVersionAtTheReadersOffsets) {
    const peers::MbmReadings readings{-3, 4500, "CPU", "Fan of the case", "5.1.8.0"};
    const auto data = peers::MbmDataRegion(readings);
    const auto names = peers::MbmNamesRegion(readings);
    const auto info = peers::MbmInfoRegion(readings);
    ASSERT_EQ(data.size(), 197u);
    ASSERT_EQ(names.size(), 352u);
    ASSERT_EQ(info.size(), 70u);

    EXPECT_EQ((std::vector<std::uint8_t>(data.begin(), data.begin() + 4)), (std::vector<std::uint8_t>{0xFD, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ((std::vector<std::uint8_t>(data.begin() + 120, data.begin() + 124)), (std::vector<std::uint8_t>{0x94, 0x11, 0, 0}));
    EXPECT_EQ(std::string(names.begin(), names.begin() + 12), std::string("CPU        ") + '\0');
    EXPECT_EQ(std::string(names.begin() + 220, names.begin() + 231), "Fan of the ");
    EXPECT_EQ(std::string(info.begin(), info.begin() + 8), std::string("5.1.8.0") + '\0');
}

TEST(PeerControl, UnderstoodCommandsChangeThePeerAndOthersAreRefused) {
    struct Case {
        std::string command;
        bool understood;
    };
    ConsoleEngine console;
    for (const Case& c : std::vector<Case>{{"print a ^1b", true}, {"prefill 10", true}, {"prefill -1", false},
                                           {"prefill 1x", false}, {"print", true}, {"quit now", false}, {"quit", true}}) {
        EXPECT_EQ(peers::ApplyConsoleControl(console, c.command), c.understood) << c.command;
    }
    EXPECT_EQ(console.PrintedLines(), (Lines{"a b", ""}));
    EXPECT_TRUE(console.Quit());
    EXPECT_TRUE(console.ExecutedCommands().empty()) << "closing from outside is no console command";

    PlayerEngine player({"a", "b"});
    for (const Case& c : std::vector<Case>{{"position 83250", true}, {"position", false}, {"position 2147483648", false},
                                           {"index 1", true}, {"state paused", true}, {"state Paused", false},
                                           {"playlist /no/such/file", false}, {"volume 3", false}}) {
        EXPECT_EQ(peers::ApplyPlayerControl(player, c.command), c.understood) << c.command;
    }
    EXPECT_EQ(player.Caption(), "2. b - Winamp [Paused]");
    EXPECT_EQ(player.Position(), 83250);
    EXPECT_TRUE(player.Received().empty());

    peers::MbmReadings readings;
    for (const Case& c : std::vector<Case>{{"temp -5", true}, {"fan 4500", true}, {"fan fast", false},
                                           {"version v5.2", true}, {"temp-name CPU 1", true}}) {
        EXPECT_EQ(peers::ApplyMbmControl(readings, c.command), c.understood) << c.command;
    }
    EXPECT_EQ(readings.temperature, -5);
    EXPECT_EQ(readings.fan, 4500);
    EXPECT_EQ(readings.version, "v5.2");
    EXPECT_EQ(readings.temperatureName, "CPU 1");
}

TEST(FakeConsole, TypedLinesRunThroughTheInputLineAndTheBufferIsTheFifthChild) {
    fake::FakeDesktop desktop;
    fake::FakeConsole console(desktop, "Wolf Console");
    const Hwnd top = desktop.FindWindowA("", "Wolf Console");
    ASSERT_EQ(top, console.Window());
    EXPECT_EQ(desktop.Window(top).className, "Q3 WinConsole");

    Hwnd child = desktop.GetWindow(top, kGW_CHILD);
    EXPECT_EQ(child, console.InputLine());
    std::vector<std::string> captions;
    for (; child != 0; child = desktop.GetWindow(child, kGW_HWNDNEXT)) captions.push_back(desktop.GetWindowTextA(child, 260));
    EXPECT_EQ(captions, (Lines{"", "copy", "clear", "quit", ""}));

    desktop.SendSetText(console.InputLine(), {'e', 'c', 'h', 'o', ' ', '^', '2', 'h', 'i', 0});
    desktop.SendMessageA(console.InputLine(), kWM_CHAR, 13, 1);
    EXPECT_EQ(desktop.SendMessageA(console.Output(), kWM_GETTEXTLENGTH, 0, 0), 14);
    EXPECT_EQ(desktop.SendGetText(console.Output(), 15), std::string("]echo hi\r\nhi\r\n") + '\0');
    EXPECT_EQ(desktop.GetWindowTextA(console.Output(), 260), "");
    EXPECT_EQ(desktop.SendGetText(console.InputLine(), 4), std::string(4, '\0'));
}

TEST(FakeConsole, QuitTakesTheWindowAway) {
    fake::FakeDesktop desktop;
    auto console = std::make_unique<fake::FakeConsole>(desktop);
    desktop.SendSetText(console->InputLine(), {'q', 'u', 'i', 't', 0});
    EXPECT_EQ(desktop.SendMessageA(console->InputLine(), kWM_CHAR, 13, 1), 0);
    EXPECT_TRUE(console->Quit());
    EXPECT_EQ(desktop.FindWindowA("", "Quake 3 Console"), 0u);
    console.reset();
}

TEST(FakePlayer, CaptionFollowsTheMessagesItReceives) {
    fake::FakeDesktop desktop;
    fake::FakePlayer player(desktop, {"One", "Two"}, 0, PlayerState::stopped);
    const Hwnd window = desktop.FindWindowA("Winamp v1.x", "");
    ASSERT_EQ(window, player.Window());
    EXPECT_EQ(desktop.GetWindowTextA(window, 2048), "1. One - Winamp [Stopped]");

    desktop.SendMessageA(window, kWM_COMMAND, cmd::kNext, 0);
    desktop.SendMessageA(window, kWM_COMMAND, cmd::kPlay, 0);
    EXPECT_EQ(desktop.GetWindowTextA(window, 2048), "2. Two - Winamp");
    EXPECT_EQ(desktop.SendMessageA(window, kWM_USER, 0, req::kIndex), 1);
    player.SetState(PlayerState::paused);
    EXPECT_EQ(desktop.GetWindowTextA(window, 2048), "2. Two - Winamp [Paused]");

    const std::vector<fake::Message> expected = {
        {window, kWM_COMMAND, cmd::kNext, 0, "", true},
        {window, kWM_COMMAND, cmd::kPlay, 0, "", true},
        {window, kWM_USER, 0, req::kIndex, "", true},
    };
    EXPECT_EQ(player.Received(), expected);
}

TEST(FakeMbm, PublishesAndRemovesTheThreeRegions) {
    fake::FakeDesktop desktop;
    fake::PublishMbm(desktop, {42, 3000, "CPU", "Fan", "v5"});
    for (const char* region : {peers::kMbmDataRegion, peers::kMbmNamesRegion, peers::kMbmInfoRegion}) {
        EXPECT_TRUE(desktop.ReadSharedMemory(region, 11).has_value()) << region;
    }
    EXPECT_EQ(desktop.ReadSharedMemory(peers::kMbmDataRegion, 1)->at(0), 42);
    fake::RemoveMbm(desktop);
    EXPECT_FALSE(desktop.ReadSharedMemory(peers::kMbmInfoRegion, 70).has_value());
}

}  // namespace
}  // namespace tunebridge
