// Programs a test starts or takes charge of, seen from outside as any other
// program would see them.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tunebridge::e2e {

// A program started by a test. It is ended at the latest when this object
// goes, so a failing test leaves nothing running behind it.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // CreateProcessW with each argument quoted as the C runtime parses it.
    // Arguments are ANSI text. A show style goes in with STARTF_USESHOWWINDOW.
    bool Start(const std::filesystem::path& exe, const std::vector<std::string>& arguments,
               const std::filesystem::path& workingDir = {}, std::optional<int> showStyle = std::nullopt);
    // Takes charge of the process that owns `window`, which another program started.
    bool Adopt(HWND window);

    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_; }
    bool IsRunning() const;
    bool WaitForExit(std::chrono::milliseconds deadline) const;
    // The exit code once the process has ended.
    std::optional<DWORD> ExitCode() const;
    // Asks its top-level windows to close (WM_CLOSE), waits up to `grace`,
    // then terminates it. True when it ended by itself.
    bool Close(std::chrono::milliseconds grace);
    void Terminate();

    // Its first top-level window of that class and/or title (empty: any),
    // hidden windows included.
    HWND FindOwnWindow(const std::string& className, const std::string& title) const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// The text of another program's window read with WM_GETTEXTLENGTH and
// WM_GETTEXT (a label's caption, an edit's content); empty when it does not answer.
std::string TextOf(HWND window);

// The folder of the running test program, where every program of the build lies.
std::filesystem::path BinDir();
// A fresh, empty folder for one test under the build tree:
// <bin>/../e2e-tmp/<name>-<pid>-<n>.
std::filesystem::path TempDir(const std::string& name);

} // namespace tunebridge::e2e
