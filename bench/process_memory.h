#pragma once

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

// The process's entry in the system's process list: its handle count and its
// page-file (private) bytes. Wine fills these from the server's handle table
// and the Unix process's anonymous memory where the per-process calls give 0.
struct ListedProcess {
    ULONG handles = 0;
    SIZE_T pagefileBytes = 0;
};

inline std::optional<ListedProcess> FromProcessList(DWORD pid) {
    std::vector<std::uint8_t> buffer(1 << 16);
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &needed)) ==
           static_cast<NTSTATUS>(0xC0000004L)) {  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
    }
    if (status != 0) return std::nullopt;
    for (std::size_t offset = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
        if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == pid) {
            return ListedProcess{entry->HandleCount, entry->VirtualMemoryCounters.PagefileUsage};
        }
        if (entry->NextEntryOffset == 0) return std::nullopt;
        offset += entry->NextEntryOffset;
    }
}

// Private bytes of a process: PrivateUsage where the system gives it, the
// process list's page-file bytes where it answers 0 (Wine, for another
// process); 0 when neither can be read.
inline std::uint64_t PrivateBytes(HANDLE process, DWORD pid, const char** source = nullptr) {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory) &&
        memory.PrivateUsage != 0) {
        if (source) *source = "PrivateUsage";
        return memory.PrivateUsage;
    }
    if (source) *source = "PagefileUsage of the system's process list";
    const auto listed = FromProcessList(pid);
    return listed ? listed->pagefileBytes : 0;
}
