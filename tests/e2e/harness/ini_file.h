// The settings file as bytes and as entries, for checks after the product ran.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tunebridge::e2e {

struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
    bool operator==(const IniEntry&) const = default;
};

// Every "key=value" line in file order, with its section; blank lines,
// section headers and lines without "=" are not entries. nullopt when the
// file cannot be read.
std::optional<std::vector<IniEntry>> ReadIniEntries(const std::filesystem::path& file);

// The 47 entries a save of the default settings writes, in their order.
std::vector<IniEntry> DefaultSettingsEntries();

// The whole file; nullopt when it does not exist.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file);

// For failure messages.
void PrintTo(const IniEntry& entry, std::ostream* out);

}  // namespace tunebridge::e2e
