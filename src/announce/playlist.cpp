#include "announce/playlist.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "announce/leading_number.h"
#include "announce/playing_seconds.h"
#include "announce/replace_all.h"
#include "announce/winamp_suffix.h"
#include "app/runtime_error.h"
#include "console/console_command.h"
#include "winamp/winamp_requests.h"

namespace tunebridge {
namespace {

constexpr const char* kLinePrefix = "echo ^1Playlist ^7: ^1";
constexpr const char* kTooLongLine = "echo ^1Playlist ^7: ^1The playlist has too many entries to list.";

// The entry number Winamp shows in front of a caption: the leading number of
// its first `n` characters, rounded into 16 bits (an overflow error beyond).
std::int16_t EntryNumber(const std::string& caption, std::size_t n) {
    return RoundToInt16(LeadingNumber(std::string_view(caption).substr(0, n)));
}

} // namespace

// Winamp tells a playlist entry's title only through its caption while that
// entry plays, so every entry is played once; all messages go out before the
// first console line so that Winamp is back where it was as soon as possible.
void Playlist(Desktop& desktop, SharedState& state, FormControls& form, clsWinamp& winamp) {
    const std::string startCaption = winamp.GetWinampTitle();
    const std::size_t dot = startCaption.find('.');
    const std::size_t p = dot == std::string::npos ? 0 : dot + 1;
    // An entry number beyond 16 bits cannot be walked. Saying so in the
    // console, instead of failing, also gives the poller new text, so the
    // marker is not acted on again at every tick.
    std::int16_t startEntry = 0;
    try {
        startEntry = EntryNumber(startCaption, p + 1);
    } catch (const RuntimeError&) {
        SendConsoleCommand(desktop, state, kTooLongLine);
        return;
    }
    const std::int32_t savedSecond = PlayingSeconds(desktop, state);

    form.lblretval = std::to_string(winamp.TrackStop());
    form.lblretval = std::to_string(winamp.ListEnd());

    // The last entry's number is read up to its own ".": it may have more
    // digits than the starting one (entry 5 of 1000), and a width taken from
    // the starting caption would cut it ("100").
    const std::string endCaption = winamp.GetWinampTitle();
    const std::size_t endDot = endCaption.find('.');
    const std::size_t endWidth = endDot == std::string::npos ? p + 1 : endDot + 2;
    std::int16_t lastEntry = 0;
    bool tooLong = false;
    try {
        if (p != 0) lastEntry = EntryNumber(endCaption, endWidth);
    } catch (const RuntimeError&) {
        tooLong = true;  // Winamp is still put back where it was below
    }

    // A caption can claim any entry number up to 32767: the list grows with it.
    std::vector<std::string> entries;
    if (lastEntry > 0) entries.reserve(static_cast<std::size_t>(lastEntry));
    for (int i = 0; i < lastEntry; ++i) {
        WinampSetPlaylistPos(desktop, state, static_cast<std::int16_t>(i));
        form.lblretval = std::to_string(winamp.TrackPlay());
        entries.push_back(ReplaceAll(winamp.GetWinampTitle(), kWinampSuffix, ""));
    }

    form.lblretval = std::to_string(winamp.ListStart());
    for (int step = 1; step < startEntry; ++step) form.lblretval = std::to_string(winamp.TrackNext());

    WinampJumpToTime(desktop, state, savedSecond, 0);

    form.lblretval = std::to_string(winamp.TrackPause());
    form.lblretval = std::to_string(winamp.TrackPause());

    if (tooLong) SendConsoleCommand(desktop, state, kTooLongLine);
    for (const std::string& entry : entries) SendConsoleCommand(desktop, state, kLinePrefix + entry);
}

} // namespace tunebridge
