// A headless display for the graphics tests, and pictures made as BMP bytes.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "graphics/display.h"
#include "platform/files/little_endian.h"
#include "platform/files/temporary_folder.h"
#include "platform/seams/headless.h"
#include "platform/seams/headless_window.h"
#include "shell/win_main.h"
#include "tests/support/file_bytes.h"

// Colours of test pictures as 0x00RRGGBB.
using PixelFunction = std::function<uint32_t(int x, int y)>;

// A BMP file (BITMAPINFOHEADER, BI_RGB) of 1, 4, 8, 16 (5-5-5), 24 or 32 bits per pixel,
// bottom-up or top-down. Palette depths take the picture's colours as their palette.
inline std::vector<uint8_t> MakeBmp(int width, int height, int bits, bool topDown,
                                    const PixelFunction& colorAt) {
  std::vector<uint32_t> palette;
  std::map<uint32_t, uint32_t> paletteIndex;
  if (bits <= 8) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const uint32_t color = colorAt(x, y);
        if (!paletteIndex.count(color)) {
          paletteIndex[color] = static_cast<uint32_t>(palette.size());
          palette.push_back(color);
        }
      }
    }
    palette.resize(size_t{1} << bits, 0);
  }
  const int rowBytes = ((width * bits + 31) / 32) * 4;
  const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size()) * 4;
  const uint32_t fileSize = offset + static_cast<uint32_t>(rowBytes * height);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  AppendLe32(out, fileSize);
  AppendLe32(out, 0);
  AppendLe32(out, offset);
  AppendLe32(out, 40);
  AppendLe32(out, static_cast<uint32_t>(width));
  AppendLe32(out, static_cast<uint32_t>(topDown ? -height : height));
  AppendLe16(out, 1);
  AppendLe16(out, static_cast<uint32_t>(bits));
  AppendLe32(out, 0);  // BI_RGB
  AppendLe32(out, static_cast<uint32_t>(rowBytes * height));
  AppendLe32(out, 2835);
  AppendLe32(out, 2835);
  AppendLe32(out, bits <= 8 ? static_cast<uint32_t>(palette.size()) : 0);
  AppendLe32(out, 0);
  for (uint32_t color : palette) AppendLe32(out, color);  // B, G, R, 0 in memory
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    std::vector<uint8_t> line(static_cast<size_t>(rowBytes), 0);
    for (int x = 0; x < width; ++x) {
      const uint32_t color = colorAt(x, y);
      if (bits <= 8) {
        const uint32_t index = paletteIndex[color];
        const int bit = x * bits;
        line[bit / 8] |= static_cast<uint8_t>(index << (8 - bits - bit % 8));
      } else if (bits == 16) {
        const uint32_t value = ((color >> 19) & 0x1F) << 10 | ((color >> 11) & 0x1F) << 5 |
                               ((color >> 3) & 0x1F);
        WriteLittleEndian(&line[x * 2], value, 2);
      } else {
        WriteLittleEndian(&line[x * (bits / 8)], color, 3);
      }
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

inline LRESULT TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// Headless SDL, the game window, and (unless a test opens it itself) the display, inside a
// fresh working directory with a gfx folder.
class DisplayFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    const std::optional<std::filesystem::path> folder = MakeTemporaryFolder("zimbrel-graphics", &error);
    ASSERT_TRUE(folder) << error;
    workDir_ = folder->string();
    ASSERT_EQ(chdir(workDir_.c_str()), 0);
    ASSERT_EQ(mkdir("gfx", 0755), 0);
    MainWindow = OpenHeadlessWindow(TestWindowProc);
    ASSERT_NE(MainWindow, nullptr);
    if (OpenDisplayInSetUp()) {
      ASSERT_EQ(OpenDisplay(), nullptr);
    }
  }

  void TearDown() override {
    if (Display.directDraw) CloseDisplay();
    std::string command = "rm -rf " + workDir_;
    EXPECT_EQ(std::system(command.c_str()), 0);
  }

  virtual bool OpenDisplayInSetUp() const { return true; }

  // The pixel as 0x00RRGGBB, at 32 or 24 bits per pixel.
  static uint32_t PixelAt(IDirectDrawSurface7* surface, int x, int y) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    const int bytes = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    const auto* pixel = static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch + x * bytes;
    const uint32_t value = ReadLittleEndian(pixel, 3);
    surface->Unlock(nullptr);
    return value;
  }

  static IDirectDrawSurface7* NewPicture(int width, int height) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_EQ(Display.directDraw->CreateSurface(&desc, &surface, nullptr), DD_OK);
    return surface;
  }

  // Writes gfx/<name> and gives the game's name for it, "gfx\<name>".
  static std::string WritePicture(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteBytes("gfx/" + name, bytes);
    return "gfx\\" + name;
  }

  std::string workDir_;
};
