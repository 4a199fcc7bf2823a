#pragma once

#include <string_view>

#include "platform/window_layout.h"

namespace tunebridge {

// Where feedback goes: the link's text and the mail's address. A
// placeholder under the reserved ".invalid" domain until the project has a
// mailbox of its own.
inline constexpr std::string_view kFeedbackAddress = "team@tunebridge.invalid";

// The about box, "Über Tunebridge...": its client area and every control in
// creation order. "OK" is its only control that takes the focus; it is
// both the default and the cancel button.
const WindowLayout& AboutBoxLayout();

} // namespace tunebridge
