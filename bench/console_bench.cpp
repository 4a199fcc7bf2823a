// Speed of the game console bridge: the program's own SendConsoleCommand and
// ConsolePoller on the real desktop, against the simulated "Quake 3 Console"
// in its own process. Prints figures, asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "console/console_commands.h"
#include "console/console_poller.h"
#include "bench_support.h"
#include "harness/peers.h"
#include "platform/desktop_win32.h"

namespace {

using tunebridge::ConsoleCommands;
using tunebridge::ConsolePoller;
using tunebridge::ConsoleReadout;
using tunebridge::Hwnd;
using tunebridge::Win32Desktop;
using tunebridge::e2e::ConsolePeer;

constexpr int kCommands = 1000;
constexpr int kTicks = 1000;
constexpr int kTicksPerRound = 100;  // new-text ticks before the buffer is emptied again
constexpr int kNearFullRounds = 5;
constexpr std::size_t kNearFullChars = 298000;
constexpr int kClearingTicks = 50;
constexpr std::size_t kOutputLimit = 300000;

// The desktop calls one operation makes. GetWindowTextA of another
// program's window asks the window manager for the stored caption; only the
// SendMessage family reaches the console's thread.
struct CallCounts {
    int findWindow = 0;
    int getWindow = 0;
    int enumChildWindows = 0;
    int getWindowText = 0;
    int sendMessage = 0;   // WM_CHAR, WM_GETTEXTLENGTH
    int sendSetText = 0;   // WM_SETTEXT
    int sendGetText = 0;   // WM_GETTEXT
    std::int64_t bytesCopied = 0;
    int doEvents = 0;
    // Time spent inside the calls, in microseconds.
    double lookupUs = 0;      // FindWindowA
    double captionsUs = 0;    // GetWindowTextA
    double setTextUs = 0;     // WM_SETTEXT
    double sendMessageUs = 0; // WM_CHAR, WM_GETTEXTLENGTH

    int MessagesToConsole() const { return sendMessage + sendSetText + sendGetText; }
};

double Microseconds(LONGLONG ticks) {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency);
}

template <typename Work>
double TimeMicroseconds(Work&& work) {
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return Microseconds(end.QuadPart - start.QuadPart);
}

class CountingDesktop : public Win32Desktop {
public:
    CallCounts counts;

    Hwnd FindWindowA(const std::string& className, const std::string& windowName) override {
        ++counts.findWindow;
        Hwnd found = 0;
        counts.lookupUs += TimeMicroseconds([&] { found = Win32Desktop::FindWindowA(className, windowName); });
        return found;
    }
    Hwnd GetWindow(Hwnd window, unsigned relation) override {
        ++counts.getWindow;
        return Win32Desktop::GetWindow(window, relation);
    }
    void EnumChildWindows(Hwnd parent, const std::function<bool(Hwnd)>& callback) override {
        ++counts.enumChildWindows;
        Win32Desktop::EnumChildWindows(parent, callback);
    }
    std::string GetWindowTextA(Hwnd window, int maxCount) override {
        ++counts.getWindowText;
        std::string caption;
        counts.captionsUs += TimeMicroseconds([&] { caption = Win32Desktop::GetWindowTextA(window, maxCount); });
        return caption;
    }
    std::int32_t SendMessageA(Hwnd window, unsigned message, std::uint32_t wParam, std::int32_t lParam) override {
        ++counts.sendMessage;
        std::int32_t answer = 0;
        counts.sendMessageUs += TimeMicroseconds([&] { answer = Win32Desktop::SendMessageA(window, message, wParam, lParam); });
        return answer;
    }
    std::optional<std::int32_t> SendMessageTimeoutA(Hwnd window, unsigned message, std::uint32_t wParam,
                                                    std::int32_t lParam, unsigned timeoutMs) override {
        ++counts.sendMessage;
        std::optional<std::int32_t> answer;
        counts.sendMessageUs += TimeMicroseconds(
            [&] { answer = Win32Desktop::SendMessageTimeoutA(window, message, wParam, lParam, timeoutMs); });
        return answer;
    }
    std::optional<std::int32_t> SendSetTextTimeout(Hwnd window, const std::vector<std::uint8_t>& ansiWithNul,
                                                   unsigned timeoutMs) override {
        ++counts.sendSetText;
        std::optional<std::int32_t> answer;
        counts.setTextUs += TimeMicroseconds([&] { answer = Win32Desktop::SendSetTextTimeout(window, ansiWithNul, timeoutMs); });
        return answer;
    }
    std::optional<std::string> SendGetTextTimeout(Hwnd window, int bufferChars, unsigned timeoutMs) override {
        ++counts.sendGetText;
        counts.bytesCopied += bufferChars;
        return Win32Desktop::SendGetTextTimeout(window, bufferChars, timeoutMs);
    }
    void DoEvents() override {
        ++counts.doEvents;
        Win32Desktop::DoEvents();
    }
};

// The figures of one case, in ms, as "<key>_median_ms" and "<key>_p99_ms".
void Figures(const char* key, const std::vector<double>& microseconds) {
    Figure((std::string(key) + "_median_ms").c_str(), Percentile(microseconds, 0.5) / 1000.0, "%.3f");
    Figure((std::string(key) + "_p99_ms").c_str(), Percentile(microseconds, 0.99) / 1000.0, "%.3f");
}

void Report(const char* name, const char* key, const std::vector<double>& samples, const CallCounts& perOperation) {
    Figures(key, samples);
    double total = 0;
    for (double sample : samples) total += sample;
    std::printf("%-34s n=%5zu  median %9.1f us  p99 %9.1f us  mean %9.1f us  max %9.1f us\n", name, samples.size(),
                Percentile(samples, 0.5), Percentile(samples, 0.99), total / static_cast<double>(samples.size()),
                Percentile(samples, 1.0));
    std::printf("%-34s calls: FindWindowA %d, GetWindow %d, EnumChildWindows %d, GetWindowTextA %d, "
                "DoEvents %d; messages to the console %d (WM_SETTEXT %d, WM_GETTEXT %d, other %d), "
                "bytes copied %lld\n",
                "", perOperation.findWindow, perOperation.getWindow, perOperation.enumChildWindows,
                perOperation.getWindowText, perOperation.doEvents, perOperation.MessagesToConsole(),
                perOperation.sendSetText, perOperation.sendGetText, perOperation.sendMessage,
                static_cast<long long>(perOperation.bytesCopied));
}

std::int32_t OutputLength(const ConsolePeer& console) {
    return static_cast<std::int32_t>(SendMessageA(console.Output(), WM_GETTEXTLENGTH, 0, 0));
}

// The program's console bridge on one counting desktop: counts are reset
// right before the operation they describe.
struct Bridge {
    CountingDesktop desktop;
    ConsoleCommands commands{desktop};
    ConsolePoller poller{desktop, commands};
    ConsoleReadout readout;

    void Tick() { poller.Tick("Winamp", readout, [] {}); }
    CallCounts Counted(const std::function<void()>& work) {
        desktop.counts = {};
        work();
        return desktop.counts;
    }
};

// Empties the console the way the program does and lets the poller start
// over, as after its own "clear".
void EmptyConsole(Bridge& bridge) {
    bridge.commands.Send("clear");
    bridge.poller.ResetOutput();
    bridge.Tick();
}

void BenchSendConsoleCommand(const ConsolePeer& console) {
    Bridge bridge;
    const CallCounts perCommand = bridge.Counted([&] { bridge.commands.Send("echo counted"); });

    std::vector<double> samples;
    for (int i = -20; i < kCommands; ++i) {
        if (i % 200 == 0) EmptyConsole(bridge);
        const std::string command = "echo bench line " + std::to_string(i);
        const double us = TimeMicroseconds([&] { bridge.commands.Send(command); });
        if (i >= 0) samples.push_back(us);
    }
    Report("SendConsoleCommand (echo)", "command", samples, perCommand);

    // Where the time goes: the calls' own times over the same commands.
    bridge.desktop.counts = {};
    for (int i = 0; i < kCommands; ++i) {
        if (i % 200 == 0) {
            const CallCounts kept = bridge.desktop.counts;
            EmptyConsole(bridge);
            bridge.desktop.counts = kept;
        }
        bridge.commands.Send("echo bench line " + std::to_string(i));
    }
    const CallCounts& timing = bridge.desktop.counts;
    const double n = kCommands;
    std::printf("%-34s mean per command: FindWindowA %.1f us, GetWindowTextA x2 %.1f us, WM_SETTEXT %.1f us, "
                "WM_CHAR 13 (the console runs the line) %.1f us\n",
                "", timing.lookupUs / n, timing.captionsUs / n, timing.setTextUs / n, timing.sendMessageUs / n);

    // The yardstick: one bare cross-process SendMessage round trip.
    std::vector<double> roundTrips;
    const HWND input = console.InputLine();
    for (int i = 0; i < kCommands; ++i) {
        roundTrips.push_back(TimeMicroseconds([&] { SendMessageA(input, WM_GETTEXTLENGTH, 0, 0); }));
    }
    std::printf("%-34s n=%5zu  median %9.1f us  p99 %9.1f us\n", "bare SendMessage round trip", roundTrips.size(),
                Percentile(roundTrips, 0.5), Percentile(roundTrips, 0.99));
    Figures("console_round_trip", roundTrips);
    Figure("command_ratio_median", Percentile(samples, 0.5) / Percentile(roundTrips, 0.5), "%.1f");
    Figure("command_ratio_p99", Percentile(samples, 0.99) / Percentile(roundTrips, 0.99), "%.1f");
    Figure("command_wm_char_ms", timing.sendMessageUs / n / 1000.0, "%.2f");
}

void BenchIdleAndNewTextTicks(const ConsolePeer& console) {
    Bridge bridge;
    EmptyConsole(bridge);
    console.Print("counted line");
    const CallCounts perNewTextTick = bridge.Counted([&] { bridge.Tick(); });
    const CallCounts perIdleTick = bridge.Counted([&] { bridge.Tick(); });

    std::vector<double> idle;
    std::vector<double> newText;
    int missed = 0;
    std::int32_t longest = 0;
    for (int i = 0; i < kTicks; ++i) {
        if (i % kTicksPerRound == 0) EmptyConsole(bridge);
        const std::string line = "poll line " + std::to_string(i);
        console.Print(line);
        newText.push_back(TimeMicroseconds([&] { bridge.Tick(); }));
        if (bridge.readout.newestText != line + "\r\n") ++missed;
        longest = std::max(longest, OutputLength(console));
        idle.push_back(TimeMicroseconds([&] { bridge.Tick(); }));
    }
    Report("poller tick, no new text", "tick_idle", idle, perIdleTick);
    Report("poller tick, new text", "tick_new", newText, perNewTextTick);
    std::printf("%-34s buffer up to %d characters; ticks that did not show their line: %d\n", "", longest, missed);
}

void BenchNearFullTicks(const ConsolePeer& console) {
    Bridge bridge;
    std::vector<double> samples;
    CallCounts perTick;
    std::int32_t shortest = INT32_MAX;
    std::int32_t longest = 0;
    int missed = 0;
    for (int round = 0; round < kNearFullRounds; ++round) {
        EmptyConsole(bridge);
        console.Prefill(kNearFullChars);
        bridge.Tick();  // takes in the filler
        for (int i = 0; i < kTicksPerRound; ++i) {
            const std::string line = "n" + std::to_string(i);
            console.Print(line);
            if (round == 0 && i == 0) {
                perTick = bridge.Counted([&] { bridge.Tick(); });
                continue;
            }
            samples.push_back(TimeMicroseconds([&] { bridge.Tick(); }));
            if (bridge.readout.newestText != line + "\r\n") ++missed;
            shortest = std::min(shortest, OutputLength(console));
            longest = std::max(longest, OutputLength(console));
        }
    }
    Report("poller tick, new text, ~300,000", "tick_near_full", samples, perTick);
    std::printf("%-34s buffer %d..%d characters; ticks that did not show their line: %d\n", "", shortest, longest,
                missed);
}

void BenchClearingTicks(const ConsolePeer& console) {
    Bridge bridge;
    EmptyConsole(bridge);
    std::vector<double> samples;
    CallCounts perTick;
    int notCleared = 0;
    for (int i = 0; i <= kClearingTicks; ++i) {
        console.Prefill(kOutputLimit);
        if (i == 0) {
            perTick = bridge.Counted([&] { bridge.Tick(); });
            continue;
        }
        samples.push_back(TimeMicroseconds([&] { bridge.Tick(); }));
        if (OutputLength(console) != 0) ++notCleared;
    }
    Report("poller tick at 300,000 (clear)", "tick_clear", samples, perTick);
    std::printf("%-34s ticks that left the buffer full: %d\n", "", notCleared);
}

}  // namespace

int main() {
    ConsolePeer console;
    // The near-full and clearing ticks need a console that keeps 300,000 characters.
    const auto started =
        console.Start(tunebridge::e2e::TempDir("console_bench"), {.title = "Quake 3 Console", .wipe = false});
    if (!started) {
        std::printf("console_bench: %s\n", started.message());
        return 1;
    }
    std::printf("console_bench: the program's console code against fake_console.exe (pid %lu)\n",
                static_cast<unsigned long>(console.Process().Pid()));
    BenchSendConsoleCommand(console);
    BenchIdleAndNewTextTicks(console);
    BenchNearFullTicks(console);
    BenchClearingTicks(console);
    console.Close();
    return 0;
}
