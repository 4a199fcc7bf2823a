#include "console/console_commands.h"

#include "console/console_window.h"
#include "core/text.h"

namespace tunebridge {
namespace {

// What GetWindowTextA may copy of a child's caption.
constexpr int kCaptionBufferChars = 260;

constexpr std::uint32_t kCarriageReturn = 13;
constexpr std::int32_t kCharRepeatOnce = 1;
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

} // namespace

void ConsoleCommands::Send(const std::string& line) {
    const Hwnd console = FindConsoleWindow(desktop_, style_);
    if (console == 0) return;
    pending_ = Neutralised(line);
    desktop_.EnumChildWindows(console, [this](Hwnd child) { return TypeInto(child); });
}

bool ConsoleCommands::ShowsColours() const { return style_ == kColourStyle; }

bool ConsoleCommands::TypeInto(Hwnd child) {
    // The caption, not the content: typing by the player changes nothing here.
    if (!CutAtNul(desktop_.GetWindowTextA(child, kCaptionBufferChars)).empty()) return false;
    desktop_.SendSetText(child, ToAnsiBytes(pending_));
    desktop_.SendMessageA(child, kWM_CHAR, kCarriageReturn, kCharRepeatOnce);
    pending_.clear();
    return true;
}

} // namespace tunebridge
