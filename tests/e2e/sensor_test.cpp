// The real tunebridge.exe under Wine types the readings of the simulated
// sensor program into the game console every ten seconds.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "harness/ini_file.h"
#include "harness/peers.h"
#include "harness/product.h"

namespace tunebridge::e2e {
namespace {

using Lines = std::vector<std::string>;

// The sensor line's colours, and the track line repeated every second: the
// program's own clock, one line per second boundary after the first.
constexpr const char* kIni =
    "[Color]\r\nColor4=3\r\nColor5=2\r\nColor6=3\r\nColor8=7\r\n[Text]\r\nText1=1\r\nText2=False\r\n";
// Enough track lines for the first sensor tick, due at ten seconds, to have
// passed; fewer than these and the second, due at twenty, has not.
constexpr std::size_t kPastFirstTick = 13;
constexpr std::size_t kBeforeSecondTick = 18;

const MbmPeer::Options kExample{46, 4588, "CPU", "FAN", "5.1.8.0"};

bool IsSensorLine(const std::string& line) { return line.find("MBMonitor") != std::string::npos; }

class SensorAnnouncer : public ::testing::Test {
protected:
    // The player, the console, the sensor program when given, then Tunebridge.
    void Start(const std::string& consoleTitle, const std::optional<MbmPeer::Options>& sensors) {
        ASSERT_TRUE(player_.Start(folder_, {.titles = {"Artist - Song"}}));
        ASSERT_TRUE(console_.Start(folder_, {.title = consoleTitle}));
        if (sensors) {
            ASSERT_TRUE(sensors_.Start(folder_, *sensors));
        }
        ASSERT_TRUE(product_.Start(folder_, kIni));
    }

    void TearDown() override {
        if (product_.Process().IsRunning()) {
            EXPECT_TRUE(product_.Close()) << "the program did not end on WM_CLOSE";
        }
        if (sensors_.Process().Pid() != 0) sensors_.Close();
        console_.Close();
        player_.Close();
    }

    Lines SensorLines() const {
        Lines lines = console_.Typed();
        std::erase_if(lines, [](const std::string& line) { return !IsSensorLine(line); });
        return lines;
    }
    // Track lines typed before the first sensor line.
    std::size_t TrackLinesFirst() const {
        const Lines typed = console_.Typed();
        return static_cast<std::size_t>(std::find_if(typed.begin(), typed.end(), IsSensorLine) - typed.begin());
    }

    void ExpectFirstSensorLine(const std::string& consoleTitle, const std::string& line) {
        ASSERT_NO_FATAL_FAILURE(Start(consoleTitle, kExample));
        ASSERT_TRUE(console_.WaitForLog([&](const Lines&) { return !SensorLines().empty(); }, kProductDeadline));
        EXPECT_EQ(SensorLines().front(), line);
        EXPECT_LT(TrackLinesFirst(), kBeforeSecondTick) << "not typed at the first tick";
    }

    const std::filesystem::path folder_ = TempDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    PlayerPeer player_;
    ConsolePeer console_;
    MbmPeer sensors_;
    Product product_;
};

TEST_F(SensorAnnouncer, AWolfConsoleGetsTheColouredLine) {
    ExpectFirstSensorLine("Wolf Console", "echo ^1MBMonitor ^7: ^1^7CPU ^3[^446^2^3] ^7FAN ^3[^44588^2^3]");
}

TEST_F(SensorAnnouncer, AQuake3ConsoleGetsThePlainLine) {
    ExpectFirstSensorLine("Quake 3 Console", "echo MBMonitor : CPU[46] FAN [4588]");
}

TEST_F(SensorAnnouncer, AVersionBefore51EndsTheProgramAtTheFirstTickWithoutSaving) {
    MbmPeer::Options old = kExample;
    old.version = "5.0.3.0";
    ASSERT_NO_FATAL_FAILURE(Start("Wolf Console", old));
    ASSERT_TRUE(product_.Process().WaitForExit(kProductDeadline)) << "the program kept running";
    EXPECT_TRUE(SensorLines().empty());
    EXPECT_LT(console_.Typed().size(), kBeforeSecondTick) << "not ended at the first tick";
    EXPECT_EQ(ReadFileBytes(folder_ / "product" / "tunebridge.ini"), kIni) << "the settings were written";
}

TEST_F(SensorAnnouncer, WithoutTheSensorProgramNothingIsTypedUntilItStarts) {
    ASSERT_NO_FATAL_FAILURE(Start("Wolf Console", std::nullopt));
    ASSERT_TRUE(console_.WaitForLog([&](const Lines&) { return console_.Typed().size() >= kPastFirstTick; },
                                    kProductDeadline));
    EXPECT_TRUE(SensorLines().empty());
    ASSERT_TRUE(product_.Process().IsRunning());

    // The regions are looked for afresh at every tick.
    ASSERT_TRUE(sensors_.Start(folder_, kExample));
    ASSERT_TRUE(console_.WaitForLog([&](const Lines&) { return !SensorLines().empty(); }, kProductDeadline));
}

}  // namespace
}  // namespace tunebridge::e2e
