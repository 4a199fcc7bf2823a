#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tunebridge::peers {

inline constexpr const char* kMbmDataRegion = "$M$B$M$5$D$";
inline constexpr const char* kMbmNamesRegion = "$M$B$M$5$N$";
inline constexpr const char* kMbmInfoRegion = "$M$B$M$5$I$";

// What the readers copy from the start of each region.
constexpr std::size_t kMbmDataBytes = 197;
constexpr std::size_t kMbmNamesBytes = 352;
constexpr std::size_t kMbmInfoBytes = 70;

constexpr std::size_t kMbmTemperatureOffset = 0;
constexpr std::size_t kMbmFanOffset = 120;
constexpr std::size_t kMbmTemperatureNameOffset = 0;  // name group 1, element 1
constexpr std::size_t kMbmFanNameOffset = 220;        // name group 3, element 1
constexpr std::size_t kMbmNameChars = 11;
constexpr std::size_t kMbmVersionChars = 11;

struct MbmReadings {
    std::int32_t temperature = 0;
    std::int32_t fan = 0;
    std::string temperatureName;
    std::string fanName;
    std::string version;
};

// The bytes the sensor program publishes; names are blank-padded to 11
// characters, the version text NUL-padded, longer texts cut.
std::vector<std::uint8_t> MbmDataRegion(const MbmReadings& readings);
std::vector<std::uint8_t> MbmNamesRegion(const MbmReadings& readings);
std::vector<std::uint8_t> MbmInfoRegion(const MbmReadings& readings);

} // namespace tunebridge::peers
