// The soak run: the real exe for many minutes beside a console that prints a
// line every 20 ms, a player that moves to the next track every 5 seconds and
// is asked for its playlist every 30 seconds, and the sensor program.
//
// Every few seconds it samples the program from outside: handles, GDI and
// USER objects, its windows, private bytes and CPU time. At the end it counts,
// from the peers' logs, the track changes against the track lines announcing
// them, the playlists listed and the sensor lines, and writes the figures to
// the report file given (docs/reliability.md) as well as to stdout.
//
// Usage: soak_monitor.exe [MINUTES] [REPORT]
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "harness/peers.h"
#include "harness/process.h"
#include "harness/product.h"
#include "harness/wait.h"
#include "process_memory.h"
#include "process_times.h"

namespace tunebridge::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kDefaultMinutes = 10;
constexpr std::chrono::seconds kSamplePeriod{5};
constexpr std::chrono::seconds kWarmUp{60};
constexpr std::chrono::seconds kMarkerPeriod{30};
// The first marker falls inside the warm-up, so the first listing's
// allocations count as start-up, not as growth.
constexpr std::chrono::seconds kFirstMarker{15};
constexpr std::chrono::seconds kAnnounceDeadline{5};
constexpr int kChatterMs = 20;
constexpr int kAdvanceMs = 5000;
constexpr int kSensorPeriodSeconds = 10;
constexpr char kMarker[] = "Winamp:Playlist";
constexpr std::array<const char*, 8> kTitles = {
    "Artist One - First Song",   "Artist Two - Second Song", "Artist Three - Third Song",
    "Artist Four - Fourth Song", "Artist Five - Fifth Song", "Artist Six - Sixth Song",
    "Artist Seven - Seventh Song", "Artist Eight - Eighth Song"};

// Peers started with the soak options, which the test harness does not give.
class SoakPeer : public PeerProgram {
public:
    ::testing::AssertionResult StartConsole(const fs::path& folder) {
        const fs::path log = folder / "console.log";
        return Launch("fake_console.exe",
                      {"--title", "Quake 3 Console", "--log", log.string(), "--chatter-ms", std::to_string(kChatterMs)},
                      folder, log, "Q3 WinConsole", "Quake 3 Console", true);
    }
    ::testing::AssertionResult StartPlayer(const fs::path& folder) {
        const fs::path playlist = folder / "playlist.txt";
        std::ofstream file(playlist, std::ios::binary);
        for (const char* title : kTitles) file << title << "\n";
        file.close();
        const fs::path log = folder / "player.log";
        return Launch("fake_winamp.exe",
                      {"--playlist", playlist.string(), "--log", log.string(), "--clock", "--advance-ms",
                       std::to_string(kAdvanceMs)},
                      folder, log, "Winamp v1.x", "");
    }
};

struct Sample {
    double seconds = 0;
    DWORD handles = 0;
    const char* handleSource = "GetProcessHandleCount";
    const char* memorySource = "PrivateUsage";
    std::optional<DWORD> gdiObjects;
    std::optional<DWORD> userObjects;
    int windows = 0;
    std::uint64_t privateBytes = 0;
    std::int64_t cpu100ns = 0;
    std::optional<double> load;
};

// Wine answers GetGuiResources with 0 and "not implemented": nothing then,
// rather than a zero that would look like a measurement.
std::optional<DWORD> GuiObjects(HANDLE process, DWORD kind) {
    SetLastError(0);
    const DWORD count = GetGuiResources(process, kind);
    if (count == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) return std::nullopt;
    return count;
}

struct WindowCount {
    DWORD pid = 0;
    int count = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM parameter) {
    ++reinterpret_cast<WindowCount*>(parameter)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM parameter) {
    auto& windows = *reinterpret_cast<WindowCount*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != windows.pid) return TRUE;
    ++windows.count;
    EnumChildWindows(window, CountChild, parameter);
    return TRUE;
}

// The program's windows, top-level and children: the USER objects that Wine
// lets one count from outside.
int WindowsOf(DWORD pid) {
    WindowCount windows{pid, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    return windows.count;
}

// The Linux load average under Wine (the machine is shared); nothing on Windows.
std::optional<double> LoadAverage() {
    std::ifstream file("Z:\\proc\\loadavg");
    double load = 0;
    if (file >> load) return load;
    return std::nullopt;
}

Sample Take(ChildProcess& product, const std::filesystem::path& exe, double seconds) {
    Sample sample;
    sample.seconds = seconds;
    GetProcessHandleCount(product.Handle(), &sample.handles);
    const auto listed = FromProcessList(product.Pid());
    if (sample.handles == 0 && listed) {
        sample.handles = listed->handles;
        sample.handleSource = "the system's process list";
    }
    sample.gdiObjects = GuiObjects(product.Handle(), GR_GDIOBJECTS);
    sample.userObjects = GuiObjects(product.Handle(), GR_USEROBJECTS);
    sample.windows = WindowsOf(product.Pid());
    sample.privateBytes = PrivateBytes(product.Handle(), product.Pid(), &sample.memorySource);
    sample.cpu100ns = CpuTime100ns(product.Handle(), exe);
    sample.load = LoadAverage();
    return sample;
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// What the peers' logs tell about the run.
struct Counts {
    std::vector<int> changes;      // the entry (1-based) the player moved to, in order
    std::vector<int> trackLines;   // the entry number of every track line, in order
    int announced = 0;             // changes followed by their own track line
    int missed = 0;                // changes whose track line never came
    int extra = 0;                 // track lines that announced no change
    int markers = 0;
    int playlists = 0;             // listings (their first entry's line)
    int playlistLines = 0;
    int sensorLines = 0;
    int chatterLines = 0;
    int wipes = 0;
    int typed = 0;
};

// The entry number after "Winamp : " of a track line.
int EntryOf(const std::string& line) {
    std::istringstream rest(line.substr(std::string("Winamp : ").size()));
    int entry = 0;
    rest >> entry;
    return entry;
}

Counts Count(const PeerProgram& console, const PeerProgram& player) {
    Counts counts;
    for (const std::string& record : player.Log()) {
        if (StartsWith(record, "ADVANCE ")) counts.changes.push_back(std::stoi(record.substr(8)) + 1);
    }
    for (const std::string& record : console.Log()) {
        if (record == "WIPE") ++counts.wipes;
        if (StartsWith(record, "TYPED ")) ++counts.typed;
        if (!StartsWith(record, "OUT ")) continue;
        const std::string line = record.substr(4);
        if (StartsWith(line, "Winamp : ")) counts.trackLines.push_back(EntryOf(line));
        if (line == kMarker) ++counts.markers;
        if (StartsWith(line, "Playlist : ")) ++counts.playlistLines;
        if (StartsWith(line, "Playlist : 1. ")) ++counts.playlists;
        if (StartsWith(line, "MBMonitor : ")) ++counts.sensorLines;
        if (StartsWith(line, "chatter ")) ++counts.chatterLines;
    }
    // The first track line announces the entry playing at start; every later
    // one should announce the next change. A line that skips ahead to the
    // change after means a change went unannounced.
    std::size_t change = 0;
    for (std::size_t line = 1; line < counts.trackLines.size(); ++line) {
        const int entry = counts.trackLines[line];
        if (change < counts.changes.size() && entry == counts.changes[change]) {
            ++counts.announced;
            ++change;
        } else if (change + 1 < counts.changes.size() && entry == counts.changes[change + 1]) {
            ++counts.missed;
            ++counts.announced;
            change += 2;
        } else {
            ++counts.extra;
        }
    }
    // Changes in the last moments may not be announced before the end.
    counts.missed += static_cast<int>(counts.changes.size() - change);
    return counts;
}

std::string Text(const std::optional<DWORD>& value) {
    return value ? std::to_string(*value) : "n/a";
}

std::string Growth(long long from, long long to) {
    const long long delta = to - from;
    return (delta > 0 ? "+" : "") + std::to_string(delta);
}

std::string Growth(const std::optional<DWORD>& from, const std::optional<DWORD>& to) {
    if (!from || !to) return "n/a";
    return Growth(static_cast<long long>(*from), static_cast<long long>(*to));
}

std::string Format(const char* format, double value) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, value);
    return text.data();
}

std::string WineVersion() {
    using Version = const char*(CDECL*)();
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    // Through void*: FARPROC and the real signature differ.
    const auto version =
        ntdll ? reinterpret_cast<Version>(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))
              : nullptr;
    return version ? std::string("Wine ") + version() : "Windows (no Wine)";
}

std::string Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04u-%02u-%02u %02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute);
    return text.data();
}

// The sample closest to `seconds` into the run.
const Sample& At(const std::vector<Sample>& samples, double seconds) {
    return *std::min_element(samples.begin(), samples.end(), [&](const Sample& a, const Sample& b) {
        return std::abs(a.seconds - seconds) < std::abs(b.seconds - seconds);
    });
}

std::string Report(const std::vector<Sample>& samples, const Counts& counts, int minutes) {
    const Sample& start = samples.front();
    const Sample& warm = At(samples, static_cast<double>(kWarmUp.count()));
    const Sample& end = samples.back();
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    double loadSum = 0;
    double loadMax = 0;
    int loads = 0;
    for (const Sample& sample : samples) {
        if (!sample.load) continue;
        loadSum += *sample.load;
        loadMax = std::max(loadMax, *sample.load);
        ++loads;
    }
    const auto share = [](const Sample& from, const Sample& to) {
        return 100.0 * static_cast<double>(to.cpu100ns - from.cpu100ns) / 1e7 / (to.seconds - from.seconds);
    };
    const auto row = [](const std::string& name, const std::string& a, const std::string& b, const std::string& c,
                        const std::string& growth) {
        return "| " + name + " | " + a + " | " + b + " | " + c + " | " + growth + " |\n";
    };
    std::ostringstream out;
    out << "# Reliability: the soak run\n\n"
        << "`scripts/soak.sh [MINUTES]` runs tunebridge.exe under Wine for MINUTES (default 10) beside a\n"
        << "simulated console printing a line every " << kChatterMs << " ms, a simulated Winamp moving to the next\n"
        << "of " << kTitles.size() << " tracks every " << kAdvanceMs / 1000 << " s and asked for its playlist every "
        << kMarkerPeriod.count() << " s (\"" << kMarker << "\" printed\n"
        << "into the console), and the simulated Motherboard Monitor. `bench/soak_monitor.cpp` samples the\n"
        << "program every " << kSamplePeriod.count() << " s from outside and writes this file; the figures below are "
        << "from the last run.\n\n"
        << "- Run: " << Today() << ", " << minutes << " minutes (" << Format("%.0f", end.seconds) << " s sampled)\n"
        << "- Machine: " << system.dwNumberOfProcessors << " cores, " << WineVersion() << "\n";
    if (loads > 0) {
        out << "- Load average (1 min) during the run: mean " << Format("%.2f", loadSum / loads) << ", max "
            << Format("%.2f", loadMax) << " (the cores are shared with other developers' builds and tests)\n";
    }
    out << "\n## Resources of tunebridge.exe\n\n"
        << "| | start | after " << kWarmUp.count() << " s | end | growth after " << kWarmUp.count() << " s |\n"
        << "|---|---|---|---|---|\n"
        << row(std::string("handles (") + end.handleSource + ")", std::to_string(start.handles), std::to_string(warm.handles),
               std::to_string(end.handles), Growth(warm.handles, end.handles))
        << row("GDI objects (GetGuiResources)", Text(start.gdiObjects), Text(warm.gdiObjects), Text(end.gdiObjects),
               Growth(warm.gdiObjects, end.gdiObjects))
        << row("USER objects (GetGuiResources)", Text(start.userObjects), Text(warm.userObjects),
               Text(end.userObjects), Growth(warm.userObjects, end.userObjects))
        << row("windows, top-level and children", std::to_string(start.windows), std::to_string(warm.windows),
               std::to_string(end.windows), Growth(warm.windows, end.windows))
        << row(std::string("private bytes, KiB (") + end.memorySource + ")", std::to_string(start.privateBytes / 1024),
               std::to_string(warm.privateBytes / 1024), std::to_string(end.privateBytes / 1024),
               Growth(static_cast<long long>(warm.privateBytes / 1024), static_cast<long long>(end.privateBytes / 1024)));
    if (std::string(end.handleSource) != "GetProcessHandleCount") {
        out << "\nWine answers GetProcessHandleCount with 0 for another process; the handle count comes from\n"
            << "NtQuerySystemInformation(SystemProcessInformation), which Wine fills from its server.\n";
    }
    if (std::string(end.memorySource) != "PrivateUsage") {
        out << "\nWine answers PrivateUsage with 0 for another process; the private bytes are the PagefileUsage\n"
            << "of NtQuerySystemInformation(SystemProcessInformation), which Wine takes from the Unix process's\n"
            << "anonymous memory, the heap included (it matched RssAnon of /proc/<pid>/status when checked).\n";
    }
    if (!end.gdiObjects || !end.userObjects) {
        out << "\nn/a: Wine does not implement GetGuiResources (it answers 0 with ERROR_CALL_NOT_IMPLEMENTED);\n"
            << "the count of the program's windows stands in for its USER objects.\n";
    }
    out << "\nCPU (Linux's count for the process under Wine, whose GetProcessTimes of another process reports\n"
        << "only part of it): " << Format("%.2f", share(warm, end)) << " % of one core after the first "
        << kWarmUp.count() << " s, " << Format("%.2f", share(start, end)) << " % over the whole run.\n";

    out << "\n## What the peers saw\n\n| | count |\n|---|---|\n"
        << "| track changes made by the player | " << counts.changes.size() << " |\n"
        << "| track lines in the console | " << counts.trackLines.size() << " (the first announces the track "
        << "playing at start) |\n"
        << "| changes announced by their own track line | " << counts.announced << " |\n"
        << "| changes not announced | " << counts.missed << " |\n"
        << "| track lines announcing no change | " << counts.extra << " |\n"
        << "| playlist requests (marker lines printed) | " << counts.markers << " |\n"
        << "| playlists listed | " << counts.playlists << " (" << counts.playlistLines << " lines) |\n"
        << "| playlist requests not answered | " << counts.markers - counts.playlists << " |\n"
        << "| sensor lines | " << counts.sensorLines << " (one every " << kSensorPeriodSeconds << " s would be "
        << static_cast<int>(end.seconds) / kSensorPeriodSeconds << ") |\n"
        << "| console lines of the chatter | " << counts.chatterLines << " |\n"
        << "| console wipes (32 K reached) | " << counts.wipes << " |\n"
        << "| lines typed by Tunebridge | " << counts.typed << " |\n";
    out << "\nA playlist request is seen only while its marker is among the newest 49 characters of the console\n"
        << "at a poller tick: the program reads no more than that of new text, and a console printing a line\n"
        << "every 20 ms often pushes the marker out first; a game's console in play prints far less.\n";

    out << "\n## Samples, one a minute\n\n| s | handles | windows | private KiB | CPU s | load |\n"
        << "|---|---|---|---|---|---|\n";
    double nextMinute = 0;
    for (const Sample& sample : samples) {
        if (sample.seconds + 0.5 < nextMinute && &sample != &samples.back()) continue;
        nextMinute = sample.seconds + 60;
        out << "| " << Format("%.0f", sample.seconds) << " | " << sample.handles << " | " << sample.windows << " | "
            << sample.privateBytes / 1024 << " | " << Format("%.2f", static_cast<double>(sample.cpu100ns) / 1e7)
            << " | " << (sample.load ? Format("%.2f", *sample.load) : "n/a") << " |\n";
    }
    return out.str();
}

void WriteCsv(const fs::path& file, const std::vector<Sample>& samples) {
    std::ofstream out(file, std::ios::binary);
    out << "seconds,handles,gdi,user,windows,private_bytes,cpu_100ns,load\n";
    for (const Sample& sample : samples) {
        out << Format("%.1f", sample.seconds) << "," << sample.handles << "," << Text(sample.gdiObjects) << ","
            << Text(sample.userObjects) << "," << sample.windows << "," << sample.privateBytes << ","
            << sample.cpu100ns << "," << (sample.load ? Format("%.2f", *sample.load) : "") << "\n";
    }
}

int Run(int minutes, const std::optional<std::string>& reportPath) {
    const fs::path folder = TempDir("soak");
    SoakPeer console;
    SoakPeer player;
    SensorPeer sensors;
    Product product;
    if (auto started = console.StartConsole(folder); !started) {
        std::printf("console: %s\n", started.message());
        return 1;
    }
    if (auto started = player.StartPlayer(folder); !started) {
        std::printf("player: %s\n", started.message());
        return 1;
    }
    if (auto started = sensors.Start(folder, {46, 4588, "CPU", "FAN", "5.1.8.0"}); !started) {
        std::printf("sensor program: %s\n", started.message());
        return 1;
    }
    if (auto started = product.Start(folder); !started) {
        std::printf("tunebridge.exe: %s\n", started.message());
        return 1;
    }

    const std::filesystem::path exe = product.IniPath().parent_path() / "tunebridge.exe";
    const auto begin = std::chrono::steady_clock::now();
    const auto length = std::chrono::minutes(minutes);
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    };
    std::vector<Sample> samples{Take(product.Process(), exe, 0)};
    auto nextMarker = begin + kFirstMarker;
    for (auto nextSample = begin + kSamplePeriod; nextSample <= begin + length; nextSample += kSamplePeriod) {
        while (std::chrono::steady_clock::now() < nextSample) {
            const auto until = std::min(nextSample, nextMarker);
            WaitUntil([] { return false; },
                      std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()));
            if (std::chrono::steady_clock::now() >= nextMarker) {
                console.Send(std::string("print ") + kMarker);
                nextMarker += kMarkerPeriod;
            }
        }
        if (!product.Process().IsRunning()) {
            std::printf("tunebridge.exe ended after %.0f s\n", elapsed());
            return 1;
        }
        samples.push_back(Take(product.Process(), exe, elapsed()));
        const Sample& last = samples.back();
        std::printf("%6.0f s: %lu handles, %d windows, %llu KiB private, %.2f s CPU\n", last.seconds, last.handles,
                    last.windows, static_cast<unsigned long long>(last.privateBytes / 1024),
                    static_cast<double>(last.cpu100ns) / 1e7);
        std::fflush(stdout);
    }

    // A change made just before the last sample gets its announcement
    // before the program is closed, rather than counting as not announced.
    WaitUntil([&] { return Count(console, player).missed == 0; }, kAnnounceDeadline);
    if (!product.Close()) std::printf("tunebridge.exe did not end by itself after WM_CLOSE\n");
    sensors.Close();
    player.Close();
    console.Close();

    const std::string report = Report(samples, Count(console, player), minutes);
    WriteCsv(folder / "samples.csv", samples);
    std::printf("\n%s\nEvery sample: %s\n", report.c_str(), (folder / "samples.csv").string().c_str());
    if (reportPath) {
        std::ofstream file(*reportPath, std::ios::binary);
        file << report;
        if (!file) {
            std::printf("cannot write %s\n", reportPath->c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace
}  // namespace tunebridge::e2e

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    int minutes = tunebridge::e2e::kDefaultMinutes;
    if (argc > 1) minutes = std::atoi(argv[1]);
    if (minutes < 2) {
        std::printf("usage: soak_monitor [MINUTES (2 or more)] [REPORT]\n");
        return 2;
    }
    const std::optional<std::string> report = argc > 2 ? std::optional<std::string>(argv[2]) : std::nullopt;
    return tunebridge::e2e::Run(minutes, report);
}
