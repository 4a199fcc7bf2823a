#pragma once

#include <cstdint>
#include <functional>

namespace tunebridge {

// One raw GetAsyncKeyState query: bit 15 down now, bit 0 pressed since the
// previous query of that code.
using RawKeyStateQuery = std::function<std::uint16_t(int virtualKey)>;

// The key state as the hotkey poller needs it. The generic Shift, Ctrl and
// Alt codes (16, 17, 18) never report a new press on some systems, while
// their left and right codes do; a query of a generic code therefore combines
// it with both sided codes: down if any of the three is down, newly pressed
// if any of them reports the press. Every other code is queried as it is.
std::uint16_t CombineModifierStates(int virtualKey, const RawKeyStateQuery& raw);

} // namespace tunebridge
