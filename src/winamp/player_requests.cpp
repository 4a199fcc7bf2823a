#include "winamp/player_requests.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>

#include "core/discard_error.h"
#include "core/runtime_error.h"
#include "core/text.h"

namespace tunebridge {
namespace {

constexpr std::int32_t kIpcSetPlaylistPos = 121;
constexpr std::int32_t kIpcJumpToTime = 106;
constexpr std::uint8_t kModeCleanTitle = 13;
constexpr std::uint8_t kModePositionMs = 4;

struct InfoRequest {
    std::uint8_t mode;
    std::int32_t request;  // lParam
    std::uint32_t argument;  // wParam
};

// The modes that send a request; every other mode but 13 answers empty.
constexpr InfoRequest kInfoRequests[] = {
    {0, 0, 0},     // version
    {1, 101, 0},   // clear the playlist
    {2, 104, 0},   // playback state
    {3, 105, 1},   // track length, seconds
    {4, 105, 0},   // playing position, milliseconds
    {6, 120, 3},   // write the playlist file
    {8, 124, 0},   // playlist length
    {9, 125, 0},   // playlist position
    {10, 126, 0},  // sample rate
    {11, 126, 1},  // bit rate
    {12, 126, 3},  // stream information item 3
};

bool EndsWithNoCase(const std::string& text, const std::string& lowerSuffix) {
    if (text.size() < lowerSuffix.size()) return false;
    return std::equal(lowerSuffix.begin(), lowerSuffix.end(), text.end() - static_cast<std::ptrdiff_t>(lowerSuffix.size()),
                      [](char s, char t) { return s == static_cast<char>(std::tolower(static_cast<unsigned char>(t))); });
}

std::string DropLast(const std::string& text, std::size_t count) {
    if (text.size() < count) throw RuntimeError(kErrInvalidArgument, "Invalid procedure call or argument", "WinampInfo");
    return text.substr(0, text.size() - count);
}

}  // namespace

std::string PlayerRequests::CleanTitle() {
    const Hwnd window = LiveWindow();
    const int length = desktop_.GetWindowTextLengthA(window);
    const std::string caption = desktop_.GetWindowTextA(window, length + 1);
    if (caption == cleanedCaption_) return cleanTitle_;

    std::string title = caption;
    if (EndsWithNoCase(title, "[paused]")) title = DropLast(title, 9);
    title = DropLast(title, 8);
    if (const auto point = title.find('.'); point != std::string::npos) title.erase(0, point + 1);
    title = TrimSpaces(title);

    // Remembered only once cleaned, so a caption that could not be cleaned is
    // not later answered with the title of an older one.
    cleanedCaption_ = caption;
    cleanTitle_ = title;
    return title;
}

PlayerInfoValue PlayerRequests::Info(std::uint8_t mode) {
    try {
        if (mode == kModeCleanTitle) return CleanTitle();
        for (const InfoRequest& r : kInfoRequests) {
            if (r.mode == mode) return desktop_.SendMessageA(LiveWindow(), kWM_USER, r.argument, r.request);
        }
        return {};
    } catch (const RuntimeError& error) {
        DiscardError(error);
        return {};
    }
}

std::int32_t PlayerRequests::SetPlaylistPos(std::int16_t index) {
    try {
        const auto widened = static_cast<std::uint32_t>(static_cast<std::int32_t>(index));
        return desktop_.SendMessageA(LiveWindow(), kWM_USER, widened, kIpcSetPlaylistPos);
    } catch (const RuntimeError& error) {
        DiscardError(error);
        return 0;
    }
}

std::int32_t PlayerRequests::JumpToTime(std::int32_t seconds, std::int32_t milliseconds) {
    const std::int64_t position = static_cast<std::int64_t>(seconds) * 1000 + milliseconds;
    if (position < std::numeric_limits<std::int32_t>::min() || position > std::numeric_limits<std::int32_t>::max())
        throw OverflowError("WinampJumpToTime");
    const auto wParam = static_cast<std::uint32_t>(static_cast<std::int32_t>(position));
    return desktop_.SendMessageA(LiveWindow(), kWM_USER, wParam, kIpcJumpToTime);
}

std::int32_t PlayerRequests::PlayingSeconds() {
    const PlayerInfoValue answer = Info(kModePositionMs);
    const auto* ms = std::get_if<std::int32_t>(&answer);
    if (ms == nullptr) return 0;
    std::int32_t seconds = *ms / 1000;
    if (*ms % 1000 < 0) --seconds;
    return seconds;
}

}  // namespace tunebridge
