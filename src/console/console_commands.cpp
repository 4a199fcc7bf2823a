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
    if (FindConsoleWindow(desktop_, style_) == 0) {
        Forget();
        return;
    }
    queue_.push_back(Neutralised(line));
}

void ConsoleCommands::Forget() {
    queue_.clear();
    awaitingTaken_ = false;
}

bool ConsoleCommands::ShowsColours() const { return style_ == kColourStyle; }

void ConsoleCommands::TypeNext(Hwnd pane) {
    if (queue_.empty()) return;
    // A game busy with a frame answers nothing; a message to it must be
    // answered in time before a line goes in, since a typing message that
    // gave up waiting still lands later, together with the next ones.
    std::optional<std::int32_t> length;
    if (pane != 0 && !(length = ReadTextLength(desktop_, pane))) return;
    if (awaitingTaken_ && length && !echoLength_) {
        // The console did not answer right after the last line: measure from
        // its first answer, which may already hold that line's late echo.
        echoLength_ = length;
        typedAt_ = desktop_.TickCountMs();
        return;
    }
    if (awaitingTaken_) {
        const bool paneChanged = length && *length != *echoLength_;
        if (!paneChanged && desktop_.TickCountMs() - typedAt_ < kTakenMs) return;
        awaitingTaken_ = false;
    }

    const Hwnd console = FindConsoleWindow(desktop_, style_);
    if (console == 0) {
        Forget();
        return;
    }
    pending_ = queue_.front();
    typing_ = Typing::NoInputLine;
    if (TypesIntoFirstChild(desktop_, console)) {
        desktop_.EnumChildWindows(console, [this](Hwnd child) { return TypeInto(child); });
    } else if (const Hwnd input = FindEdit(desktop_, console, EditKind::InputLine)) {
        Type(input);
    }
    // Text that did not reach the input line is typed again at the next
    // turn; a line whose Enter went out is the game's, answered or not.
    if (typing_ == Typing::NoAnswer) return;
    queue_.pop_front();
    if (typing_ == Typing::NoInputLine) return;
    awaitingTaken_ = true;
    typedAt_ = desktop_.TickCountMs();
    echoLength_ = pane != 0 ? ReadTextLength(desktop_, pane) : std::nullopt;
}

bool ConsoleCommands::TypeInto(Hwnd child) {
    // The caption, not the content: typing by the player changes nothing here.
    if (!CutAtNul(desktop_.GetWindowTextA(child, kCaptionBufferChars)).empty()) return false;
    return Type(child);
}

bool ConsoleCommands::Type(Hwnd input) {
    if (!desktop_.SendSetTextTimeout(input, ToAnsiBytes(pending_), kConsoleAnswerMs)) {
        if (typing_ == Typing::NoInputLine) typing_ = Typing::NoAnswer;
        return false;
    }
    const bool answered = desktop_.SendMessageTimeoutA(input, kWM_CHAR, kCarriageReturn, kCharRepeatOnce, kConsoleAnswerMs).has_value();
    typing_ = Typing::Typed;
    pending_.clear();
    return answered;
}

} // namespace tunebridge
