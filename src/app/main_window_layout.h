#pragma once

#include "platform/window_layout.h"

namespace tunebridge {

// The outer size the main window is held at, whatever the user does.
inline constexpr int kMainWindowWidthTwips = 6870;
inline constexpr int kMainWindowHeightTwips = 1950;

// The main window: its caption, client area and every control in creation
// order. The buttons below the visible client area can still be reached
// with Tab.
const WindowLayout& MainWindowLayout();

} // namespace tunebridge
