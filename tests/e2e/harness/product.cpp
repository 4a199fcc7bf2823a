#include "harness/product.h"

#include <fstream>
#include <sstream>

#include "harness/wait.h"

namespace tunebridge::e2e {
namespace fs = std::filesystem;
namespace {

constexpr UINT kSendTimeoutMs = 20000;

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct BoxSearch {
    DWORD pid = 0;
    const std::string* title = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<BoxSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    // A box is made hidden and shown once its controls are in place.
    if (owner != search.pid || ClassOf(window) != "#32770" || !IsWindowVisible(window) ||
        (!search.title->empty() && *search.title != title)) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

}  // namespace

fs::path StageProduct(const fs::path& folder, const std::optional<std::string>& ini) {
    fs::create_directories(folder);
    const fs::path exe = folder / "tunebridge.exe";
    fs::copy_file(BinDir() / "tunebridge.exe", exe, fs::copy_options::overwrite_existing);
    if (ini) std::ofstream(folder / "tunebridge.ini", std::ios::binary) << *ini;
    return exe;
}

bool PressButton(HWND box, int id) {
    const HWND button = GetDlgItem(box, id);
    if (button == nullptr) return false;
    DWORD_PTR ignored = 0;
    // A box whose answer ends its program may be gone before it replies.
    return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &ignored) != 0 || !IsWindow(box);
}

::testing::AssertionResult Product::Launch(const fs::path& folder, const std::optional<std::string>& ini,
                                          std::optional<int> showStyle) {
    folder_ = folder / "product";
    if (!process_.Start(StageProduct(folder_, ini), {}, folder_, showStyle)) {
        return ::testing::AssertionFailure() << "cannot start tunebridge.exe (error " << GetLastError() << ")";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Product::Start(const fs::path& folder, const std::optional<std::string>& ini,
                                         std::optional<int> showStyle) {
    if (auto launched = Launch(folder, ini, showStyle); !launched) return launched;
    if (WaitForWindow() == nullptr) {
        return ::testing::AssertionFailure() << "no visible window \"Tunebridge.\""
                                             << (process_.IsRunning() ? "; the box shown says: " : " (it ended)")
                                             << WaitForMessageBox("", 0ms).text;
    }
    return ::testing::AssertionSuccess();
}

HWND Product::WaitForWindow() {
    WaitUntil(
        [&] {
            window_ = process_.FindOwnWindow("", kMainWindowCaption);
            if (window_ != nullptr && !IsWindowVisible(window_)) window_ = nullptr;
            return window_ != nullptr || !process_.IsRunning();
        },
        kProductDeadline);
    return window_;
}

MessageBoxSeen Product::WaitForMessageBox(const std::string& title, std::chrono::milliseconds deadline) const {
    BoxSearch search{process_.Pid(), &title, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        deadline);
    MessageBoxSeen box{search.found, {}, {}};
    if (box.window == nullptr) return box;
    box.text = TextOf(GetDlgItem(box.window, 0xFFFF));
    for (HWND child = GetWindow(box.window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        // A box keeps every button it may need and hides those it does not.
        if (ClassOf(child) == "Button" && IsWindowVisible(child)) box.buttons.push_back(GetDlgCtrlID(child));
    }
    return box;
}

std::string Product::ControlText(int id) const { return TextOf(GetDlgItem(window_, id)); }

bool Product::WaitForControlText(int id, const std::function<bool(const std::string&)>& predicate,
                                 std::string& last) const {
    return WaitUntil(
        [&] {
            last = ControlText(id);
            return predicate(last);
        },
        kProductDeadline);
}

bool Product::WaitForEnd(bool& shown) const {
    shown = false;
    return WaitUntil(
        [&] {
            const HWND window = process_.FindOwnWindow("", kMainWindowCaption);
            shown = shown || (window != nullptr && IsWindowVisible(window));
            return !process_.IsRunning();
        },
        kProductDeadline);
}

bool Product::Close() {
    if (!process_.IsRunning()) return false;
    PostMessageA(window_, WM_CLOSE, 0, 0);
    if (process_.WaitForExit(kProductDeadline)) return true;
    process_.Terminate();
    return false;
}

std::optional<std::string> ReadFileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::optional<std::multimap<std::string, std::string>> ReadIniEntries(const fs::path& file) {
    const auto bytes = ReadFileBytes(file);
    if (!bytes) return std::nullopt;
    std::multimap<std::string, std::string> entries;
    std::string section;
    std::istringstream lines(*bytes);
    for (std::string line; std::getline(lines, line);) {
        if (line.ends_with('\r')) line.pop_back();
        if (line.starts_with('[') && line.ends_with(']')) {
            section = line;
        } else if (const auto equals = line.find('='); equals != std::string::npos) {
            entries.emplace(section + " " + line.substr(0, equals), line.substr(equals + 1));
        }
    }
    return entries;
}

bool SaveScreenshot(const fs::path& file) {
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, GetSystemMetrics(SM_XVIRTUALSCREEN),
                               GetSystemMetrics(SM_YVIRTUALSCREEN), SRCCOPY) != FALSE;
    SelectObject(memory, previous);
    // Bottom row first, rows padded to four bytes: the layout of a BMP file.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<char> pixels(static_cast<std::size_t>((width * 3 + 3) / 4 * 4) * static_cast<std::size_t>(height));
    const bool read = copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                                          DIB_RGB_COLORS) == height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!read) return false;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

HWND OwnedWindowOf(HWND owner) {
    std::pair<HWND, HWND> search{owner, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) {
            auto& [wanted, found] = *reinterpret_cast<std::pair<HWND, HWND>*>(parameter);
            if (GetWindow(window, GW_OWNER) != wanted || !IsWindowVisible(window)) return TRUE;
            found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Wine paints a window into a buffer of its own and copies that to the screen
// a little later, so the screen is saved again until it has stayed the same
// for a while: a picture taken halfway through a painting misses controls.
bool SaveArtifact(HWND window, const std::string& name) {
    constexpr auto kSettled = 200ms;
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const fs::path artifacts = BinDir().parent_path() / "artifacts";
    fs::create_directories(artifacts);
    const fs::path file = artifacts / name;
    std::optional<std::string> last;
    auto unchangedSince = std::chrono::steady_clock::now();
    return WaitUntil(
        [&] {
            auto shot = SaveScreenshot(file) ? ReadFileBytes(file) : std::nullopt;
            if (shot != last) {
                last = std::move(shot);
                unchangedSince = std::chrono::steady_clock::now();
                return false;
            }
            return last && std::chrono::steady_clock::now() - unchangedSince >= kSettled;
        },
        kProductDeadline);
}

std::string FileVersion(const fs::path& exe) {
    std::vector<char> data(GetFileVersionInfoSizeW(exe.c_str(), nullptr));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (data.empty() || !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &size)) {
        return "(no version resource)";
    }
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS));
}

}  // namespace tunebridge::e2e
