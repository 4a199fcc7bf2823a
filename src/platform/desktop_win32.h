#pragma once

#include "platform/desktop.h"

struct IDirectSound;

namespace tunebridge {

// The desktop as Windows provides it: every call is the real one.
class Win32Desktop : public Desktop {
public:
    Win32Desktop() = default;
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    // The window that owns the message boxes: the main window from the
    // moment it exists, a dialog while it is open over the main window (a
    // box the main window owned would enable it under the dialog on closing).
    void SetMessageBoxOwner(Hwnd window) { messageBoxOwner_ = window; }

    // Gets and dispatches messages until WM_QUIT; returns its exit code.
    int RunMessageLoop();

    Hwnd FindWindowA(const std::string& className, const std::string& windowName) override;
    bool IsWindow(Hwnd window) override;
    Hwnd GetWindow(Hwnd window, unsigned relation) override;
    void EnumChildWindows(Hwnd parent, const std::function<bool(Hwnd)>& callback) override;
    std::string GetWindowTextA(Hwnd window, int maxCount) override;
    int GetWindowTextLengthA(Hwnd window) override;
    std::string GetClassNameA(Hwnd window) override;
    std::uint32_t GetWindowStyle(Hwnd window) override;
    std::int32_t SendMessageA(Hwnd window, unsigned message, std::uint32_t wParam, std::int32_t lParam) override;
    std::optional<std::int32_t> SendMessageTimeoutA(Hwnd window, unsigned message, std::uint32_t wParam,
                                                    std::int32_t lParam, unsigned timeoutMs) override;
    std::optional<std::int32_t> SendGetTextLengthTimeout(Hwnd window, unsigned timeoutMs) override;
    std::optional<std::int32_t> SendSetTextTimeout(Hwnd window, const std::vector<std::uint8_t>& ansiWithNul,
                                                   unsigned timeoutMs) override;
    std::optional<std::string> SendGetTextTimeout(Hwnd window, int bufferChars, unsigned timeoutMs) override;
    std::u16string DecodeSystemCodePage(const std::string& ansi) override;
    std::uint16_t GetAsyncKeyState(int virtualKey) override;
    std::uintptr_t OpenFileMappingA(const std::string& name) override;
    std::optional<std::vector<std::uint8_t>> CopyMappedView(std::uintptr_t mapping, std::size_t bytes) override;
    void CloseHandle(std::uintptr_t handle) override;
    std::int32_t GetPrivateProfileIntA(const std::string& section, const std::string& key, std::int32_t defaultValue, const std::string& path) override;
    std::string GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& defaultValue, int bufferChars, const std::string& path) override;
    bool WritePrivateProfileStringA(const std::string& section, const std::string& key, const std::string& value, const std::string& path) override;
    std::optional<std::string> GetSpecialFolderPath(int csidl) override;
    std::string ModuleFolder() override;
    bool FileExists(const std::string& path) override;
    void CreateProcessW(const std::string& path, int showStyle) override;
    std::string PathToAnsi(const std::string& path) override;
    int MessageBoxA(const std::string& text, const std::string& title, unsigned style) override;
    void ShellExecuteOpen(const std::string& address, const std::string& directory) override;
    std::int32_t DirectSoundCreate() override;
    std::int32_t DirectSoundSetCooperativeLevel(Hwnd window, std::uint32_t level) override;
    void DoEvents() override;
    void WaitForMessages(int timeoutMs) override;
    std::chrono::system_clock::time_point Now() override;
    std::uint64_t TickCountMs() override;
    [[noreturn]] void EndProgram() override;
    std::string KeyNameText(int virtualKey) override;

private:
    // Dispatches every pending message; notes when the queue was last emptied.
    void DispatchPending();
    void NoteQueueLooked();

    Hwnd messageBoxOwner_ = 0;
    // When the message loop or a yield last looked at the queue, in
    // performance-counter ticks.
    std::int64_t queueLookedAt_ = 0;
    IDirectSound* directSound_ = nullptr;
};

} // namespace tunebridge
