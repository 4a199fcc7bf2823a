#pragma once

#include "fake/fake_desktop.h"
// The only includes of the simulators' engines.
#include "engine/console_engine.h"
#include "engine/mbm_layout.h"
#include "engine/player_engine.h"

namespace tunebridge::fake {

// The game's console: input line, "copy", "clear", "quit" and output pane, as the engine makes them.
// Enter (WM_CHAR 13) on the input line queues its text; Frame, a pump pass and a frame, runs it.
struct FakeConsole {
    explicit FakeConsole(FakeDesktop& desktop, const std::string& title = "Quake 3 Console") : engine(title) {
        window = desktop.CreateWindow("Q3 WinConsole", title);
        input = desktop.CreateWindow("Edit", "", window);
        for (const char* button : {"copy", "clear", "quit"}) desktop.CreateWindow("Button", button, window);
        output = desktop.CreateWindow("Edit", "", window);
        desktop.Window(input).handler = [this](FakeWindow&, const Message& message) -> std::optional<std::int32_t> {
            if (message.msg == kSetText) engine.SetInput(message.text);
            if (message.msg == kChar) engine.TypeChar(static_cast<char>(message.wParam));
            return std::nullopt;
        };
        // The desktop answers from the window's text.
        desktop.Window(output).handler = [this](FakeWindow& self, const Message&) -> std::optional<std::int32_t> {
            self.text = engine.Buffer();
            return std::nullopt;
        };
    }

    void Frame() { engine.TakeBuffer(), engine.RunFrame(); }

    peers::ConsoleEngine engine;
    Hwnd window = 0;
    Hwnd input = 0;
    Hwnd output = 0;
};

// The player's main window, its caption kept up to date after every message.
struct FakePlayer {
    FakePlayer(FakeDesktop& desktop, std::vector<std::string> titles, int index = 0, std::int32_t positionMs = 0)
        : engine(std::move(titles), index, peers::PlayerState::playing, positionMs),
          window(desktop.CreateWindow("Winamp v1.x", engine.Caption())) {
        desktop.Window(window).handler = [this](FakeWindow& self, const Message& message) {
            const std::int32_t answer = engine.Receive(message.msg, message.wParam, message.lParam);
            self.caption = engine.Caption();
            return std::optional<std::int32_t>(answer);
        };
    }
    peers::PlayerEngine engine;
    Hwnd window = 0;
};

// The sensor program's three shared-memory regions.
inline void PublishMbm(FakeDesktop& desktop, const peers::MbmReadings& readings) {
    desktop.sharedMemory[peers::kMbmDataRegion] = peers::MbmDataRegion(readings);
    desktop.sharedMemory[peers::kMbmNamesRegion] = peers::MbmNamesRegion(readings);
    desktop.sharedMemory[peers::kMbmInfoRegion] = peers::MbmInfoRegion(readings);
}

} // namespace tunebridge::fake
