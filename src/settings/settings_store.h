#pragma once

#include <cstdint>
#include <string>

#include "app/shared_state.h"
#include "platform/desktop.h"

namespace tunebridge {

constexpr int kCSIDL_PROGRAM_FILES = 38;

// Fills the settings arrays from "tunebridge.ini" beside the exe; throws an
// overflow RuntimeError at a stored integer outside -32768..32767.
void LoadSettings(Desktop& desktop, SharedState& state);
// Writes every stored key back (47 writes).
void SaveSettings(Desktop& desktop, SharedState& state);
// The path of a shell special folder, or "" when it cannot be resolved.
std::string FindSystemFolder(Desktop& desktop, std::int16_t csidl);

} // namespace tunebridge
