#include "settings_dialog/settings_dialog_win32.h"

#include <utility>

#include "settings_dialog/settings_dialog_layout.h"

namespace tunebridge {

SettingsDialogView::SettingsDialogView(SettingsDialog& model, std::function<void()> onClosed)
    : DialogWindow(SettingsDialogLayout(), model, L"TunebridgeSettingsDialog", std::move(onClosed)) {}

void SettingsDialogView::BeforeShow() {
    for (const ControlLayout& control : Layout().controls) {
        if (const int limit = TextLimitOf(control.id); limit > 0)
            ::SendMessageW(Control(control.id), EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    }
}

} // namespace tunebridge
