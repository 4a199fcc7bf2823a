#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "console/console_command.h"
#include "fake/fake_console.h"
#include "fake/fake_desktop.h"

namespace tunebridge {
namespace {

using fake::FakeDesktop;
using fake::Message;
using namespace std::string_literals;

Message SetText(Hwnd hwnd, std::string text) { return {hwnd, kWM_SETTEXT, 0, 0, std::move(text), true}; }
Message Enter(Hwnd hwnd) { return {hwnd, kWM_CHAR, 13, 1, "", true}; }

// A console window whose children carry these captions, in this order.
std::vector<Hwnd> ConsoleWithChildren(FakeDesktop& desktop, const std::vector<std::string>& captions,
                                      const std::string& title = "Quake 3 Console") {
    const Hwnd console = desktop.CreateWindow("Q3 WinConsole", title);
    std::vector<Hwnd> children;
    for (const std::string& caption : captions) children.push_back(desktop.CreateWindow("Edit", caption, console));
    return children;
}

struct OrderCase {
    const char* name;
    std::vector<std::string> captions;
    // Per message: the child it goes to and the text of a WM_SETTEXT
    // (nullptr marks the Enter that follows it).
    std::vector<std::pair<int, const char*>> traffic;
    const char* pendingAfter;
};

const std::vector<OrderCase> kOrders = {
    {"engine layout", {"", "copy", "clear", "quit", ""}, {{0, "echo hi"}, {0, nullptr}}, ""},
    {"empty, text, text", {"", "text", "text"}, {{0, "echo hi"}, {0, nullptr}}, ""},
    {"empty, empty, text", {"", "", "text", ""}, {{0, "echo hi"}, {0, nullptr}, {1, ""}, {1, nullptr}}, ""},
    {"text, empty", {"text", ""}, {}, "echo hi"},
};

TEST(SendConsoleCommand, GoesToTheEmptyChildrenBeforeTheFirstCaption) {
    for (const OrderCase& c : kOrders) {
        SCOPED_TRACE(c.name);
        FakeDesktop desktop;
        const std::vector<Hwnd> children = ConsoleWithChildren(desktop, c.captions);
        SharedState state;

        SendConsoleCommand(desktop, state, "echo hi");

        std::vector<Message> expected;
        for (const auto& [child, text] : c.traffic) {
            const Hwnd hwnd = children[static_cast<std::size_t>(child)];
            expected.push_back(text ? SetText(hwnd, text) : Enter(hwnd));
        }
        EXPECT_EQ(desktop.Messages(), expected);
        EXPECT_EQ(state.sPendingCommand, c.pendingAfter);
    }
}

TEST(SendConsoleCommand, WithoutAConsoleSendsNothingAndKeepsThePendingLine) {
    FakeDesktop desktop;
    desktop.CreateWindow("Edit", "");
    SharedState state;
    state.sPendingCommand = "earlier";
    state.sConsoleStyle = "Quake3";

    SendConsoleCommand(desktop, state, "clear");

    EXPECT_TRUE(desktop.Messages().empty());
    EXPECT_EQ(state.sPendingCommand, "earlier");
    EXPECT_EQ(state.sConsoleStyle, "PlainText");
}

TEST(SendConsoleCommand, LooksTheConsoleUpAfreshForEveryLine) {
    FakeDesktop desktop;
    SharedState state;
    const Hwnd wolf = desktop.CreateWindow("Q3 WinConsole", "Wolf Console");
    const Hwnd wolfInput = desktop.CreateWindow("Edit", "", wolf);
    SendConsoleCommand(desktop, state, "name");
    EXPECT_EQ(state.sConsoleStyle, "Quake3");
    desktop.DestroyWindow(wolf);
    const Hwnd quakeInput = ConsoleWithChildren(desktop, {"", "copy"}).front();
    SendConsoleCommand(desktop, state, "name");
    EXPECT_EQ(state.sConsoleStyle, "PlainText");
    EXPECT_EQ(desktop.Messages(), (std::vector<Message>{SetText(wolfInput, "name"), Enter(wolfInput),
                                                        SetText(quakeInput, "name"), Enter(quakeInput)}));
}

TEST(SendConsoleCommand, TypesEveryLineAsOneHarmlessLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"echo ^1Winamp ^7: ^31. Song; quit", "echo ^1Winamp ^7: ^31. Song, quit"},
        {"echo Song\r\nquit", "echo Song  quit"},
        {"echo \"Song;quit", "echo 'Song,quit"},
        {"echo a\tb\x1f" "c\x7f", "echo a b c\x7f"},
        {"echo a\0quit"s, "echo a quit"},
        {"echo Bj\xF6rk \xE9t\xE9 \xA9", "echo Bj\xF6rk \xE9t\xE9 \xA9"},
        {"echo ^1Playlist ^7: ^1Song", "echo ^1Playlist ^7: ^1Song"},
        {"clear", "clear"},
        // Too long for the input line: cut rather than failed.
        {"echo " + std::string(40000, 'x'), "echo " + std::string(32767 - 5, 'x')},
    };
    for (const auto& [sent, typed] : cases) {
        SCOPED_TRACE(sent.substr(0, 40));
        FakeDesktop desktop;
        const Hwnd input = ConsoleWithChildren(desktop, {"", "copy", "clear", "quit", ""}).front();
        SharedState state;
        SendConsoleCommand(desktop, state, sent);
        EXPECT_EQ(desktop.Messages(), (std::vector<Message>{SetText(input, typed), Enter(input)}));
    }
}

TEST(SendConsoleCommand, ForeignTextCannotRunCommandsInTheGame) {
    for (const char* title : {"Song; quit", "Song\r\nquit", "\"Song;quit", "Song\"; \"quit"}) {
        SCOPED_TRACE(title);
        FakeDesktop desktop;
        fake::FakeConsole console(desktop);
        SharedState state;
        SendConsoleCommand(desktop, state, std::string("echo ^1Playlist ^7: ^1") + title);
        ASSERT_TRUE(desktop.Exists(console.Window()));
        ASSERT_EQ(console.ExecutedCommands().size(), 1u);
        EXPECT_EQ(console.ExecutedCommands().front().rfind("echo ", 0), 0u);
        EXPECT_EQ(console.PrintedLines().size(), 2u) << "the typed line and its echo";
    }
}

TEST(ConsoleStrings, AnsiBytesAreOneBytePerCharacterCutTo32767AndTrimAtNulCuts) {
    EXPECT_EQ(ToAnsiBytes("a\xE9\xFF"), (std::vector<std::uint8_t>{0x61, 0xE9, 0xFF, 0x00}));
    const std::vector<std::uint8_t> longest = ToAnsiBytes(std::string(32767, 'a'));
    EXPECT_EQ(longest.size(), 32768u);
    EXPECT_EQ(longest.back(), 0);
    EXPECT_EQ(ToAnsiBytes(std::string(32768, 'a') + "tail"), longest);
    EXPECT_EQ(TrimAtNul("ab\0cd\0"s), "ab");
    EXPECT_EQ(TrimAtNul("\0abc"s), "");
    EXPECT_EQ(TrimAtNul("abc"), "abc");
}

TEST(ConsoleStrings, CleanStringCutsBelowCode20AndTrimsBlanks) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"  CPU 1  ", "CPU 1"},       {" Fan 2 \0 junk  "s, "Fan 2"}, {"CASE\x13more", "CASE"},
        {"\x01" "CASE", ""},          {"a\x14z", "a\x14z"},          {"a\x1b z ", "a\x1b z"},
        {" 45\xB0" "C \xE9\x80 ", "45\xB0" "C \xE9\x80"},        {"   ", ""},
    };
    for (const auto& [text, cleaned] : cases) EXPECT_EQ(CleanString(text), cleaned) << text;
}

}  // namespace
}  // namespace tunebridge
