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
using namespace std::string_literals;

constexpr const char* kNotRunning = "[ Current Player: <Q3Engine is not running> ]";

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

    void Tick() { ConsolePoller(desktop, state, form, [this] { ++playlists; }); }

    std::string& Buffer() { return desktop.Window(buffer).text; }

    // Every line typed into the input line, in order.
    std::vector<std::string> Typed() const {
        std::vector<std::string> lines;
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
    form.ChatText = "previous";

    Tick();

    EXPECT_EQ(form.Console.interval, 1u);
    EXPECT_EQ(desktop.yields, 1);
    EXPECT_EQ(state.hConsoleOutput, 0u);
    EXPECT_EQ(state.lConsoleLen, 0);
    EXPECT_EQ(state.lConsoleSeenLen, 0);
    EXPECT_EQ(form.lblPlatform, kNotRunning);
    EXPECT_EQ(form.ChatText, "previous");
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

    Tick();
    Tick();

    EXPECT_EQ(state.hConsoleWnd, console);
    EXPECT_EQ(state.hConsoleOutput, 0u);
    EXPECT_TRUE(desktop.Messages().empty());

    buffer = desktop.CreateWindow("Edit", "", console);
    desktop.Window(buffer).text = "late";
    Tick();
    EXPECT_EQ(state.hConsoleOutput, buffer);
    EXPECT_EQ(state.sConsoleTail, "late\0"s);
}

TEST_F(ConsolePollerTest, TailHoldsExactlyTheNewCharactersAndItsNul) {
    OpenConsole();
    Buffer() = Filler(1000) + "finished R_Init";  // before start-up: its last 49 are examined
    Tick();
    EXPECT_EQ(state.sConsoleTail, Buffer().substr(Buffer().size() - 49) + '\0');
    EXPECT_EQ(Typed(), std::vector<std::string>{"name"});

    Buffer() += "0123456789";
    Tick();
    EXPECT_EQ(state.sConsoleTail, "0123456789\0"s);
    EXPECT_EQ(form.ChatText, "0123456789");

    // An earlier marker in a large burst lies outside the tail.
    Buffer() += "finished R_Init" + Filler(285);
    Tick();
    EXPECT_EQ(state.sConsoleTail, Buffer().substr(Buffer().size() - 49) + '\0');
    EXPECT_EQ(form.ChatText, Buffer().substr(Buffer().size() - 49));
    EXPECT_EQ(state.lConsoleSeenLen, static_cast<std::int32_t>(Buffer().size()));
    EXPECT_EQ(Typed(), std::vector<std::string>{"name"});
}

TEST_F(ConsolePollerTest, YieldsBeforeEachStageAndReadsOnlyWhenGrown) {
    OpenConsole();
    Buffer() = "finished R_Init";
    std::vector<std::size_t> sentBeforeYield;
    desktop.onYield = [&] { sentBeforeYield.push_back(desktop.Messages().size()); };

    Tick();

    const std::vector<Message> expected = {
        {buffer, kWM_GETTEXTLENGTH, 0, 0, "", true},
        {buffer, kWM_GETTEXTLENGTH, 0, 0, "", true},
        {buffer, kWM_GETTEXT, 16, 0, "", true},
        {input, kWM_SETTEXT, 0, 0, "name", true},
        {input, kWM_CHAR, 13, 1, "", true},
    };
    EXPECT_EQ(desktop.Messages(), expected);
    EXPECT_EQ(sentBeforeYield, (std::vector<std::size_t>{0, 1, 3}));
}

struct LimitCase {
    std::size_t length;
    bool cleared;
};

TEST(ConsolePoller, ClearsAtTheLimitAndSkipsMarkersThatTick) {
    for (const LimitCase& c : std::vector<LimitCase>{{299999, false}, {300000, true}, {300001, true}}) {
        SCOPED_TRACE(c.length);
        Rig r;
        r.OpenConsole();
        // The console empties on "clear" and prints the line it ran.
        r.desktop.Window(r.input).handler = [&r](fake::FakeWindow& self, const Message& m) -> std::optional<std::int32_t> {
            if (m.msg == kWM_CHAR && self.text == "clear") r.Buffer() = "]clear\r\n";
            return std::nullopt;
        };
        r.Buffer() = Filler(c.length - 15) + "finished R_Init";

        r.Tick();

        if (c.cleared) {
            EXPECT_EQ(r.Typed(), std::vector<std::string>{"clear"});
            EXPECT_EQ(r.Reads(), 0);
            EXPECT_EQ(r.state.lConsoleLen, 8);
            EXPECT_EQ(r.state.lConsoleSeenLen, 8);
            EXPECT_EQ(r.desktop.yields, 2);
        } else {
            EXPECT_EQ(r.Typed(), std::vector<std::string>{"name"});
            EXPECT_EQ(r.Reads(), 1);
            EXPECT_EQ(r.state.lConsoleSeenLen, 299999);
        }
    }
}

struct MarkerCase {
    const char* text;
    std::vector<std::string> typed;
    int playlists;
};

TEST(ConsolePoller, MarkersAreFoundWithoutRegardToCaseNamePrevailing) {
    const std::vector<MarkerCase> cases = {
        {"]echo Winamp:Playlist\r\nWinamp:Playlist\r\n", {}, 1},
        {"winamp:playlist", {}, 1},
        {"WINAMP:PLAYLIST", {}, 1},
        {"xWinamp:Playlistx", {}, 1},
        {":PlaylistWinamp", {}, 0},
        {"Winamp :Playlist", {}, 0},
        {"Winamp", {}, 0},
        {"----- finished R_Init -----", {"name"}, 0},
        {"FINISHED r_init", {"name"}, 0},
        {"finished R_Init Winamp:Playlist", {"name"}, 0},
        {"Winamp:Playlist finished R_Init", {"name"}, 0},
    };
    for (const MarkerCase& c : cases) {
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

    // The unique word is read afresh at each search.
    state.TextSetting[0] = "Winamp";
    Tick();
    Tick();
    EXPECT_EQ(playlists, 2);

    Buffer() += "finished R_Init";
    Tick();
    Tick();
    Tick();
    EXPECT_EQ(Typed(), (std::vector<std::string>{"name", "name", "name"}));
    EXPECT_EQ(playlists, 2);
    EXPECT_EQ(Reads(), 2);
}

TEST(ConsolePoller, AnAnsweringConsoleGetsEachReactionOnce) {
    FakeDesktop desktop;
    fake::FakeConsole console(desktop, "Wolf Console");
    SharedState state;
    FormControls form;
    int playlists = 0;
    const auto tick = [&] { ConsolePoller(desktop, state, form, [&] { ++playlists; }); };
    console.Prefill(400000);

    tick();
    EXPECT_EQ(console.ExecutedCommands(), std::vector<std::string>{"clear"});
    console.Print("finished R_Init");
    for (int i = 0; i < 5; ++i) tick();

    EXPECT_EQ(console.ExecutedCommands(), (std::vector<std::string>{"clear", "name"}));
    EXPECT_EQ(playlists, 0);
    EXPECT_LT(state.lConsoleSeenLen, 300000);
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
    EXPECT_EQ(state.lConsoleSeenLen, 100);

    Buffer() += "finished R_Init";
    Tick();
    EXPECT_EQ(state.sConsoleTail, "finished R_Init\0"s);
    EXPECT_EQ(Typed(), std::vector<std::string>{"name"});
}

TEST_F(ConsolePollerTest, NegativeLengthsReadAsEmpty) {
    OpenConsole();
    desktop.Window(buffer).handler = [](fake::FakeWindow&, const Message& m) -> std::optional<std::int32_t> {
        if (m.msg == kWM_GETTEXTLENGTH) return std::numeric_limits<std::int32_t>::min();
        return std::nullopt;
    };
    state.lConsoleSeenLen = 0;

    Tick();
    Tick();

    EXPECT_EQ(state.lConsoleLen, 0);
    EXPECT_EQ(state.lConsoleSeenLen, 0);
    EXPECT_EQ(Reads(), 0);
}

}  // namespace
}  // namespace tunebridge
