#include "engine/peer_control.h"

#include <charconv>
#include <fstream>

namespace tunebridge::peers {
namespace {

// The command's first word and everything after the blank that ends it.
struct Verb {
    std::string word;
    std::string rest;
};

Verb SplitVerb(const std::string& command) {
    const std::size_t blank = command.find(' ');
    if (blank == std::string::npos) return {command, {}};
    return {command.substr(0, blank), command.substr(blank + 1)};
}

}  // namespace

std::optional<std::int32_t> ParseInt32(const std::string& text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || at != end || text.empty()) return std::nullopt;
    return value;
}

std::optional<std::int32_t> CommandNumber(const std::string& command, const std::string& word) {
    const Verb verb = SplitVerb(command);
    return verb.word == word ? ParseInt32(verb.rest) : std::nullopt;
}

std::string PlayerStateName(PlayerState state) {
    return state == PlayerState::playing ? "playing" : state == PlayerState::paused ? "paused" : "stopped";
}

std::optional<PlayerState> ParsePlayerState(const std::string& text) {
    for (const PlayerState state : {PlayerState::playing, PlayerState::paused, PlayerState::stopped}) {
        if (PlayerStateName(state) == text) return state;
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> ReadPlaylistFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<std::string> titles;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) titles.push_back(line);
    }
    return titles;
}

bool ApplyConsoleControl(ConsoleEngine& console, const std::string& command) {
    const Verb verb = SplitVerb(command);
    if (verb.word == "print") {
        console.Print(verb.rest);
        return true;
    }
    if (verb.word == "prefill") {
        const auto chars = ParseInt32(verb.rest);
        if (!chars || *chars < 0) return false;
        console.Prefill(static_cast<std::size_t>(*chars));
        return true;
    }
    if (verb.word == "stall") {
        const auto ms = ParseInt32(verb.rest);
        if (!ms || *ms < 0) return false;
        console.Stall(*ms);
        return true;
    }
    if (command == "vid_restart") {
        console.VidRestart();
        return true;
    }
    if (command == "quit") {
        console.Close();
        return true;
    }
    return false;
}

bool ApplyPlayerControl(PlayerEngine& player, const std::string& command) {
    const Verb verb = SplitVerb(command);
    if (verb.word == "position") {
        const auto ms = ParseInt32(verb.rest);
        if (ms) player.SetPosition(*ms);
        return ms.has_value();
    }
    if (verb.word == "index") {
        const auto index = ParseInt32(verb.rest);
        if (index) player.SetIndex(*index);
        return index.has_value();
    }
    if (verb.word == "state") {
        const auto state = ParsePlayerState(verb.rest);
        if (state) player.SetState(*state);
        return state.has_value();
    }
    if (verb.word == "playlist") {
        auto titles = ReadPlaylistFile(verb.rest);
        if (titles) player.SetPlaylist(std::move(*titles));
        return titles.has_value();
    }
    if (verb.word == "shuffle" && (verb.rest == "on" || verb.rest == "off")) {
        player.SetShuffle(verb.rest == "on");
        return true;
    }
    return false;
}

bool ApplyMbmControl(MbmReadings& readings, const std::string& command) {
    const Verb verb = SplitVerb(command);
    if (verb.word == "temp" || verb.word == "fan") {
        const auto value = ParseInt32(verb.rest);
        if (value) (verb.word == "temp" ? readings.temperature : readings.fan) = *value;
        return value.has_value();
    }
    if (verb.word == "version") {
        readings.version = verb.rest;
        return true;
    }
    if (verb.word == "temp-name") {
        readings.temperatureName = verb.rest;
        return true;
    }
    if (verb.word == "fan-name") {
        readings.fanName = verb.rest;
        return true;
    }
    return false;
}

}  // namespace tunebridge::peers
