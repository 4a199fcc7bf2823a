#include "harness/process.h"

namespace tunebridge::e2e {
namespace {

constexpr DWORD kTerminateWaitMs = 10000;

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

}  // namespace

std::wstring Widen(const std::string& ansi) {
    if (ansi.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return wide;
}

std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count double only in front of a quote.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

ChildProcess::~ChildProcess() {
    if (process_ == nullptr) return;
    Terminate();
    CloseHandle(process_);
}

bool ChildProcess::Start(const std::filesystem::path& exe, const std::vector<std::string>& arguments,
                         const std::filesystem::path& workingDir, std::optional<int> showStyle) {
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

bool ChildProcess::IsRunning() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(std::chrono::milliseconds deadline) const {
    return process_ != nullptr &&
           WaitForSingleObject(process_, static_cast<DWORD>(deadline.count())) == WAIT_OBJECT_0;
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

}  // namespace tunebridge::e2e
