#include "peer_program_win32.h"

#include <fcntl.h>
#include <io.h>

#include "engine/peer_control.h"

namespace tunebridge::peers {

std::optional<PeerArguments> PeerArguments::Parse(int argc, char** argv, std::initializer_list<const char*> valued,
                                                  std::initializer_list<const char*> flags) {
    auto listed = [](std::initializer_list<const char*> names, const std::string& name) {
        for (const char* candidate : names) {
            if (name == candidate) return true;
        }
        return false;
    };
    PeerArguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (listed(valued, name)) {
            if (i + 1 >= argc) return std::nullopt;
            arguments.values_[name] = argv[++i];
        } else if (listed(flags, name)) {
            arguments.flags_[name] = true;
        } else {
            std::fprintf(stderr, "unknown option %s\n", name.c_str());
            return std::nullopt;
        }
    }
    return arguments;
}

std::optional<std::string> PeerArguments::Value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

PeerLog::~PeerLog() {
    if (file_ != nullptr) std::fclose(file_);
}

bool PeerLog::Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

void PeerLog::Write(const std::string& record) {
    if (file_ == nullptr) return;
    std::fwrite(record.data(), 1, record.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

void UseBinaryStdio() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::optional<std::string> ControlCommand(LPARAM copyData) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(copyData);
    if (data == nullptr || data->dwData != kPeerControlTag) return std::nullopt;
    std::string text(static_cast<const char*>(data->lpData), data->cbData);
    // A sender may count the terminating NUL in cbData.
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return text;
}

bool RegisterPeerClass(const char* className, WNDPROC procedure) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 2;
}

}  // namespace tunebridge::peers
