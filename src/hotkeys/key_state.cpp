#include "hotkeys/key_state.h"

namespace tunebridge {
namespace {

constexpr std::uint16_t kDownNow = 0x8000;
constexpr std::uint16_t kPressedSinceQuery = 0x0001;

struct SidedCodes {
    int generic;
    int left;
    int right;
};

constexpr SidedCodes kModifiers[] = {
    {16, 160, 161},  // Shift
    {17, 162, 163},  // Ctrl
    {18, 164, 165},  // Alt
};

} // namespace

std::uint16_t KeyState(Desktop& desktop, int virtualKey) {
    const auto raw = [&desktop](int code) { return desktop.GetAsyncKeyState(code); };
    for (const SidedCodes& modifier : kModifiers) {
        if (modifier.generic != virtualKey) continue;
        // All three are queried every time: a press left unqueried on one
        // side would otherwise be reported as new at a later query.
        std::uint16_t any = raw(modifier.generic);
        any |= raw(modifier.left);
        any |= raw(modifier.right);
        return static_cast<std::uint16_t>(any & (kDownNow | kPressedSinceQuery));
    }
    return raw(virtualKey);
}

} // namespace tunebridge
