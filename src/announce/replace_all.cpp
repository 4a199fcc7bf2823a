#include "announce/replace_all.h"

namespace tunebridge {

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

} // namespace tunebridge
