// Screenshots of the whole display as PNG files, for the test artifacts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tunebridge::e2e {

// Captures the whole (virtual) screen and writes it to `path` as a PNG.
// Returns false when the capture or the write fails.
bool SaveScreenshotPng(const std::string& path);

// The PNG file of an 8-bit RGB image; `rgb` holds height rows of width * 3 bytes, top row first.
// The image data are stored in uncompressed deflate blocks.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

// The checksums of the PNG container: CRC-32 (ISO 3309) and Adler-32 (zlib).
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size);

}  // namespace tunebridge::e2e
