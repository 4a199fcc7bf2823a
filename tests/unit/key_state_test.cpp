#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

#include "hotkeys/key_state.h"

namespace tunebridge {
namespace {

// A keyboard whose raw answers are given per code, recording every query.
struct ScriptedKeys {
    std::map<int, std::uint16_t> states;
    std::vector<int> queries;

    RawKeyStateQuery Query() {
        return [this](int code) {
            queries.push_back(code);
            const auto it = states.find(code);
            return it == states.end() ? std::uint16_t{0} : it->second;
        };
    }
};

struct ModifierCase {
    const char* what;
    int query;
    std::map<int, std::uint16_t> raw;
    std::uint16_t expected;
};

TEST(CombineModifierStates, GenericModifierTakesTheNewPressFromEitherSide) {
    const ModifierCase cases[] = {
        {"nothing down", 16, {}, 0x0000},
        {"generic held, left newly pressed", 16, {{16, 0x8000}, {160, 0x8001}}, 0x8001},
        {"generic held, right newly pressed", 17, {{17, 0x8000}, {163, 0x8001}}, 0x8001},
        {"generic and both sides held", 18, {{18, 0x8000}, {164, 0x8000}, {165, 0x8000}}, 0x8000},
        {"left pressed and released again", 16, {{160, 0x0001}}, 0x0001},
        {"generic down alone", 17, {{17, 0x8000}}, 0x8000},
        {"right down alone, press already reported", 18, {{165, 0x8000}}, 0x8000},
        {"left released after press, right held", 16, {{160, 0x0001}, {161, 0x8000}}, 0x8001},
        {"bits other than down and pressed are dropped", 17, {{162, 0xFFFF}}, 0x8001},
    };
    for (const ModifierCase& c : cases) {
        ScriptedKeys keys;
        keys.states = c.raw;
        EXPECT_EQ(CombineModifierStates(c.query, keys.Query()), c.expected) << c.what;
    }
}

TEST(CombineModifierStates, QueriesTheGenericAndBothSidedCodesEveryTime) {
    // Each query consumes that code's press; stopping at the first hit would
    // leave the other side's press to be reported again later.
    const std::vector<std::vector<int>> expected = {{16, 160, 161}, {17, 162, 163}, {18, 164, 165}};
    for (int i = 0; i < 3; ++i) {
        ScriptedKeys keys;
        keys.states = {{16 + i, 0x8001}};
        CombineModifierStates(16 + i, keys.Query());
        EXPECT_EQ(keys.queries, expected[static_cast<std::size_t>(i)]) << "code " << 16 + i;
    }
}

TEST(CombineModifierStates, EveryOtherCodeIsOneQueryAnsweredAsItIs) {
    for (const int code : {0, 15, 19, 65, 116, 160, 161, 162, 163, 164, 165, 255}) {
        for (const std::uint16_t state : {0x0000, 0x0001, 0x8000, 0x8001, 0xFFFF}) {
            ScriptedKeys keys;
            keys.states = {{code, state}};
            EXPECT_EQ(CombineModifierStates(code, keys.Query()), state) << "code " << code;
            EXPECT_EQ(keys.queries, std::vector<int>{code});
        }
    }
}

} // namespace
} // namespace tunebridge
