#include "platform/presenter.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/first_flip_mark.h"
#include "platform/headless.h"
#include "platform/win.h"

namespace {

struct Presenter {
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  Uint64 lastFlipCounter = 0;   // real time of the previous flip
  double headlessNextFlip = 0;  // virtual time at which the next flip may return
  bool open = false;
};
Presenter presenter;
uint64_t presentedFlips = 0;
std::vector<FlipObserver> flipObservers;

constexpr double kFlipMilliseconds = 1000.0 / 60.0;

void CaptureFrame(SDL_Surface* frame) {
  CapturedFrame& captured = HeadlessNextFrame(frame->w, frame->h);
  SDL_ConvertPixels(frame->w, frame->h, frame->format->format, frame->pixels, frame->pitch,
                    SDL_PIXELFORMAT_RGB888, captured.pixels.data(), frame->w * 4);
}

// The virtual clock moves on to the next 60 Hz tick, as a display's vertical blank would.
void PaceHeadless() {
  double now = HeadlessClockNow();
  presenter.headlessNextFlip = std::max(presenter.headlessNextFlip, now);
  HeadlessClockSet(static_cast<uint32_t>(presenter.headlessNextFlip));
  presenter.headlessNextFlip += kFlipMilliseconds;
}

// Never sooner than 1/60 s after the previous flip, with or without vsync.
void PaceReal() {
  const Uint64 frequency = SDL_GetPerformanceFrequency();
  const Uint64 interval = static_cast<Uint64>(static_cast<double>(frequency) / 60.0);
  Uint64 now = SDL_GetPerformanceCounter();
  if (presenter.lastFlipCounter != 0 && now - presenter.lastFlipCounter < interval) {
    Uint64 remaining = interval - (now - presenter.lastFlipCounter);
    // Sleep the whole milliseconds, spin only the fraction left.
    Uint32 sleepMs = static_cast<Uint32>(remaining * 1000 / frequency);
    if (sleepMs > 0) SDL_Delay(sleepMs);
    while (SDL_GetPerformanceCounter() - presenter.lastFlipCounter < interval) {
    }
  }
  presenter.lastFlipCounter = SDL_GetPerformanceCounter();
}

void FlipPresented() {
  ++presentedFlips;
  for (FlipObserver observer : flipObservers) observer();
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
  presenter.renderer =
      SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!presenter.renderer) presenter.renderer = SDL_CreateRenderer(window, -1, 0);
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
}

void PresentFrame(SDL_Surface* frame) {
  if (!frame) return;
  if (HeadlessActive()) {
    CaptureFrame(frame);
    PaceHeadless();
    FlipPresented();
    HeadlessYield(YieldPoint::Flip);
    return;
  }
  if (presenter.texture) {
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
  PaceReal();
  FlipPresented();
}

uint64_t PresentedFlipCount() { return presentedFlips; }
void AddFlipObserver(FlipObserver observer) { flipObservers.push_back(observer); }

void ToggleFullScreen() {
  SDL_Window* window = PlatformSdlWindow(PlatformMainWindow());
  if (!window || HeadlessActive()) return;
  if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) {
    SDL_Rect usable{0, 0, kScreenWidth, kScreenHeight};
    SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(window), &usable);
    int factor = std::max(1, std::min(usable.w / kScreenWidth, usable.h / kScreenHeight));
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowSize(window, kScreenWidth * factor, kScreenHeight * factor);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  } else {
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
}
