#include "console/console_command.h"
namespace tunebridge {
void SendConsoleCommand(Desktop&, SharedState&, const std::string&) {}
bool ConsoleInputEnumProc(Desktop&, SharedState&, Hwnd) { return false; }
std::string TrimAtNul(const std::string& text) { return text; }
std::vector<std::uint8_t> ToAnsiBytes(const std::string&) { return {0}; }
std::string CleanString(const std::string& text) { return text; }
}  // namespace tunebridge
