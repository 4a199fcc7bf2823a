#include "core/text.h"

#include <algorithm>

namespace tunebridge {
namespace {

constexpr std::size_t kLongestCommand = 32767;
constexpr unsigned char kCleanStringCut = 20;

} // namespace

std::string TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t done = 0;
    for (std::size_t found = text.find(from); found != std::string_view::npos; found = text.find(from, done)) {
        result.append(text.substr(done, found - done));
        result.append(to);
        done = found + from.size();
    }
    result.append(text.substr(done));
    return result;
}

std::string CutAtNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

std::vector<std::uint8_t> ToAnsiBytes(std::string_view text) {
    const std::size_t length = std::min(text.size(), kLongestCommand);
    std::vector<std::uint8_t> bytes(length + 1, 0);
    std::copy_n(text.begin(), length, bytes.begin());
    return bytes;
}

std::string CleanString(std::string_view text) {
    const auto cut = std::find_if(text.begin(), text.end(),
                                  [](char c) { return static_cast<unsigned char>(c) < kCleanStringCut; });
    return TrimSpaces(text.substr(0, static_cast<std::size_t>(cut - text.begin())));
}

std::size_t NumberPartLength(std::string_view caption) {
    const std::size_t dot = caption.find('.');
    return dot == std::string_view::npos ? 1 : dot + 2;
}

} // namespace tunebridge
