// How fast a hotkey reaches the player.
//
// Latency: F5 is bound to Next; each round presses F5 with SendInput, waits
// until the simulated player has logged the command (its log carries the
// moment of reception on the same QueryPerformanceCounter clock), releases F5
// and waits 5 to 105 ms, varied so the presses fall at every point of the
// program's 10 ms poll.
//
// Busy frame: in the same run, the same presses while the game is busy with
// a frame of 4 s (a map loading), answering no message.
//
// Yardstick: once the program has ended, the same presses against a thread of
// this benchmark that only asks for F5 every 10 ms. What the program adds to
// the key state's own delay is the difference between the two.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "harness/keyboard.h"
#include "harness/peers.h"
#include "harness/process.h"
#include "harness/product.h"
#include "harness/wait.h"
#include "bench_support.h"

namespace tunebridge::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kPresses = 250;
constexpr int kStalls = 5;
constexpr int kStallMs = 4000;
// Presses begin up to this long into a stall, well before the game wakes.
constexpr std::chrono::milliseconds kPressingDuringStall = 3s;
constexpr std::chrono::milliseconds kDeadline = 30s;
constexpr double kPollIntervalMs = 10.0;

std::int64_t MicrosecondsNow() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return counter.QuadPart / frequency.QuadPart * 1000000 +
           counter.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

// The simulated player with the reception time on every message record.
class TimestampedPlayer : public PeerProgram {
public:
    ::testing::AssertionResult Start(const fs::path& folder) {
        const fs::path playlist = folder / "playlist.txt";
        std::FILE* file = std::fopen(playlist.string().c_str(), "wb");
        if (file == nullptr) return ::testing::AssertionFailure() << "cannot write " << playlist.string();
        std::fputs("Artist One - First Song\nArtist Two - Second Song\n", file);
        std::fclose(file);
        const fs::path log = folder / "player.log";
        return Launch("fake_winamp.exe", {"--playlist", playlist.string(), "--log", log.string(), "--timestamps"},
                      folder, log, "Winamp v1.x", "");
    }

    // Reception times of every WM_COMMAND with this id, in order.
    std::vector<std::int64_t> Received(std::uint32_t id) const {
        std::vector<std::int64_t> times;
        for (const std::string& record : Log()) {
            std::istringstream fields(record);
            std::string tag;
            unsigned msg = 0;
            std::uint32_t wParam = 0;
            std::int32_t lParam = 0;
            std::int64_t micros = 0;
            if (fields >> tag >> msg >> wParam >> lParam >> micros && tag == "MSG" &&
                msg == peers::kPlayerWmCommand && wParam == id) {
                times.push_back(micros);
            }
        }
        return times;
    }
};

// Waits without a condition, between presses.
void Pause(std::chrono::milliseconds length) {
    WaitUntil([] { return false; }, length);
}

using ReceptionTimes = std::function<std::vector<std::int64_t>()>;

// One press of F5: the latency in ms until `received` (the reception times
// of every press seen so far) has one more entry; nothing when it has none
// within `deadline`. The key is let go either way.
std::optional<double> Press(Keyboard& keyboard, std::chrono::milliseconds deadline, const ReceptionTimes& received) {
    const std::size_t before = received().size();
    const std::int64_t pressed = MicrosecondsNow();
    keyboard.Press(VK_F5);
    std::vector<std::int64_t> times;
    const bool arrived = WaitUntil(
        [&] {
            times = received();
            return times.size() > before;
        },
        deadline);
    keyboard.Release(VK_F5);
    if (!arrived) return std::nullopt;
    return static_cast<double>(times[before] - pressed) / 1000.0;
}

// Keys held while a window appears may be let go by Wine (see
// ParkPointerAwayFromWindows): unmeasured presses until one gets through.
bool WarmUp(const ReceptionTimes& received) {
    Keyboard keyboard;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (Press(keyboard, 3s, received)) return true;
    }
    return false;
}

// 5..105 ms, stepping by 37 modulo 101: the presses fall evenly over the
// 10 ms poll and over the key state's own refresh (see docs/benchmarks.md).
std::chrono::milliseconds Gap(int press) { return std::chrono::milliseconds(5 + (press * 37) % 101); }

std::optional<std::vector<double>> Presses(const ReceptionTimes& received) {
    Keyboard keyboard;
    std::vector<double> latencies;
    for (int i = 0; i < kPresses; ++i) {
        const auto latency = Press(keyboard, kDeadline, received);
        if (!latency) {
            std::printf("press %d: not seen within %lld ms\n", i, static_cast<long long>(kDeadline.count()));
            return std::nullopt;
        }
        latencies.push_back(*latency);
        Pause(Gap(i));
    }
    return latencies;
}

std::size_t Records(const ConsolePeer& console, const std::string& record) {
    return static_cast<std::size_t>(std::ranges::count(console.Log(), record));
}

// The same presses while the game is busy with a frame of kStallMs, kStalls
// times: each stall is asked for and seen begun in the console's log, then
// pressed through for kPressingDuringStall and waited out. Every press made
// during a stall counts, however late the program answers it.
std::optional<std::vector<double>> BusyPresses(const ConsolePeer& console, const ReceptionTimes& received) {
    Keyboard keyboard;
    std::vector<double> latencies;
    const std::string stall = "STALL " + std::to_string(kStallMs);
    int press = 0;
    for (int round = 0; round < kStalls; ++round) {
        const std::size_t stalled = Records(console, stall);
        const std::size_t woken = Records(console, "AWAKE");
        if (console.Send("stall " + std::to_string(kStallMs)) != 1 ||
            !WaitUntil([&] { return Records(console, stall) > stalled; }, kDeadline)) {
            std::printf("the console did not stall\n");
            return std::nullopt;
        }
        const auto begun = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - begun < kPressingDuringStall) {
            const auto latency = Press(keyboard, kDeadline, received);
            if (!latency) {
                std::printf("busy press %d: not seen within %lld ms\n", press, static_cast<long long>(kDeadline.count()));
                return std::nullopt;
            }
            latencies.push_back(*latency);
            Pause(Gap(press++));
        }
        WaitUntil([&] { return Records(console, "AWAKE") > woken; }, kDeadline);
    }
    return latencies;
}

void PrintLatencies(const char* what, const char* figure, const std::vector<double>& latencies) {
    const double median = Percentile(latencies, 0.5);
    const double p99 = Percentile(latencies, 0.99);
    Figure((std::string(figure) + "_median_ms").c_str(), median, "%.1f");
    Figure((std::string(figure) + "_p99_ms").c_str(), p99, "%.1f");
    std::printf("%s, %zu presses:\n", what, latencies.size());
    std::printf("  median %.2f ms (%.2f poll intervals of %.0f ms)\n", median, median / kPollIntervalMs,
                kPollIntervalMs);
    std::printf("  99th percentile %.2f ms (%.2f poll intervals)\n", p99, p99 / kPollIntervalMs);
    std::printf("  min %.2f ms, max %.2f ms\n", Percentile(latencies, 0.0), Percentile(latencies, 1.0));
}

// The yardstick: what the system's key state itself allows. A thread that
// does nothing but ask for F5 on a 10 ms timer, as the program's poll does.
struct BarePoll {
    DWORD threadId = 0;
    std::atomic<bool> running{false};
    std::mutex guard;
    std::vector<std::int64_t> seen;
};

DWORD WINAPI RunBarePoll(void* parameter) {
    auto& poll = *static_cast<BarePoll*>(parameter);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for WM_QUIT
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
    poll.running = true;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message != WM_TIMER) continue;
        if (static_cast<std::uint16_t>(GetAsyncKeyState(VK_F5)) == 0x8001) {
            const std::int64_t now = MicrosecondsNow();
            std::lock_guard lock(poll.guard);
            poll.seen.push_back(now);
        }
    }
    KillTimer(nullptr, timer);
    return 0;
}

int Run() {
    const fs::path folder = TempDir("hotkey-bench");
    ParkPointerAwayFromWindows();
    TimestampedPlayer player;
    ConsolePeer console;
    if (!Started("player", player.Start(folder)) || !Started("console", console.Start(folder))) return 1;
    const fs::path productFolder = folder / "product";
    ChildProcess product;
    const std::string ini = "[Keys]\r\nKey2=116\r\n[SKeys]\r\nKey2=0\r\n[CKeys]\r\nKey2=0\r\n[AKeys]\r\nKey2=0\r\n";
    if (!product.Start(StageProduct(productFolder, ini), {}, productFolder, SW_SHOWNOACTIVATE)) {
        std::printf("cannot start tunebridge.exe\n");
        return 1;
    }
    HWND window = nullptr;
    if (!WaitUntil(
            [&] {
                window = product.FindOwnWindow("", "Tunebridge.");
                return window != nullptr && IsWindowVisible(window);
            },
            kDeadline)) {
        std::printf("no window \"Tunebridge.\"\n");
        return 1;
    }

    const auto nextTimes = [&] { return player.Received(peers::player_command::kNext); };
    if (!WarmUp(nextTimes)) {
        std::printf("F5 never reached the program\n");
        return 1;
    }
    const auto latenciesMs = Presses(nextTimes);
    if (!latenciesMs) return 1;

    PrintLatencies("key press (SendInput) to the player receiving Next", "hotkey_program", *latenciesMs);
    const auto busyMs = BusyPresses(console, nextTimes);
    if (!busyMs) return 1;
    PrintLatencies("the same while the game is busy with a frame of 4 s", "hotkey_busy", *busyMs);
    Figure("hotkey_busy_stalls", kStalls, "%.0f");
    Figure("hotkey_busy_presses", static_cast<double>(busyMs->size()), "%.0f");
    Figure("hotkey_busy_max_ms", Percentile(*busyMs, 1.0), "%.0f");
    Figure("hotkey_busy_ratio_median", Percentile(*busyMs, 0.5) / Percentile(*latenciesMs, 0.5));
    Figure("hotkey_busy_ratio_p99", Percentile(*busyMs, 0.99) / Percentile(*latenciesMs, 0.99));

    PostMessageA(window, WM_CLOSE, 0, 0);
    if (!product.WaitForExit(kDeadline)) std::printf("the program did not end after its window was closed\n");
    console.Close();
    player.Close();

    // With the program gone, nobody else asks for F5: the bare poll has the key to itself.
    BarePoll bare;
    const HANDLE thread = CreateThread(nullptr, 0, RunBarePoll, &bare, 0, &bare.threadId);
    WaitUntil([&] { return bare.running.load(); }, kDeadline);
    const auto bareTimes = [&] {
        std::lock_guard lock(bare.guard);
        return bare.seen;
    };
    std::optional<std::vector<double>> bareMs;
    if (WarmUp(bareTimes)) bareMs = Presses(bareTimes);
    PostThreadMessageA(bare.threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    if (!bareMs) return 1;
    PrintLatencies("the same presses to a bare 10 ms GetAsyncKeyState poll in this program", "hotkey_bare", *bareMs);
    Figure("hotkey_ratio_median", Percentile(*latenciesMs, 0.5) / Percentile(*bareMs, 0.5));
    Figure("hotkey_ratio_p99", Percentile(*latenciesMs, 0.99) / Percentile(*bareMs, 0.99));
    Figure("hotkey_presses", kPresses, "%.0f");
    Figure("hotkey_busy_bare_ratio_median", Percentile(*busyMs, 0.5) / Percentile(*bareMs, 0.5));
    Figure("hotkey_busy_bare_ratio_p99", Percentile(*busyMs, 0.99) / Percentile(*bareMs, 0.99));
    return 0;
}

}  // namespace
}  // namespace tunebridge::e2e

int main() {
    _setmode(_fileno(stdout), _O_BINARY);
    return tunebridge::e2e::Run();
}
