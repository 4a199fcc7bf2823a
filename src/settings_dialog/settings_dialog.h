#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "hotkeys/key_capture.h"
#include "platform/desktop.h"
#include "platform/window_model.h"
#include "settings/settings.h"

namespace tunebridge {

// The preview boxes are dark like the game's console, so the colours show
// as they will in the game; a label whose colour is no game digit keeps a
// light grey of its own.
inline constexpr Rgb kPreviewBackground = 0x404040;
inline constexpr Rgb kPreviewDesignText = 0xC0C0C0;

// The settings dialog's behaviour. It works on the program's one Settings
// object: key captures and colour picks change it at once and stay when the
// dialog is cancelled; the unique word, the interval and the display mode
// are copied into it by "OK - Save", which then writes the settings file.
// The sensor block and the sensor colour selector are shown disabled: the
// sensor line has fixed limits, colours and interval.
class SettingsDialog : public WindowModel {
public:
    // Fills the controls from the settings: the key boxes with the bound key
    // codes, then the unique word, the interval and the display option.
    SettingsDialog(Desktop& desktop, Settings& settings);

    std::optional<ControlState> StateOf(int controlId) const override;
    void OnClick(int controlId) override;
    void OnTextChanged(int controlId, const std::string& text) override;
    void OnKeyDown(int controlId, int virtualKey) override;
    void OnKeyUp(int controlId, int virtualKey) override;
    void OnFocus(int controlId) override;
    void OnEscape() override;
    bool CloseRequested() const override { return closeRequested_; }

private:
    void SelectElement(std::size_t element);
    void PickColor(int digit);
    void Confirm();

    Desktop& desktop_;
    Settings& settings_;
    KeyCapture keyCapture_;
    std::string uniqueWord_;
    std::string repeatSeconds_;
    bool displayOnChangeOnly_;
    bool displayEvery_;
    std::array<bool, kColorElementCount> selected_{};
    bool closeRequested_ = false;
};

} // namespace tunebridge
