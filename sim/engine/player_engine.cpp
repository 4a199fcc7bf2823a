#include "engine/player_engine.h"

#include <algorithm>

namespace tunebridge::peers {
namespace {

constexpr int kVolumeStep = 4;
constexpr int kVolumeMax = 255;
constexpr std::int32_t kEntryLengthMs = kEntryLengthSeconds * 1000;

}  // namespace

std::string PlayerLogRecord(const PlayerMessage& message) {
    return "MSG " + std::to_string(message.msg) + " " + std::to_string(message.wParam) + " " +
           std::to_string(message.lParam);
}

PlayerEngine::PlayerEngine(std::vector<std::string> titles, int index, PlayerState state, std::int32_t positionMs)
    : titles_(std::move(titles)), state_(state), positionMs_(positionMs) {
    SetIndex(index);
}

std::int32_t PlayerEngine::Receive(unsigned msg, std::uint32_t wParam, std::int32_t lParam) {
    if (msg != kPlayerWmCommand && msg != kPlayerWmUser) return 0;
    received_.push_back(PlayerMessage{msg, wParam, lParam});
    if (onLog) onLog(PlayerLogRecord(received_.back()));
    // Command ids travel in the low word; the high word tells menus from accelerators.
    return msg == kPlayerWmCommand ? Command(wParam & 0xFFFFu) : Request(wParam, lParam);
}

std::int32_t PlayerEngine::Command(std::uint32_t id) {
    namespace c = player_command;
    switch (id) {
    case c::kPlay:
        state_ = PlayerState::playing;
        positionMs_ = 0;
        break;
    case c::kPause:
        if (state_ == PlayerState::playing) {
            state_ = PlayerState::paused;
        } else if (state_ == PlayerState::paused) {
            state_ = PlayerState::playing;
        }
        break;
    case c::kStop:
    case c::kFadeOut:
        state_ = PlayerState::stopped;
        positionMs_ = 0;
        break;
    case c::kNext:
        MoveTo(NextIndex(false));
        break;
    case c::kPrevious:
        MoveTo(std::max(index_ - 1, 0));
        break;
    case c::kListStart:
        MoveTo(0);
        break;
    case c::kListEnd:
        MoveTo(LastIndex());
        break;
    case c::kFastForward:
        // Never past the entry's end, nor back from a position a test put beyond it.
        positionMs_ = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{positionMs_} + kSkipMs,
                                                                       std::max(positionMs_, kEntryLengthMs)));
        break;
    case c::kFastRewind:
        positionMs_ = static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t{positionMs_} - kSkipMs, 0));
        break;
    case c::kVolumeUp:
        volume_ = std::min(volume_ + kVolumeStep, kVolumeMax);
        break;
    case c::kVolumeDown:
        volume_ = std::max(volume_ - kVolumeStep, 0);
        break;
    default:
        break;
    }
    return 0;
}

std::int32_t PlayerEngine::Request(std::uint32_t wParam, std::int32_t request) {
    namespace r = player_request;
    switch (request) {
    case r::kVersion:
        return kPlayerVersion;
    case r::kState:
        return static_cast<std::int32_t>(state_);
    case r::kPositionOrLength:
        if (wParam == 0) return positionMs_;
        if (wParam == 1) return titles_.empty() ? -1 : kEntryLengthSeconds;
        return 0;
    case r::kSeek:
        positionMs_ = static_cast<std::int32_t>(wParam);
        return 0;
    case r::kSetIndex: {
        const auto wanted = static_cast<std::int32_t>(wParam);
        if (wanted >= 0 && wanted < static_cast<std::int32_t>(titles_.size())) MoveTo(wanted);
        return 0;
    }
    case r::kCount:
        return static_cast<std::int32_t>(titles_.size());
    case r::kIndex:
        return index_;
    default:
        return 0;
    }
}

void PlayerEngine::MoveTo(int index) {
    index_ = index;
    positionMs_ = 0;
}

int PlayerEngine::NextIndex(bool wrap) {
    if (shuffle_ && titles_.size() > 1) {
        const auto other = static_cast<int>(random_() % (titles_.size() - 1));
        return other < index_ ? other : other + 1;
    }
    if (index_ < LastIndex()) return index_ + 1;
    return wrap ? 0 : index_;
}

std::string PlayerEngine::Caption() const {
    std::string caption = titles_.empty()
        ? std::string("Winamp")
        : std::to_string(index_ + 1) + ". " + titles_[static_cast<std::size_t>(index_)] + " - Winamp";
    if (state_ == PlayerState::paused) caption += " [Paused]";
    if (state_ == PlayerState::stopped) caption += " [Stopped]";
    return caption;
}

void PlayerEngine::SetPlaylist(std::vector<std::string> titles) {
    titles_ = std::move(titles);
    SetIndex(index_);
}

void PlayerEngine::SetIndex(int index) { index_ = std::clamp(index, 0, LastIndex()); }

void PlayerEngine::Advance(std::int64_t elapsedMs) {
    if (state_ != PlayerState::playing || titles_.empty() || elapsedMs <= 0) return;
    std::int64_t position = positionMs_ + elapsedMs;
    while (position >= kEntryLengthMs) {
        position -= kEntryLengthMs;
        index_ = NextIndex(true);
    }
    positionMs_ = static_cast<std::int32_t>(position);
}

}  // namespace tunebridge::peers
