#pragma once

#include <string>

namespace tunebridge {

struct TimerControl {
    unsigned interval;
    bool enabled;
};

enum class TimerId { Console, Timer, Timer1, SupportTimer, tmrMBMMonitor };

// The main window's labels and timers as state: the logic writes them, the
// Win32 view shows captions and arms timers from them after every event.
struct FormControls {
    std::string song = "00:00:00";
    std::string lblaction = "Startup";
    std::string lblretval = "Label3";
    std::string ChatText = "Label3";
    std::string lblPlatform = "Label3";
    std::string quakec = "Label3";

    TimerControl Console{500, true};
    TimerControl Timer{100, true};
    TimerControl Timer1{500, true};
    TimerControl SupportTimer{10, true};
    TimerControl tmrMBMMonitor{10000, true};

    TimerControl& TimerOf(TimerId id) {
        switch (id) {
        case TimerId::Console: return Console;
        case TimerId::Timer: return Timer;
        case TimerId::Timer1: return Timer1;
        case TimerId::SupportTimer: return SupportTimer;
        case TimerId::tmrMBMMonitor: break;
        }
        return tmrMBMMonitor;
    }
};

} // namespace tunebridge
