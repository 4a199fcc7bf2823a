// The music player's main window as a real program: the remote-control
// messages the player answers, its caption, and a log of what it received.
#include <windows.h>

#include <optional>
#include <string>

#include "peer_program_win32.h"
#include "engine/peer_control.h"
#include "engine/player_engine.h"

namespace tunebridge::peers {
namespace {

constexpr char kClassName[] = "Winamp v1.x";
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockIntervalMs = 100;
constexpr UINT_PTR kAdvanceTimer = 2;

struct PlayerProgram {
    PlayerEngine engine;
    PeerLog log;
    HWND window = nullptr;
    std::string shownCaption;
    ULONGLONG lastTick = 0;
    std::optional<std::int32_t> closeAtEntry;  // "close-at-entry"
};

PlayerProgram* program = nullptr;

// QueryPerformanceCounter in microseconds: one clock for every process of the
// system, so a benchmark can compare it with the moment it sent something.
long long MicrosecondsNow() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return counter.QuadPart / frequency.QuadPart * 1000000 +
           counter.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

void ShowCaption() {
    const std::string caption = program->engine.Caption();
    if (caption == program->shownCaption) return;
    program->shownCaption = caption;
    SetWindowTextA(program->window, caption.c_str());
}

// The listener moving on by itself, as a soak run needs: the next entry
// (the first after the last) from its start, logged so that every change can
// be matched with the track line announcing it.
void AdvanceTrack() {
    PlayerEngine& engine = program->engine;
    const int count = static_cast<int>(engine.Playlist().size());
    if (count == 0) return;
    engine.SetIndex((engine.Index() + 1) % count);
    engine.SetPosition(0);
    program->log.Write("ADVANCE " + std::to_string(engine.Index()));
    ShowCaption();
}

LRESULT CALLBACK PlayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_USER: {
        const std::int32_t answer = program->engine.Receive(message, static_cast<std::uint32_t>(wParam),
                                                            static_cast<std::int32_t>(lParam));
        ShowCaption();
        // The listener closing the player while it is being walked: gone
        // right after it was asked to move to that entry.
        if (message == WM_USER && lParam == player_request::kSetIndex && program->closeAtEntry &&
            static_cast<std::int32_t>(wParam) == *program->closeAtEntry) {
            DestroyWindow(window);
        }
        return answer;
    }
    case WM_COPYDATA: {
        const auto command = ControlCommand(lParam);
        if (!command) return 0;
        if (const auto entry = CommandNumber(*command, "close-at-entry")) {
            program->closeAtEntry = *entry;
            return 1;
        }
        const bool understood = ApplyPlayerControl(program->engine, *command);
        ShowCaption();
        return understood ? 1 : 0;
    }
    case WM_TIMER: {
        if (wParam == kAdvanceTimer) {
            AdvanceTrack();
            return 0;
        }
        const ULONGLONG now = GetTickCount64();
        program->engine.Advance(static_cast<std::int64_t>(now - program->lastTick));
        program->lastTick = now;
        ShowCaption();
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace
}  // namespace tunebridge::peers

int main(int argc, char** argv) {
    using namespace tunebridge::peers;
    UseBinaryStdio();
    const auto arguments = PeerArguments::Parse(
        argc, argv, {"--playlist", "--log", "--index", "--position-ms", "--state", "--advance-ms"},
        {"--clock", "--timestamps", "--shuffle"});
    const char* usage = "usage: fake_winamp --playlist <file> --log <path> [--index <n>] [--position-ms <ms>] "
                        "[--state playing|paused|stopped] [--clock] [--timestamps] [--shuffle] [--advance-ms <ms>]";
    if (!arguments) return Fail(usage);

    PlayerProgram state;
    program = &state;
    if (const auto path = arguments->Value("--playlist")) {
        auto titles = ReadPlaylistFile(*path);
        if (!titles) return Fail("cannot read the playlist " + *path);
        state.engine.SetPlaylist(std::move(*titles));
    }
    state.engine.SetShuffle(arguments->Flag("--shuffle"));
    if (const auto text = arguments->Value("--state")) {
        const auto playerState = ParsePlayerState(*text);
        if (!playerState) return Fail(usage);
        state.engine.SetState(*playerState);
    }
    for (const char* option : {"--index", "--position-ms"}) {
        const auto text = arguments->Value(option);
        if (!text) continue;
        const auto value = ParseInt32(*text);
        if (!value) return Fail(usage);
        if (std::string(option) == "--index") {
            state.engine.SetIndex(*value);
        } else {
            state.engine.SetPosition(*value);
        }
    }
    if (const auto path = arguments->Value("--log"); path && !state.log.Open(*path)) {
        return Fail("cannot write the log " + *path);
    }
    // --timestamps: every message record ends with " <microseconds>" of the
    // moment it was received.
    if (arguments->Flag("--timestamps")) {
        state.engine.onLog = [](const std::string& record) {
            program->log.Write(record + " " + std::to_string(MicrosecondsNow()));
        };
    } else {
        state.engine.onLog = [](const std::string& record) { program->log.Write(record); };
    }
    if (!RegisterPeerClass(kClassName, PlayerProc)) return Fail("cannot register the window class");

    state.shownCaption = state.engine.Caption();
    state.window = CreateWindowExA(0, kClassName, state.shownCaption.c_str(),
                                   WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, 275, 116, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (state.window == nullptr) return Fail("cannot create the player window");
    if (arguments->Flag("--clock")) {
        state.lastTick = GetTickCount64();
        SetTimer(state.window, kClockTimer, kClockIntervalMs, nullptr);
    }
    if (const auto text = arguments->Value("--advance-ms")) {
        const auto ms = ParseInt32(*text);
        if (!ms || *ms <= 0) return Fail(usage);
        SetTimer(state.window, kAdvanceTimer, static_cast<UINT>(*ms), nullptr);
    }
    // A starter that gives a show style gets it, as Tunebridge's launch
    // (minimised) does; otherwise the player shows without taking the focus.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    ShowWindow(state.window, (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWNOACTIVATE);
    const int code = RunMessageLoop();
    program = nullptr;
    return code;
}
