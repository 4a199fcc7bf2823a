#include "console/console_command.h"

#include <algorithm>

#include "app/trim_spaces.h"
#include "console/console_window.h"

namespace tunebridge {

namespace {

// What GetWindowTextA may copy of a child's caption.
constexpr int kCaptionBufferChars = 260;

constexpr std::uint32_t kCarriageReturn = 13;
constexpr std::int32_t kCharRepeatOnce = 1;

// The input line's text length is counted in a signed 16-bit number.
constexpr std::size_t kLongestCommand = 32767;

constexpr unsigned char kCleanStringCut = 20;
constexpr unsigned char kFirstPrintable = 32;

// Text from other programs (track titles, playlist entries, sensor names)
// ends up in these lines. The engine splits what it executes at ";" outside
// double quotes and at line breaks, so a title like "Song; quit" would run
// commands. Every such character is made harmless; colour codes stay.
std::string Neutralised(const std::string& line) {
    std::string safe = line;
    for (char& c : safe) {
        if (c == ';') {
            c = ',';
        } else if (c == '"') {
            c = '\'';
        } else if (static_cast<unsigned char>(c) < kFirstPrintable) {
            c = ' ';
        }
    }
    return safe;
}

}  // namespace

void SendConsoleCommand(Desktop& desktop, SharedState& state, const std::string& command) {
    const Hwnd console = FindConsoleWindow(desktop, state);
    if (console == 0) return;
    state.sPendingCommand = Neutralised(command);
    desktop.EnumChildWindows(console, [&](Hwnd child) { return ConsoleInputEnumProc(desktop, state, child); });
}

bool ConsoleInputEnumProc(Desktop& desktop, SharedState& state, Hwnd child) {
    // The caption, not the content: typing by the player changes nothing here.
    if (!TrimAtNul(desktop.GetWindowTextA(child, kCaptionBufferChars)).empty()) return false;
    desktop.SendSetText(child, ToAnsiBytes(state.sPendingCommand));
    desktop.SendMessageA(child, kWM_CHAR, kCarriageReturn, kCharRepeatOnce);
    state.sPendingCommand.clear();
    return true;
}

std::string TrimAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

// The program's text already holds ANSI bytes of the system code page, one
// per character, so the conversion is byte for byte and cannot meet a
// character without a code. The cut keeps the length within the signed
// 16-bit count of the input line instead of failing.
std::vector<std::uint8_t> ToAnsiBytes(const std::string& text) {
    const std::size_t length = std::min(text.size(), kLongestCommand);
    std::vector<std::uint8_t> bytes(length + 1, 0);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(text[i]);
    return bytes;
}

std::string CleanString(const std::string& text) {
    const auto cut = std::find_if(text.begin(), text.end(),
                                  [](char c) { return static_cast<unsigned char>(c) < kCleanStringCut; });
    return TrimSpaces(std::string_view(text.data(), static_cast<std::size_t>(cut - text.begin())));
}

}  // namespace tunebridge
