#include "engine/console_engine.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace tunebridge::peers {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
// The engine reads text as signed bytes: everything from 0x80 up is below a blank.
bool Separates(char c) { return static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 0x80; }
bool StartsComment(const std::string& text, std::size_t at) {
    return at + 1 < text.size() && text[at] == '/' && (text[at + 1] == '/' || text[at + 1] == '*');
}

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

constexpr std::size_t kFillerLineChars = 80;  // "\r\n" included

// What the game prints before its renderer is up.
constexpr const char* kStartUpLines[] = {
    "Q3 1.32c win-x86 Oct  7 2002",
    "----- FS_Startup -----",
    "Current search path:",
    "C:\\Program Files\\Quake III Arena\\baseq3\\pak0.pk3 (3539 files)",
    "----------------------",
    "3539 files in pk3 files",
    "execing default.cfg",
    "execing q3config.cfg",
    "----- Client Initialization -----",
    "----- Initializing Renderer ----",
};
// The renderer's own lines up to its last, which is the product's cue.
constexpr const char* kRendererLines[] = {
    "-------------------------------",
    "Initializing OpenGL subsystem",
    "...setting mode 6: 1024 768 FS",
    "GL_RENDERER: Simulated Renderer",
    "----- finished R_Init -----",
};
// Sound, client and UI start-up, printed in the same frame after R_Init.
constexpr const char* kAfterRendererLines[] = {
    "------- sound initialization -------",
    "Initializing DirectSound",
    "...using the primary sound device of the default audio endpoint",
    "...creating a secondary buffer of 65536 bytes: locked in hardware memory.  ok",
    "Starting sound at 22050 Hz, 16 bits, 2 channels, 65536 samples",
    "Completed sound initialization.",
    "------------------------------------",
    "Sound memory manager started with 1572864 bytes for 2048 sounds",
    "Sound initialization took 84 msec",
    "Loading vm file vm/ui.qvm.",
    "VM file ui compiled to 1478203 bytes of code, 118732 instructions",
    "ui loaded in 2812352 bytes on the hunk",
    "34 arenas parsed from scripts/arenas.txt and the pk3 files",
    "32 bots parsed from scripts/bots.txt and the pk3 files",
    "Loading vm file vm/cgame.qvm for the client game module.",
    "----- Client Initialization Complete -----",
    "--- Common Initialization Complete ---",
    "Working directory: C:\\Program Files\\Quake III Arena",
    "Hunk_Clear: reset the hunk ok, 56623104 bytes free for the next map",
};

}  // namespace

std::vector<std::string> SplitCommands(const std::string& line) {
    std::vector<std::string> commands;
    std::string current;
    bool quoted = false;
    auto flush = [&] {
        std::string command = Trim(current);
        if (!command.empty()) commands.push_back(std::move(command));
        current.clear();
        quoted = false;
    };
    for (char c : line) {
        if (c == '\r' || c == '\n' || (c == ';' && !quoted)) {
            flush();
            continue;
        }
        if (c == '"') quoted = !quoted;
        current.push_back(c);
    }
    flush();
    return commands;
}

std::vector<std::string> Tokenize(const std::string& command) {
    std::vector<std::string> words;
    std::size_t i = 0;
    const std::size_t size = command.size();
    for (;;) {
        while (i < size && Separates(command[i])) ++i;
        if (i == size || command.compare(i, 2, "//") == 0) break;
        if (command.compare(i, 2, "/*") == 0) {
            const std::size_t end = command.find("*/", i + 2);
            if (end == std::string::npos) break;
            i = end + 2;
            continue;
        }
        std::string word;
        if (command[i] == '"') {
            const std::size_t end = std::min(command.find('"', i + 1), size);
            word = command.substr(i + 1, end - i - 1);
            i = std::min(end + 1, size);
        } else {
            while (i < size && !Separates(command[i]) && command[i] != '"' && !StartsComment(command, i))
                word.push_back(command[i++]);
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::string PaneText(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size()) {
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

ConsoleEngine::ConsoleEngine(const std::string& title, ConsoleLayout layout)
    : layout_(layout),
      wipeAt_(layout == ConsoleLayout::Quake3e ? kQuake3ePaneLimit
              : title == "Wolf Console"        ? kWolfWipeCount
                                               : kWipeCount),
      wipeCount_(wipeAt_) {}

void ConsoleEngine::SetInput(std::string text) { input_ = std::move(text); }

void ConsoleEngine::TypeChar(char c) {
    if (c == '\r') {
        Enter();
    } else if (c == '\b') {
        if (!input_.empty()) input_.pop_back();
    } else {
        input_.push_back(c);
    }
}

void ConsoleEngine::Enter() {
    const std::string typed = std::exchange(input_, {});
    typed_.push_back(typed);
    Log("TYPED " + typed);
    if (layout_ == ConsoleLayout::Quake3e) return EnterSafely(typed);
    const std::string line = typed.substr(0, kInputLineChars);
    // The game appends without looking at the room left: past 507 waiting
    // characters the append runs off the end of the buffer.
    if (waiting_.size() > kCommandBufferLine) {
        overflowed_ = true;
        Log("CRASH command buffer overflow");
        return;
    }
    const std::size_t kept = std::min(line.size(), kCommandBufferLine - waiting_.size());
    if (kept < typed.size()) Log("CUT " + std::to_string(kept));
    waiting_ += line.substr(0, kept) + "\n";
    Append("]" + line + "\n");
}

// The maintained engine drops leading slashes, runs at most 511 characters
// and cuts what does not fit its buffer instead of writing past it.
void ConsoleEngine::EnterSafely(const std::string& typed) {
    const std::size_t start = std::min(typed.find_first_not_of("/\\"), typed.size());
    const std::string line = typed.substr(start, kQuake3eLineChars);
    const std::size_t room = kCommandBufferBytes - 1 - std::min(waiting_.size(), kCommandBufferBytes - 1);
    const std::size_t kept = std::min(line.size(), room);
    if (kept < typed.size() - start) Log("CUT " + std::to_string(kept));
    if (kept > 0) waiting_ += line.substr(0, kept) + "\n";
    Append("]" + line + "\n");
}

void ConsoleEngine::TakeBuffer() { taken_ += std::exchange(waiting_, {}); }

void ConsoleEngine::RunFrame() {
    if (busyMs_ > 0) {
        Log("STALL " + std::to_string(busyMs_));
        Busy(std::exchange(busyMs_, 0));
        Log("AWAKE");
    }
    for (const std::string& text : std::exchange(toPrint_, {})) Append(text);
    if (std::exchange(vidRestart_, false)) PrintRenderer();
    for (const std::string& command : SplitCommands(std::exchange(taken_, {}))) {
        if (quit_) return;
        executed_.push_back(command);
        Log("EXEC " + command);
        RunCommand(command);
    }
}

void ConsoleEngine::RunCommand(const std::string& command) {
    const std::vector<std::string> words = Tokenize(command);
    if (words.empty()) return;
    const std::string verb = Lower(words[0]);
    if (verb == "quit") {
        quit_ = true;
    } else if (verb == "clear") {
        // Only the console the game draws; the window's pane keeps its text.
        Log("CLEAR");
    } else if (verb == "vid_restart") {
        Busy(kVidRestartMs);
        PrintRenderer();
    } else if (verb == "name" && words.size() > 1) {
        playerName_ = words[1];
    } else if (verb == "name") {
        Append("\"name\" is:\"" + playerName_ + "^7\" default:\"UnnamedPlayer^7\"\n");
    } else if (verb == "echo") {
        std::string text;
        for (std::size_t i = 1; i < words.size(); ++i) text += words[i] + " ";
        // The maintained engine joins the words without a blank at the end.
        if (layout_ == ConsoleLayout::Quake3e && !text.empty()) text.pop_back();
        Append(text + "\n");
    } else {
        Append("Unknown command: " + words[0] + "\n");
    }
}

void ConsoleEngine::Print(const std::string& text) { toPrint_.push_back(text + "\n"); }

void ConsoleEngine::Stall(int ms) { busyMs_ += ms; }

void ConsoleEngine::VidRestart() {
    busyMs_ += kVidRestartMs;
    vidRestart_ = true;
}

void ConsoleEngine::StartUp() {
    for (const char* line : kStartUpLines) Print(line);
    vidRestart_ = true;
}

void ConsoleEngine::Busy(int ms) {
    if (onBusy) onBusy(ms);
}

void ConsoleEngine::PrintRenderer() {
    for (const char* line : kRendererLines) Append(std::string(line) + "\n");
    for (const char* line : kAfterRendererLines) Append(std::string(line) + "\n");
}

void ConsoleEngine::Append(const std::string& message) {
    const std::string text = PaneText(message);
    if (layout_ == ConsoleLayout::Quake3e) {
        // Written to the pane by the window's timer; a full buffer at once.
        if (collected_.size() + text.size() > kCollectedBytes) Flush();
        collected_ += text;
        return;
    }
    Reach(text);
}

void ConsoleEngine::Flush() {
    if (!collected_.empty()) Reach(std::exchange(collected_, {}));
}

void ConsoleEngine::Reach(const std::string& text) {
    AppendRaw(text);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        Log("OUT " + std::exchange(openLine_, {}) + text.substr(start, end - start));
    }
    openLine_ += text.substr(start);
}

void ConsoleEngine::AppendRaw(const std::string& paneText) {
    if (layout_ == ConsoleLayout::Quake3e && wipeCount_ > 0 && buffer_.size() + paneText.size() > wipeCount_) {
        // The first half of the lines goes; the rest stays as it was.
        const std::size_t lines = static_cast<std::size_t>(std::ranges::count(buffer_, '\n'));
        std::size_t cut = 0;
        for (std::size_t n = 0; n < std::max<std::size_t>(lines / 2, 1); ++n) cut = buffer_.find('\n', cut) + 1;
        buffer_.erase(0, cut);
        buffer_ += paneText;
        Log("HALVE");
        if (onPane) onPane(buffer_, true);
        return;
    }
    appended_ += paneText.size();
    if (layout_ == ConsoleLayout::Original && wipeCount_ > 0 && appended_ > wipeCount_) {
        buffer_ = paneText;
        appended_ = paneText.size();
        Log("WIPE");
        if (onPane) onPane(paneText, true);
        return;
    }
    buffer_ += paneText;
    if (onPane) onPane(paneText, false);
}

void ConsoleEngine::Prefill(std::size_t chars) {
    Log("PREFILL " + std::to_string(chars));
    buffer_.reserve(buffer_.size() + std::min(chars, wipeCount_ > 0 ? wipeCount_ : chars) + kFillerLineChars);
    std::size_t left = chars;
    while (left > 0) {
        const std::size_t lineChars = std::max<std::size_t>(std::min(left, kFillerLineChars), 2);
        AppendRaw(std::string(lineChars - 2, '.') + "\r\n");
        left -= std::min(left, lineChars);
    }
}

void ConsoleEngine::ClearPane() {
    buffer_.clear();
    Log("CLEAR");
    if (onPane) onPane({}, true);
}

void ConsoleEngine::ReplaceBuffer(std::string text) { buffer_ = std::move(text); }

void ConsoleEngine::Log(const std::string& record) {
    if (onLog) onLog(record);
}

}  // namespace tunebridge::peers
