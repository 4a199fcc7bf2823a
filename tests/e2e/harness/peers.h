// The simulated peers (sim/) as a test runs them: their processes, windows,
// control channel and logs.
#pragma once

#include <gtest/gtest.h>

#include "engine/player_engine.h"
#include "harness/process.h"

namespace tunebridge::e2e {

using namespace std::chrono_literals;

// How long a peer may take to show its window or to log what a test waits for.
inline constexpr std::chrono::milliseconds kPeerDeadline = 20s;

class PeerProgram {
public:
    HWND Window() const { return window_; }
    ChildProcess& Process() { return process_; }

    // The control command by WM_COPYDATA: the peer's answer (1 understood,
    // 0 not), -1 when the window did not answer at all.
    LRESULT Send(const std::string& command) const;
    // The complete lines of its log.
    std::vector<std::string> Log() const;
    // "quit" first: the console only hides on WM_CLOSE; the others ignore it.
    bool Close(std::chrono::milliseconds deadline = kPeerDeadline) { return Send("quit"), process_.Close(deadline); }

protected:
    // Starts `exe` of the build and waits for its window, visible unless `hidden`.
    ::testing::AssertionResult Launch(const std::string& exe, const std::vector<std::string>& arguments,
                                      const std::filesystem::path& folder, const std::filesystem::path& log,
                                      const std::string& className, const std::string& title, bool hidden = false);
    // The text after "<tag> " of every record with that tag.
    std::vector<std::string> Tagged(const std::string& tag) const;

private:
    ChildProcess process_;
    HWND window_ = nullptr;
    std::filesystem::path log_;
};

struct ConsoleOptions {
    std::string title = "Quake 3 Console";
    bool wipe = true;  // false: keeps 300,000 characters and more
    std::optional<int> drawMs = std::nullopt;  // the time each frame draws without pumping
    bool quake3e = false;  // the maintained engine's console: status bar first, output flushed by a timer
};

class ConsolePeer : public PeerProgram {
public:
    // Starts fake_console.exe with a log of its own in `folder` (a console
    // started after another one closed gets a new log) and waits for its hidden window.
    ::testing::AssertionResult Start(const std::filesystem::path& folder, const ConsoleOptions& options = {});

    HWND InputLine() const { return FindWindowExA(Window(), nullptr, "Edit", nullptr); }
    HWND Output() const { return FindWindowExA(Window(), InputLine(), "Edit", nullptr); }  // the pane, the other edit
    // Types a line as a program outside would: WM_SETTEXT, then WM_CHAR 13.
    void Type(const std::string& line) const;
    bool Print(const std::string& text) const { return Send("print " + text) == 1; }
    bool Prefill(std::size_t chars) const { return Send("prefill " + std::to_string(chars)) == 1; }

    std::vector<std::string> Typed() const { return Tagged("TYPED"); }
    // Waits until a printed line contains `part`.
    bool WaitForOut(const std::string& part, std::chrono::milliseconds deadline = kPeerDeadline) const;
};

class PlayerPeer : public PeerProgram {
public:
    struct Options {
        std::vector<std::string> titles = {};
        std::optional<int> index = std::nullopt;
        std::optional<std::int32_t> positionMs = std::nullopt;
        std::optional<peers::PlayerState> state = std::nullopt;
        bool clock = false;
    };
    // Writes the playlist into `folder`, starts fake_winamp.exe and waits for its window.
    ::testing::AssertionResult Start(const std::filesystem::path& folder, const Options& options);
    // The records of every WM_COMMAND and WM_USER received: "<msg> <wParam> <lParam>".
    std::vector<std::string> Messages() const { return Tagged("MSG"); }
};

// fake_mbm.exe: the sensor program's shared memory, published until it closes.
class SensorPeer : public PeerProgram {
public:
    struct Options {
        int temperature = 0;
        int fan = 0;
        std::string temperatureName, fanName, version;
    };
    // Starts it and waits for its hidden window, which it makes after the regions.
    ::testing::AssertionResult Start(const std::filesystem::path& folder, const Options& options);
};

} // namespace tunebridge::e2e
