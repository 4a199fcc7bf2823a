#pragma once

#include <cstdint>

#include "platform/desktop.h"

namespace tunebridge {

// The key state as the hotkey poller needs it: bit 15 down now, bit 0
// pressed since the previous query. The generic Shift, Ctrl and Alt codes
// (16, 17, 18) never report a new press on some systems, while their left
// and right codes do; a query of a generic code therefore combines it with
// both sided codes. Every other code is queried as it is.
std::uint16_t KeyState(Desktop& desktop, int virtualKey);

} // namespace tunebridge
