#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "platform/desktop.h"

namespace tunebridge {

// Snapshots of the three shared-memory regions Motherboard Monitor 5
// publishes, as many bytes as the program copies from the start of each;
// all zero when the region could not be read.
struct MBMData {
    static constexpr std::size_t kBytes = 197;
    std::array<std::uint8_t, kBytes> bytes{};

    // The little-endian 32-bit value at byte `offset`.
    std::int32_t ValueAt(std::size_t offset) const;
    // The sensors named by group 1 element 1 and group 3 element 1.
    std::int32_t Temperature() const { return ValueAt(0); }
    std::int32_t Fan() const { return ValueAt(120); }
};

struct MBMNames {
    static constexpr std::size_t kBytes = 352;
    static constexpr std::size_t kNameChars = 11;
    std::array<std::uint8_t, kBytes> bytes{};

    // Element 1..10 of name group 1..3, its 11 characters as published
    // (blank- or NUL-padded, not terminated).
    std::string Name(int group, int element) const;
};

struct MBMInfo {
    static constexpr std::size_t kBytes = 70;
    static constexpr std::size_t kVersionChars = 11;
    std::array<std::uint8_t, kBytes> bytes{};

    std::string VersionText() const;
};

// Reads the regions afresh at every call, so it follows the sensor program
// starting and stopping; nothing stays open between calls. It keeps the
// outcome of the last reads for whoever wants to know why a line is missing.
class SensorReader {
public:
    explicit SensorReader(Desktop& desktop) : desktop_(desktop) {}

    // Each sets the availability; a failure also the status text.
    MBMData ReadMBMData();
    MBMNames ReadMBMNames();
    // Leaves the availability alone; a failure sets the status text.
    MBMInfo ReadMBMInfo();
    // False only for a version text like "5.0..." (before 5.1): not starting
    // with "v" or "V", the digit 0 third. A missing region or any other text
    // passes.
    bool IsMBMVersionSupported();

    const std::string& StatusText() const { return statusText_; }
    void SetStatusText(std::string text) { statusText_ = std::move(text); }
    bool Available() const { return available_; }

private:
    Desktop& desktop_;
    std::string statusText_;
    bool available_ = false;
};

} // namespace tunebridge
