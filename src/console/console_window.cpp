#include "console/console_window.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "core/text.h"

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

constexpr int kOutputPaneSiblingSteps = 4;

constexpr std::string_view kEditClass = "edit";
constexpr std::uint32_t kPaneStyle = kES_MULTILINE | kES_READONLY;

// A length answer beyond this is not believed: the poller keeps the pane far
// below it, and believing a hostile answer would allocate gigabytes.
constexpr std::int32_t kLongestReadableText = 16 * 1024 * 1024;

bool IsEdit(Desktop& desktop, Hwnd window) {
    return std::ranges::equal(desktop.GetClassNameA(window), kEditClass,
                              [](char a, char b) { return FoldAsciiCase(a) == b; });
}

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
    std::string untouched;
    return FindConsoleWindow(desktop, untouched);
}

bool TypesIntoFirstChild(Desktop& desktop, Hwnd console) {
    const Hwnd first = desktop.GetWindow(console, kGW_CHILD);
    return desktop.GetWindowTextA(first, 2).empty() && IsEdit(desktop, first);
}

Hwnd FindEdit(Desktop& desktop, Hwnd console, EditKind kind) {
    Hwnd found = 0;
    desktop.EnumChildWindows(console, [&](Hwnd child) {
        const std::uint32_t style = desktop.GetWindowStyle(child);
        const bool fits = kind == EditKind::Pane ? (style & kPaneStyle) == kPaneStyle : (style & kES_MULTILINE) == 0;
        if (fits && IsEdit(desktop, child)) found = child;
        return found == 0;
    });
    return found;
}

Hwnd LocateOutputPane(Desktop& desktop, Hwnd console) {
    Hwnd child = desktop.GetWindow(console, kGW_CHILD);
    for (int step = 0; step < kOutputPaneSiblingSteps; ++step) child = desktop.GetWindow(child, kGW_HWNDNEXT);
    return IsEdit(desktop, child) ? child : FindEdit(desktop, console, EditKind::Pane);
}

std::optional<std::int32_t> ReadTextLength(Desktop& desktop, Hwnd pane) {
    const auto length = desktop.SendGetTextLengthTimeout(pane, kConsoleAnswerMs);
    if (!length) return std::nullopt;
    return std::max<std::int32_t>(*length, 0);
}

std::optional<std::string> ReadWindowText(Desktop& desktop, Hwnd pane, std::int32_t length) {
    if (length <= 0 || length > kLongestReadableText) return std::string();
    const auto buffer = desktop.SendGetTextTimeout(pane, length + 1, kConsoleAnswerMs);
    if (!buffer) return std::nullopt;
    return CutAtNul(*buffer);
}

}  // namespace tunebridge
