#include "harness/wait.h"

namespace tunebridge::e2e {
namespace {

constexpr DWORD kPollMs = 10;

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
        PumpMessages();
    }
}

HWND FindWindowWithin(const std::string& className, const std::string& title, std::chrono::milliseconds deadline) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindWindowA(className.empty() ? nullptr : className.c_str(), title.empty() ? nullptr : title.c_str());
            return found != nullptr;
        },
        deadline);
    return found;
}

}  // namespace tunebridge::e2e
