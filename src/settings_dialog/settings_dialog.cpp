#include "settings_dialog/settings_dialog.h"

#include <cstdint>
#include <utility>

#include "resources/control_ids.h"
#include "settings_dialog/settings_dialog_layout.h"
#include "settings/settings_store.h"

namespace tunebridge {
namespace {

namespace id = control_id;

constexpr Rgb kBlack = 0x000000;
constexpr Rgb kWhite = 0xFFFFFF;

// A game colour digit: the face of its button, the button's caption colour
// (readable on that face) and the colour its preview gives a label.
struct ColorDigit {
    Rgb face;
    Rgb caption;
    Rgb preview;
};

constexpr ColorDigit kColorDigits[kColorDigitCount] = {
    {0x000000, kWhite, 0x000000},            // black
    {0x0000FF, kWhite, 0x0000FF},            // red
    {0x00FF00, kBlack, 0x00FF00},            // green
    {0x00FFFF, kBlack, 0x00FFFF},            // yellow
    {0xFF0000, kWhite, 0xFF0000},            // blue
    {0xFFFF00, kBlack, 0xFFFF00},            // cyan
    {0xFF80FF, kBlack, 0xFF00FF},            // magenta
    {0xFFFFFF, kBlack, 0xFFFFFF},            // white
    {0x0080FF, kBlack, 0x5AAAE6},            // orange
    {kSystemColor, kSystemColor, 0x808080},  // grey
};

bool IsColorDigit(int value) { return value >= 0 && value < kColorDigitCount; }

// The element of a control array that `controlId` is, if it is one.
std::optional<std::size_t> IndexIn(int controlId, int firstId, std::size_t count) {
    if (controlId < firstId || controlId >= firstId + static_cast<int>(count)) return std::nullopt;
    return static_cast<std::size_t>(controlId - firstId);
}

std::optional<HotkeySlot> KeyBoxSlot(int controlId) {
    if (const auto slot = IndexIn(controlId, id::kKeyBoxFirst, kHotkeySlotCount)) return HotkeySlot(*slot);
    return std::nullopt;
}

// Either bracket of the state tag selects both, and so does either bracket
// of the time, so each pair keeps one colour; the track line closes the
// time with the opening bracket's colour in any case.
constexpr std::pair<ColorElement, ColorElement> kBracketPairs[] = {
    {ColorElement::StateOpen, ColorElement::StateClose},
    {ColorElement::TimeOpen, ColorElement::TimeClose},
};

bool InSensorBlock(const ControlLayout& control) {
    const WindowLayout& layout = SettingsDialogLayout();
    for (const ControlLayout* outer = &control; outer != nullptr; outer = FindControl(layout, outer->container)) {
        if (outer->id == id::kSensorColorFrame || outer->id == id::kSensorFrame) return true;
    }
    return false;
}

const char* TrueOrFalse(bool value) { return value ? "True" : "False"; }

} // namespace

// A display value that is neither "True" nor "False" (a fresh settings file
// holds "Winamp") selects what the announcer does with it: only changes are
// shown unless the first value is "False". Of two "True" values the second
// wins, as it is applied last.
SettingsDialog::SettingsDialog(Desktop& desktop, Settings& settings)
    : desktop_(desktop), settings_(settings), keyCapture_(desktop, settings), uniqueWord_(settings.uniqueWord),
      repeatSeconds_(settings.repeatSeconds), displayOnChangeOnly_(settings.displayOnChangeOnly != "False"),
      displayEvery_(!displayOnChangeOnly_) {
    if (settings.displayEvery == "True") {
        displayEvery_ = true;
        displayOnChangeOnly_ = false;
    } else if (settings.displayEvery == "False") {
        displayEvery_ = false;
    }
}

std::optional<ControlState> SettingsDialog::StateOf(int controlId) const {
    const ControlLayout* control = FindControl(SettingsDialogLayout(), controlId);
    if (control == nullptr) return std::nullopt;
    ControlState state{std::string(control->caption)};

    if (const auto slot = KeyBoxSlot(controlId)) {
        state.caption = keyCapture_.BoxText(*slot);
    } else if (const auto element = IndexIn(controlId, id::kPreviewLabelFirst, kColorElementCount)) {
        const int value = settings_.colors[*element];
        state.framed = selected_[*element];
        state.textColor = IsColorDigit(value) ? kColorDigits[value].preview : kPreviewDesignText;
        state.fillColor = kPreviewBackground;
    } else if (const auto digit = IndexIn(controlId, id::kColorButtonFirst, kColorDigitCount)) {
        state.fillColor = kColorDigits[*digit].face;
        state.textColor = kColorDigits[*digit].caption;
    } else if (const auto place = IndexIn(controlId, id::kSensorColorButtonFirst, kColorDigitCount)) {
        const ColorDigit& shown = kColorDigits[kColorDigitCount - 1 - *place];
        state.enabled = false;
        state.fillColor = shown.face;
        state.textColor = shown.caption;
    } else if (InSensorBlock(*control)) {
        state.enabled = false;
        state.checked = controlId == id::kSensorOnWarning;
    } else {
        switch (controlId) {
        case id::kShiftIndicator: state.fillColor = keyCapture_.IndicatorColor(Modifier::Shift); break;
        case id::kAltIndicator: state.fillColor = keyCapture_.IndicatorColor(Modifier::Alt); break;
        case id::kCtrlIndicator: state.fillColor = keyCapture_.IndicatorColor(Modifier::Ctrl); break;
        // Text of the settings file, which the console is matched against.
        case id::kUniqueWord: state = {.caption = uniqueWord_, .ansiCaption = true}; break;
        case id::kBindHint: state = {.caption = "bind x echo " + uniqueWord_ + ":Playlist", .ansiCaption = true}; break;
        case id::kRepeatSeconds: state = {.caption = repeatSeconds_, .ansiCaption = true}; break;
        case id::kDisplayOnChange: state.checked = displayOnChangeOnly_; break;
        case id::kDisplayEvery: state.checked = displayEvery_; break;
        case id::kPreviewBox: state.fillColor = kPreviewBackground; break;
        default: return std::nullopt;
        }
    }
    return state;
}

void SettingsDialog::OnClick(int controlId) {
    if (const auto slot = KeyBoxSlot(controlId)) {
        keyCapture_.Click(*slot);
    } else if (const auto element = IndexIn(controlId, id::kPreviewLabelFirst, kColorElementCount)) {
        SelectElement(*element);
    } else if (const auto digit = IndexIn(controlId, id::kColorButtonFirst, kColorDigitCount)) {
        PickColor(static_cast<int>(*digit));
    } else if (controlId == id::kDisplayOnChange || controlId == id::kDisplayEvery) {
        displayOnChangeOnly_ = controlId == id::kDisplayOnChange;
        displayEvery_ = !displayOnChangeOnly_;
    } else if (controlId == id::kSettingsOk) {
        Confirm();
    } else if (controlId == id::kSettingsCancel) {
        closeRequested_ = true;
    }
}

void SettingsDialog::OnTextChanged(int controlId, const std::string& text) {
    if (controlId == id::kUniqueWord) uniqueWord_ = text;
    if (controlId == id::kRepeatSeconds) repeatSeconds_ = text;
}

// Escape closes the dialog from a key box too, so it can never be captured.
void SettingsDialog::OnKeyDown(int controlId, int virtualKey) {
    if (virtualKey == kVirtualKeyEscape) {
        OnEscape();
    } else if (const auto slot = KeyBoxSlot(controlId)) {
        keyCapture_.KeyDown(*slot, virtualKey);
    }
}

void SettingsDialog::OnKeyUp(int controlId, int virtualKey) {
    if (KeyBoxSlot(controlId)) keyCapture_.KeyUp(virtualKey);
}

void SettingsDialog::OnFocus(int controlId) {
    if (KeyBoxSlot(controlId)) keyCapture_.Focus();
}

void SettingsDialog::OnEscape() { closeRequested_ = true; }

void SettingsDialog::SelectElement(std::size_t element) {
    selected_.fill(false);
    selected_[element] = true;
    for (const auto& [open, close] : kBracketPairs) {
        const auto first = static_cast<std::size_t>(open), second = static_cast<std::size_t>(close);
        if (element == first || element == second) selected_[first] = selected_[second] = true;
    }
}

// The selection stays, so several colours can be tried in a row.
void SettingsDialog::PickColor(int digit) {
    for (std::size_t element = 0; element < kColorElementCount; ++element) {
        if (selected_[element]) settings_.colors[element] = static_cast<std::int16_t>(digit);
    }
}

void SettingsDialog::Confirm() {
    settings_.uniqueWord = uniqueWord_;
    settings_.repeatSeconds = repeatSeconds_;
    settings_.displayOnChangeOnly = TrueOrFalse(displayOnChangeOnly_);
    settings_.displayEvery = TrueOrFalse(displayEvery_);
    SaveSettings(desktop_, settings_);
    closeRequested_ = true;
}

} // namespace tunebridge
