#include "harness/peers.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "engine/peer_control.h"

namespace tunebridge::e2e {
namespace fs = std::filesystem;

LRESULT PeerProgram::Send(const std::string& command) const {
    constexpr UINT kSendTimeoutMs = 30000;
    COPYDATASTRUCT data{peers::kPeerControlTag, static_cast<DWORD>(command.size()), const_cast<char*>(command.data())};
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, kSendTimeoutMs,
                            &answer) == 0) {
        return -1;
    }
    return static_cast<LRESULT>(answer);
}

std::vector<std::string> PeerProgram::Log() const {
    std::stringstream text;
    text << std::ifstream(log_, std::ios::binary).rdbuf();
    std::vector<std::string> records;
    // A last line without its line end is still being written.
    for (std::string line; std::getline(text, line) && !text.eof();) records.push_back(line);
    return records;
}

::testing::AssertionResult PeerProgram::Launch(const std::string& exe, const std::vector<std::string>& arguments,
                                               const fs::path& folder, const fs::path& log,
                                               const std::string& className, const std::string& title,
                                               bool hidden) {
    log_ = log;
    if (!process_.Start(BinDir() / exe, arguments, folder)) {
        return ::testing::AssertionFailure() << "cannot start " << exe << " (error " << GetLastError() << ")";
    }
    // A peer shows its window once it is complete (the console's children
    // exist, its buffer is filled).
    WaitUntil([&] { return (window_ = process_.FindOwnWindow(className, title, !hidden)) || !process_.IsRunning(); },
              kPeerDeadline);
    if (window_ == nullptr) {
        return ::testing::AssertionFailure() << exe << " showed no window of class \"" << className << "\" titled \""
                                             << title << "\"" << (process_.IsRunning() ? "" : " (it ended)");
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::string> PeerProgram::Tagged(const std::string& tag) const {
    std::vector<std::string> texts;
    for (const std::string& record : Log()) {
        if (record.starts_with(tag + " ")) texts.push_back(record.substr(tag.size() + 1));
    }
    return texts;
}

::testing::AssertionResult ConsolePeer::Start(const fs::path& folder, const ConsoleOptions& options) {
    fs::path log = folder / (options.title + ".log");
    for (int n = 2; fs::exists(log); ++n) log = folder / (options.title + "-" + std::to_string(n) + ".log");
    std::vector<std::string> arguments = {"--title", options.title, "--log", log.string()};
    if (!options.wipe) arguments.push_back("--no-wipe");
    if (options.drawMs) arguments.insert(arguments.end(), {"--draw-ms", std::to_string(*options.drawMs)});
    if (options.quake3e) arguments.insert(arguments.end(), {"--layout", "quake3e"});
    return Launch("fake_console.exe", arguments, folder, log, "", options.title, true);
}

void ConsolePeer::Type(const std::string& line) const {
    SendMessageA(InputLine(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(InputLine(), WM_CHAR, '\r', 1);
}

bool ConsolePeer::WaitForOut(const std::string& part, std::chrono::milliseconds deadline) const {
    const auto printed = [&](const std::string& line) { return line.find(part) != std::string::npos; };
    return WaitUntil([&] { return std::ranges::any_of(Tagged("OUT"), printed); }, deadline);
}

::testing::AssertionResult PlayerPeer::Start(const fs::path& folder, const Options& options) {
    std::ofstream playlist(folder / "playlist.txt", std::ios::binary);
    for (const std::string& title : options.titles) playlist << title << '\n';
    playlist.close();
    const fs::path log = folder / "player.log";
    std::vector<std::string> arguments = {"--playlist", (folder / "playlist.txt").string(), "--log", log.string()};
    if (options.index) arguments.insert(arguments.end(), {"--index", std::to_string(*options.index)});
    if (options.positionMs) arguments.insert(arguments.end(), {"--position-ms", std::to_string(*options.positionMs)});
    if (options.state) arguments.insert(arguments.end(), {"--state", peers::PlayerStateName(*options.state)});
    if (options.clock) arguments.push_back("--clock");
    return Launch("fake_winamp.exe", arguments, folder, log, "Winamp v1.x", "");
}

::testing::AssertionResult SensorPeer::Start(const fs::path& folder, const Options& options) {
    return Launch("fake_mbm.exe",
                  {"--temp", std::to_string(options.temperature), "--fan", std::to_string(options.fan), "--temp-name",
                   options.temperatureName, "--fan-name", options.fanName, "--version", options.version},
                  folder, {}, "TunebridgeFakeMbm", "fake_mbm", true);
}

}  // namespace tunebridge::e2e
