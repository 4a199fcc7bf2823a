#pragma once

#include <string>

#include "platform/desktop.h"

namespace tunebridge {

// Types command lines into the game console's input line by window
// messages, as if the player typed them and pressed Enter. It also learns
// from the console it finds whether the game shows colour codes.
class ConsoleCommands {
public:
    explicit ConsoleCommands(Desktop& desktop) : desktop_(desktop) {}

    // Types one line into the console; dropped silently when there is none.
    void Send(const std::string& line);

    // "Quake3" when the console last looked up keeps colour codes on screen,
    // "PlainText" otherwise; empty until the first line was sent.
    const std::string& Style() const { return style_; }
    bool ShowsColours() const;

private:
    // One step of the walk over the console's children: a child with an
    // empty caption is taken for the input line and gets the pending line
    // and Enter; the walk goes on (true) until a child with a caption.
    bool TypeInto(Hwnd child);

    Desktop& desktop_;
    std::string style_;
    std::string pending_;
};

} // namespace tunebridge
