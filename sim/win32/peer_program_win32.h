#pragma once

#include <windows.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>

namespace tunebridge::peers {

// "--name value" pairs and bare "--flag"s of a peer's command line.
class PeerArguments {
public:
    // Every option that takes a value is listed in `valued`; anything else
    // given as "--x" is a flag. Returns nothing on an unknown or incomplete option.
    static std::optional<PeerArguments> Parse(int argc, char** argv, std::initializer_list<const char*> valued,
                                              std::initializer_list<const char*> flags);
    std::optional<std::string> Value(const std::string& name) const;
    bool Flag(const std::string& name) const { return flags_.count(name) != 0; }

private:
    std::map<std::string, std::string> values_;
    std::map<std::string, bool> flags_;
};

// One record per line, "\n" line ends, flushed after every record so a test
// reading the file sees each record as soon as the peer has handled it.
class PeerLog {
public:
    PeerLog() = default;
    ~PeerLog();
    PeerLog(const PeerLog&) = delete;
    PeerLog& operator=(const PeerLog&) = delete;

    bool Open(const std::string& path);
    void Write(const std::string& record);

private:
    std::FILE* file_ = nullptr;
};

// Output in binary mode so "\n" stays "\n" under Wine too.
void UseBinaryStdio();
// The command text of a control WM_COPYDATA, nothing for any other copy.
std::optional<std::string> ControlCommand(LPARAM copyData);
// Registers a window class with the given procedure; false on failure.
bool RegisterPeerClass(const char* className, WNDPROC procedure);
int RunMessageLoop();
int Fail(const std::string& message);

} // namespace tunebridge::peers
