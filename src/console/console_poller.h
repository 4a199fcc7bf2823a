#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_commands.h"
#include "platform/desktop.h"

namespace tunebridge {

// What the poller shows on the main window.
struct ConsoleReadout {
    std::string newestText;  // the newest 49 characters of the console's text
    std::string status;      // the game's state when no console runs
};

// Watches the game console's output pane: reads all text added since its
// last look, clears a console that grew too long, answers the renderer's
// start with "name", notices the player's playlist marker, and has the
// queued command lines typed.
class ConsolePoller {
public:
    // `ownLineStarts`: how the lines the program prints itself begin in the
    // pane; a marker in them (a title holding it) is not the player's.
    ConsolePoller(Desktop& desktop, ConsoleCommands& commands, std::vector<std::string> ownLineStarts = {})
        : desktop_(desktop), commands_(commands), ownLineStarts_(std::move(ownLineStarts)) {}

    // One tick. `uniqueWord` followed by ":Playlist" in the new text calls
    // `onPlaylistRequest`. Yields to the message loop on the way.
    void Tick(const std::string& uniqueWord, ConsoleReadout& readout, const std::function<void()>& onPlaylistRequest);

    // Forgets the pane and what was seen of it; the console window stays.
    void ResetOutput();

private:
    struct Markers {
        bool rendererReady = false;
        bool playlist = false;
    };

    // Reads the pane's text, notes what was seen and shows its newest part:
    // the markers in what is new; nothing when the console did not answer.
    std::optional<Markers> ReadNewText(std::int32_t length, const std::string& uniqueWord, ConsoleReadout& readout);
    // Where the text not seen before starts in `text`, the pane's text now.
    std::size_t UnseenFrom(const std::string& text) const;
    Markers FindMarkers(const std::string& text, std::size_t from, const std::string& uniqueWord) const;
    bool IsOwnLine(std::string_view line) const;
    void ForgetConsole();

    Desktop& desktop_;
    ConsoleCommands& commands_;
    const std::vector<std::string> ownLineStarts_;
    Hwnd console_ = 0;
    Hwnd outputPane_ = 0;
    // What was seen of the pane: the length it answered, its text's length
    // and last characters, which tell where the new text starts once the
    // game has cut its text.
    std::int32_t lengthRead_ = 0;
    std::size_t seenLength_ = 0;
    std::string seenEnd_;
    bool clearTyped_ = false;
    // A console that did not answer is left alone until then.
    std::uint64_t quietUntil_ = 0;
};

} // namespace tunebridge
