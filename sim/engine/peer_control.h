#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/console_engine.h"
#include "engine/mbm_layout.h"
#include "engine/player_engine.h"

namespace tunebridge::peers {

// WM_COPYDATA dwData that marks a control command for a simulated peer.
constexpr std::uint32_t kPeerControlTag = 0x54420001;

// Each returns whether the command was understood (the peer answers 1) and
// applies it.
// "print <text>", "prefill <N>", "stall <ms>", "vid_restart", "quit"
bool ApplyConsoleControl(ConsoleEngine& console, const std::string& command);
// "position <ms>", "index <n>", "state playing|paused|stopped", "playlist <file>",
// "shuffle on|off"
bool ApplyPlayerControl(PlayerEngine& player, const std::string& command);
// "temp <int>", "fan <int>", "version <text>", "temp-name <text>", "fan-name <text>"
bool ApplyMbmControl(MbmReadings& readings, const std::string& command);

std::optional<std::int32_t> ParseInt32(const std::string& text);
// The number of a "<word> <number>" command; nothing for any other command.
std::optional<std::int32_t> CommandNumber(const std::string& command, const std::string& word);
// "playing", "paused" or "stopped", as the command line and the control commands name them.
std::string PlayerStateName(PlayerState state);
std::optional<PlayerState> ParsePlayerState(const std::string& text);
// One title per line; line ends "\n" or "\r\n"; blank lines skipped.
std::optional<std::vector<std::string>> ReadPlaylistFile(const std::string& path);

} // namespace tunebridge::peers
