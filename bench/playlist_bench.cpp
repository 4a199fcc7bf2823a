// The playlist echo against the simulated player and console under Wine, for
// 10, 100 and 1,000 entries: the product's own routine on the real Win32
// desktop, timed around the call. One bare SendMessage round trip to the
// player on the same run is the yardstick.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "announce/playlist.h"
#include "console/console_commands.h"
#include "bench_support.h"
#include "harness/peers.h"
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

// One list length: `runs` timed calls of the routine after one untimed one;
// `roundTripUs` is the yardstick of the cost per entry.
bool Measure(int entries, int runs, double roundTripUs) {
    const auto folder = TempDir("playlist_bench-" + std::to_string(entries));
    std::vector<std::string> titles;
    for (int n = 1; n <= entries; ++n) titles.push_back("Artist " + std::to_string(n) + " - Title " + std::to_string(n));
    // The last entry number is read from as many characters as the starting
    // caption's number and its full stop take, plus one, so a starting number
    // with three digits fewer than the last cuts the list (entry 1 of 1,000
    // lists 100). Starting at a tenth of the list keeps it whole, and the
    // steps back to the start grow with the list like the rest.
    const int startEntry = std::max(1, entries / 10);

    PlayerPeer player;
    if (!player.Start(folder, {titles, startEntry - 1, 61500, peers::PlayerState::playing, false})) {
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
    PlayerRequests requests(desktop);
    requests.SetWindow(desktop.FindWindowA(kPlayerWindowClass, ""));
    PlayerRemote remote(desktop);
    std::string lastAnswer;

    std::vector<double> totals;
    std::size_t playerMessages = 0;
    std::size_t listed = 0;
    for (int run = 0; run <= runs; ++run) {
        // Every run starts on an empty console, as the game's console is kept
        // below 300,000 characters by the poller.
        console.Type("clear");
        const std::size_t messagesBefore = player.Messages().size();
        const std::size_t typedBefore = console.Typed().size();

        const LONGLONG start = Now();
        EchoPlaylist(desktop, commands, remote, requests, lastAnswer);
        const double total = Seconds(Now() - start);

        if (run == 0) continue;
        totals.push_back(total);
        playerMessages = player.Messages().size() - messagesBefore;
        const std::vector<std::string> typed = console.Typed();
        listed = CountPrefixed(
            std::vector<std::string>(typed.begin() + static_cast<std::ptrdiff_t>(typedBefore), typed.end()), kLinePrefix);
    }

    // The walk alone: without a console every line is dropped after the
    // lookup, so what is left is the player's part.
    console.Close();
    std::vector<double> walks;
    for (int run = 0; run < runs; ++run) {
        const LONGLONG start = Now();
        EchoPlaylist(desktop, commands, remote, requests, lastAnswer);
        walks.push_back(Seconds(Now() - start));
    }

    const double median = Percentile(totals, 0.5);
    const double walk = Percentile(walks, 0.5);
    std::printf("  %5d entries (start on entry %4d): total median %8.1f ms (max %8.1f), per entry %6.3f ms\n", entries,
                startEntry, median * 1e3, Percentile(totals, 1.0) * 1e3, median * 1e3 / entries);
    std::printf("        without a console (the walk): median %8.1f ms, per entry %6.3f ms\n", walk * 1e3,
                walk * 1e3 / entries);
    std::printf("        player messages %zu (%.3f per entry), console lines %zu of %d, %d timed runs\n",
                playerMessages, static_cast<double>(playerMessages) / entries, listed, entries, runs);

    const std::string key = "playlist_" + std::to_string(entries);
    Figure((key + "_total_ms").c_str(), median * 1e3, "%.1f");
    Figure((key + "_per_entry_ms").c_str(), median * 1e3 / entries, "%.2f");
    Figure((key + "_ratio").c_str(), median * 1e6 / entries / roundTripUs, "%.0f");
    Figure((key + "_walk_per_entry_ms").c_str(), walk * 1e3 / entries, "%.2f");
    Figure((key + "_walk_ratio").c_str(), walk * 1e6 / entries / roundTripUs, "%.1f");
    Figure((key + "_messages_per_entry").c_str(), static_cast<double>(playerMessages) / entries, "%.2f");

    player.Close();
    return listed == static_cast<std::size_t>(entries);
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
    bool complete = Measure(10, 20, roundTripUs);
    complete = Measure(100, 10, roundTripUs) && complete;
    complete = Measure(1000, 3, roundTripUs) && complete;
    if (!complete) std::printf("NOTE: a list was not listed completely\n");
    return 0;
}
