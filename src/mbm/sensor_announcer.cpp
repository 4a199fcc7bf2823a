#include "mbm/sensor_announcer.h"

#include "console/engine_text.h"

namespace tunebridge {

std::optional<std::string> SensorAnnouncer::Tick(const SensorColours& colours, bool consoleShowsColours) {
    if (!reader_.IsMBMVersionSupported()) {
        reader_.SetStatusText("You are trying to access an MBM Version that is pre-5.1!");
        desktop_.EndProgram();
    }
    const MBMData data = reader_.ReadMBMData();
    // Without the values the line would show zeros as if they were readings,
    // every ten seconds, to every player who runs no sensor program.
    if (!reader_.Available()) return std::nullopt;
    const MBMNames names = reader_.ReadMBMNames();
    // The names show in the minutes' colour, or the console's own.
    const char colour = consoleShowsColours ? std::to_string(colours.minutes).back() : '7';
    const auto readable = [&](const std::string& name) { return ReadableByEngine(desktop_, name, colour); };
    return SensorLine({data.Temperature(), data.Fan(), readable(names.Name(1, 1)), readable(names.Name(3, 1))}, colours,
                      consoleShowsColours);
}

} // namespace tunebridge
