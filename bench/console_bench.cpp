// Speed of the game console bridge: the program's own ConsoleCommands and
// ConsolePoller on the real desktop, against the simulated "Quake 3 Console"
// in its own process, a game at 85 frames a second that pumps no messages
// while it draws. Prints figures, asserts nothing.
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
#include "harness/wait.h"
#include "platform/desktop_win32.h"

namespace {

using tunebridge::ConsoleCommands;
using tunebridge::ConsolePoller;
using tunebridge::ConsoleReadout;
using tunebridge::Hwnd;
using tunebridge::Win32Desktop;
using tunebridge::e2e::ConsolePeer;

constexpr int kCommands = 500;
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
    int Lookups() const { return findWindow + enumChildWindows + getWindowText; }
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
    std::optional<std::int32_t> SendGetTextLengthTimeout(Hwnd window, unsigned timeoutMs) override {
        ++counts.sendMessage;
        std::optional<std::int32_t> answer;
        counts.sendMessageUs += TimeMicroseconds([&] { answer = Win32Desktop::SendGetTextLengthTimeout(window, timeoutMs); });
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

// The figures of one case, in ms, as "<key>_median_ms" and "<key>_p99_ms",
// and its messages to the console as "<key>_messages".
void Figures(const char* key, const std::vector<double>& microseconds) {
    Figure((std::string(key) + "_median_ms").c_str(), Percentile(microseconds, 0.5) / 1000.0, "%.3f");
    Figure((std::string(key) + "_p99_ms").c_str(), Percentile(microseconds, 0.99) / 1000.0, "%.3f");
}

void Report(const char* name, const char* key, const std::vector<double>& samples, const CallCounts& perOperation) {
    Figures(key, samples);
    Figure((std::string(key) + "_messages").c_str(), perOperation.MessagesToConsole(), "%.0f");
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

// Text printed by the console's control command reaches the pane at its
// next frame: the pane's length is asked (each answer comes between two
// frames) until it has changed.
void WaitForFrame(const ConsolePeer& console, std::int32_t before) {
    while (OutputLength(console) == before) {
    }
}

// The program's console bridge on one counting desktop: counts are reset
// right before the operation they describe.
struct Bridge {
    explicit Bridge(const ConsolePeer& console) : pane(static_cast<Hwnd>(reinterpret_cast<UINT_PTR>(console.Output()))) {}

    CountingDesktop desktop;
    ConsoleCommands commands{desktop};
    ConsolePoller poller{desktop, commands};
    ConsoleReadout readout;
    const Hwnd pane;

    void Tick() { poller.Tick("Winamp", readout, [] {}); }
    CallCounts Counted(const std::function<void()>& work) {
        desktop.counts = {};
        work();
        return desktop.counts;
    }
};

// Empties the pane with the console's own "clear" button (the game's "clear"
// command leaves the pane as it is) and lets the poller start over, as
// after a new console.
void EmptyConsole(const ConsolePeer& console, Bridge& bridge) {
    const HWND button = FindWindowExA(console.Window(), nullptr, "Button", "clear");
    SendMessageA(console.Window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    bridge.poller.ResetOutput();
}

// Lines queued one at a time and typed by TypeNext at the ticks of the
// program's console timer, as the poller calls it at the end of every tick:
// the call that types, the calls that find the last line not yet taken, and
// the time from one typed line to the next.
void BenchTyping(const ConsolePeer& console) {
    Bridge bridge(console);
    const ConsoleTimer timer;
    EmptyConsole(console, bridge);
    std::vector<double> typing;
    std::vector<double> waiting;
    std::vector<double> apart;
    CallCounts perTyping;
    CallCounts perWaiting;
    CallCounts timing;
    LONGLONG lastTyped = 0;
    for (int i = -20; i < kCommands; ++i) {
        if (i % 200 == 0) EmptyConsole(console, bridge);
        bridge.commands.Send("echo bench line " + std::to_string(i));
        for (;;) {
            timer.Wait();
            bridge.desktop.counts = {};
            LARGE_INTEGER start;
            QueryPerformanceCounter(&start);
            const double us = TimeMicroseconds([&] { bridge.commands.TypeNext(bridge.pane); });
            const bool typed = bridge.commands.Waiting() == 0;
            if (i < 0) {
                if (typed) break;
                continue;
            }
            if (!typed) {
                waiting.push_back(us);
                if (perWaiting.MessagesToConsole() == 0) perWaiting = bridge.desktop.counts;
                continue;
            }
            typing.push_back(us);
            if (perTyping.MessagesToConsole() == 0) perTyping = bridge.desktop.counts;
            timing.lookupUs += bridge.desktop.counts.lookupUs;
            timing.captionsUs += bridge.desktop.counts.captionsUs;
            timing.setTextUs += bridge.desktop.counts.setTextUs;
            timing.sendMessageUs += bridge.desktop.counts.sendMessageUs;
            if (lastTyped != 0 && i % 200 != 0) apart.push_back(Microseconds(start.QuadPart - lastTyped));
            lastTyped = start.QuadPart;
            break;
        }
    }
    Report("TypeNext, types a line", "typing", typing, perTyping);
    Report("TypeNext, last line not taken yet", "waiting", waiting, perWaiting);
    const double n = static_cast<double>(typing.size());
    std::printf("%-34s mean per typed line: FindWindowA %.1f us, GetWindowTextA %.1f us, WM_SETTEXT %.1f us, "
                "WM_GETTEXTLENGTH twice and WM_CHAR 13 %.1f us\n",
                "", timing.lookupUs / n, timing.captionsUs / n, timing.setTextUs / n, timing.sendMessageUs / n);
    Figure("typing_lookups", perTyping.Lookups(), "%.0f");
    Figure("typing_char_ms", timing.sendMessageUs / n / 1000.0, "%.2f");

    // How long the game takes a line: from one typed line to the next.
    const auto slow = std::ranges::count_if(apart, [](double us) { return us >= 1000.0 * ConsoleCommands::kTakenMs; });
    std::printf("%-34s n=%5zu  median %9.1f us  p99 %9.1f us  max %9.1f us; %lld at %llu ms or more\n",
                "typed line to the next", apart.size(), Percentile(apart, 0.5), Percentile(apart, 0.99),
                Percentile(apart, 1.0), static_cast<long long>(slow),
                static_cast<unsigned long long>(ConsoleCommands::kTakenMs));
    Figures("apart", apart);
    Figure("apart_waiting", static_cast<double>(waiting.size()) / n, "%.1f");
    Figure("apart_slow", static_cast<double>(slow), "%.0f");
    Figure("apart_lines", static_cast<double>(apart.size()), "%.0f");

    // The yardstick: one bare cross-process SendMessage round trip.
    std::vector<double> roundTrips;
    const HWND input = console.InputLine();
    for (int i = 0; i < kCommands; ++i) {
        roundTrips.push_back(TimeMicroseconds([&] { SendMessageA(input, WM_GETTEXTLENGTH, 0, 0); }));
    }
    std::printf("%-34s n=%5zu  median %9.1f us  p99 %9.1f us\n", "bare SendMessage round trip", roundTrips.size(),
                Percentile(roundTrips, 0.5), Percentile(roundTrips, 0.99));
    Figures("console_round_trip", roundTrips);
    Figure("typing_ratio_median", Percentile(typing, 0.5) / Percentile(roundTrips, 0.5), "%.1f");
    Figure("typing_ratio_p99", Percentile(typing, 0.99) / Percentile(roundTrips, 0.99), "%.1f");
}

void BenchIdleAndNewTextTicks(const ConsolePeer& console) {
    Bridge bridge(console);
    EmptyConsole(console, bridge);
    std::int32_t before = OutputLength(console);
    console.Print("counted line");
    WaitForFrame(console, before);
    const CallCounts perNewTextTick = bridge.Counted([&] { bridge.Tick(); });
    const CallCounts perIdleTick = bridge.Counted([&] { bridge.Tick(); });

    std::vector<double> idle;
    std::vector<double> newText;
    int missed = 0;
    std::int32_t longest = 0;
    for (int i = 0; i < kTicks; ++i) {
        if (i % kTicksPerRound == 0) EmptyConsole(console, bridge);
        const std::string line = "poll line " + std::to_string(i);
        before = OutputLength(console);
        console.Print(line);
        WaitForFrame(console, before);
        newText.push_back(TimeMicroseconds([&] { bridge.Tick(); }));
        if (!bridge.readout.newestText.ends_with(line + "\r\n")) ++missed;
        longest = std::max(longest, OutputLength(console));
        idle.push_back(TimeMicroseconds([&] { bridge.Tick(); }));
    }
    Report("poller tick, no new text", "tick_idle", idle, perIdleTick);
    Report("poller tick, new text", "tick_new", newText, perNewTextTick);
    std::printf("%-34s buffer up to %d characters; ticks that did not show their line: %d\n", "", longest, missed);
}

void BenchNearFullTicks(const ConsolePeer& console) {
    Bridge bridge(console);
    std::vector<double> samples;
    CallCounts perTick;
    std::int32_t shortest = INT32_MAX;
    std::int32_t longest = 0;
    int missed = 0;
    for (int round = 0; round < kNearFullRounds; ++round) {
        EmptyConsole(console, bridge);
        console.Prefill(kNearFullChars);
        bridge.Tick();  // takes in the filler
        for (int i = 0; i < kTicksPerRound; ++i) {
            const std::string line = "n" + std::to_string(i);
            const std::int32_t before = OutputLength(console);
            console.Print(line);
            WaitForFrame(console, before);
            if (round == 0 && i == 0) {
                perTick = bridge.Counted([&] { bridge.Tick(); });
                continue;
            }
            samples.push_back(TimeMicroseconds([&] { bridge.Tick(); }));
            if (!bridge.readout.newestText.ends_with(line + "\r\n")) ++missed;
            shortest = std::min(shortest, OutputLength(console));
            longest = std::max(longest, OutputLength(console));
        }
    }
    Report("poller tick, new text, ~300,000", "tick_near_full", samples, perTick);
    std::printf("%-34s buffer %d..%d characters; ticks that did not show their line: %d\n", "", shortest, longest,
                missed);
}

// At 300,000 characters the tick queues "clear" and types it at its end.
// The game's "clear" leaves the pane, so the button empties it after each.
void BenchClearingTicks(const ConsolePeer& console) {
    Bridge bridge(console);
    EmptyConsole(console, bridge);
    std::vector<double> samples;
    CallCounts perTick;
    int notTyped = 0;
    for (int i = 0; i <= kClearingTicks; ++i) {
        console.Prefill(kOutputLimit);
        if (i == 0) {
            perTick = bridge.Counted([&] { bridge.Tick(); });
        } else {
            samples.push_back(TimeMicroseconds([&] { bridge.Tick(); }));
        }
        if (bridge.commands.Waiting() != 0) ++notTyped;
        EmptyConsole(console, bridge);
    }
    Report("poller tick at 300,000 (clear)", "tick_clear", samples, perTick);
    std::printf("%-34s ticks that did not type \"clear\": %d\n", "", notTyped);
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
    // The hidden window is found as soon as it exists; its pane is made last.
    if (!tunebridge::e2e::WaitUntil([&] { return console.Output() != nullptr; }, tunebridge::e2e::kPeerDeadline)) {
        std::printf("console_bench: the console has no output pane\n");
        return 1;
    }
    std::printf("console_bench: the program's console code against fake_console.exe (pid %lu)\n",
                static_cast<unsigned long>(console.Process().Pid()));
    BenchTyping(console);
    BenchIdleAndNewTextTicks(console);
    BenchNearFullTicks(console);
    BenchClearingTicks(console);
    console.Close();
    return 0;
}
