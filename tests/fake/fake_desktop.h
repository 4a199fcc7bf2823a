#pragma once

#include <algorithm>
#include <cstdlib>
#include <map>
#include <ostream>
#include <set>
#include <stdexcept>

#include "platform/desktop.h"

namespace tunebridge::fake {

// Win32's numbers, written out here rather than taken from the product, so
// that a wrong constant in the product cannot agree with the fake.
inline constexpr unsigned kSetText = 0x000C;
inline constexpr unsigned kGetText = 0x000D;
inline constexpr unsigned kGetTextLength = 0x000E;
inline constexpr unsigned kChar = 0x0102;
inline constexpr unsigned kCommand = 0x0111;
inline constexpr unsigned kUser = 0x0400;
inline constexpr unsigned kGwHwndNext = 2;
inline constexpr unsigned kGwChild = 5;

using Lines = std::vector<std::string>;

// One message as it reached a simulated window.
struct Message {
    Hwnd hwnd = 0;
    unsigned msg = 0;
    std::uint32_t wParam = 0;
    std::int32_t lParam = 0;
    std::string text;  // WM_SETTEXT: the bytes before the NUL

    friend bool operator==(const Message&, const Message&) = default;
};

// A failing comparison prints each message readably.
inline void PrintTo(const Message& m, std::ostream* os) {
    *os << "\n    message 0x" << std::hex << m.msg << " to window 0x" << m.hwnd << std::dec << ", wParam " << m.wParam
        << ", lParam " << m.lParam << (m.msg == kSetText ? ", text \"" + m.text.substr(0, 60) + "\"" : "");
}

struct FakeWindow {
    std::string className;
    std::string caption;  // what GetWindowTextA and FindWindowA see
    std::string text;     // the content WM_GETTEXT reads
    Hwnd parent = 0;
    std::vector<Hwnd> children;  // in creation order
    std::uint32_t style = 0;
    // An answer overrides the default: WM_GETTEXTLENGTH and WM_SETTEXT on `text`, 0 for the rest.
    std::function<std::optional<std::int32_t>(FakeWindow&, const Message&)> handler;
};

struct ProgramEnded {};  // thrown by EndProgram, so that a test sees the program end

// An in-memory desktop whose windows record every message they are sent, in order.
class FakeDesktop : public Desktop {
public:
    Hwnd CreateWindow(const std::string& className, const std::string& caption, Hwnd parent = 0, std::uint32_t style = 0) {
        windows_[nextHandle_] = FakeWindow{className, caption, {}, parent, {}, style, {}};
        Siblings(nextHandle_).push_back(nextHandle_);
        return nextHandle_++;
    }
    void DestroyWindow(Hwnd window) {
        for (const Hwnd child : std::vector(windows_.at(window).children)) DestroyWindow(child);
        std::erase(Siblings(window), window);
        windows_.erase(window);
    }
    FakeWindow& Window(Hwnd window) { return windows_.at(window); }

    // A pressed key reads 0x8001 at its next query, then 0x8000 while held.
    void PressKey(int virtualKey) {
        if (!down_.contains(virtualKey)) pressed_.insert(virtualKey);
        down_.insert(virtualKey);
    }
    void ReleaseKey(int virtualKey) { down_.erase(virtualKey); }

    void AdvanceClock(std::chrono::milliseconds by) { elapsed_ += by; }

    // A window whose thread takes no messages, as a game busy loading a map:
    // every bounded send to it waits its whole time and gives up, and the
    // message reaches the window only when it wakes, in the order sent.
    void Hang(Hwnd window) { hung_.emplace(window, std::vector<Message>{}); }
    void Wake(Hwnd window) {
        const auto late = hung_.extract(window);
        if (late) std::ranges::for_each(late.mapped(), [this](const Message& m) { Deliver(m); });
    }

    std::vector<Message> messages;
    std::map<int, std::uint16_t> keyStates;  // fixed answers instead of the keyboard's
    std::vector<int> keyQueries;
    std::map<std::string, std::string> ini;  // "Section/Key" -> value
    Lines iniWrites;                         // "Section/Key=value"
    std::map<int, std::string> specialFolders;
    std::set<std::string> files;
    std::vector<std::pair<std::string, int>> processStarts;
    std::function<void()> onCreateProcess;  // may throw
    Lines messageBoxes;                      // "title|text|style", each answered OK
    Lines shellOpens;                        // "address|directory"
    std::map<int, std::string> keyNames;     // the keyboard layout's names
    // Named regions of shared memory, as large as published; an unmappable
    // one opens but cannot be mapped.
    std::map<std::string, std::vector<std::uint8_t>> sharedMemory;
    std::set<std::string> unmappableSharedMemory;
    std::map<std::uintptr_t, std::string> openMappings;  // handle -> region name
    bool ended = false;
    std::function<void()> onYield;          // at every DoEvents and WaitForMessages

    Hwnd FindWindowA(const std::string& className, const std::string& windowName) override {
        const auto found = std::ranges::find_if(topLevel_, [&](Hwnd h) {
            const FakeWindow& w = windows_.at(h);
            return (className.empty() || w.className == className) && (windowName.empty() || w.caption == windowName);
        });
        return found == topLevel_.end() ? 0 : *found;
    }
    bool IsWindow(Hwnd window) override { return windows_.contains(window); }
    Hwnd GetWindow(Hwnd window, unsigned relation) override {
        if (!windows_.contains(window)) return 0;
        if (relation == kGwChild) return windows_.at(window).children.empty() ? 0 : windows_.at(window).children[0];
        const std::vector<Hwnd>& siblings = Siblings(window);
        const auto next = std::find(siblings.begin(), siblings.end(), window) + 1;
        return relation != kGwHwndNext || next == siblings.end() ? 0 : *next;
    }
    // In creation order, each child's own children right after it, until the callback answers false.
    void EnumChildWindows(Hwnd parent, const std::function<bool(Hwnd)>& callback) override {
        EnumDescendants(parent, callback);
    }
    std::string GetWindowTextA(Hwnd window, int maxCount) override {
        return windows_.contains(window) ? windows_.at(window).caption.substr(0, std::size_t(maxCount - 1)) : "";
    }
    int GetWindowTextLengthA(Hwnd window) override { return static_cast<int>(GetWindowTextA(window, 1 << 30).size()); }
    std::string GetClassNameA(Hwnd window) override { return windows_.contains(window) ? windows_.at(window).className : ""; }
    std::uint32_t GetWindowStyle(Hwnd window) override { return windows_.contains(window) ? windows_.at(window).style : 0; }
    std::int32_t SendMessageA(Hwnd window, unsigned message, std::uint32_t wParam, std::int32_t lParam) override {
        return Deliver({window, message, wParam, lParam, {}});
    }
    std::optional<std::int32_t> SendMessageTimeoutA(Hwnd window, unsigned message, std::uint32_t wParam,
                                                    std::int32_t lParam, unsigned timeoutMs) override {
        return DeliverInTime({window, message, wParam, lParam, {}}, timeoutMs);
    }
    std::optional<std::int32_t> SendGetTextLengthTimeout(Hwnd window, unsigned timeoutMs) override {
        return DeliverInTime({window, kGetTextLength, 0, 0, {}}, timeoutMs);
    }
    std::optional<std::int32_t> SendSetTextTimeout(Hwnd window, const std::vector<std::uint8_t>& ansiWithNul,
                                                   unsigned timeoutMs) override {
        const std::string text(ansiWithNul.begin(), std::ranges::find(ansiWithNul, 0));
        return DeliverInTime({window, kSetText, 0, 0, text}, timeoutMs);
    }
    std::optional<std::string> SendGetTextTimeout(Hwnd window, int bufferChars, unsigned timeoutMs) override {
        if (!DeliverInTime({window, kGetText, static_cast<std::uint32_t>(bufferChars), 0, {}}, timeoutMs)) return {};
        std::string buffer(static_cast<std::size_t>(bufferChars), '\0');
        const std::string text = windows_.contains(window) ? windows_.at(window).text : "";
        std::copy_n(text.begin(), std::min(text.size(), buffer.size() - 1), buffer.begin());
        return buffer;
    }
    // Latin-1, which is code page 1252 but for its 32 codes from 0x80.
    std::u16string DecodeSystemCodePage(const std::string& ansi) override {
        std::u16string wide;
        for (const char c : ansi) wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
        return wide;
    }
    std::uint16_t GetAsyncKeyState(int virtualKey) override {
        keyQueries.push_back(virtualKey);
        if (keyStates.contains(virtualKey)) return keyStates.at(virtualKey);
        return static_cast<std::uint16_t>((down_.contains(virtualKey) ? 0x8000 : 0) | pressed_.erase(virtualKey));
    }
    std::uintptr_t OpenFileMappingA(const std::string& name) override {
        if (!sharedMemory.contains(name)) return 0;
        openMappings[nextHandle_] = name;
        return nextHandle_++;
    }
    // Reading past what was published faults, as it would past a real region's pages.
    std::optional<std::vector<std::uint8_t>> CopyMappedView(std::uintptr_t mapping, std::size_t bytes) override {
        const std::string& name = openMappings.at(mapping);
        if (unmappableSharedMemory.contains(name)) return std::nullopt;
        const std::vector<std::uint8_t>& region = sharedMemory.at(name);
        if (bytes > region.size()) throw std::out_of_range(name + ": " + std::to_string(bytes) + " bytes read");
        return std::vector<std::uint8_t>(region.begin(), region.begin() + static_cast<std::ptrdiff_t>(bytes));
    }
    void CloseHandle(std::uintptr_t handle) override { openMappings.erase(handle); }
    // One settings file, wherever the product looks for it.
    std::int32_t GetPrivateProfileIntA(const std::string& section, const std::string& key, std::int32_t defaultValue,
                                       const std::string&) override {
        const auto value = ini.find(section + "/" + key);
        if (value == ini.end()) return defaultValue;
        return static_cast<std::int32_t>(std::strtol(value->second.c_str(), nullptr, 10));
    }
    std::string GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, int bufferChars, const std::string&) override {
        const auto value = ini.find(section + "/" + key);
        return (value == ini.end() ? defaultValue : value->second).substr(0, std::size_t(bufferChars - 1));
    }
    bool WritePrivateProfileStringA(const std::string& section, const std::string& key, const std::string& value,
                                    const std::string&) override {
        iniWrites.push_back(section + "/" + key + "=" + value);
        ini[section + "/" + key] = value;
        return true;
    }
    std::optional<std::string> GetSpecialFolderPath(int csidl) override {  // the 260-character buffer as filled
        if (!specialFolders.contains(csidl)) return std::nullopt;
        return specialFolders.at(csidl) + std::string(260 - specialFolders.at(csidl).size(), '\0');
    }
    std::string ModuleFolder() override { return "C:\\Tunebridge"; }
    bool FileExists(const std::string& path) override { return files.contains(path); }
    void CreateProcessW(const std::string& path, int showStyle) override {
        processStarts.emplace_back(path, showStyle);
        if (onCreateProcess) onCreateProcess();
    }
    std::string PathToAnsi(const std::string& path) override { return path; }
    int MessageBoxA(const std::string& text, const std::string& title, unsigned style) override {
        messageBoxes.push_back(title + "|" + text + "|" + std::to_string(style));
        return 1;
    }
    void ShellExecuteOpen(const std::string& address, const std::string& directory) override {
        shellOpens.push_back(address + "|" + directory);
    }
    std::string KeyNameText(int virtualKey) override { return keyNames.contains(virtualKey) ? keyNames.at(virtualKey) : ""; }
    std::int32_t DirectSoundCreate() override { return 0; }
    std::int32_t DirectSoundSetCooperativeLevel(Hwnd, std::uint32_t) override { return 0; }
    void DoEvents() override { if (onYield) onYield(); }
    void WaitForMessages(int timeoutMs) override {
        AdvanceClock(std::chrono::milliseconds{timeoutMs});
        DoEvents();
    }
    std::chrono::system_clock::time_point Now() override { return kEpoch + elapsed_; }
    std::uint64_t TickCountMs() override { return static_cast<std::uint64_t>(elapsed_.count()); }
    [[noreturn]] void EndProgram() override {
        ended = true;
        throw ProgramEnded{};
    }

private:
    static constexpr std::chrono::sys_seconds kEpoch{std::chrono::seconds{1767225600}};  // 2026-01-01

    std::vector<Hwnd>& Siblings(Hwnd window) {
        const Hwnd parent = windows_.at(window).parent;
        return parent == 0 ? topLevel_ : windows_.at(parent).children;
    }
    bool EnumDescendants(Hwnd parent, const std::function<bool(Hwnd)>& callback) {
        if (!windows_.contains(parent)) return true;
        return std::ranges::all_of(std::vector<Hwnd>(windows_.at(parent).children),
                                   [&](Hwnd child) { return callback(child) && EnumDescendants(child, callback); });
    }
    std::int32_t Deliver(Message message) {
        messages.push_back(message);
        if (!windows_.contains(message.hwnd)) return 0;
        FakeWindow& window = windows_.at(message.hwnd);
        if (window.handler) {
            if (const auto answer = window.handler(window, message)) return *answer;
        }
        if (message.msg == kSetText) window.text = message.text;
        return message.msg == kGetTextLength ? static_cast<std::int32_t>(window.text.size()) : message.msg == kSetText;
    }

    std::optional<std::int32_t> DeliverInTime(const Message& message, unsigned timeoutMs) {
        if (!windows_.contains(message.hwnd)) return std::nullopt;
        if (const auto hung = hung_.find(message.hwnd); hung != hung_.end()) {
            hung->second.push_back(message);
            AdvanceClock(std::chrono::milliseconds{timeoutMs});
            return std::nullopt;
        }
        return Deliver(message);
    }

    Hwnd nextHandle_ = 0x10010;
    std::map<Hwnd, FakeWindow> windows_;
    std::vector<Hwnd> topLevel_;
    std::set<int> down_;
    std::set<int> pressed_;  // since the key's last query
    std::map<Hwnd, std::vector<Message>> hung_;  // the messages each hung window has yet to take
    std::chrono::milliseconds elapsed_{0};
};

} // namespace tunebridge::fake
