#include "harness/product.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace tunebridge::e2e {
namespace fs = std::filesystem;
namespace {

// The whole screen as a 24-bit BMP file; nullopt when it cannot be read.
std::optional<std::string> Screenshot() {
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return std::nullopt;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, GetSystemMetrics(SM_XVIRTUALSCREEN),
                               GetSystemMetrics(SM_YVIRTUALSCREEN), SRCCOPY) != FALSE;
    SelectObject(memory, previous);
    // The file: its header, the bitmap's header, then the rows bottom first, each padded to four bytes.
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string bytes(file.bfOffBits + static_cast<std::size_t>((width * 3 + 3) / 4 * 4 * height), '\0');
    const bool read = copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), bytes.data() + file.bfOffBits,
                                          &info, DIB_RGB_COLORS) == height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    file.bfSize = static_cast<DWORD>(bytes.size());
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info.bmiHeader, sizeof info.bmiHeader);
    return read ? std::optional(bytes) : std::nullopt;
}

}  // namespace

fs::path StageProduct(const fs::path& folder, const std::optional<std::string>& ini) {
    fs::create_directories(folder);
    fs::copy_file(BinDir() / "tunebridge.exe", folder / "tunebridge.exe", fs::copy_options::overwrite_existing);
    if (ini) std::ofstream(folder / "tunebridge.ini", std::ios::binary) << *ini;
    return folder / "tunebridge.exe";
}

bool PressButton(HWND box, int id) {
    constexpr UINT kSendTimeoutMs = 20000;
    const HWND button = GetDlgItem(box, id);
    DWORD_PTR ignored = 0;
    // A box whose answer ends its program may be gone before it replies.
    return button != nullptr &&
           (SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &ignored) != 0 || !IsWindow(box));
}

::testing::AssertionResult Product::Launch(const fs::path& folder, const std::optional<std::string>& ini,
                                          std::optional<int> showStyle) {
    folder_ = folder / "product";
    if (process_.Start(StageProduct(folder_, ini), {}, folder_, showStyle)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "cannot start tunebridge.exe (error " << GetLastError() << ")";
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
    WaitUntil([&] { return (window_ = process_.FindOwnWindow("", kMainWindowCaption)) || !process_.IsRunning(); },
              kProductDeadline);
    return window_;
}

MessageBoxSeen Product::WaitForMessageBox(const std::string& title, std::chrono::milliseconds deadline) const {
    MessageBoxSeen box;
    // A box is made hidden and shown once its controls are in place.
    WaitUntil([&] { return (box.window = process_.FindOwnWindow("#32770", title)) != nullptr; }, deadline);
    if (box.window == nullptr) return box;
    box.text = TextOf(GetDlgItem(box.window, 0xFFFF));
    for (HWND child = GetWindow(box.window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        // A box keeps every button it may need and hides those it does not.
        if (ClassOf(child) == "Button" && IsWindowVisible(child)) box.buttons.push_back(GetDlgCtrlID(child));
    }
    return box;
}

bool Product::WaitForControlText(int id, const std::function<bool(const std::string&)>& predicate,
                                 std::string& last) const {
    return WaitUntil([&] { return predicate(last = ControlText(id)); }, kProductDeadline);
}

bool Product::WaitForEnd(bool& shown) const {
    shown = false;
    return WaitUntil(
        [&] {
            shown = shown || process_.FindOwnWindow("", kMainWindowCaption) != nullptr;
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

// Wine paints a window into a buffer of its own and copies that to the screen
// a little later, so the screen is read again until it has stayed the same
// for a while: a picture taken halfway through a painting misses controls.
bool SaveArtifact(HWND window, const std::string& name) {
    constexpr auto kSettled = 200ms;
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::optional<std::string> last;
    auto unchangedSince = std::chrono::steady_clock::now();
    const bool settled = WaitUntil(
        [&] {
            if (auto shot = Screenshot(); shot != last) {
                last = std::move(shot);
                unchangedSince = std::chrono::steady_clock::now();
                return false;
            }
            return last && std::chrono::steady_clock::now() - unchangedSince >= kSettled;
        },
        kProductDeadline);
    const fs::path artifacts = BinDir().parent_path() / "artifacts";
    fs::create_directories(artifacts);
    return settled && std::ofstream(artifacts / name, std::ios::binary) << *last;
}

}  // namespace tunebridge::e2e
