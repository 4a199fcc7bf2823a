#pragma once

#include <memory>

namespace tunebridge {

class MainForm;
class Win32Desktop;

// The main window on the screen. It forwards the window's events to the
// form and, after each, shows the form's label captions and arms its timers;
// the behaviour itself lives in MainForm.
class MainWindow {
public:
    MainWindow(MainForm& form, Win32Desktop& desktop);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window hidden with its timers running, runs the load
    // handler and shows the window centred when start-up succeeds; a failed
    // start-up destroys the window unseen, which ends the message loop.
    // False only when the window could not be created at all.
    bool Start(int showCommand);

private:
    struct View;
    std::unique_ptr<View> view_;
};

} // namespace tunebridge
