#include "mbm/sensor_reader.h"

#include <algorithm>

namespace tunebridge {

namespace {

constexpr const char* kDataRegion = "$M$B$M$5$D$";
constexpr const char* kNamesRegion = "$M$B$M$5$N$";
constexpr const char* kInfoRegion = "$M$B$M$5$I$";

// The names reader fails with the data reader's text: both are "the data".
constexpr const char* kDataFailure = "MBM Data File/Mem could not be opened.";
constexpr const char* kInfoFailure = "MBM Info File/Mem could not be opened. Sorry.";

constexpr std::size_t kNameGroupChars = 110;

// A region that exists but cannot be mapped counts as missing; its handle
// is closed all the same, or every tick would leak one.
template <std::size_t kSize>
bool CopyRegion(Desktop& desktop, const char* region, std::array<std::uint8_t, kSize>& into) {
    const std::uintptr_t mapping = desktop.OpenFileMappingA(region);
    if (mapping == 0) return false;
    const auto copy = desktop.CopyMappedView(mapping, kSize);
    desktop.CloseHandle(mapping);
    if (!copy) return false;
    std::copy_n(copy->begin(), std::min(kSize, copy->size()), into.begin());
    return true;
}

std::string Text(const std::uint8_t* first, std::size_t count) { return std::string(first, first + count); }

}  // namespace

std::int32_t MBMData::ValueAt(std::size_t offset) const {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

std::string MBMNames::Name(int group, int element) const {
    const auto offset = kNameGroupChars * static_cast<std::size_t>(group - 1) +
                        kNameChars * static_cast<std::size_t>(element - 1);
    return Text(bytes.data() + offset, kNameChars);
}

std::string MBMInfo::VersionText() const { return Text(bytes.data(), kVersionChars); }

MBMData SensorReader::ReadMBMData() {
    MBMData record;
    available_ = CopyRegion(desktop_, kDataRegion, record.bytes);
    if (!available_) statusText_ = kDataFailure;
    return record;
}

MBMNames SensorReader::ReadMBMNames() {
    MBMNames record;
    available_ = CopyRegion(desktop_, kNamesRegion, record.bytes);
    if (!available_) statusText_ = kDataFailure;
    return record;
}

MBMInfo SensorReader::ReadMBMInfo() {
    MBMInfo record;
    if (!CopyRegion(desktop_, kInfoRegion, record.bytes)) statusText_ = kInfoFailure;
    return record;
}

// Versions before 5.1 are told apart by the third character of "5.0...".
// Only that digit ends the program: a missing region (all NUL) or a text of
// another shape must not make the program vanish for every user who runs no
// sensor program.
bool SensorReader::IsMBMVersionSupported() {
    const std::string version = ReadMBMInfo().VersionText();
    if (version[0] == 'V' || version[0] == 'v') return true;
    return version[2] != '0';
}

} // namespace tunebridge
