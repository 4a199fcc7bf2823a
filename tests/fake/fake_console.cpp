#include "fake/fake_console.h"

namespace tunebridge::fake {

FakeConsole::FakeConsole(FakeDesktop& desktop, std::string title) : desktop_(desktop) {
    window_ = desktop_.CreateWindow("Q3 WinConsole", title);
    input_ = desktop_.CreateWindow("Edit", "", window_);
    desktop_.CreateWindow("Button", "copy", window_);
    desktop_.CreateWindow("Button", "clear", window_);
    desktop_.CreateWindow("Button", "quit", window_);
    output_ = desktop_.CreateWindow("Edit", "", window_);
    desktop_.Window(input_).handler = [this](FakeWindow& w, const Message& m) { return OnInput(w, m); };
    desktop_.Window(output_).handler = [this](FakeWindow& w, const Message& m) { return OnOutput(w, m); };
}

FakeConsole::~FakeConsole() {
    if (desktop_.Exists(window_)) desktop_.DestroyWindow(window_);
}

std::optional<std::int32_t> FakeConsole::OnInput(FakeWindow& window, const Message& message) {
    switch (message.msg) {
    case kWM_SETTEXT:
        engine_.SetInput(message.text);
        window.text = message.text;
        return 1;
    case kWM_CHAR: {
        engine_.TypeChar(static_cast<char>(message.wParam));
        window.text = engine_.Input();
        if (engine_.Quit()) {
            // The game is gone: its windows vanish with it. Nothing of this
            // handler is touched after the window is destroyed.
            FakeDesktop& desktop = desktop_;
            const Hwnd top = window_;
            desktop.DestroyWindow(top);
        }
        return 0;
    }
    default:
        return std::nullopt;
    }
}

std::optional<std::int32_t> FakeConsole::OnOutput(FakeWindow& window, const Message& message) {
    switch (message.msg) {
    case kWM_GETTEXTLENGTH:
        return static_cast<std::int32_t>(engine_.Buffer().size());
    case kWM_GETTEXT:
        // The desktop copies the window's text into the caller's buffer.
        window.text = engine_.Buffer();
        return std::nullopt;
    case kWM_SETTEXT:
        engine_.ReplaceBuffer(message.text);
        return 1;
    default:
        return std::nullopt;
    }
}

}  // namespace tunebridge::fake
