// The game's console window as a real program: the window layout the engine
// builds, with the console's behaviour from the shared engine. Tests type
// into it by window messages and read what it did from its log.
#include <windows.h>

#include <optional>
#include <string>

#include "peer_program_win32.h"
#include "engine/console_engine.h"
#include "engine/peer_control.h"

namespace tunebridge::peers {
namespace {

constexpr char kClassName[] = "Q3 WinConsole";
constexpr int kCopyId = 1;
constexpr int kClearId = 2;
constexpr int kQuitId = 3;
// Far more than the 300,000 characters a console that never wipes may hold
// before it is cleared.
constexpr LPARAM kOutputLimit = 0x7FFFFFFE;
constexpr UINT_PTR kChatterTimer = 1;
// Posted by "stall": the window procedure sleeps on it, as a game busy
// loading a map answers no message.
constexpr UINT kStallMessage = WM_APP + 1;

struct ConsoleProgram {
    ConsoleEngine engine;
    PeerLog log;
    HWND window = nullptr;
    HWND input = nullptr;
    HWND output = nullptr;
    WNDPROC inputProc = nullptr;
    WNDPROC outputProc = nullptr;
    std::size_t shown = 0;    // characters of the buffer already in the output window
    bool cleared = false;     // the buffer was emptied since the window was last updated
    bool wiped = false;       // the buffer was wiped since the window was last updated
    bool updating = false;    // our own WM_SETTEXT on the output window
    long long chatterLines = 0;
    std::optional<LRESULT> lengthAnswer;  // "text-length": the pane's answer instead of its length
    int linesUntilQuit = 0;               // "quit-after": typed lines left before the window goes; 0: never
};

ConsoleProgram* program = nullptr;

// Brings the output window up to the engine's buffer: appended text is added
// at the end and a wipe replaces the selected whole text, as the console
// does; anything else sets the whole text.
void ShowBuffer() {
    const std::string& buffer = program->engine.Buffer();
    if (program->cleared || (!program->wiped && buffer.size() < program->shown)) {
        program->updating = true;
        SetWindowTextA(program->output, buffer.c_str());
        program->updating = false;
    } else if (program->wiped) {
        SendMessageA(program->output, EM_SETSEL, 0, -1);
        SendMessageA(program->output, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(buffer.c_str()));
    } else if (buffer.size() > program->shown) {
        const std::string added = buffer.substr(program->shown);
        SendMessageA(program->output, EM_SETSEL, program->shown, program->shown);
        SendMessageA(program->output, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
    }
    program->shown = buffer.size();
    program->cleared = false;
    program->wiped = false;
}

void CloseIfQuit() {
    if (program->engine.Quit()) PostMessageA(program->window, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK InputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR && wParam == '\r') {
        const int length = GetWindowTextLengthA(window);
        std::string line(static_cast<std::size_t>(length) + 1, '\0');
        line.resize(static_cast<std::size_t>(GetWindowTextA(window, line.data(), length + 1)));
        SetWindowTextA(window, "");
        program->engine.SetInput(line);
        program->engine.Enter();
        ShowBuffer();
        // A game that quits between two typed lines: its window is gone before the next one.
        if (program->linesUntilQuit > 0 && --program->linesUntilQuit == 0) {
            DestroyWindow(program->window);
            return 0;
        }
        CloseIfQuit();
        return 0;
    }
    return CallWindowProcA(program->inputProc, window, message, wParam, lParam);
}

LRESULT CALLBACK OutputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXTLENGTH && program->lengthAnswer) {
        program->log.Write("LENGTH " + std::to_string(*program->lengthAnswer));
        return *program->lengthAnswer;
    }
    if (message == WM_SETTEXT && !program->updating) {
        const char* text = reinterpret_cast<const char*>(lParam);
        program->engine.ReplaceBuffer(text != nullptr ? text : "");
        program->shown = program->engine.Buffer().size();
    }
    return CallWindowProcA(program->outputProc, window, message, wParam, lParam);
}

// The control commands of a misbehaving console, which the window rather
// than the engine carries out; false for any other command.
bool ApplyMisbehaviour(const std::string& command) {
    if (const auto ms = CommandNumber(command, "stall"); ms && *ms >= 0) {
        PostMessageA(program->window, kStallMessage, static_cast<WPARAM>(*ms), 0);
    } else if (command == "text-length real") {
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
        ShowBuffer();
        CloseIfQuit();
        return understood ? 1 : 0;
    }
    case WM_TIMER: {
        // A busy server: a frag message at every tick, as the game prints them.
        const long long line = ++program->chatterLines;
        program->engine.Print("chatter " + std::to_string(line) + ": Player" + std::to_string(line % 16) +
                              " was railed by Player" + std::to_string((line + 5) % 16));
        ShowBuffer();
        return 0;
    }
    case kStallMessage:
        program->log.Write("STALL " + std::to_string(wParam));
        Sleep(static_cast<DWORD>(wParam));
        program->log.Write("AWAKE");
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kClearId) {
            program->engine.Clear();
            ShowBuffer();
        } else if (LOWORD(wParam) == kQuitId) {
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND Child(const char* className, const char* text, DWORD style, int x, int y, int width, int height, int id) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, program->window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

}  // namespace
}  // namespace tunebridge::peers

int main(int argc, char** argv) {
    using namespace tunebridge::peers;
    UseBinaryStdio();
    const auto arguments =
        PeerArguments::Parse(argc, argv, {"--title", "--log", "--prefill", "--player-name", "--chatter-ms"}, {"--no-wipe"});
    if (!arguments) {
        return Fail("usage: fake_console --title <title> --log <path> [--prefill <N>] [--player-name <name>] "
                    "[--no-wipe] [--chatter-ms <ms>]");
    }
    ConsoleProgram state;
    program = &state;
    // The game's window console wipes itself; --no-wipe keeps everything, for
    // the buffers of 300,000 characters that only other consoles reach.
    state.engine.SetWiping(!arguments->Flag("--no-wipe"));
    if (const auto name = arguments->Value("--player-name")) state.engine.SetPlayerName(*name);
    if (const auto path = arguments->Value("--log"); path && !state.log.Open(*path)) {
        return Fail("cannot write the log " + *path);
    }
    state.engine.onLog = [](const std::string& record) {
        program->log.Write(record);
        if (record == "CLEAR") program->cleared = true;
        if (record == "WIPE") program->wiped = true;
    };
    if (!RegisterPeerClass(kClassName, ConsoleProc)) return Fail("cannot register the window class");

    const std::string title = arguments->Value("--title").value_or("Quake 3 Console");
    state.window = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, 540, 450, nullptr, nullptr, GetModuleHandleA(nullptr),
                                   nullptr);
    if (state.window == nullptr) return Fail("cannot create the console window");
    // Creation order is the console's: input line, three buttons, buffer last.
    state.input = Child("EDIT", "", WS_BORDER | ES_LEFT | ES_AUTOHSCROLL, 6, 360, 520, 20, 100);
    Child("BUTTON", "copy", BS_PUSHBUTTON, 6, 388, 72, 24, kCopyId);
    Child("BUTTON", "clear", BS_PUSHBUTTON, 84, 388, 72, 24, kClearId);
    Child("BUTTON", "quit", BS_PUSHBUTTON, 454, 388, 72, 24, kQuitId);
    state.output = Child("EDIT", "", WS_BORDER | WS_VSCROLL | ES_LEFT | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                         6, 6, 520, 346, 101);
    if (state.input == nullptr || state.output == nullptr) return Fail("cannot create the console's children");
    SendMessageA(state.output, EM_SETLIMITTEXT, kOutputLimit, 0);
    state.inputProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(state.input, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InputProc)));
    state.outputProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(state.output, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OutputProc)));

    if (const auto prefill = arguments->Value("--prefill")) {
        const auto chars = ParseInt32(*prefill);
        if (!chars || *chars < 0) return Fail("--prefill takes a character count");
        state.engine.Prefill(static_cast<std::size_t>(*chars));
        ShowBuffer();
    }
    if (const auto chatter = arguments->Value("--chatter-ms")) {
        const auto ms = ParseInt32(*chatter);
        if (!ms || *ms <= 0) return Fail("--chatter-ms takes a period in milliseconds");
        SetTimer(state.window, kChatterTimer, static_cast<UINT>(*ms), nullptr);
    }
    ShowWindow(state.window, SW_SHOWNOACTIVATE);
    const int code = RunMessageLoop();
    program = nullptr;
    return code;
}
