#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "fake/fake_desktop.h"
#include "engine/console_engine.h"

namespace tunebridge::fake {

// The game's console window on the fake desktop, laid out as the engine
// builds it: input line, "copy", "clear", "quit", then the scroll-back
// buffer. Typing into the input line (WM_SETTEXT, WM_CHAR 13) runs the
// line; the buffer's window text is what the console printed. "quit"
// destroys the window, as the game ending would.
class FakeConsole {
public:
    explicit FakeConsole(FakeDesktop& desktop, std::string title = "Quake 3 Console");
    ~FakeConsole();
    FakeConsole(const FakeConsole&) = delete;
    FakeConsole& operator=(const FakeConsole&) = delete;

    Hwnd Window() const { return window_; }
    Hwnd InputLine() const { return input_; }
    Hwnd Output() const { return output_; }

    void Print(const std::string& text) { engine_.Print(text); }
    void Prefill(std::size_t chars) { engine_.Prefill(chars); }
    std::string OutputText() const { return engine_.Buffer(); }
    std::size_t OutputLength() const { return engine_.Buffer().size(); }
    const std::vector<std::string>& TypedLines() const { return engine_.TypedLines(); }
    const std::vector<std::string>& ExecutedCommands() const { return engine_.ExecutedCommands(); }
    const std::vector<std::string>& PrintedLines() const { return engine_.PrintedLines(); }
    void SetAnswering(bool answering) { engine_.SetAnswering(answering); }
    void SetPlayerName(std::string name) { engine_.SetPlayerName(std::move(name)); }
    bool Quit() const { return engine_.Quit(); }

    peers::ConsoleEngine& Engine() { return engine_; }

private:
    std::optional<std::int32_t> OnInput(FakeWindow& window, const Message& message);
    std::optional<std::int32_t> OnOutput(FakeWindow& window, const Message& message);

    FakeDesktop& desktop_;
    peers::ConsoleEngine engine_;
    Hwnd window_ = 0;
    Hwnd input_ = 0;
    Hwnd output_ = 0;
};

} // namespace tunebridge::fake
