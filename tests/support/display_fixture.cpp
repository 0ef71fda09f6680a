#include "tests/support/display_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "platform/files/little_endian.h"
#include "platform/files/temporary_folder.h"
#include "platform/seams/headless_window.h"
#include "tests/support/file_bytes.h"

namespace {

LRESULT TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void DisplayFixture::SetUp() {
  std::string error;
  const std::optional<std::filesystem::path> folder =
      MakeTemporaryFolder("zimbrel-graphics", &error);
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

void DisplayFixture::TearDown() {
  if (Display.directDraw) CloseDisplay();
  std::error_code failed;
  std::filesystem::remove_all(workDir_, failed);
  EXPECT_FALSE(failed) << failed.message();
}

uint32_t DisplayFixture::PixelAt(IDirectDrawSurface7* surface, int x, int y) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  const int bytes = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
  const auto* pixel = static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch + x * bytes;
  const uint32_t value = ReadLittleEndian(pixel, 3);
  surface->Unlock(nullptr);
  return value;
}

IDirectDrawSurface7* DisplayFixture::NewPicture(int width, int height) {
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

std::string DisplayFixture::WritePicture(const std::string& name,
                                         const std::vector<uint8_t>& bytes) {
  WriteBytes("gfx/" + name, bytes);
  return "gfx\\" + name;
}
