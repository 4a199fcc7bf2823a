#include "harness/ini_file.h"

#include <fstream>
#include <ostream>
#include <sstream>

namespace tunebridge::e2e {

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::optional<std::vector<IniEntry>> ReadIniEntries(const std::filesystem::path& file) {
    const auto bytes = ReadFileBytes(file);
    if (!bytes) return std::nullopt;
    std::vector<IniEntry> entries;
    std::string section;
    std::istringstream lines(*bytes);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        entries.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
    }
    return entries;
}

std::vector<IniEntry> DefaultSettingsEntries() {
    std::vector<IniEntry> entries;
    for (const char* section : {"Keys", "SKeys", "CKeys", "AKeys"}) {
        for (int n = 0; n < 7; ++n) entries.push_back({section, "Key" + std::to_string(n), std::to_string(n + 1)});
    }
    for (int n = 0; n < 15; ++n) entries.push_back({"Color", "Color" + std::to_string(n), "1"});
    for (int n = 0; n < 4; ++n) entries.push_back({"Text", "Text" + std::to_string(n), "Winamp"});
    return entries;
}

void PrintTo(const IniEntry& entry, std::ostream* out) {
    *out << "[" << entry.section << "] " << entry.key << "=" << entry.value;
}

}  // namespace tunebridge::e2e
