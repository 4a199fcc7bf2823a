#include "app/main_window_win32.h"

#include <commctrl.h>

#include "about/about_box_win32.h"
#include "app/main_window_layout.h"
#include "settings_dialog/settings_dialog_win32.h"

namespace tunebridge {
namespace {

constexpr wchar_t kClassName[] = L"TunebridgeMainWindow";
// Sizable, with a minimise button but no maximise button.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;

// Posted by a dialog's window as it goes: its object is deleted once the
// dialog's own message handling is over.
constexpr UINT kDialogClosed = WM_APP + 1;

UINT_PTR TimerEventId(std::size_t timer) { return timer + 1; }

Hwnd FromHwnd(HWND window) { return static_cast<Hwnd>(reinterpret_cast<UINT_PTR>(window)); }

} // namespace

MainWindowView::MainWindowView(MainWindow& model, Win32Desktop& desktop)
    : Window(MainWindowLayout(), model), model_(model), desktop_(desktop) {}

bool MainWindowView::Start(int showCommand) {
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&commonControls);
    if (!Create(kClassName, kWindowStyle, nullptr)) return false;
    desktop_.SetMessageBoxOwner(FromHwnd(Handle()));
    // The timers run from the window's creation on, through the start-up.
    ArmTimers();
    bool loaded = false;
    Forward([&] { loaded = model_.Load(FromHwnd(Handle())); });
    if (!IsOpen()) return true;
    if (!loaded) {
        ::DestroyWindow(Handle());
        return true;
    }
    CenterOn(nullptr);
    ::ShowWindow(Handle(), showCommand);
    ::UpdateWindow(Handle());
    return true;
}

LRESULT MainWindowView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        for (std::size_t timer = 0; timer < kMainTimerCount; ++timer) {
            if (wParam == TimerEventId(timer)) {
                Forward([&] { model_.Tick(static_cast<MainTimer>(timer)); });
                return 0;
            }
        }
        break;
    case kDialogClosed:
        DisposeClosedDialog();
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) HoldOuterSize();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows ends the process once this returns, without a close: the
        // settings are saved here as a close would save them.
        if (wParam) {
            KillTimers();
            Guarded([&] { model_.Unload(); });
        }
        return 0;
    case WM_DESTROY:
        KillTimers();
        // From here on no event reaches the logic but the unload, and
        // message boxes have no owner.
        desktop_.SetMessageBoxOwner(0);
        Guarded([&] { model_.Unload(); });
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void MainWindowView::AfterEvent() {
    ArmTimers();
    ShowOpenedDialog();
}

// A dialog the logic opened gets its window; the message boxes of the
// program belong to it while it is open.
void MainWindowView::ShowOpenedDialog() {
    if (dialog_ || !IsOpen()) return;
    auto onClosed = [this] {
        desktop_.SetMessageBoxOwner(FromHwnd(Handle()));
        ::PostMessageW(Handle(), kDialogClosed, 0, 0);
    };
    if (SettingsDialog* settings = model_.OpenSettingsDialog()) {
        dialog_ = std::make_unique<SettingsDialogView>(*settings, onClosed);
    } else if (AboutBox* about = model_.OpenAboutBox()) {
        dialog_ = std::make_unique<AboutBoxView>(*about, onClosed);
    } else {
        return;
    }
    if (dialog_->Open(Handle())) {
        desktop_.SetMessageBoxOwner(FromHwnd(dialog_->Handle()));
        return;
    }
    dialog_.reset();
    model_.DialogClosed();
}

// The window goes before its logic, which it refers to.
void MainWindowView::DisposeClosedDialog() {
    if (dialog_ && dialog_->IsOpen()) return;
    dialog_.reset();
    model_.DialogClosed();
}

// The size rule: the outer size is held at 6870 x 1950 twips.
SIZE MainWindowView::OuterSize() const {
    return {TwipsToPixels(kMainWindowWidthTwips, Dpi()), TwipsToPixels(kMainWindowHeightTwips, Dpi())};
}

void MainWindowView::HoldOuterSize() {
    if (!IsOpen()) return;
    const SIZE size = OuterSize();
    RECT frame{};
    ::GetWindowRect(Handle(), &frame);
    if (frame.right - frame.left == size.cx && frame.bottom - frame.top == size.cy) return;
    ::SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// SetTimer restarts a timer's count, so a timer is touched only when its
// interval or its state changed. An interval of 0 stops it.
void MainWindowView::ArmTimers() {
    if (!IsOpen()) return;
    for (std::size_t timer = 0; timer < kMainTimerCount; ++timer) {
        const TimerSetting& wanted = model_.Timer(static_cast<MainTimer>(timer));
        const bool running = wanted.enabled && wanted.intervalMs > 0;
        ArmedTimer& armed = armed_[timer];
        if (armed.applied && armed.running == running && (!running || armed.intervalMs == wanted.intervalMs))
            continue;
        if (running) {
            ::SetTimer(Handle(), TimerEventId(timer), wanted.intervalMs, nullptr);
        } else {
            ::KillTimer(Handle(), TimerEventId(timer));
        }
        armed = {true, running, wanted.intervalMs};
    }
}

void MainWindowView::KillTimers() {
    if (!IsOpen()) return;
    for (std::size_t timer = 0; timer < kMainTimerCount; ++timer) ::KillTimer(Handle(), TimerEventId(timer));
}

} // namespace tunebridge
