#include "harness/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <system_error>

namespace tunebridge::e2e {
namespace fs = std::filesystem;
namespace {

constexpr DWORD kTerminateWaitMs = 10000;
constexpr UINT kSendTimeoutMs = 20000;

using Match = std::function<bool(HWND)>;

}  // namespace

ChildProcess::~ChildProcess() {
    if (process_ == nullptr) return;
    Terminate();
    CloseHandle(process_);
}

bool ChildProcess::Start(const fs::path& exe, const std::vector<std::string>& arguments, const fs::path& workingDir,
                         std::optional<int> showStyle) {
    // Each argument quoted whole: none that the tests pass holds a quote or ends in a backslash.
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    for (const std::string& argument : arguments) {
        commandLine += L" \"" + std::wstring(argument.begin(), argument.end()) + L"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (showStyle) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(*showStyle);
    }
    PROCESS_INFORMATION info{};
    if (process_ != nullptr || !CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                               workingDir.c_str(), &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
    return true;
}

bool ChildProcess::Adopt(HWND window) {
    pid_ = PidOf(window);
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid_);
    return process_ != nullptr;
}

bool ChildProcess::IsRunning() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(std::chrono::milliseconds deadline) const {
    return process_ != nullptr && WaitForSingleObject(process_, static_cast<DWORD>(deadline.count())) == WAIT_OBJECT_0;
}

bool ChildProcess::Close(std::chrono::milliseconds grace) {
    if (!IsRunning()) return process_ != nullptr;
    // Every window of the process gets WM_CLOSE: the search never stops early.
    FindTopLevel([&](HWND window) {
        if (PidOf(window) == pid_) PostMessageA(window, WM_CLOSE, 0, 0);
        return false;
    });
    if (WaitForExit(grace)) return true;
    Terminate();
    return false;
}

void ChildProcess::Terminate() {
    if (!IsRunning()) return;
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kTerminateWaitMs);
}

HWND ChildProcess::FindOwnWindow(const std::string& className, const std::string& title, bool visibleOnly) const {
    return FindTopLevel([&](HWND window) {
        char caption[512] = {};
        GetWindowTextA(window, caption, sizeof caption);
        return PidOf(window) == pid_ && (!visibleOnly || IsWindowVisible(window)) &&
               (className.empty() || ClassOf(window) == className) && (title.empty() || title == caption);
    });
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    constexpr DWORD kPollMs = 10;
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

HWND FindTopLevel(const Match& match) {
    std::pair<const Match*, HWND> search{&match, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) {
            auto& [wanted, found] = *reinterpret_cast<std::pair<const Match*, HWND>*>(parameter);
            if (!(*wanted)(window)) return TRUE;
            found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

DWORD PidOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
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
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return fs::path(exe).parent_path();
}

fs::path TempDir(const std::string& name) {
    const fs::path folder = BinDir().parent_path() / "e2e-tmp" / (name + "-" + std::to_string(GetCurrentProcessId()));
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
    return folder;
}

fs::path TestDir() {
    // A parameterised test's name holds a "/".
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ranges::replace(name, '/', '-');
    return TempDir(name);
}

}  // namespace tunebridge::e2e
