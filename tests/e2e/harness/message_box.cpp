#include "harness/message_box.h"

#include "harness/wait.h"

namespace tunebridge::e2e {
namespace {

constexpr char kDialogClass[] = "#32770";
constexpr int kTextId = 0xFFFF;
constexpr UINT kSendTimeoutMs = 20000;

struct BoxSearch {
    DWORD pid = 0;
    const std::string* title = nullptr;  // nullptr: any title
    HWND found = nullptr;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<BoxSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.pid) return TRUE;
    char text[512] = {};
    GetClassNameA(window, text, sizeof text);
    if (std::string(text) != kDialogClass) return TRUE;
    if (search.title != nullptr) {
        GetWindowTextA(window, text, sizeof text);
        if (*search.title != text) return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND FindBox(DWORD pid, const std::string* title) {
    BoxSearch search{pid, title, nullptr};
    EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

HWND FindMessageBoxWithin(DWORD pid, const std::string& title, std::chrono::milliseconds deadline) {
    HWND found = nullptr;
    // A box is made hidden and shown once its controls are in place.
    WaitUntil(
        [&] {
            found = FindBox(pid, &title);
            return found != nullptr && IsWindowVisible(found);
        },
        deadline);
    return found != nullptr && IsWindowVisible(found) ? found : nullptr;
}

HWND AnyMessageBox(DWORD pid) { return FindBox(pid, nullptr); }

std::string MessageBoxText(HWND box) {
    const HWND text = GetDlgItem(box, kTextId);
    if (text == nullptr) return {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(text, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &length)) return {};
    std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(text, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL,
                             kSendTimeoutMs, &copied)) {
        return {};
    }
    buffer.resize(static_cast<std::size_t>(copied));
    return buffer;
}

std::vector<int> MessageBoxButtons(HWND box) {
    std::vector<int> ids;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        // A box keeps every button it may need and hides those it does not.
        if (ClassOf(child) == "Button" && IsWindowVisible(child)) ids.push_back(GetDlgCtrlID(child));
    }
    return ids;
}

bool PressMessageBoxButton(HWND box, int id) {
    const HWND button = GetDlgItem(box, id);
    if (button == nullptr) return false;
    DWORD_PTR ignored = 0;
    // A box whose answer ends its program may be gone before it replies.
    return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &ignored) != 0 || !IsWindow(box);
}

}  // namespace tunebridge::e2e
