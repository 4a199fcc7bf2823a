#include "harness/main_window.h"

#include "harness/wait.h"

namespace tunebridge::e2e {
namespace {

constexpr UINT kSendTimeoutMs = 20000;
constexpr int kTwipsPerInch = 1440;
constexpr int kHeldWidthTwips = 6870;
constexpr int kHeldHeightTwips = 1950;

}  // namespace

HWND FindMainWindowWithin(const ChildProcess& product, std::chrono::milliseconds deadline) {
    HWND window = nullptr;
    WaitUntil(
        [&] {
            window = product.FindOwnWindow("", kMainWindowCaption);
            if (window != nullptr && !IsWindowVisible(window)) window = nullptr;
            return window != nullptr || !product.IsRunning();
        },
        deadline);
    return window;
}

std::string ControlText(HWND window, int id) {
    const HWND control = GetDlgItem(window, id);
    if (control == nullptr) return {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &length)) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                             kSendTimeoutMs, &copied)) {
        return {};
    }
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

SIZE OuterSize(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

SIZE HeldOuterSize(int dpi) {
    return {MulDiv(kHeldWidthTwips, dpi, kTwipsPerInch), MulDiv(kHeldHeightTwips, dpi, kTwipsPerInch)};
}

}  // namespace tunebridge::e2e
