#include "platform/desktop_win32.h"

#include <windows.h>
#include <mmsystem.h>  // WAVEFORMATEX, which dsound.h needs
#include <dsound.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <exception>

#include "core/runtime_error.h"
#include "platform/text_win32.h"

namespace tunebridge {
namespace {

// User handles are 32-bit significant; the documented way back to a 64-bit
// handle is sign extension (LongToHandle).
HWND ToHwnd(Hwnd window) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(window)));
}

Hwnd FromHwnd(HWND window) { return static_cast<Hwnd>(reinterpret_cast<UINT_PTR>(window)); }

// An empty class or window name means "not given": FindWindowA must get NULL,
// as an empty class name matches nothing.
const char* NullIfEmpty(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

std::int32_t CutTo32Bits(LRESULT result) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<UINT_PTR>(result)));
}

std::string SystemMessage(DWORD error) {
    char buffer[512] = {};
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                    buffer, sizeof buffer, nullptr);
    while (length > 0 && (buffer[length - 1] == '\r' || buffer[length - 1] == '\n' || buffer[length - 1] == ' ')) {
        --length;
    }
    if (length == 0) return "System error " + std::to_string(error);
    return std::string(buffer, length);
}

struct EnumContext {
    const std::function<bool(Hwnd)>* callback;
    std::exception_ptr failure;
};

// An exception must not unwind through user32: it is carried past the
// enumeration and raised again afterwards.
BOOL CALLBACK EnumChildTrampoline(HWND child, LPARAM context) {
    auto& enumeration = *reinterpret_cast<EnumContext*>(context);
    try {
        return (*enumeration.callback)(FromHwnd(child)) ? TRUE : FALSE;
    } catch (...) {
        enumeration.failure = std::current_exception();
        return FALSE;
    }
}

// Tab and the other dialog keys work in every top-level window of the
// program, the main window included. Only keyboard messages can be dialog
// keys; the timers' messages, most of what arrives, go straight through.
void DispatchWithDialogKeys(MSG& message) {
    if (message.hwnd && message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
        HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
        if (root && ::IsDialogMessageW(root, &message)) return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

// A yield looks at the queue again only after a thousandth of a second.
constexpr LONGLONG kFreshQueuePerSecond = 1000;

} // namespace

Win32Desktop::~Win32Desktop() {
    if (directSound_) directSound_->Release();
}

int Win32Desktop::RunMessageLoop() {
    MSG message;
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return -1;
        NoteQueueLooked();
        DispatchWithDialogKeys(message);
    }
}

void Win32Desktop::NoteQueueLooked() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    queueLookedAt_ = now.QuadPart;
}

Hwnd Win32Desktop::FindWindowA(const std::string& className, const std::string& windowName) {
    return FromHwnd(::FindWindowA(NullIfEmpty(className), NullIfEmpty(windowName)));
}

bool Win32Desktop::IsWindow(Hwnd window) { return window != 0 && ::IsWindow(ToHwnd(window)) != FALSE; }

Hwnd Win32Desktop::GetWindow(Hwnd window, unsigned relation) {
    if (window == 0) return 0;
    return FromHwnd(::GetWindow(ToHwnd(window), relation));
}

void Win32Desktop::EnumChildWindows(Hwnd parent, const std::function<bool(Hwnd)>& callback) {
    // A null parent would enumerate the top-level windows instead.
    if (parent == 0) return;
    EnumContext context{&callback, nullptr};
    ::EnumChildWindows(ToHwnd(parent), EnumChildTrampoline, reinterpret_cast<LPARAM>(&context));
    if (context.failure) std::rethrow_exception(context.failure);
}

std::string Win32Desktop::GetWindowTextA(Hwnd window, int maxCount) {
    if (maxCount <= 0) return {};
    std::string buffer(static_cast<std::size_t>(maxCount), '\0');
    const int copied = ::GetWindowTextA(ToHwnd(window), buffer.data(), maxCount);
    // Wine copies whatever its buffer held for a window of another process
    // that is gone; a window alive after the call was alive during it.
    if (!IsWindow(window)) return {};
    buffer.resize(static_cast<std::size_t>(std::clamp(copied, 0, maxCount)));
    return buffer;
}

int Win32Desktop::GetWindowTextLengthA(Hwnd window) { return ::GetWindowTextLengthA(ToHwnd(window)); }

std::string Win32Desktop::GetClassNameA(Hwnd window) {
    // A class name has at most 256 characters.
    char name[257] = {};
    const int length = ::GetClassNameA(ToHwnd(window), name, sizeof name);
    return std::string(name, static_cast<std::size_t>(std::max(length, 0)));
}

std::uint32_t Win32Desktop::GetWindowStyle(Hwnd window) {
    return static_cast<std::uint32_t>(::GetWindowLongA(ToHwnd(window), GWL_STYLE));
}

std::int32_t Win32Desktop::SendMessageA(Hwnd window, unsigned message, std::uint32_t wParam, std::int32_t lParam) {
    return CutTo32Bits(::SendMessageA(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

std::optional<std::int32_t> Win32Desktop::SendMessageTimeoutA(Hwnd window, unsigned message, std::uint32_t wParam,
                                                             std::int32_t lParam, unsigned timeoutMs) {
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutA(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam),
                              SMTO_ABORTIFHUNG, timeoutMs, &answer) == 0) {
        return std::nullopt;
    }
    return CutTo32Bits(static_cast<LRESULT>(answer));
}

std::optional<std::int32_t> Win32Desktop::SendGetTextLengthTimeout(Hwnd window, unsigned timeoutMs) {
    // Asked in Unicode: Wine answers an ANSI sender by reading the whole text
    // first, waiting for as long as the window takes whatever the time-out.
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(ToHwnd(window), WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &answer) == 0) {
        return std::nullopt;
    }
    const std::int32_t length = CutTo32Bits(static_cast<LRESULT>(answer));
    CPINFO codePage{};
    if (length <= 0 || !::GetCPInfo(CP_ACP, &codePage) || codePage.MaxCharSize <= 1) return length;
    return static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{length} * codePage.MaxCharSize, INT32_MAX));
}

std::optional<std::int32_t> Win32Desktop::SendSetTextTimeout(Hwnd window, const std::vector<std::uint8_t>& ansiWithNul,
                                                            unsigned timeoutMs) {
    std::vector<std::uint8_t> text = ansiWithNul;
    if (text.empty() || text.back() != 0) text.push_back(0);
    // The system copies the text into the other process before the wait
    // starts, so a late delivery never reads this buffer.
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutA(ToHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                              timeoutMs, &answer) == 0) {
        return std::nullopt;
    }
    return CutTo32Bits(static_cast<LRESULT>(answer));
}

std::optional<std::string> Win32Desktop::SendGetTextTimeout(Hwnd window, int bufferChars, unsigned timeoutMs) {
    std::string buffer(static_cast<std::size_t>(std::max(bufferChars, 0)), '\0');
    DWORD_PTR copied = 0;
    if (::SendMessageTimeoutA(ToHwnd(window), WM_GETTEXT, static_cast<WPARAM>(buffer.size()),
                              reinterpret_cast<LPARAM>(buffer.empty() ? nullptr : buffer.data()), SMTO_ABORTIFHUNG,
                              timeoutMs, &copied) == 0) {
        return std::nullopt;
    }
    return buffer;
}

std::u16string Win32Desktop::DecodeSystemCodePage(const std::string& ansi) {
    const std::wstring wide = AnsiToWide(ansi);
    return {wide.begin(), wide.end()};
}

std::uint16_t Win32Desktop::GetAsyncKeyState(int virtualKey) {
    return static_cast<std::uint16_t>(::GetAsyncKeyState(virtualKey));
}

std::uintptr_t Win32Desktop::OpenFileMappingA(const std::string& name) {
    return reinterpret_cast<std::uintptr_t>(::OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()));
}

std::optional<std::vector<std::uint8_t>> Win32Desktop::CopyMappedView(std::uintptr_t mapping, std::size_t bytes) {
    const void* view = ::MapViewOfFile(reinterpret_cast<HANDLE>(mapping), FILE_MAP_READ, 0, 0, 0);
    if (!view) return std::nullopt;
    // A region smaller than asked for (another program may own the name)
    // is copied as far as it goes; reading on would fault.
    MEMORY_BASIC_INFORMATION region{};
    const std::size_t available = ::VirtualQuery(view, &region, sizeof region) ? region.RegionSize : 0;
    std::vector<std::uint8_t> content(bytes, 0);
    const std::size_t count = std::min(bytes, available);
    if (count > 0) std::memcpy(content.data(), view, count);
    ::UnmapViewOfFile(view);
    return content;
}

void Win32Desktop::CloseHandle(std::uintptr_t handle) { ::CloseHandle(reinterpret_cast<HANDLE>(handle)); }

// The wide profile calls take the path whole and, like the ANSI ones, read
// and write the file in the system code page.
std::int32_t Win32Desktop::GetPrivateProfileIntA(const std::string& section, const std::string& key,
                                                 std::int32_t defaultValue, const std::string& path) {
    return static_cast<std::int32_t>(::GetPrivateProfileIntW(AnsiToWide(section).c_str(), AnsiToWide(key).c_str(),
                                                             defaultValue, Utf8ToWide(path).c_str()));
}

std::string Win32Desktop::GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                                   const std::string& defaultValue, int bufferChars,
                                                   const std::string& path) {
    if (bufferChars <= 0) return {};
    std::wstring buffer(static_cast<std::size_t>(bufferChars), L'\0');
    const DWORD copied =
        ::GetPrivateProfileStringW(AnsiToWide(section).c_str(), AnsiToWide(key).c_str(),
                                   AnsiToWide(defaultValue).c_str(), buffer.data(), static_cast<DWORD>(bufferChars),
                                   Utf8ToWide(path).c_str());
    buffer.resize(std::min<std::size_t>(copied, buffer.size()));
    // The ANSI buffer held bufferChars bytes: a character of two bytes
    // that does not fit is left out whole.
    std::string text = WideToAnsi(buffer);
    while (text.size() >= static_cast<std::size_t>(bufferChars)) {
        buffer.pop_back();
        text = WideToAnsi(buffer);
    }
    return text;
}

bool Win32Desktop::WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                              const std::string& value, const std::string& path) {
    return ::WritePrivateProfileStringW(AnsiToWide(section).c_str(), AnsiToWide(key).c_str(),
                                        AnsiToWide(value).c_str(), Utf8ToWide(path).c_str()) != FALSE;
}

std::optional<std::string> Win32Desktop::GetSpecialFolderPath(int csidl) {
    LPITEMIDLIST list = nullptr;
    const HRESULT located = ::SHGetSpecialFolderLocation(nullptr, csidl, &list);
    if (located != S_OK) {
        if (list) ::CoTaskMemFree(list);
        return std::nullopt;
    }
    std::wstring buffer(MAX_PATH, L'\0');
    const BOOL found = ::SHGetPathFromIDListW(list, buffer.data());
    ::CoTaskMemFree(list);
    if (!found) return std::nullopt;
    return WideToUtf8(buffer);
}

std::string Win32Desktop::ModuleFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::string() : WideToUtf8(path.substr(0, separator));
}

bool Win32Desktop::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Utf8ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32Desktop::CreateProcessW(const std::string& path, int showStyle) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showStyle);
    PROCESS_INFORMATION process{};
    // Quoted, so that a path with blanks is not taken apart at them.
    const std::wstring application = Utf8ToWide(path);
    std::wstring commandLine = L"\"" + application + L"\"";
    if (!::CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        const DWORD error = ::GetLastError();
        throw RuntimeError(static_cast<std::int32_t>(HRESULT_FROM_WIN32(error)), SystemMessage(error), "CreateProcess");
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

std::string Win32Desktop::PathToAnsi(const std::string& path) { return WideToAnsi(Utf8ToWide(path)); }

int Win32Desktop::MessageBoxA(const std::string& text, const std::string& title, unsigned style) {
    HWND owner = ToHwnd(messageBoxOwner_);
    if (owner && !::IsWindow(owner)) owner = nullptr;
    return ::MessageBoxA(owner, text.c_str(), title.c_str(), style);
}

void Win32Desktop::ShellExecuteOpen(const std::string& address, const std::string& directory) {
    ::ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, NullIfEmpty(directory), SW_SHOWNORMAL);
}

std::int32_t Win32Desktop::DirectSoundCreate() {
    IDirectSound* created = nullptr;
    const HRESULT result = ::DirectSoundCreate(nullptr, &created, nullptr);
    if (SUCCEEDED(result) && created) {
        if (directSound_) directSound_->Release();
        directSound_ = created;
    }
    return static_cast<std::int32_t>(result);
}

std::int32_t Win32Desktop::DirectSoundSetCooperativeLevel(Hwnd window, std::uint32_t level) {
    if (!directSound_) return static_cast<std::int32_t>(DSERR_UNINITIALIZED);
    return static_cast<std::int32_t>(directSound_->SetCooperativeLevel(ToHwnd(window), level));
}

// The ticks yield some 200 times a second, and nearly always to a queue
// that the message loop emptied a few microseconds earlier, when it took the
// tick's own timer message. Each look at the queue is a call to the window
// server (under Wine a round trip to another process), so a yield within a
// millisecond of the last look leaves the queue to the message loop, which
// takes it up as soon as the handler returns.
void Win32Desktop::DoEvents() {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    if (now.QuadPart - queueLookedAt_ < frequency.QuadPart / kFreshQueuePerSecond) return;
    DispatchPending();
}

void Win32Desktop::DispatchPending() {
    // Asking for the queue's state is one call; an empty PeekMessage costs
    // several under Wine (it also flushes the window surfaces and polls the
    // display connection).
    if (HIWORD(::GetQueueStatus(QS_ALLINPUT)) != 0) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Left for the message loop, which ends the program on it.
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            DispatchWithDialogKeys(message);
        }
    }
    NoteQueueLooked();
}

void Win32Desktop::WaitForMessages(int timeoutMs) {
    // MWMO_INPUTAVAILABLE: messages already in the queue end the wait too.
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::max(timeoutMs, 0)), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
    DispatchPending();
}

std::chrono::system_clock::time_point Win32Desktop::Now() { return std::chrono::system_clock::now(); }

std::uint64_t Win32Desktop::TickCountMs() { return ::GetTickCount64(); }

void Win32Desktop::EndProgram() { ::ExitProcess(0); }

std::string Win32Desktop::KeyNameText(int virtualKey) {
    // The extended form of a scan code (0xE0 or 0xE1 in the high byte) tells
    // the cursor block from the numeric keypad: without bit 24 of the key
    // message, Insert would be named "Num 0".
    const UINT scanCode = ::MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC_EX);
    LONG keyMessage = static_cast<LONG>((scanCode & 0xFF) << 16);
    if ((scanCode & 0xFF00) != 0) keyMessage |= 1L << 24;
    wchar_t name[64] = {};
    const int length = ::GetKeyNameTextW(keyMessage, name, 64);
    if (length <= 0) return {};
    return WideToUtf8(std::wstring_view(name, static_cast<std::size_t>(length)));
}

} // namespace tunebridge
