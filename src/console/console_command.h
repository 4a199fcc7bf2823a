#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/shared_state.h"
#include "platform/desktop.h"

namespace tunebridge {

// Types one command line into the game console's input line and presses
// Enter, by window messages; dropped silently when there is no console.
void SendConsoleCommand(Desktop& desktop, SharedState& state, const std::string& command);

// Enumeration callback of SendConsoleCommand: true goes on, false stops.
bool ConsoleInputEnumProc(Desktop& desktop, SharedState& state, Hwnd child);

std::string TrimAtNul(const std::string& text);
std::vector<std::uint8_t> ToAnsiBytes(const std::string& text);
// The text before the first character below code 20, blanks trimmed.
std::string CleanString(const std::string& text);

} // namespace tunebridge
