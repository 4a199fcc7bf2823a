#pragma once

#include <functional>

#include "platform/window_win32.h"
#include "settings_dialog/settings_dialog.h"

namespace tunebridge {

// "Settings for Tunebridge." on the screen: the layout's controls, with
// the unique word limited to what the settings file gives back.
class SettingsDialogView final : public DialogWindow {
public:
    SettingsDialogView(SettingsDialog& model, std::function<void()> onClosed);

protected:
    void BeforeShow() override;
};

} // namespace tunebridge
