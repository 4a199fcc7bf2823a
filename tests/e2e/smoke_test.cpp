// The real tunebridge.exe under Wine beside the simulated player and console:
// its window comes up, a screenshot is kept, and closing the window ends it.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "harness/peers.h"
#include "harness/process.h"
#include "harness/screenshot.h"
#include "harness/wait.h"

namespace tunebridge::e2e {
namespace {

namespace fs = std::filesystem;

constexpr std::chrono::milliseconds kProductDeadline = 30s;

fs::path ArtifactsFolder() {
  if (const char* configured = std::getenv("TUNEBRIDGE_ARTIFACTS"); configured != nullptr && *configured != '\0') {
    return configured;
  }
  return BinDir().parent_path() / "artifacts";
}

TEST(Smoke, MainWindowOpensBesideThePeersAndClosingItEndsTheProgram) {
  const fs::path folder = TempDir("smoke");
  PlayerPeer::Options playlist;
  playlist.titles = {"Artist One - First Song", "Artist Two - Second Song"};
  PlayerPeer player;
  ASSERT_TRUE(player.Start(folder, playlist));
  ConsolePeer console;
  ASSERT_TRUE(console.Start(folder));

  ChildProcess tunebridge;
  // A private copy, so the program's tunebridge.ini lands in this test's folder.
  ASSERT_TRUE(tunebridge.Start(StageProduct(folder / "product"), {}, folder / "product"));
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        window = tunebridge.FindOwnWindow("", "Tunebridge.");
        return window != nullptr && IsWindowVisible(window);
      },
      kProductDeadline))
      << "no visible window \"Tunebridge.\" of the started process";

  // A message round trip through each window's thread lets pending paints happen first.
  for (HWND shown : {window, player.Window(), console.Window()}) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(shown, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  }
  const fs::path artifacts = ArtifactsFolder();
  fs::create_directories(artifacts);
  const fs::path screenshot = artifacts / "smoke.png";
  EXPECT_TRUE(SaveScreenshotPng(screenshot.string()));
  EXPECT_GT(fs::file_size(screenshot), 0u);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(tunebridge.WaitForExit(kProductDeadline)) << "the program did not end after its window was closed";
  EXPECT_TRUE(console.Close());
  EXPECT_TRUE(player.Close());
}

// Known check values of the two checksums (the standard "123456789" check string for CRC-32, zlib's own
// example for Adler-32), and a PNG whose header and chunk layout a viewer needs.
TEST(PngEncoder, ChecksumsMatchTheirCheckValues) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc32(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0xCBF43926u);
  const std::string wiki = "Wikipedia";
  EXPECT_EQ(Adler32(reinterpret_cast<const std::uint8_t*>(wiki.data()), wiki.size()), 0x11E60398u);
  EXPECT_EQ(Adler32(nullptr, 0), 1u);
}

TEST(PngEncoder, LargeImageSpansSeveralStoredBlocks) {
  // 200 x 120 RGB rows with their filter bytes exceed one 65,535-byte stored block.
  const int width = 200;
  const int height = 120;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width * height * 3));
  for (std::size_t i = 0; i < rgb.size(); ++i) {
    rgb[i] = static_cast<std::uint8_t>(i * 7);
  }
  const std::vector<std::uint8_t> png = EncodePng(width, height, rgb);
  const std::size_t raw = static_cast<std::size_t>((width * 3 + 1) * height);
  const std::size_t blocks = (raw + 65534) / 65535;
  // signature + IHDR + IDAT (zlib header, 5 bytes per block, data, Adler-32) + IEND
  EXPECT_EQ(png.size(), 8 + 25 + (12 + 2 + blocks * 5 + raw + 4) + 12);
  ASSERT_GE(png.size(), 45u);
  EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
  EXPECT_EQ(std::string(png.begin() + 37, png.begin() + 41), "IDAT");
  EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
  // Every block but the last says it is not final; the last one says it is.
  const std::size_t firstBlock = 8 + 25 + 8 + 2;
  EXPECT_EQ(png[firstBlock], 0);
  EXPECT_EQ(png[firstBlock + 5 + 65535 * (blocks - 1)], 1);
  // The IDAT chunk's CRC matches its type and data.
  const std::size_t idatLength = 2 + blocks * 5 + raw + 4;
  const std::uint32_t stored = (std::uint32_t{png[41 + idatLength]} << 24) |
                               (std::uint32_t{png[42 + idatLength]} << 16) |
                               (std::uint32_t{png[43 + idatLength]} << 8) | png[44 + idatLength];
  EXPECT_EQ(Crc32(png.data() + 37, 4 + idatLength), stored);
}

}  // namespace
}  // namespace tunebridge::e2e
