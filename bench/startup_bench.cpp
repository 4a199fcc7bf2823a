// Start-up and memory: the time from starting tunebridge.exe to its visible
// main window, and its private bytes once it has settled, beside a running
// player and console; the yardstick is the empty program of the idle
// benchmark (idle_yardstick.exe: a window and the five timers), started and
// measured the same way, in turns with the program.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "harness/keyboard.h"
#include "harness/peers.h"
#include "harness/process.h"
#include "harness/product.h"
#include "harness/wait.h"
#include "process_memory.h"

namespace tunebridge::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kStarts = 10;
constexpr std::chrono::milliseconds kSettle = 2s;

struct Starts {
    const char* name;
    std::vector<double> startMs;
    std::vector<double> privateKiB;
    const char* memorySource = "";
};

double MillisecondsNow() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// One start: from CreateProcess to the visible window titled `title`, then
// the private bytes after kSettle, then closed.
bool StartOnce(Starts& starts, const fs::path& exe, const fs::path& folder, const std::string& title) {
    ChildProcess process;
    const double before = MillisecondsNow();
    if (!process.Start(exe, {}, folder, SW_SHOWNOACTIVATE)) return false;
    HWND window = nullptr;
    const bool shown = WaitUntil(
        [&] {
            window = process.FindOwnWindow("", title);
            return window != nullptr;
        },
        kProductDeadline);
    const double after = MillisecondsNow();
    if (!shown) {
        std::printf("%s: no window \"%s\"\n", starts.name, title.c_str());
        return false;
    }
    WaitUntil([] { return false; }, kSettle);
    starts.startMs.push_back(after - before);
    starts.privateKiB.push_back(static_cast<double>(PrivateBytes(process.Handle(), process.Pid(), &starts.memorySource)) /
                                1024.0);
    process.Close(kProductDeadline);
    return true;
}

void Print(const Starts& starts) {
    std::printf("  %-28s start to window: median %7.1f ms (min %7.1f, max %7.1f); private bytes: median %8.0f KiB\n",
                starts.name, Percentile(starts.startMs, 0.5), Percentile(starts.startMs, 0.0),
                Percentile(starts.startMs, 1.0), Percentile(starts.privateKiB, 0.5));
}

int Run() {
    const fs::path folder = TempDir("startup-bench");
    ParkPointerAwayFromWindows();
    PlayerPeer player;
    ConsolePeer console;
    const PlayerPeer::Options playing{.titles = {"Artist One - First Song"}};
    if (!Started("player", player.Start(folder, playing)) || !Started("console", console.Start(folder))) return 1;
    const fs::path productFolder = folder / "product";
    const fs::path product = StageProduct(productFolder);
    Starts program{"tunebridge.exe", {}, {}};
    Starts empty{"empty program (five timers)", {}, {}};
    for (int start = 0; start < kStarts; ++start) {
        if (!StartOnce(program, product, productFolder, kMainWindowCaption)) return 1;
        if (!StartOnce(empty, BinDir() / "idle_yardstick.exe", folder, "Yardstick.")) return 1;
    }
    console.Close();
    player.Close();

    std::printf("%d starts each, beside a running player and console; private bytes %lld s after the window showed "
                "(%s):\n",
                kStarts, static_cast<long long>(kSettle.count() / 1000), program.memorySource);
    Print(program);
    Print(empty);
    const double programMs = Percentile(program.startMs, 0.5);
    const double emptyMs = Percentile(empty.startMs, 0.5);
    const double programKiB = Percentile(program.privateKiB, 0.5);
    const double emptyKiB = Percentile(empty.privateKiB, 0.5);
    Figure("startup_program_ms", programMs, "%.0f");
    Figure("startup_empty_ms", emptyMs, "%.0f");
    Figure("startup_ratio", programMs / emptyMs);
    Figure("private_program_kib", programKiB, "%.0f");
    Figure("private_empty_kib", emptyKiB, "%.0f");
    Figure("private_ratio", programKiB / emptyKiB);
    std::printf("FIGURE memory_source %s\n", program.memorySource);
    return 0;
}

}  // namespace
}  // namespace tunebridge::e2e

int main() { return tunebridge::e2e::Run(); }
