// The yardstick programs of the idle, start-up and memory benchmarks: one
// window with the program's five timers at the program's intervals
// (500 ms for the console poll, then 1 ms from its first tick; 100, 500,
// 10 and 10000 ms for the rest).
//
//   idle_yardstick.exe           the timers tick and do nothing
//   idle_yardstick.exe --calls   each tick makes only the calls the design
//                                requires of it: one WM_GETTEXTLENGTH to the
//                                console's output pane per console tick, the
//                                seven hotkeys' key states per hotkey tick,
//                                the player's caption and position per
//                                readout tick, the position twice per
//                                track-line tick
//   --directsound                besides, the DirectSound object that the
//                                program keeps for its whole run (default
//                                device, priority level for the window)
//
// The console and the player are looked up once, at start; the hotkeys are
// F5 to F11, as the idle benchmark binds them in the program.
#include <windows.h>
#include <mmsystem.h>  // WAVEFORMATEX, which dsound.h needs
#include <dsound.h>

#include <array>
#include <cstring>

namespace {

constexpr wchar_t kClassName[] = L"TunebridgeYardstick";
constexpr wchar_t kTitle[] = L"Yardstick.";

enum TimerId : UINT_PTR { kConsolePoll = 1, kPlayerReadout, kTrackAnnounce, kHotkeyPoll, kSensorAnnounce };

struct TimerStart {
    TimerId id;
    UINT intervalMs;
};
constexpr std::array<TimerStart, 5> kTimers = {{
    {kConsolePoll, 500},
    {kPlayerReadout, 100},
    {kTrackAnnounce, 500},
    {kHotkeyPoll, 10},
    {kSensorAnnounce, 10000},
}};
constexpr UINT kConsolePollMs = 1;
constexpr int kFirstHotkey = VK_F5;
constexpr int kHotkeyCount = 7;
constexpr int kCaptionChars = 2048;
constexpr LPARAM kPlayerPosition = 105;
constexpr int kOutputPaneSiblingSteps = 4;

struct Peers {
    bool calls = false;
    bool consoleFast = false;
    HWND outputPane = nullptr;
    HWND player = nullptr;
};

HWND FindOutputPane() {
    HWND console = FindWindowA(nullptr, "Quake 3 Console");
    HWND child = console ? GetWindow(console, GW_CHILD) : nullptr;
    for (int step = 0; step < kOutputPaneSiblingSteps && child; ++step) child = GetWindow(child, GW_HWNDNEXT);
    return child;
}

void OnTimer(HWND window, UINT_PTR id, Peers& peers) {
    if (id == kConsolePoll && !peers.consoleFast) {
        SetTimer(window, kConsolePoll, kConsolePollMs, nullptr);
        peers.consoleFast = true;
    }
    if (!peers.calls) return;
    switch (id) {
    case kConsolePoll:
        SendMessageA(peers.outputPane, WM_GETTEXTLENGTH, 0, 0);
        break;
    case kPlayerReadout: {
        std::array<char, kCaptionChars> caption{};
        GetWindowTextA(peers.player, caption.data(), kCaptionChars);
        SendMessageA(peers.player, WM_USER, 0, kPlayerPosition);
        break;
    }
    case kTrackAnnounce:
        SendMessageA(peers.player, WM_USER, 0, kPlayerPosition);
        SendMessageA(peers.player, WM_USER, 0, kPlayerPosition);
        break;
    case kHotkeyPoll:
        for (int key = kFirstHotkey; key < kFirstHotkey + kHotkeyCount; ++key) GetAsyncKeyState(key);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_TIMER:
        OnTimer(window, wParam, *reinterpret_cast<Peers*>(GetWindowLongPtrW(window, GWLP_USERDATA)));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    Peers peers;
    peers.calls = std::strstr(commandLine, "--calls") != nullptr;
    if (peers.calls) {
        peers.outputPane = FindOutputPane();
        peers.player = FindWindowA("Winamp v1.x", nullptr);
        if (!peers.outputPane || !peers.player) return 1;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassW(&windowClass)) return 1;
    HWND window = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 460, 130,
                                  nullptr, nullptr, instance, &peers);
    if (!window) return 1;
    IDirectSound* sound = nullptr;
    if (std::strstr(commandLine, "--directsound") &&
        (FAILED(DirectSoundCreate(nullptr, &sound, nullptr)) || FAILED(sound->SetCooperativeLevel(window, DSSCL_PRIORITY))))
        return 1;
    for (const TimerStart& timer : kTimers) SetTimer(window, timer.id, timer.intervalMs, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (sound) sound->Release();
    return 0;
}
