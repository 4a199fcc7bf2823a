// The simulated peers under Wine behave as documented: the console's window
// layout and command handling, the player's caption and message log, the
// sensor program's shared memory, and the control tool.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "harness/peers.h"
#include "harness/process.h"
#include "harness/wait.h"

namespace tunebridge::e2e {
namespace {

using Lines = std::vector<std::string>;
using peers::PlayerState;

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string CaptionOf(HWND window) {
    char caption[260] = {};
    GetWindowTextA(window, caption, sizeof caption);
    return caption;
}

std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

TEST(ConsolePeer, ChildrenComeInTheEnginesOrderWithEmptyEditCaptions) {
    ConsolePeer console;
    ASSERT_TRUE(console.Start(TempDir(TestName()), {"Wolf Console", std::nullopt, std::nullopt}));
    EXPECT_EQ(FindWindowA(nullptr, "Wolf Console"), console.Window());
    EXPECT_EQ(ClassOf(console.Window()), "Q3 WinConsole");

    Lines captions;
    std::vector<HWND> children;
    for (HWND child = GetWindow(console.Window(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
        captions.push_back(CaptionOf(child));
    }
    ASSERT_EQ(captions, (Lines{"", "copy", "clear", "quit", ""}));
    EXPECT_EQ(ClassOf(children[0]), "Edit");
    EXPECT_EQ(ClassOf(children[4]), "Edit");
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(children[4], GWL_STYLE));
    EXPECT_EQ(style & (ES_MULTILINE | ES_READONLY), static_cast<DWORD>(ES_MULTILINE | ES_READONLY));

    // Text in the input line or the buffer does not change their captions as seen from outside.
    ASSERT_TRUE(console.Print("something"));
    SendMessageA(children[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>("half typed"));
    EXPECT_EQ(CaptionOf(children[0]), "");
    EXPECT_EQ(CaptionOf(children[4]), "");
}

TEST(ConsolePeer, EnterRunsTheLineSplitAtSemicolonsOutsideQuotes) {
    ConsolePeer console;
    ASSERT_TRUE(console.Start(TempDir(TestName()), {"Quake 3 Console", std::nullopt, std::string("^1Bob")}));
    const std::string line = "echo a; echo \"b; quit\";bogus 1;name";
    console.Type(line);

    EXPECT_EQ(console.Typed(), Lines{line});
    EXPECT_EQ(console.Executed(), (Lines{"echo a", "echo \"b; quit\"", "bogus 1", "name"}));
    EXPECT_EQ(console.OutputText(),
              "]echo a; echo \"b; quit\";bogus 1;name\r\n"
              "a\r\n"
              "b; quit\r\n"
              "Unknown command: bogus\r\n"
              "\"name\" is:\"Bob\" default:\"UnnamedPlayer\"\r\n");
    EXPECT_EQ(SendMessageA(console.InputLine(), WM_GETTEXTLENGTH, 0, 0), 0) << "Enter empties the input line";
    EXPECT_TRUE(console.Process().IsRunning());
}

TEST(ConsolePeer, EchoPrintsWithoutColourCodesAndTheLogKeepsTheExactBytes) {
    ConsolePeer console;
    ASSERT_TRUE(console.Start(TempDir(TestName())));
    const std::string line = "echo ^1Playlist ^7: ^1Caf\xE9 ^^ Song";
    console.Type(line);

    EXPECT_EQ(console.Typed(), Lines{line});
    EXPECT_EQ(console.Out(), (Lines{"]echo Playlist : Caf\xE9  Song", "Playlist : Caf\xE9  Song"}));
    EXPECT_EQ(console.OutputText(), "]echo Playlist : Caf\xE9  Song\r\nPlaylist : Caf\xE9  Song\r\n");
}

TEST(ConsolePeer, ClearEmptiesABufferFarBeyondTheEnginesOwnLimit) {
    ConsolePeer console;
    ASSERT_TRUE(console.Start(TempDir(TestName()), {"Quake 3 Console", std::size_t{300000}, std::nullopt, false}));
    ASSERT_TRUE(console.Print("finished R_Init"));
    const std::string before = console.OutputText();
    EXPECT_GE(before.size(), 300000u);
    EXPECT_EQ(before.substr(before.size() - 17), "finished R_Init\r\n");

    console.Type("clear");
    EXPECT_EQ(console.OutputText(), "");
    EXPECT_EQ(console.Clears(), 1);
    console.Type("echo again");
    EXPECT_EQ(console.OutputText(), "]echo again\r\nagain\r\n");
}

TEST(ConsolePeer, QuitEndsTheProgram) {
    ConsolePeer console;
    ASSERT_TRUE(console.Start(TempDir(TestName())));
    console.Type("echo bye;quit;echo never");
    EXPECT_TRUE(console.Process().WaitForExit(kPeerDeadline));
    EXPECT_EQ(console.Executed(), (Lines{"echo bye", "quit"}));
}

TEST(ConsolePeer, ControlCommandsAnswerOneAndUnknownOnesZero) {
    ConsolePeer console;
    ASSERT_TRUE(console.Start(TempDir(TestName())));
    EXPECT_EQ(console.Send("print ^3x:Playlist"), 1);
    EXPECT_EQ(console.Send("prefill 100"), 1);
    EXPECT_EQ(console.Send("dance"), 0);
    EXPECT_EQ(console.Log(), (Lines{"OUT x:Playlist", "PREFILL 100"}));
    EXPECT_GE(console.OutputText().size(), 112u);
}

TEST(PlayerPeer, CaptionFollowsTheStateAndEveryMessageIsLogged) {
    PlayerPeer player;
    ASSERT_TRUE(player.Start(TempDir(TestName()), {{"Artist - One", "Two", "Three"}, 1, 61500, PlayerState::playing, false}));
    EXPECT_EQ(player.Caption(), "2. Two - Winamp");

    struct Step {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT answer;
        std::string caption;
    };
    const std::vector<Step> steps = {
        {WM_USER, 0, 105, 61500, "2. Two - Winamp"},
        {WM_COMMAND, 40046, 0, 0, "2. Two - Winamp [Paused]"},
        {WM_USER, 0, 104, 3, "2. Two - Winamp [Paused]"},
        {WM_COMMAND, 40046, 0, 0, "2. Two - Winamp"},
        {WM_COMMAND, 40047, 0, 0, "2. Two - Winamp [Stopped]"},
        {WM_USER, 0, 104, 0, "2. Two - Winamp [Stopped]"},
        {WM_COMMAND, 40048, 0, 0, "3. Three - Winamp [Stopped]"},
        {WM_COMMAND, 40154, 0, 0, "1. Artist - One - Winamp [Stopped]"},
        {WM_COMMAND, 40045, 0, 0, "1. Artist - One - Winamp"},
        {WM_USER, static_cast<WPARAM>(0xFFFFFFFFu), 121, 0, "1. Artist - One - Winamp"},
        {WM_USER, 2, 121, 0, "3. Three - Winamp"},
        {WM_USER, 0, 125, 2, "3. Three - Winamp"},
        {WM_USER, 0, 124, 3, "3. Three - Winamp"},
        {WM_USER, 0, 0, 0x5010, "3. Three - Winamp"},
        {WM_COMMAND, 40999, 0, 0, "3. Three - Winamp"},
    };
    std::vector<PeerMessage> expected;
    for (const Step& step : steps) {
        EXPECT_EQ(SendMessageA(player.Window(), step.msg, step.wParam, step.lParam), step.answer)
            << step.msg << " " << step.wParam << " " << step.lParam;
        EXPECT_EQ(player.Caption(), step.caption) << step.msg << " " << step.wParam << " " << step.lParam;
        expected.push_back({step.msg, static_cast<std::uint32_t>(step.wParam), static_cast<std::int32_t>(step.lParam)});
    }
    EXPECT_EQ(player.Messages(), expected);
}

TEST(PlayerPeer, ControlCommandsSetPositionEntryStateAndPlaylist) {
    const auto folder = TempDir(TestName());
    PlayerPeer player;
    ASSERT_TRUE(player.Start(folder, {{"One", "Two"}, std::nullopt, std::nullopt, PlayerState::stopped, false}));
    EXPECT_EQ(player.Caption(), "1. One - Winamp [Stopped]");
    EXPECT_EQ(player.Send("index 1"), 1);
    EXPECT_EQ(player.Send("state paused"), 1);
    EXPECT_EQ(player.Send("position 83250"), 1);
    EXPECT_EQ(player.Caption(), "2. Two - Winamp [Paused]");
    EXPECT_EQ(SendMessageA(player.Window(), WM_USER, 0, 105), 83250);

    std::ofstream(folder / "other.txt", std::ios::binary) << "A\r\nB\r\nC\r\n";
    EXPECT_EQ(player.Send("playlist " + (folder / "other.txt").string()), 1);
    EXPECT_EQ(player.Caption(), "2. B - Winamp [Paused]");
    EXPECT_EQ(SendMessageA(player.Window(), WM_USER, 0, 124), 3);
    EXPECT_EQ(player.Send("state dancing"), 0);
    EXPECT_EQ(player.Messages().size(), 2u) << "control commands are not player messages";
}

TEST(MbmPeer, RegionsHoldTheReadingsAtTheReadersOffsetsUntilItCloses) {
    MbmPeer mbm;
    ASSERT_TRUE(mbm.Start(TempDir(TestName()), {52, 4800, "CPU", "Fan 1", "5.1.8.0"}));

    auto read = [](const char* name, std::size_t bytes) -> std::vector<unsigned char> {
        HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
        if (mapping == nullptr) return {};
        std::vector<unsigned char> copy;
        if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) {
            const auto* start = static_cast<const unsigned char*>(view);
            copy.assign(start, start + bytes);
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
        return copy;
    };
    auto int32At = [](const std::vector<unsigned char>& bytes, std::size_t offset) {
        std::int32_t value = 0;
        std::memcpy(&value, bytes.data() + offset, sizeof value);
        return value;
    };

    const auto data = read("$M$B$M$5$D$", 197);
    const auto names = read("$M$B$M$5$N$", 352);
    const auto info = read("$M$B$M$5$I$", 70);
    ASSERT_EQ(data.size(), 197u);
    ASSERT_EQ(names.size(), 352u);
    ASSERT_EQ(info.size(), 70u);
    EXPECT_EQ(int32At(data, 0), 52);
    EXPECT_EQ(int32At(data, 120), 4800);
    EXPECT_EQ(std::string(names.begin(), names.begin() + 11), "CPU        ");
    EXPECT_EQ(std::string(names.begin() + 220, names.begin() + 231), "Fan 1      ");
    EXPECT_EQ(std::string(info.begin(), info.begin() + 7), "5.1.8.0");

    EXPECT_EQ(mbm.Send("temp -3"), 1);
    EXPECT_EQ(mbm.Send("version v5.2"), 1);
    EXPECT_EQ(int32At(read("$M$B$M$5$D$", 4), 0), -3);
    const auto newInfo = read("$M$B$M$5$I$", 11);
    EXPECT_EQ(std::string(newInfo.begin(), newInfo.end()), std::string("v5.2") + std::string(7, '\0'));

    EXPECT_TRUE(mbm.Close());
    HANDLE gone = OpenFileMappingA(FILE_MAP_READ, FALSE, "$M$B$M$5$D$");
    EXPECT_EQ(gone, nullptr);
    if (gone != nullptr) CloseHandle(gone);
}

TEST(Peerctl, SendsTheCommandToTheWindowByTitleOrClass) {
    const auto folder = TempDir(TestName());
    ConsolePeer console;
    ASSERT_TRUE(console.Start(folder, {"MOHAA Console", std::nullopt, std::nullopt}));
    PlayerPeer player;
    ASSERT_TRUE(player.Start(folder, {{"One", "Two"}, std::nullopt, std::nullopt, std::nullopt, false}));

    auto run = [&](const std::vector<std::string>& arguments) -> std::optional<DWORD> {
        ChildProcess peerctl;
        if (!peerctl.Start(BinDir() / "peerctl.exe", arguments, folder)) return std::nullopt;
        if (!peerctl.WaitForExit(kPeerDeadline)) return std::nullopt;
        return peerctl.ExitCode();
    };
    EXPECT_EQ(run({"MOHAA Console", "print from peerctl"}), 0u);
    EXPECT_EQ(run({"Winamp v1.x", "index 1"}), 0u);
    EXPECT_EQ(run({"MOHAA Console", "juggle"}), 1u);
    EXPECT_EQ(run({"No Such Window", "print x"}), 2u);
    EXPECT_EQ(run({"MOHAA Console"}), 2u);

    EXPECT_EQ(console.Out(), Lines{"from peerctl"});
    EXPECT_EQ(player.Caption(), "2. Two - Winamp");
}

// Paths and texts reach a started program's argv unchanged, however they are quoted.
TEST(ChildProcessArguments, QuotingSurvivesTheCommandLineSplit) {
    const std::vector<std::wstring> arguments = {L"plain", L"", L"two words", L"C:\\folder with blank\\",
                                                 L"say \"hi\"", L"back\\\"slash", L"a\\\\b", L"tab\there"};
    std::wstring commandLine = L"program.exe";
    for (const std::wstring& argument : arguments) commandLine += L" " + QuoteArgument(argument);
    int count = 0;
    LPWSTR* split = CommandLineToArgvW(commandLine.c_str(), &count);
    ASSERT_NE(split, nullptr);
    std::vector<std::wstring> parsed(split + 1, split + count);
    LocalFree(split);
    EXPECT_EQ(parsed, arguments);
}

}  // namespace
}  // namespace tunebridge::e2e
