#include "mbm/sensor_line.h"

#include <cstdlib>

#include "core/text.h"

namespace tunebridge {

namespace {

constexpr std::int32_t kTemperatureLimit = 50;
constexpr std::int32_t kFanLimit = 5000;
constexpr const char* kWarningDigit = "1";
constexpr const char* kNormalDigit = "4";

constexpr const char* kColouredPrefix = "echo ^1MBMonitor ^7: ^1";
constexpr const char* kPlainPrefix = "echo MBMonitor : ";

// At least two digits, the sign in front of them: 7 is "07", -5 is "-05".
std::string TwoDigits(std::int32_t value) {
    std::string digits = std::to_string(std::llabs(value));
    if (digits.size() < 2) digits.insert(0, 1, '0');
    return (value < 0 ? "-" : "") + digits;
}

std::string Code(std::int16_t colour) { return "^" + std::to_string(colour); }

}  // namespace

std::string SensorLine(const SensorReadings& readings, const SensorColours& colours, bool consoleShowsColours) {
    const std::string temperatureName = CleanString(readings.temperatureName);
    const std::string fanName = CleanString(readings.fanName);
    const std::string temperature = TwoDigits(readings.temperature);
    const std::string fan = TwoDigits(readings.fan);
    if (!consoleShowsColours) {
        return kPlainPrefix + temperatureName + "[" + temperature + "] " + fanName + " [" + fan + "]";
    }
    // Each reading is framed like the track line's state tag; the state
    // word's colour comes straight before the closing bracket's, so only the
    // bracket's shows.
    const auto reading = [&](const std::string& name, const std::string& value, bool warning) {
        return Code(colours.minutes) + name + " " + Code(colours.stateOpen) + "[^" +
               (warning ? kWarningDigit : kNormalDigit) + value + Code(colours.stateWord) +
               Code(colours.stateClose) + "]";
    };
    return kColouredPrefix + reading(temperatureName, temperature, readings.temperature > kTemperatureLimit) + " " +
           reading(fanName, fan, readings.fan > kFanLimit);
}

} // namespace tunebridge
