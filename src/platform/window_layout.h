#pragma once

#include <span>
#include <string_view>

namespace tunebridge {

// What a control is; the window layer makes the matching Win32 control.
enum class ControlKind {
    Frame,         // a group box with a caption
    Label,
    LinkLabel,     // a label that is clicked like a link: blue, underlined, hand pointer
    Button,
    ColorButton,   // a push button whose face its window paints
    TextBox,
    KeyBox,        // a text box that receives every key, dialog keys included
    CheckBox,
    OptionButton,  // radio button; one group per container
    Shape,         // a filled rectangle whose colour the window sets
    Picture,       // a sunken box that holds other controls
    Icon,          // the program's icon
    Line,          // an etched separator
};

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
    bool bold = false;
    bool underline = false;

    friend bool operator==(const ControlFont&, const ControlFont&) = default;
};

// The font of every control without a font of its own.
inline constexpr ControlFont kWindowFont{"MS Sans Serif", 8.25};

inline constexpr int kNoContainer = 0;
inline constexpr int kNoControl = 0;

// One control of a window. Captions are UTF-8.
struct ControlLayout {
    int id;                         // from resources/control_ids.h
    std::string_view designName;    // the control's name on the original form
    ControlKind kind;
    std::string_view caption;
    TwipRect position;              // relative to the container
    int container = kNoContainer;   // id of the frame or picture it sits in
    ControlFont font = kWindowFont;
    std::string_view tooltip = {};
};

// A window: its caption, the client area it is laid out in, and its
// controls in creation order. A container comes before the controls inside
// it, and the controls that take the focus are in their tab order. Enter
// clicks the focused button, else the default button when there is one.
struct WindowLayout {
    std::string_view caption;
    int clientWidthTwips;
    int clientHeightTwips;
    std::span<const ControlLayout> controls;
    int defaultButton = kNoControl;
};

// The control with that id, or null.
const ControlLayout* FindControl(const WindowLayout& window, int id);

// Buttons, text boxes, check boxes and option buttons take the focus.
bool IsTabStop(ControlKind kind);

// A control too low for two lines of its font. Such a label does not wrap:
// text that does not fit is cut at its right edge instead of moving to a
// second line that nobody sees.
bool HoldsOneLine(const ControlLayout& control);

// The control's position relative to the window's client area.
TwipRect PositionInWindow(const WindowLayout& window, const ControlLayout& control);

// Twips to pixels at `dpi` dots per inch, rounded as MulDiv rounds.
int TwipsToPixels(int twips, int dpi);
PixelRect TwipsToPixels(const TwipRect& rect, int dpi);

// The font's character height in pixels at `dpi`, negative as CreateFont takes it.
int FontHeightPixels(double points, int dpi);

} // namespace tunebridge
