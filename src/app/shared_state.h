#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

#include "platform/desktop.h"

namespace tunebridge {

// The date-time the announcer treats as "never": day zero of the OLE date
// scale, 1899-12-30 00:00:00.
inline constexpr std::chrono::sys_seconds kEmptyDate{std::chrono::seconds{-2209161600LL}};

// The process-wide variables through which the parts cooperate. The
// application owns the one instance and hands it to the parts that use it;
// everything starts as 0, empty or false.
struct SharedState {
    // Game console bridge.
    Hwnd hConsoleWnd = 0;
    Hwnd hConsoleOutput = 0;
    std::int32_t lConsoleLen = 0;
    std::int32_t lConsoleSeenLen = 0;
    std::string sConsoleTail;
    std::string sPendingCommand;
    std::string sConsoleStyle;

    // Winamp.
    Hwnd hWinampWnd = 0;
    std::string sWinampExe;

    // Settings, with their full index ranges; hotkey slots 0 Play, 1 Stop,
    // 2 Next, 3 Prev, 4 Vol+, 5 Vol-, 6 Pause.
    std::array<std::int16_t, 11> HotkeyCode{};
    std::array<std::int16_t, 11> HotkeyShift{};
    std::array<std::int16_t, 11> HotkeyCtrl{};
    std::array<std::int16_t, 11> HotkeyAlt{};
    std::array<std::int16_t, 21> ColorCode{};
    std::array<std::string, 11> TextSetting{};

    // Track announcer: the previous tagged track text and the last announcement.
    std::string sLastTrackTitle;
    std::chrono::sys_seconds dtLastTrackEcho = kEmptyDate;
    // Its time texts, kept from the tick before when a tick cannot form them.
    std::string sTrackTimePart;
    std::string sTrackPlainTime;

    // WinampInfo mode 13: the raw caption it cleaned last and the result.
    std::string sInfoRawCaption;
    std::string sInfoCleanTitle;

    // Hardware monitor reader status.
    std::string MBMStatusText;
    bool MBMAvailable = false;
};

} // namespace tunebridge
