#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fake/fake_desktop.h"
#include "hotkeys/hotkey_poller.h"
#include "hotkeys/key_state.h"

namespace tunebridge {
namespace {

using fake::FakeDesktop;
using fake::Message;

constexpr int kShift = 16;
constexpr int kCtrl = 17;
constexpr int kAlt = 18;
constexpr int kF5 = 116;

constexpr std::uint32_t kPlay = 40045;
constexpr std::uint32_t kStop = 40047;
constexpr std::uint32_t kNext = 40048;
constexpr std::uint32_t kPause = 40046;

struct Binding {
    int slot;
    std::int16_t key;
    std::int16_t shift = 0;
    std::int16_t ctrl = 0;
    std::int16_t alt = 0;
};

// The poller beside a simulated player; unbound slots hold key code 0.
struct Rig {
    FakeDesktop desktop;
    SharedState state;
    FormControls form;
    Hwnd player = desktop.CreateWindow("Winamp v1.x", "1. Song - Winamp");
    clsWinamp winamp{desktop};

    explicit Rig(const std::vector<Binding>& bindings = {}) {
        for (const Binding& b : bindings) Bind(b);
    }
    void Bind(const Binding& b) {
        state.HotkeyCode[b.slot] = b.key;
        state.HotkeyShift[b.slot] = b.shift;
        state.HotkeyCtrl[b.slot] = b.ctrl;
        state.HotkeyAlt[b.slot] = b.alt;
    }

    // One tick; the commands the player received during it.
    std::vector<std::uint32_t> Tick(bool remoteExists = true) {
        desktop.ClearMessages();
        desktop.ClearKeyQueries();
        HotkeyPoller(desktop, state, form, remoteExists ? &winamp : nullptr);
        std::vector<std::uint32_t> commands;
        for (const Message& m : desktop.MessagesTo(player))
            if (m.msg == kWM_COMMAND) commands.push_back(m.wParam);
        return commands;
    }
};

using Commands = std::vector<std::uint32_t>;

struct Step {
    const char* what;
    std::vector<int> press;
    std::vector<int> release;  // after the presses, still before the tick
    Commands expected;
    int ticks = 1;  // the same outcome for this many ticks
};

struct Scenario {
    const char* name;
    std::vector<Binding> bindings;
    std::vector<Step> steps;
};

const std::vector<Scenario> kScenarios = {
    {"Shift+F5 on Next",
     {{2, kF5, kShift}},
     {
         {"F5 alone", {kF5}, {}, {}},
         {"F5 released", {}, {kF5}, {}},
         {"Shift alone", {kShift}, {}, {}},
         {"then F5", {kF5}, {}, {kNext}},
         {"both held", {}, {}, {}},
         {"F5 released, Shift held", {}, {kF5}, {}},
         {"F5 again with Shift held since the last press", {kF5}, {}, {}},
         {"both released", {}, {kF5, kShift}, {}},
         {"both pressed within one tick", {kShift, kF5}, {}, {kNext}},
     }},
    {"Shift+F5 with Shift tapped before F5", {{2, kF5, kShift}}, {{"Shift tapped, then F5", {kShift, kF5}, {kShift}, {}}}},
    {"F5 without modifiers", {{0, kF5}}, {{"Ctrl held", {kCtrl}, {}, {}}, {"F5 with Ctrl held", {kF5}, {}, {kPlay}}}},
    {"every modifier",
     {{6, kF5, kShift, kCtrl, kAlt}},
     {
         {"Shift+Ctrl+F5", {kShift, kCtrl, kF5}, {}, {}},
         {"all released", {}, {kShift, kCtrl, kF5}, {}},
         {"Shift+Ctrl+Alt+F5", {kShift, kCtrl, kAlt, kF5}, {}, {kPause}},
     }},
    {"same key on two slots, lower one wants Shift",
     {{1, kF5, kShift}, {3, kF5}},
     {{"F5 is used up by slot 1", {kF5}, {}, {}}, {"F5 released", {}, {kF5}, {}}, {"Shift+F5", {kShift, kF5}, {}, {kStop}}}},
    {"same key on two slots without modifiers", {{1, kF5}, {3, kF5}}, {{"only the lower slot fires", {kF5}, {}, {kStop}}}},
    {"press already over before the query",
     {{0, kF5}},
     {{"F5 pressed and released", {kF5}, {kF5}, {}}, {"F5 pressed", {kF5}, {}, {kPlay}}}},
    // A fresh settings file binds slot i to key i+1 with all three modifiers
    // i+1: the modifier query of the main key itself reads it as held. Each
    // tick takes one slot's press.
    {"defaults of a fresh settings file",
     {{0, 1, 1, 1, 1}, {1, 2, 2, 2, 2}, {2, 3, 3, 3, 3}, {3, 4, 4, 4, 4},
      {4, 5, 5, 5, 5}, {5, 6, 6, 6, 6}, {6, 7, 7, 7, 7}},
     {{"keys 1..7 pressed and held", {1, 2, 3, 4, 5, 6, 7}, {}, {}}, {"held", {}, {}, {}, 7}}},
};

TEST(HotkeyPoller, FiresOncePerNewPressOfTheWholeCombination) {
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.name);
        Rig rig(scenario.bindings);
        for (const Step& step : scenario.steps) {
            SCOPED_TRACE(step.what);
            for (int key : step.press) rig.desktop.PressKey(key);
            for (int key : step.release) rig.desktop.ReleaseKey(key);
            for (int tick = 0; tick < step.ticks; ++tick) EXPECT_EQ(rig.Tick(), step.expected);
        }
    }
}

// Only the exact word 0x8001 counts, for the main key and for a modifier.
TEST(HotkeyPoller, CountsOnlyTheExactNewlyPressedState) {
    struct Case {
        std::uint16_t main;
        std::uint16_t shift;
        bool fires;
    };
    const Case cases[] = {{0x8001, 0x8001, true},  {0x8000, 0x8001, false}, {0x0001, 0x8001, false},
                          {0xFFFF, 0x8001, false}, {0x8001, 0x0001, false}, {0x8001, 0xFFFF, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "main 0x" << c.main << " shift 0x" << c.shift);
        Rig rig({{0, kF5, kShift}});
        rig.desktop.QueueKeyState(kF5, c.main);
        rig.desktop.QueueKeyState(kShift, c.shift);
        EXPECT_EQ(rig.Tick(), c.fires ? Commands{kPlay} : Commands{});
    }
}

TEST(HotkeyPoller, EachSlotRunsItsAction) {
    struct Case {
        int slot;
        const char* operation;
        std::uint32_t commandId;
    };
    const Case cases[] = {{0, "TrackPlay", 40045}, {1, "TrackStop", 40047}, {2, "TrackNext", 40048},
                          {3, "TrackPrev", 40044}, {4, "VolRaise", 40058},  {5, "VolLower", 40059},
                          {6, "TrackPause", 40046}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation);
        Rig rig({{c.slot, kF5}});
        rig.desktop.PressKey(kF5);
        EXPECT_EQ(rig.Tick(), Commands{c.commandId});
        EXPECT_EQ(rig.form.lblaction, c.operation);
    }
}

// The main keys of the slots up to the candidate in slot order, then only the
// candidate's modifiers: never more than ten queries.
TEST(HotkeyPoller, QueriesMainKeysInOrderThenOnlyTheCandidatesModifiers) {
    const std::vector<int> keys = {0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76};  // F1..F7
    for (int candidate = -1; candidate < 7; ++candidate) {
        SCOPED_TRACE(testing::Message() << "candidate slot " << candidate);
        Rig rig;
        for (int slot = 0; slot < 7; ++slot) rig.Bind({slot, static_cast<std::int16_t>(keys[slot]), kShift, kCtrl, kAlt});
        if (candidate >= 0) rig.desktop.PressKey(keys[candidate]);
        rig.Tick();
        std::vector<int> expected(keys.begin(), keys.begin() + (candidate < 0 ? 7 : candidate + 1));
        if (candidate >= 0) expected.insert(expected.end(), {kShift, kCtrl, kAlt});
        EXPECT_EQ(rig.desktop.KeyQueries(), expected);
    }
}

TEST(HotkeyPoller, QueriesUnboundCodesButNoModifierValueBelowOne) {
    Rig rig({{4, kF5, -1, 0, kAlt}});
    rig.Tick();
    EXPECT_EQ(rig.desktop.KeyQueries(), (std::vector<int>{0, 0, 0, 0, kF5, 0, 0}));

    for (int key : {kShift, kAlt, kF5}) rig.desktop.PressKey(key);
    EXPECT_EQ(rig.Tick(), Commands{40058});
    EXPECT_EQ(rig.desktop.KeyQueries(), (std::vector<int>{0, 0, 0, 0, kF5, kAlt}));
}

TEST(HotkeyPoller, YieldsOnceBeforeTheFirstKeyQuery) {
    Rig rig({{0, kF5}});
    std::vector<std::size_t> queriesAtYield;
    rig.desktop.onYield = [&] {
        queriesAtYield.push_back(rig.desktop.KeyQueries().size());
        // Another handler running inside the yield sees the key go down.
        rig.desktop.PressKey(kF5);
    };

    EXPECT_EQ(rig.Tick(), Commands{kPlay}) << "a press made during the yield is seen by the same tick";
    EXPECT_EQ(queriesAtYield, std::vector<std::size_t>{0});
    EXPECT_EQ(rig.desktop.yields, 1);
}

// In the original a combination pressed before the remote existed called it
// anyway and the program died of an unhandled error.
TEST(HotkeyPoller, ConsumesACombinationPressedBeforeTheRemoteExists) {
    Rig rig({{0, kF5}});
    rig.desktop.PressKey(kF5);
    EXPECT_EQ(rig.Tick(/*remoteExists=*/false), Commands{});
    EXPECT_EQ(rig.form.lblaction, "Startup");
    EXPECT_EQ(rig.desktop.KeyQueries(), std::vector<int>{kF5});

    EXPECT_EQ(rig.Tick(), Commands{}) << "the early press is not replayed later";
    rig.desktop.ReleaseKey(kF5);
    rig.desktop.PressKey(kF5);
    EXPECT_EQ(rig.Tick(), Commands{kPlay});
}

// A keyboard whose raw answers are given per code, recording every query.
struct ScriptedKeys {
    std::map<int, std::uint16_t> states;
    std::vector<int> queries;

    std::uint16_t Combine(int code) {
        return CombineModifierStates(code, [this](int queried) {
            queries.push_back(queried);
            const auto it = states.find(queried);
            return it == states.end() ? std::uint16_t{0} : it->second;
        });
    }
};

TEST(CombineModifierStates, GenericModifierTakesTheNewPressFromEitherSide) {
    struct Case {
        const char* what;
        int query;
        std::map<int, std::uint16_t> raw;
        std::uint16_t expected;
    };
    const Case cases[] = {
        {"nothing down", 16, {}, 0x0000},
        {"generic held, left newly pressed", 16, {{16, 0x8000}, {160, 0x8001}}, 0x8001},
        {"generic held, right newly pressed", 17, {{17, 0x8000}, {163, 0x8001}}, 0x8001},
        {"generic and both sides held", 18, {{18, 0x8000}, {164, 0x8000}, {165, 0x8000}}, 0x8000},
        {"left pressed and released again", 16, {{160, 0x0001}}, 0x0001},
        {"left released after press, right held", 16, {{160, 0x0001}, {161, 0x8000}}, 0x8001},
        {"bits other than down and pressed are dropped", 17, {{162, 0xFFFF}}, 0x8001},
    };
    for (const Case& c : cases) {
        ScriptedKeys keys{c.raw, {}};
        EXPECT_EQ(keys.Combine(c.query), c.expected) << c.what;
    }
    // Each query consumes that code's press; stopping at the first hit would
    // leave the other side's press to be reported again later.
    for (int generic : {16, 17, 18}) {
        ScriptedKeys keys{{{generic, 0x8001}}, {}};
        keys.Combine(generic);
        const int left = 160 + 2 * (generic - 16);
        EXPECT_EQ(keys.queries, (std::vector<int>{generic, left, left + 1}));
    }
    // Every other code, sided ones included, is one query answered as it is.
    for (const int code : {0, 15, 19, 116, 160, 165}) {
        for (const std::uint16_t state : {0x0001, 0x8001, 0xFFFF}) {
            ScriptedKeys keys{{{code, state}}, {}};
            EXPECT_EQ(keys.Combine(code), state) << "code " << code;
            EXPECT_EQ(keys.queries, std::vector<int>{code});
        }
    }
}

}  // namespace
}  // namespace tunebridge
