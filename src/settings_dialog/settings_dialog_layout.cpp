#include "settings_dialog/settings_dialog_layout.h"

#include <array>

namespace tunebridge {
namespace {

namespace id = control_id;

constexpr ControlKind kFrame = ControlKind::Frame;
constexpr ControlKind kLabel = ControlKind::Label;
constexpr ControlKind kButton = ControlKind::Button;
constexpr ControlKind kTextBox = ControlKind::TextBox;

constexpr int kUniqueWordLimit = 19;

// The key boxes stand in three columns of a caption and a box, slot after
// slot from left to right; the indicators fill the last row after "Pause :".
constexpr int kKeyColumnPitch = 1755;
constexpr int kKeyRowPitch = 330;

constexpr ControlLayout KeyCaption(HotkeySlot slot, std::string_view caption) {
    const int n = static_cast<int>(slot);
    return {id::kKeyCaptionFirst + n, "lblTimerKey", kLabel, caption,
            {120 + n % 3 * kKeyColumnPitch, 285 + n / 3 * kKeyRowPitch, 555, 195}, id::kKeyFrame};
}

constexpr ControlLayout KeyBox(HotkeySlot slot) {
    const int n = static_cast<int>(slot);
    return {KeyBoxId(slot), "txtKey", ControlKind::KeyBox, "",
            {675 + n % 3 * kKeyColumnPitch, 240 + n / 3 * kKeyRowPitch, 1020, 285}, id::kKeyFrame};
}

constexpr ControlLayout Indicator(int controlId, std::string_view name, std::string_view caption, int place) {
    return {controlId, name, ControlKind::Shape, caption, {1875 + place * 1155, 900, 1020, 285}, id::kKeyFrame};
}

// Preview labels sit in one line inside their preview box, spaced as the
// game line spaces its parts.
constexpr ControlLayout PreviewLabel(int controlId, std::string_view name, std::string_view caption, int left,
                                     int width, int box) {
    return {controlId, name, kLabel, caption, {left, 60, width, 255}, box};
}

// Ten buttons in a row under a preview box.
constexpr ControlLayout ColorButton(int controlId, int place, std::string_view caption, int frame) {
    return {controlId, "cmdColor", ControlKind::ColorButton, caption, {120 + place * 510, 705, 435, 300}, frame};
}

// Four check boxes a row.
constexpr ControlLayout SensorChoice(int n, std::string_view caption) {
    return {id::kSensorChoiceFirst + n, "chkMBMoptions", ControlKind::CheckBox, caption,
            {120 + n % 4 * 1260, 825 + n / 4 * 255, 1200, 255}, id::kSensorFrame};
}

using enum HotkeySlot;

constexpr std::array kControls = {
    ControlLayout{id::kSettingsOk, "cmdOK", kButton, "OK - Save", {2880, 6795, 1215, 375}},
    ControlLayout{id::kSettingsCancel, "cmdCancel", kButton, "Cancel", {4230, 6795, 1215, 375}},

    ControlLayout{id::kKeyFrame, "fraTimerKeys", kFrame, "Function key binds", {120, 60, 5325, 1605}},
    KeyCaption(Play, "Play :"), KeyBox(Play),
    KeyCaption(Stop, "Stop :"), KeyBox(Stop),
    KeyCaption(Next, "Next :"), KeyBox(Next),
    KeyCaption(Previous, "Prev :"), KeyBox(Previous),
    KeyCaption(VolumeUp, "Vol+ :"), KeyBox(VolumeUp),
    KeyCaption(VolumeDown, "Vol- :"), KeyBox(VolumeDown),
    KeyCaption(Pause, "Pause :"), KeyBox(Pause),
    Indicator(id::kShiftIndicator, "shpShift", "SHIFT", 0),
    Indicator(id::kAltIndicator, "ShpAlt", "ALT", 1),
    Indicator(id::kCtrlIndicator, "ShpCtrl", "CTRL", 2),
    ControlLayout{id::kUniqueWordTitle, "", kLabel, "Unique:", {120, 1275, 555, 195}, id::kKeyFrame},
    ControlLayout{id::kUniqueWord, "Text1", kTextBox, "Mywinamp", {675, 1230, 1620, 285}, id::kKeyFrame},
    ControlLayout{id::kBindHint, "lblinfo", kLabel, "bind x 1234567890:Playlist", {2430, 1275, 2775, 195},
                  id::kKeyFrame},

    ControlLayout{id::kColorFrame, "Frame1", kFrame, "Color Selector", {120, 1725, 5325, 1110}},
    ControlLayout{id::kPreviewBox, "Picture1", ControlKind::Picture, "", {120, 240, 5085, 375}, id::kColorFrame},
    PreviewLabel(PreviewLabelId(ColorElement::Winamp), "lblDisp", "Winamp", 60, 630, id::kPreviewBox),
    PreviewLabel(PreviewLabelId(ColorElement::Separator), "lblDisp", ":", 750, 90, id::kPreviewBox),
    PreviewLabel(PreviewLabelId(ColorElement::TrackNumber), "lblDisp", "1.", 900, 180, id::kPreviewBox),
    PreviewLabel(PreviewLabelId(ColorElement::Title), "lblDisp", "S.O.A.D. • Needles", 1140, 1395, id::kPreviewBox),
    PreviewLabel(PreviewLabelId(ColorElement::StateOpen), "lblDisp", "[", 2595, 90, id::kPreviewBox),
    PreviewLabel(PreviewLabelId(ColorElement::StateWord), "lblDisp", "Paused", 2685, 555, id::kPreviewBox),
    PreviewLabel(PreviewLabelId(ColorElement::StateClose), "lblDisp", "]", 3240, 90, id::kPreviewBox),
    PreviewLabel(PreviewLabelId(ColorElement::TimeOpen), "lblDisp", "[", 3390, 90, id::kPreviewBox),
    PreviewLabel(PreviewLabelId(ColorElement::Minutes), "lblDisp", "01", 3480, 195, id::kPreviewBox),
    PreviewLabel(PreviewLabelId(ColorElement::TimeColon), "lblDisp", ":", 3675, 75, id::kPreviewBox),
    PreviewLabel(PreviewLabelId(ColorElement::Seconds), "lblDisp", "01", 3750, 195, id::kPreviewBox),
    PreviewLabel(PreviewLabelId(ColorElement::TimeClose), "lblDisp", "]", 3945, 90, id::kPreviewBox),
    ColorButton(ColorButtonId(0), 0, "0", id::kColorFrame),
    ColorButton(ColorButtonId(1), 1, "1", id::kColorFrame),
    ColorButton(ColorButtonId(2), 2, "2", id::kColorFrame),
    ColorButton(ColorButtonId(3), 3, "3", id::kColorFrame),
    ColorButton(ColorButtonId(4), 4, "4", id::kColorFrame),
    ColorButton(ColorButtonId(5), 5, "5", id::kColorFrame),
    ColorButton(ColorButtonId(6), 6, "6", id::kColorFrame),
    ColorButton(ColorButtonId(7), 7, "7", id::kColorFrame),
    ColorButton(ColorButtonId(8), 8, "8", id::kColorFrame),
    ColorButton(ColorButtonId(9), 9, "9", id::kColorFrame),

    ControlLayout{id::kDisplayFrame, "Frame2", kFrame, "Display Track info", {120, 2895, 5325, 630}},
    ControlLayout{id::kDisplayOnChange, "Option1", ControlKind::OptionButton, "Display only on track change",
                  {120, 240, 2715, 255}, id::kDisplayFrame},
    ControlLayout{id::kDisplayEvery, "Option1", ControlKind::OptionButton, "Display every", {2880, 240, 1335, 255},
                  id::kDisplayFrame},
    ControlLayout{id::kRepeatSeconds, "txtSecs", kTextBox, "10", {4230, 225, 450, 285}, id::kDisplayFrame},
    ControlLayout{id::kRepeatSecondsUnit, "", kLabel, "Sec.", {4740, 270, 420, 195}, id::kDisplayFrame},

    ControlLayout{id::kSensorColorFrame, "Frame3", kFrame, "Color Selector", {120, 3585, 5325, 1110}},
    ControlLayout{id::kSensorPreviewBox, "Picture2", ControlKind::Picture, "", {120, 240, 5085, 375},
                  id::kSensorColorFrame},
    PreviewLabel(id::kSensorPreviewLabelFirst + 0, "lblMBM", "MBMonitor", 60, 780, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 1, "lblMBM", ":", 900, 90, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 2, "lblMBM", "CPU", 1050, 330, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 3, "lblMBM", "[", 1440, 90, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 4, "lblMBM", "46", 1530, 180, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 5, "lblMBM", "]", 1710, 90, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 6, "lblMBM", "FAN", 1860, 330, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 7, "lblMBM", "[", 2250, 90, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 8, "lblMBM", "4588", 2340, 360, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 9, "lblMBM", "]", 2700, 90, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 10, "lblMBM", "+12v", 2850, 360, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 11, "lblMBM", "[", 3270, 90, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 12, "lblMBM", "12.2", 3360, 315, id::kSensorPreviewBox),
    PreviewLabel(id::kSensorPreviewLabelFirst + 13, "lblMBM", "]", 3675, 90, id::kSensorPreviewBox),
    ColorButton(SensorColorButtonId(9), 0, "9", id::kSensorColorFrame),
    ColorButton(SensorColorButtonId(8), 1, "8", id::kSensorColorFrame),
    ColorButton(SensorColorButtonId(7), 2, "7", id::kSensorColorFrame),
    ColorButton(SensorColorButtonId(6), 3, "6", id::kSensorColorFrame),
    ColorButton(SensorColorButtonId(5), 4, "5", id::kSensorColorFrame),
    ColorButton(SensorColorButtonId(4), 5, "4", id::kSensorColorFrame),
    ColorButton(SensorColorButtonId(3), 6, "3", id::kSensorColorFrame),
    ColorButton(SensorColorButtonId(2), 7, "2", id::kSensorColorFrame),
    ColorButton(SensorColorButtonId(1), 8, "1", id::kSensorColorFrame),
    ColorButton(SensorColorButtonId(0), 9, "0", id::kSensorColorFrame),

    ControlLayout{id::kSensorFrame, "Frame4", kFrame, "MBMonitor 5.1 Settings", {120, 4755, 5325, 1965}},
    ControlLayout{id::kSensorRed, "chkFanCpuRed", ControlKind::CheckBox, "Make CPU / Fan : RED",
                  {120, 465, 2160, 255}, id::kSensorFrame},
    ControlLayout{id::kCpuLimitTitle, "", kLabel, "CPU", {2400, 240, 600, 195}, id::kSensorFrame},
    ControlLayout{id::kCpuLimit, "txtCPUover", kTextBox, "50", {2400, 450, 600, 285}, id::kSensorFrame},
    ControlLayout{id::kFanLowTitle, "", kLabel, "FAN L.", {3240, 240, 780, 195}, id::kSensorFrame},
    ControlLayout{id::kFanLow, "txtFanLow", kTextBox, "2000", {3240, 450, 780, 285}, id::kSensorFrame},
    ControlLayout{id::kFanHighTitle, "", kLabel, "FAN H.", {4200, 240, 780, 195}, id::kSensorFrame},
    ControlLayout{id::kFanHigh, "txtFanHigh", kTextBox, "5000", {4200, 450, 780, 285}, id::kSensorFrame},
    SensorChoice(0, "CPU 1"), SensorChoice(1, "CPU 2"), SensorChoice(2, "CASE"), SensorChoice(3, "FAN 1"),
    SensorChoice(4, "FAN 2"), SensorChoice(5, "VCORE"), SensorChoice(6, "+12v"), SensorChoice(7, " -12v"),
    SensorChoice(8, "+5v"), SensorChoice(9, " -5v"), SensorChoice(10, "+3.3v"),
    ControlLayout{id::kSensorOnWarning, "OptMBMDisplay", ControlKind::OptionButton, "Display MBM only on Warning",
                  {120, 1605, 2715, 255}, id::kSensorFrame},
    ControlLayout{id::kSensorEvery, "OptMBMDisplay", ControlKind::OptionButton, "Display every",
                  {2880, 1605, 1335, 255}, id::kSensorFrame},
    ControlLayout{id::kSensorSeconds, "txtMBMsecs", kTextBox, "30", {4230, 1590, 450, 285}, id::kSensorFrame},
    ControlLayout{id::kSensorSecondsUnit, "", kLabel, "Sec.", {4740, 1635, 420, 195}, id::kSensorFrame},
};

constexpr WindowLayout kLayout{"Settings for Tunebridge.", 5565, 7260, kControls};

} // namespace

const WindowLayout& SettingsDialogLayout() { return kLayout; }

int TextLimitOf(int controlId) { return controlId == id::kUniqueWord ? kUniqueWordLimit : 0; }

} // namespace tunebridge
