// The game console bridge of the real tunebridge.exe under Wine, beside the
// simulated console and player: the playlist marker works after the game wipes
// its text and after the game restarts. Peers that misbehave (a player or console going away
// halfway, a console asleep or lying about its length, a caption of 64 KB) get
// no line twice, and the settings file is written back whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "harness/peers.h"
#include "harness/product.h"

namespace tunebridge::e2e {
namespace {

using Lines = std::vector<std::string>;

// The player must be up before the program, or start-up stops at its Retry prompt.
class ConsoleBridge : public ::testing::Test {
protected:
    void TearDown() override {
        for (const Lines& typed : {console_.Typed(), restarted_.Typed()})
            EXPECT_EQ(std::set(typed.begin(), typed.end()).size(), typed.size()) << "a line was typed twice";
        EXPECT_TRUE(product_.Process().Pid() == 0 || product_.Close()) << "the program did not end on WM_CLOSE";
        const auto entries = ReadIniEntries(product_.IniPath());
        EXPECT_EQ(entries ? entries->size() : 0u, 47u) << "the settings file is not whole";
        console_.Close();
        player_.Close();
    }

    // The player, the console, then the program, up to the lines it types at
    // the start: typed after a marker, they would push it out of the
    // console's newest text that the main window shows.
    void StartWith(const Lines& titles, const std::optional<std::string>& ini = std::nullopt,
                   const ConsoleOptions& console = {}) {
        ASSERT_TRUE(player_.Start(folder_, {.titles = titles}));
        ASSERT_TRUE(console_.Start(folder_, console));
        ASSERT_TRUE(product_.Start(folder_, ini));
        ASSERT_TRUE(console_.WaitForOut("Winamp : 1. " + titles[0].substr(0, 20), kProductDeadline));
        // The renderer's start at the game's start gets its "name".
        ASSERT_TRUE(console_.WaitForOut("\"name\" is:", kProductDeadline));
    }
    void StartWithTwoSongs(const std::optional<std::string>& ini = std::nullopt,
                           const std::string& second = "Bravo - Two") {
        StartWith({"Alpha - One", second}, ini);
    }

    // Prints the marker into `console`, then sends it `then`; each entry is
    // listed there once, as the player's caption shows it, and nothing after
    // the last by the time the program has read that back.
    void ExpectPlaylistListed(const ConsolePeer& console, const std::string& marker, const std::string& then = "",
                              const Lines& entries = {"1. Alpha - One", "2. Bravo - Two"}) const {
        ASSERT_TRUE(console.Print(marker) && (then.empty() || console.Send(then) == 1));
        const std::string lastEnd = entries.back().substr(entries.back().size() - 9) + echoEnd_ + "\r\n";
        std::string shown;
        ASSERT_TRUE(product_.WaitForControlText(
            control_id::kConsoleText, [&](const std::string& text) { return text.ends_with(lastEnd); }, shown))
            << ::testing::PrintToString(console.Log());
        Lines listed = console.Typed();
        std::erase_if(listed, [](const std::string& line) { return !line.starts_with("echo ^1Playlist ^7: ^1"); });
        for (std::string& line : listed) line.erase(0, 22);
        EXPECT_EQ(listed, entries);
    }

    std::string echoEnd_ = " ";  // what `echo` prints after its last word
    const std::filesystem::path folder_ = TestDir();
    PlayerPeer player_;
    ConsolePeer console_, restarted_;
    Product product_;
};

// The game's console replaces its whole text with the newest message once
// 32 K characters have been added: the text is then far shorter than what
// the program has read, and a marker printed into it still counts.
TEST_F(ConsoleBridge, AfterTheGameWipesItsTextTheMarkerListsThePlaylist) {
    ASSERT_NO_FATAL_FAILURE(StartWithTwoSongs());
    // Most of the 32 K (the start-up text is in them too), read by the program, then past them.
    ASSERT_TRUE(console_.Prefill(29000));
    ASSERT_TRUE(console_.Print("flood read"));
    std::string shown;
    ASSERT_TRUE(product_.WaitForControlText(
        control_id::kConsoleText, [](const std::string& text) { return text.ends_with("read\r\n"); }, shown))
        << "ChatText: \"" << shown << "\"";
    ASSERT_TRUE(console_.Prefill(4000));
    ASSERT_EQ(std::ranges::count(console_.Log(), "WIPE"), 1);
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(console_, "Winamp:Playlist"));
}

// A game quit while the list is typed and started again has a new console
// window, read as the first: the marker of the old one does not act there.
TEST_F(ConsoleBridge, AfterTheGameQuitsHalfwayAndRestartsTheMarkerListsThePlaylistInTheNewConsole) {
    ASSERT_NO_FATAL_FAILURE(StartWithTwoSongs("[Text]\r\nText0=Mywinamp\r\n"));
    ASSERT_TRUE(console_.Send("quit-after 1") == 1 && console_.Print("Mywinamp:Playlist"));
    ASSERT_TRUE(console_.Process().WaitForExit(kProductDeadline));
    ASSERT_TRUE(restarted_.Start(folder_));
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(restarted_, "Mywinamp:Playlist"));
}

// The player closed while its playlist is walked: what was read before is listed.
TEST_F(ConsoleBridge, APlayerClosedHalfwayHasTheEntriesReadBeforeListed) {
    ASSERT_NO_FATAL_FAILURE(StartWithTwoSongs());
    ASSERT_EQ(player_.Send("close-at-entry 1"), 1);
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(console_, "Winamp:Playlist", "", {"1. Alpha - One"}));
}

// The game prints "finished R_Init" and 19 more lines in one frame at its
// start; a marker comes among the lines of a busy server.
TEST_F(ConsoleBridge, NameIsTypedOnceAtStartUpAndAMarkerAmongServerLinesListsThePlaylist) {
    ASSERT_NO_FATAL_FAILURE(StartWithTwoSongs());
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(console_, "Winamp:Playlist\nSarge was railed by Visor\nVisor: nice shot"));
    EXPECT_EQ(std::ranges::count(console_.Typed(), "name"), 1);
}

// The game's tokenizer takes "//" for a comment and letters outside ASCII
// for blanks, and runs 507 characters of a line; the main window shows the
// titles as the player does.
TEST_F(ConsoleBridge, TitlesReachTheConsoleReadableAndWholeAndALongOneEndsWithItsTime) {
    const Lines titles = {"AC//DC - Back In Black", "Sigur R\xF3s - \xC1g\xE6tis byrjun", std::string(600, 'x')};
    ASSERT_NO_FATAL_FAILURE(StartWith(titles));
    ASSERT_TRUE(console_.WaitForOut("Winamp : 1. AC//DC - Back In Black [0:00] ", kProductDeadline));
    ASSERT_EQ(player_.Send("index 1"), 1);
    ASSERT_TRUE(console_.WaitForOut("Winamp : 2. Sigur Ros - Agaetis byrjun [0:00] ", kProductDeadline));
    std::string shown;
    EXPECT_TRUE(product_.WaitForControlText(
        control_id::kPlayerCaption, [&](const std::string& text) { return text == "2. " + titles[1] + " - Winamp"; },
        shown))
        << shown;
    ASSERT_EQ(player_.Send("index 2"), 1);
    ASSERT_TRUE(console_.WaitForOut("xxx... [0:00] ", kProductDeadline)) << ::testing::PrintToString(console_.Log());
}

// Twenty lines of 250 characters overflow the game's command buffer of 512
// bytes when typed faster than it takes them; it draws for 10 ms a frame.
TEST_F(ConsoleBridge, LongEntriesAreListedOneAtATimeAndTheGameDoesNotOverflow) {
    Lines titles;
    for (int n = 1; n <= 20; ++n) titles.push_back(std::string(240, 'x') + " Entry " + std::to_string(n));
    ASSERT_NO_FATAL_FAILURE(StartWith(titles, std::nullopt, {.drawMs = 10}));
    Lines entries;
    for (int n = 1; n <= 20; ++n) entries.push_back(std::to_string(n) + ". " + titles[n - 1]);
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(console_, "Winamp:Playlist", "", entries));
    EXPECT_TRUE(console_.Process().IsRunning());
    EXPECT_EQ(std::ranges::count(console_.Log(), "CRASH command buffer overflow"), 0);
}

// The caption is read up to 2047 characters; the list's line keeps to what the game runs.
TEST_F(ConsoleBridge, ACaptionOf64KilobytesIsReadAsItsFirst2047Characters) {
    const std::string title = "Long - " + std::string(65536, 'x');
    ASSERT_NO_FATAL_FAILURE(StartWithTwoSongs(std::nullopt, title));
    ASSERT_EQ(player_.Send("index 1"), 1);
    std::string shown;
    ASSERT_TRUE(product_.WaitForControlText(
        control_id::kPlayerCaption, [](const std::string& text) { return text.size() == 2047; }, shown))
        << shown.size();
    const std::string listed = "2. " + title.substr(0, 472) + "...";
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(console_, "Winamp:Playlist", "", {"1. Alpha - One", listed}));
}

// Wine turns a huge answer into the true length for an ANSI sender (and hangs it on 2^31-1).
TEST_F(ConsoleBridge, AConsoleAnsweringANegativeOrHugeTextLengthIsReadAgainOnceItTellsTheTruth) {
    ASSERT_NO_FATAL_FAILURE(StartWithTwoSongs());
    for (const std::string length : {"-1", "1000000000"}) {
        ASSERT_EQ(console_.Send("text-length " + length), 1);
        const auto answered = [&] { return std::ranges::count(console_.Log(), "LENGTH " + length) >= 20; };
        EXPECT_TRUE(WaitUntil(answered, kProductDeadline)) << length;
        ASSERT_EQ(console_.Send("text-length real"), 1);
    }
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(console_, "Winamp:Playlist"));
}

// The maintained engine's console: a status bar first, three children, the
// output flushed by a timer, `echo` without a blank at the end. Its pane
// holds 64 K characters, then loses the first half of its lines: the marker
// in the half it keeps does not act again, a new one lists once.
TEST_F(ConsoleBridge, InTheMaintainedEnginesConsoleNameIsTypedAndPastTheCutOfItsPaneTheMarkerListsOnce) {
    ASSERT_NO_FATAL_FAILURE(StartWith({"Alpha - One", "Bravo - Two"}, std::nullopt, {.quake3e = true}));
    echoEnd_ = "";
    ASSERT_TRUE(console_.WaitForOut("\"name\" is:\"UnnamedPlayer\"", kProductDeadline));
    ASSERT_TRUE(console_.Prefill(40000));
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(console_, "Winamp:Playlist"));
    // Other entries now: listed twice, had the old marker acted again.
    std::ofstream(folder_ / "playlist2.txt") << "Charlie - Three\nDelta - Four\n";
    ASSERT_EQ(player_.Send("playlist " + (folder_ / "playlist2.txt").string()), 1);
    ASSERT_TRUE(console_.WaitForOut("Winamp : 1. Charlie - Three", kProductDeadline));
    ASSERT_TRUE(console_.Prefill(30000) && console_.Print("flood read"));
    std::string shown;
    ASSERT_TRUE(product_.WaitForControlText(
        control_id::kConsoleText, [](const std::string& text) { return text.ends_with("read\r\n"); }, shown));
    std::string pane(70000, '\0');
    pane.resize(static_cast<std::size_t>(SendMessageA(console_.Output(), WM_GETTEXT, pane.size(), reinterpret_cast<LPARAM>(pane.data()))));
    ASSERT_TRUE(std::ranges::count(console_.Log(), "HALVE") == 1 && pane.find("\r\nWinamp:Playlist\r\n") != std::string::npos);
    ASSERT_NO_FATAL_FAILURE(ExpectPlaylistListed(console_, "Winamp:Playlist", "",
                                                 {"1. Alpha - One", "2. Bravo - Two", "1. Charlie - Three", "2. Delta - Four"}));
    EXPECT_EQ(std::ranges::count(console_.Typed(), "name"), 1);
}

}  // namespace
}  // namespace tunebridge::e2e
