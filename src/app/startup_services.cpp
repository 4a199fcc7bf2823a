#include "app/startup_services.h"

#include <cstdint>
#include <cstdio>

#include "core/discard_error.h"
#include "core/program_name.h"
#include "core/runtime_error.h"
#include "winamp/player_remote.h"

namespace tunebridge {
namespace {

constexpr std::uint32_t kDSSCL_PRIORITY = 2;
constexpr std::uint64_t kLaunchWaitMs = 60000;
constexpr int kLaunchPollMs = 10;

bool Failed(std::int32_t hresult) { return hresult < 0; }

std::string HresultText(std::int32_t hresult) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(static_cast<std::uint32_t>(hresult)));
    return text;
}

// Starts the player and waits for its window. The wait is bounded by the
// clock, not by a number of polls, and sleeps between lookups until a
// message arrives, so the other timers keep running without a spinning core.
void LaunchAndWait(Desktop& desktop, const std::string& playerExe, PlayerRequests& requests) {
    desktop.CreateProcessW(playerExe, kSW_SHOWMINIMIZED);
    const std::uint64_t start = desktop.TickCountMs();
    for (;;) {
        requests.SetWindow(FindPlayerWindow(desktop));
        if (requests.Window() != 0) return;
        if (desktop.TickCountMs() - start >= kLaunchWaitMs) {
            desktop.MessageBoxA("Winamp failed to open in the time given.  Please contact the program creator for "
                                "more information",
                                kProgramName, kMB_OK);
            desktop.EndProgram();
        }
        desktop.WaitForMessages(kLaunchPollMs);
    }
}

}  // namespace

void InitDirectSound(Desktop& desktop, Hwnd mainWindow) {
    if (Failed(desktop.DirectSoundCreate())) {
        desktop.MessageBoxA("Gat ekki stillt DirectSound", kProgramName, kMB_OK);
        desktop.EndProgram();
    }
    if (const std::int32_t result = desktop.DirectSoundSetCooperativeLevel(mainWindow, kDSSCL_PRIORITY); Failed(result)) {
        desktop.MessageBoxA("DirectSound could not take the priority level for this window (HRESULT " +
                                HresultText(result) + ").",
                            kProgramName, kMB_OK | kMB_ICONERROR);
        desktop.EndProgram();
    }
}

void CheckWinamp(Desktop& desktop, const std::string& playerExe, PlayerRequests& requests) {
    try {
        requests.SetWindow(FindPlayerWindow(desktop));
        const bool installed = desktop.FileExists(playerExe);
        if (installed && !playerExe.empty() && requests.Window() == 0) {
            LaunchAndWait(desktop, playerExe, requests);
        } else if (!installed && requests.Window() == 0) {
            // A player already running from another folder is no reason to complain.
            desktop.MessageBoxA("The winamp path provided is incorrect.  Please specify a correct path", kProgramName,
                                kMB_OK);
        }
    } catch (const RuntimeError& error) {
        DiscardError(error);
    }
}

}  // namespace tunebridge
