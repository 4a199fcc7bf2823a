#pragma once

#include <chrono>
#include <functional>

namespace tunebridge::e2e {

// Checks `condition` until it holds or `deadline` has passed, handling this
// thread's window messages between checks (a short MsgWaitForMultipleObjects,
// never a fixed sleep). Returns whether the condition held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline);

} // namespace tunebridge::e2e
