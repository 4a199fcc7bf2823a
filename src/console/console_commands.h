#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "platform/desktop.h"

namespace tunebridge {

// Types command lines into the game console's input line by window
// messages, as if the player typed them and pressed Enter, one at a time.
// It also learns from the console it finds whether the game shows colour
// codes.
//
// The game keeps typed lines in a command buffer of 512 bytes until it takes
// them between two frames, and a line typed while the buffer is nearly full
// crashes it. So every line waits in a queue, in order, and the next is
// typed only once the game has taken the previous one: when the output pane
// has grown by more than that line's echo (the game ran it and printed), or
// after kTakenMs.
class ConsoleCommands {
public:
    explicit ConsoleCommands(Desktop& desktop) : desktop_(desktop) {}

    // Queues one line for the console; dropped silently when there is none.
    void Send(const std::string& line);
    // Types the next queued line when the game has taken the previous one
    // and the console answers in time. `pane` is the console's output pane
    // (0 when it has none: then only the time tells).
    void TypeNext(Hwnd pane);
    // The console went away: its lines go with it.
    void Forget();
    // Lines not typed yet.
    std::size_t Waiting() const { return queue_.size(); }

    // "Quake3" when the console last looked up keeps colour codes on screen,
    // "PlainText" otherwise; empty until the first line was sent.
    const std::string& Style() const { return style_; }
    bool ShowsColours() const;

    // After this long a typed line counts as taken, although the pane did
    // not change: some commands ("clear") print nothing.
    static constexpr std::uint64_t kTakenMs = 250;

private:
    enum class Typing { NoInputLine, Typed, EnterLate, NoAnswer };

    // Whether the game has taken the line typed last, given the pane's
    // length just read (nothing without a pane).
    bool TakenByNow(std::optional<std::int32_t> length);
    // One step of the walk over the console's children: a child with an
    // empty caption is taken for the input line and gets the pending line
    // and Enter; the walk goes on (true) until a child with a caption.
    bool TypeInto(Hwnd child);
    // The pending line and Enter into the input line; false when the console
    // did not answer in time.
    bool Type(Hwnd input);

    Desktop& desktop_;
    std::string style_;
    std::deque<std::string> queue_;
    std::string pending_;
    Typing typing_ = Typing::NoInputLine;
    // The line typed last, until the game is known to have taken it: when it
    // was typed, the pane's length before it (nothing without a pane), what
    // its echo adds, and whether its Enter landed only after giving up.
    bool awaitingTaken_ = false;
    std::uint64_t typedAt_ = 0;
    std::optional<std::int32_t> typedFrom_;
    std::int64_t echoChars_ = 0;
    bool enterLate_ = false;
};

} // namespace tunebridge
