#include "harness/peers.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "engine/peer_control.h"
#include "harness/wait.h"

namespace tunebridge::e2e {
namespace fs = std::filesystem;
namespace {

constexpr UINT kSendTimeoutMs = 30000;

const char* StateName(peers::PlayerState state) {
    switch (state) {
    case peers::PlayerState::paused:
        return "paused";
    case peers::PlayerState::stopped:
        return "stopped";
    default:
        return "playing";
    }
}

}  // namespace

fs::path TestDir() {
    // A parameterised test's name holds a "/".
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    return TempDir(name);
}

std::vector<std::string> ReadLogRecords(const fs::path& log) {
    std::ifstream file(log, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    const std::string text = content.str();
    std::vector<std::string> records;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        records.push_back(text.substr(start, end - start));
    }
    return records;
}

LRESULT PeerProgram::Send(const std::string& command) const {
    COPYDATASTRUCT data{};
    data.dwData = peers::kPeerControlTag;
    data.cbData = static_cast<DWORD>(command.size());
    data.lpData = const_cast<char*>(command.data());
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, kSendTimeoutMs,
                            &answer) == 0) {
        return -1;
    }
    return static_cast<LRESULT>(answer);
}

bool PeerProgram::WaitForLog(const std::function<bool(const std::vector<std::string>&)>& predicate,
                             std::chrono::milliseconds deadline) const {
    return WaitUntil([&] { return predicate(Log()); }, deadline);
}

::testing::AssertionResult PeerProgram::Launch(const std::string& exe, const std::vector<std::string>& arguments,
                                               const fs::path& folder, const fs::path& log,
                                               const std::string& className, const std::string& title,
                                               bool hidden) {
    log_ = log;
    const fs::path path = BinDir() / exe;
    if (!process_.Start(path, arguments, folder)) {
        return ::testing::AssertionFailure() << "cannot start " << path.string() << " (error " << GetLastError() << ")";
    }
    // A peer shows its window once it is complete (the console's children
    // exist, its buffer is filled).
    WaitUntil(
        [&] {
            window_ = process_.FindOwnWindow(className, title);
            if (window_ != nullptr && !hidden && !IsWindowVisible(window_)) window_ = nullptr;
            return window_ != nullptr || !process_.IsRunning();
        },
        kPeerDeadline);
    if (window_ == nullptr) {
        return ::testing::AssertionFailure() << exe << " showed no window of class \"" << className << "\" titled \""
                                             << title << "\"" << (process_.IsRunning() ? "" : " (it ended)");
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::string> PeerProgram::Tagged(const std::string& tag) const {
    std::vector<std::string> texts;
    const std::string prefix = tag + " ";
    for (const std::string& record : Log()) {
        if (record.starts_with(prefix)) texts.push_back(record.substr(prefix.size()));
    }
    return texts;
}

::testing::AssertionResult ConsolePeer::Start(const fs::path& folder, const Options& options) {
    fs::path log = folder / (options.title + ".log");
    for (int n = 2; fs::exists(log); ++n) log = folder / (options.title + "-" + std::to_string(n) + ".log");
    std::vector<std::string> arguments = {"--title", options.title, "--log", log.string()};
    if (!options.wipe) arguments.push_back("--no-wipe");
    return Launch("fake_console.exe", arguments, folder, log, "Q3 WinConsole", options.title);
}

HWND ConsolePeer::InputLine() const { return GetWindow(Window(), GW_CHILD); }

HWND ConsolePeer::Output() const {
    HWND child = GetWindow(Window(), GW_CHILD);
    for (int i = 0; i < 4 && child != nullptr; ++i) child = GetWindow(child, GW_HWNDNEXT);
    return child;
}

void ConsolePeer::Type(const std::string& line) const {
    const HWND input = InputLine();
    SendMessageA(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(input, WM_CHAR, '\r', 1);
}

bool ConsolePeer::WaitForOut(const std::string& part, std::chrono::milliseconds deadline) const {
    const auto printed = [&](const std::string& line) { return line.find(part) != std::string::npos; };
    return WaitUntil([&] { return std::ranges::any_of(Out(), printed); }, deadline);
}

::testing::AssertionResult PlayerPeer::Start(const fs::path& folder, const Options& options) {
    const fs::path playlist = folder / "playlist.txt";
    {
        std::ofstream file(playlist, std::ios::binary);
        for (const std::string& title : options.titles) file << title << '\n';
    }
    const fs::path log = folder / "player.log";
    std::vector<std::string> arguments = {"--playlist", playlist.string(), "--log", log.string()};
    if (options.index) arguments.insert(arguments.end(), {"--index", std::to_string(*options.index)});
    if (options.positionMs) arguments.insert(arguments.end(), {"--position-ms", std::to_string(*options.positionMs)});
    if (options.state) arguments.insert(arguments.end(), {"--state", StateName(*options.state)});
    if (options.clock) arguments.push_back("--clock");
    if (options.shuffle) arguments.push_back("--shuffle");
    return Launch("fake_winamp.exe", arguments, folder, log, "Winamp v1.x", "");
}

std::string PlayerPeer::Caption() const {
    char caption[2048] = {};
    GetWindowTextA(Window(), caption, sizeof caption);
    return caption;
}

std::vector<PeerMessage> PlayerPeer::Messages() const {
    std::vector<PeerMessage> messages;
    for (const std::string& record : Tagged("MSG")) {
        std::istringstream fields(record);
        PeerMessage message;
        if (fields >> message.msg >> message.wParam >> message.lParam) messages.push_back(message);
    }
    return messages;
}

::testing::AssertionResult SensorPeer::Start(const fs::path& folder, const Options& options) {
    return Launch("fake_mbm.exe",
                  {"--temp", std::to_string(options.temperature), "--fan", std::to_string(options.fan), "--temp-name",
                   options.temperatureName, "--fan-name", options.fanName, "--version", options.version},
                  folder, {}, "TunebridgeFakeMbm", "fake_mbm", true);
}

}  // namespace tunebridge::e2e
