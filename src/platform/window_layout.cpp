#include "platform/window_layout.h"

#include <cmath>
#include <cstdint>

namespace tunebridge {

const ControlLayout* FindControl(const WindowLayout& window, int id) {
    for (const ControlLayout& control : window.controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

bool IsTabStop(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::ColorButton:
    case ControlKind::TextBox:
    case ControlKind::KeyBox:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
        return true;
    default:
        return false;
    }
}

bool HoldsOneLine(const ControlLayout& control) {
    constexpr double kTwipsPerPoint = 20;
    return control.position.height < 2 * control.font.points * kTwipsPerPoint;
}

TwipRect PositionInWindow(const WindowLayout& window, const ControlLayout& control) {
    TwipRect rect = control.position;
    for (const ControlLayout* outer = FindControl(window, control.container); outer != nullptr;
         outer = FindControl(window, outer->container)) {
        rect.left += outer->position.left;
        rect.top += outer->position.top;
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

int FontHeightPixels(double points, int dpi) { return -static_cast<int>(std::lround(points * dpi / 72.0)); }

} // namespace tunebridge
