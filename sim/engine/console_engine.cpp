#include "engine/console_engine.h"

#include <algorithm>
#include <cctype>

namespace tunebridge::peers {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

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
    while (i < command.size()) {
        while (i < command.size() && static_cast<unsigned char>(command[i]) <= ' ') ++i;
        if (i == command.size()) break;
        std::string word;
        if (command[i] == '"') {
            ++i;
            while (i < command.size() && command[i] != '"') word.push_back(command[i++]);
            if (i < command.size()) ++i;
        } else {
            while (i < command.size() && static_cast<unsigned char>(command[i]) > ' ') word.push_back(command[i++]);
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::string StripColourCodes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size()) {
            ++i;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

ConsoleEngine::ConsoleEngine(std::string playerName) : playerName_(std::move(playerName)) {}

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
    const std::string line = std::move(input_);
    input_.clear();
    typed_.push_back(line);
    Log("TYPED " + line);
    if (answering_) Print("]" + line);
    Execute(line);
}

void ConsoleEngine::Execute(const std::string& line) {
    for (const std::string& command : SplitCommands(line)) {
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
        return;
    }
    if (verb == "clear") {
        Clear();
        return;
    }
    if (verb == "name" && words.size() > 1) {
        playerName_ = words[1];
        return;
    }
    if (!answering_) return;
    if (verb == "echo") {
        std::string text;
        for (std::size_t i = 1; i < words.size(); ++i) {
            if (i > 1) text.push_back(' ');
            text += words[i];
        }
        Print(text);
    } else if (verb == "name") {
        Print("\"name\" is:\"" + playerName_ + "^7\" default:\"UnnamedPlayer^7\"");
    } else {
        Print("Unknown command: " + words[0]);
    }
}

void ConsoleEngine::Print(const std::string& text) {
    const std::string clean = StripColourCodes(text);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = clean.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(clean.substr(start));
            break;
        }
        lines.push_back(clean.substr(start, end - start));
        start = end + 1;
        if (clean[end] == '\r' && start < clean.size() && clean[start] == '\n') ++start;
        if (start == clean.size()) break;
    }
    std::string message;
    for (const std::string& line : lines) message += line + "\r\n";
    Append(message);
    for (std::string& line : lines) {
        Log("OUT " + line);
        printed_.push_back(std::move(line));
    }
}

void ConsoleEngine::Append(const std::string& message) {
    appended_ += message.size();
    if (wiping_ && appended_ > kWipeCount) {
        buffer_ = message;
        appended_ = message.size();
        Log("WIPE");
        return;
    }
    buffer_ += message;
}

void ConsoleEngine::Prefill(std::size_t chars) {
    Log("PREFILL " + std::to_string(chars));
    buffer_.reserve(buffer_.size() + std::min(chars, wiping_ ? kWipeCount : chars) + kFillerLineChars);
    std::size_t left = chars;
    while (left > 0) {
        const std::size_t lineChars = std::max<std::size_t>(std::min(left, kFillerLineChars), 2);
        Append(std::string(lineChars - 2, '.') + "\r\n");
        left -= std::min(left, lineChars);
    }
}

void ConsoleEngine::Clear() {
    buffer_.clear();
    Log("CLEAR");
}

void ConsoleEngine::ReplaceBuffer(std::string text) { buffer_ = std::move(text); }

void ConsoleEngine::Log(const std::string& record) {
    if (onLog) onLog(record);
}

}  // namespace tunebridge::peers
