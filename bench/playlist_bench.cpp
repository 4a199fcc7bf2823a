// The playlist echo against the simulated player and console under Wine, for
// 10, 100 and 1,000 entries: the product's own routine on the real Win32
// desktop, timed around the call and until its lines are typed. One bare
// SendMessage round trip to the player on the same run is the yardstick of
// the walk. Then the program itself lists 300 entries beside a game at 85
// frames a second, against a bare typist on the same console.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "announce/playlist.h"
#include "console/console_commands.h"
#include "console/console_poller.h"
#include "bench_support.h"
#include "harness/peers.h"
#include "harness/product.h"
#include "harness/wait.h"
#include "platform/desktop_win32.h"
#include "winamp/player_remote.h"
#include "winamp/player_requests.h"

namespace {

using namespace tunebridge;
using namespace tunebridge::e2e;

constexpr const char* kLinePrefix = "echo ^1Playlist ^7: ^1";

double Seconds(LONGLONG ticks) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

std::size_t CountPrefixed(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.compare(0, prefix.size(), prefix) == 0;
    }));
}

std::vector<std::string> Titles(int entries) {
    std::vector<std::string> titles;
    for (int n = 1; n <= entries; ++n) titles.push_back("Artist " + std::to_string(n) + " - Title " + std::to_string(n));
    return titles;
}

// The median round trip in microseconds.
double RoundTrip(const char* what, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr int kCalls = 2000;
    std::vector<double> micros;
    micros.reserve(kCalls);
    for (int i = 0; i < kCalls; ++i) {
        const LONGLONG start = Now();
        SendMessageA(window, message, wParam, lParam);
        micros.push_back(Seconds(Now() - start) * 1e6);
    }
    std::printf("  %-42s median %7.1f us   p99 %7.1f us   (%d calls)\n", what, Percentile(micros, 0.5),
                Percentile(micros, 0.99), kCalls);
    return Percentile(micros, 0.5);
}

// One list length: `runs` timed calls of the routine after one untimed one,
// each followed by the ticks of the program's console timer until the
// poller has typed the last line; `roundTripUs` is the yardstick of the
// cost per entry.
bool Measure(int entries, int runs, double roundTripUs) {
    const auto folder = TempDir("playlist_bench-" + std::to_string(entries));
    // The last entry number is read from as many characters as the starting
    // caption's number and its full stop take, plus one, so a starting number
    // with three digits fewer than the last cuts the list (entry 1 of 1,000
    // lists 100). Starting at a tenth of the list keeps it whole, and the
    // steps back to the start grow with the list like the rest.
    const int startEntry = std::max(1, entries / 10);

    PlayerPeer player;
    if (!player.Start(folder, {Titles(entries), startEntry - 1, 61500, peers::PlayerState::playing, false})) {
        std::printf("  %d entries: the simulated player did not start\n", entries);
        return false;
    }
    ConsolePeer console;
    if (!console.Start(folder)) {
        std::printf("  %d entries: the simulated console did not start\n", entries);
        return false;
    }

    Win32Desktop desktop;
    ConsoleCommands commands(desktop);
    ConsolePoller poller(desktop, commands, {std::string(kPlaylistLinePrinted)});
    ConsoleReadout readout;
    const ConsoleTimer timer;
    PlayerRequests requests(desktop);
    requests.SetWindow(desktop.FindWindowA(kPlayerWindowClass, ""));
    PlayerRemote remote(desktop);
    std::string lastAnswer;

    std::vector<double> calls;
    std::vector<double> totals;
    std::size_t playerMessages = 0;
    std::size_t listed = 0;
    int timedOut = 0;
    for (int run = 0; run <= runs; ++run) {
        if (run == 1) timedOut = 0;
        const std::size_t messagesBefore = player.Messages().size();
        const std::size_t typedBefore = console.Typed().size();

        const LONGLONG start = Now();
        EchoPlaylist(desktop, commands, remote, requests, lastAnswer);
        const LONGLONG called = Now();
        LONGLONG lastTyped = called;
        std::size_t waiting = commands.Waiting();
        while (waiting > 0) {
            timer.Wait();
            poller.Tick("Winamp", readout, [] {});
            if (commands.Waiting() == waiting) continue;
            // A line that went only once its time was up: the game gave no sign of taking the last one.
            if (Seconds(Now() - lastTyped) * 1e3 >= ConsoleCommands::kTakenMs) ++timedOut;
            lastTyped = Now();
            waiting = commands.Waiting();
        }
        const LONGLONG typed = Now();

        if (run == 0) continue;
        calls.push_back(Seconds(called - start));
        totals.push_back(Seconds(typed - start));
        playerMessages = player.Messages().size() - messagesBefore;
        const std::vector<std::string> lines = console.Typed();
        listed = CountPrefixed(
            std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(typedBefore), lines.end()), kLinePrefix);
    }

    const double call = Percentile(calls, 0.5);
    const double total = Percentile(totals, 0.5);
    const double typing = total - call;
    std::printf("  %5d entries (start on entry %4d): call (walk, lines queued) median %8.1f ms, per entry %6.3f ms\n",
                entries, startEntry, call * 1e3, call * 1e3 / entries);
    std::printf("        until the last line typed: median %8.1f ms (max %8.1f), %.1f lines a second\n", total * 1e3,
                Percentile(totals, 1.0) * 1e3, entries / typing);
    std::printf("        lines typed only once %llu ms were up: %d of %d\n",
                static_cast<unsigned long long>(ConsoleCommands::kTakenMs), timedOut, entries * runs);
    std::printf("        player messages %zu (%.3f per entry), console lines %zu of %d, %d timed runs\n",
                playerMessages, static_cast<double>(playerMessages) / entries, listed, entries, runs);

    const std::string key = "playlist_" + std::to_string(entries);
    Figure((key + "_call_ms").c_str(), call * 1e3, "%.1f");
    Figure((key + "_call_per_entry_ms").c_str(), call * 1e3 / entries, "%.2f");
    Figure((key + "_call_ratio").c_str(), call * 1e6 / entries / roundTripUs, "%.1f");
    Figure((key + "_total_ms").c_str(), total * 1e3, "%.0f");
    Figure((key + "_lines_per_second").c_str(), entries / typing, "%.1f");
    Figure((key + "_timed_out").c_str(), 100.0 * timedOut / (entries * runs), "%.0f");
    Figure((key + "_messages_per_entry").c_str(), static_cast<double>(playerMessages) / entries, "%.2f");

    console.Close();
    player.Close();
    return listed == static_cast<std::size_t>(entries);
}

// The yardstick of the pace: a bare typist that types the next line as soon
// as the pane shows more than the last line's echo, asking the pane's
// length without pause. The game takes one line per frame at most.
double BareTypist(const ConsolePeer& console, int lines) {
    const HWND input = console.InputLine();
    const HWND pane = console.Output();
    const auto length = [&] { return SendMessageA(pane, WM_GETTEXTLENGTH, 0, 0); };
    const LONGLONG start = Now();
    for (int n = 1; n <= lines; ++n) {
        const std::string shown = "echo Playlist : " + std::to_string(n) + ". Bare typist line";
        const std::string line = "echo ^1Playlist ^7: ^1" + std::to_string(n) + ". Bare typist line";
        const LRESULT echoed = length() + 1 + static_cast<LRESULT>(shown.size()) + 2;  // "]", the text, CR LF
        SendMessageA(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line.c_str()));
        SendMessageA(input, WM_CHAR, '\r', 1);
        while (length() == echoed) {
        }
    }
    return lines / Seconds(Now() - start);
}

// The product itself beside a game at 85 frames a second: from the marker
// printed to every entry of a 300-entry list in the pane, read from the
// console's log; then the bare typist on the same console.
bool MeasureBesideTheGame(int entries) {
    const auto folder = TempDir("playlist_bench-game");
    PlayerPeer player;
    ConsolePeer console;
    Product product;
    if (!Started("player", player.Start(folder, {Titles(entries), entries / 10 - 1, 61500,
                                                 peers::PlayerState::playing, false})) ||
        !Started("console", console.Start(folder)) || !Started("tunebridge", product.Start(folder)) ||
        !console.WaitForOut("Winamp : " + std::to_string(entries / 10) + ". ", kProductDeadline)) {
        return false;
    }
    const std::string lastEntry = "Playlist : " + std::to_string(entries) + ". ";
    std::size_t shown = 0;
    LONGLONG first = 0;
    const LONGLONG marked = Now();
    console.Print("Winamp:Playlist");
    const bool complete = WaitUntil(
        [&] {
            const std::vector<std::string> log = console.Log();
            shown = CountPrefixed(log, "OUT Playlist : ");
            if (shown > 0 && first == 0) first = Now();
            return std::ranges::any_of(log, [&](const std::string& record) { return record.starts_with("OUT " + lastEntry); });
        },
        kProductDeadline);
    const LONGLONG last = Now();
    const bool overflowed = std::ranges::count(console.Log(), "CRASH command buffer overflow") > 0;
    product.Close();
    if (!complete) {
        std::printf("  beside the game: %zu of %d entries shown\n", shown, entries);
        return false;
    }
    const double whole = Seconds(last - marked);
    const double pace = (entries - 1) / Seconds(last - first);
    std::printf("  %d entries beside the game: the last %.0f ms after the marker, the first after %.0f ms; "
                "%.1f entries a second overall, %.1f from the first to the last%s\n",
                entries, whole * 1e3, Seconds(first - marked) * 1e3, entries / whole, pace,
                overflowed ? "; THE CONSOLE OVERFLOWED" : "");
    const double bare = BareTypist(console, entries);
    std::printf("  the bare typist on the same console: %.1f lines a second\n", bare);
    Figure("game_entries", entries, "%.0f");
    Figure("game_whole_ms", whole * 1e3, "%.0f");
    Figure("game_first_ms", Seconds(first - marked) * 1e3, "%.0f");
    Figure("game_per_second", entries / whole, "%.1f");
    Figure("game_pace_per_second", pace, "%.1f");
    Figure("game_pace_ratio", pace / 85.0, "%.2f");
    Figure("game_bare_per_second", bare, "%.1f");
    Figure("game_bare_ratio", pace / bare, "%.2f");
    console.Close();
    player.Close();
    return !overflowed;
}

}  // namespace

int main() {
    std::printf("Playlist echo against fake_winamp.exe and fake_console.exe (\"Quake 3 Console\")\n");
    double roundTripUs = 0;
    {
        const auto folder = TempDir("playlist_bench-yardstick");
        PlayerPeer player;
        if (!player.Start(folder, {{"One", "Two"}, 0, 0, peers::PlayerState::playing, false})) {
            std::printf("the simulated player did not start\n");
            return 1;
        }
        std::printf("Yardstick, one SendMessage round trip to the player:\n");
        roundTripUs = RoundTrip("WM_USER request 0 (version; logged)", player.Window(), WM_USER, 0, 0);
        Figure("playlist_round_trip_us", roundTripUs, "%.0f");
        RoundTrip("WM_NULL (not logged)", player.Window(), WM_NULL, 0, 0);
        player.Close();
    }
    std::printf("Playlist (median of the timed runs):\n");
    bool complete = Measure(10, 10, roundTripUs);
    complete = Measure(100, 5, roundTripUs) && complete;
    complete = Measure(1000, 2, roundTripUs) && complete;
    complete = MeasureBesideTheGame(300) && complete;
    if (!complete) std::printf("NOTE: a list was not listed completely\n");
    return 0;
}
