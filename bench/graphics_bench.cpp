// The drawing primitives beside SDL's own equivalents, on the headless display.
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/bench_game.h"
#include "bench/sdl_equivalents.h"
#include "graphics/color_key.h"
#include "graphics/display.h"
#include "graphics/drawing.h"
#include "platform/sdl/gdi_objects.h"

namespace {

struct Scene {
  IDirectDrawSurface7* sprite = nullptr;      // 32 x 32, black keyed out
  IDirectDrawSurface7* background = nullptr;  // 640 x 480
  SDL_Surface* sdlScreen = nullptr;
  SDL_Surface* sdlSprite = nullptr;
  SDL_Surface* sdlBackground = nullptr;
};

Scene& TheScene() {
  static Scene scene = [] {
    Scene made;
    OpenBenchGame();
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = desc.dwHeight = 32;
    Display.directDraw->CreateSurface(&desc, &made.sprite, nullptr);
    ColorFill(0, 0, 32, 32, 0, made.sprite);
    ColorFill(4, 4, 28, 28, 0x00335577, made.sprite);
    SetSurfaceColorKey(made.sprite, 0);
    desc.dwWidth = 640;
    desc.dwHeight = 480;
    Display.directDraw->CreateSurface(&desc, &made.background, nullptr);
    ColorFill(0, 0, 640, 480, 0x00406080, made.background);

    made.sdlScreen = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGB888);
    made.sdlSprite = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_RGB888);
    made.sdlBackground = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGB888);
    for (SDL_Surface* surface : {made.sdlScreen, made.sdlSprite, made.sdlBackground}) {
      SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
    }
    SDL_Rect inner{4, 4, 24, 24};
    SDL_FillRect(made.sdlSprite, &inner, 0x00335577);
    SDL_SetColorKey(made.sdlSprite, SDL_TRUE, 0);
    SDL_FillRect(made.sdlBackground, nullptr, 0x00406080);
    return made;
  }();
  return scene;
}

void BM_DrawSprite(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) DrawSprite(Display.backBuffer, 300, 200, scene.sprite);
}
BENCHMARK(BM_DrawSprite);

void BM_SdlKeyedBlit32(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) {
    SDL_Rect to{300, 200, 32, 32};
    SDL_BlitSurface(scene.sdlSprite, nullptr, scene.sdlScreen, &to);
  }
}
BENCHMARK(BM_SdlKeyedBlit32);

void BM_ColorFillScreen(benchmark::State& state) {
  TheScene();
  for (auto _ : state) ColorFill(0, 0, 640, 480, 0, Display.backBuffer);
}
BENCHMARK(BM_ColorFillScreen);

void BM_SdlFillRectScreen(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) SDL_FillRect(scene.sdlScreen, nullptr, 0);
}
BENCHMARK(BM_SdlFillRectScreen);

void BM_DrawFullScreen(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) DrawFullScreen(scene.background);
}
BENCHMARK(BM_DrawFullScreen);

void BM_SdlBlitScreen(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) SDL_BlitSurface(scene.sdlBackground, nullptr, scene.sdlScreen, nullptr);
}
BENCHMARK(BM_SdlBlitScreen);

constexpr const char* kTwentyCharacters = "Score: 12345  Time 9";

void BM_DrawShadowText(benchmark::State& state) {
  TheScene();
  for (auto _ : state) DrawShadowText(kTwentyCharacters, 20, 440, 0xFFFF, Display.backBuffer);
}
BENCHMARK(BM_DrawShadowText);

// The same two passes done straight with SDL2_ttf.
void BM_SdlTtfShadowText(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) SdlShadowText(scene.sdlScreen, kTwentyCharacters, 20, 440, 0xFFFF);
}
BENCHMARK(BM_SdlTtfShadowText);

void BM_FlipHeadless(benchmark::State& state) {
  TheScene();
  for (auto _ : state) FlipPage();
}
BENCHMARK(BM_FlipHeadless);

void BM_MemcpyFrame(benchmark::State& state) {
  std::vector<uint32_t> from(640 * 480, 0x00406080), to(640 * 480);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
  }
}
BENCHMARK(BM_MemcpyFrame);

// What the headless capture of a flip does with SDL: one frame converted into a new buffer.
void BM_SdlConvertFrameIntoNewBuffer(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) {
    std::vector<uint32_t> to(640 * 480);
    SDL_ConvertPixels(640, 480, SDL_PIXELFORMAT_RGB888, scene.sdlBackground->pixels,
                      scene.sdlBackground->pitch, SDL_PIXELFORMAT_RGB888, to.data(), 640 * 4);
    benchmark::DoNotOptimize(to.data());
  }
}
BENCHMARK(BM_SdlConvertFrameIntoNewBuffer);

// A busy play frame without its flip: background, fifty flies, the cursor, two lines of text.
void BM_PlayFrameDrawing(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) {
    DrawFullScreen(scene.background);
    for (int fly = 0; fly < 50; ++fly) {
      DrawSprite(Display.backBuffer, (fly * 97) % 608, (fly * 61) % 448, scene.sprite);
    }
    DrawSprite(Display.backBuffer, 320, 240, scene.sprite);
    DrawShadowText("Score: 12345", 10, 445, 0xFFFF, Display.backBuffer);
    DrawShadowText("Time: 59", 520, 445, 0xFFFF, Display.backBuffer);
  }
}
BENCHMARK(BM_PlayFrameDrawing);

}  // namespace
