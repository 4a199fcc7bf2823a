// The real tunebridge.exe under Wine types the readings of the simulated
// sensor program into the game console every ten seconds.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness/peers.h"
#include "harness/product.h"

namespace tunebridge::e2e {
namespace {

using Lines = std::vector<std::string>;

// The sensor line's colours, a digit of its own for each, and the track line repeated every second: the
// program's own clock, one line per second boundary after the first.
constexpr char kIni[] =
    "[Color]\r\nColor4=3\r\nColor5=2\r\nColor6=5\r\nColor8=7\r\n[Text]\r\nText1=1\r\nText2=False\r\n";
// Enough track lines for the first sensor tick, due at ten seconds, to have
// passed; fewer than these and the second, due at twenty, has not.
constexpr std::size_t kPastFirstTick = 13;
constexpr std::size_t kBeforeSecondTick = 18;

const SensorPeer::Options kExample{46, 4588, "CPU", "FAN", "5.1.8.0"};

class SensorAnnouncer : public ::testing::Test {
protected:
    // The player, the console, the sensor program when given, then Tunebridge.
    void Start(const std::string& consoleTitle, const std::optional<SensorPeer::Options>& sensors) {
        ASSERT_TRUE(player_.Start(folder_, {.titles = {"Artist - Song"}}));
        ASSERT_TRUE(console_.Start(folder_, {.title = consoleTitle}));
        if (sensors) {
            ASSERT_TRUE(sensors_.Start(folder_, *sensors));
        }
        ASSERT_TRUE(product_.Start(folder_, kIni));
    }

    const std::filesystem::path folder_ = TestDir();
    PlayerPeer player_;
    ConsolePeer console_;
    SensorPeer sensors_;
    Product product_;
};

TEST_F(SensorAnnouncer, AWolfConsoleGetsTheColouredLineAtTheFirstTick) {
    ASSERT_NO_FATAL_FAILURE(Start("Wolf Console", kExample));
    ASSERT_TRUE(console_.WaitForOut("MBMonitor", kProductDeadline));
    Lines typed = console_.Typed();
    const auto sensorLine = [](const std::string& t) { return t.find("MBMonitor") != std::string::npos; };
    typed.erase(std::ranges::find_if(typed, sensorLine) + 1, typed.end());
    EXPECT_EQ(typed.back(), "echo ^1MBMonitor ^7: ^1^7CPU ^3[^446^2^5] ^7FAN ^3[^44588^2^5]");
    EXPECT_LE(typed.size(), kBeforeSecondTick) << "not typed at the first tick";
    EXPECT_TRUE(product_.Close());
}

TEST_F(SensorAnnouncer, AVersionBefore51EndsTheProgramAtTheFirstTickWithoutSaving) {
    SensorPeer::Options old = kExample;
    old.version = "5.0.3.0";
    ASSERT_NO_FATAL_FAILURE(Start("Wolf Console", old));
    ASSERT_TRUE(product_.Process().WaitForExit(kProductDeadline)) << "the program kept running";
    EXPECT_FALSE(console_.WaitForOut("MBMonitor", 0ms));
    EXPECT_LT(console_.Typed().size(), kBeforeSecondTick) << "not ended at the first tick";
    EXPECT_EQ(ReadFileBytes(product_.IniPath()), kIni) << "the settings were written";
}

TEST_F(SensorAnnouncer, WithoutTheSensorProgramNothingIsTypedUntilItStarts) {
    ASSERT_NO_FATAL_FAILURE(Start("Wolf Console", std::nullopt));
    ASSERT_TRUE(WaitUntil([&] { return console_.Typed().size() >= kPastFirstTick; }, kProductDeadline));
    EXPECT_FALSE(console_.WaitForOut("MBMonitor", 0ms));
    ASSERT_TRUE(product_.Process().IsRunning());
    // The regions are looked for afresh at every tick.
    ASSERT_TRUE(sensors_.Start(folder_, kExample));
    ASSERT_TRUE(console_.WaitForOut("MBMonitor", kProductDeadline));
    EXPECT_TRUE(product_.Close());
}

}  // namespace
}  // namespace tunebridge::e2e
