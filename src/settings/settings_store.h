#pragma once

#include <cstdint>
#include <string>

#include "platform/desktop.h"
#include "settings/settings.h"

namespace tunebridge {

// Where the player installs: the 32-bit Program Files folder. A 32-bit
// program gets it as CSIDL_PROGRAM_FILES (38); a 64-bit one asks for
// CSIDL_PROGRAM_FILESX86 (42), or it would look in the 64-bit folder.
inline constexpr int kCsidlPlayerFolder = sizeof(void*) == 8 ? 42 : 38;

// Fills `settings` from "tunebridge.ini" beside the exe, with defaults for
// what is missing; throws an overflow RuntimeError at a stored integer
// outside -32768..32767, after telling the user which entry to mend.
void LoadSettings(Desktop& desktop, Settings& settings);
// Writes every stored key back (47 writes); tells the user once when any
// write failed.
void SaveSettings(Desktop& desktop, const Settings& settings);
// The path of a shell special folder, or "" when it cannot be resolved.
std::string FindSystemFolder(Desktop& desktop, std::int16_t csidl);

} // namespace tunebridge
