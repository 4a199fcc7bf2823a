#include "harness/process.h"

#include <algorithm>
#include <system_error>

namespace tunebridge::e2e {
namespace fs = std::filesystem;
namespace {

constexpr DWORD kTerminateWaitMs = 10000;
constexpr UINT kSendTimeoutMs = 20000;

struct WindowSearch {
    DWORD pid = 0;
    const std::string* className = nullptr;
    const std::string* title = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.pid) return TRUE;
    char text[512] = {};
    if (!search.className->empty()) {
        GetClassNameA(window, text, sizeof text);
        if (*search.className != text) return TRUE;
    }
    if (!search.title->empty()) {
        GetWindowTextA(window, text, sizeof text);
        if (*search.title != text) return TRUE;
    }
    search.found = window;
    return FALSE;
}

BOOL CALLBACK PostClose(HWND window, LPARAM pid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(pid)) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

std::wstring Widen(const std::string& ansi) {
    if (ansi.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return wide;
}

// The argument as the C runtime splits a command line again: backslashes
// count double only in front of a quote.
std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

}  // namespace

ChildProcess::~ChildProcess() {
    if (process_ == nullptr) return;
    Terminate();
    CloseHandle(process_);
}

bool ChildProcess::Start(const fs::path& exe, const std::vector<std::string>& arguments, const fs::path& workingDir,
                         std::optional<int> showStyle) {
    if (process_ != nullptr) return false;
    std::wstring commandLine = QuoteArgument(exe.wstring());
    for (const std::string& argument : arguments) commandLine += L" " + QuoteArgument(Widen(argument));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (showStyle) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(*showStyle);
    }
    PROCESS_INFORMATION info{};
    const std::wstring folder = workingDir.wstring();
    if (!CreateProcessW(exe.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
    return true;
}

bool ChildProcess::Adopt(HWND window) {
    if (process_ != nullptr || window == nullptr) return false;
    GetWindowThreadProcessId(window, &pid_);
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid_);
    return process_ != nullptr;
}

bool ChildProcess::IsRunning() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(std::chrono::milliseconds deadline) const {
    return process_ != nullptr && WaitForSingleObject(process_, static_cast<DWORD>(deadline.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> ChildProcess::ExitCode() const {
    DWORD code = 0;
    if (IsRunning() || process_ == nullptr || !GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

bool ChildProcess::Close(std::chrono::milliseconds grace) {
    if (!IsRunning()) return process_ != nullptr;
    EnumWindows(PostClose, static_cast<LPARAM>(pid_));
    if (WaitForExit(grace)) return true;
    Terminate();
    return false;
}

void ChildProcess::Terminate() {
    if (!IsRunning()) return;
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kTerminateWaitMs);
}

HWND ChildProcess::FindOwnWindow(const std::string& className, const std::string& title) const {
    WindowSearch search{pid_, &className, &title, nullptr};
    if (pid_ != 0) EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (window == nullptr ||
        !SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &length)) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                             kSendTimeoutMs, &copied)) {
        return {};
    }
    text.resize(std::min(static_cast<std::size_t>(copied), static_cast<std::size_t>(length)));
    return text;
}

fs::path BinDir() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            buffer.resize(length);
            return fs::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

fs::path TempDir(const std::string& name) {
    static int made = 0;
    const fs::path folder = BinDir().parent_path() / "e2e-tmp" /
                            (name + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made));
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
    return folder;
}

}  // namespace tunebridge::e2e
