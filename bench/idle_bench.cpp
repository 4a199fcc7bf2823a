// What the program costs while nothing happens: its CPU time beside a paused
// player and a console that prints nothing, against two yardsticks run the
// same way (idle_yardstick.exe): an empty program with the same five timers,
// and a bare program making only the calls the design requires at the same
// rates. The three take turns, a few rounds each, so that the load of the
// machine falls on all of them alike.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <array>
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
#include "process_times.h"

namespace tunebridge::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 3;
constexpr std::chrono::milliseconds kSettle = 3s;
constexpr std::chrono::milliseconds kMeasured = 15s;

// F5 to F11 on the seven hotkeys, as the bare yardstick queries them.
constexpr char kIni[] =
    "[Keys]\r\nKey0=116\r\nKey1=117\r\nKey2=118\r\nKey3=119\r\nKey4=120\r\nKey5=121\r\nKey6=122\r\n"
    "[SKeys]\r\nKey0=0\r\nKey1=0\r\nKey2=0\r\nKey3=0\r\nKey4=0\r\nKey5=0\r\nKey6=0\r\n"
    "[CKeys]\r\nKey0=0\r\nKey1=0\r\nKey2=0\r\nKey3=0\r\nKey4=0\r\nKey5=0\r\nKey6=0\r\n"
    "[AKeys]\r\nKey0=0\r\nKey1=0\r\nKey2=0\r\nKey3=0\r\nKey4=0\r\nKey5=0\r\nKey6=0\r\n";

enum class Kind { Program, EmptyTimers, BareCalls };

struct Subject {
    Kind kind;
    const char* name;
    const char* figure;
    double cpuMs = 0;
    double wallMs = 0;
    std::vector<double> shares;  // per round, % of one core
};

std::int64_t MillisecondsNow() { return static_cast<std::int64_t>(GetTickCount64()); }

// Starts one subject, lets it settle, and adds its CPU time over kMeasured.
bool MeasureOnce(Subject& subject, const fs::path& folder, const fs::path& product) {
    ChildProcess process;
    std::string title = "Yardstick.";
    bool started = false;
    if (subject.kind == Kind::Program) {
        title = kMainWindowCaption;
        started = process.Start(product, {}, product.parent_path(), SW_SHOWNOACTIVATE);
    } else {
        std::vector<std::string> arguments;
        if (subject.kind == Kind::BareCalls) arguments.push_back("--calls");
        started = process.Start(BinDir() / "idle_yardstick.exe", arguments, folder, SW_SHOWNOACTIVATE);
    }
    HWND window = nullptr;
    if (!started || !WaitUntil(
                        [&] {
                            window = process.FindOwnWindow("", title);
                            return window != nullptr;
                        },
                        kProductDeadline)) {
        std::printf("%s: no window \"%s\"\n", subject.name, title.c_str());
        return false;
    }
    WaitUntil([] { return false; }, kSettle);
    const fs::path exe = subject.kind == Kind::Program ? product : BinDir() / "idle_yardstick.exe";
    const std::int64_t cpuBefore = CpuTime100ns(process.Handle(), exe);
    const std::int64_t wallBefore = MillisecondsNow();
    WaitUntil([] { return false; }, kMeasured);
    const std::int64_t cpuAfter = CpuTime100ns(process.Handle(), exe);
    const std::int64_t wallAfter = MillisecondsNow();
    process.Close(kProductDeadline);
    if (cpuBefore < 0 || cpuAfter < 0) {
        std::printf("%s: its CPU time cannot be read\n", subject.name);
        return false;
    }
    const double cpuMs = static_cast<double>(cpuAfter - cpuBefore) / 10000.0;
    const double wallMs = static_cast<double>(wallAfter - wallBefore);
    subject.cpuMs += cpuMs;
    subject.wallMs += wallMs;
    subject.shares.push_back(100.0 * cpuMs / wallMs);
    std::printf("  %-44s %7.1f ms of CPU in %5.1f s: %5.2f %% of one core\n", subject.name, cpuMs, wallMs / 1000.0,
                subject.shares.back());
    return true;
}

int Run() {
    const fs::path folder = TempDir("idle-bench");
    ParkPointerAwayFromWindows();
    PlayerPeer player;
    ConsolePeer console;
    const PlayerPeer::Options paused{.titles = {"Artist One - First Song", "Artist Two - Second Song"},
                                     .positionMs = 61500,
                                     .state = peers::PlayerState::paused};
    if (!Started("player", player.Start(folder, paused)) || !Started("console", console.Start(folder))) return 1;

    const fs::path product = StageProduct(folder / "product", kIni);
    std::array<Subject, 3> subjects = {{
        {Kind::Program, "tunebridge.exe", "program", 0, 0, {}},
        {Kind::EmptyTimers, "empty program, the same five timers", "empty", 0, 0, {}},
        {Kind::BareCalls, "bare program, only the designed calls", "calls", 0, 0, {}},
    }};
    std::printf("Idle CPU beside a paused player and an idle console, %d rounds of %lld s each:\n", kRounds,
                static_cast<long long>(kMeasured.count() / 1000));
    for (int round = 0; round < kRounds; ++round) {
        std::printf("round %d\n", round + 1);
        // Each round starts with another subject, so none always runs first.
        for (std::size_t turn = 0; turn < subjects.size(); ++turn) {
            if (!MeasureOnce(subjects[(turn + static_cast<std::size_t>(round)) % subjects.size()], folder, product)) return 1;
        }
    }
    console.Close();
    player.Close();

    std::printf("over all rounds:\n");
    for (const Subject& subject : subjects) {
        const double share = 100.0 * subject.cpuMs / subject.wallMs;
        std::printf("  %-44s %5.2f %% of one core (rounds %.2f to %.2f)\n", subject.name, share,
                    Percentile(subject.shares, 0.0), Percentile(subject.shares, 1.0));
        const std::string key = std::string("idle_") + subject.figure;
        Figure(key.c_str(), share);
        Figure((key + "_min").c_str(), Percentile(subject.shares, 0.0));
        Figure((key + "_max").c_str(), Percentile(subject.shares, 1.0));
    }
    const double program = subjects[0].cpuMs / subjects[0].wallMs;
    Figure("idle_ratio_empty", program / (subjects[1].cpuMs / subjects[1].wallMs));
    Figure("idle_ratio_calls", program / (subjects[2].cpuMs / subjects[2].wallMs));
    Figure("idle_seconds", kRounds * static_cast<double>(kMeasured.count()) / 1000.0, "%.0f");
    return 0;
}

}  // namespace
}  // namespace tunebridge::e2e

int main() {
    _setmode(_fileno(stdout), _O_BINARY);
    return tunebridge::e2e::Run();
}
