#include <gtest/gtest.h>

#include "console/console_commands.h"
#include "console/console_poller.h"
#include "console/console_window.h"
#include "fake/fake_peers.h"

namespace tunebridge {
namespace {

using namespace fake;

// Letters only, so that no marker hides in it.
std::string Filler(std::size_t chars) {
    std::string text;
    for (std::size_t i = 0; i < chars; ++i) text.push_back(static_cast<char>('a' + i % 26));
    return text;
}

// The game's console beside the command path and the poller.
struct ConsoleRig {
    void Tick(const std::string& output) {
        console.engine.ReplaceBuffer(output);
        poller.Tick("Winamp", readout, [this] { ++playlists; });
    }
    const Lines& Typed() const { return console.engine.TypedLines(); }

    FakeDesktop desktop;
    FakeConsole console{desktop};
    ConsoleCommands commands{desktop};
    ConsolePoller poller{desktop, commands};
    ConsoleReadout readout;
    int playlists = 0;
};

// Any window class; only the whole title decides.
TEST(ConsoleLookup, TriesTheTitlesInOrderAndTheCommandPathRecordsTheirStyle) {
    const std::tuple<std::vector<const char*>, int, const char*> cases[] = {  // titles, index found, style
        {{}, -1, "PlainText"},
        {{"Wolf Console", "Quake 3 Console"}, 1, "PlainText"},
        {{"Wolf Console"}, 0, "Quake3"},
        {{"MOHAA Console", "Wolf Console"}, 1, "Quake3"},
        {{"1. Song - Winamp", "MOHAA Console"}, 1, "PlainText"},
        {{"Quake 3 Console 1.32", "Wolf Console v1"}, -1, "PlainText"},
    };
    for (const auto& [titles, found, expectedStyle] : cases) {
        FakeDesktop desktop;
        std::vector<Hwnd> handles;
        for (const char* title : titles) handles.push_back(desktop.CreateWindow("AnyClass", title));
        const Hwnd expected = found < 0 ? 0 : handles[static_cast<std::size_t>(found)];
        std::string style;
        EXPECT_EQ(FindConsoleWindow(desktop, style), expected) << found << expectedStyle;
        EXPECT_EQ(style, expectedStyle) << found;
        EXPECT_EQ(FindConsoleForPoller(desktop), expected) << found << expectedStyle;
    }
}

// Typed into the input line, the first child, and the walk stops at "copy".
TEST(ConsoleCommands, TextOfOtherProgramsRunsAsOneHarmlessCommand) {
    const std::pair<std::string, std::string> cases[] = {
        {"echo ^1Winamp ^7: ^31. Song; quit", "echo ^1Winamp ^7: ^31. Song, quit"},
        {"echo Song\r\nquit", "echo Song  quit"},
        {"echo \"Song;quit", "echo 'Song,quit"},
        {"echo a\tb\x1f" "c\x7f", "echo a b c\x7f"},
        {std::string("echo a\0quit", 11), "echo a quit"},
        {"echo Bj\xF6rk \xE9t\xE9", "echo Bj\xF6rk \xE9t\xE9"},
        {"echo " + std::string(40000, 'x'), "echo " + std::string(32767 - 5, 'x')},
    };
    for (const auto& [sent, typed] : cases) {
        ConsoleRig rig;
        rig.commands.Send(sent);
        rig.console.Frame();
        const Hwnd input = rig.console.input;
        EXPECT_EQ(rig.desktop.messages, (std::vector<Message>{{input, kSetText, 0, 0, typed}, {input, kChar, 13, 1, ""}}));
        EXPECT_EQ(rig.console.engine.ExecutedCommands().size(), 1u) << typed.substr(0, 40);
    }
}

// After its own clear the poller reads on, and so after the game wiped its text.
// A length answer no pane can have is not believed: nothing is asked for, nothing allocated.
TEST(ConsoleWindow, AHostileTextLengthReadsAsNoText) {
    for (const std::int32_t length : {0, -5, 16 * 1024 * 1024 + 1, 0x7FFFFFFF}) {
        FakeDesktop desktop;
        const Hwnd pane = desktop.CreateWindow("Edit", "");
        desktop.Window(pane).handler = [length](FakeWindow&, const Message& m) -> std::optional<std::int32_t> {
            return m.msg == kGetTextLength ? std::optional(length) : std::nullopt;
        };
        EXPECT_EQ(ReadWindowTail(desktop, pane), ">No text for this class<") << length;
        EXPECT_EQ(desktop.messages.size(), 1u) << length;
    }
}

TEST(ConsolePoller, ClearsAConsoleOf300000CharactersInsteadOfReadingIt) {
    for (const std::size_t length : {299999u, 300000u}) {
        ConsoleRig rig;
        rig.Tick(Filler(100));
        const std::string output = Filler(length - 15) + "finished R_Init";
        rig.Tick(output);
        const bool cleared = length == 300000;
        EXPECT_EQ(rig.Typed(), Lines{cleared ? "clear" : "name"}) << length;
        EXPECT_EQ(rig.readout.newestText, cleared ? Filler(100).substr(51) : output.substr(length - 49)) << length;
        rig.Tick("Winamp:Playlist");
        EXPECT_EQ(rig.playlists, 1) << length;
    }
}

TEST(ConsolePoller, FindsTheMarkersWithoutRegardToCaseAndNamePrevails) {
    const std::tuple<const char*, Lines, int> cases[] = {
        {"Winamp:Playlist", {}, 1},           {"wINAMP:PLAYlist", {}, 1},
        {":PlaylistWinamp", {}, 0},           {"Winamp :Playlist", {}, 0},
        {"--- FINISHED r_init ---", {"name"}, 0}, {"Winamp:Playlist finished R_Init", {"name"}, 0},
    };
    for (const auto& [output, typed, playlists] : cases) {
        ConsoleRig rig;
        rig.Tick(output);
        EXPECT_EQ(rig.Typed(), typed) << output;
        EXPECT_EQ(rig.playlists, playlists) << output;
    }
}

// The next game's console has a pane of its own, found anew even when the old
// console went between two ticks; a marker seen in the old one does not act again.
TEST(ConsolePoller, WatchesTheConsoleOfAGameStartedAgain) {
    ConsoleRig rig;
    rig.Tick("Winamp:Playlist");
    rig.desktop.DestroyWindow(rig.console.window);
    FakeConsole next{rig.desktop};
    const auto tick = [&] { rig.poller.Tick("Winamp", rig.readout, [&] { ++rig.playlists; }); };
    tick();
    EXPECT_EQ(rig.playlists, 1);
    next.engine.ReplaceBuffer("Winamp:Playlist");
    tick();
    EXPECT_EQ(rig.playlists, 2);
    EXPECT_EQ(rig.readout.newestText, "Winamp:Playlist");
}

// The pane is the fifth child; its tail ends in a NUL, which the count of new characters includes.
TEST(ConsolePoller, ExaminesExactlyTheNewTextOrItsNewest49Characters) {
    ConsoleRig rig;
    std::string output = Filler(100);
    rig.Tick(output);
    EXPECT_EQ(rig.readout.newestText, output.substr(51));
    output += "0123456789";
    rig.Tick(output);
    EXPECT_EQ(rig.readout.newestText, "0123456789");
    output += "finished R_Init" + Filler(285);  // a marker early in a large burst is not seen
    rig.Tick(output);
    EXPECT_EQ(rig.readout.newestText, output.substr(output.size() - 49));
    EXPECT_EQ(rig.Typed(), Lines{});
}

} // namespace
} // namespace tunebridge
