#include "tests/support/game_text.h"

#include "graphics/game_font.h"
#include "graphics/shadow_text.h"
#include "platform/win32/ddraw.h"

namespace {

// A DirectDraw object for off-screen surfaces only (no window, no display mode), and the
// game's font, made once for the test's process.
IDirectDraw7* TextDirectDraw() {
  static IDirectDraw7* const directDraw = [] {
    IDirectDraw7* made = nullptr;
    DirectDrawCreateEx(nullptr, &made, IID_IDirectDraw7, nullptr);
    CreateGameFont();
    return made;
  }();
  return directDraw;
}

// Copies between the picture and a locked surface of the same size, whose 32-bit words hold
// 0x00RRGGBB.
template <typename Copy>
bool WithLockedPixels(IDirectDrawSurface7* surface, const Copy& copy) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return false;
  copy(static_cast<uint8_t*>(desc.lpSurface), static_cast<int>(desc.lPitch));
  surface->Unlock(nullptr);
  return true;
}

}  // namespace

Image WithGameTexts(Image picture, const std::vector<GameText>& texts) {
  IDirectDraw7* directDraw = TextDirectDraw();
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  desc.dwWidth = static_cast<DWORD>(picture.width);
  desc.dwHeight = static_cast<DWORD>(picture.height);
  IDirectDrawSurface7* surface = nullptr;
  if (!directDraw || !GameFont || directDraw->CreateSurface(&desc, &surface, nullptr) != DD_OK) {
    return {};  // an empty picture matches no screen
  }
  bool drawn = WithLockedPixels(surface, [&picture](uint8_t* pixels, int pitch) {
    for (int row = 0; row < picture.height; ++row) {
      auto* word = reinterpret_cast<uint32_t*>(pixels + row * pitch);
      for (int column = 0; column < picture.width; ++column) {
        const Rgb8& pixel = picture.at(column, row);
        word[column] = uint32_t{pixel.r} << 16 | uint32_t{pixel.g} << 8 | pixel.b;
      }
    }
  });
  for (const GameText& text : texts) {
    drawn = drawn && DrawShadowText(text.text.c_str(), text.x, text.y, text.colorRef, surface) != 0;
  }
  drawn = drawn && WithLockedPixels(surface, [&picture](uint8_t* pixels, int pitch) {
    for (int row = 0; row < picture.height; ++row) {
      const auto* word = reinterpret_cast<const uint32_t*>(pixels + row * pitch);
      for (int column = 0; column < picture.width; ++column) {
        picture.at(column, row) = {static_cast<uint8_t>(word[column] >> 16),
                                   static_cast<uint8_t>(word[column] >> 8),
                                   static_cast<uint8_t>(word[column])};
      }
    }
  });
  surface->Release();
  return drawn ? picture : Image{};
}
