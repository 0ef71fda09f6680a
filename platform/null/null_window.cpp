// The window, its messages, the clock and the message box, with no window at all: the game
// runs headless on the virtual clock, and a message box is written to standard error.
#include <cstdio>
#include <map>
#include <string>

#include "platform/seams/headless.h"
#include "platform/sdl/platform_quit.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/win.h"

struct Window {
  WNDPROC procedure = nullptr;
  bool alive = false;
};
struct Instance {};
struct StockObject {};

namespace {

std::map<std::string, WNDCLASSA> registeredClasses;
Window mainWindow;
Instance programInstance;
StockObject blackBrush;
int stockIcon;
int stockCursor;

}  // namespace

HICON LoadIconA(HINSTANCE, uintptr_t) { return &stockIcon; }
HCURSOR LoadCursorA(HINSTANCE, uintptr_t) { return &stockCursor; }
HBRUSH GetStockObject(int) { return &blackBrush; }

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
  if (registeredClasses.count(windowClass->lpszClassName)) return 0;
  registeredClasses[windowClass->lpszClassName] = *windowClass;
  return static_cast<ATOM>(registeredClasses.size());
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR, DWORD, int, int, int, int, HWND, HMENU,
                     HINSTANCE, void*) {
  const auto found = className ? registeredClasses.find(className) : registeredClasses.end();
  if (found == registeredClasses.end() || mainWindow.alive) return nullptr;
  mainWindow.procedure = found->second.lpfnWndProc;
  mainWindow.alive = true;
  mainWindow.procedure(&mainWindow, WM_CREATE, 0, 0);
  return &mainWindow;
}

HWND PlatformMainWindow() { return mainWindow.procedure ? &mainWindow : nullptr; }
bool WindowAlive(HWND window) { return window && window->alive; }

int ShowCursor(BOOL show) { return show ? 0 : -1; }

BOOL PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT removeFlags) {
  return TakeWindowMessage(msg, (removeFlags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg->hwnd || !msg->hwnd->alive) return 0;
  return msg->hwnd->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE && window && window->alive) {
    window->procedure(window, WM_DESTROY, 0, 0);
    window->alive = false;
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

// The desktop is the game's own mode: there is none other to give back.
int GetSystemMetrics(int index) {
  if (index == SM_CXSCREEN) return 640;
  if (index == SM_CYSCREEN) return 480;
  return 0;
}

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
  HeadlessRecordMessageBox(caption, text, type);
  return 1;  // IDOK
}

DWORD GetTickCount() { return HeadlessClockRead(); }

HMODULE GetModuleHandleA(LPCSTR) { return &programInstance; }

void OutputDebugStringA(LPCSTR text) { std::fputs(text ? text : "", stderr); }

void PlatformQuit() {}
