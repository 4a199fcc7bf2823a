#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "console/console_window.h"
#include "fake/fake_desktop.h"

namespace tunebridge {
namespace {

using fake::FakeDesktop;
using fake::Message;

struct TopWindow {
    const char* className;
    const char* title;
};

struct LookupCase {
    const char* name;
    std::vector<TopWindow> windows;
    int expected;  // index into `windows`, -1 for none
    const char* style;
};

const std::vector<LookupCase> kLookups = {
    {"none", {}, -1, "PlainText"},
    {"Quake beats Wolf", {{"Q3 WinConsole", "Wolf Console"}, {"Q3 WinConsole", "Quake 3 Console"}}, 1, "PlainText"},
    {"Wolf alone", {{"Q3 WinConsole", "Wolf Console"}}, 0, "Quake3"},
    {"MOHAA alone", {{"Q3 WinConsole", "MOHAA Console"}}, 0, "PlainText"},
    {"Wolf beats MOHAA", {{"Q3 WinConsole", "MOHAA Console"}, {"Q3 WinConsole", "Wolf Console"}}, 1, "Quake3"},
    {"any class", {{"SomethingElse", "Quake 3 Console"}}, 0, "PlainText"},
    {"extra characters", {{"Q3 WinConsole", "Quake 3 Console 1.32"}, {"Q3 WinConsole", "Wolf Console v1"}}, -1, "PlainText"},
    {"other windows", {{"Winamp v1.x", "1. Song - Winamp"}, {"Q3 WinConsole", "MOHAA Console"}}, 1, "PlainText"},
};

TEST(ConsoleLookup, TitlesDecideInTheirOrderWithTheirStyles) {
    for (const LookupCase& c : kLookups) {
        SCOPED_TRACE(c.name);
        FakeDesktop desktop;
        std::vector<Hwnd> handles;
        for (const TopWindow& w : c.windows) handles.push_back(desktop.CreateWindow(w.className, w.title));
        const Hwnd expected = c.expected < 0 ? 0 : handles[static_cast<std::size_t>(c.expected)];

        SharedState commandPath;
        EXPECT_EQ(FindConsoleWindow(desktop, commandPath), expected);
        EXPECT_EQ(commandPath.sConsoleStyle, c.style);
        EXPECT_EQ(commandPath.hConsoleWnd, 0u) << "the command path stores no handle";

        SharedState poller;
        poller.sConsoleStyle = "untouched";
        LookUpConsoleForPoller(desktop, poller);
        EXPECT_EQ(poller.hConsoleWnd, expected);
        EXPECT_EQ(poller.sConsoleStyle, "untouched");
        EXPECT_TRUE(desktop.Messages().empty());
    }
}

TEST(ConsoleLookup, OutputPaneIsTheFifthChildOrNothing) {
    for (int children : {0, 1, 4, 5, 6}) {
        SCOPED_TRACE(children);
        FakeDesktop desktop;
        const Hwnd console = desktop.CreateWindow("Q3 WinConsole", "Quake 3 Console");
        std::vector<Hwnd> made;
        for (int i = 0; i < children; ++i) made.push_back(desktop.CreateWindow("Edit", "", console));
        // A grandchild is not a sibling and must not be counted.
        if (!made.empty()) desktop.CreateWindow("Static", "", made.front());

        EXPECT_EQ(LocateOutputPane(desktop, console), children >= 5 ? made[4] : 0u);
    }
    FakeDesktop desktop;
    EXPECT_EQ(LocateOutputPane(desktop, 0), 0u);
}

struct TailCase {
    std::size_t length;
    std::size_t expectedChars;  // including the NUL
};

TEST(ReadWindowTail, GivesTheLastCharactersWithTheirNul) {
    for (const TailCase& c : std::vector<TailCase>{{1, 2}, {10, 11}, {49, 50}, {50, 50}, {200, 50}}) {
        SCOPED_TRACE(c.length);
        FakeDesktop desktop;
        Hwnd pane = desktop.CreateWindow("Edit", "");
        std::string text;
        for (std::size_t i = 0; i < c.length; ++i) text.push_back(static_cast<char>('A' + i % 26));
        desktop.Window(pane).text = text;

        const std::string expected = text.substr(text.size() + 1 - c.expectedChars) + '\0';
        EXPECT_EQ(ReadWindowTail(desktop, pane), expected);

        const std::vector<Message> traffic = {
            {pane, kWM_GETTEXTLENGTH, 0, 0, "", true},
            {pane, kWM_GETTEXT, static_cast<std::uint32_t>(c.length + 1), 0, "", true},
        };
        EXPECT_EQ(desktop.Messages(), traffic);
    }
}

TEST(ReadWindowTail, UnreadableLengthsGiveTheNoTextLineWithoutAskingForText) {
    const std::int32_t answers[] = {0, -1, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    for (std::int32_t answer : answers) {
        SCOPED_TRACE(answer);
        FakeDesktop desktop;
        Hwnd pane = desktop.CreateWindow("Edit", "");
        desktop.Window(pane).handler = [answer](fake::FakeWindow&, const Message& m) -> std::optional<std::int32_t> {
            if (m.msg == kWM_GETTEXTLENGTH) return answer;
            return std::nullopt;
        };
        EXPECT_EQ(ReadWindowTail(desktop, pane), ">No text for this class<");
        const std::vector<Message> traffic = {{pane, kWM_GETTEXTLENGTH, 0, 0, "", true}};
        EXPECT_EQ(desktop.Messages(), traffic);
    }
}

}  // namespace
}  // namespace tunebridge
