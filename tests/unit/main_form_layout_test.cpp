#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/main_form_layout.h"

namespace tunebridge {
namespace {

TEST(MainFormLayout, OuterSizeInPixelsFollowsTheDpi) {
    struct Case {
        int dpi;
        int width;
        int height;
    };
    // 120 DPI lands on halves: rounded away from zero as MulDiv does.
    const Case cases[] = {{96, 458, 130}, {120, 573, 163}, {144, 687, 195}, {192, 916, 260}};
    for (const Case& c : cases) {
        EXPECT_EQ(TwipsToPixels(kFormWidthTwips, c.dpi), c.width) << c.dpi << " DPI";
        EXPECT_EQ(TwipsToPixels(kFormHeightTwips, c.dpi), c.height) << c.dpi << " DPI";
    }
    EXPECT_EQ(TwipsToPixels(-7, 96), 0);
    EXPECT_EQ(TwipsToPixels(-8, 96), -1);
}

TEST(MainFormLayout, ControlsInsideAFrameAreOffsetByTheFrame) {
    struct Case {
        const char* name;
        TwipRect inForm;
        PixelRect at96;
    };
    const Case cases[] = {
        {"cmdSettings", {5505, 1140, 1215, 375}, {367, 76, 81, 25}},
        {"cmdEnd", {5520, 1590, 1215, 375}, {368, 106, 81, 25}},
        {"ChatText", {60, 780, 5370, 780}, {4, 52, 358, 52}},
        {"song", {600, 240, 6105, 255}, {40, 16, 407, 17}},
        {"lblaction", {1005, 435, 1890, 285}, {67, 29, 126, 19}},
        {"cmdTrackPrev", {345, 4290, 495, 375}, {23, 286, 33, 25}},
        {"cmdTrackOpenURL", {6345, 4290, 495, 375}, {423, 286, 33, 25}},
    };
    for (const Case& c : cases) {
        const ControlLayout* control = FindControl(c.name);
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(PositionInForm(*control), c.inForm) << c.name;
        EXPECT_EQ(TwipsToPixels(PositionInForm(*control), 96), c.at96) << c.name;
    }
}

TEST(MainFormLayout, OnlyTheTopControlsLieInsideTheVisibleClientArea) {
    // The client area is 1545 twips high at the held size.
    const std::set<std::string> visible = {"fraTimer1", "Label1",   "song",       "Label2",
                                           "lblaction", "ChatText", "cmdSettings"};
    for (const ControlLayout& control : MainFormControls()) {
        const bool onScreen = PositionInForm(control).top < 1545;
        EXPECT_EQ(onScreen, visible.count(std::string(control.name)) == 1) << control.name;
    }
}

TEST(MainFormLayout, TabOrderStartsAtTheButtonsBelowTheVisibleArea) {
    std::vector<std::string> tabOrder;
    for (const ControlLayout& control : MainFormControls()) {
        if (IsTabStop(control.kind)) tabOrder.emplace_back(control.name);
    }
    ASSERT_GE(tabOrder.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(tabOrder.begin(), tabOrder.begin() + 4),
              (std::vector<std::string>{"cmdEnd", "cmdInfo", "cmdSettings", "cmdSetOSPDefaults"}));
}

TEST(MainFormLayout, NamesAreUniqueAndEveryFrameComesBeforeItsControls) {
    std::set<std::string> seen;
    for (const ControlLayout& control : MainFormControls()) {
        EXPECT_TRUE(seen.insert(std::string(control.name)).second) << "twice: " << control.name;
        if (control.container.empty()) continue;
        const ControlLayout* frame = FindControl(control.container);
        ASSERT_NE(frame, nullptr) << control.name;
        EXPECT_EQ(frame->kind, ControlKind::Frame) << control.name;
        EXPECT_TRUE(seen.count(std::string(control.container))) << control.name << " before its frame";
    }
    EXPECT_EQ(seen.size(), 29u);
}

TEST(MainFormLayout, EveryButtonIdBelongsToExactlyOneButton) {
    std::map<ButtonId, int> uses;
    for (const ControlLayout& control : MainFormControls()) {
        EXPECT_EQ(control.button.has_value(), control.kind == ControlKind::Button) << control.name;
        if (control.button) ++uses[*control.button];
    }
    for (int id = static_cast<int>(ButtonId::cmdEnd); id <= static_cast<int>(ButtonId::cmdTrackOpenURL); ++id) {
        EXPECT_EQ(uses[static_cast<ButtonId>(id)], 1) << "ButtonId " << id;
    }
}

TEST(MainFormLayout, TransportButtonsSitInTrackWithTheirTooltips) {
    struct Case {
        const char* name;
        const char* caption;
        const char* tooltip;
    };
    const Case cases[] = {
        {"cmdTrackPrev", "|<", "Previous track"},   {"cmdTrackNext", ">|", "Next track"},
        {"cmdTrackPlay", "->", "Play"},             {"cmdTrackPause", "||", "Pause"},
        {"cmdTrackStop", "S", "Stop"},              {"cmdTrackFadeout", ">S", "Fadeout and Stop"},
        {"cmdTrackStopAfter", "|S", "Stop after current track"},
        {"cmdFRewind", "<<", "Fast-rewind 5 seconds"},
        {"cmdTrackFForward", ">>", "Fast-forward 5 seconds"},
        {"cmdTrackOpenFile", "File", "Open file dialog"},
        {"cmdTrackOpenURL", "URL", "Open URL dialog"},
    };
    int left = 120;
    for (const Case& c : cases) {
        const ControlLayout* control = FindControl(c.name);
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->container, "fraMsg");
        EXPECT_EQ(control->caption, c.caption);
        EXPECT_EQ(control->tooltip, c.tooltip);
        EXPECT_EQ(control->position, (TwipRect{left, 240, 495, 375})) << c.name;
        left += 600;
    }
    EXPECT_EQ(FindControl("fraMsg")->caption, "Track");
}

TEST(MainFormLayout, LabelsTheLogicWritesStartWithTheLogicsCaptions) {
    const FormControls initial;
    std::vector<std::string FormControls::*> bound;
    for (const ControlLayout& control : MainFormControls()) {
        if (!control.shownCaption) continue;
        EXPECT_EQ(control.kind, ControlKind::Label) << control.name;
        EXPECT_EQ(std::string(control.caption), initial.*control.shownCaption) << control.name;
        EXPECT_EQ(std::count(bound.begin(), bound.end(), control.shownCaption), 0) << control.name;
        bound.push_back(control.shownCaption);
    }
    EXPECT_EQ(bound.size(), 6u);
}

TEST(MainFormLayout, FontsAndTheirPixelHeights) {
    EXPECT_EQ(FindControl("song")->font, (ControlFont{"Arial", 8.25, true}));
    EXPECT_EQ(FindControl("lblaction")->font, (ControlFont{"Arial", 9.75, false}));
    EXPECT_EQ(FindControl("ChatText")->font, (ControlFont{"Arial", 8.25, false}));
    EXPECT_EQ(FindControl("Label1")->font, kFormFont);
    EXPECT_EQ(FontHeightPixels(8.25, 96), -11);
    EXPECT_EQ(FontHeightPixels(9.75, 96), -13);
    EXPECT_EQ(FontHeightPixels(9.75, 144), -20);
}

} // namespace
} // namespace tunebridge
