#include "announce/playlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/runtime_error.h"
#include "fake/fake_console.h"
#include "fake/fake_desktop.h"
#include "fake/fake_player.h"

namespace tunebridge {
namespace {

using fake::FakeConsole;
using fake::FakeDesktop;
using fake::FakePlayer;
using fake::Message;

constexpr std::uint32_t kPlay = 40045;
constexpr std::uint32_t kPause = 40046;
constexpr std::uint32_t kStop = 40047;
constexpr std::uint32_t kNext = 40048;
constexpr std::uint32_t kListStart = 40154;
constexpr std::uint32_t kListEnd = 40158;

Message Command(Hwnd window, std::uint32_t id) { return Message{window, kWM_COMMAND, id, 0, "", true}; }
Message Request(Hwnd window, std::uint32_t argument, std::int32_t request) {
    return Message{window, kWM_USER, argument, request, "", true};
}

std::vector<std::string> Titles(int count) {
    std::vector<std::string> titles;
    for (int n = 1; n <= count; ++n) titles.push_back("Title " + std::to_string(n));
    return titles;
}

std::vector<std::string> ExpectedLines(int count) {
    std::vector<std::string> lines;
    for (int n = 1; n <= count; ++n) lines.push_back("echo ^1Playlist ^7: ^1" + std::to_string(n) + ". Title " + std::to_string(n));
    return lines;
}

struct PlaylistRig {
    explicit PlaylistRig(std::vector<std::string> titles, int index = 0, std::int32_t positionMs = 0)
        : player(desktop, std::move(titles), index, fake::PlayerState::playing, positionMs) {
        state.hWinampWnd = player.Window();
    }

    void Run() {
        clsWinamp winamp(desktop);
        Playlist(desktop, state, form, winamp);
    }

    FakeDesktop desktop;
    SharedState state;
    FormControls form;
    FakeConsole console{desktop};
    FakePlayer player;
};

TEST(Playlist, FiveEntriesAreCollectedThenWinampReturnsThenTheLinesFollow) {
    PlaylistRig rig({"Song", "Other", "Third", "Fourth", "Fifth"}, 2, 61500);
    ASSERT_EQ(rig.player.Caption(), "3. Third - Winamp");
    const Hwnd w = rig.player.Window();
    rig.desktop.onYield = [] { ADD_FAILURE() << "the playlist echo must not yield"; };

    rig.Run();

    std::vector<Message> expected = {Request(w, 0, 105), Command(w, kStop), Command(w, kListEnd)};
    for (std::uint32_t i = 0; i < 5; ++i) expected.insert(expected.end(), {Request(w, i, 121), Command(w, kPlay)});
    expected.insert(expected.end(), {Command(w, kListStart), Command(w, kNext), Command(w, kNext),
                                     Request(w, 61000, 106), Command(w, kPause), Command(w, kPause)});
    EXPECT_EQ(rig.player.Received(), expected);
    std::vector<std::string> lines;
    for (const char* entry : {"1. Song", "2. Other", "3. Third", "4. Fourth", "5. Fifth"})
        lines.push_back(std::string("echo ^1Playlist ^7: ^1") + entry);
    EXPECT_EQ(rig.console.TypedLines(), lines);
    EXPECT_EQ(rig.player.Index(), 2);
    EXPECT_EQ(rig.player.Position(), 61000);
    EXPECT_EQ(rig.form.lblretval, "0");
}

TEST(Playlist, EveryEntryIsListedWhateverTheLengthOfTheList) {
    struct Row {
        int entries;
        int startIndex;
    };
    // A one-digit start with 1000 entries: the last number still reads 1000.
    for (const Row& row : {Row{100, 4}, Row{101, 0}, Row{150, 11}, Row{1, 0}, Row{1000, 4}}) {
        PlaylistRig rig(Titles(row.entries), row.startIndex);
        rig.Run();
        EXPECT_EQ(rig.console.TypedLines(), ExpectedLines(row.entries)) << row.entries;
        EXPECT_EQ(rig.player.Index(), row.startIndex) << row.entries;
    }
}

TEST(Playlist, ASavedPositionOfMinusOneAsksForMinusOneSecond) {
    PlaylistRig rig(Titles(2), 0, -1);
    rig.Run();
    const auto received = rig.player.Received();
    ASSERT_GE(received.size(), 3u);
    EXPECT_EQ(received[received.size() - 3], Request(rig.player.Window(), static_cast<std::uint32_t>(-1000), 106));
}

TEST(Playlist, APlayerThatWentAwayListsNothing) {
    PlaylistRig rig(Titles(3), 1);
    const Hwnd gone = rig.player.Window();
    clsWinamp winamp(rig.desktop);
    rig.desktop.DestroyWindow(gone);

    Playlist(rig.desktop, rig.state, rig.form, winamp);

    EXPECT_TRUE(rig.console.TypedLines().empty());
    EXPECT_EQ(rig.form.lblretval, "0");
    for (const Message& m : rig.desktop.MessagesTo(gone)) EXPECT_FALSE(m.delivered);
}

// One run against a bare player window whose caption never changes: every
// command answers its id less 40000, every request 999. `seen` notes each
// message (a command id, or a request as argument + 1000000 x request
// number) with what `lblretval` showed when it arrived.
struct FixedCaptionRun {
    explicit FixedCaptionRun(const std::string& caption) {
        FakeDesktop desktop;
        SharedState state;
        FakeConsole console(desktop);
        state.hWinampWnd = desktop.CreateWindow("Winamp v1.x", caption);
        desktop.Window(state.hWinampWnd).handler = [this](fake::FakeWindow&, const Message& m) -> std::optional<std::int32_t> {
            seen.push_back({m.msg == kWM_COMMAND ? m.wParam : m.wParam + 1000000 * static_cast<std::uint32_t>(m.lParam),
                            form.lblretval});
            return m.msg == kWM_COMMAND ? static_cast<std::int32_t>(m.wParam) - 40000 : 999;
        };
        clsWinamp winamp(desktop);
        Playlist(desktop, state, form, winamp);
        lines = console.TypedLines();
    }
    FormControls form;
    std::vector<std::pair<std::uint32_t, std::string>> seen;
    std::vector<std::string> lines;
};

TEST(Playlist, CaptionNumbersDecideWhatIsCollectedAndEveryAnswerIsShown) {
    // No number: nothing collected, but stop, list end and start, seek and pause still go out.
    const std::vector<std::pair<std::uint32_t, std::string>> nothingCollected = {
        {105000000, "Label3"}, {kStop, "Label3"}, {kListEnd, "47"}, {kListStart, "158"}, {106000000, "154"},
        {kPause, "154"},       {kPause, "46"}};
    for (const char* caption : {"Song - Winamp", "-3. Song - Winamp"}) {
        const FixedCaptionRun run(caption);
        EXPECT_EQ(run.seen, nothingCollected) << caption;
        EXPECT_EQ(run.form.lblretval, "46") << caption;
        EXPECT_TRUE(run.lines.empty()) << caption;
    }
    // 2.5 rounds to 2: two entries, one step forward; the position answer of
    // 999 ms is second 0, hence the seek to 0.
    const FixedCaptionRun run("2.5. Song - Winamp");
    EXPECT_EQ(run.seen, (std::vector<std::pair<std::uint32_t, std::string>>{
                            {105000000, "Label3"}, {kStop, "Label3"}, {kListEnd, "47"}, {121000000, "158"},
                            {kPlay, "158"}, {121000001, "45"}, {kPlay, "45"}, {kListStart, "45"}, {kNext, "154"},
                            {106000000, "48"}, {kPause, "48"}, {kPause, "46"}}));
    EXPECT_EQ(run.lines.size(), 2u);
}

TEST(Playlist, AStartingEntryBeyondSixteenBitsIsReportedAndWinampIsLeftAlone) {
    const FixedCaptionRun run("40000. Song - Winamp");
    EXPECT_TRUE(run.seen.empty());
    EXPECT_EQ(run.lines, std::vector<std::string>{"echo ^1Playlist ^7: ^1The playlist has too many entries to list."});
}

TEST(Playlist, ALastEntryBeyondSixteenBitsIsReportedAfterWinampIsPutBack) {
    PlaylistRig rig(Titles(40000), 9999, 2000);
    const Hwnd w = rig.player.Window();

    rig.Run();

    std::vector<Message> expected = {Request(w, 0, 105), Command(w, kStop), Command(w, kListEnd), Command(w, kListStart)};
    expected.insert(expected.end(), 9999, Command(w, kNext));
    expected.insert(expected.end(), {Request(w, 2000, 106), Command(w, kPause), Command(w, kPause)});
    EXPECT_EQ(rig.player.Received(), expected);
    EXPECT_EQ(rig.console.TypedLines(),
              std::vector<std::string>{"echo ^1Playlist ^7: ^1The playlist has too many entries to list."});
}

} // namespace
} // namespace tunebridge
