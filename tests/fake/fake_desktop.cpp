#include "fake/fake_desktop.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "core/runtime_error.h"

namespace tunebridge::fake {

FakeDesktop::FakeDesktop() = default;

Hwnd FakeDesktop::CreateWindow(const std::string& className, const std::string& caption, Hwnd parent) {
    const Hwnd handle = nextHandle_;
    nextHandle_ += 4;
    FakeWindow window;
    window.handle = handle;
    window.className = className;
    window.caption = caption;
    window.parent = parent;
    windows_[handle] = std::move(window);
    if (parent == 0) {
        topLevel_.push_back(handle);
    } else {
        Window(parent).children.push_back(handle);
    }
    return handle;
}

void FakeDesktop::DestroyWindow(Hwnd window) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    const std::vector<Hwnd> children = it->second.children;
    for (Hwnd child : children) DestroyWindow(child);
    const Hwnd parent = windows_.at(window).parent;
    auto& siblings = parent == 0 ? topLevel_ : windows_.at(parent).children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    windows_.erase(window);
}

FakeWindow& FakeDesktop::Window(Hwnd window) {
    auto it = windows_.find(window);
    if (it == windows_.end()) throw std::out_of_range("no simulated window with that handle");
    return it->second;
}

bool FakeDesktop::Exists(Hwnd window) const { return windows_.count(window) != 0; }

std::vector<Message> FakeDesktop::MessagesTo(Hwnd window) const {
    std::vector<Message> out;
    std::copy_if(messages_.begin(), messages_.end(), std::back_inserter(out),
                 [window](const Message& m) { return m.hwnd == window; });
    return out;
}

void FakeDesktop::PressKey(int virtualKey) {
    auto& key = keys_[virtualKey];
    if (!key.down) key.pressedSinceQuery = true;
    key.down = true;
}

void FakeDesktop::ReleaseKey(int virtualKey) { keys_[virtualKey].down = false; }

void FakeDesktop::QueueKeyState(int virtualKey, std::uint16_t state) { keys_[virtualKey].queued.push_back(state); }

void FakeDesktop::SetSharedMemory(const std::string& name, std::vector<std::uint8_t> bytes) {
    sharedMemory_[name] = std::move(bytes);
}

void FakeDesktop::RemoveSharedMemory(const std::string& name) { sharedMemory_.erase(name); }

std::string FakeDesktop::Key(const std::string& path) {
    std::string key = path;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // The file system accepts a doubled separator, so both spellings name one file.
    for (std::size_t at; (at = key.find("\\\\")) != std::string::npos;) key.erase(at, 1);
    return key;
}

ProfileFile& FakeDesktop::Profile(const std::string& path) { return profiles_[Key(path)]; }

bool FakeDesktop::HasProfile(const std::string& path) const { return profiles_.count(Key(path)) != 0; }

std::string FakeDesktop::FileText(const std::string& path) const {
    auto it = profiles_.find(Key(path));
    return it == profiles_.end() ? std::string{} : it->second.Text();
}

void FakeDesktop::SetFileText(const std::string& path, const std::string& text) {
    profiles_[Key(path)] = ProfileFile::Parse(text);
}

void FakeDesktop::AddFile(const std::string& path) { plainFiles_[Key(path)] = true; }

void FakeDesktop::AdvanceClock(std::chrono::milliseconds by) {
    tickMs_ += static_cast<std::uint64_t>(by.count());
    subSecond_ += by;
    now_ += std::chrono::duration_cast<std::chrono::seconds>(subSecond_);
    subSecond_ %= std::chrono::seconds{1};
}

Hwnd FakeDesktop::FindWindowA(const std::string& className, const std::string& windowName) {
    for (Hwnd handle : topLevel_) {
        const FakeWindow& w = windows_.at(handle);
        if (!className.empty() && w.className != className) continue;
        if (!windowName.empty() && w.caption != windowName) continue;
        return handle;
    }
    return 0;
}

Hwnd FakeDesktop::GetWindow(Hwnd window, unsigned relation) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return 0;
    if (relation == kGW_CHILD) return it->second.children.empty() ? 0 : it->second.children.front();
    if (relation == kGW_HWNDNEXT) {
        const Hwnd parent = it->second.parent;
        const auto& siblings = parent == 0 ? topLevel_ : windows_.at(parent).children;
        auto pos = std::find(siblings.begin(), siblings.end(), window);
        if (pos == siblings.end() || ++pos == siblings.end()) return 0;
        return *pos;
    }
    return 0;
}

void FakeDesktop::CollectDescendants(Hwnd parent, std::vector<Hwnd>& out) const {
    for (Hwnd child : windows_.at(parent).children) {
        out.push_back(child);
        CollectDescendants(child, out);
    }
}

void FakeDesktop::EnumChildWindows(Hwnd parent, const std::function<bool(Hwnd)>& callback) {
    if (!Exists(parent)) return;
    std::vector<Hwnd> all;
    CollectDescendants(parent, all);
    for (Hwnd child : all) {
        if (!Exists(child)) continue;
        if (!callback(child)) return;
    }
}

std::string FakeDesktop::GetWindowTextA(Hwnd window, int maxCount) {
    auto it = windows_.find(window);
    if (it == windows_.end() || maxCount <= 0) return {};
    return it->second.caption.substr(0, static_cast<std::size_t>(maxCount - 1));
}

int FakeDesktop::GetWindowTextLengthA(Hwnd window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? 0 : static_cast<int>(it->second.caption.size());
}

std::int32_t FakeDesktop::Deliver(Message message) {
    auto it = windows_.find(message.hwnd);
    message.delivered = it != windows_.end();
    messages_.push_back(message);
    if (!message.delivered) return 0;
    FakeWindow& window = it->second;
    if (window.handler) {
        if (auto answer = window.handler(window, message)) return *answer;
    }
    switch (message.msg) {
    case kWM_GETTEXTLENGTH:
        return static_cast<std::int32_t>(window.text.size());
    case kWM_SETTEXT:
        window.text = message.text;
        return 1;
    default:
        return 0;
    }
}

std::int32_t FakeDesktop::SendMessageA(Hwnd window, unsigned message, std::uint32_t wParam, std::int32_t lParam) {
    return Deliver(Message{window, message, wParam, lParam, {}, false});
}

std::int32_t FakeDesktop::SendSetText(Hwnd window, const std::vector<std::uint8_t>& ansiWithNul) {
    std::string text;
    for (std::uint8_t byte : ansiWithNul) {
        if (byte == 0) break;
        text.push_back(static_cast<char>(byte));
    }
    return Deliver(Message{window, kWM_SETTEXT, 0, 0, text, false});
}

std::string FakeDesktop::SendGetText(Hwnd window, int bufferChars) {
    std::string buffer(static_cast<std::size_t>(std::max(bufferChars, 0)), '\0');
    const auto answer = Deliver(Message{window, kWM_GETTEXT, static_cast<std::uint32_t>(bufferChars), 0, {}, false});
    (void)answer;
    auto it = windows_.find(window);
    if (it != windows_.end() && bufferChars > 0) {
        const std::string& text = it->second.text;
        const std::size_t n = std::min(text.size(), static_cast<std::size_t>(bufferChars - 1));
        std::copy_n(text.begin(), n, buffer.begin());
    }
    return buffer;
}

std::uint16_t FakeDesktop::GetAsyncKeyState(int virtualKey) {
    keyQueries_.push_back(virtualKey);
    auto& key = keys_[virtualKey];
    if (!key.queued.empty()) {
        const std::uint16_t state = key.queued.front();
        key.queued.pop_front();
        return state;
    }
    const std::uint16_t state = static_cast<std::uint16_t>((key.down ? 0x8000 : 0) | (key.pressedSinceQuery ? 1 : 0));
    key.pressedSinceQuery = false;
    return state;
}

std::optional<std::vector<std::uint8_t>> FakeDesktop::ReadSharedMemory(const std::string& name, std::size_t bytes) {
    auto it = sharedMemory_.find(name);
    if (it == sharedMemory_.end() || unmappableSharedMemory.count(name) != 0) return std::nullopt;
    std::vector<std::uint8_t> copy(bytes, 0);
    std::copy_n(it->second.begin(), std::min(bytes, it->second.size()), copy.begin());
    return copy;
}

std::int32_t FakeDesktop::GetPrivateProfileIntA(const std::string& section, const std::string& key, std::int32_t defaultValue, const std::string& path) {
    ++profileIntReads;
    auto it = profiles_.find(Key(path));
    return it == profiles_.end() ? defaultValue : it->second.ReadInt(section, key, defaultValue);
}

std::string FakeDesktop::GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& defaultValue, int bufferChars, const std::string& path) {
    ++profileStringReads;
    auto it = profiles_.find(Key(path));
    const ProfileFile empty;
    return (it == profiles_.end() ? empty : it->second).ReadString(section, key, defaultValue, bufferChars);
}

bool FakeDesktop::WritePrivateProfileStringA(const std::string& section, const std::string& key, const std::string& value, const std::string& path) {
    ++profileWrites;
    if (failWrites_) return false;
    profiles_[Key(path)].Write(section, key, value);
    return true;
}

std::optional<std::string> FakeDesktop::GetSpecialFolderPath(int csidl) {
    auto it = specialFolders.find(csidl);
    if (it == specialFolders.end()) return std::nullopt;
    std::string buffer = it->second;
    buffer.resize(260, '\0');
    return buffer;
}

bool FakeDesktop::FileExists(const std::string& path) {
    return plainFiles_.count(Key(path)) != 0 || profiles_.count(Key(path)) != 0;
}

void FakeDesktop::CreateProcessA(const std::string& path, int showStyle) {
    processStarts.push_back(ProcessStart{path, showStyle});
    if (onCreateProcess) onCreateProcess(processStarts.back());
}

int FakeDesktop::MessageBoxA(const std::string& text, const std::string& title, unsigned style) {
    messageBoxes.push_back(MessageBoxCall{text, title, style});
    if (onMessageBox) return onMessageBox(messageBoxes.back());
    if (messageBoxAnswers.empty()) return kIDOK;
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
}

void FakeDesktop::ShellExecuteOpen(const std::string& address, const std::string& directory) {
    shellOpened.push_back(ShellOpen{address, directory});
}

std::int32_t FakeDesktop::DirectSoundCreate() {
    ++directSoundCreateCalls;
    return directSoundCreateResult;
}

std::int32_t FakeDesktop::DirectSoundSetCooperativeLevel(Hwnd window, std::uint32_t level) {
    cooperativeLevelCalls.emplace_back(window, level);
    return cooperativeLevelResult;
}

void FakeDesktop::DoEvents() {
    ++yields;
    if (onYield) onYield();
}

void FakeDesktop::WaitForMessages(int timeoutMs) {
    ++waits;
    AdvanceClock(std::chrono::milliseconds{timeoutMs});
    if (onYield) onYield();
}

std::chrono::system_clock::time_point FakeDesktop::Now() {
    return std::chrono::system_clock::time_point{now_} + subSecond_;
}

void FakeDesktop::EndProgram() {
    ended = true;
    throw ProgramEnded{};
}

std::string FakeDesktop::KeyNameText(int virtualKey) {
    const auto name = keyNames.find(virtualKey);
    return name == keyNames.end() ? std::string() : name->second;
}

}  // namespace tunebridge::fake
