#pragma once

#include <windows.h>

#include <cstdint>

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
