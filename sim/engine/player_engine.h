#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace tunebridge::peers {

// Values are the player's own answers to the state request.
enum class PlayerState { stopped = 0, playing = 1, paused = 3 };

constexpr unsigned kPlayerWmCommand = 0x0111;
constexpr unsigned kPlayerWmUser = 0x0400;

// The player's command ids and requests that the remote control uses.
namespace player_command {
constexpr std::uint32_t kPrevious = 40044;
constexpr std::uint32_t kPlay = 40045;
constexpr std::uint32_t kPause = 40046;
constexpr std::uint32_t kStop = 40047;
constexpr std::uint32_t kNext = 40048;
constexpr std::uint32_t kVolumeUp = 40058;
constexpr std::uint32_t kVolumeDown = 40059;
constexpr std::uint32_t kFastRewind = 40144;
constexpr std::uint32_t kFadeOut = 40147;
constexpr std::uint32_t kFastForward = 40148;
constexpr std::uint32_t kListStart = 40154;
constexpr std::uint32_t kListEnd = 40158;
}  // namespace player_command

namespace player_request {
constexpr std::int32_t kVersion = 0;
constexpr std::int32_t kState = 104;
constexpr std::int32_t kPositionOrLength = 105;
constexpr std::int32_t kSeek = 106;
constexpr std::int32_t kSetIndex = 121;
constexpr std::int32_t kCount = 124;
constexpr std::int32_t kIndex = 125;
}  // namespace player_request

constexpr std::int32_t kPlayerVersion = 0x5010;
// The same shuffle order in every run, so a test can repeat what it saw.
constexpr std::uint32_t kShuffleSeed = 1;
constexpr std::int32_t kEntryLengthSeconds = 180;
constexpr std::int32_t kSkipMs = 5000;

struct PlayerMessage {
    unsigned msg = 0;
    std::uint32_t wParam = 0;
    std::int32_t lParam = 0;

    friend bool operator==(const PlayerMessage&, const PlayerMessage&) = default;
};

// "MSG <message> <wParam unsigned> <lParam signed>"
std::string PlayerLogRecord(const PlayerMessage& message);

// The music player's main window behaviour: a playlist, the current entry,
// the play state and position, and the caption that shows them.
class PlayerEngine {
public:
    explicit PlayerEngine(std::vector<std::string> titles = {}, int index = 0,
                          PlayerState state = PlayerState::playing, std::int32_t positionMs = 0);

    // WM_COMMAND and WM_USER, answered as the player does; every one is
    // recorded. Other messages are not the player's business: answer 0.
    std::int32_t Receive(unsigned msg, std::uint32_t wParam, std::int32_t lParam);

    // "<n>. <title> - Winamp", " [Paused]" or " [Stopped]" appended.
    std::string Caption() const;

    void SetPlaylist(std::vector<std::string> titles);  // keeps the index when it still fits
    const std::vector<std::string>& Playlist() const { return titles_; }
    void SetIndex(int index);  // clamped to the playlist
    int Index() const { return index_; }
    void SetState(PlayerState state) { state_ = state; }
    PlayerState State() const { return state_; }
    void SetPosition(std::int32_t positionMs) { positionMs_ = positionMs; }
    // With shuffle on, "next" and the end of an entry go to a random other
    // entry, as the player does.
    void SetShuffle(bool shuffle) { shuffle_ = shuffle; }
    bool Shuffle() const { return shuffle_; }
    std::int32_t Position() const { return positionMs_; }
    int Volume() const { return volume_; }

    // Real time passing: the position grows while playing, and an entry
    // that ends gives way to the next one (the list wraps around).
    void Advance(std::int64_t elapsedMs);

    const std::vector<PlayerMessage>& Received() const { return received_; }
    void ClearReceived() { received_.clear(); }
    std::function<void(const std::string&)> onLog;

private:
    std::int32_t Command(std::uint32_t id);
    std::int32_t Request(std::uint32_t wParam, std::int32_t request);
    void MoveTo(int index);
    // The entry after the current one: the next in the list (none after the
    // last when `wrap` is false), a random other one with shuffle on.
    int NextIndex(bool wrap);
    int LastIndex() const { return titles_.empty() ? 0 : static_cast<int>(titles_.size()) - 1; }

    std::vector<std::string> titles_;
    int index_ = 0;
    PlayerState state_ = PlayerState::playing;
    std::int32_t positionMs_ = 0;
    int volume_ = 200;
    bool shuffle_ = false;
    std::minstd_rand random_{kShuffleSeed};
    std::vector<PlayerMessage> received_;
};

} // namespace tunebridge::peers
