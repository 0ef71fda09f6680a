#include "platform/sdl/event_pump.h"

#include <SDL.h>

#include "platform/sdl/game_window.h"
#include "platform/sdl/presenter.h"
#include "platform/sdl/scancode_table.h"
#include "platform/sdl/window_mode.h"
#include "platform/seams/headless.h"
#include "platform/win32/win.h"

namespace {

EventConsumer inputConsumer = nullptr;
CloseRequestHandler closeRequestHandler = nullptr;
KeyHandler keyHandler = nullptr;

bool IsFullScreenToggle(const SDL_Event& event) {
  return event.type == SDL_KEYDOWN &&
         (event.key.keysym.scancode == SDL_SCANCODE_RETURN ||
          event.key.keysym.scancode == SDL_SCANCODE_KP_ENTER) &&
         (event.key.keysym.mod & KMOD_ALT) != 0;
}

char Printed(SDL_Keycode key) { return key >= ' ' && key < 0x7F ? static_cast<char>(key) : '\0'; }

void RequestClose(HWND window) {
  if (closeRequestHandler != nullptr) {
    closeRequestHandler();
  } else if (WindowAlive(window)) {
    PostWindowMessage(window, WM_CLOSE, 0, 0);
  }
}

}  // namespace

void SetInputEventConsumer(EventConsumer consumer) { inputConsumer = consumer; }
void SetCloseRequestHandler(CloseRequestHandler handler) { closeRequestHandler = handler; }
void SetKeyHandler(KeyHandler handler) { keyHandler = handler; }

void PumpEvents() {
  if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    HWND window = PlatformMainWindow();
    // A signal (Ctrl+C, a session ending) closes the window like the system's close.
    if (event.type == SDL_QUIT ||
        (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
      RequestClose(window);
      continue;
    }
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
      PresenterRedrawNext();
      if (WindowAlive(window)) PostWindowMessage(window, WM_PAINT, 0, 0);
      continue;
    }
    if ((event.type == SDL_WINDOWEVENT &&
         event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) ||
        event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET) {
      PresenterRedrawNext();
    }
    if (IsFullScreenToggle(event)) {
      SDL_Window* shown = PlatformSdlWindow(window);
      if (!event.key.repeat && shown != nullptr && !HeadlessActive()) ToggleFullScreen(shown);
      continue;
    }
    if (keyHandler != nullptr && event.type == SDL_KEYDOWN &&
        keyHandler(DikFromScancode(event.key.keysym.scancode), Printed(event.key.keysym.sym), event.key.repeat != 0)) {
      continue;
    }
    if (inputConsumer) inputConsumer(event);
  }
}
