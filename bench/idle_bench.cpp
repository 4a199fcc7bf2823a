// What the program costs while nothing happens: its CPU time beside a paused
// player and a console that prints nothing, against yardsticks run beside it
// at the same time (idle_yardstick.exe): an empty program with the same five
// timers; a bare program making only the calls the design requires at the
// same rates; and that bare program holding the DirectSound object the design
// keeps too. All of them run at once and are measured over the same seconds,
// so the load of the shared machine falls on each alike.
#include <windows.h>

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

constexpr std::chrono::milliseconds kSettle = 5s;
constexpr int kWindows = 4;
constexpr std::chrono::milliseconds kWindow = 15s;

// F5 to F11 on the seven hotkeys, as the bare yardstick queries them.
constexpr char kIni[] =
    "[Keys]\r\nKey0=116\r\nKey1=117\r\nKey2=118\r\nKey3=119\r\nKey4=120\r\nKey5=121\r\nKey6=122\r\n"
    "[SKeys]\r\nKey0=0\r\nKey1=0\r\nKey2=0\r\nKey3=0\r\nKey4=0\r\nKey5=0\r\nKey6=0\r\n"
    "[CKeys]\r\nKey0=0\r\nKey1=0\r\nKey2=0\r\nKey3=0\r\nKey4=0\r\nKey5=0\r\nKey6=0\r\n"
    "[AKeys]\r\nKey0=0\r\nKey1=0\r\nKey2=0\r\nKey3=0\r\nKey4=0\r\nKey5=0\r\nKey6=0\r\n";

struct Subject {
    const char* name;
    const char* figure;
    std::vector<std::string> arguments;
    fs::path exe;  // a copy of its own, so that its process can be told apart
    ChildProcess process;
    double cpuMs = 0;
    std::vector<double> shares;  // per window, % of one core
    std::int64_t switches = 0;   // context switches over all windows; stays 0 without /proc
};

bool Start(Subject& subject, const std::string& title) {
    if (!subject.process.Start(subject.exe, subject.arguments, subject.exe.parent_path(), SW_SHOWNOACTIVATE) ||
        !WaitUntil([&] { return subject.process.FindOwnWindow("", title) != nullptr; }, kProductDeadline)) {
        std::printf("%s: no window \"%s\"\n", subject.name, title.c_str());
        return false;
    }
    return true;
}

fs::path CopyOf(const fs::path& exe, const fs::path& folder) {
    fs::create_directories(folder);
    fs::copy_file(exe, folder / exe.filename(), fs::copy_options::overwrite_existing);
    return folder / exe.filename();
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

    const fs::path yardstick = BinDir() / "idle_yardstick.exe";
    std::array<Subject, 4> subjects = {{
        {"tunebridge.exe", "program", {}, StageProduct(folder / "product", kIni), {}, 0, {}},
        {"empty program, the five timers", "empty", {}, CopyOf(yardstick, folder / "empty"), {}, 0, {}},
        {"bare program, the designed calls", "calls", {"--calls"}, CopyOf(yardstick, folder / "calls"), {}, 0, {}},
        {"the same with DirectSound", "sound", {"--calls", "--directsound"}, CopyOf(yardstick, folder / "sound"), {},
         0, {}},
    }};
    for (Subject& subject : subjects) {
        if (!Start(subject, &subject == &subjects[0] ? kMainWindowCaption : "Yardstick.")) return 1;
    }
    WaitUntil([] { return false; }, kSettle);

    std::printf("Idle CPU beside a paused player and an idle console, all programs at once, %d windows of %lld s:\n",
                kWindows, static_cast<long long>(kWindow.count() / 1000));
    for (int window = 0; window < kWindows; ++window) {
        std::array<std::int64_t, subjects.size()> before{};
        std::array<std::int64_t, subjects.size()> switchesBefore{};
        for (std::size_t n = 0; n < subjects.size(); ++n) {
            before[n] = CpuTime100ns(subjects[n].process.Handle(), subjects[n].exe);
            switchesBefore[n] = UnixContextSwitches(subjects[n].exe);
        }
        const ULONGLONG start = GetTickCount64();
        WaitUntil([] { return false; }, kWindow);
        const double wallMs = static_cast<double>(GetTickCount64() - start);
        std::printf("  window %d:", window + 1);
        for (std::size_t n = 0; n < subjects.size(); ++n) {
            const std::int64_t after = CpuTime100ns(subjects[n].process.Handle(), subjects[n].exe);
            if (before[n] < 0 || after < 0) {
                std::printf("\n%s: its CPU time cannot be read\n", subjects[n].name);
                return 1;
            }
            if (switchesBefore[n] >= 0) subjects[n].switches += UnixContextSwitches(subjects[n].exe) - switchesBefore[n];
            const double cpuMs = static_cast<double>(after - before[n]) / 10000.0;
            subjects[n].cpuMs += cpuMs;
            subjects[n].shares.push_back(100.0 * cpuMs / wallMs);
            std::printf("  %s %.2f %%", subjects[n].figure, subjects[n].shares.back());
        }
        std::printf("\n");
    }
    for (Subject& subject : subjects) subject.process.Close(kProductDeadline);
    console.Close();
    player.Close();

    const double totalMs = kWindows * static_cast<double>(kWindow.count());
    std::printf("over all windows (%% of one core):\n");
    for (const Subject& subject : subjects) {
        const double share = 100.0 * subject.cpuMs / totalMs;
        std::printf("  %-34s %5.2f %% (windows %.2f to %.2f), Tunebridge against it %.2f\n", subject.name, share,
                    Percentile(subject.shares, 0.0), Percentile(subject.shares, 1.0), subjects[0].cpuMs / subject.cpuMs);
        const std::string key = std::string("idle_") + subject.figure;
        Figure(key.c_str(), share);
        Figure((key + "_min").c_str(), Percentile(subject.shares, 0.0));
        Figure((key + "_max").c_str(), Percentile(subject.shares, 1.0));
        Figure((key + "_ratio").c_str(), subjects[0].cpuMs / subject.cpuMs);
        // Round trips to the window server, which the load of the machine does not change.
        const double perSecond = static_cast<double>(subject.switches) * 1000.0 / totalMs;
        std::printf("  %-34s %6.0f context switches a second, Tunebridge against it %.2f\n", "", perSecond,
                    static_cast<double>(subjects[0].switches) / static_cast<double>(subject.switches));
        Figure((key + "_switches").c_str(), perSecond, "%.0f");
        Figure((key + "_switches_ratio").c_str(),
               static_cast<double>(subjects[0].switches) / static_cast<double>(subject.switches));
    }
    Figure("idle_seconds", totalMs / 1000.0, "%.0f");
    return 0;
}

}  // namespace
}  // namespace tunebridge::e2e

int main() { return tunebridge::e2e::Run(); }
