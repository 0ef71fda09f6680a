// Window, messages, tick counter, message box and system metrics: the small part of the
// Windows user interface that the game calls, over SDL.
#pragma once

#include <cstdint>

using BOOL = int;
using UINT = unsigned int;
using DWORD = uint32_t;
using LONG = int32_t;
using WORD = uint16_t;
using BYTE = uint8_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using HRESULT = int32_t;
using LPSTR = char*;
using LPCSTR = const char*;
using ATOM = uint16_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct Window;
struct Instance;
struct StockObject;
using HWND = Window*;
using HINSTANCE = Instance*;
using HMODULE = Instance*;
using HICON = void*;
using HCURSOR = void*;
using HBRUSH = StockObject*;
using HMENU = void*;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// Messages.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;

constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// Class styles and window styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;

struct WNDCLASSA {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  HBRUSH hbrBackground = nullptr;
  LPCSTR lpszMenuName = nullptr;
  LPCSTR lpszClassName = nullptr;
};

constexpr uintptr_t IDI_APPLICATION = 32512;
constexpr uintptr_t IDC_ARROW = 32512;
constexpr int BLACK_BRUSH = 4;

HICON LoadIconA(HINSTANCE instance, uintptr_t name);
HCURSOR LoadCursorA(HINSTANCE instance, uintptr_t name);
HBRUSH GetStockObject(int object);

ATOM RegisterClassA(const WNDCLASSA* windowClass);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR caption, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     void* param);
int ShowCursor(BOOL show);

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Queues a message for the loop (the event pump uses it for close requests and exposes).
void PostWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// True while the window exists (between CreateWindowExA and its destruction).
bool WindowAlive(HWND window);

struct PAINTSTRUCT {
  void* hdc = nullptr;
  BOOL fErase = FALSE;
};
void* BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// System metrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
int GetSystemMetrics(int index);

// Message box.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONWARNING = 0x00000030;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Tick counter: milliseconds, 32 bits, wrapping.
DWORD GetTickCount();

HMODULE GetModuleHandleA(LPCSTR name);
void OutputDebugStringA(LPCSTR text);

// The game window once it exists (the platform layer has one window).
HWND PlatformMainWindow();
