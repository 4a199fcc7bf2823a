#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fake/profile_file.h"
#include "platform/desktop.h"

namespace tunebridge::fake {

// One message as it reached a simulated window.
struct Message {
    Hwnd hwnd = 0;
    unsigned msg = 0;
    std::uint32_t wParam = 0;
    std::int32_t lParam = 0;
    std::string text;  // WM_SETTEXT: the bytes before the NUL
    bool delivered = false;  // false when no window had that handle

    friend bool operator==(const Message&, const Message&) = default;
};

struct FakeWindow;
// Behaviour of a simulated window: an answer overrides the default handling
// (WM_GETTEXT/WM_GETTEXTLENGTH/WM_SETTEXT on `text`, 0 for the rest).
using MessageHandler = std::function<std::optional<std::int32_t>(FakeWindow&, const Message&)>;

struct FakeWindow {
    Hwnd handle = 0;
    std::string className;
    std::string caption;  // what GetWindowTextA and FindWindowA see
    std::string text;     // the content WM_GETTEXT reads
    Hwnd parent = 0;
    std::vector<Hwnd> children;  // creation order
    MessageHandler handler;
};

struct MessageBoxCall {
    std::string text;
    std::string title;
    unsigned style = 0;
};

struct ProcessStart {
    std::string path;
    int showStyle = 0;
};

struct ShellOpen {
    std::string address;
    std::string directory;

    friend bool operator==(const ShellOpen&, const ShellOpen&) = default;
};

struct ProgramEnded {};

// An in-memory desktop: windows of other programs, keys, shared memory,
// profile files, the clock and the user's answers, all scriptable, with
// every message sent to a simulated window recorded in order.
class FakeDesktop : public Desktop {
public:
    FakeDesktop();

    // --- simulated windows
    Hwnd CreateWindow(const std::string& className, const std::string& caption, Hwnd parent = 0);
    void DestroyWindow(Hwnd window);
    FakeWindow& Window(Hwnd window);
    bool Exists(Hwnd window) const;

    const std::vector<Message>& Messages() const { return messages_; }
    std::vector<Message> MessagesTo(Hwnd window) const;
    void ClearMessages() { messages_.clear(); }

    // --- keyboard: a key pressed and not yet queried reads 0x8001 once.
    void PressKey(int virtualKey);
    void ReleaseKey(int virtualKey);
    // Answers queued for a key win over the simulated keyboard.
    void QueueKeyState(int virtualKey, std::uint16_t state);
    const std::vector<int>& KeyQueries() const { return keyQueries_; }
    void ClearKeyQueries() { keyQueries_.clear(); }

    // --- shared memory
    void SetSharedMemory(const std::string& name, std::vector<std::uint8_t> bytes);
    void RemoveSharedMemory(const std::string& name);
    // Regions that open but whose view cannot be mapped.
    std::set<std::string> unmappableSharedMemory;

    // --- files
    ProfileFile& Profile(const std::string& path);
    bool HasProfile(const std::string& path) const;
    std::string FileText(const std::string& path) const;  // "" when missing
    void SetFileText(const std::string& path, const std::string& text);
    void AddFile(const std::string& path);
    void FailProfileWrites(bool fail) { failWrites_ = fail; }
    int profileIntReads = 0;
    int profileStringReads = 0;
    int profileWrites = 0;

    // --- shell and processes
    std::string moduleFolder = "C:\\Tunebridge";
    std::map<int, std::string> specialFolders;  // missing: the lookup fails
    std::function<void(const ProcessStart&)> onCreateProcess;  // may throw
    std::vector<ProcessStart> processStarts;
    std::vector<ShellOpen> shellOpened;
    // The keyboard layout's key names; a code without one has no name.
    std::map<int, std::string> keyNames{{16, "Shift"}, {17, "Ctrl"}, {18, "Alt"}, {80, "P"}, {98, "Num 2"}};

    // --- message boxes: answers are taken in order, IDOK when none is queued.
    std::deque<int> messageBoxAnswers;
    std::vector<MessageBoxCall> messageBoxes;
    std::function<int(const MessageBoxCall&)> onMessageBox;

    // --- DirectSound results
    std::int32_t directSoundCreateResult = 0;
    std::int32_t cooperativeLevelResult = 0;
    std::vector<std::pair<Hwnd, std::uint32_t>> cooperativeLevelCalls;
    int directSoundCreateCalls = 0;

    // --- yields and time
    std::function<void()> onYield;  // runs at every DoEvents and WaitForMessages
    int yields = 0;
    int waits = 0;
    void SetNow(std::chrono::sys_seconds now) { now_ = now; }
    void AdvanceClock(std::chrono::milliseconds by);
    bool ended = false;

    // --- Desktop
    Hwnd FindWindowA(const std::string& className, const std::string& windowName) override;
    Hwnd GetWindow(Hwnd window, unsigned relation) override;
    void EnumChildWindows(Hwnd parent, const std::function<bool(Hwnd)>& callback) override;
    std::string GetWindowTextA(Hwnd window, int maxCount) override;
    int GetWindowTextLengthA(Hwnd window) override;
    std::int32_t SendMessageA(Hwnd window, unsigned message, std::uint32_t wParam, std::int32_t lParam) override;
    std::int32_t SendSetText(Hwnd window, const std::vector<std::uint8_t>& ansiWithNul) override;
    std::string SendGetText(Hwnd window, int bufferChars) override;
    std::uint16_t GetAsyncKeyState(int virtualKey) override;
    std::optional<std::vector<std::uint8_t>> ReadSharedMemory(const std::string& name, std::size_t bytes) override;
    std::int32_t GetPrivateProfileIntA(const std::string& section, const std::string& key, std::int32_t defaultValue, const std::string& path) override;
    std::string GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& defaultValue, int bufferChars, const std::string& path) override;
    bool WritePrivateProfileStringA(const std::string& section, const std::string& key, const std::string& value, const std::string& path) override;
    std::optional<std::string> GetSpecialFolderPath(int csidl) override;
    std::string ModuleFolder() override { return moduleFolder; }
    bool FileExists(const std::string& path) override;
    void CreateProcessA(const std::string& path, int showStyle) override;
    int MessageBoxA(const std::string& text, const std::string& title, unsigned style) override;
    void ShellExecuteOpen(const std::string& address, const std::string& directory) override;
    std::int32_t DirectSoundCreate() override;
    std::int32_t DirectSoundSetCooperativeLevel(Hwnd window, std::uint32_t level) override;
    void DoEvents() override;
    void WaitForMessages(int timeoutMs) override;
    std::chrono::system_clock::time_point Now() override;
    std::uint64_t TickCountMs() override { return tickMs_; }
    [[noreturn]] void EndProgram() override;
    std::string KeyNameText(int virtualKey) override;

private:
    std::int32_t Deliver(Message message);
    void CollectDescendants(Hwnd parent, std::vector<Hwnd>& out) const;
    static std::string Key(const std::string& path);

    Hwnd nextHandle_ = 0x10010;
    std::map<Hwnd, FakeWindow> windows_;
    std::vector<Hwnd> topLevel_;
    std::vector<Message> messages_;

    struct KeyState {
        bool down = false;
        bool pressedSinceQuery = false;
        std::deque<std::uint16_t> queued;
    };
    std::map<int, KeyState> keys_;
    std::vector<int> keyQueries_;

    std::map<std::string, std::vector<std::uint8_t>> sharedMemory_;
    std::map<std::string, ProfileFile> profiles_;  // keyed case-insensitively
    std::map<std::string, bool> plainFiles_;
    bool failWrites_ = false;

    std::chrono::sys_seconds now_{std::chrono::seconds{1767225600}};  // 2026-01-01
    std::chrono::milliseconds subSecond_{0};
    std::uint64_t tickMs_ = 1000;
};

} // namespace tunebridge::fake
