#include "platform/win32/win.h"

#include <SDL.h>

#include <cstdio>
#include <map>
#include <string>

#include "platform/sdl/event_pump.h"
#include "platform/sdl/game_window.h"
#include "platform/sdl/host_session.h"
#include "platform/seams/headless.h"
#include "platform/sdl/message_box.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/waits.h"
#include "platform/win32/message_queue.h"

struct Instance {};
struct StockObject {};

namespace {

std::map<std::string, WNDCLASSA> registeredClasses;
Instance programInstance;
StockObject blackBrush;
// Stand-ins for the stock icon and arrow: the game never draws them.
int stockIcon;
int stockCursor;

}  // namespace

HICON LoadIconA(HINSTANCE, uintptr_t) { return &stockIcon; }
HCURSOR LoadCursorA(HINSTANCE, uintptr_t) { return &stockCursor; }
HBRUSH GetStockObject(int) { return &blackBrush; }

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
  if (HeadlessStepFails("RegisterClassA")) return 0;
  if (registeredClasses.count(windowClass->lpszClassName)) return 0;
  registeredClasses[windowClass->lpszClassName] = *windowClass;
  return static_cast<ATOM>(registeredClasses.size());
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR caption, DWORD style, int x, int y,
                     int width, int height, HWND, HMENU, HINSTANCE, void*) {
  auto found = className ? registeredClasses.find(className) : registeredClasses.end();
  Window& mainWindow = GameWindow();
  if (found == registeredClasses.end() || mainWindow.alive) return nullptr;
  if (HeadlessStepFails("CreateWindowExA") || !EnsureSdlVideo()) return nullptr;

  uint32_t flags = SDL_WINDOW_BORDERLESS;
  HostShapeWindow(&x, &y, &width, &height, &flags);
  if (!(style & WS_VISIBLE)) flags |= SDL_WINDOW_HIDDEN;
  SDL_Window* sdlWindow = SDL_CreateWindow(caption ? caption : "", x, y, width, height, flags);
  if (!sdlWindow) {
    std::fprintf(stderr, "Zimbrel: cannot create the window: %s\n", SDL_GetError());
    return nullptr;
  }
  mainWindow.sdlWindow = sdlWindow;
  mainWindow.procedure = found->second.lpfnWndProc;
  mainWindow.alive = true;
  mainWindow.procedure(&mainWindow, WM_CREATE, 0, 0);
  return &mainWindow;
}

int ShowCursor(BOOL show) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
  return show ? 0 : -1;
}

BOOL PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT removeFlags) {
  if (!WindowMessageWaiting()) PumpEvents();
  return TakeWindowMessage(msg, (removeFlags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg->hwnd || !msg->hwnd->alive) return 0;
  return msg->hwnd->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE && window && window->alive) {
    // Destroying the window: it goes from the screen, giving the desktop back, and its
    // procedure hears WM_DESTROY last of all.
    window->procedure(window, WM_DESTROY, 0, 0);
    window->alive = false;
    SDL_HideWindow(window->sdlWindow);
  }
  return 0;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window || !window->alive) return 0;
  return window->procedure(window, message, wParam, lParam);
}

void* BeginPaint(HWND, PAINTSTRUCT* paint) {
  *paint = PAINTSTRUCT{};
  return nullptr;
}
BOOL EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

int GetSystemMetrics(int index) {
  SDL_DisplayMode mode;
  if (!EnsureSdlVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    mode.w = 640;
    mode.h = 480;
  }
  if (index == SM_CXSCREEN) return mode.w;
  if (index == SM_CYSCREEN) return mode.h;
  return 0;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
  if (HeadlessActive()) {
    HeadlessRecordMessageBox(caption, text, type);
    return 1;
  }
  if (owner && owner->alive) SDL_SetWindowFullscreen(owner->sdlWindow, 0);  // box in front
  // Given no parent window, SDL falls back to zenity where its own X11 box cannot be drawn
  // (no core X fonts); given one, it shows nothing there.
  ShowWarningBox(caption ? caption : "", text ? text : "");
  return 1;  // IDOK
}

DWORD GetTickCount() {
  if (HeadlessActive()) return HeadlessClockRead();
  // A reading the same as the last is a busy wait polling for the next millisecond: rest
  // before reading again.
  static Uint64 lastReading = 0;
  Uint64 now = SDL_GetTicks64();
  if (now == lastReading) {
    RestWhilePolling();
    now = SDL_GetTicks64();
  }
  lastReading = now;
  return static_cast<DWORD>(now);
}

HMODULE GetModuleHandleA(LPCSTR) { return &programInstance; }

void OutputDebugStringA(LPCSTR text) { std::fputs(text ? text : "", stderr); }
