// The game console bridge of the real tunebridge.exe under Wine, beside the
// simulated console and player: the playlist marker works after the game wipes
// its text and after the game restarts, and text taken from the player cannot
// run console commands.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "harness/peers.h"
#include "harness/product.h"

namespace tunebridge::e2e {
namespace {

using Lines = std::vector<std::string>;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string Joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) text += "  " + line + "\n";
    return text;
}

// The player must be up before the program, or start-up stops at its Retry prompt.
class ConsoleBridge : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(product_.Process().Pid() == 0 || product_.Close()) << "the program did not end on WM_CLOSE";
        console_.Close();
        player_.Close();
    }

    // The player with two songs, the console, then the program, up to the
    // track line it types at the start: that line, typed after a marker,
    // would push it out of the console's tail that the program reads.
    void StartWithTwoSongs(const std::optional<std::string>& ini = std::nullopt) {
        ASSERT_TRUE(player_.Start(folder_, {.titles = {"Alpha - One", "Bravo - Two"}}));
        ASSERT_TRUE(console_.Start(folder_));
        ASSERT_TRUE(product_.Start(folder_, ini));
        ASSERT_TRUE(console_.WaitForOut("Winamp : 1. Alpha - One", kProductDeadline));
    }

    // Prints the marker into `console`; each song is listed there once, as
    // the player's caption shows it.
    void ExpectPlaylistListed(const ConsolePeer& console, const std::string& marker) const {
        ASSERT_TRUE(console.Print(marker));
        ASSERT_TRUE(console.WaitForOut("Playlist : 2. Bravo - Two", kProductDeadline)) << Joined(console.Log());
        Lines listed = console.Typed();
        std::erase_if(listed, [](const std::string& line) { return !line.starts_with("echo ^1Playlist"); });
        EXPECT_EQ(listed, (Lines{"echo ^1Playlist ^7: ^11. Alpha - One", "echo ^1Playlist ^7: ^12. Bravo - Two"}));
    }

    const std::filesystem::path folder_ = TestDir();
    PlayerPeer player_;
    ConsolePeer console_;
    Product product_;
};

// The game's console replaces its whole text with the newest message once
// 32 K characters have been added: the text is then far shorter than what
// the program has read, and a marker printed into it still counts.
TEST_F(ConsoleBridge, AfterTheGameWipesItsTextTheMarkerListsThePlaylist) {
    ASSERT_NO_FATAL_FAILURE(StartWithTwoSongs());
    // Most of the 32 K, read by the program, then past them.
    ASSERT_TRUE(console_.Prefill(31000));
    ASSERT_TRUE(console_.Print("flood read"));
    std::string shown;
    ASSERT_TRUE(product_.WaitForControlText(
        control_id::kConsoleText, [](const std::string& text) { return text.ends_with("read\r\n"); }, shown))
        << "ChatText: \"" << shown << "\"";
    ASSERT_TRUE(console_.Prefill(2000));
    ASSERT_EQ(std::ranges::count(console_.Log(), "WIPE"), 1);
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(console_, "Winamp:Playlist"));
}

// A game quit and started again has a new console window, read as the first.
TEST_F(ConsoleBridge, AfterTheGameRestartsTheMarkerListsThePlaylistInTheNewConsole) {
    ASSERT_NO_FATAL_FAILURE(StartWithTwoSongs("[Text]\r\nText0=Mywinamp\r\n"));
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(console_, "Mywinamp:Playlist"));
    ASSERT_TRUE(console_.Close());
    ConsolePeer restarted;
    ASSERT_TRUE(restarted.Start(folder_));
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(restarted, "Mywinamp:Playlist"));
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
    Lines titles;
    for (const Case& c : cases) titles.push_back(c.title);
    ASSERT_TRUE(player_.Start(folder_, {.titles = titles}));
    ASSERT_TRUE(console_.Start(folder_, {.title = "Wolf Console"}));
    ASSERT_TRUE(product_.Start(folder_));

    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].title);
        ASSERT_TRUE(i == 0 || player_.Send("index " + std::to_string(i)) == 1);
        ASSERT_TRUE(console_.WaitForOut(cases[i].printedPart)) << Joined(console_.Log());
    }

    EXPECT_TRUE(console_.Process().IsRunning()) << "the console quit";
    const Lines executed = console_.Executed();
    EXPECT_TRUE(std::ranges::all_of(executed, [](const std::string& line) { return line.starts_with("echo "); }))
        << "commands other than echo ran:\n" << Joined(executed);
    const Lines typed = console_.Typed();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(std::ranges::count_if(executed, [&](const std::string& line) { return Contains(line, c.typedPart); }),
                  1)
            << Joined(executed);
        const auto line = std::ranges::find_if(typed, [&](const std::string& t) { return Contains(t, c.typedPart); });
        ASSERT_NE(line, typed.end()) << Joined(typed);
        EXPECT_EQ(line->find_first_of(";\""), std::string::npos) << *line;
    }
}

}  // namespace
}  // namespace tunebridge::e2e
