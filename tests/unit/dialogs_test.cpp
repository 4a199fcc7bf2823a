#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "about/about_box.h"
#include "about/about_box_layout.h"
#include "app/main_window_layout.h"
#include "fake/fake_desktop.h"
#include "settings_dialog/settings_dialog.h"
#include "settings_dialog/settings_dialog_layout.h"
#include "settings/settings_store.h"

namespace tunebridge {
namespace {

namespace id = control_id;
using enum HotkeySlot;
using enum ColorElement;

#define TB_TEXT(x) #x
#define TB_DIGITS(x) TB_TEXT(x)
const std::string kVersion =
    TB_DIGITS(TUNEBRIDGE_VERSION_MAJOR) "." TB_DIGITS(TUNEBRIDGE_VERSION_MINOR) "." TB_DIGITS(TUNEBRIDGE_VERSION_PATCH);

// Every test starts from a missing settings file: key N and each of its
// modifiers hold N + 1, every colour 1, every text "Winamp".
struct Fixture {
    fake::FakeDesktop desktop;
    Settings settings;
    Fixture() {
        desktop.keyNames = {{16, "Shift"}, {17, "Ctrl"}, {18, "Alt"}, {80, "P"}, {98, "Num 2"}};
        LoadSettings(desktop, settings);
    }
};

ControlState State(const WindowModel& window, int controlId) { return window.StateOf(controlId).value(); }

std::array<int, 4> Binding(const HotkeyBinding& b) { return {b.key, b.shift, b.ctrl, b.alt}; }

TEST(KeyCapture, KeysDownInABoxBindItsSlotAndLightTheModifiers) {
    constexpr Rgb kNone = kSystemColor, kHeld = 0x00FF00, kReleased = 0x0000FF;
    struct Case {
        HotkeySlot slot;
        std::vector<int> keys;  // a code goes down, its negative comes up, 0: the box gets the focus again
        const char* text;
        std::array<int, 4> binding;       // key, shift, ctrl, alt
        std::array<Rgb, 3> indicators;    // SHIFT, ALT, CTRL
    };
    const Case cases[] = {
        {VolumeUp, {123}, "F12", {123, 0, 0, 0}, {kNone, kNone, kNone}},  // a capture starts without modifiers
        {Play, {16}, "Shift", {16, 16, 0, 0}, {kHeld, kNone, kNone}},     // named by the keyboard layout
        {Play, {16, 116, -16}, "F5", {116, 16, 0, 0}, {kReleased, kNone, kNone}},
        {Next, {17, 18, 80}, "P", {80, 0, 17, 18}, {kNone, kHeld, kHeld}},
        {Stop, {17, -17, 112}, "F1", {112, 0, 0, 0}, {kNone, kNone, kReleased}},  // all up: a new capture
        {Stop, {17, 0, 112}, "F1", {112, 0, 0, 0}, {kNone, kNone, kHeld}},  // keys held before the focus are forgotten
        {Previous, {98}, "Num 2", {98, 0, 0, 0}, {kNone, kNone, kNone}},
        {Previous, {44}, "44", {44, 0, 0, 0}, {kNone, kNone, kNone}},  // no name anywhere: the code
        {Pause, {27}, "7", {7, 7, 7, 7}, {kNone, kNone, kNone}},       // Escape closes, it is never captured
    };
    for (const Case& c : cases) {
        Fixture f;
        SettingsDialog dialog(f.desktop, f.settings);
        const int box = KeyBoxId(c.slot);
        dialog.OnFocus(box);
        for (int key : c.keys) key > 0 ? dialog.OnKeyDown(box, key) : key < 0 ? dialog.OnKeyUp(box, -key) : dialog.OnFocus(box);
        EXPECT_EQ(State(dialog, box).caption, c.text) << c.text;
        EXPECT_EQ(Binding(f.settings.Hotkey(c.slot)), c.binding) << c.text;
        EXPECT_EQ((std::array{State(dialog, id::kShiftIndicator).fillColor, State(dialog, id::kAltIndicator).fillColor,
                              State(dialog, id::kCtrlIndicator).fillColor}),
                  c.indicators) << c.text;
        EXPECT_EQ(dialog.CloseRequested(), c.keys == std::vector{27}) << c.text;
    }
}

TEST(KeyCapture, EveryNamedKeyShowsItsNameAndNoOtherKeyHasOne) {
    const std::pair<int, const char*> named[] = {{19, "Pause"}, {20, "Caps"}, {33, "PageUp"}, {34, "PageDown"},
        {35, "End"}, {36, "Home"}, {37, "Left"}, {38, "Up"}, {39, "Right"}, {40, "Down"}, {42, "PrintScr"}, {45, "Insert"},
        {46, "Delete"}, {91, "Win Start L"}, {92, "Win Start R"}, {93, "Menu"}, {97, "Numpad1"}, {112, "F1"},
        {123, "F12"}, {144, "NumLock"}, {145, "Scroll"}};
    for (const auto& [key, name] : named) EXPECT_EQ(KeyNameFromTable(key), name) << key;
    for (const int key : {16, 44, 98, 111, 124}) EXPECT_EQ(KeyNameFromTable(key), "") << key;
}

TEST(SettingsDialog, OpensWithTheStoredValuesAndTheAnnouncersDisplayMode) {
    struct Case {
        const char* stored[2];         // "Display only on track change", "Display every"
        std::array<bool, 2> selected;
    };
    const Case cases[] = {{{"Winamp", "Winamp"}, {true, false}}, {{"True", "False"}, {true, false}},
                          {{"False", "True"}, {false, true}},    {{"True", "True"}, {false, true}},
                          {{"False", "False"}, {false, false}},  {{"False", "Winamp"}, {false, true}}};
    for (const Case& c : cases) {
        Fixture f;
        f.settings.displayOnChangeOnly = c.stored[0];
        f.settings.displayEvery = c.stored[1];
        SettingsDialog dialog(f.desktop, f.settings);
        EXPECT_EQ((std::array{State(dialog, id::kDisplayOnChange).checked, State(dialog, id::kDisplayEvery).checked}),
                  c.selected) << c.stored[0] << "/" << c.stored[1];
        EXPECT_EQ(State(dialog, id::kBindHint).caption, "bind x echo Winamp:Playlist");
        EXPECT_TRUE(State(dialog, id::kUniqueWord).ansiCaption && State(dialog, id::kBindHint).ansiCaption);
    }
    EXPECT_EQ(std::pair(TextLimitOf(id::kUniqueWord), TextLimitOf(id::kRepeatSeconds)), std::pair(19, 0));
}

TEST(SettingsDialog, ColourPicksGoToTheSelectedLabelAndItsBracketPartner) {
    Fixture f;
    f.settings.Color(Title) = 7;
    f.settings.Color(StateWord) = 10;
    f.settings.Color(Winamp) = 0;
    SettingsDialog dialog(f.desktop, f.settings);
    const auto textColor = [&](ColorElement e) { return State(dialog, PreviewLabelId(e)).textColor; };
    const auto framed = [&](ColorElement e) { return State(dialog, PreviewLabelId(e)).framed; };
    EXPECT_EQ(textColor(Title), 0xFFFFFFu);
    EXPECT_EQ(textColor(StateWord), kPreviewDesignText);
    EXPECT_EQ(textColor(Winamp), 0x000000u);

    const auto colorsAtOpening = f.settings.colors;
    dialog.OnClick(ColorButtonId(2));  // nothing selected yet
    EXPECT_EQ(f.settings.colors, colorsAtOpening);

    dialog.OnClick(PreviewLabelId(StateClose));
    EXPECT_TRUE(framed(StateOpen) && framed(StateClose) && !framed(TimeOpen) && !framed(Title));
    dialog.OnClick(ColorButtonId(2));
    EXPECT_EQ((std::array{f.settings.Color(StateOpen), f.settings.Color(StateWord), f.settings.Color(StateClose)}),
              (std::array<std::int16_t, 3>{2, 10, 2}));  // a value outside 0..9 stays as it is
    EXPECT_EQ(textColor(StateOpen), 0x00FF00u);

    dialog.OnClick(PreviewLabelId(TimeOpen));
    EXPECT_TRUE(framed(TimeOpen) && framed(TimeClose) && !framed(StateOpen) && !framed(StateClose));
    dialog.OnClick(ColorButtonId(8));
    EXPECT_EQ(textColor(TimeClose), 0x5AAAE6u);
    dialog.OnClick(ColorButtonId(9));  // the selection stays
    EXPECT_EQ(textColor(TimeOpen), 0x808080u);
    EXPECT_EQ(f.settings.Color(TimeClose), 9);
    EXPECT_EQ(State(dialog, ColorButtonId(6)).fillColor, 0xFF80FFu);
    EXPECT_TRUE(State(dialog, ColorButtonId(6)).enabled);

    // The sensor selector is disabled: its digits never reach a track colour.
    EXPECT_FALSE(State(dialog, SensorColorButtonId(3)).enabled);
    EXPECT_FALSE(State(dialog, id::kSensorRed).enabled);
}

TEST(SettingsDialog, OnlyOkCopiesTheTypedFieldsAndSavesWhileCapturesAndColoursStayAnyway) {
    for (const int closer : {id::kSettingsOk, id::kSettingsCancel, 0}) {  // 0: Escape
        const bool confirmed = closer == id::kSettingsOk;
        Fixture f;
        SettingsDialog dialog(f.desktop, f.settings);
        dialog.OnTextChanged(id::kUniqueWord, "abc");
        EXPECT_EQ(State(dialog, id::kBindHint).caption, "bind x echo abc:Playlist");
        dialog.OnTextChanged(id::kRepeatSeconds, "15");
        dialog.OnClick(id::kDisplayEvery);
        dialog.OnKeyDown(KeyBoxId(Play), 16);
        dialog.OnKeyDown(KeyBoxId(Play), 116);
        dialog.OnClick(KeyBoxId(Next));  // empties the box, keeps the binding
        dialog.OnClick(PreviewLabelId(Winamp));
        dialog.OnClick(ColorButtonId(4));
        closer != 0 ? dialog.OnClick(closer) : dialog.OnEscape();

        EXPECT_TRUE(dialog.CloseRequested()) << closer;
        EXPECT_EQ(State(dialog, KeyBoxId(Next)).caption, "");
        EXPECT_EQ(Binding(f.settings.Hotkey(Next)), (std::array{3, 3, 3, 3}));
        EXPECT_EQ(Binding(f.settings.Hotkey(Play)), (std::array{116, 16, 0, 0}));
        EXPECT_EQ(f.settings.Color(Winamp), 4);
        EXPECT_EQ(f.settings.uniqueWord, confirmed ? "abc" : "Winamp") << closer;
        ASSERT_EQ(!f.desktop.iniWrites.empty(), confirmed) << closer;
        if (!confirmed) continue;
        const char* saved[][3] = {{"Text", "Text0", "abc"}, {"Text", "Text1", "15"},  {"Text", "Text2", "False"},
                                  {"Text", "Text3", "True"}, {"Keys", "Key0", "116"}, {"SKeys", "Key0", "16"},
                                  {"CKeys", "Key0", "0"},    {"Color", "Color0", "4"}};
        for (const auto& [section, key, value] : saved) EXPECT_EQ(f.desktop.ini[std::string(section) + "/" + key], value);
    }
}

TEST(AboutBox, ShowsTheVersionAndMailsFeedbackUnencoded) {
    fake::FakeDesktop desktop;
    AboutBox about(desktop);
    EXPECT_EQ(State(about, id::kVersion).caption, "Version " + kVersion);

    about.OnClick(id::kFeedbackMail);
    EXPECT_EQ(desktop.shellOpens,
              fake::Lines{"mailto:team@tunebridge.invalid?subject=Powerclock " + kVersion + " - Feedback|C:\\"});
    EXPECT_FALSE(about.CloseRequested());
    about.OnClick(id::kAboutOk);
    AboutBox escaped(desktop);
    escaped.OnEscape();
    EXPECT_TRUE(about.CloseRequested() && escaped.CloseRequested());
}

// Containers come first, ids are unique, and nothing in a dialog sticks out of
// its frame or the window (the main window hides controls past its edges).
// Edges lie on the designer's 15-twip grid, a whole pixel at 96 DPI; only the
// ends of a drawn line were placed freely.
TEST(Layouts, EveryControlLiesInsideItsContainerOnTheDesignGrid) {
    const auto onGrid = [](std::initializer_list<int> twips) {
        return std::ranges::all_of(twips, [](int t) { return t % 15 == 0; });
    };
    for (const WindowLayout* window : {&MainWindowLayout(), &SettingsDialogLayout(), &AboutBoxLayout()}) {
        EXPECT_TRUE(onGrid({window->clientWidthTwips, window->clientHeightTwips}));
        std::set<int> seen{kNoContainer};
        for (const ControlLayout& c : window->controls) {
            const ControlLayout* outer = FindControl(*window, c.container);
            const int width = outer ? outer->position.width : window->clientWidthTwips;
            const int height = outer ? outer->position.height : window->clientHeightTwips;
            const TwipRect& r = c.position;
            const bool inside = r.left >= 0 && r.top >= 0 && r.left + r.width <= width && r.top + r.height <= height;
            EXPECT_TRUE(inside || window == &MainWindowLayout()) << c.id;
            EXPECT_TRUE(seen.count(c.container) && seen.insert(c.id).second) << c.id;
            EXPECT_TRUE(c.kind == ControlKind::Line || onGrid({r.left, r.top, r.width, r.height})) << c.designName;
        }
    }
}

} // namespace
} // namespace tunebridge
