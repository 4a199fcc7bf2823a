#include "console/engine_text.h"

#include <algorithm>

#include "core/plain_letters.h"

namespace tunebridge {
namespace {

constexpr char kColourEscape = '^';
constexpr std::string_view kEllipsis = "...";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string ReadableByEngine(Desktop& desktop, std::string_view ansi, char colour) {
    const std::string plain = PlainLetters(desktop.DecodeSystemCodePage(std::string(ansi)));
    std::string readable;
    readable.reserve(plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const char c = plain[i];
        if ((c == '/' || c == '*') && !readable.empty() && readable.back() == '/') {
            readable.push_back(kColourEscape);
            readable.push_back(colour);
        }
        // Only a digit is remembered: any other character after "^" could
        // itself be a "/" and make the comment again.
        if (c == kColourEscape && i + 1 < plain.size() && IsDigit(plain[i + 1])) colour = plain[i + 1];
        readable.push_back(c);
    }
    return readable;
}

std::string FitLine(std::string_view head, std::string_view text, std::string_view tail) {
    std::string line(head);
    if (head.size() + text.size() + tail.size() <= kLongestTypedLine) {
        line.append(text).append(tail);
        return line;
    }
    const std::size_t kept = kLongestTypedLine - std::min(kLongestTypedLine, head.size() + tail.size() + kEllipsis.size());
    std::string_view shortened = text.substr(0, kept);
    // A colour code cut in half would take the first dot for its colour.
    while (shortened.ends_with(kColourEscape)) shortened.remove_suffix(1);
    line.append(shortened).append(kEllipsis).append(tail);
    // Only a head and a tail too long by themselves get here.
    if (line.size() > kLongestTypedLine) line.resize(kLongestTypedLine);
    return line;
}

}  // namespace tunebridge
