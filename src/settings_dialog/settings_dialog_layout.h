#pragma once

#include "platform/window_layout.h"
#include "resources/control_ids.h"
#include "settings/settings.h"

namespace tunebridge {

// The colour buttons under each preview: one per game colour digit.
inline constexpr int kColorDigitCount = 10;

// "Settings for Tunebridge.": its client area and every control in creation
// order, "OK - Save" first so that it has the focus when the dialog opens.
// Design names are empty for the captions the form left unnamed.
const WindowLayout& SettingsDialogLayout();

// The most characters a text box takes, 0 for no limit. The unique word
// stops at 19: the settings file gives back no more, and a longer word
// would stop matching the in-game bind at the next start.
int TextLimitOf(int controlId);

constexpr int KeyBoxId(HotkeySlot slot) { return control_id::kKeyBoxFirst + static_cast<int>(slot); }
constexpr int PreviewLabelId(ColorElement element) {
    return control_id::kPreviewLabelFirst + static_cast<int>(element);
}
constexpr int ColorButtonId(int digit) { return control_id::kColorButtonFirst + digit; }
// The sensor selector's buttons count down: its first shows the digit 9.
constexpr int SensorColorButtonId(int digit) {
    return control_id::kSensorColorButtonFirst + (kColorDigitCount - 1 - digit);
}

} // namespace tunebridge
