#pragma once

#include <cstdint>

#include "app/shared_state.h"
#include "platform/desktop.h"

namespace tunebridge {

// Winamp's playing position in whole seconds, rounded down (-1 ms gives -1);
// 0 when the request brings no number back.
std::int32_t PlayingSeconds(Desktop& desktop, SharedState& state);

} // namespace tunebridge
