#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

// CPU time (kernel + user) a process has used, in 100 ns units; -1 when it
// cannot be read.
inline std::int64_t CpuTime100ns(HANDLE process) {
    FILETIME created;
    FILETIME ended;
    FILETIME kernel;
    FILETIME user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return -1;
    const auto value = [](const FILETIME& time) {
        return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    return value(kernel) + value(user);
}

// Under Wine, the /proc folder of the Unix process that runs `exe` (found
// by its command line); nothing on Windows or when no such process runs.
inline std::optional<std::filesystem::path> UnixProcessOf(const std::filesystem::path& exe) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("Z:\\proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream cmdline(entry.path() / "cmdline", std::ios::binary);
        std::string program;
        std::getline(cmdline, program, '\0');
        if (_stricmp(program.c_str(), exe.string().c_str()) == 0) return entry.path();
    }
    return std::nullopt;
}

// Linux's CPU count for the Unix process that runs `exe`, in 100 ns units:
// Wine's GetProcessTimes of another process reports only a fraction of what
// the process uses. -1 when there is no such process (or no /proc).
inline std::int64_t UnixCpuTime100ns(const std::filesystem::path& exe) {
    const auto folder = UnixProcessOf(exe);
    if (!folder) return -1;
    std::ifstream statFile(*folder / "stat");
    const std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    // After the command's closing parenthesis come field 3 (the state) on;
    // utime and stime are fields 14 and 15, in ticks of 10 ms.
    std::istringstream fields(stat.substr(stat.rfind(')') + 1));
    std::string field;
    std::int64_t ticks = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n) {
        if (n >= 14) ticks += std::stoll(field);
    }
    return ticks * 100000;
}

// The context switches of all threads of the Unix process that runs `exe`:
// under Wine one or two for every round trip to the window server. -1 when
// there is no such process (or no /proc).
inline std::int64_t UnixContextSwitches(const std::filesystem::path& exe) {
    const auto folder = UnixProcessOf(exe);
    if (!folder) return -1;
    std::int64_t switches = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(*folder / "task", error)) {
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            const auto colon = line.find(':');
            if (colon != std::string::npos && line.find("ctxt_switches") != std::string::npos)
                switches += std::stoll(line.substr(colon + 1));
        }
    }
    return switches;
}

// The Unix count where there is one, GetProcessTimes elsewhere.
inline std::int64_t CpuTime100ns(HANDLE process, const std::filesystem::path& exe) {
    const std::int64_t unix = UnixCpuTime100ns(exe);
    return unix >= 0 ? unix : CpuTime100ns(process);
}
