#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tunebridge::fake {

// An INI file as the Windows private-profile functions see it: sections and
// keys matched without regard to case, values trimmed, other lines kept.
class ProfileFile {
public:
    static ProfileFile Parse(const std::string& text);
    std::string Text() const;  // CRLF lines, as the profile writer leaves them

    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
    void Write(const std::string& section, const std::string& key, const std::string& value);

    // GetPrivateProfileIntA's reading: optional sign and leading digits,
    // trailing text ignored, no digits give 0, a missing key the default.
    std::int32_t ReadInt(const std::string& section, const std::string& key, std::int32_t defaultValue) const;
    // GetPrivateProfileStringA's reading into a buffer of bufferChars.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue, int bufferChars) const;

private:
    struct Line {
        std::string key;  // empty for a line that is not key=value
        std::string value;
        std::string raw;
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };
    Section* Find(const std::string& section);
    const Section* Find(const std::string& section) const;
    std::vector<Section> sections_;
};

} // namespace tunebridge::fake
