#include "fake/profile_file.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace tunebridge::fake {
namespace {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

ProfileFile ProfileFile::Parse(const std::string& text) {
    ProfileFile file;
    file.sections_.push_back(Section{});  // lines before the first header
    std::istringstream in(text);
    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string line = Trim(raw);
        if (line.size() >= 2 && line.front() == '[') {
            const auto close = line.find(']');
            file.sections_.push_back(Section{Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)), {}});
            continue;
        }
        const auto eq = line.find('=');
        if (eq != std::string::npos && eq > 0 && line.front() != ';') {
            file.sections_.back().lines.push_back(Line{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)), raw});
        } else if (!line.empty()) {
            file.sections_.back().lines.push_back(Line{{}, {}, raw});
        }
    }
    return file;
}

std::string ProfileFile::Text() const {
    std::string out;
    for (const auto& section : sections_) {
        if (section.name.empty() && section.lines.empty()) continue;
        if (!section.name.empty() || &section != &sections_.front()) out += "[" + section.name + "]\r\n";
        for (const auto& line : section.lines) out += (line.key.empty() ? line.raw : line.key + "=" + line.value) + "\r\n";
    }
    return out;
}

ProfileFile::Section* ProfileFile::Find(const std::string& section) {
    for (auto& s : sections_)
        if (!s.name.empty() && SameText(s.name, section)) return &s;
    return nullptr;
}

const ProfileFile::Section* ProfileFile::Find(const std::string& section) const {
    return const_cast<ProfileFile*>(this)->Find(section);
}

std::optional<std::string> ProfileFile::Value(const std::string& section, const std::string& key) const {
    const Section* s = Find(section);
    if (!s) return std::nullopt;
    for (const auto& line : s->lines)
        if (!line.key.empty() && SameText(line.key, key)) return line.value;
    return std::nullopt;
}

void ProfileFile::Write(const std::string& section, const std::string& key, const std::string& value) {
    Section* s = Find(section);
    if (!s) {
        sections_.push_back(Section{section, {}});
        s = &sections_.back();
    }
    for (auto& line : s->lines) {
        if (!line.key.empty() && SameText(line.key, key)) {
            line.value = value;
            return;
        }
    }
    s->lines.push_back(Line{key, value, {}});
}

std::int32_t ProfileFile::ReadInt(const std::string& section, const std::string& key, std::int32_t defaultValue) const {
    const auto value = Value(section, key);
    if (!value || value->empty()) return defaultValue;
    std::size_t i = 0;
    bool negative = false;
    if ((*value)[i] == '-' || (*value)[i] == '+') negative = (*value)[i++] == '-';
    std::uint32_t result = 0;  // wraps like the 32-bit reader
    for (; i < value->size() && std::isdigit(static_cast<unsigned char>((*value)[i])); ++i)
        result = result * 10u + static_cast<std::uint32_t>((*value)[i] - '0');
    if (negative) result = 0u - result;
    return static_cast<std::int32_t>(result);
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key, const std::string& defaultValue, int bufferChars) const {
    std::string text = Value(section, key).value_or(Trim(defaultValue));
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    if (bufferChars <= 0) return {};
    if (text.size() > static_cast<std::size_t>(bufferChars - 1)) text.resize(static_cast<std::size_t>(bufferChars - 1));
    return text;
}

}  // namespace tunebridge::fake
