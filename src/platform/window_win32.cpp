#include "platform/window_win32.h"

#include <commctrl.h>

#include <cstddef>
#include <exception>

#include "core/program_name.h"
#include "core/runtime_error.h"
#include "resources/resource_ids.h"

namespace tunebridge {

namespace {

constexpr int kDefaultDpi = 96;
constexpr UINT_PTR kKeyBoxSubclassId = 1;
constexpr Rgb kLinkColor = RGB(0, 0, 255);

int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD extendedStyle;
};

// Captions may come from other programs: an "&" is text, not a mnemonic.
ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Frame: return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Label: return {L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0};
    case ControlKind::LinkLabel: return {L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0};
    case ControlKind::Button: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::ColorButton: return {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0};
    case ControlKind::TextBox: return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::KeyBox: return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::CheckBox: return {L"BUTTON", BS_CHECKBOX | WS_TABSTOP, 0};
    case ControlKind::OptionButton: return {L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0};
    case ControlKind::Shape: return {L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, WS_EX_STATICEDGE};
    case ControlKind::Picture: return {L"STATIC", SS_LEFT, WS_EX_CLIENTEDGE};
    case ControlKind::Icon: return {L"STATIC", SS_ICON, 0};
    case ControlKind::Line: return {L"STATIC", SS_ETCHEDHORZ, 0};
    }
    return {L"STATIC", SS_LEFT, 0};
}

// The colour halfway between two colours.
Rgb Blend(Rgb first, Rgb second) {
    return RGB((GetRValue(first) + GetRValue(second)) / 2, (GetGValue(first) + GetGValue(second)) / 2,
               (GetBValue(first) + GetBValue(second)) / 2);
}

// Boxes that hold other controls go beneath everything.
bool IsContainer(ControlKind kind) { return kind == ControlKind::Frame || kind == ControlKind::Picture; }

} // namespace

int DpiOfWindow(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

struct Window::Child {
    const ControlLayout* layout;
    HWND handle;
    // What the control shows now, as far as the model drives it.
    std::optional<ControlState> shown;
};

Window::Window(const WindowLayout& layout, WindowModel& model) : layout_(layout), model_(model) {}

Window::~Window() {
    if (window_) ::DestroyWindow(window_);
    ReleaseResources();
}

bool Window::Create(const wchar_t* className, DWORD style, HWND owner, DWORD extendedStyle) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TUNEBRIDGE));
    // Shared: every dialog opening gets here, and an icon of its own would be
    // one more that nothing destroys.
    windowClass.hIconSm =
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TUNEBRIDGE), IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = className;
    if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    dpi_ = owner ? DpiOfWindow(owner) : ScreenDpi();
    const std::wstring caption = Utf8ToWide(layout_.caption);
    if (!::CreateWindowExW(extendedStyle, className, caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                           owner, nullptr, instance, this)) {
        return false;
    }
    if (!CreateControls()) {
        ::DestroyWindow(window_);
        return false;
    }
    ApplyDpi(DpiOfWindow(window_));
    if (owner) {
        owner_ = owner;
        ::EnableWindow(owner_, FALSE);
    }
    Refresh();
    return true;
}

void Window::Close() {
    if (!window_) return;
    // The owner comes back before this window goes, so the activation
    // returns to it and not to another program.
    if (owner_) ::EnableWindow(owner_, TRUE);
    ::DestroyWindow(window_);
}

HWND Window::Control(int controlId) const {
    for (const auto& control : controls_) {
        if (control.layout->id == controlId) return control.handle;
    }
    return nullptr;
}

const Window::Child* Window::FindByHandle(HWND handle) const {
    for (const auto& control : controls_) {
        if (control.handle == handle) return &control;
    }
    return nullptr;
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->controls_.clear();
        self->ReleaseResources();
        self->OnDestroyed();
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CommonHandling(message, wParam, lParam);
}

LRESULT Window::CommonHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const UINT code = HIWORD(wParam);
        // The dialog keys send IDCANCEL for Escape wherever the focus is.
        if (id == IDCANCEL && lParam == 0) {
            Forward([this] { model_.OnEscape(); });
            return 0;
        }
        const Child* control = FindByHandle(reinterpret_cast<HWND>(lParam));
        if (!control) break;
        const ControlKind kind = control->layout->kind;
        if (code == BN_CLICKED && kind != ControlKind::TextBox && kind != ControlKind::KeyBox) {
            Forward([this, id] { model_.OnClick(id); });
            return 0;
        }
        if (code == EN_CHANGE && kind == ControlKind::TextBox) {
            const int length = ::GetWindowTextLengthW(control->handle);
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            text.resize(static_cast<std::size_t>(::GetWindowTextW(control->handle, text.data(), length + 1)));
            // A box that shows text of the settings file or of another
            // program gives its text back in the same code page.
            const bool ansi = control->shown && control->shown->ansiCaption;
            std::string typed = ansi ? WideToAnsi(text) : WideToUtf8(text);
            // What the box shows now is what the user typed: showing it
            // again would only move the caret.
            for (auto& known : controls_) {
                if (known.handle == control->handle && known.shown) known.shown->caption = typed;
            }
            Forward([this, id, &typed] { model_.OnTextChanged(id, typed); });
            return 0;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        if (const LRESULT brush = ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return brush;
        break;
    case DM_GETDEFID: {
        // The dialog keys ask which button Enter clicks: the focused push
        // button, else the layout's default button.
        const Child* focused = FindByHandle(::GetFocus());
        const int id = focused && focused->layout->kind == ControlKind::Button ? focused->layout->id
                                                                                : layout_.defaultButton;
        return id != kNoControl ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case WM_DRAWITEM:
        DrawColorButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_SETCURSOR:
        if (const Child* control = FindByHandle(reinterpret_cast<HWND>(wParam));
            control && control->layout->kind == ControlKind::LinkLabel) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_DPICHANGED: {
        ApplyDpi(HIWORD(wParam));
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        const SIZE size = OuterSize();
        ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_ACTIVATE:
        // The focus comes back to the control that had it, as in a dialog;
        // the first time to the first control of the tab order.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(window_, focus)) lastFocus_ = focus;
            return 0;
        }
        if (HIWORD(wParam) == 0) {
            ::SetFocus(lastFocus_ && ::IsWindow(lastFocus_) ? lastFocus_ : FirstTabStop());
            return 0;
        }
        break;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DESTROY:
        // Activating the owner gives the focus back to its control that had
        // it; only when none did does the owner itself take the focus.
        if (owner_) {
            ::EnableWindow(owner_, TRUE);
            ::SetActiveWindow(owner_);
            HWND focus = ::GetFocus();
            if (focus != owner_ && !::IsChild(owner_, focus)) ::SetFocus(owner_);
        }
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

bool Window::CreateControls() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                 instance, nullptr);
    int lastContainer = -1;
    for (const ControlLayout& layout : layout_.controls) {
        const ControlClass kind = ClassOf(layout.kind);
        // Overlapping controls are clipped by z-order, so the order decides
        // which one shows. The first option button of a container opens a group.
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
        if (layout.kind == ControlKind::OptionButton && layout.container != lastContainer) style |= WS_GROUP;
        if (layout.kind == ControlKind::OptionButton) lastContainer = layout.container;
        if (layout.kind == ControlKind::Label && HoldsOneLine(layout))
            style = (style & ~DWORD{SS_TYPEMASK}) | SS_LEFTNOWORDWRAP;
        if (layout.id == layout_.defaultButton && layout.kind == ControlKind::Button)
            style = (style & ~DWORD{BS_PUSHBUTTON}) | BS_DEFPUSHBUTTON;
        const std::wstring caption = Utf8ToWide(layout.caption);
        HWND created = ::CreateWindowExW(kind.extendedStyle, kind.className, caption.c_str(), style, 0, 0, 0, 0,
                                         window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance,
                                         nullptr);
        if (!created) return false;
        controls_.push_back({&layout, created, std::nullopt});

        switch (layout.kind) {
        case ControlKind::Label:
        case ControlKind::LinkLabel:
            // Only buttons and boxes take the focus, so each label can go
            // above the controls made before it: a caption that overlaps an
            // earlier one shows whole.
            ::SetWindowPos(created, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        case ControlKind::KeyBox:
            ::SetWindowSubclass(created, KeyBoxProcedure, kKeyBoxSubclassId, reinterpret_cast<DWORD_PTR>(this));
            break;
        case ControlKind::Icon:
            ::SendMessageW(created, STM_SETICON,
                           reinterpret_cast<WPARAM>(::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TUNEBRIDGE))), 0);
            break;
        default:
            break;
        }
        if (!layout.tooltip.empty() && tooltip_) {
            std::wstring text = Utf8ToWide(layout.tooltip);
            TTTOOLINFOW info{};
            // The size every version of the common controls accepts.
            info.cbSize = offsetof(TTTOOLINFOW, lParam) + sizeof info.lParam;
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = window_;
            info.uId = reinterpret_cast<UINT_PTR>(created);
            info.lpszText = text.data();
            ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    // Last made, first sent down: a container comes before the containers
    // inside it, so it ends beneath them and does not clip them away.
    for (auto control = controls_.rbegin(); control != controls_.rend(); ++control) {
        if (IsContainer(control->layout->kind))
            ::SetWindowPos(control->handle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return true;
}

// A key box gets every key, the dialog keys included, and keeps none of the
// typed characters: what it shows is the model's name of the key.
LRESULT CALLBACK Window::KeyBoxProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR window) {
    auto& self = *reinterpret_cast<Window*>(window);
    const int id = ::GetDlgCtrlID(hwnd);
    const int key = static_cast<int>(wParam);
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (key == VK_ESCAPE) {
            self.Forward([&self] { self.model_.OnEscape(); });
        } else {
            self.Forward([&self, id, key] { self.model_.OnKeyDown(id, key); });
        }
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        self.Forward([&self, id, key] { self.model_.OnKeyUp(id, key); });
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_CONTEXTMENU:
        return 0;
    case WM_SETFOCUS: {
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        self.Forward([&self, id] { self.model_.OnFocus(id); });
        return result;
    }
    case WM_LBUTTONDOWN: {
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        self.Forward([&self, id] { self.model_.OnClick(id); });
        return result;
    }
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, KeyBoxProcedure, kKeyBoxSubclassId);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void Window::Forward(const std::function<void()>& event) {
    Guarded(event);
    // The event may have destroyed the window (a yield can run its close).
    if (!window_) return;
    Refresh();
    AfterEvent();
    if (window_ && model_.CloseRequested()) Close();
}

void Window::Guarded(const std::function<void()>& event) {
    try {
        event();
    } catch (const RuntimeError& error) {
        ReportUnhandledError("Run-time error '" + std::to_string(error.Number()) + "':\r\n\r\n" + error.Description());
    } catch (const std::exception& error) {
        ReportUnhandledError(std::string("Run-time error:\r\n\r\n") + error.what());
    } catch (...) {
        ReportUnhandledError("Run-time error.");
    }
}

void Window::ReportUnhandledError(const std::string& text) {
    BeforeUnhandledError();
    const std::wstring title = Utf8ToWide(kProgramName);
    ::MessageBoxW(window_ && ::IsWindow(window_) ? window_ : nullptr, Utf8ToWide(text).c_str(), title.c_str(),
                  MB_OK | MB_ICONERROR);
    ::ExitProcess(0);
}

void Window::Refresh() {
    for (auto& control : controls_) {
        if (std::optional<ControlState> wanted = model_.StateOf(control.layout->id)) Apply(control, *wanted);
    }
}

void Window::Apply(Child& control, const ControlState& wanted) {
    const bool first = !control.shown;
    // Compared in place: this runs for every control after every event,
    // some 200 times a second, and nearly always finds nothing changed.
    if (!first && *control.shown == wanted) return;
    const ControlState before = first ? ControlState{std::string(control.layout->caption)} : *control.shown;
    // Recorded first: setting a text box's text reports a change back.
    control.shown = wanted;
    HWND handle = control.handle;
    if (first || before.caption != wanted.caption || before.ansiCaption != wanted.ansiCaption) {
        const std::wstring text = wanted.ansiCaption ? AnsiToWide(wanted.caption) : Utf8ToWide(wanted.caption);
        ::SetWindowTextW(handle, text.c_str());
    }
    if (first || before.enabled != wanted.enabled) ::EnableWindow(handle, wanted.enabled ? TRUE : FALSE);
    if (first || before.checked != wanted.checked)
        ::SendMessageW(handle, BM_SETCHECK, wanted.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (first || before.framed != wanted.framed) {
        const LONG_PTR style = ::GetWindowLongPtrW(handle, GWL_STYLE);
        ::SetWindowLongPtrW(handle, GWL_STYLE, wanted.framed ? (style | WS_BORDER) : (style & ~LONG_PTR{WS_BORDER}));
        Place(control);
    }
    ::InvalidateRect(handle, nullptr, TRUE);
}

HBRUSH Window::BrushFor(Rgb color) {
    for (const auto& [known, brush] : brushes_) {
        if (known == color) return brush;
    }
    HBRUSH brush = ::CreateSolidBrush(color);
    brushes_.emplace_back(color, brush);
    return brush;
}

// Text and background of a control with colours of its own; 0 lets the
// system colour it.
LRESULT Window::ColourControl(HDC dc, HWND handle) {
    const Child* control = FindByHandle(handle);
    if (!control) return 0;
    Rgb text = control->shown ? control->shown->textColor : kSystemColor;
    const Rgb fill = control->shown ? control->shown->fillColor : kSystemColor;
    if (text == kSystemColor && control->layout->kind == ControlKind::LinkLabel) text = kLinkColor;
    if (text == kSystemColor && fill == kSystemColor) return 0;
    ::SetTextColor(dc, text != kSystemColor ? text : ::GetSysColor(COLOR_BTNTEXT));
    const Rgb background = fill != kSystemColor ? fill : ::GetSysColor(COLOR_BTNFACE);
    ::SetBkColor(dc, background);
    return reinterpret_cast<LRESULT>(BrushFor(background));
}

// A colour button's face is its colour, with the caption in the model's
// colour or else in black or white, whichever reads on the face. Disabled,
// it keeps its colour washed out towards the window's face, and its caption
// fades into it, so it still shows its colour but plainly takes no clicks.
void Window::DrawColorButton(const DRAWITEMSTRUCT& item) {
    const Child* control = FindByHandle(item.hwndItem);
    if (!control) return;
    const Rgb systemFace = ::GetSysColor(COLOR_BTNFACE);
    Rgb face = control->shown && control->shown->fillColor != kSystemColor ? control->shown->fillColor : systemFace;
    const int brightness = (GetRValue(face) * 299 + GetGValue(face) * 587 + GetBValue(face) * 114) / 1000;
    Rgb text = control->shown && control->shown->textColor != kSystemColor ? control->shown->textColor
               : brightness < 128                                          ? RGB(255, 255, 255)
                                                                           : RGB(0, 0, 0);
    if (item.itemState & ODS_DISABLED) {
        face = Blend(face, systemFace);
        text = Blend(text, face);
    }
    RECT rect = item.rcItem;
    ::FillRect(item.hDC, &rect, BrushFor(face));
    ::DrawEdge(item.hDC, &rect, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    ::SetTextColor(item.hDC, text);
    ::SetBkMode(item.hDC, TRANSPARENT);
    wchar_t caption[16] = {};
    ::GetWindowTextW(item.hwndItem, caption, 16);
    ::DrawTextW(item.hDC, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (item.itemState & ODS_FOCUS) {
        ::InflateRect(&rect, -3, -3);
        ::DrawFocusRect(item.hDC, &rect);
    }
}

HFONT Window::FontFor(const ControlFont& font, std::vector<std::pair<ControlFont, HFONT>>& cache) const {
    for (const auto& [known, handle] : cache) {
        if (known == font) return handle;
    }
    const std::wstring face = Utf8ToWide(font.face);
    HFONT handle = ::CreateFontW(FontHeightPixels(font.points, dpi_), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                 font.underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    cache.emplace_back(font, handle);
    return handle;
}

// A border goes around a caption, not into it: a framed control grows by
// the border's width, so that its text keeps its room and does not wrap.
void Window::Place(const Child& control) {
    PixelRect place = TwipsToPixels(PositionInWindow(layout_, *control.layout), dpi_);
    if (control.shown && control.shown->framed) {
        const int border = ::GetSystemMetrics(SM_CXBORDER);
        place = {place.left - border, place.top - border, place.width + 2 * border, place.height + 2 * border};
    }
    ::SetWindowPos(control.handle, nullptr, place.left, place.top, place.width, place.height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Places every control and sets its font for `dpi`.
void Window::ApplyDpi(int dpi) {
    dpi_ = dpi > 0 ? dpi : kDefaultDpi;
    std::vector<std::pair<ControlFont, HFONT>> newFonts;
    for (const auto& control : controls_) {
        Place(control);
        ::SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control.layout->font, newFonts)),
                       FALSE);
    }
    // The old fonts go only once no control uses them any more.
    std::swap(fonts_, newFonts);
    for (const auto& entry : newFonts) ::DeleteObject(entry.second);
    const SIZE size = OuterSize();
    ::SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(window_, nullptr, TRUE);
}

SIZE Window::OuterSize() const {
    RECT rect{0, 0, TwipsToPixels(layout_.clientWidthTwips, dpi_), TwipsToPixels(layout_.clientHeightTwips, dpi_)};
    ::AdjustWindowRectEx(&rect, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void Window::CenterOn(HWND reference) {
    RECT frame{};
    ::GetWindowRect(window_, &frame);
    RECT area{};
    if (reference && ::IsWindow(reference)) {
        ::GetWindowRect(reference, &area);
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (!::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
        area = monitor.rcMonitor;
    }
    const int left = area.left + ((area.right - area.left) - (frame.right - frame.left)) / 2;
    const int top = area.top + ((area.bottom - area.top) - (frame.bottom - frame.top)) / 2;
    ::SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Window::FirstTabStop() const {
    for (const auto& control : controls_) {
        if (IsTabStop(control.layout->kind) && ::IsWindowEnabled(control.handle)) return control.handle;
    }
    return window_;
}

void Window::ReleaseResources() {
    for (const auto& entry : fonts_) ::DeleteObject(entry.second);
    fonts_.clear();
    for (const auto& entry : brushes_) ::DeleteObject(entry.second);
    brushes_.clear();
}

DialogWindow::DialogWindow(const WindowLayout& layout, WindowModel& model, const wchar_t* className,
                           std::function<void()> onClosed)
    : Window(layout, model), className_(className), onClosed_(std::move(onClosed)) {}

bool DialogWindow::Open(HWND owner) {
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (!Create(className_, kStyle, owner, WS_EX_DLGMODALFRAME)) return false;
    BeforeShow();
    CenterOn(owner);
    ::ShowWindow(Handle(), SW_SHOW);
    ::UpdateWindow(Handle());
    return true;
}

void DialogWindow::OnDestroyed() {
    if (onClosed_) onClosed_();
}

} // namespace tunebridge
