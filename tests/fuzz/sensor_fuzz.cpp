#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "fake/fake_mbm.h"
#include "fuzz.h"
#include "mbm/sensor_announcer.h"

using namespace tunebridge;
using fuzz::Expect;

// The sensor program's three regions as any bytes, each there or not, short or long.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    fuzz::FuzzDesktop desktop;
    std::map<std::string, std::vector<std::uint8_t>> regions;
    for (const char* name : {peers::kMbmInfoRegion, peers::kMbmDataRegion, peers::kMbmNamesRegion}) {
        if (input.ConsumeBool()) desktop.SetSharedMemory(name, regions[name] = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 400)));
    }
    const SensorColours colours{input.ConsumeIntegral<std::int16_t>(), input.ConsumeIntegral<std::int16_t>(),
                                input.ConsumeIntegral<std::int16_t>(), input.ConsumeIntegral<std::int16_t>()};
    // A little-endian reading as published at `offset`.
    const auto reading = [&](std::size_t offset) {
        std::vector<std::uint8_t> bytes = regions[peers::kMbmDataRegion];
        bytes.resize(offset + 4);
        std::int32_t value = 0;
        std::memcpy(&value, bytes.data() + offset, 4);
        return std::to_string(std::llabs(value));
    };
    try {
        const std::optional<std::string> line = SensorAnnouncer(desktop).Tick(colours, input.ConsumeBool());
        Expect(line.has_value() == regions.contains(peers::kMbmDataRegion), "a line exactly when the readings are there");
        if (!line) return 0;
        Expect(std::ranges::none_of(*line, [](unsigned char c) { return c < 20; }), "names end before a control code");
        Expect(line->find(reading(0)) != std::string::npos && line->find(reading(120)) != std::string::npos, "both readings shown");
    } catch (const fake::ProgramEnded&) {
        const std::vector<std::uint8_t>& info = regions[peers::kMbmInfoRegion];
        Expect(info.size() > 2 && info[2] == '0', "only a sensor program older than 5.1 ends the program");
    }
    return 0;
}
