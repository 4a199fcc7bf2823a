#include "about/about_box_layout.h"

#include <algorithm>
#include <array>

#include "core/program_name.h"
#include "resources/control_ids.h"

namespace tunebridge {
namespace {

namespace id = control_id;

constexpr ControlKind kLabel = ControlKind::Label;

// "Über " + the program's title + "...", put together once at compile time.
constexpr std::string_view kCaptionStart = "Über ";
constexpr std::string_view kTitle = kProgramName;
constexpr std::string_view kCaptionEnd = "...";
constexpr auto kCaptionText = [] {
    std::array<char, kCaptionStart.size() + kTitle.size() + kCaptionEnd.size()> text{};
    auto end = std::copy(kCaptionStart.begin(), kCaptionStart.end(), text.begin());
    end = std::copy(kTitle.begin(), kTitle.end(), end);
    std::copy(kCaptionEnd.begin(), kCaptionEnd.end(), end);
    return text;
}();

constexpr ControlFont kProductFont{"Comic Sans MS", 12, true};
constexpr ControlFont kLinkFont{"MS Sans Serif", 8.25, false, true};

// The link is wider than the form's, to hold the whole placeholder address.
constexpr std::array kControls = {
    ControlLayout{id::kAboutOk, "cmdOK", ControlKind::Button, "OK", {4440, 3060, 1260, 345}},
    ControlLayout{id::kAboutIcon, "picIcon", ControlKind::Icon, "", {240, 240, 480, 480}},
    ControlLayout{id::kProductName, "Programmname", kLabel, kTitle, {960, 240, 2265, 345}, kNoContainer,
                  kProductFont},
    ControlLayout{id::kVersion, "lblVersion", kLabel, "Version", {960, 600, 1845, 225}},
    ControlLayout{id::kDescription, "lblDescription", kLabel,
                  "Controls Winamp. Designed for use in Quake 3 Arena, will work with any other game though.",
                  {240, 1020, 5160, 390}},
    ControlLayout{id::kUpperSeparator, "Line1", ControlKind::Line, "", {120, 1620, 5564, 30}},
    ControlLayout{id::kDevelopmentTitle, "lblCategory", kLabel, "Development:", {240, 1800, 990, 195}},
    ControlLayout{id::kCreditsYear, "", kLabel, "© 2026", {480, 2040, 1320, 195}},
    ControlLayout{id::kFeedbackMail, "lblDevMail1", ControlKind::LinkLabel, kFeedbackAddress,
                  {3360, 2040, 2220, 195}, kNoContainer, kLinkFont},
    ControlLayout{id::kCreditsName, "", kLabel, "the Tunebridge team", {660, 2280, 2220, 195}},
    ControlLayout{id::kIcq, "lblICQ1", kLabel, "ICQ: -", {3360, 2280, 1080, 195}},
    ControlLayout{id::kLowerSeparator, "Line1", ControlKind::Line, "", {120, 2640, 5564, 30}},
    ControlLayout{id::kLegalNote, "lblLegal", kLabel,
                  "Use at your own risk. Winamp and Quake 3 Arena are trademarks of their owners.",
                  {120, 2760, 3495, 615}},
};

constexpr WindowLayout kLayout{{kCaptionText.data(), kCaptionText.size()}, 5820, 3465, kControls, id::kAboutOk};

} // namespace

const WindowLayout& AboutBoxLayout() { return kLayout; }

} // namespace tunebridge
