#include "hotkeys/key_capture.h"

#include <cstddef>
#include <cstdint>

namespace tunebridge {
namespace {

struct NamedKey {
    int virtualKey;
    const char* name;
};

constexpr NamedKey kNamedKeys[] = {
    {19, "Pause"},    {20, "Caps"},    {33, "PageUp"},   {34, "PageDown"},    {35, "End"},
    {36, "Home"},     {37, "Left"},    {38, "Up"},       {39, "Right"},       {40, "Down"},
    {42, "PrintScr"}, {45, "Insert"},  {46, "Delete"},   {91, "Win Start L"}, {92, "Win Start R"},
    {93, "Menu"},     {97, "Numpad1"}, {144, "NumLock"}, {145, "Scroll"},
};

constexpr int kFirstFunctionKey = 112;  // F1
constexpr int kLastFunctionKey = 123;   // F12

std::size_t Index(HotkeySlot slot) { return static_cast<std::size_t>(slot); }

struct ModifierKey {
    int virtualKey;
    Modifier indicator;
    std::int16_t HotkeyBinding::*field;
};

constexpr ModifierKey kModifierKeys[] = {
    {kVirtualKeyShift, Modifier::Shift, &HotkeyBinding::shift},
    {kVirtualKeyCtrl, Modifier::Ctrl, &HotkeyBinding::ctrl},
    {kVirtualKeyAlt, Modifier::Alt, &HotkeyBinding::alt},
};

const ModifierKey* FindModifier(int virtualKey) {
    for (const ModifierKey& modifier : kModifierKeys) {
        if (modifier.virtualKey == virtualKey) return &modifier;
    }
    return nullptr;
}

} // namespace

std::string KeyNameFromTable(int virtualKey) {
    if (virtualKey >= kFirstFunctionKey && virtualKey <= kLastFunctionKey)
        return "F" + std::to_string(virtualKey - (kFirstFunctionKey - 1));
    for (const NamedKey& key : kNamedKeys) {
        if (key.virtualKey == virtualKey) return key.name;
    }
    return {};
}

KeyCapture::KeyCapture(Desktop& desktop, Settings& settings) : desktop_(desktop), settings_(settings) {
    for (std::size_t slot = 0; slot < kHotkeySlotCount; ++slot)
        boxTexts_[slot] = std::to_string(settings_.hotkeys[slot].key);
}

const std::string& KeyCapture::BoxText(HotkeySlot slot) const { return boxTexts_[Index(slot)]; }

Rgb KeyCapture::IndicatorColor(Modifier modifier) const { return indicators_[static_cast<std::size_t>(modifier)]; }

void KeyCapture::Click(HotkeySlot slot) { boxTexts_[Index(slot)].clear(); }

// Keys still held from elsewhere (the Tab that brought the focus) must not
// keep the next key from starting a capture of its own.
void KeyCapture::Focus() { heldKeys_.clear(); }

void KeyCapture::KeyDown(HotkeySlot slot, int virtualKey) {
    HotkeyBinding& binding = settings_.Hotkey(slot);
    if (heldKeys_.empty()) binding.shift = binding.ctrl = binding.alt = 0;
    heldKeys_.insert(virtualKey);

    if (const ModifierKey* modifier = FindModifier(virtualKey)) {
        binding.*modifier->field = static_cast<std::int16_t>(virtualKey);
        indicators_[static_cast<std::size_t>(modifier->indicator)] = kModifierHeld;
    }
    boxTexts_[Index(slot)] = Label(virtualKey);
    binding.key = static_cast<std::int16_t>(virtualKey);
}

void KeyCapture::KeyUp(int virtualKey) {
    heldKeys_.erase(virtualKey);
    if (const ModifierKey* modifier = FindModifier(virtualKey))
        indicators_[static_cast<std::size_t>(modifier->indicator)] = kModifierReleased;
}

std::string KeyCapture::Label(int virtualKey) {
    std::string name = KeyNameFromTable(virtualKey);
    if (name.empty()) name = desktop_.KeyNameText(virtualKey);
    if (name.empty()) name = std::to_string(virtualKey);
    return name;
}

} // namespace tunebridge
