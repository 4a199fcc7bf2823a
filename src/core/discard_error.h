#pragma once

#include "core/runtime_error.h"

namespace tunebridge {

// The common failure exit of the Winamp launch check and of two Winamp
// requests: the failure is read and dropped, and the caller returns normally.
inline void DiscardError(const RuntimeError& error) {
    (void)error.Number();
    (void)error.Description();
}

} // namespace tunebridge
