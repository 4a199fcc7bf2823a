#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tunebridge::peers {

// The game's window console counts the characters it has appended; once the
// count passes this, the newest message replaces the whole text and the
// count starts again from that message.
constexpr std::size_t kWipeCount = 0x7FFF;

// The game's console as seen from outside: an input line that runs its text
// on Enter, and a scroll-back buffer that keeps everything printed, each
// line ending in "\r\n". Shared by the in-memory and the real console.
class ConsoleEngine {
public:
    explicit ConsoleEngine(std::string playerName = "UnnamedPlayer");

    // The input line (WM_SETTEXT replaces it, WM_CHAR types into it).
    void SetInput(std::string text);
    const std::string& Input() const { return input_; }
    // 13 is Enter, 8 erases the last character, anything else is typed.
    void TypeChar(char c);
    void Enter();

    // Runs a line as the engine does, without echoing it.
    void Execute(const std::string& line);

    // Prints text as one message of one line (several when it holds line
    // breaks), colour codes removed as the console window does.
    void Print(const std::string& text);
    // Appends filler lines of at least `chars` characters, one message each;
    // not printed output.
    void Prefill(std::size_t chars);
    void Clear();
    // WM_SETTEXT on the buffer window.
    void ReplaceBuffer(std::string text);
    const std::string& Buffer() const { return buffer_; }

    void SetPlayerName(std::string name) { playerName_ = std::move(name); }
    const std::string& PlayerName() const { return playerName_; }
    // false: commands still run but print nothing, like a console that
    // never answers what it is given.
    void SetAnswering(bool answering) { answering_ = answering; }
    // true: the buffer is wiped as the game's window console wipes it (see
    // kWipeCount); false: it keeps everything, as other consoles may.
    void SetWiping(bool wiping) { wiping_ = wiping; }
    bool Quit() const { return quit_; }
    // The window closed from outside, not by a command.
    void Close() { quit_ = true; }

    const std::vector<std::string>& TypedLines() const { return typed_; }
    const std::vector<std::string>& ExecutedCommands() const { return executed_; }
    const std::vector<std::string>& PrintedLines() const { return printed_; }

    // Receives every log record ("TYPED x", "EXEC x", "OUT x", "CLEAR",
    // "PREFILL n", "WIPE") as it happens.
    std::function<void(const std::string&)> onLog;

private:
    void RunCommand(const std::string& command);
    // One message into the buffer, wiping it first when the count is passed.
    void Append(const std::string& message);
    void Log(const std::string& record);

    std::string input_;
    std::string buffer_;
    std::string playerName_;
    bool answering_ = true;
    bool wiping_ = false;
    std::size_t appended_ = 0;  // characters appended since the last wipe
    bool quit_ = false;
    std::vector<std::string> typed_;
    std::vector<std::string> executed_;
    std::vector<std::string> printed_;
};

// The commands of a line: split at ";" outside double quotes and at line
// breaks, each trimmed of blanks; empty commands dropped.
std::vector<std::string> SplitCommands(const std::string& line);
// The words of a command: blanks separate, double quotes group and vanish.
std::vector<std::string> Tokenize(const std::string& command);
// Drops every "^" together with the character after it.
std::string StripColourCodes(const std::string& text);

} // namespace tunebridge::peers
