#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/main_form_layout.h"

namespace tunebridge {
namespace {

TEST(MainFormLayout, TwipsAndPointsBecomePixelsByTheDpi) {
    struct Case {
        int dpi;
        int width;
        int height;
    };
    // 120 DPI lands on halves: rounded away from zero as MulDiv does.
    for (const Case& c : {Case{96, 458, 130}, Case{120, 573, 163}, Case{144, 687, 195}, Case{192, 916, 260}}) {
        EXPECT_EQ(TwipsToPixels(kFormWidthTwips, c.dpi), c.width) << c.dpi << " DPI";
        EXPECT_EQ(TwipsToPixels(kFormHeightTwips, c.dpi), c.height) << c.dpi << " DPI";
    }
    EXPECT_EQ(TwipsToPixels(-7, 96), 0);
    EXPECT_EQ(TwipsToPixels(-8, 96), -1);
    EXPECT_EQ(FontHeightPixels(8.25, 96), -11);
    EXPECT_EQ(FontHeightPixels(9.75, 96), -13);
    EXPECT_EQ(FontHeightPixels(9.75, 144), -20);
}

TEST(MainFormLayout, ControlsInsideAFrameAreOffsetByTheFrame) {
    struct Case {
        const char* name;
        TwipRect inForm;
        PixelRect at96;
    };
    const Case cases[] = {
        {"cmdEnd", {5520, 1590, 1215, 375}, {368, 106, 81, 25}},
        {"song", {600, 240, 6105, 255}, {40, 16, 407, 17}},
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

TEST(MainFormLayout, OnlyTheTopControlsAreVisibleAndTabOrderStartsBelowThem) {
    // The client area is 1545 twips high at the held size.
    const std::set<std::string> visible = {"fraTimer1", "Label1", "song", "Label2", "lblaction", "ChatText",
                                           "cmdSettings"};
    std::vector<std::string> tabOrder;
    for (const ControlLayout& control : MainFormControls()) {
        EXPECT_EQ(PositionInForm(control).top < 1545, visible.count(std::string(control.name)) == 1) << control.name;
        if (IsTabStop(control.kind)) tabOrder.emplace_back(control.name);
    }
    tabOrder.resize(4);
    EXPECT_EQ(tabOrder, (std::vector<std::string>{"cmdEnd", "cmdInfo", "cmdSettings", "cmdSetOSPDefaults"}));
}

TEST(MainFormLayout, NamesFramesButtonsAndBoundLabelsAreConsistent) {
    std::set<std::string> seen;
    std::map<ButtonId, int> buttonUses;
    std::vector<std::string FormControls::*> bound;
    const FormControls initial;
    for (const ControlLayout& control : MainFormControls()) {
        EXPECT_TRUE(seen.insert(std::string(control.name)).second) << "twice: " << control.name;
        if (!control.container.empty()) {
            const ControlLayout* frame = FindControl(control.container);
            ASSERT_NE(frame, nullptr) << control.name;
            EXPECT_EQ(frame->kind, ControlKind::Frame) << control.name;
            EXPECT_TRUE(seen.count(std::string(control.container))) << control.name << " before its frame";
        }
        EXPECT_EQ(control.button.has_value(), control.kind == ControlKind::Button) << control.name;
        if (control.button) ++buttonUses[*control.button];
        if (control.shownCaption) {
            EXPECT_EQ(control.kind, ControlKind::Label) << control.name;
            EXPECT_EQ(std::string(control.caption), initial.*control.shownCaption) << control.name;
            EXPECT_EQ(std::count(bound.begin(), bound.end(), control.shownCaption), 0) << control.name;
            bound.push_back(control.shownCaption);
        }
    }
    EXPECT_EQ(seen.size(), 29u);
    EXPECT_EQ(bound.size(), 6u);
    for (int id = static_cast<int>(ButtonId::cmdEnd); id <= static_cast<int>(ButtonId::cmdTrackOpenURL); ++id)
        EXPECT_EQ(buttonUses[static_cast<ButtonId>(id)], 1) << "ButtonId " << id;
}

} // namespace
} // namespace tunebridge
