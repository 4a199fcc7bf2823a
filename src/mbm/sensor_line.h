#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tunebridge {

// The track line's colour digits the sensor line borrows; it has none of its own.
struct SensorColours {
    std::int16_t stateOpen = 0;   // the "[" before the play state
    std::int16_t stateWord = 0;   // the play state
    std::int16_t stateClose = 0;  // the "]" after the play state
    std::int16_t minutes = 0;     // the minutes of the time
};

// Two readings with their names as published (padding and all).
struct SensorReadings {
    std::int32_t temperature = 0;
    std::int32_t fan = 0;
    std::string temperatureName;
    std::string fanName;
};

// How the sensor line begins where the game prints it.
inline constexpr std::string_view kSensorLinePrinted = "MBMonitor : ";

// The echo line with both readings: coloured, a reading over its limit in
// red, when the console shows colours; plain text otherwise.
std::string SensorLine(const SensorReadings& readings, const SensorColours& colours, bool consoleShowsColours);

} // namespace tunebridge
