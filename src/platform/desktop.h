#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tunebridge {

// Handles of other programs' windows are opaque 32-bit values (Win32 keeps
// user handles 32-bit significant even in 64-bit processes); 0 means none.
using Hwnd = std::uint32_t;

constexpr unsigned kWM_CHAR = 0x0102;
constexpr unsigned kWM_COMMAND = 0x0111;
constexpr unsigned kWM_USER = 0x0400;

constexpr std::uint32_t kES_MULTILINE = 0x0004;
constexpr std::uint32_t kES_READONLY = 0x0800;

constexpr unsigned kGW_HWNDNEXT = 2;
constexpr unsigned kGW_CHILD = 5;

constexpr unsigned kMB_OK = 0x00;
constexpr unsigned kMB_RETRYCANCEL = 0x05;
constexpr unsigned kMB_ICONEXCLAMATION = 0x30;
constexpr unsigned kMB_ICONERROR = 0x10;
constexpr int kIDRETRY = 4;

constexpr int kSW_SHOWMINIMIZED = 2;

// Everything the product needs from the operating system, named after the
// Win32 calls it stands for. The real implementation makes those calls; the
// fake desktop of the unit tests simulates them. Text crosses this boundary
// as ANSI bytes of the system code page, one byte per character; file and
// folder paths alone are UTF-8 and reach Windows through the wide calls, as
// the folder the program lies in may hold letters the code page lacks.
class Desktop {
public:
    virtual ~Desktop() = default;

    // FindWindowA; an empty class or name means "not given" (NULL).
    virtual Hwnd FindWindowA(const std::string& className, const std::string& windowName) = 0;
    // IsWindow: false for 0 and for a window that was destroyed.
    virtual bool IsWindow(Hwnd window) = 0;
    // GetWindow with GW_CHILD or GW_HWNDNEXT; 0 in, 0 out.
    virtual Hwnd GetWindow(Hwnd window, unsigned relation) = 0;
    // EnumChildWindows, grandchildren included; the callback returns false to stop.
    virtual void EnumChildWindows(Hwnd parent, const std::function<bool(Hwnd)>& callback) = 0;
    // GetWindowTextA into a buffer of maxCount characters: the copied text.
    virtual std::string GetWindowTextA(Hwnd window, int maxCount) = 0;
    virtual int GetWindowTextLengthA(Hwnd window) = 0;
    // GetClassNameA: the window's class as registered ("Edit"); "" when gone.
    virtual std::string GetClassNameA(Hwnd window) = 0;
    // GetWindowLongA(GWL_STYLE): the window's style bits; 0 when gone.
    virtual std::uint32_t GetWindowStyle(Hwnd window) = 0;

    // SendMessageA with plain numeric arguments (WM_COMMAND, WM_USER); the
    // result is cut to 32 bits. Waits for as long as the window takes.
    virtual std::int32_t SendMessageA(Hwnd window, unsigned message, std::uint32_t wParam, std::int32_t lParam) = 0;

    // The same with a bounded wait (SendMessageTimeoutA, SMTO_ABORTIFHUNG):
    // nothing when the window did not answer within timeoutMs or is gone. A
    // message whose wait gave up is still delivered once the window's thread
    // takes messages again.
    virtual std::optional<std::int32_t> SendMessageTimeoutA(Hwnd window, unsigned message, std::uint32_t wParam,
                                                            std::int32_t lParam, unsigned timeoutMs) = 0;
    // WM_GETTEXTLENGTH, bounded as above: at least the text's length in
    // ANSI characters, more in a code page of two bytes a character.
    virtual std::optional<std::int32_t> SendGetTextLengthTimeout(Hwnd window, unsigned timeoutMs) = 0;
    // WM_SETTEXT with a NUL-terminated ANSI buffer, bounded as above.
    virtual std::optional<std::int32_t> SendSetTextTimeout(Hwnd window, const std::vector<std::uint8_t>& ansiWithNul,
                                                           unsigned timeoutMs) = 0;
    // WM_GETTEXT into a zeroed buffer of bufferChars characters, bounded as
    // above; the whole buffer comes back, NULs included.
    virtual std::optional<std::string> SendGetTextTimeout(Hwnd window, int bufferChars, unsigned timeoutMs) = 0;

    // MultiByteToWideChar(CP_ACP): what the system code page's bytes stand for.
    virtual std::u16string DecodeSystemCodePage(const std::string& ansi) = 0;

    // GetAsyncKeyState: bit 15 down now, bit 0 pressed since the last query.
    virtual std::uint16_t GetAsyncKeyState(int virtualKey) = 0;

    // OpenFileMappingA(FILE_MAP_READ, not inheritable): a handle the caller
    // closes with CloseHandle, or 0 when the region cannot be opened.
    virtual std::uintptr_t OpenFileMappingA(const std::string& name) = 0;
    // MapViewOfFile (read-only, whole) + copy of the first `bytes` +
    // UnmapViewOfFile; nothing when the view cannot be mapped.
    virtual std::optional<std::vector<std::uint8_t>> CopyMappedView(std::uintptr_t mapping, std::size_t bytes) = 0;
    virtual void CloseHandle(std::uintptr_t handle) = 0;

    // The profile calls keep the file in the system code page: section, key
    // and value are ANSI, only the path is UTF-8.
    virtual std::int32_t GetPrivateProfileIntA(const std::string& section, const std::string& key, std::int32_t defaultValue, const std::string& path) = 0;
    // GetPrivateProfileStringA into a buffer of bufferChars: the copied characters.
    virtual std::string GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& defaultValue, int bufferChars, const std::string& path) = 0;
    virtual bool WritePrivateProfileStringA(const std::string& section, const std::string& key, const std::string& value, const std::string& path) = 0;

    // SHGetSpecialFolderLocation + SHGetPathFromIDListW: the 260-character
    // buffer as filled, or nothing when either call does not succeed.
    virtual std::optional<std::string> GetSpecialFolderPath(int csidl) = 0;
    // The folder of the running executable, without a trailing separator.
    virtual std::string ModuleFolder() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // CreateProcessW with STARTF_USESHOWWINDOW; throws RuntimeError on failure.
    virtual void CreateProcessW(const std::string& path, int showStyle) = 0;
    // A UTF-8 path as the system code page shows it, for a message box;
    // letters the code page lacks become "?".
    virtual std::string PathToAnsi(const std::string& path) = 0;
    // MessageBoxA owned by the window the user works in (the main window or
    // the dialog open over it); returns the button pressed.
    virtual int MessageBoxA(const std::string& text, const std::string& title, unsigned style) = 0;
    // ShellExecuteA(NULL, NULL, address, NULL, directory, SW_SHOWNORMAL).
    virtual void ShellExecuteOpen(const std::string& address, const std::string& directory) = 0;

    // DirectSoundCreate for the default device, then SetCooperativeLevel;
    // HRESULTs, the objects are kept until the program ends.
    virtual std::int32_t DirectSoundCreate() = 0;
    virtual std::int32_t DirectSoundSetCooperativeLevel(Hwnd window, std::uint32_t level) = 0;

    // Processes every pending window message, then returns (a yield).
    virtual void DoEvents() = 0;
    // Sleeps until a window message arrives or the time-out passes, then
    // processes the pending messages.
    virtual void WaitForMessages(int timeoutMs) = 0;

    // Wall clock for the announcer, monotonic milliseconds for time-outs.
    virtual std::chrono::system_clock::time_point Now() = 0;
    virtual std::uint64_t TickCountMs() = 0;

    // Ends the process at once: no unload handler, nothing saved.
    [[noreturn]] virtual void EndProgram() = 0;

    // GetKeyNameTextW of the key's scan code: its name in the keyboard
    // layout ("Shift", "A", "Num 2"), UTF-8; "" when the layout has none.
    virtual std::string KeyNameText(int virtualKey) = 0;
};

} // namespace tunebridge
