#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// Under Wine, Linux's count for the Unix process that runs `exe` (found by
// its command line in /proc), in 100 ns units: Wine's GetProcessTimes of
// another process reports only a fraction of what the process uses. -1 when
// there is no /proc (Windows) or no such process.
inline std::int64_t UnixCpuTime100ns(const std::filesystem::path& exe) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("Z:\\proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream cmdline(entry.path() / "cmdline", std::ios::binary);
        std::string program;
        std::getline(cmdline, program, '\0');
        if (_stricmp(program.c_str(), exe.string().c_str()) != 0) continue;
        std::ifstream statFile(entry.path() / "stat");
        const std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
        // After the command's closing parenthesis come field 3 (the state)
        // on; utime and stime are fields 14 and 15, in ticks of 10 ms.
        std::istringstream fields(stat.substr(stat.rfind(')') + 1));
        std::string field;
        std::int64_t ticks = 0;
        for (int n = 3; n <= 15 && fields >> field; ++n) {
            if (n >= 14) ticks += std::stoll(field);
        }
        return ticks * 100000;
    }
    return -1;
}

// The Unix count where there is one, GetProcessTimes elsewhere.
inline std::int64_t CpuTime100ns(HANDLE process, const std::filesystem::path& exe) {
    const std::int64_t unix = UnixCpuTime100ns(exe);
    return unix >= 0 ? unix : CpuTime100ns(process);
}
