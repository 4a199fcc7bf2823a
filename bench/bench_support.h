// What the benchmark programs share. Besides their own lines they print one
// "FIGURE <key> <value>" line per figure of docs/benchmarks.md, which
// scripts/bench.sh puts into the report's template in place of @<key>@.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

inline void Figure(const char* key, double value, const char* format = "%.2f") {
    std::printf("FIGURE %s ", key);
    std::printf(format, value);
    std::printf("\n");
}

// The value at `share` (0 to 1) of the sorted samples, nearest rank.
inline double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// True when a peer started; otherwise says why.
inline bool Started(const char* what, const ::testing::AssertionResult& result) {
    if (!result) std::printf("%s: %s\n", what, result.message());
    return static_cast<bool>(result);
}

// The program's console timer as it asks for it, every millisecond, on this
// thread (Wine ticks it every 10 ms at best). Wait() returns at its next tick.
class ConsoleTimer {
public:
    ConsoleTimer() {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
        id_ = SetTimer(nullptr, 0, 1, nullptr);
    }
    ~ConsoleTimer() { KillTimer(nullptr, id_); }
    ConsoleTimer(const ConsoleTimer&) = delete;
    ConsoleTimer& operator=(const ConsoleTimer&) = delete;

    void Wait() const {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (message.message == WM_TIMER && message.wParam == id_) return;
            DispatchMessageA(&message);
        }
    }

private:
    UINT_PTR id_ = 0;
};
