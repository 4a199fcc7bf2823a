#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/window_layout.h"
#include "platform/text_win32.h"
#include "platform/window_model.h"

namespace tunebridge {

// The DPI a window is shown at: GetDpiForWindow where the system has it,
// the screen's DPI before that.
int DpiOfWindow(HWND window);

// One top-level window of the program, made from its layout table. It
// forwards every event to its model and, after each, shows the states the
// model gives, touching only what changed. Errors never unwind through the
// window manager: an error nothing handled ends the program with its text.
class Window {
public:
    Window(const WindowLayout& layout, WindowModel& model);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window hidden, sized for its client area, with every
    // control. While it lives, `owner` (when given) is disabled; closing
    // enables it again and gives it the focus.
    bool Create(const wchar_t* className, DWORD style, HWND owner, DWORD extendedStyle = 0);
    // Enables the owner, then destroys the window.
    void Close();

    HWND Handle() const { return window_; }
    bool IsOpen() const { return window_ != nullptr; }
    HWND Control(int controlId) const;

    // Runs one event of the model, then shows what it changed and closes the
    // window when the model asks for it.
    void Forward(const std::function<void()>& event);
    // Runs one event of the model and nothing else.
    void Guarded(const std::function<void()>& event);
    // Centres the window on `reference`, or on its screen when null.
    void CenterOn(HWND reference);

protected:
    // One handler per message; what a window does not handle goes to the
    // common handling and then to DefWindowProc.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The outer size the window wants at the current DPI.
    virtual SIZE OuterSize() const;
    // Called after every event the window forwarded.
    virtual void AfterEvent() {}
    // Called before the box of an unhandled error opens.
    virtual void BeforeUnhandledError() {}
    virtual void OnDestroyed() {}

    void ApplyDpi(int dpi);
    void Refresh();
    int Dpi() const { return dpi_; }
    const WindowLayout& Layout() const { return layout_; }
    WindowModel& Model() { return model_; }

private:
    struct Child;

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK KeyBoxProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR window);
    LRESULT CommonHandling(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateControls();
    void Apply(Child& control, const ControlState& wanted);
    void Place(const Child& control);
    const Child* FindByHandle(HWND handle) const;
    HFONT FontFor(const ControlFont& font, std::vector<std::pair<ControlFont, HFONT>>& cache) const;
    HBRUSH BrushFor(Rgb color);
    LRESULT ColourControl(HDC dc, HWND control);
    void DrawColorButton(const DRAWITEMSTRUCT& item);
    void ReportUnhandledError(const std::string& text);
    void ReleaseResources();
    HWND FirstTabStop() const;

    const WindowLayout& layout_;
    WindowModel& model_;
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND lastFocus_ = nullptr;
    int dpi_ = 96;
    std::vector<Child> controls_;
    std::vector<std::pair<ControlFont, HFONT>> fonts_;
    std::vector<std::pair<Rgb, HBRUSH>> brushes_;
};

// A dialog over the main window: a fixed border without minimise or
// maximise box, centred on its owner, which stays disabled while the dialog
// is open. `onClosed` runs once the dialog's window is gone, whichever way
// it closed; that runs inside the dialog's own message handling, so the
// dialog object must be deleted later, never from `onClosed` itself.
class DialogWindow : public Window {
public:
    DialogWindow(const WindowLayout& layout, WindowModel& model, const wchar_t* className,
                 std::function<void()> onClosed);

    // Creates the dialog owned by `owner` and shows it; false when it could
    // not be created (`onClosed` may then have run already).
    bool Open(HWND owner);

protected:
    // Settings of the controls that the layout cannot express, made before
    // the dialog shows.
    virtual void BeforeShow() {}
    void OnDestroyed() override;

private:
    const wchar_t* className_;
    std::function<void()> onClosed_;
};

} // namespace tunebridge
