#include "harness/wait.h"

#include <windows.h>

namespace tunebridge::e2e {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    constexpr DWORD kPollMs = 10;
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

}  // namespace tunebridge::e2e
