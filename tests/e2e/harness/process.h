// Programs a test starts, and what it waits for, seen from outside as any
// other program would see them.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "harness/wait.h"

namespace tunebridge::e2e {

// A program started by a test. It is ended at the latest when this object
// goes, so a failing test leaves nothing running behind it.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // CreateProcessW with ASCII arguments; a show style goes in with STARTF_USESHOWWINDOW.
    bool Start(const std::filesystem::path& exe, const std::vector<std::string>& arguments,
               const std::filesystem::path& workingDir, std::optional<int> showStyle = std::nullopt);
    // Takes charge of the process that owns `window`, which another program started.
    bool Adopt(HWND window);

    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_; }
    bool IsRunning() const;
    bool WaitForExit(std::chrono::milliseconds deadline) const;
    // WM_CLOSE to its top-level windows, up to `grace` to end, then terminated.
    // True when it ended by itself.
    bool Close(std::chrono::milliseconds grace);
    void Terminate();

    // Its first top-level window of that class and title (empty: any).
    HWND FindOwnWindow(const std::string& className, const std::string& title, bool visibleOnly = true) const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// The first top-level window, hidden ones included, for which `match` holds; nullptr if none.
HWND FindTopLevel(const std::function<bool(HWND)>& match);
DWORD PidOf(HWND window);
std::string ClassOf(HWND window);
// The text of another program's window read with WM_GETTEXTLENGTH and
// WM_GETTEXT (a label's caption, an edit's content); empty when it does not answer.
std::string TextOf(HWND window);

// The folder of the running test program, where every program of the build lies.
std::filesystem::path BinDir();
// A fresh, empty folder <bin>/../e2e-tmp/<name>-<pid>.
std::filesystem::path TempDir(const std::string& name);
// TempDir named after the running test.
std::filesystem::path TestDir();

} // namespace tunebridge::e2e
