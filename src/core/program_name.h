#pragma once

namespace tunebridge {

// The title of the program's own message boxes.
inline constexpr const char* kProgramName = "Tunebridge";

} // namespace tunebridge
