#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "console/console_poller.h"
#include "fake/fake_console.h"
#include "fake/fake_desktop.h"

namespace tunebridge {
namespace {

using fake::FakeDesktop;
using fake::Message;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

std::string Filler(std::size_t chars) {
    std::string text;
    for (std::size_t i = 0; i < chars; ++i) text.push_back(static_cast<char>('a' + i % 26));
    return text;
}

// The poller's world: a console laid out as the engine builds it, which
// never answers a command unless a test says so.
struct Rig {
    void OpenConsole(const std::string& title = "Quake 3 Console") {
        console = desktop.CreateWindow("Q3 WinConsole", title);
        input = desktop.CreateWindow("Edit", "", console);
        for (const char* caption : {"copy", "clear", "quit"}) desktop.CreateWindow("Button", caption, console);
        buffer = desktop.CreateWindow("Edit", "", console);
    }
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) ConsolePoller(desktop, state, form, [this] { ++playlists; });
    }
    std::string& Buffer() { return desktop.Window(buffer).text; }
    std::string Tail() { return Buffer().substr(Buffer().size() - 49); }
    // Every line typed into the input line, in order.
    Lines Typed() const {
        Lines lines;
        for (const Message& m : desktop.MessagesTo(input))
            if (m.msg == kWM_SETTEXT) lines.push_back(m.text);
        return lines;
    }
    int Reads() const {
        int reads = 0;
        for (const Message& m : desktop.Messages()) reads += m.msg == kWM_GETTEXT;
        return reads;
    }

    FakeDesktop desktop;
    SharedState state;
    FormControls form;
    int playlists = 0;
    Hwnd console = 0;
    Hwnd input = 0;
    Hwnd buffer = 0;
};

class ConsolePollerTest : public ::testing::Test, public Rig {};

TEST_F(ConsolePollerTest, WithoutAConsoleResetsAndSaysSoUntilOneAppears) {
    state.hConsoleOutput = 0x777;
    state.lConsoleLen = 40;
    state.lConsoleSeenLen = 30;
    Tick();
    EXPECT_EQ(form.Console.interval, 1u);
    EXPECT_EQ(desktop.yields, 1);
    EXPECT_EQ(state.hConsoleOutput, 0u);
    EXPECT_EQ(std::make_pair(state.lConsoleLen, state.lConsoleSeenLen), std::make_pair(0, 0));
    EXPECT_EQ(form.lblPlatform, "[ Current Player: <Q3Engine is not running> ]");
    EXPECT_TRUE(desktop.Messages().empty());

    OpenConsole("MOHAA Console");
    Tick();
    EXPECT_EQ(state.hConsoleWnd, console);
    EXPECT_EQ(state.hConsoleOutput, buffer);
    EXPECT_EQ(state.sConsoleStyle, "");
}

TEST_F(ConsolePollerTest, FewerThanFiveChildrenMeansNoPaneAndNoReads) {
    console = desktop.CreateWindow("Q3 WinConsole", "Quake 3 Console");
    for (int i = 0; i < 4; ++i) desktop.CreateWindow("Edit", "some text", console);
    Tick(2);
    EXPECT_EQ(state.hConsoleWnd, console);
    EXPECT_EQ(state.hConsoleOutput, 0u);
    EXPECT_TRUE(desktop.Messages().empty());

    buffer = desktop.CreateWindow("Edit", "", console);
    Buffer() = "late";
    Tick();
    EXPECT_EQ(state.sConsoleTail, "late\0"s);
}

TEST_F(ConsolePollerTest, TailHoldsExactlyTheNewCharactersAndItsNul) {
    OpenConsole();
    Buffer() = Filler(1000) + "finished R_Init";  // before start-up: its last 49 are examined
    Tick();
    EXPECT_EQ(state.sConsoleTail, Tail() + '\0');
    EXPECT_EQ(Typed(), Lines{"name"});

    Buffer() += "0123456789";
    Tick();
    EXPECT_EQ(state.sConsoleTail, "0123456789\0"s);
    EXPECT_EQ(form.ChatText, "0123456789");

    // An earlier marker in a large burst lies outside the tail.
    Buffer() += "finished R_Init" + Filler(285);
    Tick();
    EXPECT_EQ(state.sConsoleTail, Tail() + '\0');
    EXPECT_EQ(form.ChatText, Tail());
    EXPECT_EQ(state.lConsoleSeenLen, static_cast<std::int32_t>(Buffer().size()));
    EXPECT_EQ(Typed(), Lines{"name"});
}

TEST_F(ConsolePollerTest, YieldsBeforeEachStageAndReadsOnlyWhenGrown) {
    OpenConsole();
    Buffer() = "finished R_Init";
    std::vector<std::size_t> sentBeforeYield;
    desktop.onYield = [&] { sentBeforeYield.push_back(desktop.Messages().size()); };
    Tick();
    const std::vector<Message> expected = {
        {buffer, kWM_GETTEXTLENGTH, 0, 0, "", true}, {buffer, kWM_GETTEXTLENGTH, 0, 0, "", true},
        {buffer, kWM_GETTEXT, 16, 0, "", true},      {input, kWM_SETTEXT, 0, 0, "name", true},
        {input, kWM_CHAR, 13, 1, "", true},
    };
    EXPECT_EQ(desktop.Messages(), expected);
    EXPECT_EQ(sentBeforeYield, (std::vector<std::size_t>{0, 1, 3}));
}

TEST(ConsolePoller, ClearsAtTheLimitAndSkipsMarkersThatTick) {
    for (const std::size_t length : {299999u, 300000u, 300001u}) {
        SCOPED_TRACE(length);
        Rig r;
        r.OpenConsole();
        // The console empties on "clear" and prints the line it ran.
        r.desktop.Window(r.input).handler = [&r](fake::FakeWindow& self, const Message& m) -> std::optional<std::int32_t> {
            if (m.msg == kWM_CHAR && self.text == "clear") r.Buffer() = "]clear\r\n";
            return std::nullopt;
        };
        r.Buffer() = Filler(length - 15) + "finished R_Init";
        r.Tick();
        const bool cleared = length >= 300000;
        EXPECT_EQ(r.Typed(), Lines{cleared ? "clear" : "name"});
        EXPECT_EQ(r.Reads(), cleared ? 0 : 1);
        EXPECT_EQ(r.state.lConsoleSeenLen, cleared ? 8 : 299999);
        EXPECT_EQ(r.state.lConsoleLen, cleared ? 8 : 299999);
    }
}

TEST(ConsolePoller, MarkersAreFoundWithoutRegardToCaseNamePrevailing) {
    struct Case {
        const char* text;
        Lines typed;
        int playlists;
    };
    const Case cases[] = {
        {"]echo Winamp:Playlist\r\nWinamp:Playlist\r\n", {}, 1}, {"wINAMP:PLAYlist", {}, 1},
        {":PlaylistWinamp", {}, 0},                           {"Winamp :Playlist", {}, 0},
        {"----- FINISHED r_init -----", {"name"}, 0},          {"finished R_Init Winamp:Playlist", {"name"}, 0},
        {"Winamp:Playlist finished R_Init", {"name"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Rig r;
        r.state.TextSetting[0] = "Winamp";
        r.OpenConsole();
        r.Buffer() = c.text;
        r.Tick();
        EXPECT_EQ(r.Typed(), c.typed);
        EXPECT_EQ(r.playlists, c.playlists);
    }
}

TEST_F(ConsolePollerTest, AConsoleThatNeverAnswersGetsTheSameReactionEveryTick) {
    OpenConsole();
    state.TextSetting[0] = "Other";
    Buffer() = "Winamp:Playlist";
    Tick();
    EXPECT_EQ(playlists, 0);
    state.TextSetting[0] = "Winamp";  // the unique word is read afresh at each search
    Tick(2);
    EXPECT_EQ(playlists, 2);

    Buffer() += "finished R_Init";
    Tick(3);
    EXPECT_EQ(Typed(), (Lines{"name", "name", "name"}));
    EXPECT_EQ(playlists, 2);
    EXPECT_EQ(Reads(), 2);
}

TEST(ConsolePoller, AnAnsweringConsoleGetsEachReactionOnce) {
    Rig r;
    fake::FakeConsole console(r.desktop, "Wolf Console");
    console.Prefill(400000);
    r.Tick();
    EXPECT_EQ(console.ExecutedCommands(), Lines{"clear"});
    console.Print("finished R_Init");
    r.Tick(5);
    EXPECT_EQ(console.ExecutedCommands(), (Lines{"clear", "name"}));
    EXPECT_EQ(r.playlists, 0);
    EXPECT_LT(r.state.lConsoleSeenLen, 300000);
}

TEST_F(ConsolePollerTest, AfterAClearByOtherMeansWaitsForTheOldLength) {
    OpenConsole();
    Buffer() = Filler(100);
    Tick();
    Buffer() = "finished R_Init";
    Tick();
    Buffer() = Filler(85) + "finished R_Init";  // exactly the old length
    Tick();
    EXPECT_TRUE(Typed().empty());
    EXPECT_EQ(Reads(), 1);

    Buffer() += "finished R_Init";
    Tick();
    EXPECT_EQ(state.sConsoleTail, "finished R_Init\0"s);
    EXPECT_EQ(Typed(), Lines{"name"});
}

TEST_F(ConsolePollerTest, HostileNegativeLengthsReadAsEmpty) {
    OpenConsole();
    desktop.Window(buffer).handler = [](fake::FakeWindow&, const Message& m) -> std::optional<std::int32_t> {
        if (m.msg == kWM_GETTEXTLENGTH) return std::numeric_limits<std::int32_t>::min();
        return std::nullopt;
    };
    Tick(2);
    EXPECT_EQ(std::make_pair(state.lConsoleLen, state.lConsoleSeenLen), std::make_pair(0, 0));
    EXPECT_EQ(Reads(), 0);
}

}  // namespace
}  // namespace tunebridge
