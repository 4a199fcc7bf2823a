#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/console_commands.h"
#include "platform/desktop.h"
#include "settings/settings.h"
#include "winamp/player_remote.h"
#include "winamp/player_requests.h"

namespace tunebridge {

// The date-time the announcer treats as "never": day zero of the OLE date
// scale, 1899-12-30 00:00:00.
inline constexpr std::chrono::sys_seconds kNeverAnnounced{std::chrono::seconds{-2209161600LL}};

// Minutes and seconds of the play time, coloured when the console shows
// colours; negative seconds become 0, also in the caller's variable.
std::string FormatTime(std::int16_t& seconds, bool colours, const Settings& settings);

// How the track line begins where the game prints it.
inline constexpr std::string_view kTrackLinePrinted = "Winamp : ";

// Types the track line into the game console whenever the player's track or
// state changes and, when the player chose so, every few seconds.
class TrackAnnouncer {
public:
    TrackAnnouncer(Desktop& desktop, ConsoleCommands& console, PlayerRequests& player, const Settings& settings)
        : desktop_(desktop), console_(console), player_(player), settings_(settings) {}

    // One tick, from the player's caption as the main window shows it.
    // `trackLine` receives the line's coloured body. Yields on the way.
    void Tick(const std::string& playerCaption, std::string& trackLine);

private:
    // A track's text in the line's three parts: its number ("3. S", sharing
    // one character with the title), the title with every word coloured, and
    // its end (the play state); the title is what a long line shortens.
    struct TrackText {
        std::string numberPart;
        std::string title;
        std::string end;
    };
    // The play state at the end of the caption, tagged in colours or as it is.
    TrackText SplitState(const std::string& untagged, bool coloured) const;
    // Every play state in the text as its coloured tag.
    std::string Tagged(const std::string& text) const;
    TrackText Split(const std::string& untagged) const;
    char TitleDigit() const;
    std::string ColouredCommand(const TrackText& text) const;

    Desktop& desktop_;
    ConsoleCommands& console_;
    PlayerRequests& player_;
    const Settings& settings_;
    // The tagged track text of the previous tick, and the last announcement.
    std::string lastTrack_;
    std::chrono::sys_seconds lastAnnounced_ = kNeverAnnounced;
    // The time texts, kept from the tick before when a tick cannot form them.
    std::string timePart_;
    std::string plainTime_;
};

// The main window's player readout: the caption into `playerCaption`, the
// playing position into `lastAnswer`; the message when no player window
// was found at start-up. Yields at the end.
void ReadOutPlayer(Desktop& desktop, PlayerRequests& requests, PlayerRemote& remote, std::string& playerCaption,
                   std::string& lastAnswer);

} // namespace tunebridge
