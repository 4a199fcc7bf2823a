#include "engine/mbm_layout.h"

namespace tunebridge::peers {
namespace {

void PutInt32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void PutText(std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t width, const std::string& text, char pad) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(i < text.size() ? text[i] : pad);
    }
}

}  // namespace

std::vector<std::uint8_t> MbmDataRegion(const MbmReadings& readings) {
    std::vector<std::uint8_t> bytes(kMbmDataBytes, 0);
    PutInt32(bytes, kMbmTemperatureOffset, readings.temperature);
    PutInt32(bytes, kMbmFanOffset, readings.fan);
    return bytes;
}

std::vector<std::uint8_t> MbmNamesRegion(const MbmReadings& readings) {
    std::vector<std::uint8_t> bytes(kMbmNamesBytes, 0);
    PutText(bytes, kMbmTemperatureNameOffset, kMbmNameChars, readings.temperatureName, ' ');
    PutText(bytes, kMbmFanNameOffset, kMbmNameChars, readings.fanName, ' ');
    return bytes;
}

std::vector<std::uint8_t> MbmInfoRegion(const MbmReadings& readings) {
    std::vector<std::uint8_t> bytes(kMbmInfoBytes, 0);
    PutText(bytes, 0, kMbmVersionChars, readings.version, '\0');
    return bytes;
}

}  // namespace tunebridge::peers
