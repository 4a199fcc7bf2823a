#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tunebridge {

// Colours are 0x00BBGGRR, as Windows takes them.
using Rgb = std::uint32_t;
// "No colour of its own": the control keeps the system's colour.
inline constexpr Rgb kSystemColor = 0xFF000000u;

// How the logic wants one control shown. The view compares it with what the
// control shows and touches only what changed.
struct ControlState {
    std::string caption;
    // The caption holds ANSI bytes of the system code page, as text read
    // from other programs and the settings file does, instead of UTF-8. A
    // text box in that state reports what the user types in ANSI too.
    bool ansiCaption = false;
    bool enabled = true;
    bool checked = false;             // check boxes and option buttons
    bool framed = false;              // a single-line border around a label
    Rgb textColor = kSystemColor;
    Rgb fillColor = kSystemColor;     // shapes, colour-button faces, label backgrounds

    friend bool operator==(const ControlState&, const ControlState&) = default;
};

// A window's behaviour, free of Win32. The view creates the controls from
// the window's layout table, forwards every event here and, after each,
// shows the states the model gives.
class WindowModel {
public:
    virtual ~WindowModel() = default;

    // The state of a control the model drives; nothing for a control that
    // keeps its layout's caption and look.
    virtual std::optional<ControlState> StateOf(int controlId) const = 0;

    virtual void OnClick(int /*controlId*/) {}
    // The text of a text box after the user changed it.
    virtual void OnTextChanged(int /*controlId*/, const std::string& /*text*/) {}
    // Key boxes: every key that goes down or up while the box has the focus
    // (Tab, Enter, arrows, Alt and F10 included), and the focus arriving.
    virtual void OnKeyDown(int /*controlId*/, int /*virtualKey*/) {}
    virtual void OnKeyUp(int /*controlId*/, int /*virtualKey*/) {}
    virtual void OnFocus(int /*controlId*/) {}
    // Escape, wherever the focus is.
    virtual void OnEscape() {}

    // Set by the model when the window is to close; the view then destroys it.
    virtual bool CloseRequested() const { return false; }
};

} // namespace tunebridge
