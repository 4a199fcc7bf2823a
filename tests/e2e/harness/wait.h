#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace tunebridge::e2e {

// Checks `condition` until it holds or `deadline` has passed, handling this
// thread's window messages between checks (a short MsgWaitForMultipleObjects,
// never a fixed sleep). Returns whether the condition held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline);

// FindWindowA until it finds a window; an empty class or title is not given.
HWND FindWindowWithin(const std::string& className, const std::string& title, std::chrono::milliseconds deadline);

} // namespace tunebridge::e2e
