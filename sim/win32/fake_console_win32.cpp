// The game's console window as a real program: the window layout the engine
// builds, and the game's loop around it: frames at 85 a second, each drawn
// without pumping messages, the pump spun in between, the command buffer
// taken after every pump pass. Tests type into it by window messages and
// read what it did from its log.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <optional>
#include <string>

#include "peer_program_win32.h"
#include "engine/console_engine.h"
#include "engine/peer_control.h"

namespace tunebridge::peers {
namespace {

constexpr int kCopyId = 1;
constexpr int kClearId = 2;
constexpr int kQuitId = 3;
// Far more than the 300,000 characters a console that never wipes may hold
// before it is cleared; also past the end of any text, for appending.
constexpr LPARAM kOutputLimit = 0x7FFFFFFE;
constexpr UINT_PTR kChatterTimer = 1;
// The maintained engine writes its collected output to the pane this often.
constexpr UINT_PTR kFlushTimer = 2;
constexpr UINT kFlushVisibleMs = 25;
constexpr UINT kFlushHiddenMs = 100;
// Its ids of the pane and the input line.
constexpr int kQuake3ePaneId = 100;
constexpr int kQuake3eInputId = 101;
// The game's frame-rate cap.
constexpr auto kFrameTime = std::chrono::microseconds(1'000'000 / 85);
// A game whose command buffer overflows dies with its memory trampled; this
// exit code tells that apart from any other end.
constexpr UINT kCrashExitCode = 0xDEAD;

struct ConsoleProgram {
    ConsoleProgram(const std::string& title, ConsoleLayout layout) : engine(title, layout), layout(layout) {}
    ConsoleEngine engine;
    ConsoleLayout layout;
    PeerLog log;
    HWND window = nullptr;
    HWND input = nullptr;
    HWND output = nullptr;
    WNDPROC inputProc = nullptr;
    WNDPROC outputProc = nullptr;
    WNDPROC statusBarProc = nullptr;
    std::string paneAdded;    // what the engine added to its pane since the window was last updated
    bool paneWhole = false;   // paneAdded replaces the whole text
    long long chatterLines = 0;
    std::optional<LRESULT> lengthAnswer;  // "text-length": the pane's answer instead of its length
    int linesUntilQuit = 0;               // "quit-after": typed lines left before the window goes; 0: never
};

ConsoleProgram* program = nullptr;

// Brings the pane up to the engine's: appended text is added at the end and
// a wipe replaces the selected whole text, as the console does.
void ShowPane() {
    if (program->paneAdded.empty() && !program->paneWhole) return;
    const LPARAM from = program->paneWhole ? 0 : kOutputLimit;
    SendMessageA(program->output, EM_SETSEL, static_cast<WPARAM>(from), program->paneWhole ? -1 : kOutputLimit);
    SendMessageA(program->output, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(program->paneAdded.c_str()));
    program->paneAdded.clear();
    program->paneWhole = false;
}

LRESULT CALLBACK InputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The maintained engine takes no characters beyond the code page's.
    if (message == WM_CHAR && wParam > 255 && program->layout == ConsoleLayout::Quake3e) return 0;
    if (message == WM_CHAR && wParam == '\r') {
        const int length = GetWindowTextLengthA(window);
        std::string line(static_cast<std::size_t>(length) + 1, '\0');
        line.resize(static_cast<std::size_t>(GetWindowTextA(window, line.data(), length + 1)));
        SetWindowTextA(window, "");
        program->engine.SetInput(line);
        program->engine.Enter();
        if (program->engine.Overflowed()) ExitProcess(kCrashExitCode);
        ShowPane();
        // A game that quits between two typed lines: its window is gone before the next one.
        if (program->linesUntilQuit > 0 && --program->linesUntilQuit == 0) DestroyWindow(program->window);
        return 0;
    }
    return CallWindowProcA(program->inputProc, window, message, wParam, lParam);
}

LRESULT CALLBACK OutputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXTLENGTH && program->lengthAnswer) {
        program->log.Write("LENGTH " + std::to_string(*program->lengthAnswer));
        return *program->lengthAnswer;
    }
    if (message == WM_SETTEXT) {
        const char* text = reinterpret_cast<const char*>(lParam);
        program->engine.ReplaceBuffer(text != nullptr ? text : "");
    }
    return CallWindowProcA(program->outputProc, window, message, wParam, lParam);
}

// The control commands of a misbehaving console, which the window rather
// than the engine carries out; false for any other command.
bool ApplyMisbehaviour(const std::string& command) {
    if (command == "text-length real") {
        program->lengthAnswer.reset();
    } else if (const auto length = CommandNumber(command, "text-length")) {
        program->lengthAnswer = *length;
    } else if (const auto lines = CommandNumber(command, "quit-after"); lines && *lines > 0) {
        program->linesUntilQuit = *lines;
    } else {
        return false;
    }
    return true;
}

LRESULT CALLBACK ConsoleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA: {
        const auto command = ControlCommand(lParam);
        if (!command) return 0;
        if (ApplyMisbehaviour(*command)) return 1;
        const bool understood = ApplyConsoleControl(program->engine, *command);
        ShowPane();
        return understood ? 1 : 0;
    }
    case WM_TIMER: {
        if (wParam == kFlushTimer) {
            program->engine.Flush();
            ShowPane();
            SetTimer(window, kFlushTimer, IsWindowVisible(window) ? kFlushVisibleMs : kFlushHiddenMs, nullptr);
            return 0;
        }
        // A busy server: a frag message at every tick, printed at the next frame.
        const long long line = ++program->chatterLines;
        program->engine.Print("chatter " + std::to_string(line) + ": Player" + std::to_string(line % 16) +
                              " was railed by Player" + std::to_string((line + 5) % 16));
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kClearId) {
            program->engine.ClearPane();
            ShowPane();
        } else if (LOWORD(wParam) == kQuitId) {
            program->engine.Close();
        }
        return 0;
    case WM_CLOSE:
        // The game keeps running; only its console goes out of sight.
        ShowWindow(window, SW_HIDE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Handles every pending message, then takes the command buffer, as the game
// does after each pass of its pump; false once the window is gone.
bool PumpPass() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return false;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    program->engine.TakeBuffer();
    return true;
}

// The game's loop: a frame runs the taken commands and prints, then draws
// for `drawTime` answering nothing, then the pump spins until the frame time
// is up (waiting for messages rather than burning a core).
void RunGame(std::chrono::milliseconds drawTime) {
    using Clock = std::chrono::steady_clock;
    for (;;) {
        const Clock::time_point frameEnd = Clock::now() + kFrameTime;
        if (program->engine.Quit()) {
            DestroyWindow(program->window);
            return;
        }
        program->engine.RunFrame();
        ShowPane();
        Sleep(static_cast<DWORD>(drawTime.count()));
        do {
            if (!PumpPass()) return;
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(frameEnd - Clock::now());
            if (left.count() > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
        } while (Clock::now() < frameEnd && !program->engine.Quit());
    }
}

HWND Child(const char* className, const char* text, DWORD style, int x, int y, int width, int height, int id,
           HWND parent = nullptr) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent ? parent : program->window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

// The buttons inside the status bar report to it; the console acts on them.
LRESULT CALLBACK StatusBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) return SendMessageA(program->window, message, wParam, lParam);
    return CallWindowProcA(program->statusBarProc, window, message, wParam, lParam);
}

constexpr DWORD kPaneStyle = WS_BORDER | WS_VSCROLL | ES_LEFT | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;

// The original games' children: input line, three buttons, pane last.
void CreateOriginalChildren() {
    program->input = Child("EDIT", "", WS_BORDER | ES_LEFT | ES_AUTOHSCROLL, 6, 360, 520, 20, 100);
    Child("BUTTON", "copy", BS_PUSHBUTTON, 6, 388, 72, 24, kCopyId);
    Child("BUTTON", "clear", BS_PUSHBUTTON, 84, 388, 72, 24, kClearId);
    Child("BUTTON", "quit", BS_PUSHBUTTON, 454, 388, 72, 24, kQuitId);
    program->output = Child("EDIT", "", kPaneStyle, 6, 6, 520, 346, 101);
}

// The maintained engine's: a status bar holding "copy" and "clear", the
// input line, the pane; output reaches the pane at the flush timer.
void CreateQuake3eChildren() {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HWND statusBar = Child(STATUSCLASSNAMEA, "", 0, 0, 0, 0, 0, 0);
    if (statusBar == nullptr) return;
    program->statusBarProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(statusBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusBarProc)));
    Child("BUTTON", "copy", BS_PUSHBUTTON, 300, 2, 72, 18, kCopyId, statusBar);
    Child("BUTTON", "clear", BS_PUSHBUTTON, 380, 2, 72, 18, kClearId, statusBar);
    program->input = Child("EDIT", "", WS_BORDER | ES_LEFT | ES_AUTOHSCROLL, 6, 360, 520, 20, kQuake3eInputId);
    program->output = Child("EDIT", "", kPaneStyle, 6, 6, 520, 346, kQuake3ePaneId);
    SetTimer(program->window, kFlushTimer, kFlushHiddenMs, nullptr);
}

std::optional<int> NonNegative(const std::optional<std::string>& value, int otherwise) {
    if (!value) return otherwise;
    const auto number = ParseInt32(*value);
    return number && *number >= 0 ? number : std::nullopt;
}

}  // namespace
}  // namespace tunebridge::peers

int main(int argc, char** argv) {
    using namespace tunebridge::peers;
    UseBinaryStdio();
    const auto arguments = PeerArguments::Parse(
        argc, argv, {"--title", "--log", "--prefill", "--player-name", "--chatter-ms", "--draw-ms", "--layout"},
        {"--no-wipe", "--visible"});
    if (!arguments) {
        return Fail("usage: fake_console --title <title> --log <path> [--prefill <N>] [--player-name <name>] "
                    "[--no-wipe] [--chatter-ms <ms>] [--draw-ms <ms>] [--visible] [--layout original|quake3e]");
    }
    const std::string layoutName = arguments->Value("--layout").value_or("original");
    if (layoutName != "original" && layoutName != "quake3e") return Fail("--layout is original or quake3e");
    const ConsoleLayout layout = layoutName == "quake3e" ? ConsoleLayout::Quake3e : ConsoleLayout::Original;
    const std::string title = arguments->Value("--title").value_or("Quake 3 Console");
    const auto drawMs = NonNegative(arguments->Value("--draw-ms"), 8);
    const auto prefill = NonNegative(arguments->Value("--prefill"), 0);
    const auto chatterMs = NonNegative(arguments->Value("--chatter-ms"), 0);
    if (!drawMs || !prefill || !chatterMs) return Fail("--draw-ms, --prefill and --chatter-ms take a count");
    ConsoleProgram state(title, layout);
    program = &state;
    // The game's window console wipes itself; --no-wipe keeps everything, for
    // the panes of 300,000 characters that only other consoles reach.
    state.engine.SetWiping(!arguments->Flag("--no-wipe"));
    if (const auto name = arguments->Value("--player-name")) state.engine.SetPlayerName(*name);
    if (const auto path = arguments->Value("--log"); path && !state.log.Open(*path)) {
        return Fail("cannot write the log " + *path);
    }
    state.engine.onLog = [](const std::string& record) { program->log.Write(record); };
    state.engine.onPane = [](const std::string& text, bool whole) {
        if (whole) program->paneAdded.clear();
        program->paneAdded += text;
        program->paneWhole = program->paneWhole || whole;
    };
    state.engine.onBusy = [](int ms) { Sleep(static_cast<DWORD>(ms)); };
    // The other game's console is the same window code under its own class.
    const char* className = title == "Wolf Console" ? "Wolf WinConsole" : "Q3 WinConsole";
    if (!RegisterPeerClass(className, ConsoleProc)) return Fail("cannot register the window class");

    // Titled only once complete, so whoever finds it by its title finds its
    // children and its text too, as it is found hidden.
    state.window = CreateWindowExA(0, className, "", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, 540, 450, nullptr, nullptr, GetModuleHandleA(nullptr),
                                   nullptr);
    if (state.window == nullptr) return Fail("cannot create the console window");
    layout == ConsoleLayout::Quake3e ? CreateQuake3eChildren() : CreateOriginalChildren();
    if (state.input == nullptr || state.output == nullptr) return Fail("cannot create the console's children");
    SendMessageA(state.output, EM_SETLIMITTEXT, kOutputLimit, 0);
    state.inputProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(state.input, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InputProc)));
    state.outputProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(state.output, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OutputProc)));

    if (*prefill > 0) {
        state.engine.Prefill(static_cast<std::size_t>(*prefill));
        ShowPane();
    }
    if (*chatterMs > 0) SetTimer(state.window, kChatterTimer, static_cast<UINT>(*chatterMs), nullptr);
    SetWindowTextA(state.window, title.c_str());
    // Hidden while the game runs; shown for those watching the demo.
    if (arguments->Flag("--visible")) ShowWindow(state.window, SW_SHOWNOACTIVATE);
    state.engine.StartUp();
    RunGame(std::chrono::milliseconds(*drawMs));
    program = nullptr;
    return 0;
}
