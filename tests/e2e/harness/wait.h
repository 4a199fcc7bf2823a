#pragma once

#include <chrono>
#include <functional>

namespace tunebridge::e2e {

// Checks `condition` until it holds or `deadline` has passed, handling this
// thread's window messages between checks (never a fixed sleep).
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline);

} // namespace tunebridge::e2e
