#include "console/console_poller.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "console/console_command.h"
#include "console/console_window.h"

namespace tunebridge {

namespace {

constexpr unsigned kTickIntervalMs = 1;
// Past this many characters the console is cleared, which bounds both the
// game's buffer and every copy of it.
constexpr std::int32_t kOutputLimit = 300000;

constexpr const char* kNotRunning = "[ Current Player: <Q3Engine is not running> ]";
constexpr std::string_view kRendererReady = "finished R_Init";
constexpr const char* kPlaylistMarker = ":Playlist";
constexpr const char* kClearCommand = "clear";
constexpr const char* kNameCommand = "name";

// ASCII letters only: the markers are ASCII, and which letters of the system
// code page pair up is not known here.
char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
    const auto found = std::search(text.begin(), text.end(), word.begin(), word.end(),
                                   [](char a, char b) { return FoldCase(a) == FoldCase(b); });
    return found != text.end();
}

// The pane's length in characters; a window answering a negative length has
// nothing to read, and counting with it could overflow the arithmetic below.
std::int32_t OutputLength(Desktop& desktop, Hwnd pane) {
    if (pane == 0) return 0;
    return std::max<std::int32_t>(desktop.SendMessageA(pane, kWM_GETTEXTLENGTH, 0, 0), 0);
}

}  // namespace

void ConsolePoller(Desktop& desktop, SharedState& state, FormControls& form, const std::function<void()>& playlist) {
    form.Console.interval = kTickIntervalMs;
    desktop.DoEvents();

    if (state.hConsoleWnd == 0) LookUpConsoleForPoller(desktop, state);
    if (state.hConsoleWnd == 0) {
        state.hConsoleOutput = 0;
        state.lConsoleSeenLen = 0;
        state.lConsoleLen = 0;
        form.lblPlatform = kNotRunning;
        return;
    }

    if (state.hConsoleOutput == 0) state.hConsoleOutput = LocateOutputPane(desktop, state.hConsoleWnd);
    state.lConsoleLen = OutputLength(desktop, state.hConsoleOutput);

    if (state.lConsoleLen >= kOutputLimit) {
        desktop.DoEvents();
        SendConsoleCommand(desktop, state, kClearCommand);
        state.lConsoleLen = OutputLength(desktop, state.hConsoleOutput);
        state.lConsoleSeenLen = state.lConsoleLen;
        return;
    }

    if (state.lConsoleSeenLen < state.lConsoleLen) {
        desktop.DoEvents();
        std::string tail = ReadWindowTail(desktop, state.hConsoleOutput);
        // One more than the new characters, for the NUL that ends the tail.
        const std::int64_t wanted = std::int64_t{state.lConsoleLen} - state.lConsoleSeenLen + 1;
        if (static_cast<std::int64_t>(tail.size()) > wanted) tail.erase(0, tail.size() - static_cast<std::size_t>(wanted));
        state.sConsoleTail = std::move(tail);
        state.lConsoleSeenLen = state.lConsoleLen;
        // The label shows a C string: the text up to the NUL.
        form.ChatText = TrimAtNul(state.sConsoleTail);
    }

    if (ContainsIgnoringCase(state.sConsoleTail, kRendererReady)) {
        desktop.DoEvents();
        SendConsoleCommand(desktop, state, kNameCommand);
    } else if (ContainsIgnoringCase(state.sConsoleTail, state.TextSetting[0] + kPlaylistMarker)) {
        desktop.DoEvents();
        playlist();
    }
}

}  // namespace tunebridge
