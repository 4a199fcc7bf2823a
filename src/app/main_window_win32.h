#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "app/main_window.h"
#include "platform/desktop_win32.h"
#include "platform/window_win32.h"

namespace tunebridge {

// The main window on the screen: the layout table's controls, the five
// timers, the size rule, the start-up and unload of its logic, and the
// window of the dialog its logic opened.
class MainWindowView final : public Window {
public:
    MainWindowView(MainWindow& model, Win32Desktop& desktop);

    // Creates the window hidden with its timers running, runs the start-up
    // and shows the window centred when it succeeds; a failed start-up
    // destroys the window unseen, which ends the message loop. False only
    // when the window could not be created at all.
    bool Start(int showCommand);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    SIZE OuterSize() const override;
    void AfterEvent() override;
    void BeforeUnhandledError() override { KillTimers(); }

private:
    struct ArmedTimer {
        bool applied = false;
        bool running = false;
        unsigned intervalMs = 0;
    };

    void ArmTimers();
    void KillTimers();
    void HoldOuterSize();
    void ShowOpenedDialog();
    void DisposeClosedDialog();

    MainWindow& model_;
    Win32Desktop& desktop_;
    std::array<ArmedTimer, kMainTimerCount> armed_{};
    std::unique_ptr<DialogWindow> dialog_;
};

} // namespace tunebridge
