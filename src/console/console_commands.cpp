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

// What the console's echo of a typed line adds to its pane: "]", the line
// without its colour codes, and the line break.
std::int64_t EchoChars(const std::string& line) {
    std::int64_t chars = 3;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '^' && i + 1 < line.size()) {
            ++i;
        } else {
            ++chars;
        }
    }
    return chars;
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

bool ConsoleCommands::TakenByNow(std::optional<std::int32_t> length) {
    const std::uint64_t now = desktop_.TickCountMs();
    if (enterLate_) {
        // The Enter that gave up waiting lands in the pass that just
        // answered: the time starts now.
        enterLate_ = false;
        typedAt_ = now;
        return false;
    }
    // More than the line's echo was added (the game ran it at its frame and
    // printed), or the text was wiped: the game has taken the line.
    if (length && typedFrom_ && (*length < *typedFrom_ || *length - *typedFrom_ > echoChars_)) return true;
    return now - typedAt_ >= kTakenMs;
}

void ConsoleCommands::TypeNext(Hwnd pane) {
    if (queue_.empty()) return;
    // A game busy with a frame answers nothing; a message to it must be
    // answered in time before a line goes in, since a typing message that
    // gave up waiting still lands later, together with the next ones.
    std::optional<std::int32_t> length;
    if (pane != 0 && !(length = ReadTextLength(desktop_, pane))) return;
    if (awaitingTaken_ && !TakenByNow(length)) return;
    awaitingTaken_ = false;

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
    const std::string typed = std::move(queue_.front());
    queue_.pop_front();
    if (typing_ == Typing::NoInputLine) return;
    awaitingTaken_ = true;
    enterLate_ = typing_ == Typing::EnterLate;
    typedAt_ = desktop_.TickCountMs();
    typedFrom_ = length;
    echoChars_ = EchoChars(typed);
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
    const bool answered =
        desktop_.SendMessageTimeoutA(input, kWM_CHAR, kCarriageReturn, kCharRepeatOnce, kConsoleAnswerMs).has_value();
    typing_ = answered ? Typing::Typed : Typing::EnterLate;
    pending_.clear();
    return answered;
}

} // namespace tunebridge
