#include "app/main_form_layout.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace tunebridge {
namespace {

constexpr ControlFont kArial825{"Arial", 8.25, false};
constexpr ControlFont kArial825Bold{"Arial", 8.25, true};
constexpr ControlFont kArial975{"Arial", 9.75, false};

constexpr ControlKind kFrame = ControlKind::Frame;
constexpr ControlKind kLabel = ControlKind::Label;
constexpr ControlKind kButton = ControlKind::Button;
constexpr ControlKind kTextBox = ControlKind::TextBox;

// Every transport button is 495 x 375 twips with its top at 240 in "Track".
constexpr ControlLayout TransportButton(std::string_view name, std::string_view caption, int left,
                                        std::string_view tooltip, ButtonId button) {
    return {name, kButton, caption, {left, 240, 495, 375}, "fraMsg", kFormFont, tooltip, button};
}

// The four buttons that open the tab order come first. The buttons below the
// visible client area can still be reached with Tab.
constexpr std::array kControls = {
    ControlLayout{"cmdEnd", kButton, "H\xE6tta", {5520, 1590, 1215, 375}, "", kFormFont, "",
                  ButtonId::cmdEnd},
    ControlLayout{"cmdInfo", kButton, "Uppl\xFDsingar", {4200, 1590, 1215, 375}, "", kFormFont, "",
                  ButtonId::cmdInfo},
    ControlLayout{"cmdSettings", kButton, "Settings ...", {5505, 1140, 1215, 375}, "", kFormFont, "",
                  ButtonId::cmdSettings},
    ControlLayout{"cmdSetOSPDefaults", kButton, "Setja \xE1 Sj\xE1lfgefi\xF0", {90, 1575, 1335, 375},
                  "", kFormFont, "", ButtonId::cmdSetOSPDefaults},

    ControlLayout{"fraTimer1", kFrame, "Winamp", {15, 30, 6735, 735}, ""},
    ControlLayout{"Label1", kLabel, "Song:", {135, 195, 1065, 270}, "fraTimer1"},
    ControlLayout{"song", kLabel, "00:00:00", {585, 210, 6105, 255}, "fraTimer1", kArial825Bold, "",
                  std::nullopt, &FormControls::song},
    ControlLayout{"Label2", kLabel, "Last Action:", {135, 435, 1080, 270}, "fraTimer1"},
    ControlLayout{"lblaction", kLabel, "Startup", {990, 405, 1890, 285}, "fraTimer1", kArial975, "",
                  std::nullopt, &FormControls::lblaction},

    ControlLayout{"ChatText", kLabel, "Label3", {60, 780, 5370, 780}, "", kArial825, "", std::nullopt,
                  &FormControls::ChatText},
    ControlLayout{"lblretval", kLabel, "Label3", {1575, 1590, 1200, 225}, "", kFormFont, "",
                  std::nullopt, &FormControls::lblretval},
    ControlLayout{"txtreporttime", kTextBox, "10", {120, 2595, 540, 285}, ""},
    ControlLayout{"lblPlatform", kLabel, "Label3", {705, 2610, 5370, 255}, "", kArial825, "",
                  std::nullopt, &FormControls::lblPlatform},
    ControlLayout{"quakec", kLabel, "Label3", {210, 2895, 4635, 375}, "", kFormFont, "", std::nullopt,
                  &FormControls::quakec},
    ControlLayout{"Text1", kTextBox, "", {4950, 2940, 1665, 315}, ""},
    ControlLayout{"Text2", kTextBox, "Quake 3 Console", {4950, 3285, 1650, 285}, ""},
    ControlLayout{"Command1", kButton, "Command1", {2265, 3570, 1095, 435}, "", kFormFont, "",
                  ButtonId::Command1},

    ControlLayout{"fraMsg", kFrame, "Track", {225, 4050, 6735, 735}, ""},
    TransportButton("cmdTrackPrev", "|<", 120, "Previous track", ButtonId::cmdTrackPrev),
    TransportButton("cmdTrackNext", ">|", 720, "Next track", ButtonId::cmdTrackNext),
    TransportButton("cmdTrackPlay", "->", 1320, "Play", ButtonId::cmdTrackPlay),
    TransportButton("cmdTrackPause", "||", 1920, "Pause", ButtonId::cmdTrackPause),
    TransportButton("cmdTrackStop", "S", 2520, "Stop", ButtonId::cmdTrackStop),
    TransportButton("cmdTrackFadeout", ">S", 3120, "Fadeout and Stop", ButtonId::cmdTrackFadeout),
    TransportButton("cmdTrackStopAfter", "|S", 3720, "Stop after current track",
                    ButtonId::cmdTrackStopAfter),
    TransportButton("cmdFRewind", "<<", 4320, "Fast-rewind 5 seconds", ButtonId::cmdFRewind),
    TransportButton("cmdTrackFForward", ">>", 4920, "Fast-forward 5 seconds",
                    ButtonId::cmdTrackFForward),
    TransportButton("cmdTrackOpenFile", "File", 5520, "Open file dialog", ButtonId::cmdTrackOpenFile),
    TransportButton("cmdTrackOpenURL", "URL", 6120, "Open URL dialog", ButtonId::cmdTrackOpenURL),
};

} // namespace

std::span<const ControlLayout> MainFormControls() { return kControls; }

const ControlLayout* FindControl(std::string_view name) {
    for (const ControlLayout& control : kControls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

bool IsTabStop(ControlKind kind) { return kind == ControlKind::Button || kind == ControlKind::TextBox; }

TwipRect PositionInForm(const ControlLayout& control) {
    TwipRect rect = control.position;
    if (const ControlLayout* frame = FindControl(control.container)) {
        rect.left += frame->position.left;
        rect.top += frame->position.top;
    }
    return rect;
}

int TwipsToPixels(int twips, int dpi) {
    constexpr std::int64_t kTwipsPerInch = 1440;
    const std::int64_t product = static_cast<std::int64_t>(twips) * dpi;
    const std::int64_t magnitude = ((product < 0 ? -product : product) + kTwipsPerInch / 2) / kTwipsPerInch;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

PixelRect TwipsToPixels(const TwipRect& rect, int dpi) {
    return {TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi), TwipsToPixels(rect.width, dpi),
            TwipsToPixels(rect.height, dpi)};
}

int FontHeightPixels(double points, int dpi) {
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

} // namespace tunebridge
