#include "announce/playlist.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "announce/winamp_suffix.h"
#include "console/engine_text.h"
#include "core/leading_number.h"
#include "core/runtime_error.h"
#include "core/text.h"

namespace tunebridge {
namespace {

constexpr std::string_view kLinePrefix = "echo ^1Playlist ^7: ^1";
// Entries show in the colour the prefix ends with.
constexpr char kEntryColour = kLinePrefix.back();
constexpr const char* kTooLongLine = "echo ^1Playlist ^7: ^1The playlist has too many entries to list.";

// The entry number Winamp shows in front of a caption: the leading number of
// its first `n` characters, rounded into 16 bits (an overflow error beyond).
std::int16_t EntryNumber(const std::string& caption, std::size_t n) {
    return RoundToInt16(LeadingNumber(std::string_view(caption).substr(0, n)));
}

// Whether the caption shows entry `entry`.
bool ShowsEntry(const std::string& caption, std::int16_t entry) {
    try {
        return EntryNumber(caption, NumberPartLength(caption)) == entry;
    } catch (const RuntimeError&) {
        return false;
    }
}

} // namespace

// Winamp tells a playlist entry's title only through its caption while that
// entry plays, so every entry is played once; all messages go out before the
// first console line so that Winamp is back where it was as soon as possible.
void EchoPlaylist(Desktop& desktop, ConsoleCommands& console, PlayerRemote& remote, PlayerRequests& requests,
                  std::string& lastAnswer) {
    const auto send = [&](PlayerOperation operation) { lastAnswer = std::to_string(remote.Send(operation)); };

    const std::string startCaption = remote.Caption();
    const bool numbered = startCaption.find('.') != std::string::npos;
    const std::size_t startWidth = NumberPartLength(startCaption);
    // An entry number beyond 16 bits cannot be walked. Saying so in the
    // console, instead of failing, also gives the poller new text, so the
    // marker is not acted on again at every tick.
    std::int16_t startEntry = 0;
    try {
        startEntry = EntryNumber(startCaption, startWidth);
    } catch (const RuntimeError&) {
        console.Send(kTooLongLine);
        return;
    }
    const std::int32_t savedSecond = requests.PlayingSeconds();

    send(PlayerOperation::TrackStop);
    send(PlayerOperation::ListEnd);

    // The last entry's number is read up to its own ".": it may have more
    // digits than the starting one (entry 5 of 1000), and a width taken from
    // the starting caption would cut it ("100").
    const std::string endCaption = remote.Caption();
    const std::size_t endWidth = endCaption.find('.') != std::string::npos ? NumberPartLength(endCaption) : startWidth;
    std::int16_t lastEntry = 0;
    bool tooLong = false;
    try {
        if (numbered) lastEntry = EntryNumber(endCaption, endWidth);
    } catch (const RuntimeError&) {
        tooLong = true;  // the player is still put back where it was below
    }

    // A caption can claim any entry number up to 32767: the list grows with it.
    std::vector<std::string> entries;
    if (lastEntry > 0) entries.reserve(static_cast<std::size_t>(lastEntry));
    for (int i = 0; i < lastEntry; ++i) {
        requests.SetPlaylistPos(static_cast<std::int16_t>(i));
        send(PlayerOperation::TrackPlay);
        // A player closed halfway shows no caption: the entries read so far are listed.
        const std::string caption = remote.Caption();
        if (caption.empty()) break;
        entries.push_back(ReplaceAll(caption, kWinampSuffix, ""));
    }

    send(PlayerOperation::ListStart);
    for (int step = 1; step < startEntry; ++step) send(PlayerOperation::TrackNext);
    // With shuffle on, "next" goes to a random entry: the walk back lands
    // elsewhere and the saved second would be applied to the wrong song.
    if (numbered && startEntry >= 1 && !ShowsEntry(remote.Caption(), startEntry)) {
        requests.SetPlaylistPos(static_cast<std::int16_t>(startEntry - 1));
        send(PlayerOperation::TrackPlay);
    }

    requests.JumpToTime(savedSecond, 0);

    send(PlayerOperation::TrackPause);
    send(PlayerOperation::TrackPause);

    if (tooLong) console.Send(kTooLongLine);
    for (const std::string& entry : entries)
        console.Send(FitLine(kLinePrefix, ReadableByEngine(desktop, entry, kEntryColour), ""));
}

} // namespace tunebridge
