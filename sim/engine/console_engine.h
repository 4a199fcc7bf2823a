#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tunebridge::peers {

// The game's window console counts the characters it has appended; once the
// count passes this, the newest message replaces the whole text and the
// count starts again from that message. The "Wolf Console" wipes sooner.
constexpr std::size_t kWipeCount = 0x7FFF;
constexpr std::size_t kWolfWipeCount = 0x4000;
// Enter reads this much of the input line.
constexpr std::size_t kInputLineChars = 1023;
// The command buffer between the window and the game: 512 bytes, of which a
// typed line may fill up to 507 characters before its line break.
constexpr std::size_t kCommandBufferLine = 507;
// The maintained engine of today (Quake3e) runs at most 511 characters of a
// typed line and never writes past its 512-byte command buffer; it collects
// output in 8 KB and its pane holds at most 64 K characters.
constexpr std::size_t kQuake3eLineChars = 511;
constexpr std::size_t kCommandBufferBytes = 512;
constexpr std::size_t kCollectedBytes = 8 * 1024;
constexpr std::size_t kQuake3ePaneLimit = 64 * 1024;
// A game that loads its renderer again answers nothing for this long.
constexpr int kVidRestartMs = 1500;

// The original games' window console, or the maintained engine's.
enum class ConsoleLayout { Original, Quake3e };

// The game's console as seen from outside: an input line whose Enter queues
// the line in the command buffer, the game taking that buffer after each
// pass of its message pump and running it at its next frame, and a pane that
// keeps what is printed, each line ending in "\r\n". Shared by the in-memory
// and the real console; the real one drives the pump passes and frames.
class ConsoleEngine {
public:
    // "Wolf Console" gets that game's wipe count.
    explicit ConsoleEngine(const std::string& title = "Quake 3 Console", ConsoleLayout layout = ConsoleLayout::Original);

    // The input line (WM_SETTEXT replaces it, WM_CHAR types into it).
    void SetInput(std::string text);
    const std::string& Input() const { return input_; }
    // 13 is Enter, 8 erases the last character, anything else is typed.
    void TypeChar(char c);
    // Queues the line in the command buffer and echoes it at once; a line
    // typed while 508 characters or more wait overflows the buffer.
    void Enter();
    bool Overflowed() const { return overflowed_; }

    // The end of a pump pass: the game takes the waiting lines.
    void TakeBuffer();
    // One frame: a busy stretch if one was asked for, then the taken lines
    // run and whatever waits to be printed reaches the pane.
    void RunFrame();

    // Quake3e: the collected output reaches the pane (the window's timer).
    void Flush();

    // Prints text at the next frame (line breaks in it separate lines), as
    // a server line reaches the console.
    void Print(const std::string& text);
    // The next frame is busy for `ms` without pumping, as loading a map is.
    void Stall(int ms);
    // The renderer started again at the next frame, as `vid_restart` does.
    void VidRestart();
    // The game's start-up text, printed in its first frame.
    void StartUp();

    // Appends filler lines of at least `chars` characters, one message each,
    // at once; not printed output.
    void Prefill(std::size_t chars);
    // The window's "clear" button.
    void ClearPane();
    // WM_SETTEXT on the pane.
    void ReplaceBuffer(std::string text);
    const std::string& Buffer() const { return buffer_; }

    void SetPlayerName(std::string name) { playerName_ = std::move(name); }
    // false: the pane keeps everything (neither wiped nor halved), as other consoles may.
    void SetWiping(bool wiping) { wipeCount_ = wiping ? wipeAt_ : 0; }
    bool Quit() const { return quit_; }
    // The control command "quit".
    void Close() { quit_ = true; }

    const std::vector<std::string>& TypedLines() const { return typed_; }
    const std::vector<std::string>& ExecutedCommands() const { return executed_; }

    // Every log record ("TYPED x", "CUT n", "CRASH ...", "EXEC x", "OUT x",
    // "CLEAR", "PREFILL n", "WIPE", "HALVE", "STALL n", "AWAKE") as it happens.
    std::function<void(const std::string&)> onLog;
    // Every change of the pane: `text` appended, or replacing the whole text.
    std::function<void(const std::string& text, bool whole)> onPane;
    // Spends a busy stretch of the frame without pumping; the real console
    // sleeps, the in-memory one only lets a test see it.
    std::function<void(int ms)> onBusy;

private:
    void RunCommand(const std::string& command);
    void Busy(int ms);
    void PrintRenderer();
    // One message into the pane as the window console appends it, wiping
    // the pane first when the count is passed.
    void Append(const std::string& message);
    // Pane text reaching the pane, line by line in the log.
    void Reach(const std::string& paneText);
    void AppendRaw(const std::string& paneText);
    void EnterSafely(const std::string& typed);
    void Log(const std::string& record);

    ConsoleLayout layout_;
    std::string input_;
    std::string collected_;  // Quake3e: output not yet in the pane
    std::string waiting_;  // the command buffer
    std::string taken_;    // taken from it, run at the next frame
    std::vector<std::string> toPrint_;
    int busyMs_ = 0;
    bool vidRestart_ = false;
    std::string buffer_;
    std::string playerName_ = "UnnamedPlayer";
    std::size_t wipeAt_;
    std::size_t wipeCount_;
    std::size_t appended_ = 0;  // characters appended since the last wipe
    std::string openLine_;      // printed characters not yet ended by a line break
    bool overflowed_ = false;
    bool quit_ = false;
    std::vector<std::string> typed_;
    std::vector<std::string> executed_;
};

// The commands of a line: split at ";" outside double quotes and at line
// breaks, each trimmed of blanks; empty commands dropped.
std::vector<std::string> SplitCommands(const std::string& line);
// The engine's tokens of a command: bytes up to 0x20 and from 0x80 up
// separate, double quotes group and vanish, "//" and "/* */" are comments.
std::vector<std::string> Tokenize(const std::string& command);
// Text as the window console puts it into its pane: "^" and the character
// after it dropped, every line break (CR, LF or CR LF) made CR LF.
std::string PaneText(const std::string& text);

} // namespace tunebridge::peers
