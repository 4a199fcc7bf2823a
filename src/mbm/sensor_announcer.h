#pragma once

#include <optional>
#include <string>

#include "mbm/sensor_line.h"
#include "mbm/sensor_reader.h"
#include "platform/desktop.h"

namespace tunebridge {

// The sensor timer's work: reads the sensor program's regions and builds the
// line for the game console.
class SensorAnnouncer {
public:
    explicit SensorAnnouncer(Desktop& desktop) : desktop_(desktop), reader_(desktop) {}

    // The line to type, or nothing when the sensor values cannot be read.
    // Ends the program at once, saving nothing, when the sensor program is
    // older than 5.1.
    std::optional<std::string> Tick(const SensorColours& colours, bool consoleShowsColours);

    const SensorReader& Reader() const { return reader_; }

private:
    Desktop& desktop_;
    SensorReader reader_;
};

} // namespace tunebridge
