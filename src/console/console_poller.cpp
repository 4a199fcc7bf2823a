#include "console/console_poller.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "console/console_window.h"
#include "core/text.h"

namespace tunebridge {

namespace {

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

void ConsolePoller::Tick(const std::string& uniqueWord, ConsoleReadout& readout,
                         const std::function<void()>& onPlaylistRequest) {
    desktop_.DoEvents();

    if (console_ == 0) console_ = FindConsoleForPoller(desktop_);
    if (console_ == 0) {
        ResetOutput();
        readout.status = kNotRunning;
        return;
    }

    if (outputPane_ == 0) outputPane_ = LocateOutputPane(desktop_, console_);
    length_ = OutputLength(desktop_, outputPane_);
    // A game that ended leaves dead handles behind, and its pane's length
    // reads 0 as an empty pane's does: only then is the console asked
    // whether it still exists, not at every tick. Forgetting a dead one lets
    // the next game's console be found at the next tick.
    if (length_ == 0 && !desktop_.IsWindow(console_)) {
        console_ = 0;
        ResetOutput();
        return;
    }
    // The text shrank: the game wiped its buffer (it does so past 32 K
    // characters, and on "clear"). What is there now is all new.
    if (length_ < seenLength_) seenLength_ = 0;

    if (length_ >= kOutputLimit) {
        desktop_.DoEvents();
        commands_.Send(kClearCommand);
        length_ = OutputLength(desktop_, outputPane_);
        seenLength_ = length_;
        return;
    }

    if (seenLength_ < length_) {
        desktop_.DoEvents();
        std::string tail = ReadWindowTail(desktop_, outputPane_);
        // One more than the new characters, for the NUL that ends the tail.
        const std::int64_t wanted = std::int64_t{length_} - seenLength_ + 1;
        if (static_cast<std::int64_t>(tail.size()) > wanted) tail.erase(0, tail.size() - static_cast<std::size_t>(wanted));
        tail_ = std::move(tail);
        seenLength_ = length_;
        readout.newestText = CutAtNul(tail_);
    }

    if (ContainsIgnoringCase(tail_, kRendererReady)) {
        desktop_.DoEvents();
        commands_.Send(kNameCommand);
    } else if (ContainsIgnoringCase(tail_, uniqueWord + kPlaylistMarker)) {
        desktop_.DoEvents();
        onPlaylistRequest();
    }
}

void ConsolePoller::ResetOutput() {
    // A marker in the tail of a console that went away must not act in the next one.
    tail_.clear();
    outputPane_ = 0;
    seenLength_ = 0;
    length_ = 0;
}

}  // namespace tunebridge
