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

// The console's echo of a typed line: a typed bind or title is not a marker.
constexpr char kTypedLineEcho = ']';

constexpr std::size_t kShownChars = 49;
// Enough of the seen text to be found again once the game cut its text,
// and long enough not to be found in the repeated lines of a busy server.
constexpr std::size_t kSeenEndChars = 1024;
// How long a console that did not answer is left alone: the hotkeys run meanwhile.
constexpr std::uint64_t kQuietMs = 100;

bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
    const auto found = std::search(text.begin(), text.end(), word.begin(), word.end(),
                                   [](char a, char b) { return FoldAsciiCase(a) == FoldAsciiCase(b); });
    return found != text.end();
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

void ConsolePoller::Tick(const std::string& uniqueWord, ConsoleReadout& readout,
                         const std::function<void()>& onPlaylistRequest) {
    desktop_.DoEvents();
    if (desktop_.TickCountMs() < quietUntil_) return;

    if (console_ == 0) console_ = FindConsoleForPoller(desktop_);
    if (console_ == 0) {
        ForgetConsole();
        readout.status = kNotRunning;
        return;
    }

    if (outputPane_ == 0) outputPane_ = LocateOutputPane(desktop_, console_);
    if (outputPane_ == 0 && !desktop_.IsWindow(console_)) {
        ForgetConsole();
        return;
    }
    const auto length = outputPane_ != 0 ? ReadTextLength(desktop_, outputPane_) : std::optional<std::int32_t>(0);
    if (!length) {
        // A game that ended leaves dead handles behind; forgetting them lets
        // the next game's console be found at the next tick. A live one is
        // busy (loading a map) and is asked again a little later.
        if (!desktop_.IsWindow(console_)) {
            ForgetConsole();
        } else {
            quietUntil_ = desktop_.TickCountMs() + kQuietMs;
        }
        return;
    }

    if (*length >= kOutputLimit) {
        // Typed once: the game takes a moment to run it.
        if (!clearTyped_) {
            desktop_.DoEvents();
            commands_.Send(kClearCommand);
            clearTyped_ = true;
        }
    } else if (*length > 0 && *length != lengthRead_) {
        clearTyped_ = false;
        desktop_.DoEvents();
        const auto markers = ReadNewText(*length, uniqueWord, readout);
        if (!markers) return;
        if (markers->rendererReady) {
            desktop_.DoEvents();
            commands_.Send(kNameCommand);
        }
        if (markers->playlist) {
            desktop_.DoEvents();
            onPlaylistRequest();
        }
    }
    commands_.TypeNext(outputPane_);
}

std::optional<ConsolePoller::Markers> ConsolePoller::ReadNewText(std::int32_t length, const std::string& uniqueWord,
                                                                ConsoleReadout& readout) {
    const auto text = ReadWindowText(desktop_, outputPane_, length);
    if (!text) return std::nullopt;
    // A length no pane can have reads as no text: nothing seen changes.
    if (text->empty()) return Markers{};
    const Markers markers = FindMarkers(*text, UnseenFrom(*text), uniqueWord);
    lengthRead_ = length;
    seenLength_ = text->size();
    seenEnd_ = text->substr(text->size() - std::min(text->size(), kSeenEndChars));
    readout.newestText = text->substr(text->size() - std::min(text->size(), kShownChars));
    return markers;
}

std::size_t ConsolePoller::UnseenFrom(const std::string& text) const {
    if (seenEnd_.empty()) return 0;
    // Grown as usual: what was seen is still where it was.
    if (text.size() >= seenLength_ && text.compare(seenLength_ - seenEnd_.size(), seenEnd_.size(), seenEnd_) == 0) {
        return seenLength_;
    }
    // The game cut its text: what was seen last may still be there, the
    // older part of the text before it (the last place it shows: anything
    // earlier was seen already). Else the game wiped it all.
    const std::size_t at = text.rfind(seenEnd_);
    return at == std::string::npos ? 0 : at + seenEnd_.size();
}

ConsolePoller::Markers ConsolePoller::FindMarkers(const std::string& text, std::size_t from,
                                                  const std::string& uniqueWord) const {
    Markers markers;
    const std::string playlistMarker = uniqueWord + kPlaylistMarker;
    while (from < text.size()) {
        std::size_t lineStart = from;
        while (lineStart > 0 && !IsLineBreak(text[lineStart - 1])) --lineStart;
        std::size_t lineEnd = from;
        while (lineEnd < text.size() && !IsLineBreak(text[lineEnd])) ++lineEnd;
        // Only the new part of a line is searched: the rest acted before.
        const std::string_view line(text.data() + lineStart, lineEnd - lineStart);
        if (!line.empty() && line.front() != kTypedLineEcho && !IsOwnLine(line)) {
            const std::string_view unseen(text.data() + from, lineEnd - from);
            markers.rendererReady |= ContainsIgnoringCase(unseen, kRendererReady);
            markers.playlist |= ContainsIgnoringCase(unseen, playlistMarker);
        }
        from = lineEnd + 1;
    }
    return markers;
}

bool ConsolePoller::IsOwnLine(std::string_view line) const {
    return std::ranges::any_of(ownLineStarts_, [line](const std::string& start) { return line.starts_with(start); });
}

void ConsolePoller::ForgetConsole() {
    console_ = 0;
    ResetOutput();
    // Lines for a game that quit are not typed into the next one.
    commands_.Forget();
}

void ConsolePoller::ResetOutput() {
    // A marker seen in a console that went away must not act in the next one.
    outputPane_ = 0;
    lengthRead_ = 0;
    seenLength_ = 0;
    seenEnd_.clear();
    clearTyped_ = false;
    quietUntil_ = 0;
}

}  // namespace tunebridge
