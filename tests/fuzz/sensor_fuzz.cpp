#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "fuzz.h"
#include "mbm/sensor_announcer.h"

using namespace tunebridge;
using fuzz::Expect;

// Any readings, names and version text as the sensor program publishes them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    fake::FakeDesktop desktop;
    const peers::MbmReadings readings{input.ConsumeIntegral<std::int32_t>(), input.ConsumeIntegral<std::int32_t>(),
                                     input.ConsumeRandomLengthString(12), input.ConsumeRandomLengthString(12),
                                     input.ConsumeRandomLengthString(12)};
    fake::PublishMbm(desktop, readings);
    try {
        const auto line = SensorAnnouncer(desktop).Tick(SensorColours{}, input.ConsumeBool());
        Expect(line && std::ranges::none_of(*line, [](unsigned char c) { return c < 20; }),
               "a line, its names ended at a control code");
        for (const std::int32_t value : {readings.temperature, readings.fan})
            Expect(line->find(std::to_string(std::llabs(value))) != std::string::npos, "both readings shown");
    } catch (const fake::ProgramEnded&) {
        Expect(readings.version.size() > 2 && readings.version[2] == '0', "only a version before 5.1 ends the program");
    }
    return 0;
}
