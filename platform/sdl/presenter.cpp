#include "platform/sdl/presenter.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/sdl/game_window.h"
#include "platform/seams/first_flip_mark.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/flip_showing.h"
#include "platform/seams/headless.h"
#include "platform/sdl/waits.h"
#include "platform/win32/win.h"

namespace {

struct Presenter {
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  bool open = false;
  // The frame the window shows now, row after row; a frame equal to it is not sent again.
  std::vector<unsigned char> shown;
  bool shownValid = false;
};
Presenter presenter;

void CaptureFrame(SDL_Surface* frame) {
  CapturedFrame& captured = HeadlessNextFrame(frame->w, frame->h);
  SDL_ConvertPixels(frame->w, frame->h, frame->format->format, frame->pixels, frame->pitch,
                    SDL_PIXELFORMAT_RGB888, captured.pixels.data(), frame->w * 4);
}

// Whether the frame equals the one on screen; if not, it becomes the one on screen. Waiting
// boxes flip the same picture sixty times a second, and sending it again is most of their cost.
bool SameAsShown(const SDL_Surface* frame) {
  const size_t rowBytes = static_cast<size_t>(frame->w) * frame->format->BytesPerPixel;
  const size_t bytes = rowBytes * static_cast<size_t>(frame->h);
  const auto* pixels = static_cast<const unsigned char*>(frame->pixels);
  bool same = presenter.shownValid && presenter.shown.size() == bytes;
  for (int row = 0; same && row < frame->h; ++row) {
    same = std::memcmp(presenter.shown.data() + rowBytes * static_cast<size_t>(row),
                       pixels + static_cast<size_t>(frame->pitch) * static_cast<size_t>(row),
                       rowBytes) == 0;
  }
  if (same) return true;
  presenter.shown.resize(bytes);
  for (int row = 0; row < frame->h; ++row) {
    std::memcpy(presenter.shown.data() + rowBytes * static_cast<size_t>(row),
                pixels + static_cast<size_t>(frame->pitch) * static_cast<size_t>(row), rowBytes);
  }
  presenter.shownValid = true;
  return false;
}

// Mesa's rasterizers that run on the processor (no GPU, or Xvfb): there a GL renderer costs
// far more of a core than SDL's own software one.
bool SoftwareGl(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) {
    return false;
  }
  using GetString = const unsigned char* (*)(unsigned);
  const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (getString == nullptr) return false;
  constexpr unsigned kGlRenderer = 0x1F01;
  const char* name = reinterpret_cast<const char*>(getString(kGlRenderer));
  if (name == nullptr) return false;
  for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
    if (std::strstr(name, software) != nullptr) return true;
  }
  return false;
}

SDL_Renderer* CreateSoftwareRenderer(SDL_Window* window) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  return renderer != nullptr ? renderer : SDL_CreateRenderer(window, -1, 0);
}

// A window of the picture's own size needs no scaling: SDL's software renderer straight onto
// the window's framebuffer is a copy, and starts without loading a GL driver. Otherwise the
// GPU's renderer scales, where there is a GPU; where GL runs on the processor, the software
// renderer (SDL would by default route even its framebuffer through GL).
SDL_Renderer* CreateRenderer(SDL_Window* window) {
  int width = 0;
  int height = 0;
  SDL_GetWindowSizeInPixels(window, &width, &height);
  if (width == kScreenWidth && height == kScreenHeight) return CreateSoftwareRenderer(window);
  SDL_Renderer* renderer =
      SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (renderer != nullptr && !SoftwareGl(renderer)) return renderer;
  if (renderer != nullptr) SDL_DestroyRenderer(renderer);
  return CreateSoftwareRenderer(window);
}

}  // namespace

bool PresenterOpen() {
  if (presenter.open) return true;
  ArmFirstFlipMark();
  if (HeadlessActive()) {
    presenter.open = true;
    return true;
  }
  SDL_Window* window = PlatformSdlWindow(PlatformMainWindow());
  if (!window) return false;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  presenter.renderer = CreateRenderer(window);
  if (!presenter.renderer) {
    std::fprintf(stderr, "Zimbrel: cannot create a renderer: %s\n", SDL_GetError());
    return false;
  }
  // The picture keeps its aspect, with black bars where the screen is wider or taller.
  SDL_RenderSetLogicalSize(presenter.renderer, kScreenWidth, kScreenHeight);
  presenter.texture = SDL_CreateTexture(presenter.renderer, SDL_PIXELFORMAT_RGB888,
                                        SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight);
  if (!presenter.texture) {
    SDL_DestroyRenderer(presenter.renderer);
    presenter.renderer = nullptr;
    return false;
  }
  presenter.open = true;
  return true;
}

void PresenterClose() {
  if (presenter.texture) SDL_DestroyTexture(presenter.texture);
  if (presenter.renderer) SDL_DestroyRenderer(presenter.renderer);
  presenter = Presenter{};
  HeadlessFlipPacingReset();
}

void PresentFrame(SDL_Surface* frame) {
  if (!frame) return;
  if (HeadlessActive()) {
    if (!HeadlessRulesOnly()) CaptureFrame(frame);
    HeadlessPresentFlip();
    return;
  }
  const bool shown = FlipShown();
  if (shown && presenter.texture && !SameAsShown(frame)) {
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(presenter.texture, nullptr, &pixels, &pitch) == 0) {
      SDL_ConvertPixels(frame->w, frame->h, frame->format->format, frame->pixels, frame->pitch,
                        SDL_PIXELFORMAT_RGB888, pixels, pitch);
      SDL_UnlockTexture(presenter.texture);
    }
    SDL_SetRenderDrawColor(presenter.renderer, 0, 0, 0, 255);
    SDL_RenderClear(presenter.renderer);
    SDL_RenderCopy(presenter.renderer, presenter.texture, nullptr, nullptr);
    SDL_RenderPresent(presenter.renderer);
  }
  if (shown) PaceRealFlip();
  NotifyFlipPresented();
}

void PresenterPicturePoint(float windowX, float windowY, int* x, int* y) {
  SDL_Window* window = PlatformSdlWindow(PlatformMainWindow());
  if (presenter.renderer == nullptr || window == nullptr) {
    *x = static_cast<int>(std::floor(windowX * static_cast<float>(kScreenWidth)));
    *y = static_cast<int>(std::floor(windowY * static_cast<float>(kScreenHeight)));
    return;
  }
  int width;
  int height;
  SDL_GetWindowSize(window, &width, &height);
  float pictureX;
  float pictureY;
  SDL_RenderWindowToLogical(presenter.renderer, static_cast<int>(windowX * static_cast<float>(width)),
                            static_cast<int>(windowY * static_cast<float>(height)), &pictureX,
                            &pictureY);
  *x = static_cast<int>(std::floor(pictureX));
  *y = static_cast<int>(std::floor(pictureY));
}

void PresenterRedrawNext() { presenter.shownValid = false; }

void PresenterShowAgain() {
  if (presenter.shownValid || presenter.renderer == nullptr || presenter.texture == nullptr) return;
  SDL_SetRenderDrawColor(presenter.renderer, 0, 0, 0, 255);
  SDL_RenderClear(presenter.renderer);
  SDL_RenderCopy(presenter.renderer, presenter.texture, nullptr, nullptr);
  SDL_RenderPresent(presenter.renderer);
  presenter.shownValid = true;
}
