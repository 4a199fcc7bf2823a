#include "mbm/sensor_announcer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "fake/fake_desktop.h"
#include "fake/fake_peers.h"

namespace tunebridge {
namespace {

using fake::FakeDesktop;
using namespace std::string_literals;

constexpr const char* kDataRegion = "$M$B$M$5$D$";
constexpr const char* kNamesRegion = "$M$B$M$5$N$";
constexpr const char* kInfoRegion = "$M$B$M$5$I$";
constexpr const char* kDataFailure = "MBM Data File/Mem could not be opened.";

constexpr SensorColours kExampleColours{3, 2, 3, 7};
const std::string kColouredExample = "echo ^1MBMonitor ^7: ^1^7CPU ^3[^446^2^3] ^7FAN ^3[^44588^2^3]";
const std::string kPlainExample = "echo MBMonitor : CPU[46] FAN [4588]";

// A 4 KiB page as the sensor program publishes it, with `text` at each offset.
std::vector<std::uint8_t> Page(const std::vector<std::pair<std::size_t, std::string>>& fields) {
    std::vector<std::uint8_t> page(4096, 0);
    for (const auto& [offset, text] : fields) std::copy(text.begin(), text.end(), page.begin() + offset);
    return page;
}

enum class Failure { missing, unmappable };

TEST(SensorReader, EachReaderCopiesItsRegionOrAnswersZerosWithItsFailureText) {
    const std::string regions[] = {"", kDataRegion, kNamesRegion, kInfoRegion};
    for (const std::string& failing : regions) {
        for (const Failure failure : {Failure::missing, Failure::unmappable}) {
            SCOPED_TRACE(failing + (failure == Failure::missing ? " missing" : " unmappable"));
            FakeDesktop desktop;
            // -3 and 4588, little-endian.
            desktop.sharedMemory[kDataRegion] = Page({{0, "\xFD\xFF\xFF\xFF"s}, {120, "\xEC\x11\0\0"s}});
            desktop.sharedMemory[kNamesRegion] = Page({{0, "CPU  "}, {11, "CPU 2"}, {110, "VCORE"}, {220, "FAN"}});
            desktop.sharedMemory[kInfoRegion] = Page({{0, "5.1.8.0"}});
            if (failure == Failure::missing) desktop.sharedMemory.erase(failing);
            if (failure == Failure::unmappable) desktop.unmappableSharedMemory.insert(failing);
            SensorReader reader(desktop);

            const MBMData data = reader.ReadMBMData();
            EXPECT_EQ(reader.Available(), failing != kDataRegion);
            const MBMNames names = reader.ReadMBMNames();
            EXPECT_EQ(reader.Available(), failing != kNamesRegion);
            const MBMInfo info = reader.ReadMBMInfo();
            EXPECT_EQ(reader.Available(), failing != kNamesRegion) << "the information leaves it alone";
            EXPECT_EQ(reader.StatusText(), failing.empty()           ? ""
                                           : failing == kInfoRegion ? "MBM Info File/Mem could not be opened. Sorry."
                                                                    : kDataFailure);

            EXPECT_EQ(std::pair(data.Temperature(), data.Fan()), failing == kDataRegion ? std::pair(0, 0) : std::pair(-3, 4588));
            EXPECT_EQ(names.bytes == MBMNames{}.bytes, failing == kNamesRegion) << "all zero when it failed";
            if (failing != kNamesRegion) {
                EXPECT_EQ((std::array{names.Name(1, 1), names.Name(1, 2), names.Name(3, 1)}),
                          (std::array{"CPU  \0\0\0\0\0\0"s, "CPU 2\0\0\0\0\0\0"s, "FAN\0\0\0\0\0\0\0\0"s}));
            }
            EXPECT_EQ(info.VersionText(), failing == kInfoRegion ? std::string(11, '\0') : "5.1.8.0\0\0\0\0"s);
            EXPECT_EQ(desktop.openMappings.size(), 0u) << "a handle left open";
        }
    }
}

TEST(SensorReader, OnlyAThirdCharacterZeroTellsAVersionBefore51) {
    std::vector<std::pair<std::optional<std::string>, bool>> cases = {
        {"v0.0", true}, {"V0.0", true}, {"5.0.3.0", false}, {"5.a", true}, {"5", true}, {"", true}, {std::nullopt, true}};
    for (char digit = '1'; digit <= '9'; ++digit) cases.push_back({"5."s + digit + ".0", true});
    for (const auto& [version, supported] : cases) {
        SCOPED_TRACE(version.value_or("(no region)"));
        FakeDesktop desktop;
        if (version) desktop.sharedMemory[kInfoRegion] = Page({{0, *version}});
        SensorReader reader(desktop);
        EXPECT_EQ(reader.IsMBMVersionSupported(), supported);
    }
}

TEST(SensorLine, ReadingsNamesAndStyles) {
    const struct {
        SensorReadings readings;
        bool coloured;
        std::string line;
        SensorColours colours = kExampleColours;
    } cases[] = {
        {{50, 5000, "T", "F"}, true, "echo ^1MBMonitor ^7: ^1^7T ^3[^450^2^3] ^7F ^3[^45000^2^3]"},
        {{51, 5001, "T", "F"}, true, "echo ^1MBMonitor ^7: ^1^7T ^3[^151^2^3] ^7F ^3[^15001^2^3]"},
        {{51, 0, "T", "F"}, true, "echo ^1MBMonitor ^7: ^1^8T ^5[^151^6^9] ^8F ^5[^400^6^9]", {5, 6, 9, 8}},
        {{7, 0, "T", "F"}, false, "echo MBMonitor : T[07] F [00]"},
        {{-3, -12345, "T", "F"}, false, "echo MBMonitor : T[-03] F [-12345]"},
        {{std::numeric_limits<std::int32_t>::min(), 100000, "T", "F"}, false,
         "echo MBMonitor : T[-2147483648] F [100000]"},
        {{0, 0, std::string(11, '\0'), std::string(11, ' ')}, false, "echo MBMonitor : [00]  [00]"},
        {{1, 2, "  CPU 1\0\0\0\0"s, "FAN 1      "}, false, "echo MBMonitor : CPU 1[01] FAN 1 [02]"},
        {{1, 2, "CA\x13SE  "s, "F\x14\x1b"s}, false, "echo MBMonitor : CA[01] F\x14\x1b [02]"},  // 19 ends, 20 not
    };
    for (const auto& c : cases) EXPECT_EQ(SensorLine(c.readings, c.colours, c.coloured), c.line);
}

TEST(SensorAnnouncer, TypesTheLineWhileTheValuesCanBeRead) {
    FakeDesktop desktop;
    fake::PublishMbm(desktop, {46, 4588, "CPU", "FAN", "5.1.8.0"});
    SensorAnnouncer announcer(desktop);
    EXPECT_EQ(announcer.Tick(kExampleColours, true), kColouredExample);
    desktop.sharedMemory.erase(kInfoRegion);
    EXPECT_EQ(announcer.Tick(kExampleColours, false), kPlainExample) << "no information is no old version";
    desktop.sharedMemory.erase(kDataRegion);
    EXPECT_EQ(announcer.Tick(kExampleColours, false), std::nullopt) << "no zeros posing as readings";
    EXPECT_EQ(announcer.Reader().StatusText(), kDataFailure);
    EXPECT_FALSE(desktop.ended);
    fake::PublishMbm(desktop, {46, 4588, "CPU", "FAN", "5.0.3.0"});
    EXPECT_THROW(announcer.Tick(kExampleColours, true), fake::ProgramEnded) << "a version before 5.1 ends the program";
}

}  // namespace
}  // namespace tunebridge
