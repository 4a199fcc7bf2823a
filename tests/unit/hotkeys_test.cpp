#include <gtest/gtest.h>

#include "fake/fake_desktop.h"
#include "hotkeys/hotkey_poller.h"

namespace tunebridge {
namespace {

using Codes = std::vector<int>;
using Bindings = std::vector<std::pair<std::size_t, HotkeyBinding>>;  // slot and combination

constexpr std::int16_t kShift = 16;
constexpr std::int16_t kCtrl = 17;
constexpr std::int16_t kAlt = 18;
constexpr std::int16_t kLeftShift = 160;
constexpr std::int16_t kF1 = 112;
constexpr std::int16_t kF5 = 116;
constexpr int kNone = -1;

struct HotkeyRig {
    explicit HotkeyRig(const Bindings& bindings) {
        for (const auto& [slot, binding] : bindings) settings.hotkeys[slot] = binding;
    }
    // One tick: the slot that fired, or kNone.
    int Poll() {
        const auto slot = PollHotkeys(desktop, settings);
        return slot ? static_cast<int>(*slot) : kNone;
    }

    fake::FakeDesktop desktop;
    Settings settings;
};

struct Step {
    const char* what;
    Codes press;
    Codes release;  // after the presses, still before the tick
    int fired;
    int ticks = 1;  // the same outcome for this many ticks
};

struct Scenario {
    const char* name;
    Bindings bindings;
    std::vector<Step> steps;
};

const Scenario kScenarios[] = {
    {"Shift+F5 on Next",
     {{2, {kF5, kShift}}},
     {{"F5 alone", {kF5}, {}, kNone}, {"F5 released", {}, {kF5}, kNone}, {"Shift alone", {kShift}, {}, kNone},
      {"then F5", {kF5}, {}, 2}, {"both held", {}, {}, kNone, 3}, {"F5 released, Shift held", {}, {kF5}, kNone},
      {"F5 again, Shift held since the last press", {kF5}, {}, kNone}, {"both released", {}, {kF5, kShift}, kNone},
      {"both pressed within one tick", {kShift, kF5}, {}, 2}}},
    {"the left Shift key counts as Shift", {{2, {kF5, kShift}}}, {{"left Shift, then F5", {kLeftShift, kF5}, {}, 2}}},
    {"F5 without modifiers", {{0, {kF5}}}, {{"Ctrl held", {kCtrl}, {}, kNone}, {"F5 with Ctrl held", {kF5}, {}, 0}}},
    {"Ctrl+Alt+F5 on Pause", {{6, {kF5, 0, kCtrl, kAlt}}}, {{"Ctrl+F5", {kCtrl, kF5}, {}, kNone}}},
    // A fresh settings file: slot i on code i+1 with all three modifiers i+1; the key's own second query reads it held.
    {"defaults of a fresh settings file",
     {{0, {1, 1, 1, 1}}, {1, {2, 2, 2, 2}}, {2, {3, 3, 3, 3}}, {3, {4, 4, 4, 4}}, {4, {5, 5, 5, 5}}, {5, {6, 6, 6, 6}},
      {6, {7, 7, 7, 7}}},
     {{"codes 1..7 pressed and held", {1, 2, 3, 4, 5, 6, 7}, {}, kNone, 8}}},
    {"same key on two slots, the lower one wants Shift",
     {{1, {kF5, kShift}}, {3, {kF5}}},
     {{"F5 is used up by slot 1", {kF5}, {}, kNone}, {"F5 released", {}, {kF5}, kNone}, {"Shift+F5", {kShift, kF5}, {}, 1}}},
};

TEST(PollHotkeys, FiresOncePerNewPressOfTheWholeCombination) {
    for (const Scenario& scenario : kScenarios) {
        HotkeyRig rig(scenario.bindings);
        for (const Step& step : scenario.steps) {
            for (const int key : step.press) rig.desktop.PressKey(key);
            for (const int key : step.release) rig.desktop.ReleaseKey(key);
            for (int tick = 0; tick < step.ticks; ++tick)
                EXPECT_EQ(rig.Poll(), step.fired) << scenario.name << ": " << step.what;
        }
    }
}

// Only the exact word 0x8001 counts, for the main key and for a modifier (a sided code, queried as it is).
TEST(PollHotkeys, CountsOnlyTheExactNewlyPressedState) {
    const std::tuple<std::uint16_t, std::uint16_t, int> cases[] = {
        {0x8001, 0x8001, 0},     {0x8000, 0x8001, kNone}, {0x0001, 0x8001, kNone},
        {0xFFFF, 0x8001, kNone}, {0x8001, 0x0001, kNone}, {0x8001, 0xFFFF, kNone},
    };
    for (const auto& [main, modifier, fired] : cases) {
        HotkeyRig rig({{0, {kF5, kLeftShift}}});
        rig.desktop.keyStates = {{kF5, main}, {kLeftShift, modifier}};
        EXPECT_EQ(rig.Poll(), fired) << std::hex << main << " " << modifier;
    }
}

// Main keys in slot order up to the first newly pressed one, then its modifiers, each with both sides.
TEST(PollHotkeys, StopsQueryingAfterTheFirstNewlyPressedMainKey) {
    for (int candidate = kNone; candidate < 7; ++candidate) {
        Bindings bindings;
        for (std::size_t slot = 0; slot < 7; ++slot) bindings.push_back({slot, {std::int16_t(kF1 + slot), kShift, kCtrl, kAlt}});
        HotkeyRig rig(bindings);
        if (candidate != kNone) rig.desktop.PressKey(kF1 + candidate);
        rig.Poll();
        Codes expected;
        for (int slot = 0; slot <= (candidate == kNone ? 6 : candidate); ++slot) expected.push_back(kF1 + slot);
        if (candidate != kNone) expected.insert(expected.end(), {16, 160, 161, 17, 162, 163, 18, 164, 165});
        EXPECT_EQ(rig.desktop.keyQueries, expected) << candidate;
    }
}

} // namespace
} // namespace tunebridge
