#include "console/console_window.h"

#include <array>
#include <cstdint>

namespace tunebridge {

namespace {

struct ConsoleTitle {
    const char* title;
    const char* style;  // what the command path records after trying this title
};

// The engine's consoles, tried in this order; only the Wolfenstein console
// keeps colour codes on screen.
constexpr std::array<ConsoleTitle, 3> kConsoleTitles = {{
    {"Quake 3 Console", "PlainText"},
    {"Wolf Console", kColourStyle},
    {"MOHAA Console", "PlainText"},
}};

// The class plays no part: only the whole title decides.
constexpr const char* kAnyClass = "";

constexpr int kTailChars = 50;
constexpr int kOutputPaneSiblingSteps = 4;

// A length answer beyond this is not believed: the poller keeps the pane far
// below it, and believing a hostile answer would allocate gigabytes.
constexpr std::int32_t kLongestReadableText = 16 * 1024 * 1024;

constexpr const char* kNoText = ">No text for this class<";

}  // namespace

Hwnd FindConsoleWindow(Desktop& desktop, std::string& style) {
    for (const ConsoleTitle& row : kConsoleTitles) {
        const Hwnd found = desktop.FindWindowA(kAnyClass, row.title);
        style = row.style;
        if (found != 0) return found;
    }
    return 0;
}

Hwnd FindConsoleForPoller(Desktop& desktop) {
    for (const ConsoleTitle& row : kConsoleTitles) {
        if (const Hwnd found = desktop.FindWindowA(kAnyClass, row.title)) return found;
    }
    return 0;
}

Hwnd LocateOutputPane(Desktop& desktop, Hwnd console) {
    Hwnd child = desktop.GetWindow(console, kGW_CHILD);
    for (int step = 0; step < kOutputPaneSiblingSteps; ++step) child = desktop.GetWindow(child, kGW_HWNDNEXT);
    return child;
}

std::string ReadWindowTail(Desktop& desktop, Hwnd window) {
    const std::int32_t length = desktop.SendMessageA(window, kWM_GETTEXTLENGTH, 0, 0);
    // Zero is an empty pane; a negative or absurd answer cannot be read either.
    if (length <= 0 || length > kLongestReadableText) return kNoText;

    // The whole buffer, terminating NUL included: the caller counts on it.
    const std::string buffer = desktop.SendGetText(window, length + 1);
    if (buffer.size() <= static_cast<std::size_t>(kTailChars)) return buffer;
    return buffer.substr(buffer.size() - kTailChars);
}

}  // namespace tunebridge
