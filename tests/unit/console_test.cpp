#include <gtest/gtest.h>

#include "console/console_commands.h"
#include "console/console_poller.h"
#include "console/console_window.h"
#include "console/engine_text.h"
#include "core/plain_letters.h"
#include "fake/fake_peers.h"

namespace tunebridge {
namespace {

using namespace fake;
using namespace std::chrono_literals;

// Letters only, so that no marker hides in it.
std::string Filler(std::size_t chars) {
    std::string text;
    for (std::size_t i = 0; i < chars; ++i) text.push_back(static_cast<char>('a' + i % 26));
    return text;
}

// The game's console beside the command path and the poller; the game runs
// a frame whenever the program yields, as the real one does between the
// program's messages.
struct ConsoleRig {
    ConsoleRig() {
        desktop.onYield = [this] { console.Frame(); };
    }
    void Tick() { poller.Tick("Winamp", readout, [this] { ++playlists; }); }
    void Tick(const std::string& output) {
        console.engine.ReplaceBuffer(output);
        Tick();
    }
    // Types what waits, a frame after each line.
    void TypeAll() {
        while (commands.Waiting() > 0) {
            commands.TypeNext(console.output);
            console.Frame();
        }
    }
    const Lines& Typed() const { return console.engine.TypedLines(); }

    FakeDesktop desktop;
    FakeConsole console{desktop};
    ConsoleCommands commands{desktop};
    ConsolePoller poller{desktop, commands, {"Winamp : "}};
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

// The engine's consoles have the input line first and the pane fifth; the maintained engine has a
// status bar (holding the buttons) first, then the input line and the pane: there the edits tell.
TEST(ConsoleLookup, FindsTheInputLineAndThePaneInEveryLayout) {
    struct Child { const char* className; const char* caption; std::uint32_t style = 0; bool inStatusBar = false; };
    constexpr std::uint32_t kPaneStyle = 0x0004 | 0x0800;  // ES_MULTILINE | ES_READONLY
    const Child input{"Edit", ""}, pane{"Edit", "", kPaneStyle}, bar{"msctls_statusbar32", ""}, copy{"Button", "copy", 0, true};
    const std::tuple<std::vector<Child>, int, int> cases[] = {  // children, input line, pane (-1: none)
        {{input, {"Button", "copy"}, {"Button", "clear"}, {"Button", "quit"}, {"Edit", ""}}, 0, 4},
        {{bar, copy, copy, input, pane}, 3, 4},
        {{bar, copy, {"EDIT", ""}, {"edit", "", kPaneStyle | 0x40}}, 2, 3},
        {{{"Static", ""}, {"Edit", "", 0x0004}, pane, input}, 3, 2},
        {{bar, pane}, -1, 1},
        {{input, {"Button", "quit"}, {"Edit", "", 0x0800}}, 0, -1},
    };
    for (const auto& [children, typedInto, paneAt] : cases) {
        FakeDesktop desktop;
        const Hwnd console = desktop.CreateWindow("Q3 WinConsole", "Quake 3 Console");
        std::vector<Hwnd> made;
        for (const Child& c : children) made.push_back(desktop.CreateWindow(c.className, c.caption, c.inStatusBar ? made[0] : console, c.style));
        const auto at = [&](int i) { return i < 0 ? 0 : made[static_cast<std::size_t>(i)]; };
        EXPECT_EQ(LocateOutputPane(desktop, console), at(paneAt)) << typedInto;
        ConsoleCommands commands(desktop);
        commands.Send("echo x");
        commands.TypeNext(0);
        std::erase_if(desktop.messages, [](const Message& m) { return m.msg != kSetText && m.msg != kChar; });
        std::vector<Message> typed;
        if (typedInto >= 0) typed = {{at(typedInto), kSetText, 0, 0, "echo x"}, {at(typedInto), kChar, 13, 1, ""}};
        EXPECT_EQ(desktop.messages, typed) << paneAt;
    }
}

// Typed into the input line, the first child, and the walk stops at "copy";
// the pane's length is asked for first.
TEST(ConsoleCommands, TextOfOtherProgramsRunsAsOneHarmlessCommand) {
    const std::pair<std::string, std::string> cases[] = {
        {"echo ^1Winamp ^7: ^31. Song; quit", "echo ^1Winamp ^7: ^31. Song, quit"},
        {"echo Song\r\nquit", "echo Song  quit"},
        {"echo \"Song;quit", "echo 'Song,quit"},
        {"echo a\tb\x1f" "c\x7f", "echo a b c\x7f"},
        {std::string("echo a\0quit", 11), "echo a quit"},
        {"echo " + std::string(40000, 'x'), "echo " + std::string(32767 - 5, 'x')},
    };
    for (const auto& [sent, typed] : cases) {
        ConsoleRig rig;
        rig.commands.Send(sent);
        rig.TypeAll();
        const Hwnd input = rig.console.input;
        const Hwnd pane = rig.console.output;
        EXPECT_EQ(rig.desktop.messages, (std::vector<Message>{{pane, kGetTextLength, 0, 0, ""},
                                                              {input, kSetText, 0, 0, typed},
                                                              {input, kChar, 13, 1, ""}}));
        EXPECT_EQ(rig.console.engine.ExecutedCommands().size(), 1u) << typed.substr(0, 40);
    }
}

// The game's tokenizer takes "//" and "/*" for comments and bytes from 0x80
// for blanks: titles typed in its colour reach the pane whole.
TEST(EngineText, TitlesReachThePaneWholeInLettersTheGameReads) {
    const std::pair<std::string, std::string> cases[] = {
        {"AC//DC - Back In Black", "AC//DC - Back In Black"},
        {"Slash /* Star */ x", "Slash /* Star */ x"},
        {"///", "///"},
        {"Sigur R\xF3s - \xC1g\xE6tis byrjun", "Sigur Ros - Agaetis byrjun"},
        {"Stra\xDF" "e \xDE\xFE\xF0\xD8 \xD7 \xBD \xA9", "Strasse ThthdO x 1/2 (c)"},
        {"\x80 \xFF", "? y"},
    };
    for (const auto& [title, shown] : cases) {
        ConsoleRig rig;
        rig.commands.Send("echo ^4" + ReadableByEngine(rig.desktop, title, '4'));
        rig.TypeAll();
        EXPECT_TRUE(rig.console.engine.Buffer().ends_with("\r\n" + shown + " \r\n")) << rig.console.engine.Buffer();
    }
    // The code between the slashes keeps the colour the text is in.
    FakeDesktop desktop;
    EXPECT_EQ(ReadableByEngine(desktop, "a//b^2c//", '4'), "a/^4/b^2c/^2/");
    EXPECT_EQ(PlainLetters(u"\u2013\u201Cx\u201D\u2026\u20AC\u0416\U0001F600"), "-\"x\"...EUR??");
}

TEST(EngineText, ALongLineKeepsItsHeadAndEndAndShortensTheText) {
    const std::string head = "echo ^1Winamp ^7: ^33. ^4";
    const std::string end = " ^5[^53^7:^600^5]^7";
    EXPECT_EQ(FitLine(head, "Song", end), head + "Song" + end);
    const std::string line = FitLine(head, std::string(600, 'x'), end);
    EXPECT_EQ(line, head + std::string(kLongestTypedLine - head.size() - end.size() - 3, 'x') + "..." + end);
    // A colour code cut after its "^" would colour the dots instead.
    EXPECT_EQ(FitLine("echo ", std::string(491, 'x') + "^4abc", ""), "echo " + std::string(491, 'x') + "...");
}

// The game takes typed lines into a 512-byte buffer between two frames; a
// line typed while the last one still waits could overflow it.
TEST(ConsoleCommands, TypesTheNextLineOnlyOnceTheGameHasTakenTheLast) {
    ConsoleRig rig;
    for (const char* line : {"echo one", "clear", "echo three"}) rig.commands.Send(line);
    for (int i = 0; i < 3; ++i) rig.commands.TypeNext(rig.console.output);
    EXPECT_EQ(rig.Typed(), Lines{"echo one"});
    rig.console.Frame();  // prints "one"
    rig.commands.TypeNext(rig.console.output);
    rig.console.Frame();  // "clear" prints nothing: only the time tells
    rig.desktop.AdvanceClock(ConsoleCommands::kTakenMs * 1ms - 1ms);
    rig.commands.TypeNext(rig.console.output);
    EXPECT_EQ(rig.Typed(), (Lines{"echo one", "clear"}));
    rig.desktop.AdvanceClock(1ms);
    rig.commands.TypeNext(rig.console.output);
    EXPECT_EQ(rig.Typed(), (Lines{"echo one", "clear", "echo three"}));
}

// A game busy loading a map answers nothing; what waits is typed afterwards,
// each line once, also the one whose Enter landed only after the wait.
TEST(ConsoleCommands, ABusyGameGetsEveryLineOnceWhenItAnswersAgain) {
    ConsoleRig rig;
    const auto hang = [&](bool hung) {
        for (const Hwnd window : {rig.console.input, rig.console.output}) hung ? rig.desktop.Hang(window) : rig.desktop.Wake(window);
    };
    rig.desktop.Window(rig.console.input).handler = [&, typeInto = rig.desktop.Window(rig.console.input).handler](
                                                         FakeWindow& self, const Message& message) {
        if (message.msg == kSetText && message.text == "echo two") hang(true);  // busy before the Enter
        return typeInto(self, message);
    };
    for (const char* line : {"echo one", "echo two", "echo three"}) rig.commands.Send(line);
    for (int i = 0; i < 6; ++i) {
        rig.commands.TypeNext(rig.console.output);
        rig.console.Frame();
    }
    EXPECT_EQ(rig.Typed(), Lines{"echo one"}) << "the Enter of the second waits in the game";
    hang(false);
    rig.TypeAll();
    rig.console.Frame();
    EXPECT_EQ(rig.Typed(), (Lines{"echo one", "echo two", "echo three"}));
    EXPECT_EQ(rig.console.engine.ExecutedCommands(), (Lines{"echo one", "echo two", "echo three"}));
}

// All text added since the last read is searched, each marker acts once; the
// console's echo of typed lines and the program's own lines are not markers.
TEST(ConsolePoller, FindsTheMarkersInAllNewTextOnce) {
    std::string startUp = "----- finished R_Init -----\r\n";
    for (int i = 0; i < 19; ++i) startUp += "start-up line " + std::to_string(i) + ": " + Filler(40) + "\r\n";
    const std::tuple<std::string, Lines, int> cases[] = {
        {startUp, {"name"}, 0},
        {"Winamp:Playlist \r\nSarge was railed by Visor\r\nVisor: nice shot\r\n", {}, 1},
        {"wINAMP:PLAYlist", {}, 1},
        {"Winamp:Playlist finished R_Init", {"name"}, 1},
        {":PlaylistWinamp\r\nWinamp :Playlist", {}, 0},
        {"]bind x echo Winamp:Playlist\r\nWinamp : 3. Winamp:Playlist [0:00] \r\n", {}, 0},
    };
    for (const auto& [output, typed, playlists] : cases) {
        ConsoleRig rig;
        rig.Tick(Filler(30000) + "\r\n" + output);
        for (int i = 0; i < 5; ++i) rig.Tick();
        EXPECT_EQ(rig.Typed(), typed) << output;
        EXPECT_EQ(rig.playlists, playlists) << output;
    }
}

// The game wipes its text past 32 K characters, a newer engine cuts off its
// older half: what follows the text last seen is new, or all of it.
TEST(ConsolePoller, ReadsOnWhereTheSeenTextEndsAfterTheGameCutsItsText) {
    ConsoleRig rig;
    const std::string older = "Winamp:Playlist\r\n" + Filler(30000) + "\r\n";
    const std::string kept = "Winamp:Playlist\r\n" + Filler(20000) + "\r\n";
    rig.Tick(older + kept);
    EXPECT_EQ(rig.playlists, 1);
    rig.Tick(kept + "chatter\r\n");
    EXPECT_EQ(rig.playlists, 1);
    rig.Tick(kept + "chatter\r\nWinamp:Playlist\r\n");
    EXPECT_EQ(rig.playlists, 2);
    rig.Tick("Winamp:Playlist\r\n");  // wiped: one message
    EXPECT_EQ(rig.playlists, 3);
    EXPECT_EQ(rig.readout.newestText, "Winamp:Playlist\r\n");
}

TEST(ConsolePoller, ClearsAConsoleOf300000CharactersOnceInsteadOfReadingIt) {
    for (const std::size_t length : {299999u, 300000u}) {
        ConsoleRig rig;
        rig.desktop.onYield = nullptr;  // the console's text stays as it is set
        rig.Tick(Filler(100));
        const std::string output = Filler(length - 15) + "finished R_Init";
        for (int i = 0; i < 3; ++i) rig.Tick(output);
        rig.TypeAll();
        const bool cleared = length == 300000;
        EXPECT_EQ(rig.Typed(), Lines{cleared ? "clear" : "name"}) << length;
        EXPECT_EQ(rig.readout.newestText, cleared ? Filler(100).substr(51) : output.substr(length - 49)) << length;
        rig.Tick("Winamp:Playlist");
        EXPECT_EQ(rig.playlists, 1) << length;
    }
}

// The next game's console has a pane of its own, found anew even when the old
// console went between two ticks; a marker seen in the old one, and a line
// queued for it, do not reach the new one.
TEST(ConsolePoller, WatchesTheConsoleOfAGameStartedAgain) {
    ConsoleRig rig;
    rig.Tick("Winamp:Playlist");
    rig.commands.Send("echo for the old game");
    rig.desktop.DestroyWindow(rig.console.window);
    FakeConsole next{rig.desktop};
    rig.Tick();
    EXPECT_EQ(rig.playlists, 1);
    next.engine.ReplaceBuffer("Winamp:Playlist");
    rig.Tick();
    EXPECT_EQ(rig.playlists, 2);
    EXPECT_EQ(rig.readout.newestText, "Winamp:Playlist");
    EXPECT_EQ(next.engine.TypedLines(), Lines{});
}

} // namespace
} // namespace tunebridge
