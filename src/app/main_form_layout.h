#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/form_controls.h"
#include "app/main_form.h"

namespace tunebridge {

enum class ControlKind { Frame, Label, Button, TextBox };

// Left, top, width and height in twips (1/1440 inch).
struct TwipRect {
    int left;
    int top;
    int width;
    int height;

    friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

struct PixelRect {
    int left;
    int top;
    int width;
    int height;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct ControlFont {
    std::string_view face;
    double points;
    bool bold;

    friend bool operator==(const ControlFont&, const ControlFont&) = default;
};

// The window's own font, which every control without a font of its own uses.
inline constexpr ControlFont kFormFont{"MS Sans Serif", 8.25, false};

// The outer size the window is held at, whatever the user does.
inline constexpr int kFormWidthTwips = 6870;
inline constexpr int kFormHeightTwips = 1950;

// One control of the main window. Captions are ANSI bytes (Windows-1252).
struct ControlLayout {
    std::string_view name;
    ControlKind kind;
    std::string_view caption;
    TwipRect position;           // relative to the container
    std::string_view container;  // the frame it sits in; empty: the window
    ControlFont font = kFormFont;
    std::string_view tooltip = {};
    std::optional<ButtonId> button = std::nullopt;
    // The label's caption as the logic keeps it; null for fixed captions.
    std::string FormControls::*shownCaption = nullptr;
};

// Every control in creation order. A frame comes before the controls inside
// it, and the controls that take the focus are in their tab order.
std::span<const ControlLayout> MainFormControls();

// The control of that name, or null.
const ControlLayout* FindControl(std::string_view name);

// Buttons and text boxes take the focus; frames and labels do not.
bool IsTabStop(ControlKind kind);

// The control's position relative to the window's client area.
TwipRect PositionInForm(const ControlLayout& control);

// Twips to pixels at `dpi` dots per inch, rounded as MulDiv rounds.
int TwipsToPixels(int twips, int dpi);
PixelRect TwipsToPixels(const TwipRect& rect, int dpi);

// The font's cell height in pixels at `dpi`, negative as CreateFont takes a
// character height.
int FontHeightPixels(double points, int dpi);

} // namespace tunebridge
