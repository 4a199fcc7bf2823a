// The game console bridge of the real tunebridge.exe under Wine, beside the
// simulated console and player: console text reaches the main window, the
// console markers make the program type its commands, and text taken from
// the player cannot run console commands.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "harness/peers.h"
#include "harness/product.h"
#include "harness/wait.h"

namespace tunebridge::e2e {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kNotRunning = "[ Current Player: <Q3Engine is not running> ]";

std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

std::size_t CountIf(const Lines& lines, const std::function<bool(const std::string&)>& predicate) {
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), predicate));
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

std::size_t EchoesWith(const Lines& executed, const std::string& word) {
    return CountIf(executed, [&](const std::string& line) { return StartsWith(line, "echo ") && Contains(line, word); });
}

std::size_t LinesWith(const Lines& lines, const std::string& word) {
    return CountIf(lines, [&](const std::string& line) { return Contains(line, word); });
}

// The sensor announcer types its own line every ten seconds whatever a test does.
Lines WithoutSensorLines(Lines lines) {
    std::erase_if(lines, [](const std::string& line) { return Contains(line, "MBMonitor"); });
    return lines;
}

std::string Joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) text += "  " + line + "\n";
    return text;
}

// The player must be up before the program, or start-up stops at its Retry prompt.
class ConsoleBridge : public ::testing::Test {
protected:
    void StartPlayer(const std::vector<std::string>& titles) {
        PlayerPeer::Options options;
        options.titles = titles;
        ASSERT_TRUE(player_.Start(folder_, options));
    }

    void StartProduct() { ASSERT_TRUE(product_.Start(folder_)); }

    // The program with no game running, then the game's console: the
    // announcement of the track (made once, on the change) finds no console,
    // so only the test's own text reaches the console.
    void StartProductThenConsole(const ConsolePeer::Options& options = {}) {
        ASSERT_NO_FATAL_FAILURE(StartPlayer({"Artist - Quiet Song"}));
        ASSERT_NO_FATAL_FAILURE(StartProduct());
        std::string shown;
        ASSERT_TRUE(product_.WaitForControlText(control_id::kConsoleStatus, [](const std::string& text) { return text == kNotRunning; },
                                                shown))
            << "lblPlatform: " << shown;
        ASSERT_TRUE(product_.WaitForControlText(control_id::kTrackLine, [](const std::string& text) { return Contains(text, "Quiet"); },
                                                shown))
            << "quakec: " << shown;
        ASSERT_TRUE(console_.Start(folder_, options));
    }

    // Waits until the program has read the console's newest text; only then
    // does a line printed next make up the whole of the new text.
    void ExpectChatTextWith(const std::string& part) {
        std::string shown;
        EXPECT_TRUE(product_.WaitForControlText(control_id::kConsoleText, [&](const std::string& text) { return Contains(text, part); },
                                                shown))
            << "ChatText: \"" << shown << "\"\nexpected a text with \"" << part << "\"";
    }

    // Prints a line into the console and waits until the main window shows it.
    void ExpectChatTextAfterPrint(const std::string& printed, const std::string& expected) {
        ASSERT_TRUE(console_.Print(printed));
        std::string shown;
        EXPECT_TRUE(product_.WaitForControlText(control_id::kConsoleText, [&](const std::string& text) { return text == expected; },
                                                shown))
            << "ChatText: \"" << shown << "\"\nexpected: \"" << expected << "\"";
    }

    void TearDown() override {
        if (product_.Process().Pid() != 0) {
            EXPECT_TRUE(product_.Close()) << "the program did not end on WM_CLOSE";
        }
        console_.Close();
        player_.Close();
    }

    const std::filesystem::path folder_ = TempDir(TestName());
    PlayerPeer player_;
    ConsolePeer console_;
    Product product_;
};

TEST_F(ConsoleBridge, PrintedTextShowsInChatTextAsItsNewest49Characters) {
    ASSERT_NO_FATAL_FAILURE(StartProductThenConsole());

    // A short line: exactly the new characters, line end included.
    ASSERT_NO_FATAL_FAILURE(ExpectChatTextAfterPrint("hello from the game", "hello from the game\r\n"));

    // A long line: only its last 47 characters and the line end.
    const std::string longLine = "0123456789abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-end";
    ASSERT_NO_FATAL_FAILURE(ExpectChatTextAfterPrint(longLine, longLine.substr(longLine.size() - 47) + "\r\n"));
}

TEST_F(ConsoleBridge, RendererReadyMakesTheConsoleAnswerNameOnce) {
    ASSERT_NO_FATAL_FAILURE(StartProductThenConsole({.title = "Quake 3 Console", .playerName = "Ranger"}));

    ASSERT_TRUE(console_.Print("----- finished R_Init -----"));
    ASSERT_TRUE(console_.WaitForLog([](const Lines& log) {
        return std::find(log.begin(), log.end(), "OUT \"name\" is:\"Ranger\" default:\"UnnamedPlayer\"") != log.end();
    })) << Joined(console_.Log());
    ASSERT_NO_FATAL_FAILURE(ExpectChatTextWith("UnnamedPlayer"));

    // Once the answer is the newest text the marker is out of the tail: a
    // later line shown in ChatText proves ticks ran after the answer.
    ASSERT_NO_FATAL_FAILURE(ExpectChatTextAfterPrint("after the name", "after the name\r\n"));
    EXPECT_EQ(WithoutSensorLines(console_.Typed()), Lines{"name"});
}

TEST_F(ConsoleBridge, FullBufferIsClearedAndReadingGoesOnAfterIt) {
    ASSERT_NO_FATAL_FAILURE(StartProductThenConsole({.wipe = false}));
    ASSERT_NO_FATAL_FAILURE(ExpectChatTextAfterPrint("before the flood", "before the flood\r\n"));

    ASSERT_TRUE(console_.Prefill(300000));
    ASSERT_TRUE(console_.WaitForLog([](const Lines& log) { return std::find(log.begin(), log.end(), "CLEAR") != log.end(); }))
        << "the console was never cleared";
    EXPECT_LT(console_.OutputText().size(), 1000u);

    // The seen length follows the cleared buffer, so new text is read again.
    // A line printed before that tick's last length read counts as seen, so
    // a second line follows it: whichever is read, the newest shows.
    ASSERT_TRUE(console_.Print("after the flood"));
    ASSERT_TRUE(console_.Print("still after the flood"));
    std::string shown;
    EXPECT_TRUE(product_.WaitForControlText(
        control_id::kConsoleText, [](const std::string& text) { return text.ends_with("\nstill after the flood\r\n") || text == "still after the flood\r\n"; },
        shown))
        << "ChatText: \"" << shown << "\"";
    EXPECT_EQ(WithoutSensorLines(console_.Executed()), Lines{"clear"});
    EXPECT_EQ(console_.Clears(), 1);
}

// Each title reaches the console as one echo: ";" typed as ",", double
// quotes as single quotes, and none of the commands hidden in it runs.
TEST_F(ConsoleBridge, TrackTitlesReachTheConsoleAsOneHarmlessEcho) {
    struct Case {
        std::string title;
        std::string typedPart;    // in the typed line, between colour codes
        std::string printedPart;  // in the echo's output
    };
    const std::vector<Case> cases = {
        {"Song; quit", "Song, ", "Song, quit"},
        // Without a blank no colour code lands before the command word.
        {"Song;quit", "Song,quit", "Song,quit"},
        {"Say \"hi\"; bind x quit", "'hi',", "Say 'hi', bind x quit"},
    };
    std::vector<std::string> titles;
    for (const Case& c : cases) titles.push_back(c.title);
    ASSERT_NO_FATAL_FAILURE(StartPlayer(titles));
    ASSERT_TRUE(console_.Start(folder_, {.title = "Wolf Console"}));
    ASSERT_NO_FATAL_FAILURE(StartProduct());

    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].title);
        if (i > 0) {
            ASSERT_EQ(player_.Send("index " + std::to_string(i)), 1);
        }
        ASSERT_TRUE(console_.WaitForLog([&](const Lines&) { return LinesWith(console_.Out(), cases[i].printedPart) > 0; }))
            << Joined(console_.Log());
    }

    EXPECT_TRUE(console_.Process().IsRunning()) << "the console quit";
    const Lines executed = console_.Executed();
    EXPECT_EQ(CountIf(executed, [](const std::string& line) { return !StartsWith(line, "echo "); }), 0u)
        << "commands other than echo ran:\n" << Joined(executed);
    const Lines typed = console_.Typed();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(EchoesWith(executed, c.typedPart), 1u) << Joined(executed);
        const auto line = std::find_if(typed.begin(), typed.end(), [&](const std::string& t) { return Contains(t, c.typedPart); });
        ASSERT_NE(line, typed.end()) << Joined(typed);
        EXPECT_EQ(line->find_first_of(";\""), std::string::npos) << *line;
    }
}

TEST_F(ConsoleBridge, WithTwoConsolesTheQuake3OneIsUsed) {
    ASSERT_NO_FATAL_FAILURE(StartPlayer({"Artist - Two Rooms"}));
    ConsolePeer wolf;
    ASSERT_TRUE(wolf.Start(folder_, {.title = "Wolf Console"}));
    ASSERT_TRUE(console_.Start(folder_, {.title = "Quake 3 Console"}));
    ASSERT_NO_FATAL_FAILURE(StartProduct());

    ASSERT_TRUE(console_.WaitForLog([&](const Lines&) { return EchoesWith(console_.Executed(), "Two") == 1; }))
        << Joined(console_.Log());
    ASSERT_NO_FATAL_FAILURE(ExpectChatTextWith("Two Rooms"));
    ASSERT_TRUE(wolf.Print("only in the wolf console"));
    ASSERT_NO_FATAL_FAILURE(ExpectChatTextAfterPrint("only in the quake console", "only in the quake console\r\n"));
    EXPECT_EQ(WithoutSensorLines(wolf.Typed()), Lines{});
    EXPECT_TRUE(wolf.Close());
}

}  // namespace
}  // namespace tunebridge::e2e
