#include "app/main_window_win32.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstddef>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "app/main_form.h"
#include "app/main_form_layout.h"
#include "app/program_name.h"
#include "app/runtime_error.h"
#include "platform/desktop_win32.h"
#include "resources/resource_ids.h"

namespace tunebridge {
namespace {

constexpr char kClassName[] = "TunebridgeMainWindow";
constexpr char kCaption[] = "Tunebridge.";
// Sizable, with a minimise button but no maximise button.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
// Control ids stay clear of IDOK and IDCANCEL, which the dialog keys send.
constexpr int kFirstControlId = 1000;
constexpr int kDefaultDpi = 96;

constexpr std::array kTimers = {TimerId::Console, TimerId::Timer, TimerId::Timer1, TimerId::SupportTimer,
                                TimerId::tmrMBMMonitor};

UINT_PTR TimerEventId(TimerId timer) { return static_cast<UINT_PTR>(timer) + 1; }

Hwnd FromHwnd(HWND window) { return static_cast<Hwnd>(reinterpret_cast<UINT_PTR>(window)); }

int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

// GetDpiForWindow exists from Windows 10 1607 on; before that the screen's
// DPI is the window's.
int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

struct ArmedTimer {
    bool applied = false;
    bool running = false;
    unsigned interval = 0;
};

} // namespace

struct MainWindow::View {
    MainForm& form;
    Win32Desktop& desktop;
    HWND window = nullptr;
    HWND tooltip = nullptr;
    HWND lastFocus = nullptr;
    int dpi = kDefaultDpi;
    std::vector<HWND> controls;            // in the order of MainFormControls()
    std::vector<std::string> shownCaptions;  // what each control shows now
    std::array<ArmedTimer, kTimers.size()> timers{};
    std::vector<std::pair<ControlFont, HFONT>> fonts;

    View(MainForm& f, Win32Desktop& d) : form(f), desktop(d) {}
    ~View() { DeleteFonts(fonts); }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    bool Create();
    bool CreateControls(HINSTANCE instance);
    void AddTooltip(HWND control, std::string_view text);
    void ApplyDpi(int newDpi);
    HFONT FontFor(const ControlFont& font, std::vector<std::pair<ControlFont, HFONT>>& cache) const;
    static void DeleteFonts(std::vector<std::pair<ControlFont, HFONT>>& cache);
    void HoldOuterSize();
    void CenterOnScreen();
    HWND FirstTabStop() const;

    template <class Event>
    void Forward(Event&& event);
    void ShowFormControls();
    void ArmTimers();
    void ReportUnhandledError(const std::string& text);
};

LRESULT CALLBACK MainWindow::View::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* view = static_cast<View*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        view->window = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    auto* view = reinterpret_cast<View*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!view) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return view->HandleMessage(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::View::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int index = LOWORD(wParam) - kFirstControlId;
        const auto layout = MainFormControls();
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0 && index >= 0 && static_cast<std::size_t>(index) < layout.size()) {
            if (const auto button = layout[static_cast<std::size_t>(index)].button) {
                Forward([&] { form.Click(*button); });
                return 0;
            }
        }
        break;
    }
    case WM_TIMER:
        for (const TimerId timer : kTimers) {
            if (wParam == TimerEventId(timer)) {
                Forward([&] { form.Tick(timer); });
                return 0;
            }
        }
        break;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) HoldOuterSize();
        return 0;
    case WM_DPICHANGED: {
        ApplyDpi(HIWORD(wParam));
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, TwipsToPixels(kFormWidthTwips, dpi),
                       TwipsToPixels(kFormHeightTwips, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_ACTIVATE:
        // The focus comes back to the control that had it, as in a dialog;
        // the first time to the first control of the tab order.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(hwnd, focus)) lastFocus = focus;
            return 0;
        }
        if (HIWORD(wParam) == 0) {
            ::SetFocus(lastFocus && ::IsWindow(lastFocus) ? lastFocus : FirstTabStop());
            return 0;
        }
        break;
    case WM_CLOSE:
        ::DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        for (const TimerId timer : kTimers) ::KillTimer(hwnd, TimerEventId(timer));
        // From here on no event reaches the form but the unload, and message
        // boxes have no owner.
        window = nullptr;
        desktop.SetMainWindow(0);
        Forward([&] { form.Unload(); });
        ::PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        window = nullptr;
        DeleteFonts(fonts);
        break;
    default:
        break;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

bool MainWindow::View::Create() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&commonControls);

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_TUNEBRIDGE));
    windowClass.hIconSm = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_TUNEBRIDGE), IMAGE_ICON,
                                                          ::GetSystemMetrics(SM_CXSMICON),
                                                          ::GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kClassName;
    if (!::RegisterClassExA(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    dpi = ScreenDpi();
    if (!::CreateWindowExA(0, kClassName, kCaption, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           TwipsToPixels(kFormWidthTwips, dpi), TwipsToPixels(kFormHeightTwips, dpi), nullptr,
                           nullptr, instance, this)) {
        return false;
    }
    if (!CreateControls(instance)) {
        ::DestroyWindow(window);
        return false;
    }
    ApplyDpi(WindowDpi(window));
    HoldOuterSize();
    return true;
}

bool MainWindow::View::CreateControls(HINSTANCE instance) {
    tooltip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance,
                                nullptr);
    int id = kFirstControlId;
    for (const ControlLayout& control : MainFormControls()) {
        // Overlapping controls are clipped by z-order, so the order decides
        // which one shows.
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD extendedStyle = 0;
        const char* className = "BUTTON";
        switch (control.kind) {
        case ControlKind::Frame: style |= BS_GROUPBOX; break;
        case ControlKind::Button: style |= BS_PUSHBUTTON | WS_TABSTOP; break;
        case ControlKind::Label:
            className = "STATIC";
            // Captions come from other programs too: an "&" is text, not a mnemonic.
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case ControlKind::TextBox:
            className = "EDIT";
            style |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
            extendedStyle = WS_EX_CLIENTEDGE;
            break;
        }
        const std::string caption(control.caption);
        HWND created = ::CreateWindowExA(extendedStyle, className, caption.c_str(), style, 0, 0, 0, 0, window,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        if (!created) return false;
        controls.push_back(created);
        shownCaptions.push_back(caption);

        // Creation order is tab order and z-order alike. Only buttons and
        // text boxes take the focus, so each label can go above the controls
        // made before it (a caption that overlaps an earlier one shows whole).
        if (control.kind == ControlKind::Label) {
            ::SetWindowPos(created, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        if (!control.tooltip.empty()) AddTooltip(created, control.tooltip);
    }
    // Frames go beneath everything: their controls lie on them.
    const auto layout = MainFormControls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (layout[i].kind != ControlKind::Frame) continue;
        ::SetWindowPos(controls[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return true;
}

void MainWindow::View::AddTooltip(HWND control, std::string_view text) {
    if (!tooltip) return;
    std::string copy(text);
    TTTOOLINFOA info{};
    // The size every version of the common controls accepts.
    info.cbSize = offsetof(TTTOOLINFOA, lParam) + sizeof info.lParam;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = window;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = copy.data();
    ::SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

HFONT MainWindow::View::FontFor(const ControlFont& font, std::vector<std::pair<ControlFont, HFONT>>& cache) const {
    for (const auto& [known, handle] : cache) {
        if (known == font) return handle;
    }
    const std::string face(font.face);
    HFONT handle = ::CreateFontA(FontHeightPixels(font.points, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                 FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    cache.emplace_back(font, handle);
    return handle;
}

void MainWindow::View::DeleteFonts(std::vector<std::pair<ControlFont, HFONT>>& cache) {
    for (const auto& entry : cache) {
        if (entry.second) ::DeleteObject(entry.second);
    }
    cache.clear();
}

// Places every control and sets its font for `newDpi`.
void MainWindow::View::ApplyDpi(int newDpi) {
    dpi = newDpi > 0 ? newDpi : kDefaultDpi;
    std::vector<std::pair<ControlFont, HFONT>> newFonts;
    const auto layout = MainFormControls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const PixelRect place = TwipsToPixels(PositionInForm(layout[i]), dpi);
        ::SetWindowPos(controls[i], nullptr, place.left, place.top, place.width, place.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageA(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(layout[i].font, newFonts)), FALSE);
    }
    // The old fonts go only once no control uses them any more.
    std::swap(fonts, newFonts);
    DeleteFonts(newFonts);
    ::InvalidateRect(window, nullptr, TRUE);
}

// The size rule: the outer size is held at 6870 x 1950 twips.
void MainWindow::View::HoldOuterSize() {
    if (!window) return;
    const int width = TwipsToPixels(kFormWidthTwips, dpi);
    const int height = TwipsToPixels(kFormHeightTwips, dpi);
    RECT frame{};
    ::GetWindowRect(window, &frame);
    if (frame.right - frame.left == width && frame.bottom - frame.top == height) return;
    ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::View::CenterOnScreen() {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    const RECT& screen = monitor.rcMonitor;
    const int left = screen.left + ((screen.right - screen.left) - (frame.right - frame.left)) / 2;
    const int top = screen.top + ((screen.bottom - screen.top) - (frame.bottom - frame.top)) / 2;
    ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND MainWindow::View::FirstTabStop() const {
    const auto layout = MainFormControls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (IsTabStop(layout[i].kind)) return controls[i];
    }
    return window;
}

// Runs one event of the form, then shows what it changed. An error nothing
// handled ends the program with its message, as an unhandled run-time error
// does; it must not unwind through the window manager.
template <class Event>
void MainWindow::View::Forward(Event&& event) {
    try {
        event();
    } catch (const RuntimeError& error) {
        ReportUnhandledError("Run-time error '" + std::to_string(error.Number()) + "':\r\n\r\n" + error.Description());
    } catch (const std::exception& error) {
        ReportUnhandledError(std::string("Run-time error:\r\n\r\n") + error.what());
    } catch (...) {
        ReportUnhandledError("Run-time error.");
    }
    // The event may have destroyed the window (a yield can run its close).
    if (!window) return;
    ShowFormControls();
    ArmTimers();
    if (form.UnloadRequested()) ::DestroyWindow(window);
}

void MainWindow::View::ReportUnhandledError(const std::string& text) {
    // The box runs its own message loop; a tick failing again in there would
    // open box after box inside this one.
    if (window) {
        for (const TimerId timer : kTimers) ::KillTimer(window, TimerEventId(timer));
    }
    desktop.MessageBoxA(text, kProgramName, MB_OK | MB_ICONERROR);
    desktop.EndProgram();
}

void MainWindow::View::ShowFormControls() {
    const auto layout = MainFormControls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!layout[i].shownCaption) continue;
        const std::string& caption = form.controls.*layout[i].shownCaption;
        if (caption == shownCaptions[i]) continue;
        ::SetWindowTextA(controls[i], caption.c_str());
        shownCaptions[i] = caption;
    }
}

// SetTimer restarts a timer's count, so a timer is touched only when its
// interval or its state changed. An interval of 0 stops it.
void MainWindow::View::ArmTimers() {
    for (std::size_t i = 0; i < kTimers.size(); ++i) {
        const TimerControl& wanted = form.controls.TimerOf(kTimers[i]);
        const bool running = wanted.enabled && wanted.interval > 0;
        ArmedTimer& armed = timers[i];
        if (armed.applied && armed.running == running && (!running || armed.interval == wanted.interval)) continue;
        if (running) {
            ::SetTimer(window, TimerEventId(kTimers[i]), wanted.interval, nullptr);
        } else {
            ::KillTimer(window, TimerEventId(kTimers[i]));
        }
        armed = {true, running, wanted.interval};
    }
}

MainWindow::MainWindow(MainForm& form, Win32Desktop& desktop) : view_(std::make_unique<View>(form, desktop)) {}

MainWindow::~MainWindow() {
    if (view_->window) ::DestroyWindow(view_->window);
}

bool MainWindow::Start(int showCommand) {
    View& view = *view_;
    if (!view.Create()) return false;
    view.desktop.SetMainWindow(FromHwnd(view.window));
    // The timers run from the window's creation on, through the load handler.
    view.ArmTimers();
    bool loaded = false;
    view.Forward([&] { loaded = view.form.Load(FromHwnd(view.window)); });
    if (!view.window) return true;
    if (!loaded) {
        ::DestroyWindow(view.window);
        return true;
    }
    view.CenterOnScreen();
    ::ShowWindow(view.window, showCommand);
    ::UpdateWindow(view.window);
    return true;
}

} // namespace tunebridge
